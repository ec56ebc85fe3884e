// Trovecart tests - scripted message service.
#include "support/scripted_message_service.h"

void TScriptedMessageService::QueueAnswer(int answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

int TScriptedMessageService::ShowMessageBox(TMessageOwner owner, const QString& text, int kind,
                                            const QString& heading, const QString& title) {
    std::lock_guard lock(mutex_);
    calls_.push_back({false, owner, text, false, kind, heading, title});
    return mrOk;
}

int TScriptedMessageService::AskQuestion(TMessageOwner owner, const QString& text, bool withCancel, int kind,
                                         const QString& heading, const QString& title) {
    std::lock_guard lock(mutex_);
    calls_.push_back({true, owner, text, withCancel, kind, heading, title});
    if (answers_.empty())
        return mrNo;
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<TScriptedMessageService::TCall> TScriptedMessageService::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

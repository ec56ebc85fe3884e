// Trovecart tests - a message service that records every call and answers from a queue.
#pragma once

#include <deque>
#include <mutex>
#include <vector>

#include <QString>

#include "common/message_service.h"

class TScriptedMessageService : public TMessageService {
public:
    struct TCall {
        bool question = false;
        TMessageOwner owner = nullptr;
        QString text;
        bool withCancel = false;
        int kind = 0;
        QString heading;
        QString title;
    };

    // Installs itself for the lifetime of the object.
    TScriptedMessageService() { SetMessageService(this); }
    ~TScriptedMessageService() override { SetMessageService(nullptr); }

    // The next question gets this answer; without queued answers questions get mrNo and
    // message boxes mrOk.
    void QueueAnswer(int answer);

    using TMessageService::ShowMessageBox;
    int ShowMessageBox(TMessageOwner owner, const QString& text, int kind, const QString& heading,
                       const QString& title) override;
    int AskQuestion(TMessageOwner owner, const QString& text, bool withCancel, int kind,
                    const QString& heading, const QString& title) override;

    std::vector<TCall> Calls() const;

private:
    mutable std::mutex mutex_;
    std::deque<int> answers_;
    std::vector<TCall> calls_;
};

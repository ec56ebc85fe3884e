// Trovecart - messages on stderr and questions answered on the terminal or by a fixed answer.
#pragma once

#include <cstdio>

#include "common/message_service.h"

class TConsoleMessageService : public TMessageService {
public:
    enum class TAnswerPolicy { Ask, AlwaysYes, AlwaysNo };

    explicit TConsoleMessageService(TAnswerPolicy policy = TAnswerPolicy::Ask, FILE* input = stdin,
                                    FILE* output = stderr)
        : policy_(policy), input_(input), output_(output) {}

    using TMessageService::ShowMessageBox;
    int ShowMessageBox(TMessageOwner owner, const QString& text, int kind, const QString& heading,
                       const QString& title) override;
    int AskQuestion(TMessageOwner owner, const QString& text, bool withCancel, int kind,
                    const QString& heading, const QString& title) override;

private:
    void PrintMessage(int kind, const QString& heading, const QString& text);

    TAnswerPolicy policy_;
    FILE* input_;
    FILE* output_;
};

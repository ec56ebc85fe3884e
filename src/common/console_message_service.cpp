// Trovecart - console message service.
#include "common/console_message_service.h"

#include <QString>

namespace {

QString KindLabel(int kind) {
    switch (kind) {
    case mkWarning:
        return QStringLiteral("Warning");
    case mkError:
        return QStringLiteral("Error");
    case mkInformation:
    case mkInformation2:
        return QStringLiteral("Information");
    default:
        return QString();
    }
}

} // namespace

void TConsoleMessageService::PrintMessage(int kind, const QString& heading, const QString& text) {
    QString label = KindLabel(kind);
    QString line = label.isEmpty() ? heading : label + QStringLiteral(": ") + heading;
    QString body = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(output_, "%s\n%s\n", line.toLocal8Bit().constData(), body.toLocal8Bit().constData());
    std::fflush(output_);
}

int TConsoleMessageService::ShowMessageBox(TMessageOwner, const QString& text, int kind,
                                           const QString& heading, const QString&) {
    PrintMessage(kind, heading, text);
    return mrOk;
}

int TConsoleMessageService::AskQuestion(TMessageOwner, const QString& text, bool withCancel, int kind,
                                        const QString& heading, const QString&) {
    PrintMessage(kind, heading, text);
    if (policy_ == TAnswerPolicy::AlwaysYes) {
        std::fprintf(output_, "-> yes\n");
        return mrYes;
    }
    if (policy_ == TAnswerPolicy::AlwaysNo) {
        std::fprintf(output_, "-> no\n");
        return mrNo;
    }
    for (;;) {
        std::fprintf(output_, withCancel ? "[y]es / [n]o / [c]ancel? " : "[y]es / [n]o? ");
        std::fflush(output_);
        char buffer[64];
        if (!std::fgets(buffer, sizeof buffer, input_)) {
            // No terminal to answer: the safe answer.
            return withCancel ? mrCancel : mrNo;
        }
        const char answer = static_cast<char>(QChar::fromLatin1(buffer[0]).toLower().toLatin1());
        if (answer == 'y')
            return mrYes;
        if (answer == 'n')
            return mrNo;
        if (withCancel && answer == 'c')
            return mrCancel;
    }
}

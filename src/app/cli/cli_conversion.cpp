// Trovecart - running queued conversions from the command line.
#include "cli/cli_conversion.h"

#include <algorithm>

#include <QEventLoop>
#include <QTimer>

#include "cli/cli_progress.h"
#include "common/app_error.h"
#include "common/message_service.h"
#include "media/video_convertor.h"

int RunConversion(TVideoConvertor& convertor, QString& failure, const QString& label) {
    TTerminalProgress progress(label);
    QEventLoop loop;
    int result = mrNone;
    convertor.OnProgress = [&progress](const TProgressInfo& info) {
        if (info.TotalDuration > 0)
            progress.Show(
                static_cast<int>(std::min<int64_t>(100, info.CurrentDuration * 100 / info.TotalDuration)));
    };
    convertor.OnTerminate = [&](int index, bool taskFinished, bool exception, const QString& message) {
        if (index == -1) {
            loop.quit();
        } else if (result == mrNone) {
            // A task that ended without finishing has not made its file either.
            result = taskFinished && !exception ? mrOk : mrNo;
            failure = message.isEmpty() ? convertor.LastMessage() : message;
        }
    };
    // Signals cannot touch the event loop; a timer looks at the flag.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (TInterruptGuard::Interrupted() && result == mrNone) {
            result = mrCancel;
            convertor.Stop(true);
        }
    });
    watch.start(100);
    convertor.Start(1);
    if (convertor.Working())
        loop.exec();
    return result;
}

void ThrowUnlessOk(int result, const QString& failure) {
    if (result == mrCancel)
        throw EAppError(QStringLiteral("Task cancalled by user."));
    if (result != mrOk)
        throw EAppError(QStringLiteral("Tasks Did Not Complete Correctly. Error : ") + failure);
}

// Trovecart - the window's command runner.
#include "gui/general_error.h"

#include "common/app_error.h"
#include "common/app_info.h"
#include "common/message_service.h"

namespace {

void Show(const EAppError& error) {
    const QString& heading = error.Heading();
    MessageService().ShowMessageBox(error.Message(), error.Kind(),
                                    heading.isEmpty() ? ProgramCaption() : heading, ProgramCaption());
}

} // namespace

bool RunReportingErrors(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const EAppError& error) {
        Show(error);
    } catch (const std::exception& error) {
        Show(EAppError(QString::fromLocal8Bit(error.what())));
    }
    return false;
}

// Trovecart - general error message.
#include "gui/general_error.h"

#include "common/app_error.h"
#include "common/app_info.h"
#include "common/message_service.h"

namespace {

void Show(const QString& text) {
    MessageService().ShowMessageBox(text, mkError, ProgramCaption(), ProgramCaption());
}

} // namespace

bool RunReportingErrors(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const EAppError& error) {
        Show(error.Message());
    } catch (const std::exception& error) {
        Show(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

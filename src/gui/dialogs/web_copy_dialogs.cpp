// Trovecart - web copies made in the conversion dialog.
#include "gui/dialogs/web_copy_dialogs.h"

#include "common/app_error.h"
#include "common/app_info.h"
#include "gui/dialogs/convert_video_dlg.h"
#include "import/media_import.h"

TWebCopyMaker DialogWebCopyMaker(QWidget* parent) {
    return [parent](const QStringList& previewFiles) {
        for (const QString& previewFile : previewFiles) {
            TConvertVideoDlg dialog(parent);
            try {
                QueueWebCopy(dialog.Convertor, previewFile);
            } catch (const EAppError& error) {
                MessageService().ShowMessageBox(parent, error.Message(), mkError, ProgramCaption(),
                                                ProgramCaption());
                return;
            }
            if (dialog.ShowModal() != mrOk)
                return;
        }
    };
}

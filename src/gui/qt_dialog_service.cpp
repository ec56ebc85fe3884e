// Trovecart - Qt dialogs.
#include "gui/qt_dialog_service.h"

#include <QFileDialog>

#include "common/app_folders.h"
#include "gui/dialogs/select_folder.h"

namespace {

std::optional<QString> RunFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const QString& filter,
                                     const QString& defaultExtension) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    // A filter names its patterns in its description where it should; the patterns themselves
    // list every letter case.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

QWidget* TQtDialogService::Owner(TMessageOwner owner) const {
    return owner ? static_cast<QWidget*>(owner) : mainWindow_;
}

std::optional<QString> TQtDialogService::OpenFileName(TMessageOwner owner, const QString& filter,
                                                      const QString& defaultExtension) {
    return RunFileDialog(Owner(owner), QFileDialog::AcceptOpen, filter, defaultExtension);
}

std::optional<QString> TQtDialogService::SaveFileName(TMessageOwner owner, const QString& filter,
                                                      const QString& defaultExtension) {
    return RunFileDialog(Owner(owner), QFileDialog::AcceptSave, filter, defaultExtension);
}

bool TQtDialogService::SelectFolder(const QString& title, const QString& root, QString& folder) {
    return ::SelectFolder(title, root, folder, mainWindow_);
}

void TQtDialogService::OpenWithShell(const QString& fileOrUrl) {
    ::OpenWithShell(fileOrUrl);
}

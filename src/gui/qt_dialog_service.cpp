// Trovecart - Qt dialogs.
#include "gui/qt_dialog_service.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/app_folders.h"
#include "common/app_info.h"
#include "common/file_utils.h"
#include "gui/dialogs/select_folder.h"

namespace {

std::optional<QString> RunFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const QString& filter,
                                     const QString& defaultExtension, const QString& startPath) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    // A filter names its patterns in its description where it should; the patterns themselves
    // list every letter case.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(defaultExtension);
    if (FolderExists(startPath)) {
        dialog.setDirectory(startPath);
    } else {
        const QFileInfo offered(startPath);
        dialog.setDirectory(offered.absolutePath());
        dialog.selectFile(offered.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString FileDialogStart(const QString& start, const QString& lastFolder) {
    // A moved or deleted project's folder is no place to start.
    if (!start.isEmpty() && FolderExists(QFileInfo(start).absolutePath()))
        return start;
    if (!lastFolder.isEmpty() && FolderExists(lastFolder))
        return lastFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && FolderExists(documents) ? documents : QDir::homePath();
}

QWidget* TQtDialogService::Owner(TMessageOwner owner) const {
    return owner ? static_cast<QWidget*>(owner) : mainWindow_;
}

std::optional<QString> TQtDialogService::OpenFileName(TMessageOwner owner, const QString& filter,
                                                      const QString& defaultExtension, const QString& start) {
    return Remember(RunFileDialog(Owner(owner), QFileDialog::AcceptOpen, filter, defaultExtension,
                                  FileDialogStart(start, lastFolder_)));
}

std::optional<QString> TQtDialogService::SaveFileName(TMessageOwner owner, const QString& filter,
                                                      const QString& defaultExtension, const QString& start) {
    return Remember(RunFileDialog(Owner(owner), QFileDialog::AcceptSave, filter, defaultExtension,
                                  FileDialogStart(start, lastFolder_)));
}

std::optional<QString> TQtDialogService::Remember(std::optional<QString> chosen) {
    if (chosen)
        lastFolder_ = QFileInfo(*chosen).absolutePath();
    return chosen;
}

bool TQtDialogService::SelectFolder(const QString& title, const QString& root, QString& folder) {
    return ::SelectFolder(title, root, folder, mainWindow_);
}

void TQtDialogService::OpenWithShell(const QString& fileOrUrl) {
    QObject* context = mainWindow_ ? static_cast<QObject*>(mainWindow_) : QCoreApplication::instance();
    ::OpenWithShell(fileOrUrl, context, [this, fileOrUrl] {
        MessageService().ShowMessageBox(
            mainWindow_,
            QStringLiteral("The desktop could not open this address:\r\n%1\r\nPlease open it by hand.")
                .arg(fileOrUrl),
            mkError, QStringLiteral("Cannot Open Address"), ProgramCaption());
    });
}

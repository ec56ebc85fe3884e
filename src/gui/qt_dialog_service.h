// Trovecart - standard Qt dialogs behind the dialog service.
#pragma once

#include "common/dialog_service.h"

class QWidget;

// Where a file dialog starts: the caller's folder or file while its folder exists, else the folder last used
// while it still exists, else the user's documents folder, else home.
QString FileDialogStart(const QString& start, const QString& lastFolder);

class TQtDialogService : public TDialogService {
public:
    void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

    std::optional<QString> OpenFileName(TMessageOwner owner, const QString& filter,
                                        const QString& defaultExtension, const QString& start) override;
    std::optional<QString> SaveFileName(TMessageOwner owner, const QString& filter,
                                        const QString& defaultExtension, const QString& start) override;
    bool SelectFolder(const QString& title, const QString& root, QString& folder) override;
    void OpenWithShell(const QString& fileOrUrl) override;

private:
    QWidget* Owner(TMessageOwner owner) const;
    // Keeps the folder of a chosen file as the next start.
    std::optional<QString> Remember(std::optional<QString> chosen);

    QWidget* mainWindow_ = nullptr;
    // The folder of the file last chosen in a file dialog during this run.
    QString lastFolder_;
};

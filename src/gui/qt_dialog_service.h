// Trovecart - standard Qt dialogs behind the dialog service.
#pragma once

#include "common/dialog_service.h"

class QWidget;

class TQtDialogService : public TDialogService {
public:
    void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

    std::optional<QString> OpenFileName(TMessageOwner owner, const QString& filter,
                                        const QString& defaultExtension) override;
    std::optional<QString> SaveFileName(TMessageOwner owner, const QString& filter,
                                        const QString& defaultExtension) override;
    bool SelectFolder(const QString& title, const QString& root, QString& folder) override;
    void OpenWithShell(const QString& fileOrUrl) override;

private:
    QWidget* Owner(TMessageOwner owner) const;

    QWidget* mainWindow_ = nullptr;
};

// Trovecart - what the main window asks the user through standard dialogs, behind an interface
// so that every command also runs without real dialogs.
#pragma once

#include <optional>

#include <QString>

#include "common/message_service.h"

class TDialogService {
public:
    virtual ~TDialogService() = default;

    // Both take Qt name filters ("Description (*.a *.b)", several joined by ";;") and a default
    // extension without dot.
    virtual std::optional<QString> OpenFileName(TMessageOwner owner, const QString& filter,
                                                const QString& defaultExtension) = 0;
    // Asks before an existing file is overwritten.
    virtual std::optional<QString> SaveFileName(TMessageOwner owner, const QString& filter,
                                                const QString& defaultExtension) = 0;
    // The folder picker: title as heading, tree rooted at root (all folders when empty), starting
    // on folder. True after OK; folder then holds the choice with a trailing '/'.
    virtual bool SelectFolder(const QString& title, const QString& root, QString& folder) = 0;
    // Opens a file or address with the desktop's default handler.
    virtual void OpenWithShell(const QString& fileOrUrl) = 0;
};

// The service installed at start-up; the caller keeps ownership.
void SetDialogService(TDialogService* service);
// Raises EAppError when none is installed.
TDialogService& DialogService();

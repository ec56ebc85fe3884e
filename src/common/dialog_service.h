// Trovecart - what the main window asks the user through standard dialogs, behind an interface
// so that every command also runs without real dialogs.
#pragma once

#include <optional>

#include <QString>

#include "common/message_service.h"

class TDialogService {
public:
    virtual ~TDialogService() = default;

    // Both take Qt name filters ("Description (*.a *.b)", several joined by ";;"), a default
    // extension without dot, and where to start: a folder, a file whose name is offered, or empty
    // for the folder last used.
    virtual std::optional<QString> OpenFileName(TMessageOwner owner, const QString& filter,
                                                const QString& defaultExtension, const QString& start) = 0;
    // Asks before an existing file is overwritten.
    virtual std::optional<QString> SaveFileName(TMessageOwner owner, const QString& filter,
                                                const QString& defaultExtension, const QString& start) = 0;
    // The folder picker: title as heading, tree rooted at root (all folders when empty), starting
    // on folder. True after OK; folder then holds the choice with a trailing '/'.
    virtual bool SelectFolder(const QString& title, const QString& root, QString& folder) = 0;
    // Opens a file or address with the desktop's default handler; what it cannot open is reported
    // with the address, so that the user can open it by hand.
    virtual void OpenWithShell(const QString& fileOrUrl) = 0;
};

// The service installed at start-up; the caller keeps ownership.
void SetDialogService(TDialogService* service);
// Raises EAppError when none is installed.
TDialogService& DialogService();

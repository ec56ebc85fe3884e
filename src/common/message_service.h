// Trovecart - how the core shows messages and asks questions without knowing about windows.
#pragma once

#include <QString>

// The kind selects the icon: warning, error, information; 4 and above show none.
enum TMessageKind : int {
    mkWarning = 0,
    mkError = 1,
    mkInformation = 2,
    mkInformation2 = 3,
    mkPlain = 4,
};

// Button codes returned by message boxes and modal dialogs.
enum TDialogResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrYes = 6,
    mrNo = 7,
};

// Owners are opaque to the core; the GUI knows them as widgets.
using TMessageOwner = void*;

class TMessageService {
public:
    virtual ~TMessageService() = default;

    virtual int ShowMessageBox(TMessageOwner owner, const QString& text, int kind, const QString& heading,
                               const QString& title) = 0;
    // Offers Yes and No, and Cancel as well when withCancel is set.
    virtual int AskQuestion(TMessageOwner owner, const QString& text, bool withCancel, int kind,
                            const QString& heading, const QString& title) = 0;

    // The form without an owner: the main window owns the box.
    int ShowMessageBox(const QString& text, int kind, const QString& heading, const QString& title) {
        return ShowMessageBox(nullptr, text, kind, heading, title);
    }
};

// The service installed at start-up (GUI, console or a test's scripted one). The caller keeps
// ownership; a null service makes every message vanish and every question answer mrNone.
void SetMessageService(TMessageService* service);
TMessageService& MessageService();

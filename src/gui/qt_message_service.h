// Trovecart - message boxes and questions as Qt message boxes.
#pragma once

#include "common/message_service.h"

class QWidget;

class TQtMessageService : public TMessageService {
public:
    // Boxes without an owner belong to this window (the main window once it exists).
    void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

    using TMessageService::ShowMessageBox;
    int ShowMessageBox(TMessageOwner owner, const QString& text, int kind, const QString& heading,
                       const QString& title) override;
    int AskQuestion(TMessageOwner owner, const QString& text, bool withCancel, int kind,
                    const QString& heading, const QString& title) override;

private:
    int Show(TMessageOwner owner, const QString& text, int kind, const QString& heading, const QString& title,
             int buttons);

    QWidget* mainWindow_ = nullptr;
};

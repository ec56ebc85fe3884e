// Trovecart - message boxes and questions as Qt message boxes.
#pragma once

#include <memory>

#include "common/message_service.h"

class QMessageBox;
class QWidget;

// The box as it is shown: window title, bold heading, the text below, an icon by kind, and wide
// enough that the text reads in lines rather than in columns of three words.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text, int kind,
                                            const QString& heading, const QString& title, int buttons);

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

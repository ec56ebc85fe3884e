// Trovecart - the small window that asks the user to wait while a remote folder is listed.
#pragma once

#include <QDialog>

// Modal for the whole program and without title-bar buttons: it cannot be closed by the user,
// only by its owner once the listing has arrived.
class TBusyDialog : public QDialog {
    Q_OBJECT
public:
    explicit TBusyDialog(QWidget* owner);

protected:
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;
};

// Trovecart - the base of every modal dialog: the main window's caption, Escape cancels,
// OK gives 1 and Cancel 2.
#pragma once

#include <QDialog>

class TParentDialog : public QDialog {
    Q_OBJECT
public:
    explicit TParentDialog(QWidget* parent = nullptr);

    // Shows the dialog modally; 1 for OK, 2 for Cancel, or the code the dialog closed with.
    int ShowModal();
    // Closes with OK (1) or Cancel (2).
    void CloseWithOk() { done(1); }
    void CloseWithCancel() { done(2); }

protected:
    void reject() override { done(2); }
};

// Trovecart - common dialog base.
#include "gui/dialogs/parent_dialog.h"

#include "common/app_info.h"

TParentDialog::TParentDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(ProgramCaption());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

int TParentDialog::ShowModal() {
    const int result = exec();
    return result == QDialog::Rejected ? 2 : result;
}

// Trovecart - busy dialog.
#include "gui/publish/busy_dialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "common/app_info.h"

TBusyDialog::TBusyDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("BusyDialog"));
    setWindowTitle(ProgramCaption());
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(428, 72);

    auto* heading = new QLabel(QStringLiteral("Searching For File Folders "), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* text =
        new QLabel(QStringLiteral("We are searching for files in the selected folder. This might take few "
                                  "minutes. Please wait till this process completes."),
                   this);
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setSpacing(2);
    layout->addWidget(heading);
    layout->addWidget(text);
}

void TBusyDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
}

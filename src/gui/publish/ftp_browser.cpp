// Trovecart - remote folder browser.
#include "gui/publish/ftp_browser.h"

#include <exception>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "common/app_error.h"
#include "common/app_info.h"
#include "common/folder_name.h"
#include "common/message_service.h"
#include "gui/dialogs/input_box.h"
#include "gui/publish/ftp_list_view.h"
#include "gui/publish/ftp_tree_view.h"

namespace {

constexpr int kTreeWidth = 194;
// The list keeps at least this much of the dialog's width.
constexpr int kListReserve = 200;

QPushButton* Button(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    // Enter belongs to the path line, not to a default button.
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFTPBrowser::TFTPBrowser(QWidget* parent) : TParentDialog(parent) {
    setObjectName(QStringLiteral("FTPBrowser"));
    setWindowTitle(QStringLiteral("Select publishing folder"));
    setFixedSize(710, 514);
    ShowModalDialog = [](QDialog& dialog) { return static_cast<TParentDialog&>(dialog).ShowModal(); };

    heading_ = new QLabel(QStringLiteral("Please select publish folder"), this);
    heading_->setObjectName(QStringLiteral("LabelHeading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);

    auto* pathLabel = new QLabel(QStringLiteral("Path"), this);
    editPath_ = new QLineEdit(QStringLiteral("/"), this);
    editPath_->setObjectName(QStringLiteral("EditPath"));
    editPath_->setAccessibleName(QStringLiteral("Path"));
    pathLabel->setBuddy(editPath_);

    tree_ = new TFTpTreeView(this);
    list_ = new TFtpListView(this);
    list_->setObjectName(QStringLiteral("FtpListView"));
    list_->setAccessibleName(QStringLiteral("Content"));
    tree_->SetFtpListView(list_);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("Splitter"));
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(tree_);
    splitter_->addWidget(list_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kTreeWidth, width() - kTreeWidth});
    tree_->setMaximumWidth(width() - kListReserve - 1);

    btnNewFolder_ = Button(QStringLiteral("BtnNewFolder"), QStringLiteral("New Folder"), this);
    btnOk_ = Button(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    btnCancel_ = Button(QStringLiteral("BtnCancel"), QStringLiteral("Cancel"), this);

    auto* pathLine = new QHBoxLayout;
    pathLine->addWidget(pathLabel);
    pathLine->addWidget(editPath_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnNewFolder_);
    buttons->addStretch(1);
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addLayout(pathLine);
    layout->addWidget(splitter_, 1);
    layout->addLayout(buttons);

    connect(btnNewFolder_, &QPushButton::clicked, this, &TFTPBrowser::BtnNewFolderClick);
    connect(btnOk_, &QPushButton::clicked, this, &TFTPBrowser::CloseWithOk);
    connect(btnCancel_, &QPushButton::clicked, this, &TFTPBrowser::CloseWithCancel);
    connect(editPath_, &QLineEdit::returnPressed, this, [this] { tree_->SelectPath(editPath_->text()); });
    connect(tree_, &TFTpTreeView::SelectedPathChanged, this, [this](const QString& path) {
        editPath_->setText(path);
        startPath_ = path;
    });

    startTimer_.setSingleShot(true);
    startTimer_.setInterval(500);
    connect(&startTimer_, &QTimer::timeout, this, [this] {
        if (isVisible())
            StartTimerTimer();
        else
            startTimer_.start();
    });
    startTimer_.start();
}

void TFTPBrowser::ShowAsPublishedFiles() {
    heading_->setText(QStringLiteral("Published files"));
    btnNewFolder_->hide();
    btnCancel_->hide();
}

void TFTPBrowser::StartTimerTimer() {
    startTimer_.stop();
    // SelectPath moves StartPath with the selection; the wanted one is taken first.
    const QString wanted = startPath_;
    tree_->EndSetup();
    tree_->SelectPath(wanted);
}

void TFTPBrowser::BtnNewFolderClick() {
    TInputBox box(this);
    box.setWindowTitle(ProgramCaption());
    box.SetTitle(QStringLiteral("New Filder"));
    box.SetPrompt(QStringLiteral("Enter a name for the new folder."));
    box.SetText(QStringLiteral("New Folder"));
    box.SetAllowDigits(true);
    box.SetDigitsOnly(false);
    box.SetValidator([](TInputBox&, const QString& text) { return FolderNameError(text); });
    if (ShowModalDialog(box) != 1)
        return;
    try {
        tree_->CreateFolder(box.Text());
    } catch (const std::exception&) {
        MessageService().ShowMessageBox(QStringLiteral("Error creating folder."), mkError, ProgramCaption(),
                                        QStringLiteral("Error Creating Folder."));
    }
}

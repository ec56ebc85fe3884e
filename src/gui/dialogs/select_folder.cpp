// Trovecart - folder picker.
#include "gui/dialogs/select_folder.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "common/app_info.h"
#include "common/file_utils.h"
#include "common/folder_name.h"
#include "common/message_service.h"
#include "gui/dialogs/input_box.h"

TSelectFolder::TSelectFolder(QWidget* parent)
    : TParentDialog(parent), titleLabel_(new QLabel(this)), model_(new QFileSystemModel(this)),
      tree_(new QTreeView(this)) {
    QFont headingFont = titleLabel_->font();
    headingFont.setBold(true);
    titleLabel_->setFont(headingFont);

    model_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);
    tree_->header()->hide();
    tree_->setRootIndex(model_->index(QDir::rootPath()));

    auto* buttons = new QDialogButtonBox(this);
    okButton_ = buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton(QDialogButtonBox::Cancel);
    newFolderButton_ = buttons->addButton(QStringLiteral("New Folder"), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSelectFolder::CloseWithOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSelectFolder::CloseWithCancel);
    connect(newFolderButton_, &QPushButton::clicked, this, &TSelectFolder::NewFolderClick);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TSelectFolder::UpdateButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel_);
    layout->addWidget(tree_);
    layout->addWidget(buttons);
    resize(420, 480);
    UpdateButtons();
}

void TSelectFolder::SetTitle(const QString& title) {
    titleLabel_->setText(title);
    tree_->setAccessibleName(title);
}

void TSelectFolder::SetRoot(const QString& root) {
    if (root.isEmpty() || !FolderExists(root))
        return;
    model_->setRootPath(root);
    tree_->setRootIndex(model_->index(QDir::cleanPath(root)));
}

void TSelectFolder::SelectPath(const QString& folder) {
    if (folder.isEmpty() || !FolderExists(folder))
        return;
    const QModelIndex index = model_->index(QDir::cleanPath(folder));
    if (!index.isValid())
        return;
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
}

QString TSelectFolder::SelectedFolder() const {
    const QModelIndex index = tree_->currentIndex();
    return index.isValid() ? WithTrailingSlash(model_->filePath(index)) : QString();
}

void TSelectFolder::UpdateButtons() {
    const bool usable = FolderExists(SelectedFolder());
    okButton_->setEnabled(usable);
    newFolderButton_->setEnabled(usable);
}

bool TSelectFolder::CreateFolder(const QString& name) {
    const QString path = SelectedFolder() + name;
    if (::mkdir(LocalPath(path).c_str(), 0777) != 0) {
        MessageService().ShowMessageBox(this,
                                        QStringLiteral("Error creating folder.\r\nError : ") +
                                            QString::fromLocal8Bit(std::strerror(errno)),
                                        mkError, ProgramCaption(), QStringLiteral("Error Creating Folder."));
        return false;
    }
    SelectPath(path);
    UpdateButtons();
    return true;
}

void TSelectFolder::NewFolderClick() {
    TInputBox box(this);
    box.setWindowTitle(ProgramCaption());
    box.SetTitle(QStringLiteral("New Folder"));
    box.SetPrompt(QStringLiteral("Please enter the new folder name"));
    box.SetText(QStringLiteral("New Folder"));
    box.SetAllowDigits(true);
    box.SetDigitsOnly(false);
    box.SetValidator([](TInputBox&, const QString& text) { return FolderNameError(text); });
    if (box.ShowModal() == 1)
        CreateFolder(box.Text());
}

bool SelectFolder(const QString& title, const QString& root, QString& folder, QWidget* parent) {
    TSelectFolder dialog(parent);
    dialog.SetTitle(title);
    dialog.SetRoot(root);
    dialog.SelectPath(folder);
    if (dialog.ShowModal() != 1)
        return false;
    folder = dialog.SelectedFolder();
    return true;
}

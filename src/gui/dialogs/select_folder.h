// Trovecart - the folder picker with a New Folder command.
#pragma once

#include "gui/dialogs/parent_dialog.h"

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

class TSelectFolder : public TParentDialog {
    Q_OBJECT
public:
    explicit TSelectFolder(QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    // Roots the tree at this folder; empty for the whole file system.
    void SetRoot(const QString& root);
    // Tries to select the folder; a folder that cannot be selected is ignored.
    void SelectPath(const QString& folder);
    // The selected folder with a trailing '/', or empty.
    QString SelectedFolder() const;
    // Creates a folder of that name below the selected one and selects it. Reports a failure
    // through the message service; returns whether the folder was made.
    bool CreateFolder(const QString& name);

private:
    void UpdateButtons();
    void NewFolderClick();

    QLabel* titleLabel_;
    QFileSystemModel* model_;
    QTreeView* tree_;
    QPushButton* okButton_;
    QPushButton* newFolderButton_;
};

// Shows the picker; true after OK with the choice in folder (trailing '/').
bool SelectFolder(const QString& title, const QString& root, QString& folder, QWidget* parent = nullptr);

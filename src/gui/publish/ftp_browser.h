// Trovecart - the two-pane browser of an FTP server: folder tree, folder content, path line.
#pragma once

#include <functional>

#include <QTimer>

#include "gui/dialogs/parent_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class TFTpTreeView;
class TFtpListView;

// The caller puts the tree into setup and gives it the account; the start timer ends the setup
// once the dialog is on screen, so that connecting happens with the dialog visible.
class TFTPBrowser : public TParentDialog {
    Q_OBJECT
public:
    explicit TFTPBrowser(QWidget* parent = nullptr);

    TFTpTreeView* TreeView() const { return tree_; }
    TFtpListView* ListView() const { return list_; }
    QLineEdit* EditPath() const { return editPath_; }
    QSplitter* Splitter() const { return splitter_; }

    // The remote path to select once connected; follows the tree's selection.
    const QString& StartPath() const { return startPath_; }
    void SetStartPath(const QString& path) { startPath_ = path; }

    // The viewing form: heading "Published files", "OK" alone.
    void ShowAsPublishedFiles();

    // The start timer's work: connect, list the root, select StartPath.
    void StartTimerTimer();
    // The "New Folder" command.
    void BtnNewFolderClick();

    // Shows the input box modally; tests replace it.
    std::function<int(QDialog&)> ShowModalDialog;

private:
    QLabel* heading_;
    QLineEdit* editPath_;
    TFTpTreeView* tree_;
    TFtpListView* list_;
    QSplitter* splitter_;
    QPushButton* btnNewFolder_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
    QTimer startTimer_;
    QString startPath_;
};

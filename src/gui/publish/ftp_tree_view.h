// Trovecart - the folder tree of an FTP server, loaded folder by folder as the user opens it.
#pragma once

#include <memory>

#include <QTreeWidget>

#include "publish/ftp_account.h"
#include "publish/ftp_listing.h"

class TFtpClient;
class TFtpListView;

// Owns its FTP client; the connection is opened on the first listing and stays open until setup
// begins again or the tree is destroyed. Every node keeps the listing of its folder.
class TFTpTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TFTpTreeView(QWidget* parent = nullptr);
    ~TFTpTreeView() override;

    // Each setter rebuilds the tree, unless setup is running.
    QString Host() const;
    void SetHost(const QString& host);
    QString Username() const;
    void SetUsername(const QString& username);
    QString Password() const;
    void SetPassword(const QString& password);
    int Port() const;
    void SetPort(int port);
    bool Passive() const;
    void SetPassive(bool passive);
    // All connection values, protocol and trust included, for a tree in setup.
    void SetAccount(const TFtpAccount& account);
    // The fingerprint the user chose to trust while browsing, with its host; empty when none.
    const QString& TrustedHost() const { return trustedHost_; }
    const QString& TrustedFingerprint() const { return trustedFingerprint_; }
    // The remote folder shown as the root; an empty value is ignored. No rebuild.
    const QString& RootPath() const { return rootPath_; }
    void SetRootPath(const QString& path);
    // The list that shows the selected folder's content; the tree sets its events.
    TFtpListView* FtpListView() const { return listView_; }
    void SetFtpListView(TFtpListView* listView);

    // Closes the connection; property changes then wait for EndSetup.
    void BeginSetup();
    // Ends setup and rebuilds: connects, logs in and lists the root.
    void EndSetup();
    bool InSetup() const { return inSetup_; }

    void Rebuild();
    // Lists the node's folder when forced, or when it may have sub-folders not loaded yet.
    // Failures are reported to the user; the tree stays usable.
    void LoadNode(QTreeWidgetItem* node, bool force);
    void RefreshNode(QTreeWidgetItem* node) { LoadNode(node, true); }
    // The remote path of a node; below the root it ends with '/'.
    QString NodePath(const QTreeWidgetItem* node) const;
    QString SelectedPath() const;
    // Selects the node of the path, opening folders on the way; reports a path not found.
    void SelectPath(const QString& path);
    // Makes a sub-folder of the selected folder and selects it. Raises EAppError.
    void CreateFolder(const QString& name);
    // The listing kept for the node.
    static const TFtpListing& NodeListing(const QTreeWidgetItem* node);

signals:
    void SelectedPathChanged(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Runs the network work while the busy dialog is shown (when the window is on screen).
    void RunRemote(const std::function<void()>& work, bool showBusy);
    void ConnectWhenClosed();
    // Asks the user about a server that was not trusted; true when the fingerprint is now trusted.
    bool TrustAfterQuestion(const EFtpUntrustedServer& error);
    QTreeWidgetItem* AddFolderNode(QTreeWidgetItem* parent, const QString& name);
    QTreeWidgetItem* FindPath(const QString& path);
    void SelectionChanged(QTreeWidgetItem* node);
    void OpenListSelection();

    std::unique_ptr<TFtpClient> client_;
    QString rootPath_ = QStringLiteral("/");
    TFtpListView* listView_ = nullptr;
    bool inSetup_ = false;
    bool rebuilding_ = false;
    QString trustedHost_;
    QString trustedFingerprint_;
};

// Trovecart - remote folder tree.
#include "gui/publish/ftp_tree_view.h"

#include <exception>
#include <memory>

#include <QApplication>
#include <QFileIconProvider>
#include <QKeyEvent>

#include "common/app_info.h"
#include "common/message_service.h"
#include "gui/publish/busy_dialog.h"
#include "gui/publish/ftp_list_view.h"
#include "gui/widgets/worker_call.h"
#include "publish/ftp_client.h"

namespace {

// A folder node with the listing of its folder (empty until loaded).
class TFtpNode : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    TFtpListing Listing;
};

const QIcon& RootIcon() {
    static const QIcon icon = QFileIconProvider().icon(QFileIconProvider::Network);
    return icon;
}

const QIcon& FolderIcon() {
    static const QIcon icon = QFileIconProvider().icon(QFileIconProvider::Folder);
    return icon;
}

void MarkHasChildren(QTreeWidgetItem* node, bool hasChildren) {
    node->setChildIndicatorPolicy(hasChildren ? QTreeWidgetItem::ShowIndicator
                                              : QTreeWidgetItem::DontShowIndicator);
}

bool MarkedHasChildren(const QTreeWidgetItem* node) {
    return node->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
}

void ShowLoadError(const QString& message) {
    MessageService().ShowMessageBox(QStringLiteral("Error loading ftp data.\n\rError Info : ") + message,
                                    mkError, QStringLiteral("Error Loading Ftp Data"), ProgramCaption());
}

} // namespace

TFTpTreeView::TFTpTreeView(QWidget* parent) : QTreeWidget(parent), client_(std::make_unique<TFtpClient>()) {
    setObjectName(QStringLiteral("FTpTreeView"));
    setAccessibleName(QStringLiteral("Folders"));
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) {
        if (!rebuilding_)
            LoadNode(node, false);
    });
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { SelectionChanged(node); });
}

TFTpTreeView::~TFTpTreeView() = default;

QString TFTpTreeView::Host() const {
    return client_->Host();
}

void TFTpTreeView::SetHost(const QString& host) {
    client_->SetHost(host);
    Rebuild();
}

QString TFTpTreeView::Username() const {
    return client_->Username();
}

void TFTpTreeView::SetUsername(const QString& username) {
    client_->SetUsername(username);
    Rebuild();
}

QString TFTpTreeView::Password() const {
    return client_->Password();
}

void TFTpTreeView::SetPassword(const QString& password) {
    client_->SetPassword(password);
    Rebuild();
}

int TFTpTreeView::Port() const {
    return client_->Port();
}

void TFTpTreeView::SetPort(int port) {
    client_->SetPort(port);
    Rebuild();
}

bool TFTpTreeView::Passive() const {
    return client_->Passive();
}

void TFTpTreeView::SetPassive(bool passive) {
    client_->SetPassive(passive);
    Rebuild();
}

void TFTpTreeView::SetAccount(const TFtpAccount& account) {
    ApplyAccount(*client_, account);
    trustedHost_ = account.TrustedHost;
    trustedFingerprint_ = account.TrustedFingerprint;
    Rebuild();
}

bool TFTpTreeView::TrustAfterQuestion(const EFtpUntrustedServer& error) {
    if (!AskToTrustServer(window(), Host(), error.Reason(), error.Fingerprint()))
        return false;
    trustedHost_ = Host();
    trustedFingerprint_ = error.Fingerprint();
    client_->SetTrustedFingerprint(trustedFingerprint_);
    return true;
}

void TFTpTreeView::SetRootPath(const QString& path) {
    if (!path.isEmpty())
        rootPath_ = path;
}

void TFTpTreeView::SetFtpListView(TFtpListView* listView) {
    if (listView_) {
        listView_->OnDblClick = nullptr;
        listView_->OnRefresh = nullptr;
    }
    listView_ = listView;
    if (listView_) {
        listView_->OnDblClick = [this] { OpenListSelection(); };
        listView_->OnRefresh = [this] { RefreshNode(currentItem()); };
    }
}

void TFTpTreeView::BeginSetup() {
    inSetup_ = true;
    client_->Disconnect();
}

void TFTpTreeView::EndSetup() {
    inSetup_ = false;
    Rebuild();
}

void TFTpTreeView::Rebuild() {
    if (inSetup_)
        return;
    clear();
    auto* root = new TFtpNode(this, {QStringLiteral("ftp://") + Host() + rootPath_});
    root->setIcon(0, RootIcon());
    MarkHasChildren(root, true);
    LoadNode(root, true);
    // The root was just listed: selecting it must not list it again (nor report a failure twice).
    rebuilding_ = true;
    root->setExpanded(true);
    setCurrentItem(root);
    rebuilding_ = false;
}

void TFTpTreeView::RunRemote(const std::function<void()>& work, bool showBusy) {
    std::unique_ptr<TBusyDialog> busy;
    if (showBusy && window()->isVisible()) {
        busy = std::make_unique<TBusyDialog>(window());
        busy->show();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    // The window keeps painting; it takes no input until the answer is in.
    RunOffUiThread(work);
}

void TFTpTreeView::ConnectWhenClosed() {
    if (!client_->Connected())
        client_->Connect();
}

void TFTpTreeView::LoadNode(QTreeWidgetItem* node, bool force) {
    if (!node || !(force || (MarkedHasChildren(node) && node->childCount() == 0)))
        return;
    auto* folder = static_cast<TFtpNode*>(node);
    const QString path = NodePath(node);
    setUpdatesEnabled(false);
    try {
        TFtpListing listing;
        const auto list = [&] {
            ConnectWhenClosed();
            client_->ChangeDir(path);
            listing = client_->List();
        };
        try {
            RunRemote(list, true);
        } catch (const EFtpUntrustedServer& error) {
            if (!TrustAfterQuestion(error))
                throw;
            RunRemote(list, true);
        }
        // The old children stay when the listing fails, so the tree stays as it was.
        qDeleteAll(node->takeChildren());
        folder->Listing = std::move(listing);
        for (const TFtpListItem& entry : folder->Listing) {
            if (entry.IsFolder)
                AddFolderNode(node, entry.Name);
        }
        MarkHasChildren(node, node->childCount() > 0);
        // Only the selected folder's content belongs in the list.
        if (listView_ && node == currentItem())
            listView_->ShowListing(folder->Listing, path, true);
    } catch (const EAppError& error) {
        ShowLoadError(error.Message());
    } catch (const std::exception& error) {
        ShowLoadError(QString::fromUtf8(error.what()));
    }
    setUpdatesEnabled(true);
}

QTreeWidgetItem* TFTpTreeView::AddFolderNode(QTreeWidgetItem* parent, const QString& name) {
    auto* child = new TFtpNode(parent, {name});
    child->setIcon(0, FolderIcon());
    MarkHasChildren(child, true);
    return child;
}

const TFtpListing& TFTpTreeView::NodeListing(const QTreeWidgetItem* node) {
    return static_cast<const TFtpNode*>(node)->Listing;
}

QString TFTpTreeView::NodePath(const QTreeWidgetItem* node) const {
    QString path;
    for (; node && node->parent(); node = node->parent())
        path = node->text(0) + QLatin1Char('/') + path;
    return path == QLatin1String("/") ? path : rootPath_ + path;
}

QString TFTpTreeView::SelectedPath() const {
    return NodePath(currentItem());
}

QTreeWidgetItem* TFTpTreeView::FindPath(const QString& path) {
    QTreeWidgetItem* node = topLevelItem(0);
    if (!node || path == rootPath_)
        return node;
    // A path outside the root cannot name one of its nodes.
    if (!path.startsWith(rootPath_))
        return nullptr;
    QString rest = path.mid(rootPath_.size());
    while (!rest.isEmpty()) {
        const qsizetype slash = rest.indexOf(QLatin1Char('/'));
        const QString segment = slash < 0 ? rest : rest.left(slash + 1);
        rest.remove(0, segment.size());
        node->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < node->childCount() && !next; ++i) {
            if (node->child(i)->text(0) + QLatin1Char('/') == segment)
                next = node->child(i);
        }
        if (!next)
            return nullptr;
        node = next;
    }
    return node;
}

void TFTpTreeView::SelectPath(const QString& path) {
    if (path.isEmpty())
        return;
    QTreeWidgetItem* node = FindPath(path);
    if (!node) {
        MessageService().ShowMessageBox(QStringLiteral("Backup path not found.\r\nPath : ") + path, mkError,
                                        QStringLiteral("Path Not Found."), ProgramCaption());
        return;
    }
    setCurrentItem(node);
    if (listView_)
        listView_->ShowListing(NodeListing(node), path, false);
}

void TFTpTreeView::CreateFolder(const QString& name) {
    QTreeWidgetItem* selected = currentItem();
    if (!selected)
        throw EAppError(QStringLiteral("No folder is selected."));
    const QString parentPath = SelectedPath();
    RunRemote(
        [&] {
            ConnectWhenClosed();
            client_->MakeDir(parentPath + name);
        },
        false);
    selected->setExpanded(true);
    AddFolderNode(selected, name);
    MarkHasChildren(selected, selected->childCount() > 0);
    SelectPath(parentPath + name + QLatin1Char('/'));
}

void TFTpTreeView::SelectionChanged(QTreeWidgetItem* node) {
    if (!node)
        return;
    if (!rebuilding_) {
        const bool expanded = node->isExpanded();
        LoadNode(node, false);
        node->setExpanded(expanded);
    }
    if (listView_)
        listView_->ShowListing(NodeListing(node), SelectedPath(), false);
    emit SelectedPathChanged(SelectedPath());
}

void TFTpTreeView::OpenListSelection() {
    const TFtpListItem* entry = listView_ ? listView_->SelectedEntry() : nullptr;
    if (entry && entry->IsFolder)
        SelectPath(SelectedPath() + entry->Name + QLatin1Char('/'));
}

void TFTpTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5) {
        RefreshNode(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

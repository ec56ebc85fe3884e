// Trovecart - shop tree control.
#include "gui/shop_tree.h"

#include <algorithm>

#include <QDropEvent>
#include <QHeaderView>

#include "gui/widgets/tree_icons.h"
#include "shop/shop_document.h"

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kObjectRole = Qt::UserRole + 1;

} // namespace

TShopTree::TShopTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setIndentation(19);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setMinimumWidth(218);
}

TNodeKind TShopTree::KindOf(const QTreeWidgetItem* node) {
    return static_cast<TNodeKind>(node->data(0, kKindRole).toInt());
}

TXMLCollectionItem* TShopTree::ObjectOf(const QTreeWidgetItem* node) {
    return node ? reinterpret_cast<TXMLCollectionItem*>(node->data(0, kObjectRole).value<quintptr>())
                : nullptr;
}

TCategory* TShopTree::CategoryOf(const QTreeWidgetItem* node) {
    return node && KindOf(node) == TNodeKind::Category ? static_cast<TCategory*>(ObjectOf(node)) : nullptr;
}

TCartItem* TShopTree::ProductOf(const QTreeWidgetItem* node) {
    return node && KindOf(node) == TNodeKind::Product ? static_cast<TCartItem*>(ObjectOf(node)) : nullptr;
}

QTreeWidgetItem* TShopTree::NewNode(QTreeWidgetItem* parent, TNodeKind kind, TXMLCollectionItem* object,
                                    const QString& caption) {
    const QSignalBlocker quiet(this);
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    node->setText(0, caption);
    node->setData(0, kKindRole, static_cast<int>(kind));
    node->setData(0, kObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
    node->setFlags(node->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
    if (object)
        nodes_.insert(object, node);
    return node;
}

void TShopTree::BuildTree(TShop* shop) {
    setUpdatesEnabled(false);
    clear();
    nodes_.clear();
    if (shop) {
        QTreeWidgetItem* root = NewNode(nullptr, TNodeKind::Root, nullptr, shop->GetPlainTitle());
        root->setIcon(0, TreeNodeIcon(tiFolderClosed, tiFolderOpen));
        root->setFlags(root->flags() & ~Qt::ItemIsDragEnabled);
        TCategories& categories = shop->Categories();
        for (int c = 0; c < categories.Count(); ++c) {
            TCategory* category = categories.Items(c);
            QTreeWidgetItem* categoryNode = AddCategoryNode(category);
            for (int p = 0; p < category->Items().Count(); ++p)
                AddProductNode(categoryNode, category->Items().Items(p));
        }
        expandAll();
    }
    setUpdatesEnabled(true);
    if (Root())
        setCurrentItem(Root());
}

QTreeWidgetItem* TShopTree::AddCategoryNode(TCategory* category) {
    QTreeWidgetItem* node = NewNode(Root(), TNodeKind::Category, category, category->Name());
    node->setIcon(0, TreeNodeIcon(tiCategory, tiCategorySelected));
    return node;
}

QTreeWidgetItem* TShopTree::AddProductNode(QTreeWidgetItem* categoryNode, TCartItem* item) {
    QTreeWidgetItem* node = NewNode(categoryNode, TNodeKind::Product, item, item->Name());
    UpdateProductIcon(node);
    return node;
}

void TShopTree::UpdateProductIcon(QTreeWidgetItem* node) {
    const QSignalBlocker quiet(this);
    const TTreeImage image = ProductImage(ProductOf(node)->ItemType());
    node->setIcon(0, TreeNodeIcon(image, static_cast<TTreeImage>(image + 1)));
}

void TShopTree::Forget(QTreeWidgetItem* node) {
    nodes_.remove(ObjectOf(node));
    for (int i = 0; i < node->childCount(); ++i)
        Forget(node->child(i));
}

void TShopTree::DeleteNode(QTreeWidgetItem* node) {
    Forget(node);
    delete node;
}

void TShopTree::SortChildren(QTreeWidgetItem* parent) {
    if (!parent)
        return;
    // Taking the children out moves the selection for a moment; nobody needs to hear of it.
    const QSignalBlocker quiet(this);
    QTreeWidgetItem* current = currentItem();
    QList<QTreeWidgetItem*> children = parent->takeChildren();
    QHash<QTreeWidgetItem*, bool> expanded;
    for (QTreeWidgetItem* child : children)
        expanded.insert(child, child->isExpanded());
    std::stable_sort(children.begin(), children.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        const TXMLCollectionItem* left = ObjectOf(a);
        const TXMLCollectionItem* right = ObjectOf(b);
        if (!left || !right)
            return false;
        return left->Index() < right->Index();
    });
    parent->addChildren(children);
    for (QTreeWidgetItem* child : children)
        child->setExpanded(expanded.value(child));
    if (current)
        setCurrentItem(current);
}

void TShopTree::ExpandAll(bool expand) {
    if (expand)
        expandAll();
    else
        collapseAll();
}

QList<QTreeWidgetItem*> TShopTree::AllNodes() const {
    QList<QTreeWidgetItem*> nodes;
    for (QTreeWidgetItemIterator it(const_cast<TShopTree*>(this)); *it; ++it)
        nodes.append(*it);
    return nodes;
}

bool TShopTree::AcceptsDrop(const QDropEvent* event) const {
    if (event->source() != this)
        return false;
    const QTreeWidgetItem* dragged = currentItem();
    if (!dragged || dragged == Root())
        return false;
    const QTreeWidgetItem* target = itemAt(event->position().toPoint());
    return target != Root();
}

void TShopTree::dragEnterEvent(QDragEnterEvent* event) {
    if (AcceptsDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TShopTree::dragMoveEvent(QDragMoveEvent* event) {
    if (AcceptsDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TShopTree::dropEvent(QDropEvent* event) {
    // The model decides the new order; the control's own move is never used.
    if (!AcceptsDrop(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    emit NodeDropped(currentItem(), itemAt(event->position().toPoint()));
}

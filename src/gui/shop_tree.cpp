// Trovecart - shop tree control.
#include "gui/shop_tree.h"

#include <QDropEvent>
#include <QHash>
#include <QHeaderView>

#include "gui/widgets/tree_icons.h"
#include "shop/catalogue_editor.h"
#include "shop/shop_document.h"

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kTypeRole = Qt::UserRole + 1;

quint64 IdOf(const QTreeWidgetItem* node) {
    return node->data(0, kIdRole).toULongLong();
}

void ShowCaption(QTreeWidgetItem* node, const QString& caption) {
    if (node->text(0) != caption)
        node->setText(0, caption);
}

bool Contains(const QTreeWidgetItem* ancestor, const QTreeWidgetItem* node) {
    for (; node; node = node->parent()) {
        if (node == ancestor)
            return true;
    }
    return false;
}

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

QTreeWidgetItem* TShopTree::NewNode(quint64 id) {
    auto* node = new QTreeWidgetItem;
    node->setData(0, kIdRole, QVariant::fromValue(id));
    node->setFlags(node->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
    return node;
}

void TShopTree::BuildTree(const TShop* shop) {
    setUpdatesEnabled(false);
    clear();
    if (shop) {
        const QSignalBlocker quiet(this);
        QTreeWidgetItem* root = NewNode(0);
        root->setText(0, shop->GetPlainTitle());
        root->setIcon(0, TreeNodeIcon(tiFolderClosed, tiFolderOpen));
        root->setFlags(root->flags() & ~Qt::ItemIsDragEnabled);
        addTopLevelItem(root);
        Mirror(*shop);
        expandAll();
    }
    setUpdatesEnabled(true);
    if (Root())
        setCurrentItem(Root());
}

QList<QTreeWidgetItem*> TShopTree::MirrorChildren(QTreeWidgetItem* parent,
                                                  const TXMLItemCollection& entries) {
    bool same = parent->childCount() == entries.Count();
    for (int i = 0; same && i < entries.Count(); ++i)
        same = IdOf(parent->child(i)) == entries.ItemAt(i)->Id();
    if (same)
        return {};

    // Expansion belongs to the view, so it is read before the nodes are taken out.
    QHash<quint64, QTreeWidgetItem*> byId;
    QHash<QTreeWidgetItem*, bool> expanded;
    for (int i = 0; i < parent->childCount(); ++i) {
        byId.insert(IdOf(parent->child(i)), parent->child(i));
        expanded.insert(parent->child(i), parent->child(i)->isExpanded());
    }
    parent->takeChildren();
    QList<QTreeWidgetItem*> children;
    for (int i = 0; i < entries.Count(); ++i) {
        const quint64 id = entries.ItemAt(i)->Id();
        QTreeWidgetItem* node = byId.take(id);
        children.append(node ? node : NewNode(id));
    }
    parent->addChildren(children);
    for (QTreeWidgetItem* child : children)
        child->setExpanded(expanded.value(child));
    return byId.values();
}

void TShopTree::Mirror(const TShop& shop) {
    QTreeWidgetItem* root = Root();
    if (!root)
        return;
    const QSignalBlocker quiet(this);
    QTreeWidgetItem* current = currentItem();
    QList<QTreeWidgetItem*> gone = MirrorChildren(root, shop.Categories());
    for (int c = 0; c < shop.Categories().Count(); ++c) {
        const TCategory* category = shop.Categories().Items(c);
        QTreeWidgetItem* categoryNode = root->child(c);
        ShowCaption(categoryNode, category->Name());
        if (categoryNode->icon(0).isNull())
            categoryNode->setIcon(0, TreeNodeIcon(tiCategory, tiCategorySelected));
        gone += MirrorChildren(categoryNode, category->Items());
        for (int p = 0; p < category->Items().Count(); ++p) {
            const TCartItem* product = category->Items().Items(p);
            ShowCaption(categoryNode->child(p), product->Name());
            ShowProductType(categoryNode->child(p), product->ItemType());
        }
    }
    for (QTreeWidgetItem* node : gone) {
        if (Contains(node, current))
            current = nullptr;
        delete node;
    }
    if (current)
        setCurrentItem(current);
}

void TShopTree::ShowProductType(QTreeWidgetItem* node, TCartItemType type) {
    const QVariant shown = node->data(0, kTypeRole);
    if (shown.isValid() && shown.toInt() == type)
        return;
    node->setData(0, kTypeRole, static_cast<int>(type));
    const TTreeImage image = ProductImage(type);
    node->setIcon(0, TreeNodeIcon(image, static_cast<TTreeImage>(image + 1)));
}

QTreeWidgetItem* TShopTree::NodeAt(TEntryPosition position) const {
    QTreeWidgetItem* node = Root();
    if (node && !position.IsRoot())
        node = node->child(position.category);
    if (node && position.IsProduct())
        node = node->child(position.product);
    return node;
}

TEntryPosition TShopTree::PositionOf(QTreeWidgetItem* node) {
    QTreeWidgetItem* parent = node->parent();
    if (!parent)
        return TEntryPosition::Root();
    QTreeWidgetItem* grandParent = parent->parent();
    if (!grandParent)
        return TEntryPosition::Category(parent->indexOfChild(node));
    return TEntryPosition::Product(grandParent->indexOfChild(parent), parent->indexOfChild(node));
}

std::optional<TEntryPosition> TShopTree::SelectedPosition() const {
    if (QTreeWidgetItem* node = currentItem())
        return PositionOf(node);
    return std::nullopt;
}

void TShopTree::ExpandAll(bool expand) {
    if (expand)
        expandAll();
    else
        collapseAll();
}

bool TShopTree::AcceptsDrop(const QDropEvent* event) const {
    QTreeWidgetItem* dragged = currentItem();
    if (event->source() != this || !dragged)
        return false;
    QTreeWidgetItem* over = itemAt(event->position().toPoint());
    return TCatalogueEditor::AcceptsDrop(PositionOf(dragged),
                                         over ? std::optional(PositionOf(over)) : std::nullopt);
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

// Trovecart - the tree control of the open shop: root, categories, products. Its nodes mirror the
// catalogue: a node's place in the tree is its entry's place in the model, and each node carries
// its entry's id so that the mirror can follow entries that change places.
#pragma once

#include <optional>

#include <QTreeWidget>

#include "shop/cart_item.h"
#include "shop/entry_position.h"

class TShop;
class TXMLItemCollection;

class TShopTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit TShopTree(QWidget* parent = nullptr);

    // Rebuilds every node from the shop (none when shop is null), expands them all and selects the
    // root.
    void BuildTree(const TShop* shop);
    // Brings the nodes in line with the catalogue after a change: nodes of entries that stay are
    // kept (with their expansion and the selection), nodes of deleted entries go, new entries get
    // nodes, captions follow the names and product icons the types. No signal is sent meanwhile.
    void Mirror(const TShop& shop);

    QTreeWidgetItem* Root() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }
    QTreeWidgetItem* NodeAt(TEntryPosition position) const;
    static TEntryPosition PositionOf(QTreeWidgetItem* node);
    std::optional<TEntryPosition> SelectedPosition() const;
    // Gives a product node the icon of that type.
    static void ShowProductType(QTreeWidgetItem* node, TCartItemType type);

    void ExpandAll(bool expand);

signals:
    // A node of this tree dropped on target (null: below every node).
    void NodeDropped(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool AcceptsDrop(const QDropEvent* event) const;
    static QTreeWidgetItem* NewNode(quint64 id);
    // Makes the children of parent stand for the entries, in their order; returns the nodes of
    // entries no longer there, still to be deleted.
    static QList<QTreeWidgetItem*> MirrorChildren(QTreeWidgetItem* parent, const TXMLItemCollection& entries);
};

// Trovecart - the tree control of the open shop: root, categories, products. It knows which
// model object each node stands for; what the commands do with them is the main window's.
#pragma once

#include <QHash>
#include <QTreeWidget>

class TCartItem;
class TCategory;
class TShop;
class TXMLCollectionItem;

enum class TNodeKind { Root, Category, Product };

class TShopTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit TShopTree(QWidget* parent = nullptr);

    // Rebuilds every node from the shop (none when shop is null) and selects the root.
    void BuildTree(TShop* shop);
    QTreeWidgetItem* Root() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }

    QTreeWidgetItem* AddCategoryNode(TCategory* category);
    QTreeWidgetItem* AddProductNode(QTreeWidgetItem* categoryNode, TCartItem* item);
    // Deletes the node and forgets the objects below it.
    void DeleteNode(QTreeWidgetItem* node);

    static TNodeKind KindOf(const QTreeWidgetItem* node);
    // The category or product a node stands for; null for the root.
    static TXMLCollectionItem* ObjectOf(const QTreeWidgetItem* node);
    static TCategory* CategoryOf(const QTreeWidgetItem* node);
    static TCartItem* ProductOf(const QTreeWidgetItem* node);
    // The node made for a category or product, or null.
    QTreeWidgetItem* NodeOf(const TXMLCollectionItem* object) const { return nodes_.value(object); }
    // Gives a product node the icon of its product's current type.
    void UpdateProductIcon(QTreeWidgetItem* node);

    // Orders the children of a node by their objects' positions in the model.
    void SortChildren(QTreeWidgetItem* parent);
    void ExpandAll(bool expand);
    // Every node in tree order.
    QList<QTreeWidgetItem*> AllNodes() const;

signals:
    // A node of this tree dropped on target (null: below every node).
    void NodeDropped(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool AcceptsDrop(const QDropEvent* event) const;
    QTreeWidgetItem* NewNode(QTreeWidgetItem* parent, TNodeKind kind, TXMLCollectionItem* object,
                             const QString& caption);
    void Forget(QTreeWidgetItem* node);

    QHash<const TXMLCollectionItem*, QTreeWidgetItem*> nodes_;
};

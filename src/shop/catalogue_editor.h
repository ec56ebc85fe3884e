// Trovecart - the shop tree's operations on the catalogue: add, delete, move, rename, drop.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QString>

#include "shop/cart_item.h"
#include "shop/entry_position.h"

class TCategories;
class TCategory;
class TShop;

// Which tree commands apply to the entry at a position.
struct TEntryCommands {
    bool remove = false;
    bool moveUp = false;
    bool moveDown = false;
    bool addProduct = false;
    bool moveTo = false;
};

// Each editing operation takes the position of the entry it acts on, marks the shop modified and
// returns the position to select afterwards. A position that names no entry, or an operation the
// rules refuse there, changes nothing and gives the position back.
class TCatalogueEditor {
public:
    explicit TCatalogueEditor(TShop& shop) : shop_(shop) {}

    // Told of every entry about to be deleted, while it still exists: each product of a category,
    // then the category.
    std::function<void(TXMLCollectionItem& entry)> OnEntryRemoving;

    // The category or product at a position; null for the root and for no entry.
    TXMLCollectionItem* Entry(TEntryPosition position) const;
    TCategory* CategoryAt(TEntryPosition position) const;
    TCartItem* ProductAt(TEntryPosition position) const;

    TEntryCommands CommandsFor(TEntryPosition position) const;
    // The categories a product may be moved to: every one but its own, in order.
    std::vector<int> MoveTargets(TEntryPosition product) const;
    // The position before or after this one in tree order (depth first: the root, then each
    // category followed by its products); none before the root and after the last node.
    std::optional<TEntryPosition> PreviousInTreeOrder(TEntryPosition position) const;
    std::optional<TEntryPosition> NextInTreeOrder(TEntryPosition position) const;
    // Asks the editor of every category and product, in tree order; false at the first refusal.
    bool CanLeaveEditors() const;

    TEntryPosition AddCategory();
    // Appends to the category at the position, or to the category of the product there.
    TEntryPosition AddProduct(TEntryPosition selected, TCartItemType type);
    // Deletes the media files of the product, or of each product of the category, then the entry.
    // Returns the neighbour that takes its place: the next sibling, else the previous, else the parent.
    TEntryPosition Delete(TEntryPosition position);
    // Inside a collection the entry trades places with its neighbour; a product at the start or end
    // of its category crosses into the end of the previous or the start of the next category.
    TEntryPosition MoveUp(TEntryPosition position);
    TEntryPosition MoveDown(TEntryPosition position);
    // A copy of the product (naming the same media files) goes to the start or the end of the
    // category, and the product itself is deleted. Its own category is a valid target.
    TEntryPosition MoveToCategory(TEntryPosition product, int categoryIndex, bool atStart);
    // The root takes the text as the visible part of the shop title, an entry as its name. False,
    // with nothing marked, when the text is what is shown already.
    bool Rename(TEntryPosition position, const QString& text);

    // Drag and drop; `over` is the position under the pointer, none below the last node.
    static bool AcceptsDrop(TEntryPosition dragged, std::optional<TEntryPosition> over);
    // Below the last node a drop lands on the last product of the last category, or on that
    // category when it has none; with no category there is nothing to land on.
    std::optional<TEntryPosition> DropTarget(std::optional<TEntryPosition> over) const;
    // Returns the dragged entry's new position.
    TEntryPosition Drop(TEntryPosition dragged, std::optional<TEntryPosition> over);

private:
    TCategories& Categories() const;
    int ProductCount(int category) const;
    void RemoveProduct(TCartItem& product);
    TEntryPosition MoveInside(TEntryPosition position, int step);
    void MarkModified();

    TShop& shop_;
};

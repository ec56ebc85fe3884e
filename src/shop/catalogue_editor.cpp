// Trovecart - catalogue editing.
#include "shop/catalogue_editor.h"

#include "shop/shop_document.h"

namespace {

bool InRange(int index, int count) {
    return index >= 0 && index < count;
}

} // namespace

TCategories& TCatalogueEditor::Categories() const {
    return shop_.Categories();
}

void TCatalogueEditor::MarkModified() {
    shop_.SetModified(true);
}

TCategory* TCatalogueEditor::CategoryAt(TEntryPosition position) const {
    if (!InRange(position.category, Categories().Count()))
        return nullptr;
    return Categories().Items(position.category);
}

TCartItem* TCatalogueEditor::ProductAt(TEntryPosition position) const {
    const TCategory* category = position.IsProduct() ? CategoryAt(position) : nullptr;
    if (!category || !InRange(position.product, category->Items().Count()))
        return nullptr;
    return category->Items().Items(position.product);
}

TXMLCollectionItem* TCatalogueEditor::Entry(TEntryPosition position) const {
    if (position.IsProduct())
        return ProductAt(position);
    return position.IsCategory() ? CategoryAt(position) : nullptr;
}

TEntryCommands TCatalogueEditor::CommandsFor(TEntryPosition position) const {
    TEntryCommands commands;
    if (!Entry(position))
        return commands;
    const int lastCategory = Categories().Count() - 1;
    commands.remove = commands.addProduct = true;
    if (position.IsProduct()) {
        const int lastProduct = CategoryAt(position)->Items().Count() - 1;
        commands.moveUp = position.product > 0 || position.category > 0;
        commands.moveDown = position.product < lastProduct || position.category < lastCategory;
        commands.moveTo = true;
    } else {
        commands.moveUp = position.category > 0;
        commands.moveDown = position.category < lastCategory;
    }
    return commands;
}

std::vector<int> TCatalogueEditor::MoveTargets(TEntryPosition product) const {
    std::vector<int> targets;
    if (!ProductAt(product))
        return targets;
    for (int i = 0; i < Categories().Count(); ++i) {
        if (i != product.category)
            targets.push_back(i);
    }
    return targets;
}

int TCatalogueEditor::ProductCount(int category) const {
    return Categories().Items(category)->Items().Count();
}

std::optional<TEntryPosition> TCatalogueEditor::PreviousInTreeOrder(TEntryPosition position) const {
    if (!Entry(position))
        return std::nullopt;
    if (position.IsProduct()) {
        return position.product > 0 ? TEntryPosition::Product(position.category, position.product - 1)
                                    : TEntryPosition::Category(position.category);
    }
    if (position.category == 0)
        return TEntryPosition::Root();
    const int above = position.category - 1;
    const int products = ProductCount(above);
    return products ? TEntryPosition::Product(above, products - 1) : TEntryPosition::Category(above);
}

std::optional<TEntryPosition> TCatalogueEditor::NextInTreeOrder(TEntryPosition position) const {
    if (!position.IsRoot() && !Entry(position))
        return std::nullopt;
    if (!position.IsProduct() && !position.IsRoot() && ProductCount(position.category) > 0)
        return TEntryPosition::Product(position.category, 0);
    if (position.IsProduct() && position.product + 1 < ProductCount(position.category))
        return TEntryPosition::Product(position.category, position.product + 1);
    const int below = position.category + 1;
    if (below < Categories().Count())
        return TEntryPosition::Category(below);
    return std::nullopt;
}

bool TCatalogueEditor::CanLeaveEditors() const {
    for (int c = 0; c < Categories().Count(); ++c) {
        const TCategory* category = Categories().Items(c);
        if (!category->CanLeaveEditor())
            return false;
        for (int p = 0; p < category->Items().Count(); ++p) {
            if (!category->Items().Items(p)->CanLeaveEditor())
                return false;
        }
    }
    return true;
}

TEntryPosition TCatalogueEditor::AddCategory() {
    TCategory* category = Categories().Add();
    category->SetName(QStringLiteral("New category"));
    MarkModified();
    return TEntryPosition::Category(category->Index());
}

TEntryPosition TCatalogueEditor::AddProduct(TEntryPosition selected, TCartItemType type) {
    TCategory* category = CategoryAt(selected);
    if (!category || !Entry(selected))
        return selected;
    TCartItem* product = category->Items().Add();
    product->SetName(QStringLiteral("New product"));
    product->SetItemType(type);
    MarkModified();
    return TEntryPosition::Product(selected.category, product->Index());
}

void TCatalogueEditor::RemoveProduct(TCartItem& product) {
    if (OnEntryRemoving)
        OnEntryRemoving(product);
    product.Collection()->Delete(product.Index());
}

TEntryPosition TCatalogueEditor::Delete(TEntryPosition position) {
    if (TCartItem* product = ProductAt(position)) {
        product->DeleteMediaFiles(shop_.WorkFolder());
        TCartItems& siblings = CategoryAt(position)->Items();
        RemoveProduct(*product);
        MarkModified();
        if (position.product < siblings.Count())
            return position;
        return position.product > 0 ? TEntryPosition::Product(position.category, position.product - 1)
                                    : TEntryPosition::Category(position.category);
    }
    TCategory* category = CategoryAt(position);
    if (!category || !position.IsCategory())
        return position;
    TCartItems& products = category->Items();
    for (int i = 0; i < products.Count(); ++i)
        products.Items(i)->DeleteMediaFiles(shop_.WorkFolder());
    if (OnEntryRemoving) {
        for (int i = 0; i < products.Count(); ++i)
            OnEntryRemoving(*products.Items(i));
        OnEntryRemoving(*category);
    }
    Categories().Delete(position.category);
    MarkModified();
    if (position.category < Categories().Count())
        return position;
    return position.category > 0 ? TEntryPosition::Category(position.category - 1) : TEntryPosition::Root();
}

TEntryPosition TCatalogueEditor::MoveInside(TEntryPosition position, int step) {
    TXMLCollectionItem* entry = Entry(position);
    const int to = entry ? entry->Index() + step : -1;
    if (!entry || !InRange(to, entry->Collection()->Count()))
        return position;
    entry->Collection()->Move(entry->Index(), to);
    MarkModified();
    return position.IsProduct() ? TEntryPosition::Product(position.category, to)
                                : TEntryPosition::Category(to);
}

TEntryPosition TCatalogueEditor::MoveUp(TEntryPosition position) {
    if (ProductAt(position) && position.product == 0)
        return MoveToCategory(position, position.category - 1, false);
    return MoveInside(position, -1);
}

TEntryPosition TCatalogueEditor::MoveDown(TEntryPosition position) {
    if (const TCartItem* product = ProductAt(position); product && TXMLItemCollection::IsLast(product))
        return MoveToCategory(position, position.category + 1, true);
    return MoveInside(position, +1);
}

TEntryPosition TCatalogueEditor::MoveToCategory(TEntryPosition product, int categoryIndex, bool atStart) {
    TCartItem* original = ProductAt(product);
    const TCategory* target = CategoryAt(TEntryPosition::Category(categoryIndex));
    if (!original || !target)
        return product;
    TCartItems& items = Categories().Items(categoryIndex)->Items();
    TCartItem* copy = atStart ? items.Insert(0) : items.Add();
    copy->Assign(*original);
    RemoveProduct(*original);
    MarkModified();
    return TEntryPosition::Product(categoryIndex, copy->Index());
}

bool TCatalogueEditor::Rename(TEntryPosition position, const QString& text) {
    if (position.IsRoot()) {
        if (text == shop_.GetPlainTitle())
            return false;
        shop_.SetPlainTitle(text);
    } else {
        TXMLCollectionItem* entry = Entry(position);
        if (!entry || text == entry->Name())
            return false;
        entry->SetName(text);
    }
    MarkModified();
    return true;
}

bool TCatalogueEditor::AcceptsDrop(TEntryPosition dragged, std::optional<TEntryPosition> over) {
    return !dragged.IsRoot() && !(over && over->IsRoot());
}

std::optional<TEntryPosition> TCatalogueEditor::DropTarget(std::optional<TEntryPosition> over) const {
    if (over)
        return Entry(*over) ? over : std::nullopt;
    const int last = Categories().Count() - 1;
    if (last < 0)
        return std::nullopt;
    const int products = Categories().Items(last)->Items().Count();
    return products ? TEntryPosition::Product(last, products - 1) : TEntryPosition::Category(last);
}

TEntryPosition TCatalogueEditor::Drop(TEntryPosition dragged, std::optional<TEntryPosition> over) {
    const std::optional<TEntryPosition> target = DropTarget(over);
    if (!AcceptsDrop(dragged, over) || !target || !Entry(dragged))
        return dragged;
    if (dragged.IsCategory()) {
        Categories().Move(dragged.category, target->category);
        MarkModified();
        return TEntryPosition::Category(target->category);
    }
    if (target->IsCategory()) {
        // On its own category or one below: the first product there; on one above: the last.
        return MoveToCategory(dragged, target->category, target->category >= dragged.category);
    }
    TEntryPosition moved = dragged;
    if (dragged.category != target->category)
        moved = MoveToCategory(dragged, target->category, false);
    Categories().Items(target->category)->Items().Move(moved.product, target->product);
    MarkModified();
    return *target;
}

// Trovecart - XML-backed entries and collections.
#include "shop/xml_collection.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include <pugixml.hpp>

#include "common/app_error.h"
#include "shop/xml_text.h"

TXMLCollectionItem::TXMLCollectionItem() {
    static std::atomic<quint64> lastId{0};
    id_ = ++lastId;
}

void TXMLCollectionItem::Assign(const TXMLCollectionItem& source) {
    name_ = source.name_;
}

TXMLCollectionItem* TXMLItemCollection::ItemAt(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].get();
}

void TXMLItemCollection::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EAppError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

void TXMLItemCollection::Renumber(int from) {
    for (int i = std::max(from, 0); i < Count(); ++i)
        items_[static_cast<size_t>(i)]->index_ = i;
}

TXMLCollectionItem* TXMLItemCollection::InsertItem(int index) {
    if (index < 0 || index > Count())
        throw EAppError(QStringLiteral("List index out of bounds (%1)").arg(index));
    std::unique_ptr<TXMLCollectionItem> item = CreateItem();
    item->collection_ = this;
    TXMLCollectionItem* raw = item.get();
    items_.insert(items_.begin() + index, std::move(item));
    Renumber(index);
    return raw;
}

void TXMLItemCollection::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    Renumber(index);
}

void TXMLItemCollection::Clear() {
    items_.clear();
}

void TXMLItemCollection::Move(int from, int to) {
    CheckIndex(from);
    CheckIndex(to);
    if (from == to)
        return;
    auto first = items_.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    Renumber(std::min(from, to));
}

bool TXMLItemCollection::IsLast(const TXMLCollectionItem* item) {
    if (!item || !item->collection_)
        return true;
    return item->index_ == item->collection_->Count() - 1;
}

void TXMLItemCollection::Assign(const TXMLItemCollection& source) {
    if (&source == this)
        return;
    nodeName_ = source.nodeName_;
    Clear();
    for (const auto& sourceItem : source.items_)
        InsertItem(Count())->Assign(*sourceItem);
}

void TXMLItemCollection::LoadFromXML(const pugi::xml_node& element, const QString& elementName) {
    // A copy of the scratch text, which the entries' own loading reuses.
    const std::string wanted = ScratchUtf8(elementName.isEmpty() ? nodeName_ : elementName);
    Clear();
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() == pugi::node_element && std::strcmp(child.name(), wanted.c_str()) == 0)
            InsertItem(Count())->LoadFromXML(child);
    }
}

void TXMLItemCollection::SaveToXML(TXmlWriter& out, TXMLSaveContext& context,
                                   const QString& elementName) const {
    const QString name = elementName.isEmpty() ? nodeName_ : elementName;
    for (const auto& item : items_)
        item->SaveToXML(out, context, name);
}

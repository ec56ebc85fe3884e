// Trovecart - purchase options.
#include "shop/option_item.h"

#include <cstring>
#include <string>

#include <pugixml.hpp>

#include "shop/xml_text.h"

void TOptionItem::Assign(const TXMLCollectionItem& source) {
    TXMLCollectionItem::Assign(source);
    if (const auto* option = dynamic_cast<const TOptionItem*>(&source)) {
        enabled_ = option->enabled_;
        items_ = option->items_;
    }
}

namespace {

// The values of an option element. The same values recur on many products, so equal lists share
// one list instead of each holding a copy of its own.
QStringList SharedValues(const pugi::xml_node& option) {
    // Lists longer than this are rarely repeated, and the cache would keep them.
    constexpr size_t kLongest = 1024;
    // The values one after another, each ended by a NUL, which no XML text can hold.
    thread_local std::string key;
    key.clear();
    qsizetype count = 0;
    for (const pugi::xml_node& child : option.children()) {
        if (child.type() != pugi::node_element)
            continue;
        key += ReadElementUtf8(child);
        key += '\0';
        ++count;
    }
    const auto makeValues = [count] {
        QStringList values;
        values.reserve(count);
        for (const char* value = key.data(); value != key.data() + key.size();
             value += std::strlen(value) + 1)
            values.append(SharedText(value));
        return values;
    };
    if (key.size() > kLongest)
        return makeValues();
    thread_local TRecurringValues<QStringList, 256> lists;
    return lists.Get(key, makeValues);
}

} // namespace

void TOptionItem::LoadFromXML(const pugi::xml_node& element) {
    enabled_ = true;
    SetName(SharedText(RequiredAttributeUtf8(element, "id")));
    items_ = SharedValues(element);
}

void TOptionItem::SaveToXML(TXmlWriter& out, TXMLSaveContext&, const QString& elementName) const {
    if (!enabled_)
        return;
    out.StartElement(ScratchUtf8(elementName));
    WriteAttribute(out, "id", Name());
    int number = 0;
    for (const QString& value : items_) {
        out.StartElement("id");
        out.Attribute("id", ++number);
        WriteTextContent(out, value);
        out.EndElement();
    }
    out.EndElement();
}

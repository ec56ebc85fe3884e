// Trovecart - purchase options.
#include "shop/option_item.h"

#include <pugixml.hpp>

#include "shop/xml_text.h"

void TOptionItem::Assign(const TXMLCollectionItem& source) {
    TXMLCollectionItem::Assign(source);
    if (const auto* option = dynamic_cast<const TOptionItem*>(&source)) {
        enabled_ = option->enabled_;
        items_ = option->items_;
    }
}

void TOptionItem::LoadFromXML(const pugi::xml_node& element) {
    enabled_ = true;
    SetName(SharedText(RequiredAttributeUtf8(element, "id")));
    items_.clear();
    qsizetype count = 0;
    for (const pugi::xml_node& child : element.children())
        count += child.type() == pugi::node_element ? 1 : 0;
    items_.reserve(count);
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() == pugi::node_element)
            items_.append(SharedText(ReadElementUtf8(child)));
    }
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

// Trovecart - categories.
#include "shop/category.h"

#include <pugixml.hpp>

#include "shop/xml_text.h"

void TCategory::Assign(const TXMLCollectionItem& source) {
    TXMLCollectionItem::Assign(source);
    if (const auto* category = dynamic_cast<const TCategory*>(&source))
        items_.Assign(category->items_);
}

void TCategory::LoadFromXML(const pugi::xml_node& element) {
    SetName(RequiredAttribute(element, "name"));
    items_.LoadFromXML(element);
}

void TCategory::SaveToXML(pugi::xml_node& parent, TXMLSaveContext& context,
                          const QString& elementName) const {
    pugi::xml_node element = parent.append_child(ScratchUtf8(elementName).c_str());
    SetAttribute(element, "id", Index() + 1);
    SetAttribute(element, "name", Name());
    items_.SaveToXML(element, context);
}

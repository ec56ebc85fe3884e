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

void TCategory::SaveToXML(TXmlWriter& out, TXMLSaveContext& context, const QString& elementName) const {
    out.StartElement(ScratchUtf8(elementName));
    out.Attribute("id", Index() + 1);
    WriteAttribute(out, "name", Name());
    items_.SaveToXML(out, context);
    out.EndElement();
}

// Trovecart - one product category.
#pragma once

#include "shop/cart_item.h"

class TCategory : public TXMLCollectionItem {
public:
    TCartItems& Items() { return items_; }
    const TCartItems& Items() const { return items_; }

    void Assign(const TXMLCollectionItem& source) override;
    void LoadFromXML(const pugi::xml_node& element) override;
    void SaveToXML(TXmlWriter& out, TXMLSaveContext& context, const QString& elementName) const override;

private:
    TCartItems items_;
};

class TCategories : public TTypedCollection<TCategory> {
public:
    TCategories() : TTypedCollection(QStringLiteral("category")) {}
};

// Trovecart - one purchase option of a product (a size, a colour) with its values.
#pragma once

#include <QStringList>

#include "shop/xml_collection.h"

class TOptionItem : public TXMLCollectionItem {
public:
    // Only enabled options are written; every option read from a file is enabled.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // The choices, in display order.
    const QStringList& Items() const { return items_; }
    QStringList& Items() { return items_; }

    void Assign(const TXMLCollectionItem& source) override;
    void LoadFromXML(const pugi::xml_node& element) override;
    void SaveToXML(TXmlWriter& out, TXMLSaveContext& context, const QString& elementName) const override;

private:
    bool enabled_ = false;
    QStringList items_;
};

class TOptionItems : public TTypedCollection<TOptionItem> {
public:
    TOptionItems() : TTypedCollection(QStringLiteral("option")) {}
};

// Trovecart - a shop document as JSON, for scripts, template authors and the web storefront.
#pragma once

#include <QJsonObject>

class TShop;

// The document as shop.xml holds it: id, config, and categories with their products; only
// enabled options, since only those are written. Numbers are JSON numbers.
QJsonObject ShopToJson(const TShop& shop);

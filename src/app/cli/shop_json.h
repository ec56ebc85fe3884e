// Trovecart - a shop document as JSON for scripts and template authors.
#pragma once

#include <QJsonObject>

class TShop;

QJsonObject ShopToJson(const TShop& shop);

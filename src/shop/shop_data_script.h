// Trovecart - the catalogue as a script the web storefront loads, also from file:// pages.
#pragma once

#include <QByteArray>

class TShop;

// The global the script assigns.
inline constexpr char kShopDataGlobal[] = "TrovecartShopData";

// One statement, `window.TrovecartShopData = JSON.parse('{...}');`, assigning ShopToJson's
// document. A browser reads a large catalogue several times faster as a string for its JSON
// parser than as an object written in script. The text is plain ASCII, so it reads the same
// whatever encoding a server announces, and no shop text can close a script element or open a
// comment in it.
QByteArray ShopDataScript(const TShop& shop);

// Trovecart - the line that loads the web storefront into a page, after the embed code.
#pragma once

#include <QString>

class TShop;

// `<script src="PREFIXshoppingcart/storefront.js"></script>` with the embed code's address prefix,
// or an empty text when the shop's front end has no storefront.js (a template from elsewhere).
QString StorefrontScriptLine(const TShop& shop, const QString& prefix);

// Trovecart - the storefront's script line.
#include "shop/storefront_line.h"

#include "common/file_utils.h"
#include "shop/shop_document.h"

QString StorefrontScriptLine(const TShop& shop, const QString& prefix) {
    if (!FileExistsStrict(JoinPath(shop.Workspace().WorkFolder(), QStringLiteral("storefront.js"))))
        return QString();
    return QStringLiteral("<script src=\"%1shoppingcart/storefront.js\"></script>").arg(prefix);
}

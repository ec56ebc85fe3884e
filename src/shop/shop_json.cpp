// Trovecart - shop documents as JSON.
#include "shop/shop_json.h"

#include <QJsonArray>

#include "shop/shop_document.h"

namespace {

QJsonObject ConfigToJson(const TShopConfig& config) {
    return QJsonObject{
        {"title", config.Title()},
        {"footer", config.Footer()},
        {"homePage", config.HomePage()},
        {"email", config.Email()},
        {"width", config.Width()},
        {"height", config.Height()},
        {"userWidth", config.UserWidth()},
        {"userHeight", config.UserHeight()},
        {"thumbWidth", config.ThumbWidth()},
        {"thumbHeight", config.ThumbHeight()},
        {"winMode", config.WinMode()},
        {"noImage", config.NoImage()},
        {"noVideo", config.NoVideo()},
        {"noAudio", config.NoAudio()},
        {"currencySymbol", config.CurrencySymbol()},
        {"currencyAbbreviation", config.CurrencyAbbreviation()},
        {"paymentType", config.PaymentType()},
        {"paymentEmail", config.PaymentEmail()},
        {"paymentCurrency", config.PaymentCurrency()},
    };
}

QJsonArray OptionsToJson(const TOptionItems& options) {
    QJsonArray result;
    for (int i = 0; i < options.Count(); ++i) {
        const TOptionItem* option = options.Items(i);
        if (!option->Enabled())
            continue;
        result.append(
            QJsonObject{{"name", option->Name()}, {"values", QJsonArray::fromStringList(option->Items())}});
    }
    return result;
}

QJsonObject ProductToJson(const TCartItem& item) {
    return QJsonObject{
        {"name", item.Name()},
        {"type", CartItemTypeWord(item.ItemType())},
        {"description", item.Description()},
        {"price", item.Price()},
        {"discount", item.Discount()},
        {"shipping", item.Shipping()},
        {"thumb", item.Thumb()},
        {"image", item.Image()},
        {"preview", item.Preview()},
        {"duration", item.Duration()},
        {"options", OptionsToJson(item.Options())},
    };
}

} // namespace

QJsonObject ShopToJson(const TShop& shop) {
    QJsonArray categories;
    for (int c = 0; c < shop.Categories().Count(); ++c) {
        const TCategory* category = shop.Categories().Items(c);
        QJsonArray products;
        for (int p = 0; p < category->Items().Count(); ++p)
            products.append(ProductToJson(*category->Items().Items(p)));
        categories.append(QJsonObject{{"name", category->Name()}, {"products", products}});
    }
    return QJsonObject{
        {"id", shop.ID()}, {"config", ConfigToJson(shop.ShopConfig())}, {"categories", categories}};
}

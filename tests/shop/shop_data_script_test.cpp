// Trovecart tests - the catalogue script the web storefront reads.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "shop/shop_data_script.h"
#include "shop/shop_document.h"
#include "support/test_helpers.h"

namespace {

const QByteArray kPrefix = "window.TrovecartShopData = JSON.parse('";
const QByteArray kSuffix = "');\n";

// The text of a single-quoted script string, as the browser reads it; only \\ and \' may be escaped,
// and no quote may end it early.
QByteArray ScriptStringValue(const QByteArray& literal) {
    QByteArray value;
    for (qsizetype index = 0; index < literal.size(); ++index) {
        char character = literal[index];
        EXPECT_NE(character, '\'') << "unescaped quote at " << index;
        if (character == '\\') {
            character = index + 1 < literal.size() ? literal[++index] : '\0';
            EXPECT_TRUE(character == '\\' || character == '\'')
                << "escape \\" << character << " at " << index;
        }
        value.append(character);
    }
    return value;
}

// The JSON the script assigns; fails the test when the script is not the one statement expected.
QJsonObject AssignedJson(const QByteArray& script) {
    EXPECT_TRUE(script.startsWith(kPrefix)) << script.left(50).toStdString();
    EXPECT_TRUE(script.endsWith(kSuffix));
    EXPECT_EQ(script.count('\n'), 1);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(
        ScriptStringValue(script.mid(kPrefix.size(), script.size() - kPrefix.size() - kSuffix.size())),
        &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

TCartItem* AddProduct(TCategory* category, const QString& name, TCartItemType type) {
    TCartItem* item = category->Items().Add();
    item->SetName(name);
    item->SetItemType(type);
    return item;
}

void AddOption(TCartItem* item, const QString& title, const QStringList& values, bool enabled) {
    TOptionItem* option = item->Options().Add();
    option->SetName(title);
    option->Items() = values;
    option->SetEnabled(enabled);
}

TEST(ShopDataScript, HoldsSettingsCategoriesProductsAndEnabledOptions) {
    // Numbers must stay JSON numbers with a point whatever the locale writes in shop.xml.
    TLocaleGuard german(QLocale::German, QLocale::Germany);
    TShop shop;
    shop.SetID(QStringLiteral("ClassicBlue"));
    TShopConfig& config = shop.ShopConfig();
    config.SetTitle(QStringLiteral("<font size=\"18\">Paper &amp; Ink</font>"));
    config.SetUserWidth(700);
    config.SetUserHeight(480);
    config.SetWinMode(2);
    config.SetNoImage(QStringLiteral("No picture yet"));
    config.SetCurrencySymbol(QStringLiteral("€"));
    config.SetPaymentEmail(QStringLiteral("pay@example.com"));
    config.SetPaymentCurrency(QStringLiteral("EUR"));

    TCategory* clothing = shop.Categories().Add();
    clothing->SetName(QStringLiteral("Clothing"));
    TCartItem* shirt = AddProduct(clothing, QStringLiteral("Shirt"), citImage);
    shirt->SetPrice(19.5);
    shirt->SetDiscount(15.25);
    shirt->SetShipping(4);
    shirt->SetDescription(QStringLiteral("Line one\nLine two"));
    shirt->SetThumb(QStringLiteral("a_Thumb.png"));
    shirt->SetImage(QStringLiteral("a.jpg"));
    AddOption(shirt, QStringLiteral("Size"), {"S", "M"}, true);
    AddOption(shirt, QStringLiteral("Hidden"), {"x"}, false);
    AddOption(shirt, QStringLiteral("Colour"), {"Red"}, true);
    shop.Categories().Add()->SetName(QStringLiteral("Empty"));
    TCategory* media = shop.Categories().Add();
    media->SetName(QStringLiteral("Media"));
    TCartItem* film = AddProduct(media, QStringLiteral("Film"), citVideo);
    film->SetPreview(QStringLiteral("2024-01-31_09-05-07_042.flv"));
    film->SetDuration(QStringLiteral("00:01:30"));
    AddProduct(media, QStringLiteral("Song"), citAudio)->SetPreview(QStringLiteral("s.mp3"));

    const QJsonObject data = AssignedJson(ShopDataScript(shop));
    EXPECT_EQ(data["id"].toString(), "ClassicBlue");
    const QJsonObject settings = data["config"].toObject();
    EXPECT_EQ(settings["title"].toString(), config.Title());
    EXPECT_EQ(settings["userWidth"].toInt(), 700);
    EXPECT_EQ(settings["userHeight"].toInt(), 480);
    EXPECT_EQ(settings["winMode"].toInt(), 2);
    EXPECT_EQ(settings["noImage"].toString(), "No picture yet");
    EXPECT_EQ(settings["currencySymbol"].toString(), "€");
    EXPECT_EQ(settings["paymentEmail"].toString(), "pay@example.com");
    EXPECT_EQ(settings["paymentCurrency"].toString(), "EUR");

    const QJsonArray categories = data["categories"].toArray();
    ASSERT_EQ(categories.size(), 3);
    EXPECT_EQ(categories[1].toObject()["name"].toString(), "Empty");
    EXPECT_TRUE(categories[1].toObject()["products"].toArray().isEmpty());

    const QJsonObject shirtJson = categories[0].toObject()["products"].toArray()[0].toObject();
    EXPECT_EQ(shirtJson["type"].toString(), "general");
    EXPECT_TRUE(shirtJson["price"].isDouble());
    EXPECT_DOUBLE_EQ(shirtJson["price"].toDouble(), 19.5);
    EXPECT_DOUBLE_EQ(shirtJson["discount"].toDouble(), 15.25);
    EXPECT_DOUBLE_EQ(shirtJson["shipping"].toDouble(), 4);
    EXPECT_EQ(shirtJson["description"].toString(), "Line one\nLine two");
    EXPECT_EQ(shirtJson["thumb"].toString(), "a_Thumb.png");
    EXPECT_EQ(shirtJson["image"].toString(), "a.jpg");
    const QJsonArray options = shirtJson["options"].toArray();
    ASSERT_EQ(options.size(), 2);
    EXPECT_EQ(options[0].toObject()["name"].toString(), "Size");
    EXPECT_EQ(options[0].toObject()["values"].toArray(), QJsonArray({"S", "M"}));
    EXPECT_EQ(options[1].toObject()["name"].toString(), "Colour");

    const QJsonArray mediaProducts = categories[2].toObject()["products"].toArray();
    EXPECT_EQ(mediaProducts[0].toObject()["type"].toString(), "video");
    EXPECT_EQ(mediaProducts[0].toObject()["preview"].toString(), "2024-01-31_09-05-07_042.flv");
    EXPECT_EQ(mediaProducts[0].toObject()["duration"].toString(), "00:01:30");
    EXPECT_EQ(mediaProducts[1].toObject()["type"].toString(), "music");
    EXPECT_EQ(mediaProducts[1].toObject()["preview"].toString(), "s.mp3");
}

TEST(ShopDataScript, NoShopTextCanLeaveTheScript) {
    const QString hostile = QStringLiteral("</script><script>alert(1)</script><!-- \u2028\u2029 "
                                           "é € 😀 & \"quoted\" 'single' back\\slash \\' \\\\");
    TShop shop;
    shop.SetID(hostile);
    shop.ShopConfig().SetFooter(hostile);
    TCategory* category = shop.Categories().Add();
    category->SetName(hostile);
    TCartItem* item = AddProduct(category, hostile, citImage);
    AddOption(item, hostile, {hostile}, true);

    const QByteArray script = ShopDataScript(shop);
    for (const char character : script)
        ASSERT_LT(static_cast<unsigned char>(character), 0x80) << "not plain ASCII";
    EXPECT_FALSE(script.contains('<'));
    EXPECT_FALSE(script.contains('>'));
    EXPECT_TRUE(script.contains("\\\\u2028\\\\u2029")) << "escaped for JSON, then for the string";

    const QJsonObject data = AssignedJson(script);
    EXPECT_EQ(data["id"].toString(), hostile);
    EXPECT_EQ(data["config"].toObject()["footer"].toString(), hostile);
    const QJsonObject category0 = data["categories"].toArray()[0].toObject();
    EXPECT_EQ(category0["name"].toString(), hostile);
    const QJsonObject product = category0["products"].toArray()[0].toObject();
    EXPECT_EQ(product["name"].toString(), hostile);
    EXPECT_EQ(product["options"].toArray()[0].toObject()["name"].toString(), hostile);
    EXPECT_EQ(product["options"].toArray()[0].toObject()["values"].toArray()[0].toString(), hostile);
}

TEST(ShopDataScript, AnEmptyShopIsStillAShop) {
    const QJsonObject data = AssignedJson(ShopDataScript(TShop()));
    EXPECT_TRUE(data["categories"].isArray());
    EXPECT_TRUE(data["categories"].toArray().isEmpty());
    EXPECT_TRUE(data["config"].toObject()["userWidth"].isDouble());
}

} // namespace

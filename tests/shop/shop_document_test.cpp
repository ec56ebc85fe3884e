// Trovecart tests - the shop document file: exact layout, round trips and locales.
#include <gtest/gtest.h>

#include "shop/shop_document.h"
#include "shop/shop_error.h"
#include "support/test_helpers.h"

namespace {

QString GoldenPath() {
    return QStringLiteral(TROVECART_TEST_DATA "/golden_shop.xml");
}

TOptionItem* AddOption(TCartItem* item, const QString& name, const QStringList& values, bool enabled = true) {
    TOptionItem* option = item->Options().Add();
    option->SetName(name);
    option->Items() = values;
    option->SetEnabled(enabled);
    return option;
}

// The same shop as the hand-written golden file, plus what must not be written.
void BuildGoldenShop(TShop& shop) {
    shop.SetID(QStringLiteral("classic"));
    TShopConfig& config = shop.ShopConfig();
    config.SetTitle(QStringLiteral("<font color=\"#FF0000\">Corner Records</font>"));
    config.SetFooter(QStringLiteral("© 2026 Corner Records"));
    config.SetHomePage(QStringLiteral("http://example.com/"));
    config.SetEmail(QStringLiteral("owner@example.com"));
    config.SetWidth(700);
    config.SetHeight(500);
    config.SetUserWidth(350);
    config.SetUserHeight(250);
    config.SetThumbWidth(120);
    config.SetThumbHeight(90);
    config.SetWinMode(2);
    config.SetNoImage(QStringLiteral("No picture"));
    config.SetNoVideo(QStringLiteral("No video"));
    config.SetCurrencySymbol(QStringLiteral("€"));
    config.SetCurrencyAbbreviation(QStringLiteral("EUR"));
    config.SetPaymentType(QStringLiteral("paypal"));
    config.SetPaymentEmail(QStringLiteral("pay@example.com"));
    config.SetPaymentCurrency(QStringLiteral("EUR"));

    TCategory* vinyl = shop.Categories().Add();
    vinyl->SetName(QStringLiteral("Vinyl & CDs"));
    TCartItem* train = vinyl->Items().Add();
    train->SetItemType(citAudio);
    train->SetName(QStringLiteral("Blue Train"));
    train->SetDescription(QStringLiteral("Hard bop, 1957 <remaster>"));
    train->SetThumb(QStringLiteral("2026-01-31_09-05-07_042_Thumb.png"));
    train->SetPreview(QStringLiteral("2026-01-31_09-05-08_001.mp3"));
    train->SetDuration(QStringLiteral("00:00:30"));
    train->SetPrice(12.5);
    train->SetShipping(3.25);
    AddOption(train, QStringLiteral("Format"), {QStringLiteral("LP"), QStringLiteral("CD")});
    AddOption(train, QStringLiteral("Hidden"), {QStringLiteral("never written")}, false);

    TCartItem* shirt = vinyl->Items().Add();
    shirt->SetName(QStringLiteral("T-Shirt"));
    shirt->SetImage(QStringLiteral("shirt.jpg"));
    shirt->SetPreview(QStringLiteral("kept-in-memory-only.flv"));
    shirt->SetPrice(19.99);
    shirt->SetDiscount(2);
    AddOption(shirt, QStringLiteral("Colour"), {QStringLiteral("Red")});
    AddOption(shirt, QStringLiteral("Gift wrap"), {});

    TCategory* films = shop.Categories().Add();
    films->SetName(QStringLiteral("Films"));
    TCartItem* drive = films->Items().Add();
    drive->SetItemType(citVideo);
    drive->SetName(QStringLiteral("Night Drive"));
    drive->SetDescription(QStringLiteral("Ends with ]]> inside"));
    drive->SetPreview(QStringLiteral("clip.flv"));
    drive->SetDuration(QStringLiteral("01:02:03"));
    drive->SetPrice(7);
    drive->SetDiscount(0.5);

    shop.Categories().Add()->SetName(QStringLiteral("Empty"));
}

class ShopDocumentTest : public ::testing::Test {
protected:
    TLocaleGuard locale{QLocale::English, QLocale::UnitedStates};
    TTempFolder folder;
};

TEST_F(ShopDocumentTest, WritesTheExactFileLayout) {
    TShop shop;
    BuildGoldenShop(shop);
    shop.SaveToFile(folder.File("shop.xml"));
    EXPECT_EQ(ReadFile(folder.File("shop.xml")).toStdString(), ReadFile(GoldenPath()).toStdString());

    // The product counter starts again at every save.
    shop.SaveToFile(folder.File("again.xml"));
    EXPECT_EQ(ReadFile(folder.File("again.xml")), ReadFile(GoldenPath()));
}

TEST_F(ShopDocumentTest, ReadsEveryFieldBack) {
    TShop shop;
    shop.LoadFromFile(GoldenPath());
    EXPECT_EQ(shop.ID(), "classic");
    const TShopConfig& config = shop.ShopConfig();
    EXPECT_EQ(config.Title(), "<font color=\"#FF0000\">Corner Records</font>");
    EXPECT_EQ(config.Footer(), "© 2026 Corner Records");
    EXPECT_EQ(config.Width(), 700);
    EXPECT_EQ(config.Height(), 500);
    EXPECT_EQ(config.UserWidth(), 350);
    EXPECT_EQ(config.UserHeight(), 250);
    EXPECT_EQ(config.ThumbWidth(), 120);
    EXPECT_EQ(config.ThumbHeight(), 90);
    EXPECT_EQ(config.WinMode(), 2);
    EXPECT_EQ(config.NoAudio(), "");
    EXPECT_EQ(config.CurrencySymbol(), "€");
    EXPECT_EQ(config.PaymentEmail(), "pay@example.com");
    EXPECT_EQ(config.PaymentCurrency(), "EUR");

    ASSERT_EQ(shop.Categories().Count(), 3);
    const TCategory* vinyl = shop.Categories().Items(0);
    EXPECT_EQ(vinyl->Name(), "Vinyl & CDs");
    ASSERT_EQ(vinyl->Items().Count(), 2);
    const TCartItem* train = vinyl->Items().Items(0);
    EXPECT_EQ(train->ItemType(), citAudio);
    EXPECT_EQ(train->Description(), "Hard bop, 1957 <remaster>");
    EXPECT_EQ(train->Preview(), "2026-01-31_09-05-08_001.mp3");
    EXPECT_DOUBLE_EQ(train->Price(), 12.5);
    EXPECT_DOUBLE_EQ(train->Shipping(), 3.25);
    ASSERT_EQ(train->Options().Count(), 1) << "a disabled option is not written";
    EXPECT_TRUE(train->Options().Items(0)->Enabled());
    EXPECT_EQ(train->Options().Items(0)->Items(), QStringList({"LP", "CD"}));

    const TCartItem* shirt = vinyl->Items().Items(1);
    EXPECT_EQ(shirt->ItemType(), citImage);
    EXPECT_EQ(shirt->Preview(), "") << "a general product does not write its preview";
    EXPECT_EQ(shirt->Duration(), "00:00:00");
    ASSERT_EQ(shirt->Options().Count(), 2);
    EXPECT_TRUE(shirt->Options().Items(1)->Items().isEmpty());

    const TCartItem* drive = shop.Categories().Items(1)->Items().Items(0);
    EXPECT_EQ(drive->Description(), "Ends with ]]> inside");
    EXPECT_EQ(drive->Duration(), "01:02:03");
    EXPECT_DOUBLE_EQ(drive->Discount(), 0.5);
    EXPECT_EQ(shop.Categories().Items(2)->Items().Count(), 0);
}

TEST_F(ShopDocumentTest, RoundTripKeepsAwkwardTexts) {
    const QStringList texts = {
        QStringLiteral("]]>"),
        QStringLiteral("a]]>b]]>c"),
        QStringLiteral("<b>&amp;</b>"),
        QStringLiteral("  padded  "),
        QStringLiteral("line one\nline two"),
        QStringLiteral("日本語 ✓ 𝄞"),
        QString(),
    };
    for (const QString& text : texts) {
        TShop shop;
        shop.SetID(text);
        shop.ShopConfig().SetTitle(text);
        shop.ShopConfig().SetCurrencySymbol(text);
        TCategory* category = shop.Categories().Add();
        category->SetName(text);
        TCartItem* item = category->Items().Add();
        item->SetName(text);
        AddOption(item, text, {text, text});
        shop.SaveToFile(folder.File("round.xml"));

        TShop back;
        back.LoadFromFile(folder.File("round.xml"));
        const QString expectedPlain = text.trimmed().isEmpty() ? QString() : text;
        EXPECT_EQ(back.ID(), text);
        EXPECT_EQ(back.ShopConfig().Title(), text);
        EXPECT_EQ(back.ShopConfig().CurrencySymbol(), expectedPlain) << "plain text drops blank-only text";
        EXPECT_EQ(back.Categories().Items(0)->Name(), text);
        const TCartItem* backItem = back.Categories().Items(0)->Items().Items(0);
        EXPECT_EQ(backItem->Name(), text);
        EXPECT_EQ(backItem->Options().Items(0)->Name(), text);
        EXPECT_EQ(backItem->Options().Items(0)->Items(), QStringList({text, text}));
    }
}

// Option texts that recur are shared between products; each document still reads its own.
TEST_F(ShopDocumentTest, RecurringOptionTextsReadBackInEveryDocument) {
    const QString longValue(100, QLatin1Char('x'));
    for (int round = 0; round < 3; ++round) {
        const QStringList values = {QStringLiteral("S"), QStringLiteral("size %1").arg(round), longValue};
        TShop shop;
        shop.SetID(QStringLiteral("x"));
        TCategory* category = shop.Categories().Add();
        for (int product = 0; product < 3; ++product)
            AddOption(category->Items().Add(), QStringLiteral("Size %1").arg(round), values);
        shop.SaveToFile(folder.File("options.xml"));

        TShop back;
        back.LoadFromFile(folder.File("options.xml"));
        const TCartItems& items = back.Categories().Items(0)->Items();
        items.Items(0)->Options().Items(0)->Items()[1] = QStringLiteral("changed");
        for (int product = 1; product < 3; ++product) {
            const TOptionItem* option = items.Items(product)->Options().Items(0);
            EXPECT_EQ(option->Name(), QStringLiteral("Size %1").arg(round));
            EXPECT_EQ(option->Items(), values);
        }
    }
}

// A project moves between machines and the published file is read by the front end: numbers are
// written the same under every locale, and files of older copies written with a comma still read.
TEST_F(ShopDocumentTest, NumbersAreTheSameUnderEveryLocale) {
    for (const QLocale::Language language : {QLocale::German, QLocale::Arabic, QLocale::English}) {
        TLocaleGuard guard(language);
        TShop shop;
        BuildGoldenShop(shop);
        shop.SaveToFile(folder.File("saved.xml"));
        const QByteArray text = ReadFile(folder.File("saved.xml"));
        EXPECT_TRUE(text.contains("<price>12.5</price>")) << QLocale().name().toStdString();
        EXPECT_TRUE(text.contains("<shipping>3.25</shipping>"));
        EXPECT_TRUE(text.contains("<discount>0.5</discount>"));

        TShop back;
        back.LoadFromFile(folder.File("saved.xml"));
        EXPECT_DOUBLE_EQ(back.Categories().Items(0)->Items().Items(1)->Price(), 19.99);
        TShop commas;
        WriteFile(folder.File("comma.xml"),
                  QByteArray(text).replace("<price>12.5</price>", "<price>12,5</price>"));
        commas.LoadFromFile(folder.File("comma.xml"));
        EXPECT_DOUBLE_EQ(commas.Categories().Items(0)->Items().Items(0)->Price(), 12.5);
        EXPECT_TRUE(commas.DocumentNotes().isEmpty());
    }
}

TEST_F(ShopDocumentTest, KeepModifiedFlag) {
    TShop shop;
    BuildGoldenShop(shop);
    shop.SetModified(true);
    shop.SaveToFile(folder.File("a.xml"), true);
    EXPECT_TRUE(shop.Modified());
    shop.SaveToFile(folder.File("a.xml"));
    EXPECT_FALSE(shop.Modified());
}

TEST_F(ShopDocumentTest, MissingConfigChildrenGetDefaults) {
    WriteFile(folder.File("min.xml"),
              "<?xml version=\"1.0\"?><anything id=\"t\"><config/><product/></anything>");
    TShop shop;
    shop.LoadFromFile(folder.File("min.xml"));
    const TShopConfig& config = shop.ShopConfig();
    EXPECT_EQ(shop.ID(), "t");
    EXPECT_EQ(config.Width(), 640);
    EXPECT_EQ(config.Height(), 420);
    EXPECT_EQ(config.UserWidth(), 640);
    EXPECT_EQ(config.UserHeight(), 420);
    EXPECT_EQ(config.ThumbWidth(), 100);
    EXPECT_EQ(config.ThumbHeight(), 100);
    EXPECT_EQ(config.WinMode(), 1);
    EXPECT_EQ(config.CurrencySymbol(), "$");
    EXPECT_EQ(config.CurrencyAbbreviation(), "USD");
    EXPECT_EQ(config.PaymentCurrency(), "USD");
    EXPECT_EQ(config.PaymentType(), "paypal");
    EXPECT_EQ(config.PaymentEmail(), "");
    EXPECT_EQ(shop.Categories().Count(), 0);
}

TEST_F(ShopDocumentTest, AbsentConfigAndProductKeepWhatIsThere) {
    TShop shop;
    BuildGoldenShop(shop);
    WriteFile(folder.File("bare.xml"), "<shop id=\"bare\"/>");
    shop.LoadFromFile(folder.File("bare.xml"));
    EXPECT_EQ(shop.ID(), "bare");
    EXPECT_EQ(shop.ShopConfig().Width(), 700);
    EXPECT_EQ(shop.Categories().Count(), 3);
}

TEST_F(ShopDocumentTest, ProductReadingRules) {
    WriteFile(folder.File("p.xml"), R"(<shop id="x"><product>
        <category name="c"><!-- note -->
          <item type="music"/><item type="video"/><item type="Music"/><item/>
          <item type="general"><price>abc</price><discount> 2.5 </discount></item>
          <other/>
          <item><shipping>3</shipping><!-- out of order --><name>first</name><x/><name>second</name>
            <desc>d</desc><price>4</price></item>
          <item><option id="o"><id>a</id><id>b</id></option><option id="o"><id>ab</id></option>
            <option id="o"/><option id="o"><id>a</id><id>b</id><id/></option></item>
        </category></product></shop>)");
    TShop shop;
    shop.LoadFromFile(folder.File("p.xml"));
    const TCartItems& items = shop.Categories().Items(0)->Items();
    ASSERT_EQ(items.Count(), 7);
    EXPECT_EQ(items.Items(0)->ItemType(), citAudio);
    EXPECT_EQ(items.Items(1)->ItemType(), citVideo);
    EXPECT_EQ(items.Items(2)->ItemType(), citVideo);
    EXPECT_EQ(items.Items(3)->ItemType(), citVideo);
    EXPECT_EQ(items.Items(3)->Duration(), "00:00:00");
    EXPECT_EQ(items.Items(4)->ItemType(), citImage);
    EXPECT_DOUBLE_EQ(items.Items(4)->Price(), 0.0);
    EXPECT_DOUBLE_EQ(items.Items(4)->Discount(), 2.5);
    // Fields in any order; the first of two equal ones counts.
    EXPECT_EQ(items.Items(5)->Name(), "first");
    EXPECT_EQ(items.Items(5)->Description(), "d");
    EXPECT_DOUBLE_EQ(items.Items(5)->Price(), 4.0);
    EXPECT_DOUBLE_EQ(items.Items(5)->Shipping(), 3.0);
    // Lists of values that run together into the same letters stay apart.
    const TOptionItems& options = items.Items(6)->Options();
    ASSERT_EQ(options.Count(), 4);
    EXPECT_EQ(options.Items(0)->Items(), QStringList({"a", "b"}));
    EXPECT_EQ(options.Items(1)->Items(), QStringList({"ab"}));
    EXPECT_EQ(options.Items(2)->Items(), QStringList());
    EXPECT_EQ(options.Items(3)->Items(), QStringList({"a", "b", ""}));
}

TEST_F(ShopDocumentTest, FailedSaveRaisesAndKeepsModified) {
    TShop shop;
    BuildGoldenShop(shop);
    shop.SetModified(true);
    EXPECT_THROW(shop.SaveToFile(folder.File("missing/folder/shop.xml")), EShopError);
    EXPECT_TRUE(shop.Modified());
}

} // namespace

// Trovecart tests - broken shop documents fail with a clear error and never crash.
#include <gtest/gtest.h>

#include "shop/shop_document.h"
#include "shop/shop_error.h"
#include "support/test_helpers.h"

namespace {

QString LoadError(const TTempFolder& folder, const QByteArray& content) {
    WriteFile(folder.File("broken.xml"), content);
    TShop shop;
    try {
        shop.LoadFromFile(folder.File("broken.xml"));
    } catch (const EShopError& error) {
        return error.Message();
    }
    return QString();
}

TEST(ShopDocumentFailure, EveryListedFaultRaises) {
    TTempFolder folder;
    const char* cases[] = {
        "<shop>",
        "<shop/>",
        "<shop id='x'><product><category id='1'/></product></shop>",
        "<shop id='x'><product><category name='c'><item><option/></item></category></product></shop>",
        "<shop id='x'><config><dimension width='1'/></config></shop>",
        "<shop id='x'><config><userdimension width='1' height='a'/></config></shop>",
        "<shop id='x'><config><thumbsize width='1.5' height='2'/></config></shop>",
        "<shop id='x'><config><winmode/></config></shop>",
        "<shop id='x'><config><winmode value='two'/></config></shop>",
        "<shop id='x'><config><currency><symbol>$</symbol></currency></config></shop>",
        "<shop id='x'><config><paymentgateway><email/><currency/></paymentgateway></config></shop>",
        "<shop id='x'><config><paymentgateway type='p'><email/></paymentgateway></config></shop>",
        "<shop id='x'><config><title><![CDATA[a]]><![CDATA[b]]></title></config></shop>",
        "<shop id='x'><config><title><b>bold</b></title></config></shop>",
        "<shop id='x'><product><category "
        "name='c'><item><name>a<![CDATA[b]]></name></item></category></product></shop>",
    };
    for (const char* content : cases)
        EXPECT_FALSE(LoadError(folder, content).isEmpty()) << content;
}

TEST(ShopDocumentFailure, MessagesNameTheFileLineAndCause) {
    TTempFolder folder;
    const QString malformed = LoadError(folder, "<shop id='x'>\n<config>\n<title></config>\n</shop>\n");
    EXPECT_TRUE(malformed.contains(folder.File("broken.xml"))) << malformed.toStdString();
    EXPECT_TRUE(malformed.contains(QStringLiteral("line 3"))) << malformed.toStdString();

    const QString attribute =
        LoadError(folder, "<shop id='x'><config><winmode value='two'/></config></shop>");
    EXPECT_TRUE(attribute.contains(QStringLiteral("winmode"))) << attribute.toStdString();
    EXPECT_TRUE(attribute.contains(QStringLiteral("two"))) << attribute.toStdString();

    TShop shop;
    try {
        shop.LoadFromFile(folder.File("does-not-exist.xml"));
        ADD_FAILURE() << "a missing file must raise";
    } catch (const EShopError& error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("does-not-exist.xml")));
    }
}

// Every prefix and a set of byte flips of a valid file either load or raise EShopError.
TEST(ShopDocumentFailure, DamagedFilesNeverCrash) {
    TTempFolder folder;
    const QByteArray golden = ReadFile(QStringLiteral(TROVECART_TEST_DATA "/golden_shop.xml"));
    for (qsizetype length = 0; length < golden.size(); length += 7) {
        WriteFile(folder.File("cut.xml"), golden.left(length));
        TShop shop;
        try {
            shop.LoadFromFile(folder.File("cut.xml"));
        } catch (const EShopError&) {
        }
    }
    const char replacements[] = {'<', '>', '"', '&', '\0', ']', '/', '\xff'};
    for (qsizetype at = 0; at < golden.size(); at += 13) {
        QByteArray damaged = golden;
        damaged[at] = replacements[at % sizeof replacements];
        WriteFile(folder.File("flip.xml"), damaged);
        TShop shop;
        try {
            shop.LoadFromFile(folder.File("flip.xml"));
        } catch (const EShopError&) {
        }
    }
}

} // namespace

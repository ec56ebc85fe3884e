// Trovecart tests - broken shop documents fail with a clear error and never crash.
#include <string>

#include <QRegularExpression>

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

    // Sound XML with content the shop cannot take names the element's line too.
    const QString attribute =
        LoadError(folder, "<shop id='x'>\n<config>\n\n<winmode value='two'/></config></shop>");
    EXPECT_TRUE(attribute.contains(folder.File("broken.xml"))) << attribute.toStdString();
    EXPECT_TRUE(attribute.contains(QStringLiteral("line 4"))) << attribute.toStdString();
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

// What a damaged shop.xml must give: a load, or an error that names the file and the line
// where reading stopped, within the damaged text.
class TDamagedFileCheck {
public:
    explicit TDamagedFileCheck(const TTempFolder& folder) : path_(folder.File("damaged.xml")) {}

    void Check(const QByteArray& content, const std::string& damage) {
        WriteFile(path_, content);
        TShop shop;
        try {
            shop.LoadFromFile(path_);
            ++loads;
            return;
        } catch (const EShopError& error) {
            ++errors;
            const QString message = error.Message();
            SCOPED_TRACE(damage + ": " + message.toStdString());
            EXPECT_TRUE(message.startsWith(QLatin1Char('"') + path_ + QLatin1Char('"')));
            static const QRegularExpression line(QStringLiteral("\\(line (\\d+)\\)"));
            const QRegularExpressionMatch match = line.match(message);
            ASSERT_TRUE(match.hasMatch());
            const int number = match.captured(1).toInt();
            EXPECT_GE(number, 1);
            EXPECT_LE(number, content.count('\n') + 1);
        }
    }

    int loads = 0;
    int errors = 0;

private:
    QString path_;
};

TEST(ShopDocumentFailure, DamagedFilesLoadOrNameTheFileAndLine) {
    TTempFolder folder;
    const QByteArray golden = ReadFile(QStringLiteral(TROVECART_TEST_DATA "/golden_shop.xml"));
    TDamagedFileCheck check(folder);
    for (qsizetype length = 0; length < golden.size(); length += 7)
        check.Check(golden.left(length), "cut at " + std::to_string(length));
    const char replacements[] = {'<', '>', '"', '&', '\0', ']', '/', '\xff'};
    for (qsizetype at = 0; at < golden.size(); at += 13) {
        QByteArray damaged = golden;
        damaged[at] = replacements[at % sizeof replacements];
        check.Check(damaged, "byte " + std::to_string(at) + " replaced");
    }
    // Both outcomes occur, so neither is taken for granted.
    EXPECT_GT(check.loads, 0);
    EXPECT_GT(check.errors, 0);
}

} // namespace

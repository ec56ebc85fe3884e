// Trovecart tests - full disks, numbers that no reader understands, characters XML cannot hold and
// documents too large to read.
#include <cmath>
#include <limits>

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "common/whole_picture.h"
#include "shop/document_number.h"
#include "shop/media_files.h"
#include "shop/program_data.h"
#include "shop/shop_document.h"
#include "shop/shop_error.h"
#include "shop/xml_text.h"
#include "shop_fixtures.h"
#include "support/small_file_system.h"
#include "support/test_helpers.h"

namespace {

TShop& ShopWithOneProduct(TShop& shop, double price) {
    shop.SetID(QStringLiteral("T"));
    TCategory* category = shop.Categories().Add();
    category->SetName(QStringLiteral("Things"));
    TCartItem* item = category->Items().Add();
    item->SetName(QStringLiteral("Lamp"));
    item->SetPrice(price);
    return shop;
}

TEST(FullDisk, EveryWriterFailsAndKeepsTheOldFile) {
    TSmallFileSystem disk;
    SKIP_UNLESS_MOUNTED(disk);
    const QString document = disk.Path() + QStringLiteral("shop.xml");
    WriteFile(document, "old document");
    const QString page = disk.Path() + QStringLiteral("index.html");
    WriteFile(page, "old page");
    QDir().mkpath(disk.Path() + QStringLiteral("thumb"));
    disk.Fill();

    TShop shop;
    ShopWithOneProduct(shop, 19.5).SetModified(true);
    EXPECT_THROW(shop.SaveToFile(document), EShopError);
    EXPECT_TRUE(shop.Modified()) << "a failed save counts as saved";
    EXPECT_EQ(ReadFile(document), QByteArray("old document"));

    shop.SetSiteFolder(disk.Path());
    EXPECT_THROW(shop.WriteSitePages(QString()), EShopError);
    EXPECT_EQ(ReadFile(page), QByteArray("old page"));

    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(Qt::red);
    EXPECT_THROW(CreateThumbnailFile(picture, 100, 100, disk.Path()), EShopError);
    EXPECT_THROW(SaveWholePicture(picture, disk.Path() + QStringLiteral("snapshot.png"), "PNG"), EAppError);

    // Nothing is left behind under a temporary name either.
    EXPECT_EQ(
        QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden),
        QStringList({QStringLiteral(".filler"), QStringLiteral("index.html"), QStringLiteral("shop.xml")}));
    EXPECT_TRUE(QDir(disk.Path() + QStringLiteral("thumb"))
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST(DocumentNumbers, WriteAsciiWithAPointAndReadBackExactly) {
    EXPECT_EQ(FormatDocumentReal(19.5), "19.5");
    EXPECT_EQ(FormatDocumentReal(0.3), "0.3");
    EXPECT_EQ(FormatDocumentReal(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(FormatDocumentReal(-0.0), "0");
    EXPECT_EQ(FormatDocumentReal(1234567.25), "1234567.25");
    EXPECT_EQ(FormatDocumentReal(1e16), "1e+16");
    for (const double value :
         {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
          std::numeric_limits<double>::denorm_min(), 0.1, 19.99, 1.0 / 3.0, -1234.5678, 9007199254740993.0}) {
        const QByteArray text = FormatDocumentReal(value).toLatin1();
        EXPECT_EQ(ParseDocumentReal(text.toStdString()), value) << text.toStdString();
    }
}

TEST(DocumentNumbers, ReadPointOrCommaButNothingAmbiguous) {
    EXPECT_EQ(ParseDocumentReal("19,5"), 19.5);
    EXPECT_EQ(ParseDocumentReal(" 19.5\n"), 19.5);
    EXPECT_EQ(ParseDocumentReal("+5"), 5.0);
    EXPECT_EQ(ParseDocumentReal("-0,25"), -0.25);
    EXPECT_EQ(ParseDocumentReal("1.5e3"), 1500.0);
    for (const char* refused : {"", " ", "abc", "1,234.5", "1.234,5", "1 234", "١٩", "19€", "inf", "nan",
                                "1e999", "--1", "+-1", "0x10", "1e", ","})
        EXPECT_FALSE(ParseDocumentReal(refused)) << refused;
}

TEST(DocumentNumbers, TextThatIsNoNumberReadsAsZeroWithANote) {
    TTempFolder folder;
    TShop shop;
    ShopWithOneProduct(shop, 7).SaveToFile(folder.File(QStringLiteral("shop.xml")));
    QByteArray text = ReadFile(folder.File(QStringLiteral("shop.xml")));
    text.replace("<price>7</price>", "<price>sieben</price>")
        .replace("<discount>0</discount>", "<discount/>");
    WriteFile(folder.File(QStringLiteral("shop.xml")), text);

    TShop back;
    back.LoadFromFile(folder.File(QStringLiteral("shop.xml")));
    EXPECT_EQ(back.Categories().Items(0)->Items().Items(0)->Price(), 0.0);
    EXPECT_EQ(back.DocumentNotes(),
              QStringList(
                  QStringLiteral("Product \"Lamp\": the price \"sieben\" is not a number and reads as 0.")));
}

TEST(ControlCharacters, AreDroppedOnWritingWithANote) {
    TTempFolder folder;
    TShop shop;
    ShopWithOneProduct(shop, 1);
    shop.ShopConfig().SetTitle(QStringLiteral("Bell\u0007 and\ttab"));
    shop.Categories().Items(0)->SetName(QStringLiteral("Nul\u0001"));
    shop.Categories().Items(0)->Items().Items(0)->SetDescription(QStringLiteral("line\nbreak\u001f"));
    shop.ShopConfig().SetCurrencySymbol(QStringLiteral("\u0002"));
    // Past the first block of sixteen characters, and among characters beyond ASCII.
    shop.Categories().Items(0)->Items().Items(0)->SetName(
        QStringLiteral("A name long enough\u0007 to go on"));
    shop.ShopConfig().SetFooter(QStringLiteral("K\u00f6ln \u8021\u0001"));
    shop.SaveToFile(folder.File(QStringLiteral("shop.xml")));

    const QByteArray text = ReadFile(folder.File(QStringLiteral("shop.xml")));
    for (const char control : {'\x01', '\x07', '\x1f'})
        EXPECT_FALSE(text.contains(control));
    EXPECT_FALSE(text.contains("&#"));
    EXPECT_TRUE(text.contains("<![CDATA[Bell and\ttab]]>"));
    EXPECT_TRUE(text.contains("line\nbreak]]>"));
    EXPECT_TRUE(text.contains("<![CDATA[A name long enough to go on]]>"));
    EXPECT_TRUE(text.contains("<![CDATA[K\xc3\xb6ln \xe8\x80\xa1]]>"));
    // Empty as an empty text is written, so that the file reads back and saves to the same text.
    EXPECT_TRUE(text.contains("<symbol />"));
    EXPECT_EQ(shop.DocumentNotes().size(), 6);

    TShop back;
    back.LoadFromFile(folder.File(QStringLiteral("shop.xml")));
    EXPECT_EQ(back.Categories().Items(0)->Name(), QStringLiteral("Nul"));
}

TEST(OversizedDocuments, AreRefusedBeforeTheyAreRead) {
    TTempFolder folder;
    for (const QString& name : {QStringLiteral("shop.xml"), QStringLiteral("shopconfig.xml")}) {
        QFile file(folder.File(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ShopXml(QStringLiteral("T"), 640, 420, 1, QStringLiteral("T")));
        file.write("<!--");
        // Sparse: the size is checked before a byte is read.
        ASSERT_TRUE(file.resize(kLargestXmlDocument + 1));
    }
    TShop shop;
    try {
        shop.LoadFromFile(folder.File(QStringLiteral("shop.xml")));
        ADD_FAILURE() << "an oversized document was read";
    } catch (const EShopError& error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("larger than 64 MiB"))) << error.what();
    }
    TProgramData data;
    data.LoadSettings(folder.File(QStringLiteral("shopconfig.xml")));
    EXPECT_EQ(data.Recent().Count(), 0);
}

} // namespace

// Trovecart tests - embed code, site pages, the plain title and product media files.
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "common/file_utils.h"
#include "shop/media_files.h"
#include "shop/shop_document.h"
#include "shop/site_build.h"
#include "support/scripted_message_service.h"
#include "support/test_helpers.h"

namespace {

const char* const kExpectedEmbedCode =
    "<object id=\"shoppingcart\" align=\"\" width=\"640px\" height=\"420px\"\r\n"
    "        classid=\"clsid:D27CDB6E-AE6D-11CF-96B8-444553540000\"\r\n"
    "        "
    "codebase=\"http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=9,0,115,0\">\r\n"
    "  <param name=\"movie\" value=\"http://shop.test/cart/shoppingcart/index.swf?datafile=shop.xml\">\r\n"
    "  <param name=\"quality\" value=\"best\">\r\n"
    "  <param name=\"bgcolor\" value=\"ffffff\">\r\n"
    "  <param name=\"menu\" value=\"false\">\r\n"
    "  <param name=\"base\" value=\"http://shop.test/cart/shoppingcart/\">\r\n"
    "  <param name=\"allowScriptAccess\" value=\"always\" />\r\n"
    "  <embed src=\"http://shop.test/cart/shoppingcart/index.swf?datafile=shop.xml\"\r\n"
    "         name=\"shoppingcart\" bgcolor=\"ffffff\"\r\n"
    "         width=\"640px\" height=\"420px\" menu=\"false\"\r\n"
    "         quality=\"best\" allowscriptaccess=\"always\"\r\n"
    "         base=\"http://shop.test/cart/shoppingcart/\"\r\n"
    "         pluginspage=\"http://www.adobe.com/go/getflashplayer\"\r\n"
    "         type=\"application/x-shockwave-flash\">\r\n"
    "  </embed>\r\n"
    "</object>\r\n";

const char* const kHead = "<html>\r\n"
                          "<head>\r\n"
                          "<meta http-equiv=\"Content-Type\" content=\"text/html;  charset=utf-8\">\r\n"
                          "<meta name=\"description\" content=\"\">\r\n"
                          "<meta name=\"keywords\" content=\"\">\r\n"
                          "<title>Caf\xc3\xa9 &lt;Rosa&gt; &amp; Co</title>\r\n"
                          "</head>\r\n"
                          "<body bgcolor=\"#ffffff\" scroll=\"auto\">\r\n";

class SitePagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        shop_.SetSiteFolder(site_.Path());
        ForceFolders(shop_.WorkFolder());
        shop_.ShopConfig().SetUserWidth(640);
        shop_.ShopConfig().SetUserHeight(420);
        shop_.ShopConfig().SetTitle(QStringLiteral("<font size=\"14\">Café &lt;Rosa&gt; &amp; Co</font>"));
    }

    TScriptedMessageService messages_;
    TTempFolder site_;
    TShop shop_;
};

TEST_F(SitePagesTest, EmbedCodeIsExact) {
    EXPECT_EQ(shop_.GetEmbedCode(QStringLiteral("http://shop.test/cart/")),
              QString::fromUtf8(kExpectedEmbedCode));
    EXPECT_TRUE(shop_.GetEmbedCode(QString()).contains(
        QStringLiteral("value=\"shoppingcart/index.swf?datafile=shop.xml\"")));
}

TEST_F(SitePagesTest, SameWindowModeWritesOneEmbedPage) {
    shop_.ShopConfig().SetWinMode(1);
    shop_.WriteSitePages(QStringLiteral("http://shop.test/cart/"));
    EXPECT_EQ(ReadFile(site_.File(QStringLiteral("index.html"))),
              QByteArray(kHead) + kExpectedEmbedCode + "</body>\r\n</html>\r\n");
    EXPECT_FALSE(FileExistsStrict(site_.File(QStringLiteral("shoppingcart.html"))));
}

TEST_F(SitePagesTest, PopupModeWritesALauncherAndTheEmbedPage) {
    shop_.ShopConfig().SetWinMode(2);
    shop_.WriteSitePages(QStringLiteral("http://shop.test/cart/"));
    EXPECT_EQ(ReadFile(site_.File(QStringLiteral("index.html"))),
              QByteArray(kHead) +
                  "<a href=\"javascript:;\" onclick=\"window.open('shoppingcart.html','ShoppingCartWindow',"
                  "'status=0,toolbar=0,location=0,menubar=0,width=670,height=450')\"><font face=\"verdana\" "
                  "size=\"+3\">Click to open the shopping cart</font></a>\r\n"
                  "</body>\r\n</html>\r\n");
    EXPECT_EQ(ReadFile(site_.File(QStringLiteral("shoppingcart.html"))),
              QByteArray(kHead) + kExpectedEmbedCode + "</body>\r\n</html>\r\n");
}

TEST_F(SitePagesTest, PublishPreparationReplacesTheOldPagesAndKeepsModified) {
    shop_.SetID(QStringLiteral("Classic"));
    shop_.ShopConfig().SetWinMode(1);
    shop_.SetModified(true);
    WriteFile(site_.File(QStringLiteral("shop.xml")), "left by a preview");
    PrepareSite(shop_, TSiteUse::Publish, EmbedBaseAddress(true, QStringLiteral("http://shop.test/cart")));
    EXPECT_FALSE(FileExistsStrict(site_.File(QStringLiteral("shop.xml"))));
    EXPECT_TRUE(FileExistsStrict(shop_.WorkFolder() + QStringLiteral("shop.xml")));
    EXPECT_TRUE(
        ReadFile(site_.File(QStringLiteral("index.html"))).contains("http://shop.test/cart/shoppingcart/"));
    EXPECT_TRUE(shop_.Modified());
    FinishPublishRun(shop_);
    EXPECT_TRUE(FileExistsStrict(site_.File(QStringLiteral("shop.xml"))));
    EXPECT_TRUE(shop_.Modified());

    EXPECT_EQ(EmbedBaseAddress(true, QString()), QString());
    EXPECT_EQ(EmbedBaseAddress(false, QStringLiteral("http://x/")), QString());
    EXPECT_EQ(EmbedBaseAddress(true, QStringLiteral("http://x/")), QStringLiteral("http://x/"));

    // The site copy leaves out the template picture but keeps product thumbnails.
    WriteFile(shop_.WorkFolder() + QStringLiteral("Thumb.png"), "template picture");
    WriteFile(shop_.WorkFolder() + QStringLiteral("thumb/1_Thumb.png"), "product");
    TTempFolder out;
    CopyPreparedSite(shop_.SiteFolder(), out.File(QStringLiteral("site")));
    EXPECT_TRUE(FileExistsStrict(out.File(QStringLiteral("site/index.html"))));
    EXPECT_TRUE(FileExistsStrict(out.File(QStringLiteral("site/shoppingcart/thumb/1_Thumb.png"))));
    EXPECT_FALSE(FileExistsStrict(out.File(QStringLiteral("site/shoppingcart/Thumb.png"))));
}

TEST_F(SitePagesTest, PlainTitleStripsAndKeepsTheFontMarkup) {
    shop_.ShopConfig().SetTitle(QStringLiteral("<FONT SIZE=\"12\">My Shop</FONT>"));
    EXPECT_EQ(shop_.GetPlainTitle(), QStringLiteral("My Shop"));
    shop_.SetPlainTitle(QStringLiteral("New & <Better>"));
    EXPECT_EQ(shop_.GetPlainTitle(), QStringLiteral("New & <Better>"));
    EXPECT_TRUE(shop_.ShopConfig().Title().startsWith(QStringLiteral("<FONT SIZE=\"12\">")));

    shop_.ShopConfig().SetTitle(QStringLiteral("Plain & simple"));
    EXPECT_EQ(shop_.GetPlainTitle(), QStringLiteral("Plain & simple"));
    shop_.SetPlainTitle(QStringLiteral("Other"));
    EXPECT_EQ(shop_.ShopConfig().Title(), QStringLiteral("Other"));
    EXPECT_TRUE(messages_.Calls().empty());

    const QString broken = QStringLiteral("<font size=\"3\">unclosed");
    shop_.ShopConfig().SetTitle(broken);
    EXPECT_EQ(shop_.GetPlainTitle(), QString());
    shop_.SetPlainTitle(QStringLiteral("ignored"));
    EXPECT_EQ(shop_.ShopConfig().Title(), broken);
    ASSERT_EQ(messages_.Calls().size(), 2u);
    EXPECT_EQ(messages_.Calls()[0].text,
              QStringLiteral("Error in XML format. Please correct it and try again"));
    EXPECT_EQ(messages_.Calls()[0].heading, QStringLiteral("Error In XML Format"));
}

TEST(MediaFilesTest, NamesAndThumbnails) {
    const QRegularExpression stamp(QStringLiteral(R"(^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_\d{3})"));
    EXPECT_TRUE(NewThumbFileName().endsWith(QStringLiteral("_Thumb.png")));
    EXPECT_TRUE(NewPreviewFileName(true).endsWith(QStringLiteral(".flv")));
    EXPECT_TRUE(NewPreviewFileName(false).endsWith(QStringLiteral(".mp3")));
    EXPECT_TRUE(NewPictureFileName(QStringLiteral("/pics/a.b/photo.Jpeg")).endsWith(QStringLiteral(".Jpeg")));
    EXPECT_TRUE(NewPictureFileName(QStringLiteral("/pics/scan.BMP")).endsWith(QStringLiteral(".jpg")));
    EXPECT_TRUE(NewThumbFileName().contains(stamp));
    EXPECT_NE(NewThumbFileName(), NewThumbFileName());

    TTempFolder work;
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString thumb = CreateThumbnailFile(picture, 100, 100, work.Path());
    const QImage saved(work.File(QStringLiteral("thumb/")) + thumb);
    EXPECT_EQ(saved.size(), QSize(100, 50));

    picture.save(work.File(QStringLiteral("scan.bmp")), "BMP");
    const QString imported = ImportPictureFile(work.File(QStringLiteral("scan.bmp")), work.Path());
    EXPECT_TRUE(imported.endsWith(QStringLiteral(".jpg")));
    EXPECT_EQ(QImage(work.File(QStringLiteral("image/")) + imported).size(), QSize(400, 200));
}

} // namespace

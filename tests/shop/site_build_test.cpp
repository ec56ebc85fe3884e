// Trovecart tests - the workspace layout and writing the site for each of its users.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "shop/shop_document.h"
#include "shop/site_build.h"
#include "shop/web_copies.h"
#include "shop/workspace.h"
#include "support/scripted_message_service.h"
#include "support/test_helpers.h"

namespace {

TEST(WorkspaceLayout, PathsAndThePublishedSite) {
    const TWorkspace workspace(QStringLiteral("/tmp/t/2024-01-31_09-05-07_042"));
    EXPECT_EQ(workspace.SiteFolder(), "/tmp/t/2024-01-31_09-05-07_042/");
    EXPECT_EQ(workspace.WorkFolder(), "/tmp/t/2024-01-31_09-05-07_042/shoppingcart/");
    EXPECT_EQ(workspace.DocumentFile(), workspace.WorkFolder() + "shop.xml");
    EXPECT_EQ(workspace.DocumentCopy(), workspace.SiteFolder() + "shop.xml");
    EXPECT_EQ(workspace.FrontEndFile(), workspace.WorkFolder() + "index.swf");
    EXPECT_EQ(workspace.StartPage(), workspace.SiteFolder() + "index.html");
    EXPECT_EQ(workspace.PopupPage(), workspace.SiteFolder() + "shoppingcart.html");
    EXPECT_EQ(workspace.MediaFolder(TWorkspace::TMedia::Image), workspace.WorkFolder() + "image/");
    EXPECT_EQ(workspace.MediaFolder(TWorkspace::TMedia::Preview), workspace.WorkFolder() + "preview/");
    EXPECT_EQ(workspace.MediaFolder(TWorkspace::TMedia::Thumb), workspace.WorkFolder() + "thumb/");
    EXPECT_EQ(TWorkspace::TemplatePictureIn("/t/Classic"), "/t/Classic/Thumb.png");
    EXPECT_TRUE(TWorkspace().WorkFolder().isEmpty()) << "no workspace yet";

    EXPECT_FALSE(TWorkspace::IsPublished("Thumb.png"));
    for (const char* name : {"thumb.png", "2024-01-31_09-05-07_042_Thumb.png", "index.swf", "thumb"})
        EXPECT_TRUE(TWorkspace::IsPublished(QLatin1String(name))) << name;
}

TEST(WorkspaceLayout, NewWorkspacesNeverShareAFolder) {
    TTempFolder temp;
    const TWorkspace first = TWorkspace::NewIn(temp.Path());
    ASSERT_TRUE(ForceFolders(first.WorkFolder()));
    const TWorkspace second = TWorkspace::NewIn(temp.Path());
    EXPECT_TRUE(first.SiteFolder().startsWith(temp.Path()));
    EXPECT_NE(first.SiteFolder(), second.SiteFolder());
    EXPECT_FALSE(FolderExists(second.SiteFolder()));
    second.CreateMediaFolders();
    EXPECT_EQ(QDir(second.WorkFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList({"image", "preview", "thumb"}));
}

class PrepareSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        shop_.SetSiteFolder(site_.Path());
        ForceFolders(shop_.WorkFolder());
        shop_.SetID(QStringLiteral("Classic"));
        shop_.SetModified(true);
    }
    bool SiteHas(const char* name) const { return FileExistsStrict(site_.File(QLatin1String(name))); }

    TScriptedMessageService messages_;
    TTempFolder site_;
    TShop shop_;
};

TEST_F(PrepareSiteTest, EachUseTidiesWhatItMust) {
    // A pop-up preview leaves the launcher's target page.
    shop_.ShopConfig().SetWinMode(2);
    PrepareSite(shop_, TSiteUse::BrowserPreview);
    EXPECT_TRUE(SiteHas("index.html"));
    EXPECT_TRUE(SiteHas("shoppingcart.html"));
    EXPECT_TRUE(SiteHas("shoppingcart/shop.xml"));
    EXPECT_FALSE(SiteHas("shop.xml")) << "only the editor's preview leaves a copy";

    // Publishing after a switch to same-window mode keeps the old page; a preview removes it.
    shop_.ShopConfig().SetWinMode(1);
    PrepareSite(shop_, TSiteUse::Publish);
    EXPECT_TRUE(SiteHas("shoppingcart.html"));
    PrepareSite(shop_, TSiteUse::BrowserPreview);
    EXPECT_FALSE(SiteHas("shoppingcart.html"));

    PrepareSite(shop_, TSiteUse::EditorPreview);
    EXPECT_TRUE(SiteHas("shop.xml"));
    EXPECT_EQ(ReadFile(site_.File("shop.xml")), ReadFile(site_.File("shoppingcart/shop.xml")));
    PrepareSite(shop_, TSiteUse::Publish, QStringLiteral("http://shop.test/"));
    EXPECT_FALSE(SiteHas("shop.xml")) << "the publish source holds no stray copy";
    EXPECT_TRUE(ReadFile(site_.File("index.html")).contains("http://shop.test/shoppingcart/index.swf"));

    EXPECT_TRUE(shop_.Modified()) << "writing the site is no save";
    EXPECT_TRUE(messages_.Calls().empty());
}

TEST_F(PrepareSiteTest, AStorefrontAddsItsLineAndCatalogueAndNothingElseChanges) {
    shop_.ShopConfig().SetWinMode(2);
    shop_.ShopConfig().SetTitle(QStringLiteral("</script><!-- shop"));
    const QString prefix = QStringLiteral("http://shop.test/");
    PrepareSite(shop_, TSiteUse::Publish, prefix);
    const QByteArray plainLauncher = ReadFile(site_.File("index.html"));
    const QByteArray plainPage = ReadFile(site_.File("shoppingcart.html"));
    EXPECT_FALSE(plainPage.contains("storefront.js")) << "a template without a storefront";
    EXPECT_FALSE(SiteHas("shoppingcart/shopdata.js"));

    WriteFile(shop_.Workspace().StorefrontScript(), "// storefront");
    PrepareSite(shop_, TSiteUse::Publish, prefix);
    EXPECT_EQ(ReadFile(site_.File("index.html")), plainLauncher) << "the launcher still opens the page";
    const QByteArray line = "<script src=\"http://shop.test/shoppingcart/storefront.js\"></script>\r\n";
    QByteArray expected = plainPage;
    expected.insert(expected.indexOf("</object>\r\n") + 11, line);
    EXPECT_EQ(ReadFile(site_.File("shoppingcart.html")), expected);
    EXPECT_EQ(StorefrontScriptLine(shop_, prefix).toUtf8() + "\r\n", line);

    const QByteArray catalogue = ReadFile(site_.File("shoppingcart/shopdata.js"));
    EXPECT_TRUE(catalogue.startsWith("window.TrovecartShopData = JSON.parse('{"));
    EXPECT_FALSE(catalogue.contains("</script>")) << "shop texts cannot end the script";
    EXPECT_FALSE(catalogue.contains("<!--"));
}

TEST_F(PrepareSiteTest, ATemplateChangeTakesTheNewTemplatesStorefrontOrNone) {
    TTempFolder templates;
    const QString withStorefront = templates.File("Modern");
    const QString without = templates.File("Foreign");
    for (const QString& folder : {withStorefront, without}) {
        ForceFolders(folder);
        WriteFile(TWorkspace::FrontEndIn(folder), folder.toUtf8());
    }
    WriteFile(withStorefront + "/storefront.js", "// script");
    WriteFile(withStorefront + "/storefront.css", "/* look */");

    shop_.TakeFrontEnd(withStorefront);
    EXPECT_EQ(ReadFile(shop_.Workspace().StorefrontScript()), "// script");
    EXPECT_TRUE(SiteHas("shoppingcart/storefront.css"));
    PrepareSite(shop_, TSiteUse::BrowserPreview);
    EXPECT_TRUE(SiteHas("shoppingcart/shopdata.js"));

    shop_.TakeFrontEnd(without);
    EXPECT_EQ(ReadFile(shop_.Workspace().FrontEndFile()), without.toUtf8());
    for (const char* stale :
         {"shoppingcart/storefront.js", "shoppingcart/storefront.css", "shoppingcart/shopdata.js"})
        EXPECT_FALSE(SiteHas(stale)) << stale;
    PrepareSite(shop_, TSiteUse::BrowserPreview);
    EXPECT_FALSE(ReadFile(site_.File("index.html")).contains("storefront"));
}

TEST_F(PrepareSiteTest, MissingVideoWebCopiesAreMadeFirstAndOnlyForAStorefront) {
    const QString previews = shop_.Workspace().MediaFolder(TWorkspace::TMedia::Preview);
    TCategory& category = *shop_.Categories().Add();
    const auto addProduct = [&](TCartItemType type, const QString& preview) {
        TCartItem& item = *category.Items().Add();
        item.SetItemType(type);
        item.SetPreview(preview);
        if (preview != "gone.flv")
            WriteFile(previews + preview, "media");
    };
    addProduct(citVideo, "old.flv");
    addProduct(citVideo, "new.FLV");
    WriteFile(previews + "new.mp4", "made by its import");
    addProduct(citVideo, "gone.flv");
    addProduct(citAudio, "song.mp3");
    addProduct(citVideo, "other.avi");
    EXPECT_EQ(MissingWebCopies(shop_), QStringList{previews + "old.flv"})
        << "made, unmade on disk, sound and foreign previews need none";

    QList<QStringList> asked;
    const TWebCopyMaker maker = [&](const QStringList& files) {
        asked << files;
        if (files.contains(previews + "old.flv"))
            WriteFile(previews + "old.mp4", "copy");
    };
    PrepareSite(shop_, TSiteUse::Publish, QString(), maker);
    EXPECT_TRUE(asked.isEmpty()) << "a template without a storefront plays no web copy";

    WriteFile(shop_.Workspace().StorefrontScript(), "// storefront");
    PrepareSite(shop_, TSiteUse::Publish, QString(), maker);
    EXPECT_EQ(asked, QList<QStringList>{{previews + "old.flv"}});
    PrepareSite(shop_, TSiteUse::BrowserPreview, QString(), maker);
    EXPECT_EQ(asked.size(), 1) << "nothing missing any more";
    EXPECT_TRUE(shop_.Modified()) << "unchanged";

    // A maker that stops the preparation (a cancel on the command line) leaves the site unwritten.
    QFile::remove(previews + "old.mp4");
    QFile::remove(site_.File("index.html"));
    EXPECT_THROW(
        PrepareSite(shop_, TSiteUse::Publish, QString(),
                    [](const QStringList&) { throw EAppError(QStringLiteral("Task cancalled by user.")); }),
        EAppError);
    EXPECT_FALSE(SiteHas("index.html"));
}

TEST(WebCopies, FollowTheirPreviewsOutOfTheWorkspace) {
    EXPECT_EQ(WebCopyName("2026-12-09_05-01-02_003.flv"), "2026-12-09_05-01-02_003.mp4");
    EXPECT_EQ(WebCopyName("clip.FLV"), "clip.mp4");
    EXPECT_EQ(WebCopyName("song.mp3"), "");
    EXPECT_EQ(WebCopyName("flv"), "");

    TTempFolder work;
    for (const char* file :
         {"preview/a.flv", "preview/a.mp4", "preview/b.flv", "preview/s.mp3", "preview/s.mp4"})
        WriteFile(work.File(QString::fromLatin1(file)), "x");
    const QString previews = work.File("preview/");
    EXPECT_TRUE(DeletePreviewFiles(previews, "a.flv"));
    EXPECT_TRUE(DeletePreviewFiles(previews, "b.flv")) << "a preview made before web copies";
    EXPECT_TRUE(DeletePreviewFiles(previews, "")) << "no preview: nothing to do";
    EXPECT_FALSE(DeletePreviewFiles(previews, "a.flv")) << "already gone";

    // Deleting a product takes its web copy along, and nothing that merely shares the base name.
    TCartItem item;
    item.SetPreview("s.mp3");
    EXPECT_TRUE(item.DeleteMediaFiles(work.Path()));
    EXPECT_EQ(QDir(previews).entryList(QDir::Files), QStringList{"s.mp4"});
    WriteFile(work.File("preview/v.flv"), "x");
    WriteFile(work.File("preview/v.mp4"), "x");
    item.SetPreview("v.flv");
    EXPECT_TRUE(item.DeleteMediaFiles(work.Path()));
    EXPECT_EQ(QDir(previews).entryList(QDir::Files), QStringList{"s.mp4"});
}

TEST_F(PrepareSiteTest, AFolderThatCannotBeWrittenRaisesAndShowsNothing) {
    DeleteFolderTree(site_.Path());
    for (const TSiteUse use : {TSiteUse::BrowserPreview, TSiteUse::EditorPreview, TSiteUse::Publish})
        EXPECT_THROW(PrepareSite(shop_, use), EAppError);
    EXPECT_TRUE(messages_.Calls().empty());
    EXPECT_TRUE(shop_.Modified());
}

} // namespace

// Trovecart tests - shopconfig.xml, the recent list and the shop data module's start and end.
#include <functional>

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "common/app_folders.h"
#include "common/file_utils.h"
#include "common/folder_lock.h"
#include "shop/program_data.h"
#include "shop/shop_data_module.h"
#include "shop/shop_document.h"
#include "shop_fixtures.h"
#include "support/test_helpers.h"

namespace {

QString SettingsWith(const QString& body) {
    return QStringLiteral("<?xml version=\"1.0\"?><anyname>") + body + QStringLiteral("</anyname>");
}

QStringList RecentPaths(const TResentItems& recent) {
    QStringList paths;
    for (int i = 0; i < recent.Count(); ++i)
        paths.append(recent.Items(i).Src());
    return paths;
}

TEST(ProgramDataTest, FoldersFollowTheProgramAndDataFolders) {
    TProgramData data(QStringLiteral("/opt/trovecart"),
                      QStringLiteral("/home/u/.local/share/Corvalen/Trovecart/"),
                      QStringLiteral("/home/u/.config/Corvalen/Trovecart"));
    EXPECT_EQ(data.ProgramFolder(), QStringLiteral("/opt/trovecart/"));
    EXPECT_EQ(data.TemplateFolder(), QStringLiteral("/opt/trovecart/Files/Template/"));
    EXPECT_EQ(data.TempFolder(), QStringLiteral("/home/u/.local/share/Corvalen/Trovecart/Temp/"));
    EXPECT_EQ(data.SettingsFileName(), QStringLiteral("/home/u/.config/Corvalen/Trovecart/shopconfig.xml"));
}

TEST(ProgramDataTest, FirstStartWithoutSettingsGivesTheInitialValues) {
    TTempFolder temp;
    TProgramData data(temp.Path(), temp.Path(), temp.Path());
    data.LoadSettings(temp.File(QStringLiteral("shopconfig.xml")));
    EXPECT_EQ(data.Recent().Count(), 0);
    EXPECT_EQ(data.FTPDir(), QStringLiteral("/"));
    EXPECT_EQ(data.FTPPort(), 21);
    EXPECT_FALSE(data.FTPPassive());
}

TEST(ProgramDataTest, SavedSettingsHaveTheFixedLayoutAndReadBack) {
    TTempFolder temp;
    TProgramData data(temp.Path(), temp.Path(), temp.Path());
    UpdateRecentList(data.Recent(), QStringLiteral("/p/one.scp"));
    UpdateRecentList(data.Recent(), QStringLiteral("/p/two & \"three\".scp"));
    data.SetLastPublishPath(QStringLiteral("/srv/www/"));
    data.SetFTPHost(QStringLiteral("ftp.example.org"));
    data.SetFTPDir(QStringLiteral("/htdocs"));
    data.SetFTPlogin(QStringLiteral("anna"));
    data.SetFTPPassword(QStringLiteral("s3cret"));
    data.SetFTPPort(2121);
    data.SetFTPPassive(true);
    const QString file = temp.File(QStringLiteral("shopconfig.xml"));
    data.SaveSettings(file);

    EXPECT_EQ(QString::fromUtf8(ReadFile(file)),
              QStringLiteral(
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<settings>\n"
                  "     <recent>\n"
                  "          <item src=\"/p/two &amp; &quot;three&quot;.scp\" />\n"
                  "          <item src=\"/p/one.scp\" />\n"
                  "     </recent>\n"
                  "     <last_open_project path=\"\" />\n"
                  "     <last_publ_project path=\"\" />\n"
                  "     <last_publ_path path=\"/srv/www/\" />\n"
                  "     <ftp_set ftphost=\"ftp.example.org\" hostdir=\"/htdocs\" l=\"anna\" p=\"s3cret\" "
                  "port=\"2121\" transfermode=\"passive\" />\n"
                  "     <ftp_security protocol=\"ftp\" keyfile=\"\" trusted_host=\"\" "
                  "trusted_fingerprint=\"\" />\n"
                  "     <publish_options changed_only=\"0\" remove_old=\"0\" full_path=\"0\" "
                  "full_path_address=\"http://www.example.com/shop/\" />\n"
                  "</settings>\n"));
    // The password is stored as plain text, so nobody else may read the file.
    EXPECT_EQ(QFileInfo(file).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), 0);

    TProgramData loaded(temp.Path(), temp.Path(), temp.Path());
    loaded.LoadSettings(file);
    EXPECT_EQ(RecentPaths(loaded.Recent()), RecentPaths(data.Recent()));
    EXPECT_EQ(loaded.LastPublishPath(), QStringLiteral("/srv/www/"));
    EXPECT_EQ(loaded.FTPHost(), QStringLiteral("ftp.example.org"));
    EXPECT_EQ(loaded.FTPDir(), QStringLiteral("/htdocs"));
    EXPECT_EQ(loaded.FTPlogin(), QStringLiteral("anna"));
    EXPECT_EQ(loaded.FTPPassword(), QStringLiteral("s3cret"));
    EXPECT_EQ(loaded.FTPPort(), 2121);
    EXPECT_TRUE(loaded.FTPPassive());
}

TEST(ProgramDataTest, SecureAccountValuesReadBackAndOlderFilesReadAsPlainFtp) {
    TTempFolder temp;
    const QString file = temp.File(QStringLiteral("shopconfig.xml"));
    TProgramData data(temp.Path(), temp.Path(), temp.Path());
    data.SetFTPHost(QStringLiteral("sftp.example.org"));
    data.SetFTPProtocol(QStringLiteral("sftp"));
    data.SetFTPKeyFile(QStringLiteral("/home/anna/.ssh/id_ed25519"));
    data.SetFTPTrustedHost(QStringLiteral("sftp.example.org"));
    data.SetFTPTrustedFingerprint(QStringLiteral("SHA256:abc"));
    data.SaveSettings(file);
    TProgramData loaded(temp.Path(), temp.Path(), temp.Path());
    loaded.LoadSettings(file);
    EXPECT_EQ(loaded.FTPProtocol(), QStringLiteral("sftp"));
    EXPECT_EQ(loaded.FTPKeyFile(), QStringLiteral("/home/anna/.ssh/id_ed25519"));
    EXPECT_EQ(loaded.FTPTrustedHost(), QStringLiteral("sftp.example.org"));
    EXPECT_EQ(loaded.FTPTrustedFingerprint(), QStringLiteral("SHA256:abc"));

    // A file from before the choice: plain FTP, and its account as it was.
    WriteFile(file, SettingsWith(QStringLiteral("<ftp_set ftphost=\"h\" hostdir=\"/d\" l=\"u\" p=\"pw\" "
                                                "port=\"21\" transfermode=\"active\"/>"))
                        .toUtf8());
    loaded.LoadSettings(file);
    EXPECT_EQ(loaded.FTPProtocol(), QStringLiteral("ftp"));
    EXPECT_EQ(loaded.FTPKeyFile(), QString());
    EXPECT_EQ(loaded.FTPTrustedFingerprint(), QString());
    EXPECT_EQ(loaded.FTPHost(), QStringLiteral("h"));

    // A damaged security element costs only itself.
    WriteFile(file, SettingsWith(QStringLiteral("<ftp_set ftphost=\"h2\" hostdir=\"/d\" l=\"u\" p=\"pw\" "
                                                "port=\"22\" transfermode=\"active\"/><ftp_security/>"))
                        .toUtf8());
    loaded.LoadSettings(file);
    EXPECT_EQ(loaded.FTPHost(), QStringLiteral("h2"));
    EXPECT_EQ(loaded.FTPPort(), 22);
}

TEST(ProgramDataTest, PublishChoicesReadBackAndOlderOrDamagedOnesGiveTheFirstLook) {
    TTempFolder temp;
    const QString file = temp.File(QStringLiteral("shopconfig.xml"));
    TProgramData data(temp.Path(), temp.Path(), temp.Path());
    data.SetFTPHost(QStringLiteral("h"));
    data.SetPublishChangedOnly(true);
    data.SetPublishRemoveOld(true);
    data.SetEmbedAddress(QString(), {true, QStringLiteral("https://shop.test/a \"b\" & c")});
    data.SaveSettings(file);
    TProgramData loaded(temp.Path(), temp.Path(), temp.Path());
    loaded.LoadSettings(file);
    EXPECT_TRUE(loaded.PublishChangedOnly());
    EXPECT_TRUE(loaded.PublishRemoveOld());
    EXPECT_EQ(loaded.EmbedAddress(QString()),
              (TEmbedAddress{true, QStringLiteral("https://shop.test/a \"b\" & c")}));
    EXPECT_EQ(loaded.FTPHost(), QStringLiteral("h"));

    const auto expectFirstLook = [](const TProgramData& read) {
        EXPECT_FALSE(read.PublishChangedOnly());
        EXPECT_FALSE(read.PublishRemoveOld());
        EXPECT_EQ(read.EmbedAddress(QString()), TEmbedAddress());
        EXPECT_EQ(TEmbedAddress().Address, QStringLiteral("http://www.example.com/shop/"));
    };
    // A file from before the choices were kept, even one without an FTP account.
    for (const QString& body :
         {QString(), QStringLiteral("<ftp_set ftphost=\"h2\" hostdir=\"/d\" l=\"u\" p=\"pw\" port=\"21\" "
                                    "transfermode=\"active\"/>")}) {
        loaded.SetPublishChangedOnly(true);
        WriteFile(file, SettingsWith(body).toUtf8());
        loaded.LoadSettings(file);
        expectFirstLook(loaded);
    }
    EXPECT_EQ(loaded.FTPHost(), QStringLiteral("h2"));

    // A damaged element costs only itself, and damage elsewhere does not cost it.
    WriteFile(file, SettingsWith(QStringLiteral("<publish_options changed_only=\"1\" "
                                                "remove_old=\"x\" full_path=\"1\" full_path_address=\"a\"/>"
                                                "<ftp_set ftphost=\"h3\" hostdir=\"/d\" l=\"u\" p=\"pw\" "
                                                "port=\"21\" transfermode=\"active\"/>"))
                        .toUtf8());
    loaded.LoadSettings(file);
    expectFirstLook(loaded);
    EXPECT_EQ(loaded.FTPHost(), QStringLiteral("h3"));
    WriteFile(file,
              SettingsWith(QStringLiteral("<publish_options changed_only=\"0\" remove_old=\"1\" "
                                          "full_path=\"1\" full_path_address=\"\"/><recent><item/></recent>"))
                  .toUtf8());
    loaded.LoadSettings(file);
    EXPECT_TRUE(loaded.PublishRemoveOld());
    EXPECT_EQ(loaded.EmbedAddress(QString()).Address, QString())
        << "an address cleared by the user stays cleared";
}

TEST(ProgramDataTest, EachShopKeepsItsOwnEmbedAddress) {
    TTempFolder temp;
    const QString file = temp.File(QStringLiteral("shopconfig.xml"));
    const QString books = temp.File(QStringLiteral("books.scp"));
    const QString music = temp.File(QStringLiteral("music.scp"));
    TProgramData data(temp.Path(), temp.Path(), temp.Path());
    const TEmbedAddress booksSite{true, QStringLiteral("https://books.test/")};
    const TEmbedAddress musicSite{false, QStringLiteral("https://music.test/shop")};
    data.SetEmbedAddress(books, booksSite);
    data.SetEmbedAddress(music, musicSite);
    data.SaveSettings(file);

    TProgramData loaded(temp.Path(), temp.Path(), temp.Path());
    loaded.LoadSettings(file);
    EXPECT_EQ(loaded.EmbedAddress(books), booksSite);
    EXPECT_EQ(loaded.EmbedAddress(temp.Path() + QStringLiteral("./books.scp")), booksSite) << "the same file";
    EXPECT_EQ(loaded.EmbedAddress(music), musicSite);
    // A shop never given one, and one never saved, start from the address given last.
    EXPECT_EQ(loaded.EmbedAddress(temp.File(QStringLiteral("new.scp"))), musicSite);
    EXPECT_EQ(loaded.EmbedAddress(QString()), musicSite);

    // A damaged shop entry costs only itself; an older program's file has none.
    WriteFile(file, SettingsWith(QStringLiteral("<publish_options changed_only=\"0\" remove_old=\"0\" "
                                                "full_path=\"0\" full_path_address=\"last\">"
                                                "<shop path=\"%1\" full_path=\"1\"/>"
                                                "<shop path=\"%2\" full_path=\"1\" full_path_address=\"m\"/>"
                                                "</publish_options>")
                                     .arg(books, music))
                        .toUtf8());
    loaded.LoadSettings(file);
    EXPECT_EQ(loaded.EmbedAddress(books), (TEmbedAddress{false, QStringLiteral("last")}));
    EXPECT_EQ(loaded.EmbedAddress(music), (TEmbedAddress{true, QStringLiteral("m")}));

    // Only the shops given an address most recently are kept.
    for (int i = 0; i < 60; ++i)
        loaded.SetEmbedAddress(temp.File(QStringLiteral("shop%1.scp").arg(i)), {true, QString::number(i)});
    EXPECT_EQ(loaded.EmbedAddress(temp.File(QStringLiteral("shop10.scp"))).Address, QStringLiteral("10"));
    EXPECT_EQ(loaded.EmbedAddress(temp.File(QStringLiteral("shop9.scp"))).Address, QStringLiteral("59"));
}

TEST(ProgramDataTest, LoadingRulesForPartAndDamagedFiles) {
    TTempFolder temp;
    const QString file = temp.File(QStringLiteral("shopconfig.xml"));
    TProgramData data(temp.Path(), temp.Path(), temp.Path());

    // Any word other than "active" is passive; a missing port stops the loading and keeps 21.
    WriteFile(file, SettingsWith(QStringLiteral("<ftp_set ftphost=\"h\" hostdir=\"/d\" l=\"u\" p=\"pw\" "
                                                "transfermode=\"PASSIVE\"/>"))
                        .toUtf8());
    data.LoadSettings(file);
    EXPECT_EQ(data.FTPHost(), QStringLiteral("h"));
    EXPECT_EQ(data.FTPDir(), QStringLiteral("/d"));
    EXPECT_EQ(data.FTPPassword(), QStringLiteral("pw"));
    EXPECT_TRUE(data.FTPPassive());
    EXPECT_EQ(data.FTPPort(), 21);

    WriteFile(file, SettingsWith(QStringLiteral("<ftp_set ftphost=\"h\" hostdir=\"/d\" l=\"u\" p=\"pw\" "
                                                "transfermode=\"active\" port=\"99\"/>"))
                        .toUtf8());
    data.LoadSettings(file);
    EXPECT_FALSE(data.FTPPassive());
    EXPECT_EQ(data.FTPPort(), 99);

    // Entries of any name are read; the second lacks src, which ends the loading right there.
    data.SetLastOpen(QStringLiteral("kept?"));
    data.SetLastPublishPath(QStringLiteral("/kept/"));
    WriteFile(file, SettingsWith(
                        QStringLiteral("<recent><entry src=\"/a.scp\"/><item/><item src=\"/c.scp\"/></recent>"
                                       "<last_open_project path=\"/lost\"/>"))
                        .toUtf8());
    data.LoadSettings(file);
    EXPECT_EQ(RecentPaths(data.Recent()), QStringList({QStringLiteral("/a.scp")}));
    EXPECT_EQ(data.LastOpen(), QStringLiteral("kept?"));

    // Missing elements: LastOpen empties, LastPublishPath stays, the FTP account resets.
    WriteFile(file, SettingsWith(QString()).toUtf8());
    data.LoadSettings(file);
    EXPECT_EQ(data.LastOpen(), QString());
    EXPECT_EQ(data.LastPublishPath(), QStringLiteral("/kept/"));
    EXPECT_EQ(data.FTPHost(), QString());
    EXPECT_EQ(data.FTPDir(), QStringLiteral("/"));
    EXPECT_EQ(data.FTPPort(), 21);

    WriteFile(file, "<settings><recent><item src=\"/x.scp\"/>");
    data.LoadSettings(file);
    EXPECT_EQ(data.Recent().Count(), 0);
}

TEST(RecentListTest, MostRecentFirstAtMostTwentyOneEntries) {
    TResentItems recent;
    UpdateRecentList(recent, QStringLiteral("/a.scp"));
    UpdateRecentList(recent, QStringLiteral("/b.scp"));
    UpdateRecentList(recent, QStringLiteral("/a.scp"));
    EXPECT_EQ(RecentPaths(recent), QStringList({QStringLiteral("/a.scp"), QStringLiteral("/b.scp")}));
    UpdateRecentList(recent, QStringLiteral("/A.scp"));
    EXPECT_EQ(recent.Count(), 3);

    TResentItems full;
    for (int i = 0; i < 20; ++i)
        UpdateRecentList(full, QStringLiteral("/%1.scp").arg(i));
    UpdateRecentList(full, QStringLiteral("/new.scp"));
    EXPECT_EQ(full.Count(), 21);
    UpdateRecentList(full, QStringLiteral("/newer.scp"));
    EXPECT_EQ(full.Count(), 21);
    EXPECT_EQ(full.Items(0).Src(), QStringLiteral("/newer.scp"));
    EXPECT_EQ(full.Items(20).Src(), QStringLiteral("/1.scp")); // "/0.scp" was the oldest
    // Moving an entry up never drops another one.
    UpdateRecentList(full, QStringLiteral("/5.scp"));
    EXPECT_EQ(full.Count(), 21);
    EXPECT_EQ(full.Items(20).Src(), QStringLiteral("/1.scp"));
}

class ShopDataModuleTest : public ::testing::Test {
protected:
    std::unique_ptr<TProgramData> MakeData() {
        return std::make_unique<TProgramData>(program_.Path(), appData_.Path(), settings_.Path());
    }
    TTempFolder program_;
    TTempFolder appData_;
    TTempFolder settings_;
};

TEST_F(ShopDataModuleTest, StartEmptiesTheTemporaryFolderUnlessTold) {
    const QString leftOver =
        appData_.File(QStringLiteral("Temp/2024-01-01_00-00-00_000/shoppingcart/shop.xml"));
    WriteFile(leftOver, "<shop/>");
    WriteFile(program_.File(QStringLiteral("Files/Template/theme.xml")),
              "<themes><themelist><t id=\"1\">Classic</t></themelist></themes>");

    EXPECT_FALSE(TDataModuleShopCart::DeleteTempFolderOption(
        {QStringLiteral("prog"), QStringLiteral("-NotDeleteTemp")}));
    EXPECT_TRUE(
        TDataModuleShopCart::DeleteTempFolderOption({QStringLiteral("prog"), QStringLiteral("-notdelete")}));
    {
        TDataModuleShopCart module(false, MakeData());
        module.DataModuleCreate();
        EXPECT_TRUE(FileExistsStrict(leftOver));
        EXPECT_EQ(module.ProgramData().Themes().Count(), 1);
    }
    {
        TDataModuleShopCart module(true, MakeData());
        module.DataModuleCreate();
        EXPECT_FALSE(FileExistsStrict(leftOver));
        EXPECT_TRUE(FolderExists(appData_.File(QStringLiteral("Temp/"))));
        EXPECT_FALSE(FolderHasEntries(appData_.File(QStringLiteral("Temp/"))));
    }
}

TEST_F(ShopDataModuleTest, StartKeepsTheWorkspacesOfRunsStillGoingOn) {
    const QString temp = appData_.File(QStringLiteral("Temp/"));
    const QString leftOver = temp + QStringLiteral("2024-01-01_00-00-00_000/shoppingcart/shop.xml");
    WriteFile(leftOver, "<shop/>");
    WriteFile(temp + QStringLiteral("2023-01-01_00-00-00_000.lock"), "");
    const TTempFolder templates;
    MakeTemplateFolder(templates.File(QStringLiteral("Plain/")), QStringLiteral("Plain"));
    auto open = std::make_unique<TShop>();
    open->NewFromTemplate(templates.File(QStringLiteral("Plain/")), temp);
    const QString running = temp + QStringLiteral("cli-1-1/");
    {
        const TFolderLock lock(running);
        WriteFile(running + QStringLiteral("keep.txt"), "x");

        TDataModuleShopCart module(true, MakeData());
        module.DataModuleCreate();
        EXPECT_FALSE(FileExistsStrict(leftOver));
        EXPECT_TRUE(FileExistsStrict(open->WorkFolder() + QStringLiteral("shop.xml")));
        EXPECT_TRUE(FileExistsStrict(running + QStringLiteral("keep.txt")));
        EXPECT_EQ(QDir(temp).entryList({QStringLiteral("*.lock")}).size(), 2);
    }
    // Once its owner is gone, the next start takes it away; a closed shop leaves no lock behind.
    open.reset();
    TDataModuleShopCart module(true, MakeData());
    module.DataModuleCreate();
    EXPECT_FALSE(FolderHasEntries(temp));
}

TEST_F(ShopDataModuleTest, SettingsAreWrittenAtShutdownAndReadAtTheNextStart) {
    {
        TDataModuleShopCart module(true, MakeData());
        module.DataModuleCreate();
        module.ProgramData().SetFTPHost(QStringLiteral("ftp.shop.test"));
        UpdateRecentList(module.ProgramData().Recent(), QStringLiteral("/shop.scp"));
    }
    EXPECT_TRUE(FileExistsStrict(settings_.File(QStringLiteral("shopconfig.xml"))));
    TDataModuleShopCart module(true, MakeData());
    module.DataModuleCreate();
    EXPECT_EQ(module.ProgramData().FTPHost(), QStringLiteral("ftp.shop.test"));
    EXPECT_EQ(module.ProgramData().Recent().Items(0).Src(), QStringLiteral("/shop.scp"));
}

TEST(UserSettingsFolderTest, FollowsXdgConfigHomeElseHome) {
    TTempFolder home;
    const TEnvironmentGuard homeGuard("HOME", WithoutTrailingSlash(home.Path()));
    {
        const TEnvironmentGuard xdg("XDG_CONFIG_HOME", QStringLiteral("/xdg/config"));
        EXPECT_EQ(UserSettingsFolder(), QStringLiteral("/xdg/config/Corvalen/Trovecart/"));
    }
    for (const QString& unusable : {QString(), QStringLiteral(""), QStringLiteral("relative/config")}) {
        const TEnvironmentGuard xdg("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(UserSettingsFolder(), home.File(QStringLiteral(".config/Corvalen/Trovecart/")))
            << unusable.toStdString();
    }
}

// An installed copy: the program folder is read-only and may hold a settings file of its own.
class InstalledSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(program_.File(QStringLiteral("shopconfig.xml")),
                  SettingsWith(QStringLiteral("<recent><item src=\"/portable.scp\"/></recent>"
                                              "<ftp_set ftphost=\"portable.host\" hostdir=\"/\" l=\"\" "
                                              "p=\"shared\" port=\"21\" transfermode=\"active\"/>"))
                      .toUtf8());
        portable_ = ReadFile(program_.File(QStringLiteral("shopconfig.xml")));
        QFile::setPermissions(program_.Path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                   QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
    void TearDown() override {
        QFile::setPermissions(program_.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // One run of the program: start, a change, shutdown.
    void Run(const std::function<void(TProgramData&)>& change) {
        TDataModuleShopCart module(
            true, std::make_unique<TProgramData>(program_.Path(), appData_.Path(), UserSettingsFolder()));
        module.DataModuleCreate();
        change(module.ProgramData());
        module.SaveShopConfig();
    }

    TTempFolder program_;
    TTempFolder appData_;
    TTempFolder config_;
    const TEnvironmentGuard xdg_{"XDG_CONFIG_HOME", config_.Path()};
    QByteArray portable_;
};

TEST_F(InstalledSettingsTest, TheUsersFileIsWrittenAndThePortableOneOnlyReadOnce) {
    const QString own = config_.File(QStringLiteral("Corvalen/Trovecart/shopconfig.xml"));
    Run([](TProgramData& data) {
        EXPECT_EQ(data.FTPHost(), QStringLiteral("portable.host")) << "the user has none yet";
        EXPECT_EQ(RecentPaths(data.Recent()), QStringList({QStringLiteral("/portable.scp")}));
        data.SetFTPHost(QStringLiteral("own.host"));
        UpdateRecentList(data.Recent(), QStringLiteral("/own.scp"));
    });
    ASSERT_TRUE(FileExistsStrict(own));
    EXPECT_EQ(QFileInfo(own).permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              0);
    EXPECT_TRUE(QString::fromUtf8(ReadFile(own))
                    .startsWith(QStringLiteral(
                        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<settings>\n     <recent>\n")));

    Run([](TProgramData& data) {
        EXPECT_EQ(data.FTPHost(), QStringLiteral("own.host")) << "from now on the user's file is read";
        EXPECT_EQ(RecentPaths(data.Recent()),
                  QStringList({QStringLiteral("/own.scp"), QStringLiteral("/portable.scp")}));
    });
    // Whoever runs it, even a user who could write there, leaves the program folder as it was.
    EXPECT_EQ(ReadFile(program_.File(QStringLiteral("shopconfig.xml"))), portable_);
    EXPECT_EQ(QDir(program_.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({QStringLiteral("shopconfig.xml")}));
    // Nothing is left beside the user's file either.
    EXPECT_EQ(QDir(config_.File(QStringLiteral("Corvalen/Trovecart"))).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("shopconfig.xml")}));
}

} // namespace

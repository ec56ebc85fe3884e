// Trovecart tests - workspaces from templates and project files, and project archives on disk.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "shop/shop_document.h"
#include "shop_fixtures.h"
#include "support/run_program.h"
#include "support/scripted_message_service.h"
#include "support/test_helpers.h"

namespace {

class WorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override { MakeTemplateFolder(TemplateFolder(), QStringLiteral("Classic")); }

    QString TemplateFolder() const { return templates_.File(QStringLiteral("Classic/")); }
    QString TempFolder() const { return temp_.File(QStringLiteral("Temp/")); }
    QString Project(const QString& name = QStringLiteral("shop.scp")) const { return projects_.File(name); }

    std::unique_ptr<TShop> NewShop() {
        auto shop = std::make_unique<TShop>();
        shop->NewFromTemplate(TemplateFolder(), TempFolder());
        return shop;
    }

    TScriptedMessageService messages_;
    TTempFolder templates_;
    TTempFolder temp_;
    TTempFolder projects_;
};

TEST_F(WorkspaceTest, NewFromTemplateBuildsAFreshWorkspace) {
    auto shop = NewShop();
    const QString site = shop->SiteFolder();
    EXPECT_TRUE(site.startsWith(TempFolder()));
    EXPECT_TRUE(QDir(site).dirName().contains(
        QRegularExpression(QStringLiteral(R"(^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_\d{3}$)"))));
    EXPECT_EQ(shop->WorkFolder(), site + QStringLiteral("shoppingcart/"));
    EXPECT_EQ(shop->ID(), QStringLiteral("Classic"));
    EXPECT_EQ(shop->Categories().Count(), 1);
    EXPECT_FALSE(shop->Modified());
    EXPECT_TRUE(FileExistsStrict(shop->WorkFolder() + QStringLiteral("index.swf")));
    EXPECT_TRUE(FileExistsStrict(shop->WorkFolder() + QStringLiteral("skin/colours.txt")));
    EXPECT_FALSE(FileExistsStrict(shop->WorkFolder() + QStringLiteral("Thumb.png")));
    for (const char* folder : {"image/", "preview/", "thumb/"})
        EXPECT_TRUE(FolderExists(shop->WorkFolder() + QLatin1String(folder)));

    // The workspace goes with the shop.
    shop.reset();
    EXPECT_FALSE(FolderExists(site));
    EXPECT_TRUE(FolderExists(TempFolder()));
}

TEST_F(WorkspaceTest, MissingTemplateRaisesTheOpenError) {
    TShop shop;
    try {
        shop.NewFromTemplate(templates_.File(QStringLiteral("Nowhere/")), TempFolder());
        FAIL() << "no error";
    } catch (const EAppError& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Template not found."));
        EXPECT_EQ(error.Heading(), QStringLiteral("File Open Error"));
        EXPECT_EQ(error.Kind(), mkError);
    }
    EXPECT_TRUE(messages_.Calls().empty()) << "the caller reports";
    EXPECT_FALSE(FolderExists(TempFolder()));
}

TEST_F(WorkspaceTest, SaveAndOpenRoundTripKeepsEveryFile) {
    auto shop = NewShop();
    const QString work = shop->WorkFolder();
    WriteFile(work + QStringLiteral("image/2024-01-01_10-00-00_000.jpg"), QByteArray(50000, 'j'));
    WriteFile(work + QStringLiteral("preview/deep/clip.flv"), QByteArray(70000, 'f'));
    WriteFile(work + QStringLiteral(".hidden"), "dot file");
    WriteFile(work + QStringLiteral("skin/.config/settings.txt"), QByteArray(10000, 't'));
    QDir().mkpath(work + QStringLiteral("empty/folder"));
    shop->Categories().Items(0)->SetName(QStringLiteral("Renamed"));
    shop->SetModified(true);
    std::vector<int> progress;
    shop->OnArchiveProgress = [&](int percent) { progress.push_back(percent); };
    shop->SaveProject(Project());
    EXPECT_FALSE(shop->Modified());
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));

    // A standard archive: unzip lists every file, hidden ones and empty folders included.
    const QStringList names = UnzipNames(Project());
    for (const char* name : {"shop.xml", "index.swf", ".hidden", "skin/.config/settings.txt",
                             "preview/deep/clip.flv", "image/", "thumb/", "empty/folder/"})
        EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
    EXPECT_FALSE(names.contains(QStringLiteral("Thumb.png")));
    EXPECT_EQ(RunProgram(QStringLiteral("unzip"), {QStringLiteral("-tq"), Project()}).exitCode, 0);

    TShop opened;
    opened.SetFileName(Project());
    opened.OpenProject(Project(), TempFolder());
    EXPECT_NE(opened.SiteFolder(), shop->SiteFolder());
    EXPECT_EQ(opened.Categories().Items(0)->Name(), QStringLiteral("Renamed"));
    EXPECT_FALSE(opened.Modified());
    for (const char* name : {"image/2024-01-01_10-00-00_000.jpg", "preview/deep/clip.flv", ".hidden",
                             "skin/.config/settings.txt", "index.swf"})
        EXPECT_EQ(ReadFile(opened.WorkFolder() + QLatin1String(name)), ReadFile(work + QLatin1String(name)))
            << name;
    EXPECT_TRUE(FolderExists(opened.WorkFolder() + QStringLiteral("empty/folder")));
}

TEST_F(WorkspaceTest, MediaIsStoredAndTextIsDeflated) {
    auto shop = NewShop();
    WriteFile(shop->WorkFolder() + QStringLiteral("image/a.PNG"), QByteArray(20000, 'p'));
    WriteFile(shop->WorkFolder() + QStringLiteral("preview/b.mp3"), QByteArray(20000, 'm'));
    shop->SaveProject(Project());

    const TProgramResult unzip = RunProgram(QStringLiteral("unzip"), {QStringLiteral("-v"), Project()});
    ASSERT_EQ(unzip.exitCode, 0);
    const QString listing = QString::fromUtf8(unzip.out);
    const auto methodOf = [&](const QString& name) {
        for (const QString& line : listing.split(QLatin1Char('\n'))) {
            if (line.endsWith(QLatin1Char(' ') + name))
                return line.simplified().section(QLatin1Char(' '), 1, 1);
        }
        return QString();
    };
    EXPECT_EQ(methodOf(QStringLiteral("image/a.PNG")), QStringLiteral("Stored"));
    EXPECT_EQ(methodOf(QStringLiteral("preview/b.mp3")), QStringLiteral("Stored"));
    EXPECT_EQ(methodOf(QStringLiteral("index.swf")), QStringLiteral("Stored"));
    EXPECT_TRUE(methodOf(QStringLiteral("shop.xml")).startsWith(QStringLiteral("Defl")));
}

TEST_F(WorkspaceTest, ArchiveMadeByZipOpensAndGetsTheMediaFolders) {
    TTempFolder source;
    WriteFile(source.File(QStringLiteral("shop.xml")),
              ShopXml(QStringLiteral("Zipped"), 500, 300, 2, QStringLiteral("Z")));
    WriteFile(source.File(QStringLiteral("index.swf")), "FWS");
    WriteFile(source.File(QStringLiteral("skin/.dot")), "hidden");
    ASSERT_EQ(RunProgram(QStringLiteral("zip"),
                         {QStringLiteral("-r"), QStringLiteral("-q"), Project(), QStringLiteral(".")},
                         {.workingDirectory = source.Path()})
                  .exitCode,
              0);

    TShop shop;
    shop.OpenProject(Project(), TempFolder());
    EXPECT_EQ(shop.ID(), QStringLiteral("Zipped"));
    EXPECT_EQ(shop.ShopConfig().UserWidth(), 500);
    EXPECT_EQ(ReadFile(shop.WorkFolder() + QStringLiteral("skin/.dot")), QByteArray("hidden"));
    for (const char* folder : {"image/", "preview/", "thumb/"})
        EXPECT_TRUE(FolderExists(shop.WorkFolder() + QLatin1String(folder)));

    // Opening the same file again gives a second, separate workspace.
    TShop again;
    again.OpenProject(Project(), TempFolder());
    EXPECT_NE(again.WorkFolder(), shop.WorkFolder());
}

TEST_F(WorkspaceTest, DamagedOrMissingArchivesFailWithTheCopyError) {
    WriteFile(Project(), "this is not an archive");
    TShop shop;
    try {
        shop.OpenProject(Project(), TempFolder());
        FAIL() << "no error";
    } catch (const EAppError& error) {
        EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Copying file failed.\r\nError: ")));
        EXPECT_GT(error.Message().size(), 30) << "the archive's own message follows";
        EXPECT_EQ(error.Heading(), QStringLiteral("File Copy Error"));
        EXPECT_EQ(error.Kind(), mkError);
    }
    EXPECT_TRUE(messages_.Calls().empty());
    EXPECT_TRUE(shop.Cancelled());

    // An archive without shop.xml fails in the document loading.
    TTempFolder source;
    WriteFile(source.File(QStringLiteral("index.swf")), "FWS");
    ASSERT_EQ(
        RunProgram(QStringLiteral("zip"),
                   {QStringLiteral("-q"), Project(QStringLiteral("noshop.scp")), QStringLiteral("index.swf")},
                   {.workingDirectory = source.Path()})
            .exitCode,
        0);
    TShop noShop;
    EXPECT_THROW(noShop.OpenProject(Project(QStringLiteral("noshop.scp")), TempFolder()), EAppError);
}

TEST_F(WorkspaceTest, CancelledOpenStopsWithZipError) {
    auto shop = NewShop();
    WriteFile(shop->WorkFolder() + QStringLiteral("image/big.jpg"), QByteArray(3 << 20, 'b'));
    shop->SaveProject(Project());
    const size_t messagesBefore = messages_.Calls().size();

    TShop opened;
    opened.OnArchiveProgress = [&](int) { opened.SetCancelled(true); };
    try {
        opened.OpenProject(Project(), TempFolder());
        FAIL() << "no error";
    } catch (const EAppError& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Zip Error"));
        EXPECT_TRUE(error.Heading().isEmpty());
    }
    EXPECT_EQ(messages_.Calls().size(), messagesBefore);
}

TEST_F(WorkspaceTest, FailedOrCancelledSaveLeavesTheOldProjectIntact) {
    auto shop = NewShop();
    for (int i = 0; i < 20; ++i)
        WriteFile(shop->WorkFolder() + QStringLiteral("image/%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                  QByteArray(1 << 20, static_cast<char>('a' + i)));
    shop->SaveProject(Project());
    const QByteArray original = ReadFile(Project());

    // A file vanishes while the archive is written.
    WriteFile(shop->WorkFolder() + QStringLiteral("image/new.jpg"), "new");
    shop->OnArchiveProgress = [&](int) {
        QFile::remove(shop->WorkFolder() + QStringLiteral("image/19.jpg"));
    };
    shop->SetModified(true);
    try {
        shop->SaveProject(Project());
        FAIL() << "no error";
    } catch (const EAppError& error) {
        EXPECT_EQ(error.Heading(), QStringLiteral("File Copy Error"));
        EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Copying file failed.\r\nError: ")));
    }
    EXPECT_TRUE(shop->Modified());
    EXPECT_EQ(ReadFile(Project()), original);

    // The user cancels: the archive error with the library's code, the old file stays.
    WriteFile(shop->WorkFolder() + QStringLiteral("image/19.jpg"), QByteArray(1 << 20, 'z'));
    shop->OnArchiveProgress = [&](int percent) {
        if (percent >= 10)
            shop->SetCancelled(true);
    };
    try {
        shop->SaveProject(Project());
        FAIL() << "no error";
    } catch (const EAppError& error) {
        EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Zip Error ")));
        bool numeric = false;
        error.Message().mid(10).toInt(&numeric);
        EXPECT_TRUE(numeric) << error.Message().toStdString();
    }
    EXPECT_TRUE(messages_.Calls().empty());
    EXPECT_EQ(ReadFile(Project()), original);
    // No half-written archive is left beside the project.
    EXPECT_EQ(QDir(projects_.Path()).entryList(QDir::Files), QStringList({QStringLiteral("shop.scp")}));
}

TEST_F(WorkspaceTest, SaveIntoAReadOnlyFolderLeavesTheOldProject) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    auto shop = NewShop();
    shop->SaveProject(Project());
    const QByteArray original = ReadFile(Project());
    WriteFile(shop->WorkFolder() + QStringLiteral("image/x.jpg"), "x");
    QFile::setPermissions(projects_.Path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_THROW(shop->SaveProject(Project()), EAppError);
    QFile::setPermissions(projects_.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadFile(Project()), original);
}

TEST_F(WorkspaceTest, ApplyTemplateTakesTheFrontEndAndTheSizes) {
    auto shop = NewShop();
    const QString other = templates_.File(QStringLiteral("Wide/"));
    MakeTemplateFolder(other, QStringLiteral("WideInside"), 900, 700);
    shop->SetModified(false);
    shop->ApplyTemplate(other, QStringLiteral("Wide"));
    EXPECT_EQ(shop->ID(), QStringLiteral("Wide"));
    EXPECT_EQ(shop->ShopConfig().UserWidth(), 900);
    EXPECT_EQ(shop->ShopConfig().UserHeight(), 700);
    EXPECT_EQ(shop->ShopConfig().Width(), 600);
    EXPECT_EQ(shop->Categories().Items(0)->Name(), QStringLiteral("Shirts"));
    EXPECT_FALSE(shop->Modified());
    EXPECT_EQ(ReadFile(shop->WorkFolder() + QStringLiteral("index.swf")),
              ReadFile(other + QStringLiteral("index.swf")));

    // A failed copy of the front end changes nothing.
    QFile::remove(other + QStringLiteral("index.swf"));
    try {
        shop->ApplyTemplate(other, QStringLiteral("Broken"));
        FAIL() << "no error";
    } catch (const EAppError& error) {
        EXPECT_EQ(error.Heading(), QStringLiteral("File Copy Error"));
        EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Copying file failed.\r\nFile Name: ") + other +
                                               QStringLiteral("index.swf\r\nError: ")));
    }
    EXPECT_EQ(shop->ID(), QStringLiteral("Wide"));
    EXPECT_EQ(shop->ShopConfig().UserWidth(), 900);

    // An unreadable template document fails after the front end is in place.
    WriteFile(other + QStringLiteral("index.swf"), "FWS again");
    WriteFile(other + QStringLiteral("shop.xml"), "<shop id=");
    EXPECT_THROW(shop->ApplyTemplate(other, QStringLiteral("Damaged")), EAppError);
    EXPECT_EQ(ReadFile(shop->WorkFolder() + QStringLiteral("index.swf")), QByteArray("FWS again"));
    EXPECT_EQ(shop->ID(), QStringLiteral("Wide"));
    EXPECT_TRUE(messages_.Calls().empty());
}

} // namespace

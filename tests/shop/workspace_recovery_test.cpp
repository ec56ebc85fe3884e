// Trovecart tests - workspace records, and taking over the work a crashed run left unsaved.
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "common/folder_lock.h"
#include "shop/program_data.h"
#include "shop/shop_data_module.h"
#include "shop/shop_document.h"
#include "shop/workspace_record.h"
#include "shop_fixtures.h"
#include "support/test_helpers.h"

namespace {

class WorkspaceRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override { MakeTemplateFolder(TemplateFolder(), QStringLiteral("Classic")); }

    QString TemplateFolder() const { return templates_.File(QStringLiteral("Classic/")); }
    QString TempFolder() const { return appData_.File(QStringLiteral("Temp/")); }
    QString Project() const { return projects_.File(QStringLiteral("shop.scp")); }

    // A desktop run that renames the first category, keeps its unsaved work and dies without
    // cleaning up; returns the workspace it left.
    QString CrashWithUnsavedWork(const QString& projectFile) {
        const QStringList before = QDir(TempFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        const pid_t child = fork();
        if (child == 0) {
            auto* shop = new TShop;
            shop->NewFromTemplate(TemplateFolder(), TempFolder());
            shop->SetFileName(projectFile);
            shop->Categories().Items(0)->SetName(QStringLiteral("Rescued"));
            shop->SetModified(true);
            _exit(shop->StoreUnsavedWork() ? 0 : 1);
        }
        int status = -1;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const QStringList after = QDir(TempFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& name : after) {
            if (!before.contains(name))
                return TempFolder() + name + QLatin1Char('/');
        }
        ADD_FAILURE() << "the crashed run left no workspace";
        return QString();
    }

    std::unique_ptr<TDataModuleShopCart> StartDesktop() {
        auto module = std::make_unique<TDataModuleShopCart>(
            true, std::make_unique<TProgramData>(program_.Path(), appData_.Path(), settings_.Path()));
        module->DataModuleCreate();
        return module;
    }

    TTempFolder templates_;
    TTempFolder appData_;
    TTempFolder program_;
    TTempFolder settings_;
    TTempFolder projects_;
};

TEST_F(WorkspaceRecoveryTest, RecordRoundTripAndDamagedRecords) {
    const QString site = appData_.File(QStringLiteral("2024-01-01_00-00-00_000/"));
    TWorkspaceRecord record{QStringLiteral("/home/ana/Shop \"Ö\".scp"), true, {}};
    ASSERT_TRUE(record.Write(site));
    EXPECT_EQ(TWorkspaceRecord::FileFor(site),
              appData_.File(QStringLiteral("2024-01-01_00-00-00_000.record")));
    const std::optional<TWorkspaceRecord> read = TWorkspaceRecord::Read(site);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->ProjectFile, record.ProjectFile);
    EXPECT_TRUE(read->Unsaved);
    EXPECT_EQ(read->Written, record.Written);

    for (const QByteArray& damaged :
         {QByteArray(), QByteArray("{\"project\": \"/a.scp\", \"unsaved\": tr"), QByteArray("[1, 2]"),
          QByteArray("{\"project\": 3, \"unsaved\": true, \"written\": \"2024-01-01T00:00:00.000Z\"}"),
          QByteArray("{\"project\": \"\", \"unsaved\": \"yes\", \"written\": \"2024-01-01T00:00:00.000Z\"}"),
          QByteArray("{\"project\": \"\", \"unsaved\": true, \"written\": \"yesterday\"}"),
          QByteArray(100 * 1024, ' ')}) {
        WriteFile(TWorkspaceRecord::FileFor(site), damaged);
        EXPECT_FALSE(TWorkspaceRecord::Read(site)) << damaged.left(80).toStdString();
    }
    QFile::remove(TWorkspaceRecord::FileFor(site));
    EXPECT_FALSE(TWorkspaceRecord::Read(site));
}

TEST_F(WorkspaceRecoveryTest, TheRecordFollowsTheProjectAndGoesWithTheShop) {
    auto shop = std::make_unique<TShop>();
    shop->NewFromTemplate(TemplateFolder(), TempFolder());
    const QString site = shop->SiteFolder();
    const auto record = [&site] {
        return TWorkspaceRecord::Read(site).value_or(TWorkspaceRecord{QStringLiteral("?"), true, {}});
    };
    EXPECT_EQ(record().ProjectFile, QString());
    EXPECT_FALSE(record().Unsaved);

    shop->Categories().Items(0)->SetName(QStringLiteral("Changed"));
    shop->SetModified(true);
    ASSERT_TRUE(shop->StoreUnsavedWork());
    EXPECT_TRUE(record().Unsaved);
    EXPECT_TRUE(ReadFile(shop->Workspace().DocumentFile()).contains("Changed"));
    EXPECT_TRUE(shop->Modified());

    // A crash after saving offers nothing.
    shop->SaveProject(Project());
    EXPECT_EQ(record().ProjectFile, Project());
    EXPECT_FALSE(record().Unsaved);

    const QString other = projects_.File(QStringLiteral("other.scp"));
    QFile::copy(Project(), other);
    shop->OpenProject(other, TempFolder());
    EXPECT_FALSE(FileExistsStrict(TWorkspaceRecord::FileFor(site)));
    EXPECT_EQ(TWorkspaceRecord::Read(shop->SiteFolder()).value_or(TWorkspaceRecord{}).ProjectFile, other);

    shop.reset();
    EXPECT_EQ(QDir(TempFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(WorkspaceRecoveryTest, AStoreThatCannotWriteKeepsTheOldFiles) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    TShop shop;
    shop.NewFromTemplate(TemplateFolder(), TempFolder());
    const QByteArray document = ReadFile(shop.Workspace().DocumentFile());
    const QByteArray record = ReadFile(TWorkspaceRecord::FileFor(shop.SiteFolder()));
    shop.Categories().Items(0)->SetName(QStringLiteral("Changed"));
    shop.SetModified(true);
    QFile::setPermissions(shop.WorkFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(TempFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(shop.StoreUnsavedWork());
    QFile::setPermissions(shop.WorkFolder(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(TempFolder(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ReadFile(shop.Workspace().DocumentFile()), document);
    EXPECT_EQ(ReadFile(TWorkspaceRecord::FileFor(shop.SiteFolder())), record);
}

TEST_F(WorkspaceRecoveryTest, StartKeepsCrashedUnsavedWorkAndRecoversIt) {
    const QString crashed = CrashWithUnsavedWork(Project());
    ASSERT_FALSE(crashed.isEmpty());
    ASSERT_FALSE(IsFolderLocked(crashed));
    // Nothing to recover: saved before the crash, a damaged record, no record at all.
    const QString saved = TempFolder() + QStringLiteral("2020-01-01_00-00-00_000/");
    WriteFile(saved + QStringLiteral("shoppingcart/shop.xml"), "<shop/>");
    ASSERT_TRUE((TWorkspaceRecord{Project(), false, {}}).Write(saved));
    const QString damaged = TempFolder() + QStringLiteral("2020-01-01_00-00-00_001/");
    WriteFile(damaged + QStringLiteral("shoppingcart/shop.xml"), "<shop/>");
    WriteFile(TWorkspaceRecord::FileFor(damaged), "{\"unsaved\": true");
    const QString bare = TempFolder() + QStringLiteral("2020-01-01_00-00-00_002/");
    WriteFile(bare + QStringLiteral("shoppingcart/shop.xml"), "<shop/>");
    // A running desktop window with unsaved work of its own is neither offered nor touched.
    TShop live;
    live.NewFromTemplate(TemplateFolder(), TempFolder());
    live.SetModified(true);
    ASSERT_TRUE(live.StoreUnsavedWork());
    // As a record being replaced at that moment leaves it.
    const QString replacing = TWorkspaceRecord::FileFor(live.SiteFolder()) + QStringLiteral(".Xa1b2c");
    WriteFile(replacing, "{}");

    auto desktop = StartDesktop();
    const QList<TAbandonedWorkspace> unsaved = desktop->TakeUnsavedWorkspaces();
    ASSERT_EQ(unsaved.size(), 1);
    EXPECT_EQ(unsaved.first().SiteFolder, crashed);
    EXPECT_EQ(unsaved.first().Record.ProjectFile, Project());
    EXPECT_TRUE(desktop->TakeUnsavedWorkspaces().isEmpty());
    for (const QString& gone : {saved, damaged, bare}) {
        EXPECT_FALSE(FolderExists(gone)) << gone.toStdString();
        EXPECT_FALSE(FileExistsStrict(TWorkspaceRecord::FileFor(gone))) << gone.toStdString();
    }
    EXPECT_TRUE(FileExistsStrict(TWorkspaceRecord::FileFor(crashed)));
    EXPECT_TRUE(FileExistsStrict(live.Workspace().DocumentFile()));
    EXPECT_TRUE(FileExistsStrict(TWorkspaceRecord::FileFor(live.SiteFolder())));
    EXPECT_TRUE(FileExistsStrict(replacing));

    TShop recovered;
    recovered.RecoverWorkspace(unsaved.first(), TempFolder());
    EXPECT_EQ(recovered.Categories().Items(0)->Name(), QStringLiteral("Rescued"));
    EXPECT_EQ(recovered.FileName(), Project());
    EXPECT_TRUE(recovered.Modified());
    EXPECT_NE(recovered.SiteFolder(), crashed);
    EXPECT_TRUE(IsFolderLocked(recovered.SiteFolder()));
    EXPECT_FALSE(FolderExists(crashed));
    EXPECT_FALSE(FileExistsStrict(TWorkspaceRecord::FileFor(crashed)));
    EXPECT_FALSE(FileExistsStrict(TFolderLock::LockFileFor(crashed)));
    // Until it is saved, a second crash offers it again.
    EXPECT_TRUE(TWorkspaceRecord::Read(recovered.SiteFolder()).value_or(TWorkspaceRecord{}).Unsaved);
}

TEST_F(WorkspaceRecoveryTest, DiscardRemovesOnlyAnAbandonedWorkspace) {
    const QString crashed = CrashWithUnsavedWork(QString());
    ASSERT_FALSE(crashed.isEmpty());
    TShop live;
    live.NewFromTemplate(TemplateFolder(), TempFolder());
    DiscardWorkspace(live.SiteFolder());
    EXPECT_TRUE(FileExistsStrict(live.Workspace().DocumentFile()));
    EXPECT_TRUE(FileExistsStrict(TWorkspaceRecord::FileFor(live.SiteFolder())));

    DiscardWorkspace(crashed);
    EXPECT_FALSE(FolderExists(crashed));
    EXPECT_FALSE(FileExistsStrict(TWorkspaceRecord::FileFor(crashed)));
    EXPECT_FALSE(FileExistsStrict(TFolderLock::LockFileFor(crashed)));
    // A workspace taken meanwhile by a live owner cannot be recovered either.
    const QString taken = CrashWithUnsavedWork(QString());
    const TFolderLock owner(taken);
    TShop shop;
    EXPECT_THROW(shop.RecoverWorkspace({taken, {}}, TempFolder()), EAppError);
    EXPECT_TRUE(FolderExists(taken));
}

} // namespace

// Trovecart tests - the editor keeps unsaved work in its workspace, and a start after a crash
// offers it back.
#include <QDir>
#include <QFile>
#include <QTimer>

#include "common/file_utils.h"
#include "editor_fixture.h"
#include "shop/workspace_record.h"
#include "support/event_loop.h"

namespace {

class UnsavedWork : public EditorFixture {
protected:
    QString TempFolder() const { return console->ProgramData().TempFolder(); }

    std::optional<TWorkspaceRecord> Record() const {
        return TWorkspaceRecord::Read(console->Shop()->SiteFolder());
    }
    bool RecordSaysUnsaved() const { return Record().value_or(TWorkspaceRecord{}).Unsaved; }

    // Writes after a short pause, so that the tests need not wait the real delay.
    QTimer* ShortenDelay() const {
        auto* timer = console->findChild<QTimer*>(QStringLiteral("UnsavedWorkTimer"));
        timer->setInterval(20);
        return timer;
    }

    // The workspace a crashed window leaves: the template's files, a shop.xml with one more
    // category, a record and a lock file that nobody holds.
    QString LeaveCrashedWorkspace(const QString& name, const QString& projectFile, bool unsaved) {
        const QString site = TempFolder() + name + QLatin1Char('/');
        CopyFolderTree(TemplatePath(), site + QStringLiteral("shoppingcart/"));
        const QString document = site + QStringLiteral("shoppingcart/shop.xml");
        WriteFile(document,
                  ReadFile(document).replace(
                      "<category id=\"3\" name=\"Empty\" />",
                      "<category id=\"3\" name=\"Empty\" /><category id=\"4\" name=\"Rescued\" />"));
        WriteFile(site.chopped(1) + QStringLiteral(".lock"), "");
        TWorkspaceRecord record{projectFile, unsaved, {}};
        EXPECT_TRUE(record.Write(site));
        return site;
    }

    // The desktop program starting anew over the same folders.
    void Restart() {
        console.reset();
        shopData = std::make_unique<TDataModuleShopCart>(
            true,
            std::make_unique<TProgramData>(programFolder.Path(), dataFolder.Path(), settingsFolder.Path()));
        shopData->DataModuleCreate();
        console = std::make_unique<TMainConsole>(*shopData);
    }
};

TEST_F(UnsavedWork, ChangesReachTheWorkspaceAfterAPauseAndSavingClearsTheMark) {
    NewProject();
    QTimer* timer = ShortenDelay();
    SpinEventLoop(60);
    EXPECT_FALSE(timer->isActive());
    EXPECT_FALSE(RecordSaysUnsaved());

    console->Category1Click();
    const QString document = console->Shop()->Workspace().DocumentFile();
    EXPECT_EQ(ReadFile(document).count("<category "), 3) << "not at once";
    ASSERT_TRUE(WaitFor([this] { return RecordSaysUnsaved(); }, 5000));
    EXPECT_EQ(ReadFile(document).count("<category "), 4);
    EXPECT_EQ(Record()->ProjectFile, QString());

    // A change saved before the pause is over leaves nothing to recover.
    console->Category1Click();
    const QString file = projects.File("shop.scp");
    dialogs.QueueFile(file);
    ASSERT_TRUE(console->SaveProjectFile(false));
    SpinEventLoop(60);
    EXPECT_FALSE(RecordSaysUnsaved());
    EXPECT_EQ(Record()->ProjectFile, file);
    EXPECT_EQ(ReadFile(document).count("<category "), 5);
    EXPECT_TRUE(messages.Calls().empty()) << "the background write never asks or reports";
}

TEST_F(UnsavedWork, AStartAfterACrashOffersTheWorkBack) {
    const QString project = projects.File("corner.scp");
    const QString crashed = LeaveCrashedWorkspace("2026-01-02_03-04-05_006", project, true);
    const QString untitled = LeaveCrashedWorkspace("2026-01-01_00-00-00_000", QString(), true);
    const QString saved = LeaveCrashedWorkspace("2026-01-03_00-00-00_000", project, false);
    const QString damaged = LeaveCrashedWorkspace("2026-01-04_00-00-00_000", project, true);
    WriteFile(TWorkspaceRecord::FileFor(damaged), "{\"project\":");
    // A window still running is neither asked about nor touched.
    TShop running;
    running.NewFromTemplate(TemplatePath(), TempFolder());
    running.SetModified(true);
    ASSERT_TRUE(running.StoreUnsavedWork());
    // Written later than the others, so asked about first.
    ASSERT_TRUE((TWorkspaceRecord{project, true, {}}).Write(crashed));

    Restart();
    EXPECT_FALSE(FolderExists(saved));
    EXPECT_FALSE(FolderExists(damaged));
    EXPECT_FALSE(QFile::exists(TWorkspaceRecord::FileFor(damaged)));
    ASSERT_TRUE(FolderExists(crashed));

    messages.QueueAnswer(mrYes);
    messages.QueueAnswer(mrNo);
    ASSERT_TRUE(console->OfferRecovery());
    const auto calls = messages.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].heading, "Recover File?");
    EXPECT_TRUE(calls[0].withCancel) << "a decision can wait for the next start";
    EXPECT_TRUE(calls[0].text.contains("\"" + project + "\"")) << calls[0].text.toStdString();
    EXPECT_TRUE(calls[0].text.contains(QDateTime::currentDateTime().toString("yyyy-MM-dd ")));
    EXPECT_TRUE(calls[1].text.startsWith("A new shopping cart")) << calls[1].text.toStdString();

    // The work is open as an unsaved project under its old name; the untitled one is gone.
    TShop* shop = console->Shop();
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->FileName(), project);
    EXPECT_TRUE(shop->Modified());
    Settle();
    EXPECT_TRUE(console->TreePanelVisible());
    EXPECT_EQ(CategoryNames().last(), "Rescued");
    EXPECT_EQ(console->TreeShop()->Root()->child(3)->text(0), "Rescued");
    EXPECT_FALSE(FolderExists(crashed));
    EXPECT_FALSE(FolderExists(untitled));
    EXPECT_TRUE(FileExistsStrict(running.Workspace().DocumentFile()));
    EXPECT_FALSE(console->OfferRecovery()) << "asked once only";

    // Saving writes where the project came from, without a dialog.
    ASSERT_TRUE(console->SaveProjectFile(false));
    EXPECT_EQ(dialogs.saveDialogs, 0);
    EXPECT_TRUE(FileExistsStrict(project));
    EXPECT_FALSE(RecordSaysUnsaved());

    // Nothing is left to offer: the recovered workspace is live, the others are gone.
    const QStringList left = QDir(TempFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(left.size(), 2);
}

TEST_F(UnsavedWork, ADecisionPutOffKeepsTheWorkForTheNextStart) {
    const QString crashed = LeaveCrashedWorkspace("2026-01-02_03-04-05_006", QString(), true);
    Restart();
    messages.QueueAnswer(mrCancel);
    EXPECT_FALSE(console->OfferRecovery());
    EXPECT_EQ(console->Shop(), nullptr);
    EXPECT_TRUE(FolderExists(crashed));

    Restart();
    messages.QueueAnswer(mrYes);
    EXPECT_TRUE(console->OfferRecovery());
    EXPECT_EQ(console->Shop()->FileName(), QString());
    EXPECT_TRUE(console->Shop()->Modified());
}

} // namespace

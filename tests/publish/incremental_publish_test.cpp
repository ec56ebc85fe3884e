// Trovecart tests - sending only changed files and removing old ones, into a folder and onto FTP.
#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "publish/file_thread.h"
#include "publish/ftp_thread.h"
#include "publish/publish_manifest.h"
#include "publish_test_support.h"
#include "support/scripted_message_service.h"

namespace {

enum class TTarget { Folder, Ftp };

const QString kRecord = QStringLiteral(".trovecart-publish.json");

class IncrementalPublishTest : public ::testing::TestWithParam<TTarget> {
protected:
    void SetUp() override {
        EnsureCoreApplication();
        if (GetParam() == TTarget::Ftp)
            server_ = std::make_unique<TFtpTestServer>();
        // The target is a folder below the root, so that "../" in a record would reach the root.
        QDir().mkpath(TargetRoot());
        for (const char* name : {"index.html", "shoppingcart/shop.xml", "shoppingcart/shopdata.js"})
            WriteSiteFile(QString::fromLatin1(name), QByteArray("first ") + name);
        WriteSiteFile(QStringLiteral("Thumb.png"), "template picture");
        WriteSiteFile(QStringLiteral("shoppingcart/index.swf"), PatternBytes(70000, 'k'));
        WriteSiteFile(QStringLiteral("shoppingcart/preview/one.flv"), PatternBytes(1024 * 1024 + 3, 'a'));
        WriteSiteFile(QStringLiteral("shoppingcart/preview/two.flv"), PatternBytes(1024 * 1024 + 3, 'b'));
        WriteSiteFile(QStringLiteral("shoppingcart/thumb/two.png"), PatternBytes(2000, 'c'));
    }

    void WriteSiteFile(const QString& relative, const QByteArray& content) {
        WriteFile(site_.File(relative), content);
    }

    // Where the target's files lie on this machine.
    QString OnDiskRoot() const { return server_ ? server_->Root() : folder_.Path(); }
    QString TargetRoot() const { return OnDiskRoot() + QStringLiteral("site/"); }
    QString ActionPrefix() const { return server_ ? QStringLiteral("ftp://127.0.0.1/site/") : TargetRoot(); }

    // `stopAt`, when given, is the entry at which the run is asked to stop (not sent).
    TPublishRecord Publish(bool changedOnly, bool removeOld = false, const TNameFilter& stopAt = nullptr) {
        if (!QDir(TargetRoot()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            messages_.QueueAnswer(mrYes);
        TBaseThread* thread = nullptr;
        if (server_) {
            auto* ftp = new TFTPThread;
            ftp->SetHost(QStringLiteral("127.0.0.1"));
            ftp->SetPort(server_->Port());
            ftp->SetLogin(TFtpTestServer::User());
            ftp->SetPassword(TFtpTestServer::Password());
            ftp->SetPassive(true);
            ftp->SetTargetFolder(QStringLiteral("/site/"));
            thread = ftp;
        } else {
            thread = new TFileThread;
            thread->SetTargetFolder(TargetRoot());
        }
        thread->SetSourceFolder(site_.Path());
        thread->SetEntryFilter(stopAt ? StopAtEntry(thread, stopAt, false) : TNameFilter(AllButThumbPng));
        thread->SetChangedOnly(changedOnly);
        thread->SetRemoveOldFiles(removeOld);
        return RunPublish(thread);
    }

    // The site's files without "Thumb.png", relative.
    QStringList SiteFiles() const {
        QStringList files;
        WalkFolder(site_.Path(), {.File = [&files](const TFolderEntry& entry) {
                       if (entry.Name != QLatin1String("Thumb.png"))
                           files << entry.Relative;
                   }});
        return files;
    }

    std::map<QString, QString> AllWith(const QString& outcome) const {
        std::map<QString, QString> outcomes;
        for (const QString& file : SiteFiles())
            outcomes[file] = outcome;
        return outcomes;
    }

    // Every site file arrived and the record lists exactly them, as they are.
    void ExpectTargetHoldsSite() const {
        const QStringList files = SiteFiles();
        for (const QString& file : files)
            EXPECT_EQ(ReadFile(TargetRoot() + file), ReadFile(site_.File(file))) << file.toStdString();
        const std::optional<TPublishManifest> record =
            TPublishManifest::Parse(ReadFile(TargetRoot() + kRecord));
        ASSERT_TRUE(record);
        EXPECT_EQ(record->Entries().size(), static_cast<size_t>(files.size()));
        for (const QString& file : files) {
            const TManifestEntry* entry = record->Find(file);
            ASSERT_NE(entry, nullptr) << file.toStdString();
            if (!entry->Sha256.isEmpty()) {
                EXPECT_EQ(*entry, HashLocalFile(site_.File(file))) << file.toStdString();
                continue;
            }
            // Only a folder on this machine may be left unhashed, on the word of the source's stamp.
            EXPECT_EQ(GetParam(), TTarget::Folder) << file.toStdString();
            EXPECT_EQ(KnownLocalEntry(site_.File(file), entry), *entry) << file.toStdString();
        }
        EXPECT_FALSE(QFile::exists(TargetRoot() + kRecord + QStringLiteral(".part")));
    }

    TTempFolder site_;
    TTempFolder folder_;
    std::unique_ptr<TFtpTestServer> server_;
    TScriptedMessageService messages_;
};

TEST_P(IncrementalPublishTest, ChangedOnlySendsWhatChangedAndListsTheRestAsUnchanged) {
    const TPublishRecord first = Publish(true);
    EXPECT_EQ(first.Outcomes(ActionPrefix()), AllWith(QStringLiteral("Copied")));
    ExpectTargetHoldsSite();

    WriteSiteFile(QStringLiteral("shoppingcart/shop.xml"), "second shop.xml");
    WriteSiteFile(QStringLiteral("shoppingcart/shopdata.js"), "second shopdata.js");
    // Same size, other content: only the hash tells.
    WriteSiteFile(QStringLiteral("shoppingcart/preview/two.flv"), PatternBytes(1024 * 1024 + 3, 'x'));
    WriteSiteFile(QStringLiteral("shoppingcart/thumb/three.png"), "new product");
    const TPublishRecord second = Publish(true);
    std::map<QString, QString> expected = AllWith(QStringLiteral("Unchanged"));
    for (const char* sent : {"shoppingcart/shop.xml", "shoppingcart/shopdata.js",
                             "shoppingcart/preview/two.flv", "shoppingcart/thumb/three.png"})
        expected[QString::fromLatin1(sent)] = QStringLiteral("Copied");
    EXPECT_EQ(second.Outcomes(ActionPrefix()), expected);
    EXPECT_EQ(second.DoneFiles, SiteFiles().size());
    EXPECT_EQ(second.Results().back().Percent, 100 * SiteFiles().size() / second.TotalFiles);
    ExpectTargetHoldsSite();

    // Without the option every file goes again, as before.
    const TPublishRecord third = Publish(false);
    EXPECT_EQ(third.Outcomes(ActionPrefix()), AllWith(QStringLiteral("Copied")));
    ExpectTargetHoldsSite();
}

TEST_P(IncrementalPublishTest, AfterAPlainRunTheSiteBuiltAnewIsComparedByContent) {
    Publish(false);
    // Every file written again, as a new build of the site does; two with other bytes.
    for (const QString& file : SiteFiles())
        WriteSiteFile(file, ReadFile(site_.File(file)));
    WriteSiteFile(QStringLiteral("shoppingcart/preview/two.flv"), PatternBytes(1024 * 1024 + 3, 'x'));
    WriteSiteFile(QStringLiteral("shoppingcart/shop.xml"), "second shop.xml");
    // Changed at the target behind the record's back: only a folder's own copy can tell.
    const QString tampered = QStringLiteral("shoppingcart/thumb/two.png");
    if (GetParam() == TTarget::Folder)
        WriteFile(TargetRoot() + tampered, PatternBytes(2000, 'd'));

    const TPublishRecord changed = Publish(true);
    std::map<QString, QString> expected = AllWith(QStringLiteral("Unchanged"));
    for (const char* sent : {"shoppingcart/preview/two.flv", "shoppingcart/shop.xml"})
        expected[QString::fromLatin1(sent)] = QStringLiteral("Copied");
    if (GetParam() == TTarget::Folder)
        expected[tampered] = QStringLiteral("Copied");
    EXPECT_EQ(changed.Outcomes(ActionPrefix()), expected);
    ExpectTargetHoldsSite();
    // The comparison left hashes behind, so the next run reads nothing again.
    const std::optional<TPublishManifest> record = TPublishManifest::Parse(ReadFile(TargetRoot() + kRecord));
    ASSERT_TRUE(record);
    for (const auto& [path, entry] : record->Entries())
        EXPECT_FALSE(entry.Sha256.isEmpty()) << path.toStdString();
}

TEST_P(IncrementalPublishTest, AStoppedRunLeavesNoRecordAndTheNextRunCompletesTheSite) {
    Publish(true);
    WriteSiteFile(QStringLiteral("shoppingcart/shop.xml"), "second shop.xml");
    WriteSiteFile(QStringLiteral("shoppingcart/preview/one.flv"), PatternBytes(1024 * 1024 + 3, 'y'));
    WriteSiteFile(QStringLiteral("shoppingcart/preview/two.flv"), PatternBytes(1024 * 1024 + 3, 'z'));

    const TPublishRecord stopped = Publish(false, false, [met = 0](const QString& name) mutable {
        // The second file: one has arrived by then.
        return AllButThumbPng(name) && name.contains(QLatin1Char('.')) && ++met == 2;
    });
    ASSERT_LT(stopped.DoneFiles, SiteFiles().size());
    EXPECT_FALSE(QFile::exists(TargetRoot() + kRecord));

    const TPublishRecord next = Publish(true);
    EXPECT_EQ(next.Outcomes(ActionPrefix()), AllWith(QStringLiteral("Copied")));
    ExpectTargetHoldsSite();
}

TEST_P(IncrementalPublishTest, AFileThatFailedIsLeftOutOfTheRecordAndSentNextTime) {
    Publish(true);
    // A folder in the file's place makes its upload fail.
    QFile::remove(TargetRoot() + QStringLiteral("shoppingcart/shopdata.js"));
    QDir().mkpath(TargetRoot() + QStringLiteral("shoppingcart/shopdata.js/blocked"));
    WriteSiteFile(QStringLiteral("shoppingcart/shopdata.js"), "second shopdata.js");
    WriteSiteFile(QStringLiteral("shoppingcart/shop.xml"), "second shop.xml");

    const TPublishRecord failing = Publish(true);
    EXPECT_EQ(failing.Outcomes(ActionPrefix())[QStringLiteral("shoppingcart/shopdata.js")],
              QStringLiteral("Error"));
    EXPECT_EQ(failing.Outcomes(ActionPrefix())[QStringLiteral("shoppingcart/shop.xml")],
              QStringLiteral("Copied"));
    const std::optional<TPublishManifest> record = TPublishManifest::Parse(ReadFile(TargetRoot() + kRecord));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Find(QStringLiteral("shoppingcart/shopdata.js")), nullptr);
    EXPECT_EQ(*record->Find(QStringLiteral("shoppingcart/shop.xml")),
              HashLocalFile(site_.File(QStringLiteral("shoppingcart/shop.xml"))));

    QDir(TargetRoot() + QStringLiteral("shoppingcart/shopdata.js")).removeRecursively();
    std::map<QString, QString> expected = AllWith(QStringLiteral("Unchanged"));
    expected[QStringLiteral("shoppingcart/shopdata.js")] = QStringLiteral("Copied");
    EXPECT_EQ(Publish(true).Outcomes(ActionPrefix()), expected);
    ExpectTargetHoldsSite();
}

TEST_P(IncrementalPublishTest, RemovalDeletesOnlyFilesTheRecordLists) {
    WriteFile(TargetRoot() + QStringLiteral("own.html"), "the user's page");
    WriteSiteFile(QStringLiteral("shoppingcart/preview/old.flv"), "an old clip");
    Publish(false);
    WriteFile(TargetRoot() + QStringLiteral("shoppingcart/preview/notes.txt"), "the user's notes");
    QFile::remove(site_.File(QStringLiteral("shoppingcart/preview/old.flv")));

    // Without the option the old file stays, and stays in the record for a later removal.
    const TPublishRecord kept = Publish(true);
    EXPECT_EQ(kept.Outcomes(ActionPrefix()), AllWith(QStringLiteral("Unchanged")));
    EXPECT_TRUE(QFile::exists(TargetRoot() + QStringLiteral("shoppingcart/preview/old.flv")));

    const TPublishRecord removing = Publish(true, true);
    std::map<QString, QString> expected = AllWith(QStringLiteral("Unchanged"));
    expected[QStringLiteral("shoppingcart/preview/old.flv")] = QStringLiteral("Removed");
    EXPECT_EQ(removing.Outcomes(ActionPrefix()), expected);
    EXPECT_FALSE(QFile::exists(TargetRoot() + QStringLiteral("shoppingcart/preview/old.flv")));
    EXPECT_EQ(ReadFile(TargetRoot() + QStringLiteral("own.html")), "the user's page");
    EXPECT_EQ(ReadFile(TargetRoot() + QStringLiteral("shoppingcart/preview/notes.txt")), "the user's notes");
    ExpectTargetHoldsSite();
}

TEST_P(IncrementalPublishTest, AForeignBrokenOrHostileRecordSendsEverythingAndDeletesNothing) {
    WriteFile(OnDiskRoot() + QStringLiteral("outside.txt"), "not ours");
    const QString indexSha =
        QString::fromLatin1(HashLocalFile(site_.File(QStringLiteral("index.html"))).Sha256);
    const QString entry = QStringLiteral(R"({"path":"%1","size":%2,"sha256":"%3"})");
    const QString goodEntry = entry.arg(QStringLiteral("index.html"))
                                  .arg(QFile(site_.File(QStringLiteral("index.html"))).size())
                                  .arg(indexSha);
    const QString record = QStringLiteral(R"({"format":"trovecart-publish","version":1,"files":[%1,%2]})");
    const QStringList records = {
        QStringLiteral("{broken"),
        QStringLiteral(R"({"format":"someone-else","version":1,"files":[%1]})").arg(goodEntry),
        record.arg(goodEntry, entry.arg(QStringLiteral("../outside.txt")).arg(8).arg(indexSha)),
        record.arg(goodEntry, entry.arg(OnDiskRoot() + QStringLiteral("outside.txt")).arg(8).arg(indexSha)),
        record.arg(goodEntry,
                   entry.arg(QStringLiteral("shoppingcart/../../outside.txt")).arg(8).arg(indexSha)),
    };
    for (const QString& text : records) {
        SCOPED_TRACE(text.toStdString());
        WriteFile(TargetRoot() + kRecord, text.toUtf8());
        const TPublishRecord run = Publish(true, true);
        EXPECT_EQ(run.Outcomes(ActionPrefix()), AllWith(QStringLiteral("Copied")));
        EXPECT_EQ(ReadFile(OnDiskRoot() + QStringLiteral("outside.txt")), "not ours");
        ExpectTargetHoldsSite();
    }
}

TEST_P(IncrementalPublishTest, ChangedOnlyUpdatesItsOwnSiteWithoutTheOverwriteQuestion) {
    const auto questions = [this] {
        const std::vector<TScriptedMessageService::TCall> calls = messages_.Calls();
        return std::count_if(calls.begin(), calls.end(), [](const auto& call) { return call.question; });
    };
    WriteFile(TargetRoot() + QStringLiteral("own.html"), "the user's page");
    Publish(true);
    ASSERT_EQ(questions(), 1) << "no record of ours yet";

    WriteSiteFile(QStringLiteral("shoppingcart/shop.xml"), "second shop.xml");
    const TPublishRecord update = Publish(true);
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(update.Outcomes(ActionPrefix())[QStringLiteral("shoppingcart/shop.xml")],
              QStringLiteral("Copied"));
    ExpectTargetHoldsSite();

    // Without the option, or without a record of ours, the question stays.
    Publish(false);
    EXPECT_EQ(questions(), 2);
    WriteFile(TargetRoot() + kRecord, R"({"format":"someone-else","version":1,"files":[]})");
    Publish(true);
    EXPECT_EQ(questions(), 3);
    ExpectTargetHoldsSite();
}

TEST_P(IncrementalPublishTest, RemovalTakesAwayTheFoldersItEmptiedDeepestFirstAndNoOther) {
    for (const char* name :
         {"shoppingcart/preview/old/a.flv", "shoppingcart/preview/old/deeper/b.flv",
          "shoppingcart/gone/c.jpg", "shoppingcart/guarded/d.jpg", "shoppingcart/kept/e.jpg"})
        WriteSiteFile(QString::fromLatin1(name), name);
    Publish(false);
    QDir().mkpath(TargetRoot() + QStringLiteral("empty of the user's"));
    WriteFile(TargetRoot() + QStringLiteral("shoppingcart/kept/notes.txt"), "the user's notes");
    // Hidden from many listings, still the user's.
    WriteFile(TargetRoot() + QStringLiteral("shoppingcart/guarded/.htaccess"), "the user's rules");
    for (const char* folder : {"shoppingcart/preview/old", "shoppingcart/gone", "shoppingcart/guarded"})
        ASSERT_TRUE(QDir(site_.File(QString::fromLatin1(folder))).removeRecursively());
    QFile::remove(site_.File(QStringLiteral("shoppingcart/kept/e.jpg")));

    const TPublishRecord run = Publish(true, true);
    std::vector<QString> removedFolders;
    for (const TStatusReport& result : run.Results()) {
        EXPECT_FALSE(result.Failed) << result.Action.toStdString();
        if (result.Action.endsWith(QLatin1Char('/')) && result.Outcome == QLatin1String("Removed"))
            removedFolders.push_back(result.Action.mid(ActionPrefix().size()));
    }
    EXPECT_EQ(removedFolders, (std::vector<QString>{QStringLiteral("shoppingcart/preview/old/deeper/"),
                                                    QStringLiteral("shoppingcart/preview/old/"),
                                                    QStringLiteral("shoppingcart/gone/")}));
    for (const char* gone : {"shoppingcart/preview/old", "shoppingcart/gone"})
        EXPECT_FALSE(QFileInfo::exists(TargetRoot() + QString::fromLatin1(gone))) << gone;
    for (const char* kept : {"shoppingcart/kept/notes.txt", "shoppingcart/guarded/.htaccess",
                             "empty of the user's", "shoppingcart/preview/one.flv"})
        EXPECT_TRUE(QFileInfo::exists(TargetRoot() + QString::fromLatin1(kept))) << kept;
    ExpectTargetHoldsSite();
}

TEST_P(IncrementalPublishTest, RemovingEveryFileLeavesTheTargetItself) {
    Publish(false);
    ASSERT_TRUE(QDir(site_.Path()).removeRecursively());
    QDir().mkpath(site_.Path());
    const TPublishRecord run = Publish(true, true);
    for (const TStatusReport& result : run.Results())
        EXPECT_EQ(result.Outcome, QStringLiteral("Removed")) << result.Action.toStdString();
    EXPECT_TRUE(QFileInfo(TargetRoot()).isDir());
    EXPECT_EQ(QDir(TargetRoot()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{kRecord});
}

INSTANTIATE_TEST_SUITE_P(Targets, IncrementalPublishTest, ::testing::Values(TTarget::Folder, TTarget::Ftp),
                         [](const ::testing::TestParamInfo<TTarget>& info) {
                             return info.param == TTarget::Folder ? "Folder" : "Ftp";
                         });

TEST(IncrementalFolderPublishTest, ARecordedPathThroughAFolderLinkIsNotRemoved) {
    EnsureCoreApplication();
    TScriptedMessageService messages;
    TTempFolder site;
    TTempFolder root;
    WriteFile(site.File(QStringLiteral("index.html")), "<html/>");
    WriteFile(root.File(QStringLiteral("elsewhere/victim.txt")), "not ours");
    const QString target = root.File(QStringLiteral("site/"));
    QDir().mkpath(target);
    QFile::link(root.File(QStringLiteral("elsewhere")), target + QStringLiteral("escape"));
    TPublishManifest record;
    record.Set(QStringLiteral("escape/victim.txt"),
               HashLocalFile(root.File(QStringLiteral("elsewhere/victim.txt"))));
    WriteFile(target + kRecord, record.ToJson());

    messages.QueueAnswer(mrYes);
    auto* thread = new TFileThread;
    thread->SetSourceFolder(site.Path());
    thread->SetTargetFolder(target);
    thread->SetRemoveOldFiles(true);
    const TPublishRecord run = RunPublish(thread);

    EXPECT_EQ(run.Outcomes(target)[QStringLiteral("escape/victim.txt")], QStringLiteral("Error"));
    EXPECT_EQ(ReadFile(root.File(QStringLiteral("elsewhere/victim.txt"))), "not ours");
    // Still there, so still listed.
    const std::optional<TPublishManifest> written = TPublishManifest::Parse(ReadFile(target + kRecord));
    ASSERT_TRUE(written);
    EXPECT_NE(written->Find(QStringLiteral("escape/victim.txt")), nullptr);
}

} // namespace

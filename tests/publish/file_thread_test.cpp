// Trovecart tests - publishing into a local folder.
#include <algorithm>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "common/app_info.h"
#include "publish/file_thread.h"
#include "publish_test_support.h"
#include "support/scripted_message_service.h"

namespace {

class FileThreadTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureCoreApplication(); }

    template <typename TWorker = TFileThread, typename... TArguments>
    TWorker* NewThread(const QString& target, TArguments... arguments) {
        auto* thread = new TWorker(arguments...);
        thread->SetSourceFolder(site_.Path());
        thread->SetTargetFolder(target);
        thread->SetEntryFilter(AllButThumbPng);
        return thread;
    }

    TTempFolder site_;
    TTempFolder target_;
    TScriptedMessageService messages_;
};

TEST_F(FileThreadTest, CopiesTheTreeIntoANewFolderWithoutThumbPng) {
    WriteFile(site_.File(QStringLiteral("index.html")), "<html/>");
    WriteFile(site_.File(QStringLiteral("Thumb.png")), "template picture");
    WriteFile(site_.File(QStringLiteral("shoppingcart/shop.xml")), "<shop/>");
    WriteFile(site_.File(QStringLiteral("shoppingcart/Thumb.png")), "template picture");
    WriteFile(site_.File(QStringLiteral("shoppingcart/thumb.png")), "lower case is copied");
    WriteFile(site_.File(QStringLiteral("shoppingcart/preview/clip.flv")),
              PatternBytes(3 * 1024 * 1024 + 17));
    WriteFile(site_.File(QStringLiteral("shoppingcart/image/empty.jpg")), QByteArray());

    const QString target = target_.Path() + QStringLiteral("deep/er/site/");
    const TPublishRecord record = RunPublish(NewThread(target));

    ASSERT_TRUE(record.Terminated);
    EXPECT_TRUE(messages_.Calls().empty());
    EXPECT_EQ(record.TotalFiles, 7);
    EXPECT_EQ(record.DoneFiles, 5);
    ASSERT_FALSE(record.Status.empty());
    EXPECT_EQ(record.Status.front().Action, QStringLiteral("Searching..."));
    EXPECT_TRUE(record.Status.front().Busy);

    const std::vector<TStatusReport> results = record.Results();
    ASSERT_EQ(results.size(), 5u);
    int lastPercent = 0;
    for (const TStatusReport& result : results) {
        EXPECT_FALSE(result.Failed) << result.Action.toStdString() << ": " << result.ErrorText.toStdString();
        EXPECT_TRUE(result.Action.startsWith(target));
        EXPECT_GE(result.Percent, lastPercent);
        lastPercent = result.Percent;
    }
    EXPECT_EQ(lastPercent, 5 * 100 / 7);
    for (const char* name : {"index.html", "shoppingcart/shop.xml", "shoppingcart/thumb.png",
                             "shoppingcart/preview/clip.flv", "shoppingcart/image/empty.jpg"})
        EXPECT_EQ(ReadFile(target + QLatin1String(name)), ReadFile(site_.File(QLatin1String(name)))) << name;
    EXPECT_FALSE(QFile::exists(target + QStringLiteral("Thumb.png")));
    EXPECT_FALSE(QFile::exists(target + QStringLiteral("shoppingcart/Thumb.png")));
    ASSERT_NE(record.ResultFor(target + QStringLiteral("shoppingcart/image/empty.jpg")), nullptr);
}

TEST_F(FileThreadTest, ASiteOfOnlyThumbPngCopiesNothing) {
    WriteFile(site_.File(QStringLiteral("Thumb.png")), "x");
    const TPublishRecord record = RunPublish(NewThread(target_.Path()));
    EXPECT_EQ(record.TotalFiles, 1);
    EXPECT_TRUE(record.Results().empty());
    for (const TStatusReport& report : record.Status)
        EXPECT_EQ(report.Percent, 0);
    EXPECT_FALSE(QDir(target_.Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

TEST_F(FileThreadTest, TheCallersFilterDecidesWhatIsSent) {
    WriteFile(site_.File(QStringLiteral("Thumb.png")), "template picture");
    WriteFile(site_.File(QStringLiteral("drafts/a.txt")), "a");
    WriteFile(site_.File(QStringLiteral("drafts/b.txt")), "b");
    WriteFile(site_.File(QStringLiteral("page.html")), "p");

    // Without a filter everything goes.
    TFileThread* thread = NewThread(target_.File(QStringLiteral("all/")));
    thread->SetEntryFilter(nullptr);
    TPublishRecord record = RunPublish(thread);
    EXPECT_EQ(record.DoneFiles, 4);
    EXPECT_TRUE(QFile::exists(target_.File(QStringLiteral("all/Thumb.png"))));

    // A refused folder is left out with all it holds, yet its files are counted.
    thread = NewThread(target_.File(QStringLiteral("some/")));
    thread->SetEntryFilter([](const QString& name) { return name != QLatin1String("drafts"); });
    record = RunPublish(thread);
    EXPECT_EQ(record.TotalFiles, 4);
    EXPECT_EQ(record.DoneFiles, 2);
    EXPECT_FALSE(QFile::exists(target_.File(QStringLiteral("some/drafts"))));
    EXPECT_TRUE(QFile::exists(target_.File(QStringLiteral("some/Thumb.png"))));
}

TEST_F(FileThreadTest, AFullTargetAsksAndNoCancels) {
    WriteFile(site_.File(QStringLiteral("index.html")), "new");
    WriteFile(target_.File(QStringLiteral("index.html")), "old");
    messages_.QueueAnswer(mrNo);
    const TPublishRecord record = RunPublish(NewThread(target_.Path()));

    const std::vector<TScriptedMessageService::TCall> calls = messages_.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].question);
    EXPECT_FALSE(calls[0].withCancel);
    EXPECT_EQ(calls[0].kind, mkInformation);
    EXPECT_EQ(calls[0].text,
              QStringLiteral("The publish folder is not empty, files will be overwrite. Continue?"));
    EXPECT_EQ(calls[0].heading, QStringLiteral("Publish Cart"));
    EXPECT_EQ(calls[0].title, ProgramCaption());

    ASSERT_EQ(record.Status.size(), 1u);
    EXPECT_EQ(record.Status[0].Action, QStringLiteral("Publish Action"));
    EXPECT_TRUE(record.Status[0].Failed);
    EXPECT_FALSE(record.Status[0].Busy);
    EXPECT_EQ(record.Status[0].ErrorText, QStringLiteral("Cancled by user."));
    EXPECT_EQ(ReadFile(target_.File(QStringLiteral("index.html"))), QByteArray("old"));
}

TEST_F(FileThreadTest, AFullTargetAndYesOverwrites) {
    WriteFile(site_.File(QStringLiteral("index.html")), "new");
    WriteFile(target_.File(QStringLiteral("index.html")), "old and longer");
    messages_.QueueAnswer(mrYes);
    const TPublishRecord record = RunPublish(NewThread(target_.Path()));
    EXPECT_EQ(messages_.Calls().size(), 1u);
    ASSERT_EQ(record.Results().size(), 1u);
    EXPECT_FALSE(record.Results()[0].Failed);
    EXPECT_EQ(ReadFile(target_.File(QStringLiteral("index.html"))), QByteArray("new"));
}

TEST_F(FileThreadTest, AZeroByteFileIsCopiedAtZeroPercent) {
    WriteFile(site_.File(QStringLiteral("empty.txt")), QByteArray());
    const TPublishRecord record = RunPublish(NewThread(target_.Path()));
    ASSERT_EQ(record.Results().size(), 1u);
    EXPECT_FALSE(record.Results()[0].Failed);
    for (const int percent : record.FilePercents)
        EXPECT_EQ(percent, 0);
    EXPECT_TRUE(QFile::exists(target_.File(QStringLiteral("empty.txt"))));
}

TEST_F(FileThreadTest, AFailingFileIsReportedAndTheRunGoesOn) {
    WriteFile(site_.File(QStringLiteral("a/one.txt")), "1");
    WriteFile(site_.File(QStringLiteral("b/two.txt")), "2");
    // A file where the folder "a" has to go.
    WriteFile(target_.File(QStringLiteral("a")), "in the way");
    messages_.QueueAnswer(mrYes);
    const TPublishRecord record = RunPublish(NewThread(target_.Path()));
    const TStatusReport* failed = record.ResultFor(target_.File(QStringLiteral("a/one.txt")));
    ASSERT_NE(failed, nullptr);
    EXPECT_TRUE(failed->Failed);
    EXPECT_FALSE(failed->ErrorText.isEmpty());
    const TStatusReport* copied = record.ResultFor(target_.File(QStringLiteral("b/two.txt")));
    ASSERT_NE(copied, nullptr);
    EXPECT_FALSE(copied->Failed);
}

// Every report makes the worker wait for the UI thread: a file done in one step reports no 0%
// before it and nothing once 100% is showing, a large file reports as it grows.
TEST_F(FileThreadTest, FileProgressIsReportedOnlyWhenItChanges) {
    for (int i = 0; i < 20; ++i)
        WriteFile(site_.File(QStringLiteral("small/%1.txt").arg(i)), "small");
    const std::vector<int> small = RunPublish(NewThread(target_.Path())).FilePercents;
    EXPECT_LT(small.size(), 20u);
    EXPECT_EQ(std::count(small.begin(), small.end(), 100), static_cast<long>(small.size()));

    QDir(site_.File(QStringLiteral("small"))).removeRecursively();
    WriteFile(site_.File(QStringLiteral("large.bin")), PatternBytes(4 * 1024 * 1024));
    messages_.QueueAnswer(mrYes);
    const std::vector<int> large = RunPublish(NewThread(target_.Path())).FilePercents;
    ASSERT_FALSE(large.empty());
    EXPECT_TRUE(std::is_sorted(large.begin(), large.end()));
    EXPECT_EQ(large.back(), 100);
}

TEST_F(FileThreadTest, CancelInsideALargeCopyFailsThatFileAndKeepsTheOldOne) {
    WriteFile(site_.File(QStringLiteral("big.bin")), PatternBytes(48 * 1024 * 1024));
    WriteFile(target_.File(QStringLiteral("big.bin")), "previous version");
    messages_.QueueAnswer(mrYes);
    TFileThread* thread = NewThread(target_.Path());
    thread->SetEntryFilter(StopAtEntry(
        thread, [](const QString& name) { return name == QLatin1String("big.bin"); }, true));
    const TPublishRecord record = RunPublish(thread);
    const std::vector<TStatusReport> results = record.Results();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].Failed);
    EXPECT_FALSE(results[0].ErrorText.isEmpty());
    EXPECT_EQ(ReadFile(target_.File(QStringLiteral("big.bin"))), QByteArray("previous version"));
    EXPECT_EQ(QDir(target_.Path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(FileThreadTest, AStopDuringTheWalkCopiesNothingMore) {
    for (int i = 0; i < 5; ++i)
        WriteFile(site_.File(QStringLiteral("file%1.txt").arg(i)), "x");
    TFileThread* thread = NewThread(target_.Path());
    thread->SetEntryFilter(StopAtEntry(
        thread, [met = 0](const QString&) mutable { return ++met == 2; }, false));
    const TPublishRecord record = RunPublish(thread);
    ASSERT_TRUE(record.Terminated);
    EXPECT_TRUE(record.Results().empty());
    EXPECT_TRUE(QDir(target_.Path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// Large files are copied on a second thread while the small ones go on; every file is still
// reported in the order the walk met it, and recorded for the next run.
class SideCopyTest : public FileThreadTest {
protected:
    void SetUp() override {
        FileThreadTest::SetUp();
        for (int i = 0; i < 3; ++i)
            WriteFile(site_.File(QStringLiteral("%1big%2.bin").arg(i == 1 ? "" : "media/").arg(i)),
                      PatternBytes(5 * 1024 * 1024 + i, static_cast<char>('a' + i)));
        for (int i = 0; i < 40; ++i)
            WriteFile(site_.File(QStringLiteral("%1small%2.txt").arg(i % 2 ? "media/" : "text/").arg(i)),
                      QByteArray::number(i));
    }

    // The worker whose filter notes the names of the files its walk meets.
    TFileThread* NoteWalkOrder(TFileThread* thread, TNameFilter filter = AllButThumbPng) {
        thread->SetEntryFilter([this, filter](const QString& name) {
            const bool sent = filter(name);
            if (sent && name.contains(QLatin1Char('.')))
                walkOrder_.push_back(name);
            return sent;
        });
        return thread;
    }

    static std::vector<QString> ResultNames(const TPublishRecord& record) {
        std::vector<QString> names;
        for (const TStatusReport& result : record.Results())
            names.push_back(result.Action.section(QLatin1Char('/'), -1));
        return names;
    }

    // Filled by the worker's thread, read once it has ended.
    std::vector<QString> walkOrder_;
};

TEST_F(SideCopyTest, LargeFilesAreReportedInTheOrderOfTheWalkAndRecorded) {
    TFileThread* thread = NoteWalkOrder(NewThread(target_.Path()));
    thread->SetChangedOnly(true);
    const TPublishRecord record = RunPublish(thread);

    EXPECT_EQ(ResultNames(record), walkOrder_);
    int lastPercent = 0;
    for (const TStatusReport& result : record.Results()) {
        EXPECT_FALSE(result.Failed) << result.Action.toStdString();
        EXPECT_GE(result.Percent, lastPercent);
        lastPercent = result.Percent;
    }
    EXPECT_EQ(lastPercent, 100);
    ASSERT_FALSE(record.FilePercents.empty());
    EXPECT_EQ(record.FilePercents.back(), 100);
    // A large file copied before its turn came is timed from the start of its copy.
    for (const double speed : record.Speeds)
        EXPECT_LT(speed, 1e12);
    for (const QString& relative : {QStringLiteral("media/big0.bin"), QStringLiteral("big1.bin"),
                                    QStringLiteral("media/big2.bin"), QStringLiteral("text/small0.txt")})
        EXPECT_EQ(ReadFile(target_.File(relative)), ReadFile(site_.File(relative))) << relative.toStdString();

    TFileThread* again = NewThread(target_.Path());
    again->SetChangedOnly(true);
    for (const auto& [file, outcome] : RunPublish(again).Outcomes(target_.Path()))
        EXPECT_EQ(outcome, QStringLiteral("Unchanged")) << file.toStdString();
}

// Asks itself to stop as it takes up the Nth small file, from its own thread: after the walk, while
// the large files it started may still be copied. A stop from a report handler could land after
// the last file.
class TStopAtSmallFile : public TFileThread {
public:
    explicit TStopAtSmallFile(int stopAt) : stopAt_(stopAt) {}

protected:
    QString LocalTargetPath(const QString& relative) const override {
        if (relative.contains(QLatin1String("small")) && ++smallFilesMet_ == stopAt_)
            const_cast<TStopAtSmallFile*>(this)->Terminate();
        return TFileThread::LocalTargetPath(relative);
    }

private:
    const int stopAt_;
    mutable int smallFilesMet_ = 0;
};

TEST_F(SideCopyTest, AStopDuringTheCopiesReportsWhatWasCopiedAndLeavesNothingElse) {
    for (int i = 40; i < 400; ++i)
        WriteFile(site_.File(QStringLiteral("text/small%1.txt").arg(i)), QByteArray::number(i));
    const TPublishRecord record = RunPublish(NoteWalkOrder(NewThread<TStopAtSmallFile>(target_.Path(), 20)));

    // The copies the walk started for files the worker did not reach come last, so the reports
    // follow the walk's order with gaps.
    const std::vector<QString> reported = ResultNames(record);
    auto walked = walkOrder_.begin();
    for (const QString& name : reported) {
        walked = std::find(walked, walkOrder_.end(), name);
        ASSERT_NE(walked, walkOrder_.end()) << name.toStdString() << " out of order";
    }
    int copied = 0;
    for (const TStatusReport& result : record.Results()) {
        const QString relative = result.Action.mid(target_.Path().size());
        if (result.Failed) {
            EXPECT_FALSE(QFile::exists(result.Action)) << relative.toStdString();
        } else {
            EXPECT_EQ(ReadFile(result.Action), ReadFile(site_.File(relative))) << relative.toStdString();
            ++copied;
        }
    }
    int inTarget = 0;
    for (const QString& folder : {QString(), QStringLiteral("media/"), QStringLiteral("text/")})
        inTarget += static_cast<int>(QDir(target_.File(folder)).entryList(QDir::Files | QDir::Hidden).size());
    EXPECT_EQ(inTarget, copied);
    // The file the stop came at failed as cancelled.
    EXPECT_LT(copied, static_cast<int>(reported.size()));
}

} // namespace

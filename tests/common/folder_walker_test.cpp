// Trovecart tests - the folder walk that copying, packing, counting and deleting share.
#include <algorithm>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "common/folder_walker.h"
#include "support/test_helpers.h"

namespace {

class FolderWalkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"b.txt", "a/2.txt", "a/1.txt", "a/deep/x.bin", ".hidden", "c/.dot"})
            WriteFile(tree_.File(QLatin1String(name)), name);
        QDir().mkpath(tree_.File("empty"));
    }

    // Every event as "+folder/", "file" or "-folder/", by relative path.
    QStringList Events(TFolderWalk walk) {
        QStringList events;
        walk.EnterFolder = [&](const TFolderEntry& entry) {
            events << "+" + entry.Relative;
            return !skipped_.contains(entry.Name);
        };
        walk.LeaveFolder = [&](const TFolderEntry& entry) { events << "-" + entry.Relative; };
        walk.File = [&](const TFolderEntry& entry) { events << entry.Relative; };
        WalkFolder(tree_.Path(), walk);
        return events;
    }

    TTempFolder tree_;
    QStringList skipped_;
};

TEST_F(FolderWalkerTest, SortedWalkIsDepthFirstWithEveryEntry) {
    const QStringList expected = {".hidden",      "+a/",      "a/1.txt", "a/2.txt", "+a/deep/",
                                  "a/deep/x.bin", "-a/deep/", "-a/",     "b.txt",   "+c/",
                                  "c/.dot",       "-c/",      "+empty/", "-empty/"};
    EXPECT_EQ(Events({.Sorted = true}), expected);

    // The file system's order holds the same entries, each folder's content right after it.
    QStringList unsorted = Events({});
    EXPECT_EQ(unsorted.size(), expected.size());
    EXPECT_EQ(unsorted.indexOf("a/deep/x.bin"), unsorted.indexOf("+a/deep/") + 1);
    std::sort(unsorted.begin(), unsorted.end());
    QStringList sortedExpected = expected;
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(unsorted, sortedExpected);
}

TEST_F(FolderWalkerTest, PathsNamesAndRefusedFolders) {
    skipped_ = {"a"};
    QStringList events = Events({.Sorted = true});
    EXPECT_TRUE(events.contains("+a/"));
    EXPECT_FALSE(events.contains("a/1.txt")) << "a refused folder is not entered";
    EXPECT_FALSE(events.contains("-a/"));

    TFolderEntry deep;
    WalkFolder(tree_.File("a"), {.EnterFolder = [&](const TFolderEntry& entry) {
                   deep = entry;
                   return true;
               }});
    EXPECT_EQ(deep.Name, "deep");
    EXPECT_EQ(deep.Path, tree_.File("a/deep/"));
    EXPECT_EQ(deep.Relative, "deep/");
    EXPECT_TRUE(deep.IsFolder);
}

TEST_F(FolderWalkerTest, LinksAreEntriesNeverFollowed) {
    // A link back to the root would make a walk that follows links run forever.
    ASSERT_TRUE(QFile::link(tree_.Path(), tree_.File("a/loop")));
    QList<TFolderEntry> files;
    WalkFolder(tree_.Path(), {.File = [&](const TFolderEntry& entry) { files << entry; }});
    const auto loop = std::find_if(files.begin(), files.end(),
                                   [](const TFolderEntry& entry) { return entry.Relative == "a/loop"; });
    ASSERT_NE(loop, files.end());
    EXPECT_FALSE(loop->IsFolder);
    EXPECT_EQ(files.size(), 7);
}

TEST_F(FolderWalkerTest, StopEndsTheWholeWalk) {
    int files = 0;
    WalkFolder(tree_.Path(),
               {.File = [&](const TFolderEntry&) { ++files; }, .ShouldStop = [&] { return files == 2; }});
    EXPECT_EQ(files, 2);
}

TEST_F(FolderWalkerTest, ErrorsOfCallbacksAndUnreadableFolders) {
    int files = 0;
    EXPECT_THROW(WalkFolder(tree_.Path(), {.File =
                                               [&](const TFolderEntry&) {
                                                   ++files;
                                                   throw EAppError("stop here");
                                               }}),
                 EAppError);
    EXPECT_EQ(files, 1);

    int visits = 0;
    WalkFolder(tree_.File("missing"), {.File = [&](const TFolderEntry&) { ++visits; }});
    EXPECT_EQ(visits, 0) << "a missing folder counts as empty";
    try {
        WalkFolder(tree_.File("missing"), {.RaiseReadErrors = true});
        ADD_FAILURE() << "no error";
    } catch (const EAppError& error) {
        EXPECT_TRUE(error.Message().contains(tree_.File("missing/")));
    }
}

} // namespace

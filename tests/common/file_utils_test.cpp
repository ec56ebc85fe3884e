// Trovecart tests - file and folder helpers on real folders.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "common/whole_file.h"
#include "support/scripted_message_service.h"
#include "support/test_helpers.h"

namespace {

TEST(FileUtils, ExistenceTests) {
    TTempFolder folder;
    WriteFile(folder.File("file.txt"), "x");
    QDir().mkpath(folder.File("sub"));

    EXPECT_TRUE(FolderExists(folder.File("sub")));
    EXPECT_TRUE(FolderExists(folder.File("sub/")));
    EXPECT_FALSE(FolderExists(folder.File("file.txt")));
    EXPECT_FALSE(FolderExists(folder.File("none")));
    EXPECT_FALSE(FolderExists(QString()));
    EXPECT_TRUE(FileExistsStrict(folder.File("file.txt")));
    EXPECT_FALSE(FileExistsStrict(folder.File("sub/")));
    EXPECT_FALSE(FileExistsStrict(folder.File("none")));

    EXPECT_TRUE(FolderHasEntries(folder.Path()));
    EXPECT_FALSE(FolderHasEntries(folder.File("sub")));
    EXPECT_FALSE(FolderHasEntries(folder.File("none")));
}

TEST(FileUtils, NameParts) {
    EXPECT_EQ(ExtractNamePart(QString()), "");
    EXPECT_EQ(ExtractNamePart(QStringLiteral("/a/b/c.txt")), "c.txt");
    EXPECT_EQ(ExtractNamePart(QStringLiteral("name")), "name");
    EXPECT_EQ(ExtractNamePart(QStringLiteral("/a/b/")), "");
    EXPECT_EQ(WithTrailingSlash(QStringLiteral("/a")), "/a/");
    EXPECT_EQ(WithTrailingSlash(QStringLiteral("/a/")), "/a/");
    EXPECT_EQ(WithTrailingSlash(QString()), "");
    EXPECT_EQ(WithoutTrailingSlash("/a//"), "/a");
    EXPECT_EQ(WithoutTrailingSlash("/"), "/");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "/b/"), "/a/b/");
    EXPECT_EQ(JoinPath("/a/", "//b"), "/a/b");
}

TEST(FileUtils, ForceFoldersCreatesParents) {
    TTempFolder folder;
    EXPECT_TRUE(ForceFolders(folder.File("a/b/c/")));
    EXPECT_TRUE(FolderExists(folder.File("a/b/c")));
    EXPECT_TRUE(ForceFolders(folder.File("a/b/c")));
    WriteFile(folder.File("blocker"), "x");
    EXPECT_FALSE(ForceFolders(folder.File("blocker/child")));
}

TEST(FileUtils, CopyFolderTreeCopiesEverythingAndReplaces) {
    TTempFolder folder;
    WriteFile(folder.File("src/top.txt"), "top");
    WriteFile(folder.File("src/.hidden"), "hidden");
    WriteFile(folder.File("src/deep/er/leaf.bin"), QByteArray(100000, 'z'));
    QDir().mkpath(folder.File("src/empty"));
    WriteFile(folder.File("dst/top.txt"), "old");
    WriteFile(folder.File("dst/unrelated.txt"), "stays");

    CopyFolderTree(folder.File("src"), folder.File("dst"));
    EXPECT_EQ(ReadFile(folder.File("dst/top.txt")), "top");
    EXPECT_EQ(ReadFile(folder.File("dst/.hidden")), "hidden");
    EXPECT_EQ(ReadFile(folder.File("dst/deep/er/leaf.bin")), QByteArray(100000, 'z'));
    EXPECT_TRUE(FolderExists(folder.File("dst/empty")));
    EXPECT_EQ(ReadFile(folder.File("dst/unrelated.txt")), "stays");

    CopyFolderTree(folder.File("src/"), folder.File("new/target/"));
    EXPECT_EQ(ReadFile(folder.File("new/target/deep/er/leaf.bin")).size(), 100000);
}

TEST(FileUtils, CopyFolderTreeRaisesTheFailingFileAndShowsNothing) {
    TTempFolder folder;
    WriteFile(folder.File("src/a.txt"), "a");
    // A folder where the file should go cannot be replaced by the file.
    QDir().mkpath(folder.File("dst/a.txt/inner"));

    TScriptedMessageService messages;
    try {
        CopyFolderTree(folder.File("src"), folder.File("dst"));
        ADD_FAILURE() << "the copy must fail";
    } catch (const EAppError& error) {
        EXPECT_EQ(error.Kind(), mkError);
        EXPECT_EQ(error.Heading(), "File Copy Error");
        EXPECT_TRUE(error.Message().startsWith(
            "Copying file failed.\r\nFile Name: " + folder.File("src/a.txt") + "\r\nError: "));
        EXPECT_FALSE(error.Message().endsWith("Error: ")) << "the system's message follows";
    }
    EXPECT_TRUE(messages.Calls().empty()) << "the caller reports";
}

TEST(FileUtils, CopyFolderTreeLeavesOutWhatTheFilterRefuses) {
    TTempFolder folder;
    WriteFile(folder.File("src/keep.txt"), "k");
    WriteFile(folder.File("src/Skip"), "top");
    WriteFile(folder.File("src/sub/Skip"), "deep");
    WriteFile(folder.File("src/Skip.d/inside.txt"), "in a refused folder");
    WriteFile(folder.File("src/sub/skip"), "other case");
    CopyFolderTree(folder.File("src"), folder.File("dst"),
                   [](const QString& name) { return name != "Skip" && name != "Skip.d"; });
    EXPECT_EQ(ReadFile(folder.File("dst/keep.txt")), "k");
    EXPECT_EQ(ReadFile(folder.File("dst/sub/skip")), "other case");
    EXPECT_FALSE(QFileInfo::exists(folder.File("dst/Skip")));
    EXPECT_FALSE(QFileInfo::exists(folder.File("dst/sub/Skip")));
    EXPECT_FALSE(QFileInfo::exists(folder.File("dst/Skip.d")));

    // A source that cannot be read is an error, not an empty copy.
    EXPECT_THROW(CopyFolderTree(folder.File("missing"), folder.File("dst2")), EAppError);
}

TEST(FileUtils, DeleteFolderTreeRemovesAllButNeverFollowsLinks) {
    TTempFolder folder;
    WriteFile(folder.File("outside/keep.txt"), "keep");
    WriteFile(folder.File("tree/a/b/c.txt"), "c");
    WriteFile(folder.File("tree/.hidden"), "h");
    QFile::link(folder.File("outside"), folder.File("tree/link-to-outside"));

    DeleteFolderTree(folder.File("tree"));
    EXPECT_FALSE(QFileInfo::exists(folder.File("tree")));
    EXPECT_EQ(ReadFile(folder.File("outside/keep.txt")), "keep");

    DeleteFolderTree(QString());
    DeleteFolderTree(folder.File("never-existed"));
}

qsizetype OpenDescriptors() {
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

// A replaced file is held open until its blocks have been freed off the writer's path; every
// one of them is closed soon after, and the last content is the file's.
TEST(WholeFile, ReplacingAFileLeavesNoDescriptorOpen) {
    TTempFolder folder;
    const QString file = folder.File(QStringLiteral("replaced.txt"));
    WriteWholeFile(file, QByteArray("first"));
    const qsizetype before = OpenDescriptors();
    for (int i = 0; i < 50; ++i)
        WriteWholeFile(file, QByteArray::number(i).repeated(1000));
    QElapsedTimer waited;
    waited.start();
    while (OpenDescriptors() > before && waited.elapsed() < 5000)
        QThread::msleep(10);
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_EQ(ReadFile(file), QByteArray("49").repeated(1000));
}

} // namespace

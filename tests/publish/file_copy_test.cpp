// Trovecart tests - the publish copy: what it hashes on the way and what a stop leaves.
#include <sys/stat.h>

#include <QDir>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "publish/file_copy.h"
#include "publish/publish_manifest.h"
#include "publish/publish_test_support.h"
#include "support/test_helpers.h"

namespace {

const TCopyProgress kGoOn = [](qint64, qint64) { return true; };

TEST(FileCopyTest, TheHashTakenOnTheWayIsTheFilesOwn) {
    TTempFolder folder;
    // Empty, small, exactly one block, just over it (hashed beside the kernel's copy), several blocks.
    for (const qint64 size : {0LL, 3LL, 1024LL * 1024, 1024LL * 1024 + 1, 3LL * 1024 * 1024 + 5}) {
        SCOPED_TRACE(size);
        const QString source = folder.File(QStringLiteral("source%1").arg(size));
        const QString target = folder.File(QStringLiteral("target%1").arg(size));
        WriteFile(source, PatternBytes(size));
        TManifestEntry hashed;
        CopyFileWithProgress(source, target, kGoOn, &hashed);
        EXPECT_EQ(ReadFile(target), ReadFile(source));
        const TManifestEntry read = HashLocalFile(source);
        EXPECT_EQ(hashed, read);
        EXPECT_EQ(hashed.SourceStamp, read.SourceStamp);

        // Unhashed, the entry still says what was copied, for a later run to compare.
        TManifestEntry stamped;
        CopyFileWithProgress(source, target, kGoOn, &stamped, false);
        EXPECT_EQ(stamped.Size, size);
        EXPECT_TRUE(stamped.Sha256.isEmpty());
        EXPECT_EQ(stamped.SourceStamp, read.SourceStamp);
    }
}

TEST(FileCopyTest, AStoppedHashedCopyKeepsTheOldFileAndLeavesNothingElse) {
    TTempFolder folder;
    const QString source = folder.File(QStringLiteral("big.flv"));
    const QString target = folder.File(QStringLiteral("out/big.flv"));
    WriteFile(source, PatternBytes(8 * 1024 * 1024));
    WriteFile(target, "previous version");
    TManifestEntry hashed;
    hashed.Sha256 = "stale";
    EXPECT_THROW(CopyFileWithProgress(
                     source, target, [](qint64, qint64) { return false; }, &hashed),
                 EAppError);
    EXPECT_EQ(ReadFile(target), QByteArray("previous version"));
    EXPECT_EQ(QDir(folder.File(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_TRUE(hashed.Sha256.isEmpty()) << "no hash for a copy that did not happen";
}

TEST(FileCopyTest, ANewOrReplacedFileAppearsWholeUnderItsNameAndNothingElseDoes) {
    TTempFolder folder;
    const QString source = folder.File(QStringLiteral("page.html"));
    WriteFile(source, PatternBytes(5000));
    const QString out = folder.File(QStringLiteral("out"));
    QDir().mkpath(out);
    const auto entries = [&out] { return QDir(out).entryList(QDir::Files | QDir::Hidden | QDir::System); };
    const QString target = out + QStringLiteral("/page.html");

    // Stopped before its end, a new file leaves no trace.
    EXPECT_THROW(CopyFileWithProgress(source, target, [](qint64, qint64) { return false; }), EAppError);
    EXPECT_TRUE(entries().isEmpty());

    // Complete, it has the umask's mode like any new file.
    CopyFileWithProgress(source, target, kGoOn);
    EXPECT_EQ(ReadFile(target), ReadFile(source));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("page.html")});
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat status {};
    ASSERT_EQ(::stat(LocalPath(target).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0666 & ~mask);

    // A replaced file keeps the mode it was given.
    ASSERT_EQ(::chmod(LocalPath(target).c_str(), 0640), 0);
    WriteFile(source, "second version");
    CopyFileWithProgress(source, target, kGoOn);
    EXPECT_EQ(ReadFile(target), QByteArray("second version"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("page.html")});
    ASSERT_EQ(::stat(LocalPath(target).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640);
}

} // namespace

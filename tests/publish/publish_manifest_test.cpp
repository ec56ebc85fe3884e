// Trovecart tests - the publish record: which paths it trusts, what it reads back.
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "publish/publish_manifest.h"
#include "support/test_helpers.h"

namespace {

const QByteArray kSha = QByteArray(64, 'a');
const QString kOurFormat = QStringLiteral("trovecart-publish");

QByteArray RecordWith(const QString& path, const QString& format = kOurFormat, int version = 1,
                      const QString& sha = QString::fromLatin1(kSha), double size = 3) {
    return QStringLiteral(R"({"format":"%1","version":%2,"files":[{"path":%3,"size":%4,"sha256":"%5"}]})")
        .arg(format)
        .arg(version)
        .arg(QStringLiteral("\"") + path + QStringLiteral("\""))
        .arg(size)
        .arg(sha)
        .toUtf8();
}

TEST(PublishManifestTest, OnlyPathsThatStayBelowTheTargetAreSafe) {
    for (const char* path : {"index.html", "shoppingcart/preview/clip.flv", ".hidden", "a..b/c"})
        EXPECT_TRUE(TPublishManifest::IsSafePath(QString::fromUtf8(path))) << path;
    for (const char* path : {"", "/etc/passwd", "../outside", "a/../../x", "a/..", "./a", "a//b", "a/",
                             "a\\..\\b", "a\nb", ".trovecart-publish.json"})
        EXPECT_FALSE(TPublishManifest::IsSafePath(QString::fromUtf8(path))) << path;
}

TEST(PublishManifestTest, ReadsBackWhatItWrote) {
    TPublishManifest manifest;
    manifest.Set(QStringLiteral("shoppingcart/shop.xml"), {7, kSha, {}});
    manifest.Set(QStringLiteral("big.flv"), {5'000'000'000LL, QByteArray(64, '0'), "1-2-3.4"});
    manifest.Set(QStringLiteral("stamped.jpg"), {9, {}, "1-2-5.6"});
    manifest.Set(QStringLiteral("gone.jpg"), {1, kSha, {}});
    manifest.Remove(QStringLiteral("gone.jpg"));

    const std::optional<TPublishManifest> read = TPublishManifest::Parse(manifest.ToJson());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Entries(), manifest.Entries());
    EXPECT_EQ(read->Find(QStringLiteral("gone.jpg")), nullptr);
}

TEST(PublishManifestTest, AForeignBrokenOrHostileRecordIsNotTrusted) {
    EXPECT_TRUE(TPublishManifest::Parse(RecordWith(QStringLiteral("index.html"))));
    EXPECT_FALSE(TPublishManifest::Parse("{not json"));
    EXPECT_FALSE(TPublishManifest::Parse("[]"));
    EXPECT_FALSE(TPublishManifest::Parse(R"({"format":"trovecart-publish","version":1})"));
    EXPECT_FALSE(TPublishManifest::Parse(RecordWith(QStringLiteral("index.html"), QStringLiteral("other"))));
    EXPECT_FALSE(TPublishManifest::Parse(RecordWith(QStringLiteral("index.html"), kOurFormat, 2)));
    EXPECT_FALSE(TPublishManifest::Parse(
        RecordWith(QStringLiteral("index.html"), kOurFormat, 1, QStringLiteral("xyz"))));
    EXPECT_FALSE(TPublishManifest::Parse(
        RecordWith(QStringLiteral("index.html"), kOurFormat, 1, QString::fromLatin1(kSha), -1)));
    EXPECT_FALSE(TPublishManifest::Parse(
        RecordWith(QStringLiteral("index.html"), kOurFormat, 1, QString::fromLatin1(kSha), 1.5)));
    // Without a hash, only a stamp says what the file was.
    EXPECT_FALSE(TPublishManifest::Parse(RecordWith(QStringLiteral("index.html"), kOurFormat, 1, QString())));
    EXPECT_FALSE(TPublishManifest::Parse(RecordWith(QStringLiteral("../../etc/passwd"))));
    EXPECT_FALSE(TPublishManifest::Parse(RecordWith(QStringLiteral("/etc/passwd"))));
}

TEST(PublishManifestTest, HashesAFileInBlocks) {
    TTempFolder folder;
    WriteFile(folder.File(QStringLiteral("abc")), "abc");
    EXPECT_EQ(HashLocalFile(folder.File(QStringLiteral("abc"))),
              (TManifestEntry{3, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", {}}));
    // Larger than one block, so that every block is taken in.
    QByteArray large(3 * 1024 * 1024 + 5, 'x');
    WriteFile(folder.File(QStringLiteral("large")), large);
    large[large.size() - 1] = 'y';
    WriteFile(folder.File(QStringLiteral("large2")), large);
    const TManifestEntry first = HashLocalFile(folder.File(QStringLiteral("large")));
    EXPECT_EQ(first.Size, large.size());
    EXPECT_NE(first.Sha256, HashLocalFile(folder.File(QStringLiteral("large2"))).Sha256);
    EXPECT_THROW(HashLocalFile(folder.File(QStringLiteral("missing"))), EAppError);
}

TEST(PublishManifestTest, AKnownHashIsTakenOnlyWhileTheFileIsUntouched) {
    TTempFolder folder;
    const QString path = folder.File(QStringLiteral("clip.flv"));
    WriteFile(path, "first");
    TManifestEntry known = HashLocalFile(path);
    ASSERT_FALSE(known.SourceStamp.isEmpty());
    known.Sha256 = QByteArray(64, 'f');
    EXPECT_EQ(KnownLocalEntry(path, &known)->Sha256, known.Sha256) << "not read again";
    EXPECT_EQ(KnownLocalEntry(path, &known), known);
    EXPECT_EQ(KnownLocalEntry(path, nullptr), std::nullopt);

    // Same size, same modification time, other content.
    const QDateTime modified = QFileInfo(path).lastModified();
    WriteFile(path, "other");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(modified, QFileDevice::FileModificationTime);
    file.close();
    EXPECT_EQ(KnownLocalEntry(path, &known).value_or(HashLocalFile(path)), HashLocalFile(path));
    EXPECT_EQ(KnownLocalEntry(path, &known), std::nullopt);
    EXPECT_NE(HashLocalFile(path).Sha256, known.Sha256);

    // The stamp travels with the record.
    TPublishManifest manifest;
    manifest.Set(QStringLiteral("clip.flv"), HashLocalFile(path));
    const std::optional<TPublishManifest> read = TPublishManifest::Parse(manifest.ToJson());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Find(QStringLiteral("clip.flv"))->SourceStamp, HashLocalFile(path).SourceStamp);
}

} // namespace

// Trovecart tests - archives whose entries try to leave the workspace.
#include <QDir>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "shop/shop_document.h"
#include "shop_fixtures.h"
#include "support/run_program.h"
#include "support/scripted_message_service.h"
#include "support/small_file_system.h"
#include "support/test_helpers.h"

namespace {

// Writes an archive with Python's zipfile, which stores names exactly as given. A mode of 0 leaves
// the external attributes alone; 0o120777 marks a symbolic link.
void WriteArchive(const QString& archive, const QList<std::tuple<QString, QByteArray, int>>& entries) {
    QString script = QStringLiteral("import sys, zipfile, base64\nz = zipfile.ZipFile(sys.argv[1], 'w')\n");
    for (const auto& [name, content, mode] : entries) {
        script += QStringLiteral("i = zipfile.ZipInfo(base64.b64decode('%1').decode())\n")
                      .arg(QString::fromLatin1(name.toUtf8().toBase64()));
        if (mode != 0)
            script += QStringLiteral("i.create_system = 3\ni.external_attr = %1 << 16\n").arg(mode);
        script += QStringLiteral("z.writestr(i, base64.b64decode('%1'))\n")
                      .arg(QString::fromLatin1(content.toBase64()));
    }
    script += QStringLiteral("z.close()\n");
    ASSERT_EQ(
        RunProgram(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, archive}).exitCode, 0);
}

class ArchiveSafetyTest : public ::testing::Test {
protected:
    // Opens the archive; expects the archive's copy error and no file written anywhere in the
    // sandbox except below the workspace.
    void ExpectRefused(const QList<std::tuple<QString, QByteArray, int>>& entries) {
        QDir().mkpath(sandbox_.File(QStringLiteral("projects")));
        const QString archive = sandbox_.File(QStringLiteral("projects/evil.scp"));
        WriteArchive(archive, entries);
        TShop shop;
        try {
            shop.OpenProject(archive, sandbox_.File(QStringLiteral("deep/down/Temp/")));
            ADD_FAILURE() << "archive accepted";
        } catch (const EAppError& error) {
            EXPECT_EQ(error.Heading(), QStringLiteral("File Copy Error"));
            EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Copying file failed.\r\nError: ")));
        }
        EXPECT_FALSE(FolderHasEntries(shop.WorkFolder())) << "entries were written before the check";
        EXPECT_EQ(QDir(sandbox_.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList({QStringLiteral("deep"), QStringLiteral("projects")}));
        EXPECT_EQ(QDir(sandbox_.File(QStringLiteral("deep/down")))
                      .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList({QStringLiteral("Temp")}));
        EXPECT_TRUE(messages_.Calls().empty());
    }

    TScriptedMessageService messages_;
    TTempFolder sandbox_;
};

const QByteArray kShop = ShopXml(QStringLiteral("T"), 640, 420, 1, QStringLiteral("T"));

TEST_F(ArchiveSafetyTest, ParentStepsAreRefused) {
    ExpectRefused({{QStringLiteral("shop.xml"), kShop, 0}, {QStringLiteral("../../../escaped.txt"), "x", 0}});
    ExpectRefused(
        {{QStringLiteral("shop.xml"), kShop, 0}, {QStringLiteral("image/../../../../escaped.txt"), "x", 0}});
    ExpectRefused(
        {{QStringLiteral("shop.xml"), kShop, 0}, {QStringLiteral("..\\..\\..\\escaped.txt"), "x", 0}});
}

TEST_F(ArchiveSafetyTest, AbsoluteNamesAreRefused) {
    const QString target = sandbox_.File(QStringLiteral("escaped.txt"));
    ExpectRefused({{QStringLiteral("shop.xml"), kShop, 0}, {target, "x", 0}});
    EXPECT_FALSE(FileExistsStrict(target));
}

TEST_F(ArchiveSafetyTest, LinksAreRefused) {
    // A link to the outside followed by a file written through it.
    ExpectRefused({{QStringLiteral("shop.xml"), kShop, 0},
                   {QStringLiteral("image"), sandbox_.Path().toUtf8(), 0120777},
                   {QStringLiteral("image/escaped.txt"), "x", 0}});
}

// A project whose "image/zeros.bin" holds that many zeros, deflated; `patch` is Python run on it
// afterwards.
void WriteZerosArchive(const QString& archive, int zeros, const char* patch = "") {
    const QString script = QStringLiteral("import sys, zipfile, struct\n"
                                          "z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED)\n"
                                          "z.writestr('shop.xml', sys.argv[2])\n"
                                          "z.writestr('image/zeros.bin', bytes(int(sys.argv[3])))\n"
                                          "z.close()\n") +
                           QString::fromLatin1(patch);
    ASSERT_EQ(
        RunProgram(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral("-c"), script, archive, QString::fromUtf8(kShop), QString::number(zeros)})
            .exitCode,
        0);
}

// Opens the archive into the temporary folder, expects the archive's error, and expects the
// temporary folder to be empty once the shop is gone.
void ExpectArchiveError(const QString& archive, const QString& tempFolder) {
    {
        TShop shop;
        try {
            shop.OpenProject(archive, tempFolder);
            ADD_FAILURE() << "archive accepted";
        } catch (const EAppError& error) {
            EXPECT_EQ(error.Heading(), QStringLiteral("File Copy Error"));
        }
    }
    EXPECT_TRUE(QDir(tempFolder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(ArchiveSafetyTest, AnEntryThatInflatesPastItsDeclaredSizeIsStopped) {
    const QString archive = sandbox_.File(QStringLiteral("bomb.scp"));
    // 4 MiB of zeros that claim to be 10 bytes, in the local header and in the central directory.
    WriteZerosArchive(archive, 4 << 20,
                      "data = bytearray(open(sys.argv[1], 'rb').read())\n"
                      "local = data.rfind(b'PK\\x03\\x04')\n"
                      "struct.pack_into('<I', data, local + 22, 10)\n"
                      "central = data.rfind(b'PK\\x01\\x02')\n"
                      "struct.pack_into('<I', data, central + 24, 10)\n"
                      "open(sys.argv[1], 'wb').write(data)\n");
    ExpectArchiveError(archive, sandbox_.File(QStringLiteral("Temp/")));
}

TEST_F(ArchiveSafetyTest, AProjectLargerThanTheFreeSpaceIsRefusedBeforeWriting) {
    TSmallFileSystem disk(256);
    SKIP_UNLESS_MOUNTED(disk);
    const QString archive = sandbox_.File(QStringLiteral("large.scp"));
    WriteZerosArchive(archive, 1 << 20);
    ExpectArchiveError(archive, disk.Path());
    EXPECT_TRUE(messages_.Calls().empty());
}

TEST_F(ArchiveSafetyTest, HarmlessOddNamesStillOpen) {
    const QString archive = sandbox_.File(QStringLiteral("odd.scp"));
    WriteArchive(archive, {{QStringLiteral("shop.xml"), kShop, 0},
                           {QStringLiteral("./skin//a..b.txt"), "dots", 0},
                           {QStringLiteral("Übersicht ü.txt"), "umlaut", 0}});
    TShop shop;
    shop.OpenProject(archive, sandbox_.File(QStringLiteral("Temp/")));
    EXPECT_EQ(ReadFile(shop.WorkFolder() + QStringLiteral("skin/a..b.txt")), QByteArray("dots"));
    EXPECT_EQ(ReadFile(shop.WorkFolder() + QStringLiteral("Übersicht ü.txt")), QByteArray("umlaut"));
}

} // namespace

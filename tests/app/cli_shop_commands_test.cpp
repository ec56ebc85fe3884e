// Trovecart tests - trovecart-cli info and resave, exit codes and usage.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "app/cli_runner.h"
#include "support/small_file_system.h"
#include "support/test_helpers.h"

namespace {

const QString golden = QStringLiteral(TROVECART_TEST_DATA "/golden_shop.xml");

TEST(CliShopCommands, InfoPrintsTheDocumentAsJson) {
    const TCliResult result = RunCli({"info", golden});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QJsonObject shop = QJsonDocument::fromJson(result.out).object();
    EXPECT_EQ(shop["id"].toString(), "classic");
    const QJsonObject config = shop["config"].toObject();
    EXPECT_EQ(config.size(), 19);
    EXPECT_EQ(config["userWidth"].toInt(), 350);
    EXPECT_EQ(config["currencySymbol"].toString(), "€");
    EXPECT_EQ(config["winMode"].toInt(), 2);

    const QJsonArray categories = shop["categories"].toArray();
    ASSERT_EQ(categories.size(), 3);
    const QJsonObject song = categories[0].toObject()["products"].toArray()[0].toObject();
    EXPECT_EQ(song["type"].toString(), "music");
    EXPECT_TRUE(song["price"].isDouble());
    EXPECT_DOUBLE_EQ(song["price"].toDouble(), 12.5);
    EXPECT_EQ(song["options"].toArray()[0].toObject()["values"].toArray().size(), 2);
    EXPECT_EQ(categories[1].toObject()["products"].toArray()[0].toObject()["type"].toString(), "video");
}

TEST(CliShopCommands, ResaveNormalisesTheLayout) {
    TTempFolder folder;
    WriteFile(folder.File("messy.xml"), ReadFile(golden).replace("     ", "\t").replace("\n", ""));
    const TCliResult result = RunCli({"resave", folder.File("messy.xml"), folder.File("clean.xml")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(ReadFile(folder.File("clean.xml")), ReadFile(golden));
}

// The same file comes out under every locale; what cannot be kept is said on stderr.
TEST(CliShopCommands, ResaveKeepsNumbersUnderEveryLocaleAndWarnsAboutWhatItChanges) {
    TTempFolder folder;
    QByteArray text = ReadFile(golden);
    text.replace("<price>12.5</price>", "<price>12,5</price>")
        .replace("<price>19.99</price>", "<price>1.7976931348623157e+308</price>")
        .replace("<shipping>3.25</shipping>", "<shipping>drei</shipping>")
        .replace("<![CDATA[http:", "<![CDATA[\x01http:");
    WriteFile(folder.File("in.xml"), text);
    for (const char* locale : {"de_DE.UTF-8", "ar_EG.UTF-8", "C"}) {
        const TCliResult result = RunCli({"resave", folder.File("in.xml"), folder.File("out.xml")},
                                         {.environment = {{"LC_ALL", locale}}});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QByteArray out = ReadFile(folder.File("out.xml"));
        EXPECT_TRUE(out.contains("<price>12.5</price>")) << locale;
        EXPECT_TRUE(out.contains("<price>1.7976931348623157e+308</price>")) << locale;
        EXPECT_TRUE(out.contains("<shipping>0</shipping>"));
        EXPECT_FALSE(out.contains('\x01'));
        EXPECT_TRUE(result.err.contains("the shipping \"drei\" is not a number")) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("Dropped 1 control character(s)")) << result.err.toStdString();
    }
}

TEST(CliShopCommands, ResaveOntoAFullDiskFailsAndKeepsTheOldFile) {
    TSmallFileSystem disk;
    SKIP_UNLESS_MOUNTED(disk);
    const QString target = disk.Path() + QStringLiteral("shop.xml");
    WriteFile(target, "old");
    disk.Fill();
    const TCliResult result = RunCli({"resave", golden, target});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("No space left on device")) << result.err.toStdString();
    EXPECT_EQ(ReadFile(target), QByteArray("old"));
}

TEST(CliShopCommands, ExitCodesAndMessages) {
    TTempFolder folder;
    WriteFile(folder.File("bad.xml"), "<shop id='x'><config>");
    const TCliResult failure = RunCli({"info", folder.File("bad.xml")});
    EXPECT_EQ(failure.exitCode, 1);
    EXPECT_TRUE(failure.err.contains("bad.xml"));
    EXPECT_TRUE(failure.out.isEmpty());

    EXPECT_EQ(RunCli({"resave", folder.File("bad.xml"), folder.File("out.xml")}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(folder.File("out.xml")));

    EXPECT_EQ(RunCli({"info"}).exitCode, 2);
    EXPECT_EQ(RunCli({"info", "a", "b"}).exitCode, 2);
    EXPECT_EQ(RunCli({"info", "--bogus", golden}).exitCode, 2);
    EXPECT_EQ(RunCli({"no-such-command"}).exitCode, 2);
    EXPECT_EQ(RunCli({}).exitCode, 2);

    const TCliResult help = RunCli({"resave", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("resave")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("OUT"));
    EXPECT_EQ(RunCli({"--help"}).exitCode, 0);
}

// The media and publish commands come from modules beside the program; without them they fail
// with a message, and the other commands and the command list go on working.
TEST(CliShopCommands, ModuleCommandsWithoutTheirModules) {
    TTempFolder folder;
    const QString program = folder.File("trovecart-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TROVECART_CLI), program));
    const TCliResult list = RunProgram(program, {"--help"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_TRUE(list.out.contains("convert")) << list.out.toStdString();
    EXPECT_TRUE(list.out.contains("ftp-list")) << list.out.toStdString();
    const TCliResult probe = RunProgram(program, {"probe", golden});
    EXPECT_EQ(probe.exitCode, 1);
    EXPECT_TRUE(probe.err.contains("The media commands cannot be loaded")) << probe.err.toStdString();
    const TCliResult publish = RunProgram(program, {"publish-site", "--help"});
    EXPECT_EQ(publish.exitCode, 1);
    EXPECT_TRUE(publish.err.contains("The publish commands cannot be loaded")) << publish.err.toStdString();
    EXPECT_EQ(RunProgram(program, {"info", golden}).exitCode, 0);
}

// Every command pays for loading the libraries the program needs at start, so those of pictures,
// the network and the media engine stay in the modules.
TEST(CliShopCommands, TheProgramStartsWithoutThePictureNetworkAndMediaLibraries) {
    const TCliResult libraries = RunProgram(QStringLiteral("ldd"), {QStringLiteral(TROVECART_CLI)});
    ASSERT_EQ(libraries.exitCode, 0) << libraries.err.toStdString();
    EXPECT_TRUE(libraries.out.contains("libQt6Core")) << libraries.out.toStdString();
    for (const char* library : {"libQt6Gui", "libcurl", "libssl", "libavcodec", "libSDL2"})
        EXPECT_FALSE(libraries.out.contains(library)) << library;
}

} // namespace

// Trovecart tests - trovecart-cli's template and project commands, run as a user would.
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "app/cli_runner.h"
#include "common/file_utils.h"
#include "support/test_helpers.h"

namespace {

using TRun = TCliResult;

class CliProjectTest : public ::testing::Test {
protected:
    TRun Run(const QStringList& arguments) { return RunCli(arguments, {work_.Path(), data_.Path()}); }
    QString TempFolder() const { return data_.File(QStringLiteral("Corvalen/Trovecart/Temp/")); }

    TTempFolder data_;
    TTempFolder work_;
};

TEST_F(CliProjectTest, TemplatesListsTheCatalogueAsJson) {
    WriteFile(work_.File(QStringLiteral("tpl/theme.xml")),
              "<c><themelist><a id=\"1\">Plain</a><b id=\"2\">Loud</b></themelist>"
              "<theme id=\"1\"><t id=\"One\"/><t id=\"Two\"/></theme><theme id=\"2\"><t id=\"two\"/><t "
              "id=\"Three\"/></theme></c>");
    const TRun run =
        Run({QStringLiteral("templates"), QStringLiteral("--template-folder"), QStringLiteral("tpl")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(json.value(QStringLiteral("all")).toArray(),
              QJsonArray({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}));
    const QJsonArray themes = json.value(QStringLiteral("themes")).toArray();
    ASSERT_EQ(themes.size(), 2);
    EXPECT_EQ(themes.at(1).toObject(),
              QJsonObject({{"id", 2},
                           {"name", QStringLiteral("Loud")},
                           {"templates", QJsonArray({QStringLiteral("two"), QStringLiteral("Three")})}}));
}

TEST_F(CliProjectTest, NewBuildEmbedCodeAndInfoOnAShippedTemplate) {
    // A desktop program's workspace in TempFolder must survive the command.
    const QString foreign = TempFolder() + QStringLiteral("2024-01-01_00-00-00_000/shoppingcart/shop.xml");
    WriteFile(foreign, "<shop/>");

    TRun run = Run({QStringLiteral("new"), QStringLiteral("NeonNight"), QStringLiteral("neon.scp")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_TRUE(FileExistsStrict(work_.File(QStringLiteral("neon.scp"))));

    run = Run({QStringLiteral("info"), QStringLiteral("neon.scp")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(run.out).object().value(QStringLiteral("id")).toString(),
              QStringLiteral("NeonNight"));

    run = Run({QStringLiteral("build"), QStringLiteral("neon.scp"), QStringLiteral("site"),
               QStringLiteral("--prefix"), QStringLiteral("http://shop.test/neon")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The template is in pop-up mode: a launcher page and the page holding the shop.
    EXPECT_TRUE(ReadFile(work_.File(QStringLiteral("site/index.html"))).contains("ShoppingCartWindow"));
    const QByteArray page = ReadFile(work_.File(QStringLiteral("site/shoppingcart.html")));
    EXPECT_TRUE(page.contains("value=\"http://shop.test/neon/shoppingcart/index.swf?datafile=shop.xml\""));
    EXPECT_TRUE(FileExistsStrict(work_.File(QStringLiteral("site/shoppingcart/shop.xml"))));
    EXPECT_TRUE(FileExistsStrict(work_.File(QStringLiteral("site/shoppingcart/index.swf"))));
    EXPECT_FALSE(FileExistsStrict(work_.File(QStringLiteral("site/shoppingcart/Thumb.png"))));
    EXPECT_FALSE(FileExistsStrict(work_.File(QStringLiteral("site/shop.xml"))));

    run = Run({QStringLiteral("embed-code"), QStringLiteral("neon.scp")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(
        run.out.startsWith("<object id=\"shoppingcart\" align=\"\" width=\"800px\" height=\"600px\"\r\n"));
    EXPECT_TRUE(run.out.endsWith("</object>\r\n"));
    // The page holds exactly the code the command hands out for the same address.
    run = Run({QStringLiteral("embed-code"), QStringLiteral("neon.scp"), QStringLiteral("--prefix"),
               QStringLiteral("http://shop.test/neon/")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(page.contains(run.out));

    // Only the foreign workspace is left in TempFolder.
    EXPECT_TRUE(FileExistsStrict(foreign));
    EXPECT_EQ(QDir(TempFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({QStringLiteral("2024-01-01_00-00-00_000")}));
}

TEST_F(CliProjectTest, FailuresArePrintedOnceAndEndWithExitCodeOne) {
    TRun run = Run({QStringLiteral("new"), QStringLiteral("NoSuchTemplate"), QStringLiteral("x.scp")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Error: File Open Error\nTemplate not found.\n");
    EXPECT_FALSE(FileExistsStrict(work_.File(QStringLiteral("x.scp"))));

    // A damaged project gives the archive error, whichever command opens it and whatever it holds.
    WriteFile(work_.File(QStringLiteral("bad.scp")), "PK\x03\x04 but not really");
    WriteFile(work_.File(QStringLiteral("text.scp")), "<shop id=\"looks like a document\"/>");
    const QList<QStringList> commands = {
        {QStringLiteral("embed-code"), QStringLiteral("bad.scp")},
        {QStringLiteral("info"), QStringLiteral("bad.scp")},
        {QStringLiteral("info"), QStringLiteral("text.scp")},
        {QStringLiteral("publish"), QStringLiteral("bad.scp"), QStringLiteral("--folder"),
         QStringLiteral("o")},
    };
    for (const QStringList& command : commands) {
        run = Run(command);
        EXPECT_EQ(run.exitCode, 1) << command.join(' ').toStdString();
        EXPECT_EQ(run.err.count("File Copy Error"), 1) << run.err.toStdString();
        EXPECT_EQ(run.err.count("Copying file failed."), 1) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    EXPECT_EQ(QDir(TempFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_FALSE(QFile::exists(work_.File(QStringLiteral("o"))));

    run = Run({QStringLiteral("build"), QStringLiteral("only-one-argument.scp")});
    EXPECT_EQ(run.exitCode, 2);
}

} // namespace

namespace {

// Links already in an output folder are replaced, never written through.
TEST_F(CliProjectTest, BuildAndPublishReplaceLinksInTheOutputFolder) {
    ASSERT_EQ(
        Run({QStringLiteral("new"), QStringLiteral("ClassicBlue"), QStringLiteral("shop.scp")}).exitCode, 0);
    WriteFile(work_.File(QStringLiteral("victim.txt")), "precious");
    QDir().mkpath(work_.File(QStringLiteral("elsewhere")));
    for (const QString& out : {QStringLiteral("site"), QStringLiteral("published")}) {
        QDir().mkpath(work_.File(out));
        ASSERT_TRUE(QFile::link(work_.File(QStringLiteral("victim.txt")), work_.File(out + "/index.html")));
        ASSERT_TRUE(QFile::link(work_.File(QStringLiteral("elsewhere")), work_.File(out + "/shoppingcart")));
    }
    TRun run = Run({QStringLiteral("build"), QStringLiteral("shop.scp"), QStringLiteral("site")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    run = Run({QStringLiteral("publish"), QStringLiteral("shop.scp"), QStringLiteral("--folder"),
               QStringLiteral("published"), QStringLiteral("--yes")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    EXPECT_EQ(ReadFile(work_.File(QStringLiteral("victim.txt"))), QByteArray("precious"));
    EXPECT_TRUE(QDir(work_.File(QStringLiteral("elsewhere"))).isEmpty());
    for (const QString& out : {QStringLiteral("site"), QStringLiteral("published")}) {
        EXPECT_FALSE(QFileInfo(work_.File(out + "/index.html")).isSymLink()) << out.toStdString();
        EXPECT_FALSE(QFileInfo(work_.File(out + "/shoppingcart")).isSymLink()) << out.toStdString();
        EXPECT_TRUE(FileExistsStrict(work_.File(out + "/shoppingcart/shop.xml")));
    }
}

TEST_F(CliProjectTest, PublishCopiesTheBuiltSiteAndAsksBeforeOverwriting) {
    ASSERT_EQ(
        Run({QStringLiteral("new"), QStringLiteral("ClassicBlue"), QStringLiteral("shop.scp")}).exitCode, 0);
    TRun run = Run({QStringLiteral("publish"), QStringLiteral("shop.scp"), QStringLiteral("--folder"),
                    QStringLiteral("out"), QStringLiteral("--yes")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("index.swf\tCopied"));
    EXPECT_FALSE(run.out.contains("Error"));
    EXPECT_TRUE(QFile::exists(work_.File(QStringLiteral("out/index.html"))));
    EXPECT_TRUE(QFile::exists(work_.File(QStringLiteral("out/shoppingcart/shop.xml"))));
    EXPECT_FALSE(QFile::exists(work_.File(QStringLiteral("out/shoppingcart/Thumb.png"))));

    // Sending the changes to the site it published there needs no --yes.
    run = Run({QStringLiteral("publish"), QStringLiteral("shop.scp"), QStringLiteral("--folder"),
               QStringLiteral("out"), QStringLiteral("--changed-only")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("index.swf\tUnchanged")) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("Copied")) << run.out.toStdString();
    EXPECT_FALSE(run.err.contains("not empty")) << run.err.toStdString();

    // A record that is not ours: the question again, and nobody to answer it.
    WriteFile(work_.File(QStringLiteral("out/.trovecart-publish.json")), "{}");
    run = Run({QStringLiteral("publish"), QStringLiteral("shop.scp"), QStringLiteral("--folder"),
               QStringLiteral("out"), QStringLiteral("--changed-only")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("not empty")) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Cancled by user.")) << run.out.toStdString();

    run = Run({QStringLiteral("publish"), QStringLiteral("shop.scp"), QStringLiteral("--folder"),
               QStringLiteral("out"), QStringLiteral("--no")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains("Cancled by user.")) << run.out.toStdString();
    EXPECT_TRUE(QDir(TempFolder()).isEmpty()) << "the command's workspace is removed";
}

} // namespace

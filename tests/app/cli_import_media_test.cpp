// Trovecart tests - import-media on a project made from a shipped template.
#include <csignal>

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include "app/cli_runner.h"
#include "support/media_fixtures.h"

namespace {

const QString kVideoProduct = QStringLiteral("Video/Screen printing workshop");

class CliImportMedia : public ::testing::Test {
protected:
    void SetUp() override {
        const TCliResult made = Run({"new", "ClassicBlue", "demo.scp"});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        original_ = ReadFile(Project());
    }
    TCliResult Run(const QStringList& arguments) { return RunCli(arguments, {work_.Path(), data_.Path()}); }
    QString Project() const { return work_.File(QStringLiteral("demo.scp")); }
    // The product of that name as `info` prints it.
    QJsonObject Product(const QString& name) {
        const TCliResult info = Run({"info", "demo.scp"});
        const QJsonArray categories =
            QJsonDocument::fromJson(info.out).object().value("categories").toArray();
        for (const QJsonValue& category : categories) {
            for (const QJsonValue& product : category.toObject().value("products").toArray()) {
                if (product.toObject().value("name").toString() == name)
                    return product.toObject();
            }
        }
        ADD_FAILURE() << "no product " << name.toStdString() << " in " << info.out.toStdString();
        return {};
    }
    void ExpectProjectUnchanged() { EXPECT_EQ(ReadFile(Project()), original_); }

    TTempFolder data_;
    TTempFolder work_;
    QByteArray original_;
};

TEST_F(CliImportMedia, GivesTheVideoProductAClipAThumbnailAndTheSourceDuration) {
    const TCliResult run =
        Run({"import-media", "demo.scp", "--product", kVideoProduct, TMediaFiles::Get().Video(), "--start",
             "500000", "--end", "1500000", "--snapshot-at", "1000000"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject product = Product(QStringLiteral("Screen printing workshop"));
    EXPECT_TRUE(product.value("preview").toString().endsWith(".flv")) << run.out.toStdString();
    EXPECT_TRUE(product.value("thumb").toString().endsWith("_Thumb.png"));
    EXPECT_NE(product.value("thumb").toString(), "film_Thumb.png");
    EXPECT_EQ(product.value("duration").toString(), "00:00:02") << "the source's, as the dialog fills it";
    EXPECT_EQ(run.out.trimmed(), product.value("preview").toString().toUtf8());
}

TEST_F(CliImportMedia, TheWebCopyIsStoredWithThePreviewAndBuildMakesItForOlderProjects) {
    const TCliResult run =
        Run({"import-media", "demo.scp", "--product", kVideoProduct, TMediaFiles::Get().Video()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString preview = QString::fromUtf8(run.out.trimmed());
    const QString webCopy = "preview/" + preview.chopped(4) + ".mp4";
    const TCliResult listed = RunProgram("unzip", {"-l", Project()});
    EXPECT_TRUE(listed.out.contains(("preview/" + preview).toUtf8()));
    EXPECT_TRUE(listed.out.contains(webCopy.toUtf8())) << listed.out.toStdString();

    // A project saved before web copies were made has the FLV alone.
    ASSERT_EQ(RunProgram("zip", {"-d", Project(), webCopy}).exitCode, 0);
    ASSERT_FALSE(RunProgram("unzip", {"-l", Project()}).out.contains(webCopy.toUtf8()));
    const TCliResult built = Run({"build", "demo.scp", "site"});
    ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();
    const QString site = work_.File("site/shoppingcart/");
    const TWebCopyFacts facts = ReadWebCopyFacts(site + webCopy);
    EXPECT_EQ(facts.Streams, (QStringList{"h264,yuv420p", "aac"}));
    EXPECT_TRUE(facts.IndexFirst);
    EXPECT_NEAR(VideoFrameCount(site + webCopy), VideoFrameCount(site + "preview/" + preview), 1);
    EXPECT_TRUE(ReadFile(site + "shopdata.js").contains(preview.toUtf8())) << "the catalogue names the FLV";
}

TEST_F(CliImportMedia, RefusesWhatItCannotImportAndLeavesTheProjectAlone) {
    const QString video = TMediaFiles::Get().Video();
    struct TCase {
        QStringList arguments;
        const char* error;
    };
    const TCase cases[] = {
        {{"--product", "Video/No such film", video}, "There is no product"},
        {{"--product", "Clothing/Classic T-shirt", video}, "is a general product"},
        {{"--product", kVideoProduct, TMediaFiles::Get().Garbage()}, "Unknown format"},
        {{"--product", kVideoProduct, video, "--start", "1500000", "--end", "500000"},
         "End time must be grater then start time."},
    };
    for (const TCase& refused : cases) {
        const TCliResult run = Run(QStringList{"import-media", "demo.scp"} + refused.arguments);
        EXPECT_EQ(run.exitCode, 1) << refused.error;
        EXPECT_TRUE(run.err.contains(refused.error)) << run.err.toStdString();
        ExpectProjectUnchanged();
    }
    EXPECT_EQ(
        Run({"import-media", "demo.scp", "--product", kVideoProduct, video, "--duration", "3 min"}).exitCode,
        2);
}

TEST_F(CliImportMedia, CtrlCCancelsAndLeavesTheProjectFileUnchanged) {
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", data_.Path());
    cli.setProcessEnvironment(environment);
    cli.setWorkingDirectory(work_.Path());
    cli.start(QStringLiteral(TROVECART_CLI),
              {"import-media", "demo.scp", "--product", kVideoProduct, TMediaFiles::Get().LongVideo()});
    ASSERT_TRUE(cli.waitForStarted());
    // Only once the project is open is the import under way; a signal before that ends the
    // program at once, which is another case.
    const QDir temp(data_.File("Corvalen/Trovecart/Temp"));
    QElapsedTimer waited;
    waited.start();
    while (temp.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty() && waited.elapsed() < 20000)
        QThread::msleep(20);
    QThread::msleep(300);
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(cli.readAllStandardError().contains("Task cancalled by user."));
    ExpectProjectUnchanged();
    EXPECT_TRUE(
        QDir(data_.File("Corvalen/Trovecart/Temp")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty())
        << "the command's workspace is gone";
}

} // namespace

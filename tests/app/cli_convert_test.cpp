// Trovecart tests - convert: a preview from the command line, to its end or stopped by Ctrl+C.
#include <csignal>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include "app/cli_runner.h"
#include "support/media_fixtures.h"
#include "support/test_helpers.h"

namespace {

TEST(CliConvert, MakesThePreviewAndPrintsItsNameWithoutProgressOffATerminal) {
    TTempFolder work;
    const TCliResult run =
        RunCli({"convert", TMediaFiles::Get().Video(), "--audio", work.File(QStringLiteral("clip"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString made = work.File(QStringLiteral("clip.mp3"));
    EXPECT_EQ(run.out.trimmed(), made.toLocal8Bit());
    EXPECT_GT(QFileInfo(made).size(), 0);
    // A progress line rewrites itself with '\r'; in a log it is only noise.
    EXPECT_FALSE(run.err.contains('\r')) << run.err.toStdString();
}

TEST(CliConvert, CtrlCStopsTheConversionAndLeavesNoFile) {
    TTempFolder work;
    QProcess cli;
    cli.start(QStringLiteral(TROVECART_CLI),
              {"convert", TMediaFiles::Get().LongVideo(), "--video", work.File(QStringLiteral("clip.flv"))});
    ASSERT_TRUE(cli.waitForStarted());
    // The hidden part file shows the conversion under way; a signal before that ends the program
    // at once, which is another case.
    const QDir folder(work.Path());
    QElapsedTimer waited;
    waited.start();
    while (folder.entryList(QDir::Files | QDir::Hidden).isEmpty() && waited.elapsed() < 20000)
        QThread::msleep(20);
    ASSERT_FALSE(folder.entryList(QDir::Files | QDir::Hidden).isEmpty()) << "the conversion never began";
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(cli.readAllStandardError().contains("Task cancalled by user."));
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden), QStringList());
}

} // namespace

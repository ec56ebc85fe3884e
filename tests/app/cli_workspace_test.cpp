// Trovecart tests - trovecart-cli leaves no workspace behind: not when a signal stops it, not from
// runs that died before.
#include <csignal>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include "app/cli_runner.h"
#include "common/folder_lock.h"
#include "support/hostile_ftp_server.h"
#include "support/test_helpers.h"

namespace {

class CliWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(
            Run({QStringLiteral("new"), QStringLiteral("ClassicBlue"), QStringLiteral("shop.scp")}).exitCode,
            0);
    }

    TCliResult Run(const QStringList& arguments) { return RunCli(arguments, {work_.Path(), data_.Path()}); }
    QString TempFolder() const { return data_.File(QStringLiteral("Corvalen/Trovecart/Temp/")); }
    QStringList TempEntries() const {
        return QDir(TempFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    // A publish run that hangs on a server that never greets, sent the signals once it is connecting
    // from its workspace. Returns its standard error.
    QByteArray PublishAndSignal(const std::vector<int>& signalNumbers, QProcess::ExitStatus expectedStatus) {
        THostileFtpServer server(QStringLiteral("silent"));
        QProcess process;
        process.setWorkingDirectory(work_.Path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), data_.Path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TROVECART_CLI),
                      {QStringLiteral("publish"), QStringLiteral("shop.scp"), QStringLiteral("--ftp"),
                       QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QString::number(server.Port()),
                       QStringLiteral("--passive")});
        // The connection comes after the site is built in the workspace and Ctrl+C is taken over,
        // however long a busy machine takes to get there.
        EXPECT_TRUE(server.WaitForConnection(30000));
        EXPECT_TRUE(QFile::exists(TempFolder() + QStringLiteral("cli-%1-1/").arg(process.processId())));
        for (const int signalNumber : signalNumbers)
            ::kill(static_cast<pid_t>(process.processId()), signalNumber);
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(process.waitForFinished(10000));
        EXPECT_LT(clock.elapsed(), 1500);
        EXPECT_EQ(process.exitStatus(), expectedStatus);
        EXPECT_EQ(TempEntries(), QStringList());
        return process.readAllStandardError();
    }

    TTempFolder data_;
    TTempFolder work_;
};

TEST_F(CliWorkspaceTest, SignalsRemoveTheWorkspace) {
    // The first signal stops the run in order; a second one ends the program at once.
    EXPECT_TRUE(PublishAndSignal({SIGINT}, QProcess::NormalExit).contains("Canceling..."));
    EXPECT_TRUE(PublishAndSignal({SIGTERM}, QProcess::NormalExit).contains("Canceling..."));
    PublishAndSignal({SIGHUP, SIGINT}, QProcess::CrashExit);
}

TEST_F(CliWorkspaceTest, RemovesWorkspacesOfRunsThatAreGoneAndKeepsTheRest) {
    // A command-line run killed outright, and a desktop workspace that may still be recovered.
    const QString dead = TempFolder() + QStringLiteral("cli-999999-1/");
    WriteFile(dead + QStringLiteral("2024-01-01_00-00-00_000/shoppingcart/shop.xml"), "<shop/>");
    WriteFile(TempFolder() + QStringLiteral("cli-999999-1.lock"), "");
    WriteFile(TempFolder() + QStringLiteral("cli-999998-1.lock"), "");
    const QString desktop = TempFolder() + QStringLiteral("2024-01-01_00-00-00_000/shoppingcart/shop.xml");
    WriteFile(desktop, "<shop/>");
    // A command-line run still going on.
    const QString live = TempFolder() + QStringLiteral("cli-1-1/");
    const TFolderLock liveLock(live);
    WriteFile(live + QStringLiteral("keep.txt"), "x");

    ASSERT_EQ(Run({QStringLiteral("info"), QStringLiteral("shop.scp")}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(dead));
    EXPECT_FALSE(QFile::exists(TempFolder() + QStringLiteral("cli-999999-1.lock")));
    EXPECT_FALSE(QFile::exists(TempFolder() + QStringLiteral("cli-999998-1.lock")));
    EXPECT_TRUE(QFile::exists(desktop));
    EXPECT_TRUE(QFile::exists(live + QStringLiteral("keep.txt")));
}

} // namespace

// Trovecart tests - ftp-test and ftp-list against loopback servers.
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "publish_test_support.h"

namespace {

class CliFtpTest : public ::testing::TestWithParam<bool> {
protected:
    CliFtpTest() : server(TFtpTestServer::TFaults{.NoMlsd = !GetParam()}) {
        EnsureCoreApplication();
        WriteFile(passwordFile.File("password"), TFtpTestServer::Password().toUtf8() + "\n");
    }

    QStringList Account(const QString& command) const {
        return {command,
                "--ftp",
                "127.0.0.1",
                "--port",
                QString::number(server.Port()),
                "--user",
                TFtpTestServer::User(),
                "--password-file",
                passwordFile.File("password"),
                "--passive"};
    }

    TFtpTestServer server;
    TTempFolder passwordFile;
};

TEST_P(CliFtpTest, TestReportsTheDialogsMessages) {
    QDir(server.Root()).mkpath("www");
    TCliResult passed = RunCli(Account("ftp-test") << "--remote-dir"
                                                   << "/www/");
    EXPECT_EQ(passed.exitCode, 0) << passed.err.toStdString();
    EXPECT_EQ(passed.out, "Connected to your server successfully!\n");

    TCliResult missing = RunCli(Account("ftp-test") << "--remote-dir"
                                                    << "/nowhere/");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.startsWith("Connected to your server failed.\n")) << missing.out.toStdString();

    QStringList wrong = Account("ftp-test");
    wrong.replace(wrong.indexOf("--password-file"), "--password");
    wrong.replace(wrong.indexOf(passwordFile.File("password")), "not-the-one");
    TCliResult refused = RunCli(wrong);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_FALSE(refused.out.contains("not-the-one") || refused.err.contains("not-the-one"));
}

TEST_P(CliFtpTest, ListPrintsEntriesAsJson) {
    QDir(server.Root()).mkpath("site/inner");
    WriteFile(server.Root() + "site/page.html", QByteArray(1536, 'p'));
    TCliResult listed = RunCli(Account("ftp-list") << "/site/");
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QJsonArray entries = QJsonDocument::fromJson(listed.out).array();
    ASSERT_EQ(entries.size(), 2) << listed.out.toStdString();
    QJsonObject file;
    QJsonObject folder;
    for (const QJsonValue& entry : entries)
        (entry["kind"] == "file" ? file : folder) = entry.toObject();
    EXPECT_EQ(file["name"], "page.html");
    EXPECT_EQ(file["size"].toInteger(), 1536);
    const QDateTime modified = QDateTime::fromString(file["modified"].toString(), Qt::ISODate);
    EXPECT_TRUE(modified.isValid());
    EXPECT_EQ(modified.timeSpec(), Qt::UTC);
    EXPECT_EQ(folder["name"], "inner");
    EXPECT_EQ(folder["kind"], "folder");

    TCliResult missing = RunCli(Account("ftp-list") << "/nowhere/");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Servers, CliFtpTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Mlsd" : "ListOnly";
                         });

} // namespace

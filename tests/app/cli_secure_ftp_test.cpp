// Trovecart tests - ftp-test, ftp-list and publish-site over FTP with TLS and SFTP.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "support/secure_test_server.h"
#include "support/test_helpers.h"

namespace {

struct TServerCase {
    const char* Server;
    const char* Protocol;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TServerCase& value, std::ostream* out) {
    *out << value.Server;
}

class CliSecureFtpTest : public ::testing::TestWithParam<TServerCase> {
protected:
    void SetUp() override {
        server_ = std::make_unique<TSecureTestServer>(QLatin1String(GetParam().Server));
        if (!server_->SkipReason().isEmpty())
            GTEST_SKIP() << server_->SkipReason().toStdString();
        options_.dataHome = dataHome_.Path();
    }

    QStringList Account(const QString& command) const {
        return {command,
                "--ftp",
                "127.0.0.1",
                "--protocol",
                QLatin1String(GetParam().Protocol),
                "--port",
                QString::number(server_->Port()),
                "--user",
                TSecureTestServer::User(),
                "--password",
                TSecureTestServer::Password(),
                "--passive"};
    }
    QStringList Trusted(const QString& command) const {
        return Account(command) << "--trust-fingerprint" << server_->Fingerprint();
    }

    std::unique_ptr<TSecureTestServer> server_;
    TTempFolder dataHome_;
    TRunOptions options_;
};

TEST_P(CliSecureFtpTest, AnUntrustedServerFailsWithItsFingerprintUntilItIsGiven) {
    const TCliResult refused = RunCli(Account("ftp-test") << "--remote-dir" << server_->Folder(), options_);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(("--trust-fingerprint " + server_->Fingerprint()).toUtf8()))
        << refused.err.toStdString();

    const TCliResult listRefused = RunCli(Account("ftp-list") << server_->Folder(), options_);
    EXPECT_EQ(listRefused.exitCode, 1);
    EXPECT_TRUE(listRefused.err.contains(server_->Fingerprint().toUtf8())) << listRefused.err.toStdString();

    const TCliResult passed = RunCli(Trusted("ftp-test") << "--remote-dir" << server_->Folder(), options_);
    EXPECT_EQ(passed.exitCode, 0) << passed.out.toStdString() << passed.err.toStdString();
    EXPECT_EQ(passed.out, "Connected to your server successfully!\n");
}

TEST_P(CliSecureFtpTest, PublishesASiteAndListsIt) {
    TTempFolder site;
    WriteFile(site.File("index.html"), "<html>index</html>");
    WriteFile(site.File("shoppingcart/shop.xml"), "<shop/>");
    const TCliResult published =
        RunCli(Trusted("publish-site") << site.Path() << "--remote-dir" << server_->Folder(), options_);
    EXPECT_EQ(published.exitCode, 0) << published.out.toStdString() << published.err.toStdString();
    EXPECT_EQ(ReadFile(server_->Folder() + "shoppingcart/shop.xml"), QByteArray("<shop/>"));
    // The publish record goes up under a temporary name and is renamed: both protocols can.
    EXPECT_TRUE(QFileInfo::exists(server_->Folder() + ".trovecart-publish.json"));

    const TCliResult listed = RunCli(Trusted("ftp-list") << server_->Folder(), options_);
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    QStringList names;
    // Whether a server lists names starting with '.' is its own choice.
    for (const QJsonValue& entry : QJsonDocument::fromJson(listed.out).array()) {
        if (!entry.toObject().value("name").toString().startsWith('.'))
            names.append(entry.toObject().value("name").toString());
    }
    names.sort();
    EXPECT_EQ(names, QStringList({"index.html", "shoppingcart"}));
}

INSTANTIATE_TEST_SUITE_P(Servers, CliSecureFtpTest,
                         ::testing::Values(TServerCase{"vsftpd", "ftps"}, TServerCase{"sshd", "sftp"}),
                         [](const ::testing::TestParamInfo<TServerCase>& info) {
                             return std::string(info.param.Protocol);
                         });

TEST(CliSecureFtpOptionsTest, WrongProtocolKeyFileOrFingerprintIsAUsageError) {
    const QStringList account = {"ftp-test", "--ftp", "127.0.0.1"};
    for (const QStringList& extra :
         {QStringList{"--protocol", "gopher"}, QStringList{"--protocol", "ftps", "--key-file", "/k"},
          QStringList{"--trust-fingerprint", "SHA256:short"}}) {
        const TCliResult result = RunCli(account + extra);
        EXPECT_EQ(result.exitCode, 2) << extra.join(' ').toStdString() << result.err.toStdString();
    }
}

} // namespace

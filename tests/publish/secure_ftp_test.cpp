// Trovecart tests - FTP with TLS against vsftpd and SFTP against sshd, both on 127.0.0.1.
#include <optional>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include "publish/ftp_account.h"
#include "publish/ftp_client.h"
#include "publish/ftp_thread.h"
#include "publish_test_support.h"
#include "support/scripted_message_service.h"
#include "support/secure_test_server.h"

namespace {

struct TSecureCase {
    const char* Server;
    TFtpProtocol Protocol;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TSecureCase& value, std::ostream* out) {
    *out << value.Server;
}

std::string CaseName(const ::testing::TestParamInfo<TSecureCase>& info) {
    return info.param.Protocol == fpSftp ? "Sftp" : "Ftps";
}

class SecureFtpTest : public ::testing::TestWithParam<TSecureCase> {
protected:
    void SetUp() override {
        EnsureCoreApplication();
        // The known hosts live in the program's data folder: this test's own.
        qputenv("XDG_DATA_HOME", dataHome_.Path().toLocal8Bit());
        server_ = std::make_unique<TSecureTestServer>(QLatin1String(GetParam().Server));
        if (!server_->SkipReason().isEmpty())
            GTEST_SKIP() << server_->SkipReason().toStdString();
    }

    TFtpAccount Account() const {
        TFtpAccount account;
        account.Host = QStringLiteral("127.0.0.1");
        account.Port = server_->Port();
        account.Login = TSecureTestServer::User();
        account.Password = TSecureTestServer::Password();
        account.Passive = true;
        account.Protocol = GetParam().Protocol;
        return account;
    }

    TFtpAccount TrustedAccount() const {
        TFtpAccount account = Account();
        account.Trust(server_->Fingerprint());
        return account;
    }

    static void StoreBytes(TFtpClient& client, const QByteArray& bytes, const QString& path) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        client.Store(buffer, path);
    }

    TTempFolder dataHome_;
    std::unique_ptr<TSecureTestServer> server_;
};

// The untrusted-server error of the call; fails the test when there was none.
template <typename Function> EFtpUntrustedServer UntrustedErrorOf(Function function) {
    try {
        function();
    } catch (const EFtpUntrustedServer& error) {
        return error;
    }
    ADD_FAILURE() << "the server was trusted";
    return EFtpUntrustedServer(QString(), QString());
}

TEST_P(SecureFtpTest, RefusesAnUnknownServerAndWorksOnceItsFingerprintIsTrusted) {
    TFtpClient client;
    ApplyAccount(client, Account());
    const EFtpUntrustedServer refused = UntrustedErrorOf([&] { client.Connect(); });
    EXPECT_EQ(refused.Fingerprint(), server_->Fingerprint());
    EXPECT_FALSE(refused.Reason().isEmpty());
    EXPECT_TRUE(refused.Message().contains(server_->Fingerprint()));
    EXPECT_FALSE(client.Connected());

    ApplyAccount(client, TrustedAccount());
    client.Connect();
    client.ChangeDir(server_->Folder());
    client.MakeDir(QStringLiteral("a \"quoted\" folder"));
    client.ChangeDir(QStringLiteral("a \"quoted\" folder"));
    EXPECT_EQ(client.CurrentDir(), server_->Folder() + QStringLiteral("a \"quoted\" folder/"));
    const QByteArray content = PatternBytes(200000);
    StoreBytes(client, content, QStringLiteral("page one.html"));
    StoreBytes(client, "short", QStringLiteral("page one.html"));
    EXPECT_EQ(ReadFile(client.CurrentDir() + QStringLiteral("page one.html")), QByteArray("short"));
    ASSERT_TRUE(client.FileDate(QStringLiteral("page one.html")).has_value());
    EXPECT_FALSE(client.FileDate(QStringLiteral("missing.html")).has_value());

    client.ChangeDir(server_->Folder());
    const TFtpListing listing = client.List();
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_EQ(listing[0].Name, QStringLiteral("a \"quoted\" folder"));
    EXPECT_TRUE(listing[0].IsFolder);
    client.ChangeDir(QStringLiteral("a \"quoted\" folder"));
    client.Delete(QStringLiteral("page one.html"));
    EXPECT_TRUE(client.List().empty());
    EXPECT_THROW(client.Delete(QStringLiteral("page one.html")), EFtpError);
    EXPECT_THROW(client.ChangeDir(server_->Folder() + QStringLiteral("nowhere")), EFtpError);
}

TEST_P(SecureFtpTest, ATrustedFingerprintOfAnotherServerIsRefused) {
    TFtpAccount account = Account();
    account.Trust(QStringLiteral("SHA256:") + QString(43, QLatin1Char('A')));
    TFtpClient client;
    ApplyAccount(client, account);
    const EFtpUntrustedServer refused = UntrustedErrorOf([&] { client.Connect(); });
    EXPECT_EQ(refused.Fingerprint(), server_->Fingerprint());
    // Trusted for another host, the fingerprint does not count.
    account = TrustedAccount();
    account.TrustedHost = QStringLiteral("example.org");
    ApplyAccount(client, account);
    UntrustedErrorOf([&] { client.Connect(); });
}

TEST_P(SecureFtpTest, ConnectionTestReportsTheFingerprintAndPassesOnceTrusted) {
    const TFtpConnectionTest refused = TestFtpConnection(Account(), server_->Folder());
    EXPECT_FALSE(refused.Passed);
    EXPECT_EQ(refused.UntrustedFingerprint, server_->Fingerprint());
    EXPECT_TRUE(refused.Message.startsWith(QStringLiteral("Connected to your server failed.\r\n")));
    const TFtpConnectionTest passed = TestFtpConnection(TrustedAccount(), server_->Folder());
    EXPECT_TRUE(passed.Passed) << passed.Message.toStdString();
    EXPECT_FALSE(TestFtpConnection(TrustedAccount(), server_->Folder() + QStringLiteral("nowhere/")).Passed);
}

TEST_P(SecureFtpTest, PublishesTheSite) {
    TTempFolder site;
    WriteFile(site.File(QStringLiteral("index.html")), "<html>index</html>");
    WriteFile(site.File(QStringLiteral("shoppingcart/shop.xml")), "<shop/>");
    WriteFile(site.File(QStringLiteral("shoppingcart/preview/clip.flv")), PatternBytes(3 * 1024 * 1024 + 5));
    WriteFile(site.File(QStringLiteral("shoppingcart/image/empty.jpg")), QByteArray());
    TScriptedMessageService messages;
    const auto publish = [&](const TFtpAccount& account) {
        auto* thread = new TFTPThread;
        thread->SetAccount(account);
        thread->SetSourceFolder(site.Path());
        thread->SetTargetFolder(server_->Folder());
        thread->SetEntryFilter(AllButThumbPng);
        return RunPublish(thread);
    };
    const TPublishRecord refused = publish(Account());
    ASSERT_TRUE(refused.Terminated);
    ASSERT_FALSE(refused.Results().empty());
    EXPECT_TRUE(refused.Results().back().Failed);
    EXPECT_TRUE(refused.Results().back().Action.contains(server_->Fingerprint()));
    EXPECT_FALSE(QFile::exists(server_->Folder() + QStringLiteral("index.html")));

    // Active mode is chosen: FTPS goes passive all the same.
    TFtpAccount trusted = TrustedAccount();
    trusted.Passive = false;
    const TPublishRecord record = publish(trusted);
    ASSERT_TRUE(record.Terminated);
    EXPECT_EQ(record.Results().size(), 4u);
    for (const TStatusReport& result : record.Results())
        EXPECT_FALSE(result.Failed) << result.Action.toStdString() << ": " << result.ErrorText.toStdString();
    for (const QString& name :
         {QStringLiteral("index.html"), QStringLiteral("shoppingcart/shop.xml"),
          QStringLiteral("shoppingcart/preview/clip.flv"), QStringLiteral("shoppingcart/image/empty.jpg")})
        EXPECT_EQ(ReadFile(server_->Folder() + name), ReadFile(site.File(name))) << name.toStdString();
}

TEST_P(SecureFtpTest, PublishAsksInTheUiThreadAboutAnUntrustedServerAndGoesOnAfterYes) {
    TTempFolder site;
    WriteFile(site.File(QStringLiteral("index.html")), "<html>index</html>");
    WriteFile(site.File(QStringLiteral("shoppingcart/shop.xml")), "<shop/>");
    TScriptedMessageService messages;
    QStringList asked;
    const auto publish = [&](std::optional<bool> answer) {
        auto* thread = new TFTPThread;
        thread->SetAccount(Account());
        thread->SetSourceFolder(site.Path());
        thread->SetTargetFolder(server_->Folder());
        thread->SetChangedOnly(true);
        if (answer) {
            thread->AskToTrust = [&asked, answer](const QString& host, const QString& reason,
                                                  const QString& fingerprint) {
                EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
                EXPECT_EQ(host, QStringLiteral("127.0.0.1"));
                EXPECT_FALSE(reason.isEmpty());
                asked.append(fingerprint);
                return *answer;
            };
        }
        return RunPublish(thread);
    };

    const TPublishRecord refused = publish(false);
    EXPECT_EQ(asked, QStringList{server_->Fingerprint()});
    ASSERT_EQ(refused.Results().size(), 1u);
    EXPECT_TRUE(refused.Results()[0].Failed);
    EXPECT_TRUE(refused.Results()[0].Action.contains(server_->Fingerprint()));
    EXPECT_FALSE(QFile::exists(server_->Folder() + QStringLiteral("index.html")));

    const TPublishRecord accepted = publish(true);
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(accepted.Results().size(), 2u);
    for (const TStatusReport& result : accepted.Results())
        EXPECT_EQ(result.Outcome, QStringLiteral("Copied")) << result.Action.toStdString();
    EXPECT_EQ(ReadFile(server_->Folder() + QStringLiteral("index.html")), "<html>index</html>");

    // An accepted host key stays known; a certificate's trust is the receiver's to keep.
    const TPublishRecord unasked = publish(std::nullopt);
    EXPECT_EQ(asked.size(), 2);
    ASSERT_FALSE(unasked.Results().empty());
    EXPECT_EQ(unasked.Results().back().Failed, GetParam().Protocol == fpFtps);
    EXPECT_TRUE(messages.Calls().empty()) << "the site's own record spares the overwrite question";
}

TEST_P(SecureFtpTest, RemovalTakesAwayTheFoldersItEmptiedOnly) {
    TTempFolder site;
    for (const char* name : {"index.html", "shoppingcart/old/deeper/a.jpg", "shoppingcart/guarded/b.jpg"})
        WriteFile(site.File(QString::fromLatin1(name)), name);
    TScriptedMessageService messages;
    const auto publish = [&] {
        auto* thread = new TFTPThread;
        thread->SetAccount(TrustedAccount());
        thread->SetSourceFolder(site.Path());
        thread->SetTargetFolder(server_->Folder());
        thread->SetChangedOnly(true);
        thread->SetRemoveOldFiles(true);
        return RunPublish(thread);
    };
    publish();
    WriteFile(server_->Folder() + QStringLiteral("shoppingcart/guarded/.htaccess"), "the user's rules");
    ASSERT_TRUE(QDir(site.File(QStringLiteral("shoppingcart"))).removeRecursively());

    const TPublishRecord run = publish();
    for (const TStatusReport& result : run.Results())
        EXPECT_FALSE(result.Failed) << result.Action.toStdString() << ": " << result.ErrorText.toStdString();
    EXPECT_FALSE(QFileInfo::exists(server_->Folder() + QStringLiteral("shoppingcart/old")));
    EXPECT_TRUE(QFileInfo::exists(server_->Folder() + QStringLiteral("shoppingcart/guarded/.htaccess")));
    EXPECT_TRUE(QFileInfo::exists(server_->Folder() + QStringLiteral("index.html")));
}

INSTANTIATE_TEST_SUITE_P(Protocols, SecureFtpTest,
                         ::testing::Values(TSecureCase{"vsftpd", fpFtps}, TSecureCase{"sshd", fpSftp}),
                         CaseName);

class SftpHostKeyTest : public SecureFtpTest {};

TEST_P(SftpHostKeyTest, KeepsAnAcceptedHostKeyAndRefusesAChangedOne) {
    TFtpClient client;
    ApplyAccount(client, TrustedAccount());
    client.Connect();
    const QByteArray knownHosts = ReadFile(KnownHostsFileName());
    EXPECT_TRUE(
        knownHosts.startsWith("[127.0.0.1]:" + QByteArray::number(server_->Port()) + " ssh-ed25519 "));
    EXPECT_EQ(QFile::permissions(KnownHostsFileName()) & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
              QFileDevice::Permissions());

    // Known now: no fingerprint needed, and nothing added twice.
    TFtpClient again;
    ApplyAccount(again, Account());
    again.Connect();
    EXPECT_EQ(ReadFile(KnownHostsFileName()), knownHosts);

    server_->Rekey();
    TFtpAccount account = Account();
    // Even the new key's own fingerprint does not make a changed key acceptable.
    account.Trust(server_->Fingerprint());
    ApplyAccount(again, account);
    try {
        again.Connect();
        ADD_FAILURE() << "a changed host key was accepted";
    } catch (const EFtpUntrustedServer&) {
        ADD_FAILURE() << "a changed host key was offered for trust";
    } catch (const EFtpError& error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("has changed"))) << error.Message().toStdString();
        EXPECT_TRUE(error.Message().contains(server_->Fingerprint()));
    }
    EXPECT_EQ(ReadFile(KnownHostsFileName()), knownHosts);
}

TEST_P(SftpHostKeyTest, LogsInWithAKeyFile) {
    TFtpAccount account = TrustedAccount();
    account.Password.clear();
    account.KeyFile = server_->KeyFile();
    const TFtpConnectionTest outcome = TestFtpConnection(account, server_->Folder());
    EXPECT_TRUE(outcome.Passed) << outcome.Message.toStdString();
    account.KeyFile = server_->Folder() + QStringLiteral("no-such-key");
    EXPECT_FALSE(TestFtpConnection(account, server_->Folder()).Passed);
}

INSTANTIATE_TEST_SUITE_P(Sshd, SftpHostKeyTest, ::testing::Values(TSecureCase{"sshd", fpSftp}), CaseName);

} // namespace

// Trovecart tests - the FTP client against a real server on 127.0.0.1.
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimeZone>

#include <gtest/gtest.h>

#include "publish/ftp_client.h"
#include "publish_test_support.h"

namespace {

class FtpClientTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { StartServer({}); }
    void TearDown() override {
        client_.reset();
        server_.reset();
    }

    void StartServer(const TFtpTestServer::TFaults& faults) {
        client_.reset();
        server_ = std::make_unique<TFtpTestServer>(faults);
        client_ = std::make_unique<TFtpClient>();
        client_->SetHost(QStringLiteral("127.0.0.1"));
        client_->SetPort(server_->Port());
        client_->SetUsername(TFtpTestServer::User());
        client_->SetPassword(TFtpTestServer::Password());
        client_->SetPassive(GetParam());
    }

    void StoreBytes(const QByteArray& bytes, const QString& path) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        client_->Store(buffer, path);
    }

    std::unique_ptr<TFtpTestServer> server_;
    std::unique_ptr<TFtpClient> client_;
};

// The error's message, or an empty text when the call succeeded.
template <typename Function> QString FtpErrorOf(Function function) {
    try {
        function();
    } catch (const EFtpError& error) {
        return error.Message();
    }
    return QString();
}

TEST_P(FtpClientTest, ConnectsAndKeepsOneControlConnection) {
    EXPECT_FALSE(client_->Connected());
    client_->Connect();
    EXPECT_TRUE(client_->Connected());
    EXPECT_EQ(client_->CurrentDir(), QStringLiteral("/"));
    QDir().mkpath(server_->Root() + QStringLiteral("a/b"));
    client_->ChangeDir(QStringLiteral("/a"));
    client_->ChangeDir(QStringLiteral("b"));
    EXPECT_EQ(client_->CurrentDir(), QStringLiteral("/a/b/"));
    StoreBytes("x", QStringLiteral("f.txt"));
    client_->List();
    EXPECT_EQ(server_->CountInLog(QStringLiteral("logged in")), 1);
    client_->Disconnect();
    EXPECT_FALSE(client_->Connected());
}

TEST_P(FtpClientTest, StoresBinaryContentAndReplacesWithoutAppending) {
    client_->Connect();
    QByteArray binary = PatternBytes(300000);
    binary.append("\r\n\n\r\0\xff", 6);
    qint64 announced = -1;
    qint64 lastDone = -1;
    client_->OnWorkBegin = [&](qint64 total) {
        announced = total;
        lastDone = -1;
    };
    client_->OnWork = [&](qint64 done) {
        EXPECT_GT(done, lastDone);
        lastDone = done;
    };
    StoreBytes(binary, QStringLiteral("/data.bin"));
    EXPECT_EQ(announced, binary.size());
    EXPECT_EQ(lastDone, binary.size());
    EXPECT_EQ(ReadFile(server_->Root() + QStringLiteral("data.bin")), binary);

    StoreBytes("short", QStringLiteral("/data.bin"));
    EXPECT_EQ(ReadFile(server_->Root() + QStringLiteral("data.bin")), QByteArray("short"));
    StoreBytes(QByteArray(), QStringLiteral("/empty.txt"));
    EXPECT_EQ(ReadFile(server_->Root() + QStringLiteral("empty.txt")), QByteArray());
}

TEST_P(FtpClientTest, DirectoryCommandsJudgeTheReplyCodes) {
    client_->Connect();
    client_->MakeDir(QStringLiteral("/new folder"));
    EXPECT_TRUE(QDir(server_->Root() + QStringLiteral("new folder")).exists());
    EXPECT_TRUE(FtpErrorOf([&] { client_->MakeDir(QStringLiteral("/new folder")); }).startsWith("550"));

    const QString missing = FtpErrorOf([&] { client_->ChangeDir(QStringLiteral("/nowhere")); });
    EXPECT_TRUE(missing.startsWith(QStringLiteral("550"))) << missing.toStdString();
    EXPECT_EQ(client_->CurrentDir(), QStringLiteral("/"));

    WriteFile(server_->Root() + QStringLiteral("new folder/old.txt"), "old");
    EXPECT_TRUE(client_->FileDate(QStringLiteral("/new folder/old.txt")).has_value());
    EXPECT_FALSE(client_->FileDate(QStringLiteral("/new folder/none.txt")).has_value());
    client_->Delete(QStringLiteral("/new folder/old.txt"));
    EXPECT_FALSE(QFile::exists(server_->Root() + QStringLiteral("new folder/old.txt")));
    EXPECT_TRUE(
        FtpErrorOf([&] { client_->Delete(QStringLiteral("/new folder/old.txt")); }).startsWith("550"));
}

TEST_P(FtpClientTest, RetrievesAndRenamesFiles) {
    client_->Connect();
    const QByteArray content = PatternBytes(300000);
    StoreBytes(content, QStringLiteral("/record.part"));
    client_->Rename(QStringLiteral("/record.part"), QStringLiteral("record"));
    EXPECT_FALSE(QFile::exists(server_->Root() + QStringLiteral("record.part")));
    EXPECT_EQ(client_->Retrieve(QStringLiteral("/record")), content);

    EXPECT_TRUE(
        FtpErrorOf([&] { client_->Retrieve(QStringLiteral("/missing")); }).startsWith(QStringLiteral("550")));
    EXPECT_TRUE(FtpErrorOf([&] {
                    client_->Rename(QStringLiteral("/missing"), QStringLiteral("/record"));
                }).startsWith(QStringLiteral("550")));
    EXPECT_EQ(ReadFile(server_->Root() + QStringLiteral("record")), content)
        << "a refused rename leaves the target";
    EXPECT_TRUE(client_->Connected());
}

TEST_P(FtpClientTest, FileDateGivesTheModificationTime) {
    WriteFile(server_->Root() + QStringLiteral("dated.txt"), "x");
    const QDateTime stamp(QDate(2021, 6, 15), QTime(10, 20, 30), QTimeZone::utc());
    QFile file(server_->Root() + QStringLiteral("dated.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();
    client_->Connect();
    const std::optional<QDateTime> date = client_->FileDate(QStringLiteral("dated.txt"));
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(*date, stamp);
}

TEST_P(FtpClientTest, ListsTheCurrentDirectory) {
    WriteFile(server_->Root() + QStringLiteral("site/index.html"), PatternBytes(1536));
    WriteFile(server_->Root() + QStringLiteral("site/shoppingcart/shop.xml"), "<shop/>");
    client_->Connect();
    client_->ChangeDir(QStringLiteral("/site/"));
    TFtpListing listing = client_->List();
    std::sort(listing.begin(), listing.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
    ASSERT_EQ(listing.size(), 2u);
    EXPECT_EQ(listing[0].Name, QStringLiteral("index.html"));
    EXPECT_FALSE(listing[0].IsFolder);
    EXPECT_EQ(listing[0].Size, 1536);
    EXPECT_TRUE(listing[0].Modified.isValid());
    EXPECT_EQ(listing[1].Name, QStringLiteral("shoppingcart"));
    EXPECT_TRUE(listing[1].IsFolder);

    client_->ChangeDir(QStringLiteral("/site/shoppingcart"));
    EXPECT_EQ(client_->List().size(), 1u);
    client_->MakeDir(QStringLiteral("/empty"));
    client_->ChangeDir(QStringLiteral("/empty"));
    EXPECT_TRUE(client_->List().empty());
}

TEST_P(FtpClientTest, ListsWithListWhenTheServerHasNoMlsd) {
    StartServer({.NoMlsd = true});
    WriteFile(server_->Root() + QStringLiteral("my page.html"), PatternBytes(1023));
    QDir().mkpath(server_->Root() + QStringLiteral("images"));
    client_->Connect();
    TFtpListing listing = client_->List();
    std::sort(listing.begin(), listing.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
    ASSERT_EQ(listing.size(), 2u);
    EXPECT_EQ(listing[0].Name, QStringLiteral("images"));
    EXPECT_TRUE(listing[0].IsFolder);
    EXPECT_EQ(listing[1].Name, QStringLiteral("my page.html"));
    EXPECT_EQ(listing[1].Size, 1023);
    EXPECT_EQ(server_->CountInLog(QStringLiteral("MLSD")), 0);
}

TEST_P(FtpClientTest, FailuresCarryTheServerOrSystemMessage) {
    client_->SetPassword(QStringLiteral("wrong"));
    const QString login = FtpErrorOf([&] { client_->Connect(); });
    EXPECT_TRUE(login.startsWith(QStringLiteral("530"))) << login.toStdString();
    EXPECT_FALSE(client_->Connected());

    client_->SetPassword(TFtpTestServer::Password());
    client_->Connect();
    const QString store = FtpErrorOf([&] { StoreBytes("x", QStringLiteral("/missing/file.txt")); });
    EXPECT_TRUE(store.startsWith(QStringLiteral("550"))) << store.toStdString();

    const int port = server_->Port();
    server_.reset();
    client_->SetPort(port);
    const QString refused = FtpErrorOf([&] { client_->Connect(); });
    EXPECT_FALSE(refused.isEmpty());
    EXPECT_TRUE(refused.contains(QStringLiteral("connect"), Qt::CaseInsensitive)) << refused.toStdString();
}

TEST_P(FtpClientTest, NamesWithSpacesAndNonAsciiLettersRoundTrip) {
    client_->Connect();
    client_->MakeDir(QStringLiteral("/caf\u00e9 folder "));
    client_->ChangeDir(QStringLiteral("/caf\u00e9 folder "));
    StoreBytes("x", QStringLiteral("price list %20.txt"));
    EXPECT_TRUE(client_->FileDate(QStringLiteral("price list %20.txt")).has_value());
    const TFtpListing listing = client_->List();
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_EQ(listing[0].Name, QStringLiteral("price list %20.txt"));
    EXPECT_EQ(ReadFile(server_->Root() + QStringLiteral("caf\u00e9 folder /price list %20.txt")),
              QByteArray("x"));
}

TEST_P(FtpClientTest, PathsCannotSmuggleCommands) {
    client_->Connect();
    QDir().mkpath(server_->Root() + QStringLiteral("keep"));
    EXPECT_FALSE(FtpErrorOf([&] { client_->MakeDir(QStringLiteral("/x\r\nRMD /keep")); }).isEmpty());
    EXPECT_FALSE(FtpErrorOf([&] { StoreBytes("x", QStringLiteral("/y\nDELE z")); }).isEmpty());
    EXPECT_TRUE(QDir(server_->Root() + QStringLiteral("keep")).exists());
    EXPECT_FALSE(QDir(server_->Root() + QStringLiteral("x")).exists());
}

TEST_P(FtpClientTest, NoticesWhenTheServerClosedTheConnection) {
    StartServer({.DropAfterStores = 1});
    client_->Connect();
    StoreBytes("first", QStringLiteral("/one.txt"));
    QElapsedTimer clock;
    clock.start();
    while (client_->Connected() && clock.elapsed() < 5000)
        QThread::msleep(10);
    EXPECT_FALSE(client_->Connected());
    client_->Connect();
    EXPECT_TRUE(client_->Connected());
    StoreBytes("second", QStringLiteral("/two.txt"));
    EXPECT_EQ(ReadFile(server_->Root() + QStringLiteral("two.txt")), QByteArray("second"));
}

INSTANTIATE_TEST_SUITE_P(DataConnection, FtpClientTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Passive") : std::string("Active");
                         });

} // namespace

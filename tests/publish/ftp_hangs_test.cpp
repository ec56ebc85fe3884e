// Trovecart tests - servers that never answer, crawl or stall neither hold the client nor a publish run.
#include <QBuffer>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include "publish/ftp_client.h"
#include "publish/ftp_thread.h"
#include "publish_test_support.h"

namespace {

// Longer than the client's wait between stop checks, shorter than a slow machine's scheduling hiccup.
constexpr qint64 kStopLatencyMs = 1000;
constexpr int kTestTimeoutSeconds = 1;

// What the client does first, then what it runs into.
void ConnectAndChangeDir(TFtpClient& client) {
    client.Connect();
    client.ChangeDir(QStringLiteral("/"));
}

// Larger than the socket buffers, so that a server that reads nothing stalls its upload. Made
// before a test's clock starts: in the sanitizer build making it takes seconds.
const QByteArray& LargeUpload() {
    static const QByteArray bytes = PatternBytes(32 * 1024 * 1024);
    return bytes;
}

void ConnectAndStoreLargeFile(TFtpClient& client) {
    client.Connect();
    QBuffer buffer;
    buffer.setData(LargeUpload());
    buffer.open(QIODevice::ReadOnly);
    client.Store(buffer, QStringLiteral("/big.bin"));
}

std::unique_ptr<TFtpClient> ClientFor(const THostileFtpServer& server) {
    auto client = std::make_unique<TFtpClient>();
    client->SetHost(QStringLiteral("127.0.0.1"));
    client->SetPort(server.Port());
    client->SetUsername(QStringLiteral("user"));
    client->SetPassword(QStringLiteral("pass"));
    client->SetPassive(true);
    return client;
}

struct THostileCase {
    const char* Behaviour;
    void (*Run)(TFtpClient&);
    // libcurl refuses an overlong reply by itself, before any time-out or stop.
    bool RefusedAtOnce = false;
};

const THostileCase kHostileCases[] = {
    {"silent", ConnectAndChangeDir},     {"mute", ConnectAndChangeDir},
    {"trickle", ConnectAndChangeDir},    {"endless", ConnectAndChangeDir, true},
    {"stall", ConnectAndStoreLargeFile},
};

class FtpHostileServerTest : public ::testing::TestWithParam<THostileCase> {};

TEST_P(FtpHostileServerTest, TimesOutWithAMessage) {
    const THostileFtpServer server(QLatin1String(GetParam().Behaviour));
    const auto client = ClientFor(server);
    client->SetTimeouts({kTestTimeoutSeconds, kTestTimeoutSeconds, kTestTimeoutSeconds});
    LargeUpload();
    QElapsedTimer clock;
    clock.start();
    try {
        GetParam().Run(*client);
        ADD_FAILURE() << "the request succeeded";
    } catch (const EFtpStopped&) {
        ADD_FAILURE() << "stopped without a stop request";
    } catch (const EFtpError& error) {
        EXPECT_FALSE(error.Message().isEmpty());
    }
    // A stalled transfer is judged by libcurl's speed average over the last five seconds.
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_FALSE(client->Connected());
}

TEST_P(FtpHostileServerTest, StopsWithinASecondOfTheRequest) {
    const THostileFtpServer server(QLatin1String(GetParam().Behaviour));
    const auto client = ClientFor(server);
    LargeUpload();
    QElapsedTimer clock;
    clock.start();
    constexpr qint64 kStopAfterMs = 1500;
    client->ShouldStop = [&clock] { return clock.elapsed() >= kStopAfterMs; };
    if (GetParam().RefusedAtOnce)
        EXPECT_THROW(GetParam().Run(*client), EFtpError);
    else
        EXPECT_THROW(GetParam().Run(*client), EFtpStopped);
    EXPECT_LT(clock.elapsed() - kStopAfterMs, kStopLatencyMs);
    EXPECT_FALSE(client->Connected());
}

INSTANTIATE_TEST_SUITE_P(Behaviours, FtpHostileServerTest, ::testing::ValuesIn(kHostileCases),
                         [](const ::testing::TestParamInfo<THostileCase>& info) {
                             return std::string(info.param.Behaviour);
                         });

class FtpThreadStopTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureCoreApplication();
        WriteFile(site_.File(QStringLiteral("a/big.bin")), PatternBytes(32 * 1024 * 1024));
    }

    TFTPThread* NewThread(const THostileFtpServer& server) {
        auto* thread = new TFTPThread;
        thread->SetHost(QStringLiteral("127.0.0.1"));
        thread->SetPort(server.Port());
        thread->SetPassive(true);
        thread->SetSourceFolder(site_.Path());
        thread->SetTargetFolder(QStringLiteral("/"));
        return thread;
    }

    TTempFolder site_;
};

TEST_F(FtpThreadStopTest, AStopDuringAStalledUploadFailsThatFileAndEndsTheRun) {
    const THostileFtpServer server(QStringLiteral("stall"));
    QElapsedTimer sinceStop;
    const auto stopLater = [&](TBaseThread* thread, const TStatusReport& report) {
        if (!report.Busy || !report.Action.endsWith(QLatin1String("big.bin")))
            return;
        // Long enough for the upload to fill the socket buffers and stall.
        QTimer::singleShot(1500, thread, [&sinceStop, thread] {
            thread->Terminate();
            sinceStop.start();
        });
    };
    const TPublishRecord record = RunPublish(NewThread(server), stopLater);
    ASSERT_TRUE(record.Terminated);
    ASSERT_TRUE(sinceStop.isValid());
    EXPECT_LT(sinceStop.elapsed(), kStopLatencyMs);
    const TStatusReport* result = record.ResultFor(QStringLiteral("ftp://127.0.0.1/a/big.bin"));
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->Failed);
    EXPECT_EQ(result->ErrorText, QStringLiteral("Cancled by user."));
    EXPECT_EQ(record.Results().size(), 1u);
}

TEST_F(FtpThreadStopTest, AStopWhileConnectingEndsAsCancelled) {
    const THostileFtpServer server(QStringLiteral("silent"));
    QElapsedTimer sinceStop;
    TFTPThread* thread = NewThread(server);
    QTimer::singleShot(500, [&] {
        thread->Terminate();
        sinceStop.start();
    });
    const TPublishRecord record = RunPublish(thread);
    ASSERT_TRUE(record.Terminated);
    EXPECT_LT(sinceStop.elapsed(), kStopLatencyMs);
    const std::vector<TStatusReport> results = record.Results();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].Action, QStringLiteral("Publish Action"));
    EXPECT_TRUE(results[0].Failed);
    EXPECT_EQ(results[0].ErrorText, QStringLiteral("Cancled by user."));
}

TEST_F(FtpThreadStopTest, AMuteServerFailsTheRunOnceTheReplyTimeOutPasses) {
    const THostileFtpServer server(QStringLiteral("mute"));
    TFTPThread* thread = NewThread(server);
    thread->SetTimeouts({kTestTimeoutSeconds, kTestTimeoutSeconds, kTestTimeoutSeconds});
    const TPublishRecord record = RunPublish(thread, {}, 10000);
    ASSERT_TRUE(record.Terminated);
    const std::vector<TStatusReport> results = record.Results();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].Failed);
    EXPECT_NE(results[0].Action, QStringLiteral("Publish Action"));
}

} // namespace

// Trovecart tests - publishing onto a real FTP server on 127.0.0.1.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "publish/ftp_thread.h"
#include "publish_test_support.h"
#include "support/scripted_message_service.h"

namespace {

const char* const kSiteFiles[] = {"index.html", "shoppingcart/shop.xml", "shoppingcart/index.swf",
                                  "shoppingcart/preview/clip.flv", "shoppingcart/image/empty.jpg"};

class FtpThreadTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        EnsureCoreApplication();
        WriteFile(site_.File(QStringLiteral("index.html")), "<html>index</html>");
        WriteFile(site_.File(QStringLiteral("Thumb.png")), "template picture");
        WriteFile(site_.File(QStringLiteral("shoppingcart/shop.xml")), "<shop/>");
        WriteFile(site_.File(QStringLiteral("shoppingcart/index.swf")), PatternBytes(70000, 'k'));
        WriteFile(site_.File(QStringLiteral("shoppingcart/Thumb.png")), "template picture");
        WriteFile(site_.File(QStringLiteral("shoppingcart/preview/clip.flv")),
                  PatternBytes(2 * 1024 * 1024 + 3));
        WriteFile(site_.File(QStringLiteral("shoppingcart/image/empty.jpg")), QByteArray());
    }
    void TearDown() override { server_.reset(); }

    void StartServer(const TFtpTestServer::TFaults& faults = {}) {
        server_ = std::make_unique<TFtpTestServer>(faults);
    }

    TFTPThread* NewThread(const QString& target) {
        auto* thread = new TFTPThread;
        thread->SetHost(QStringLiteral("127.0.0.1"));
        thread->SetPort(server_->Port());
        thread->SetLogin(TFtpTestServer::User());
        thread->SetPassword(TFtpTestServer::Password());
        thread->SetPassive(GetParam());
        thread->SetSourceFolder(site_.Path());
        thread->SetTargetFolder(target);
        thread->SetEntryFilter(AllButThumbPng);
        return thread;
    }

    QString Action(const QString& remotePath) const { return QStringLiteral("ftp://127.0.0.1") + remotePath; }

    void ExpectSiteArrived(const QString& remoteFolder) const {
        for (const char* name : kSiteFiles) {
            EXPECT_EQ(ReadFile(server_->Root() + remoteFolder + QLatin1String(name)),
                      ReadFile(site_.File(QLatin1String(name))))
                << name;
        }
        EXPECT_FALSE(QFile::exists(server_->Root() + remoteFolder + QStringLiteral("Thumb.png")));
        EXPECT_FALSE(
            QFile::exists(server_->Root() + remoteFolder + QStringLiteral("shoppingcart/Thumb.png")));
        EXPECT_EQ(server_->CountInLog(QStringLiteral("Thumb.png")), 0);
    }

    TTempFolder site_;
    std::unique_ptr<TFtpTestServer> server_;
    TScriptedMessageService messages_;
};

TEST_P(FtpThreadTest, PublishesTheSiteWithItsFolders) {
    StartServer();
    QDir().mkpath(server_->Root() + QStringLiteral("shop"));
    const TPublishRecord record = RunPublish(NewThread(QStringLiteral("\\shop\\")));

    ASSERT_TRUE(record.Terminated);
    EXPECT_TRUE(messages_.Calls().empty());
    ASSERT_GE(record.Status.size(), 2u);
    EXPECT_EQ(record.Status[0].Action, QStringLiteral("Connecting to FTP server..."));
    EXPECT_TRUE(record.Status[0].Busy);
    EXPECT_EQ(record.Status[1].Action, QStringLiteral("Searching..."));
    EXPECT_EQ(record.TotalFiles, 7);
    EXPECT_EQ(record.DoneFiles, 5);
    for (const char* name : kSiteFiles) {
        const TStatusReport* result =
            record.ResultFor(Action(QStringLiteral("/shop/") + QLatin1String(name)));
        ASSERT_NE(result, nullptr) << name;
        EXPECT_FALSE(result->Failed) << name << ": " << result->ErrorText.toStdString();
    }
    ExpectSiteArrived(QStringLiteral("shop/"));
    ASSERT_FALSE(record.FilePercents.empty());
    for (const int percent : record.FilePercents) {
        EXPECT_GE(percent, 0);
        EXPECT_LE(percent, 100);
    }
    EXPECT_NE(std::find(record.FilePercents.begin(), record.FilePercents.end(), 100),
              record.FilePercents.end());
}

TEST_P(FtpThreadTest, ReplacesExistingRemoteFilesAfterTheQuestion) {
    StartServer();
    WriteFile(server_->Root() + QStringLiteral("index.html"),
              "an older and much longer page than the new one");
    messages_.QueueAnswer(mrYes);
    const TPublishRecord record = RunPublish(NewThread(QStringLiteral("/")));
    ASSERT_EQ(messages_.Calls().size(), 1u);
    EXPECT_EQ(messages_.Calls()[0].heading, QStringLiteral("Publish Cart"));
    EXPECT_EQ(record.Results().size(), 5u);
    ExpectSiteArrived(QString());
    EXPECT_EQ(server_->CountInLog(QStringLiteral("DELE ")), 1);
}

TEST_P(FtpThreadTest, NoToTheQuestionSendsNothing) {
    StartServer();
    QDir().mkpath(server_->Root() + QStringLiteral("existing folder"));
    messages_.QueueAnswer(mrNo);
    const TPublishRecord record = RunPublish(NewThread(QStringLiteral("/")));
    ASSERT_EQ(record.Results().size(), 1u);
    EXPECT_EQ(record.Results()[0].Action, QStringLiteral("Publish Action"));
    EXPECT_EQ(record.Results()[0].ErrorText, QStringLiteral("Cancled by user."));
    EXPECT_EQ(server_->CountInLog(QStringLiteral("STOR")), 0);
}

TEST_P(FtpThreadTest, RunFailuresEndTheRunWithTheServersMessage) {
    StartServer();
    TPublishRecord record = RunPublish(NewThread(QStringLiteral("/nowhere/")));
    ASSERT_EQ(record.Results().size(), 1u);
    EXPECT_TRUE(record.Results()[0].Failed);
    EXPECT_TRUE(record.Results()[0].Action.startsWith(QStringLiteral("550")))
        << record.Results()[0].Action.toStdString();
    EXPECT_EQ(record.TotalFiles, 0);

    TFTPThread* thread = NewThread(QStringLiteral("/"));
    thread->SetPassword(QStringLiteral("wrong"));
    record = RunPublish(thread);
    ASSERT_EQ(record.Results().size(), 1u);
    EXPECT_TRUE(record.Results()[0].Failed);
    EXPECT_TRUE(record.Results()[0].Action.startsWith(QStringLiteral("530")))
        << record.Results()[0].Action.toStdString();
    EXPECT_EQ(server_->CountInLog(QStringLiteral("STOR")), 0);
}

TEST_P(FtpThreadTest, AFileTheServerWillNotDeleteFails) {
    StartServer({.RefuseDelete = true});
    WriteFile(server_->Root() + QStringLiteral("index.html"), "kept");
    messages_.QueueAnswer(mrYes);
    const TPublishRecord record = RunPublish(NewThread(QStringLiteral("/")));
    const TStatusReport* refused = record.ResultFor(Action(QStringLiteral("/index.html")));
    ASSERT_NE(refused, nullptr);
    EXPECT_TRUE(refused->Failed);
    EXPECT_EQ(refused->ErrorText, QStringLiteral("550 Delete operation not allowed."));
    EXPECT_EQ(ReadFile(server_->Root() + QStringLiteral("index.html")), QByteArray("kept"));
    const TStatusReport* other = record.ResultFor(Action(QStringLiteral("/shoppingcart/shop.xml")));
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(other->Failed);
}

TEST_P(FtpThreadTest, ADroppedConnectionIsReopenedForTheNextFile) {
    StartServer({.DropAfterStores = 2});
    const TPublishRecord record = RunPublish(NewThread(QStringLiteral("/")));
    for (const TStatusReport& result : record.Results())
        EXPECT_FALSE(result.Failed) << result.Action.toStdString() << ": " << result.ErrorText.toStdString();
    EXPECT_EQ(record.Results().size(), 5u);
    ExpectSiteArrived(QString());
    EXPECT_GE(server_->CountInLog(QStringLiteral("logged in")), 3) << server_->Log().toStdString();
}

TEST_P(FtpThreadTest, CancelFailsTheCurrentFileAndStops) {
    StartServer();
    TFTPThread* thread = NewThread(QStringLiteral("/"));
    // The first file the walk meets; the folders have no dot in their names.
    thread->SetEntryFilter(StopAtEntry(
        thread, [](const QString& name) { return AllButThumbPng(name) && name.contains(QLatin1Char('.')); },
        true));
    const TPublishRecord record = RunPublish(thread);
    ASSERT_TRUE(record.Terminated);
    ASSERT_EQ(record.Results().size(), 1u);
    EXPECT_TRUE(record.Results()[0].Failed);
    EXPECT_EQ(record.Results()[0].ErrorText, QStringLiteral("Cancled by user."));
    EXPECT_EQ(server_->CountInLog(QStringLiteral("STOR")), 0);
}

TEST_P(FtpThreadTest, ARelativeTargetStaysBelowTheLoginDirectory) {
    StartServer();
    QDir().mkpath(server_->Root() + QStringLiteral("www"));
    const TPublishRecord record = RunPublish(NewThread(QStringLiteral("www")));
    EXPECT_EQ(record.Results().size(), 5u);
    ExpectSiteArrived(QStringLiteral("www/"));
    EXPECT_FALSE(QDir(server_->Root() + QStringLiteral("www/www")).exists());
}

INSTANTIATE_TEST_SUITE_P(DataConnection, FtpThreadTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Passive") : std::string("Active");
                         });

} // namespace

// Trovecart tests - reading FTP replies off the control connection.
#include <gtest/gtest.h>

#include "publish/ftp_reply_log.h"

namespace {

TEST(FtpReplyLog, PairsEachCommandWithItsCompleteReply) {
    TFtpReplyLog log;
    log.AddReplyText("220 Welcome\r\n");
    log.AddCommand("FEAT\r\n");
    // A reply may arrive in pieces, with continuation lines that look like final ones.
    log.AddReplyText("211-Features:\r\n MLST type*;size*;\r\n");
    log.AddReplyText(" 211 is not the end\r\n211 End\r\n");
    log.AddCommand("CWD /x");
    log.AddReplyText("550 No such directory.\r\n");
    log.AddCommand("MDTM /y");
    log.AddReplyText("213-");

    const TFtpExchange* feat = log.ReplyTo("FEAT");
    ASSERT_NE(feat, nullptr);
    EXPECT_EQ(feat->Code, 211);
    EXPECT_EQ(feat->Text, QByteArray("211-Features:\n MLST type*;size*;\n 211 is not the end\n211 End"));
    ASSERT_NE(log.ReplyTo("CWD /x"), nullptr);
    EXPECT_EQ(log.ReplyTo("CWD /x")->Code, 550);
    EXPECT_EQ(log.ReplyTo("MDTM /y")->Code, 0) << "an unfinished reply has no code";
    EXPECT_EQ(log.ReplyTo("PWD"), nullptr);
    ASSERT_NE(log.LastRefusal(), nullptr);
    EXPECT_EQ(log.LastRefusal()->Text, QByteArray("550 No such directory."));
}

TEST(FtpReplyLog, KeepsABoundedPartOfAnEndlessReplyAndStillSeesItsEnd) {
    TFtpReplyLog log;
    log.AddCommand("LIST");
    const QByteArray line("150-more and more\r\n");
    for (qsizetype sent = 0; sent < 4 * TFtpReplyLog::kMaxReplyBytes; sent += line.size())
        log.AddReplyText(line);
    log.AddReplyText("\xff\xfe\r\n226 Done\r\n");
    const TFtpExchange* reply = log.ReplyTo("LIST");
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(reply->Code, 226);
    EXPECT_LE(reply->Text.size(), TFtpReplyLog::kMaxReplyBytes + line.size());
}

} // namespace

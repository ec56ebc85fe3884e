// Trovecart - the commands sent on an FTP control connection and the replies read back.
#pragma once

#include <vector>

#include <QByteArray>

// One command and the server's complete reply to it.
struct TFtpExchange {
    // As sent, without the line end; empty for replies nobody asked for (the greeting).
    QByteArray Command;
    // Code of the final reply line; 0 while the reply is incomplete.
    int Code = 0;
    // All reply lines, joined by '\n'; what a server sends beyond kMaxReplyBytes is dropped.
    QByteArray Text;
};

class TFtpReplyLog {
public:
    // A server may send endless continuation lines; this much of one reply is kept.
    static constexpr qsizetype kMaxReplyBytes = 64 * 1024;

    // A command line as sent, line end included or not.
    void AddCommand(const QByteArray& line);
    // Bytes read from the control connection: any number of lines, each ending with LF or CR LF.
    void AddReplyText(const QByteArray& text);

    // The first exchange of exactly that command, or nothing.
    const TFtpExchange* ReplyTo(const QByteArray& command) const;
    // The last error reply of the server (code 400 or above), or nothing.
    const TFtpExchange* LastRefusal() const;

private:
    void AddReplyLine(const QByteArray& line);

    std::vector<TFtpExchange> exchanges_;
};

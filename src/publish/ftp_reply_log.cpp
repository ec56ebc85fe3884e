// Trovecart - FTP reply log.
#include "publish/ftp_reply_log.h"

#include <cctype>

#include <QList>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "123 text": the last line of a reply. "123-text" and anything else continue it.
bool IsFinalLine(const QByteArray& line) {
    return line.size() >= 4 && line[3] == ' ' && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]);
}

} // namespace

void TFtpReplyLog::AddCommand(const QByteArray& line) {
    TFtpExchange exchange;
    exchange.Command = line;
    // Only the line end goes: a path may end with spaces.
    while (exchange.Command.endsWith('\n') || exchange.Command.endsWith('\r'))
        exchange.Command.chop(1);
    exchanges_.push_back(std::move(exchange));
}

void TFtpReplyLog::AddReplyText(const QByteArray& text) {
    for (QByteArray line : text.split('\n')) {
        // Leading spaces stay: a server pads a continuation line that would otherwise look final.
        while (!line.isEmpty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.chop(1);
        if (!line.isEmpty())
            AddReplyLine(line);
    }
}

void TFtpReplyLog::AddReplyLine(const QByteArray& line) {
    if (exchanges_.empty() || exchanges_.back().Code != 0)
        exchanges_.emplace_back();
    TFtpExchange& exchange = exchanges_.back();
    if (exchange.Text.size() <= kMaxReplyBytes) {
        if (!exchange.Text.isEmpty())
            exchange.Text += '\n';
        exchange.Text += line;
    }
    if (IsFinalLine(line))
        exchange.Code = line.left(3).toInt();
}

const TFtpExchange* TFtpReplyLog::ReplyTo(const QByteArray& command) const {
    for (const TFtpExchange& exchange : exchanges_) {
        if (exchange.Command == command)
            return &exchange;
    }
    return nullptr;
}

const TFtpExchange* TFtpReplyLog::LastRefusal() const {
    for (auto it = exchanges_.rbegin(); it != exchanges_.rend(); ++it) {
        if (it->Code >= 400)
            return &*it;
    }
    return nullptr;
}

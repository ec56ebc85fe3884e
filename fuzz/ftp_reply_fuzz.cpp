// Trovecart fuzzing - replies read off an FTP control connection, split at arbitrary points.
#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "publish/ftp_reply_log.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses where the text is cut into the pieces libcurl hands over.
    const size_t piece = 1 + data[0] % 64;
    const QByteArray text(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    TFtpReplyLog log;
    log.AddCommand("USER anonymous\r\n");
    for (qsizetype start = 0; start < text.size(); start += static_cast<qsizetype>(piece))
        log.AddReplyText(text.mid(start, static_cast<qsizetype>(piece)));
    if (const TFtpExchange* reply = log.ReplyTo("USER anonymous")) {
        if (reply->Code < 0 || reply->Code > 999)
            __builtin_trap();
    }
    if (const TFtpExchange* refusal = log.LastRefusal()) {
        if (refusal->Code < 400)
            __builtin_trap();
    }
    return 0;
}

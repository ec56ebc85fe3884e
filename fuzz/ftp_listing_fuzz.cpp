// Trovecart fuzzing - the directory listing parsers take whatever a server sends.
#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QDateTime>

#include "publish/ftp_listing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // A fixed "now" keeps every run of an input the same.
    static const QDateTime now(QDate(2024, 6, 15), QTime(12, 0));
    for (const TFtpListItem& item : ParseListListing(text, now)) {
        if (item.Name.isEmpty() || item.Size < 0)
            __builtin_trap();
    }
    for (const TFtpListItem& item : ParseMlsdListing(text)) {
        if (item.Name.isEmpty())
            __builtin_trap();
    }
    return 0;
}

// Trovecart - time and rate texts.
#include "common/time_texts.h"

#include <mutex>

#include <QLocale>

QString FormatTimeCode(int64_t microseconds) {
    const int64_t seconds = microseconds / 1000000;
    const int64_t hours = seconds / 60 / 60;
    const int64_t minutes = (seconds / 60) % 60;
    const int64_t secondsOfMinute = seconds % 60;
    const int64_t milliseconds = (microseconds % 1000000) * 1000 / 1000000;
    return QString::asprintf("%.2lld:%.2lld:%.2lld.%.3lld", static_cast<long long>(hours),
                             static_cast<long long>(minutes), static_cast<long long>(secondsOfMinute),
                             static_cast<long long>(milliseconds));
}

namespace {

// Up to two decimals, no trailing zeros, no thousands separator.
QString FormatTwoDecimals(double value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'f', 2);
    const QString point = locale.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

// The value divided by the largest power of 1024 (up to the third) that leaves at least 1, with the
// unit of that power. For values of 1024 and above.
QString FormatScaled(double value, const QString& kiloUnit, const QString& megaUnit,
                     const QString& gigaUnit) {
    constexpr double kilo = 1024.0;
    constexpr double mega = 1048576.0;
    constexpr double giga = 1073741824.0;
    if (value < mega)
        return FormatTwoDecimals(value / kilo) + kiloUnit;
    if (value < giga)
        return FormatTwoDecimals(value / mega) + megaUnit;
    return FormatTwoDecimals(value / giga) + gigaUnit;
}

} // namespace

QString FormatRate(double bitsPerSecond) {
    if (bitsPerSecond < 1024.0)
        return QString::number(static_cast<long long>(bitsPerSecond)) + QStringLiteral("Bps");
    return FormatScaled(bitsPerSecond, QStringLiteral(" Kbps"), QStringLiteral(" Mbps"),
                        QStringLiteral(" Gbps"));
}

QString FormatFileSize(qint64 bytes) {
    if (bytes < 1024)
        return QString::number(bytes) + QStringLiteral(" bytes");
    return FormatScaled(static_cast<double>(bytes), QStringLiteral(" Kb"), QStringLiteral(" Mb"),
                        QStringLiteral(" Gb"));
}

QString FormatTimeStamp(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss_zzz"));
}

QString TimeStamp() {
    static std::mutex mutex;
    static qint64 lastMilliseconds = 0;
    std::lock_guard lock(mutex);
    qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now <= lastMilliseconds)
        now = lastMilliseconds + 1;
    lastMilliseconds = now;
    return FormatTimeStamp(QDateTime::fromMSecsSinceEpoch(now));
}

// Trovecart - listing parsers.
#include "publish/ftp_listing.h"

#include <optional>

#include <QList>
#include <QRegularExpression>
#include <QTimeZone>

namespace {

bool IsSelfOrParent(const QString& name) {
    return name == QLatin1String(".") || name == QLatin1String("..");
}

// A name that could stand for a path, or end a command early, when it is sent back to the server.
bool IsUsableName(const QString& name) {
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return !name.isEmpty();
}

// Keeps a parsed entry unless it is the folder itself or its parent; a line that gave no entry with
// a usable name is unreadable.
void Collect(std::optional<TFtpListItem> item, const QString& line, TFtpListing& listing,
             QStringList* unreadable) {
    if (item && IsSelfOrParent(item->Name))
        return;
    if (item && IsUsableName(item->Name)) {
        listing.push_back(std::move(*item));
        return;
    }
    if (unreadable)
        unreadable->append(line);
}

QList<QByteArray> SplitLines(const QByteArray& text) {
    QList<QByteArray> lines;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            lines.append(line);
    }
    return lines;
}

// "YYYYMMDDHHMMSS[.sss]" in UTC.
QDateTime ParseMlsdTime(const QString& value) {
    QDateTime time = QDateTime::fromString(value.left(14), QStringLiteral("yyyyMMddHHmmss"));
    if (!time.isValid())
        return {};
    time.setTimeZone(QTimeZone::utc());
    return time.toLocalTime();
}

std::optional<TFtpListItem> ParseMlsdLine(const QString& line) {
    const int nameStart = line.indexOf(QLatin1Char(' '));
    if (nameStart < 0)
        return std::nullopt;
    TFtpListItem item;
    item.Name = line.mid(nameStart + 1);
    for (const QString& fact : line.left(nameStart).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int equals = fact.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = fact.left(equals).toLower();
        const QString value = fact.mid(equals + 1);
        if (key == QLatin1String("type")) {
            const QString type = value.toLower();
            // The folder itself and its parent carry their paths as names.
            if (type == QLatin1String("cdir") || type == QLatin1String("pdir")) {
                item.Name = type == QLatin1String("cdir") ? QStringLiteral(".") : QStringLiteral("..");
                return item;
            }
            item.IsFolder = type == QLatin1String("dir");
        } else if (key == QLatin1String("size") || key == QLatin1String("sizd")) {
            item.Size = value.toLongLong();
        } else if (key == QLatin1String("modify")) {
            item.Modified = ParseMlsdTime(value);
        }
    }
    return item;
}

int MonthNumber(const QString& name) {
    static const QStringList months = {QStringLiteral("jan"), QStringLiteral("feb"), QStringLiteral("mar"),
                                       QStringLiteral("apr"), QStringLiteral("may"), QStringLiteral("jun"),
                                       QStringLiteral("jul"), QStringLiteral("aug"), QStringLiteral("sep"),
                                       QStringLiteral("oct"), QStringLiteral("nov"), QStringLiteral("dec")};
    return static_cast<int>(months.indexOf(name.toLower())) + 1;
}

// "-rw-r--r--   1 owner group   1234 Jan 31 09:05 name" or "... Jan 31  2023 name"; the group
// column is missing on some servers, so owner and group are matched together.
std::optional<TFtpListItem> ParseUnixLine(const QString& line, const QDateTime& now) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^([-dlcbps])\S{9}\S*\s+\d+\s+.+?\s+(\d+)\s+)"
                       R"(([A-Za-z]{3})\s+(\d{1,2})\s+(\d{1,2}:\d{2}|\d{4})\s(.+)$)"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    TFtpListItem item;
    const QChar type = match.captured(1).at(0);
    item.IsFolder = type == QLatin1Char('d');
    item.Size = match.captured(2).toLongLong();
    item.Name = match.captured(6);
    if (type == QLatin1Char('l')) {
        const int arrow = item.Name.indexOf(QLatin1String(" -> "));
        if (arrow >= 0)
            item.Name = item.Name.left(arrow);
    }

    const int month = MonthNumber(match.captured(3));
    const int day = match.captured(4).toInt();
    const QString yearOrTime = match.captured(5);
    if (month > 0) {
        if (yearOrTime.contains(QLatin1Char(':'))) {
            // No year: the date lies within the last year; one in the future belongs to last year.
            const QTime time =
                QTime::fromString(yearOrTime.rightJustified(5, QLatin1Char('0')), QStringLiteral("HH:mm"));
            QDateTime stamp(QDate(now.date().year(), month, day), time);
            if (stamp.isValid() && stamp > now.addDays(1))
                stamp = QDateTime(QDate(now.date().year() - 1, month, day), time);
            item.Modified = stamp;
        } else {
            item.Modified = QDateTime(QDate(yearOrTime.toInt(), month, day), QTime(0, 0));
        }
    }
    return item;
}

// "01-31-24  09:05AM       <DIR>          name" or "01-31-2024  21:05  1234 name".
std::optional<TFtpListItem> ParseDosLine(const QString& line) {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(\d{2})-(\d{2})-(\d{2,4})\s+(\d{1,2}):(\d{2})\s*([AaPp][Mm])?\s+(<DIR>|\d+)\s+(.+)$)"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    TFtpListItem item;
    item.Name = match.captured(8);
    item.IsFolder = match.captured(7).compare(QLatin1String("<DIR>"), Qt::CaseInsensitive) == 0;
    if (!item.IsFolder)
        item.Size = match.captured(7).toLongLong();

    int year = match.captured(3).toInt();
    if (match.captured(3).size() == 2)
        year += year < 70 ? 2000 : 1900;
    int hour = match.captured(4).toInt();
    const QString meridiem = match.captured(6).toUpper();
    if (meridiem == QLatin1String("PM") && hour < 12)
        hour += 12;
    else if (meridiem == QLatin1String("AM") && hour == 12)
        hour = 0;
    item.Modified = QDateTime(QDate(year, match.captured(1).toInt(), match.captured(2).toInt()),
                              QTime(hour, match.captured(5).toInt()));
    return item;
}

} // namespace

TFtpListing ParseMlsdListing(const QByteArray& text, QStringList* unreadable) {
    TFtpListing listing;
    for (const QByteArray& raw : SplitLines(text)) {
        const QString line = QString::fromUtf8(raw);
        Collect(ParseMlsdLine(line), line, listing, unreadable);
    }
    return listing;
}

TFtpListing ParseListListing(const QByteArray& text, const QDateTime& now, QStringList* unreadable) {
    static const QRegularExpression total(QStringLiteral(R"(^total\s+\d+\s*$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    TFtpListing listing;
    for (const QByteArray& raw : SplitLines(text)) {
        const QString line = QString::fromUtf8(raw);
        if (total.match(line).hasMatch())
            continue;
        std::optional<TFtpListItem> item = ParseUnixLine(line, now);
        if (!item)
            item = ParseDosLine(line);
        Collect(std::move(item), line, listing, unreadable);
    }
    return listing;
}

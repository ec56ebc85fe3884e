// Trovecart - the extra option lines of the engine's option sets.
#include "media/extra_options.h"

#include <QStringList>

QList<TExtraOption> ParseExtraOptions(const QString& text) {
    QString normalized = text;
    normalized.replace(QStringLiteral("<CRLF>"), QStringLiteral("\n"));
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QList<TExtraOption> options;
    for (const QString& rawLine : normalized.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty())
            continue;
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            options.append({line, QString()});
        else
            options.append({line.left(equals).trimmed(), line.mid(equals + 1).trimmed()});
    }
    return options;
}

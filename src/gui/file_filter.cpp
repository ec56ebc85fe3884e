// Trovecart - file dialog filters.
#include "gui/file_filter.h"

#include <QStringList>

namespace {

QStringList CaseVariants(const QString& pattern) {
    QStringList variants = {pattern.toLower(), pattern.toUpper()};
    const qsizetype dot = pattern.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && dot + 1 < pattern.size())
        variants << pattern.left(dot + 1).toLower() + pattern.at(dot + 1).toUpper() +
                        pattern.mid(dot + 2).toLower();
    variants.removeDuplicates();
    return variants;
}

} // namespace

QString QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns += CaseVariants(pattern.trimmed());
        filters << parts.at(i) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

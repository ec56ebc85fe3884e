// Trovecart - locale numbers.
#include "common/locale_number.h"

#include <cmath>

#include <QLocale>

QString FormatLocaleReal(double value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

std::optional<double> ParseLocaleReal(const QString& text) {
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> ParseNonNegative(const QString& text) {
    const std::optional<double> value = ParseLocaleReal(text);
    if (!value || *value < 0)
        return std::nullopt;
    return value;
}

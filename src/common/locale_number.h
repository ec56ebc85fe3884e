// Trovecart - real numbers as text in the user's locale (files and edit fields alike).
#pragma once

#include <optional>
#include <string_view>

#include <QString>

// Up to 15 significant digits, no thousands separator, the locale's decimal separator.
QString FormatLocaleReal(double value);

// Reads a finite number written with the locale's decimal separator; thousands separators are
// refused so that a number written under another locale is never misread.
std::optional<double> ParseLocaleReal(const QString& text);
// The same for UTF-8 text, as documents hold it.
std::optional<double> ParseLocaleRealUtf8(std::string_view text);

// A number that is 0 or more; what the price, discount and shipping fields accept.
std::optional<double> ParseNonNegative(const QString& text);

// Trovecart - locale numbers.
#include "common/locale_number.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <iterator>

#include <QLocale>

namespace {

// Asking QLocale for a number costs thousands of instructions (the system locale is queried for
// its symbols on every call), which dominates loading and saving a large shop. Numbers whose text
// uses ASCII digits and signs are therefore converted here with the separator read once per
// default locale; anything else still goes through QLocale.
struct TNumberSymbols {
    QLocale Locale;
    // The locale's decimal separator and exponent letter; 0 when the locale writes numbers with
    // other digits or signs, so that only QLocale can convert them.
    char DecimalPoint = 0;
    char Exponential = 0;
};

char SingleAsciiSymbol(const QString& symbol) {
    if (symbol.size() != 1 || symbol.at(0).unicode() >= 0x80)
        return 0;
    return static_cast<char>(symbol.at(0).unicode());
}

TNumberSymbols ReadSymbols(const QLocale& locale) {
    TNumberSymbols symbols;
    symbols.Locale = locale;
    if (locale.zeroDigit() != QLatin1String("0") || locale.negativeSign() != QLatin1String("-") ||
        locale.positiveSign() != QLatin1String("+"))
        return symbols;
    const char decimalPoint = SingleAsciiSymbol(locale.decimalPoint());
    const char exponential = SingleAsciiSymbol(locale.exponential());
    if (decimalPoint && exponential && !std::isdigit(static_cast<unsigned char>(decimalPoint))) {
        symbols.DecimalPoint = decimalPoint;
        symbols.Exponential = exponential;
    }
    return symbols;
}

// The symbols of the current default locale; tests and users may change it at any time.
const TNumberSymbols& CurrentSymbols() {
    thread_local std::optional<TNumberSymbols> cached;
    const QLocale current;
    if (!cached || !(cached->Locale == current))
        cached = ReadSymbols(current);
    return *cached;
}

// True when the 15 significant digits of `value` might end on an exact tie (the exact decimal value
// is those digits followed by one 5): QLocale rounds a tie away from zero, std::to_chars to even.
// Double spacing is finer than the 15th digit, so a tie's shortest round-trip text is that exact
// value, 16 digits ending in 5; only such values are left to QLocale.
bool MayEndOnTie(double value) {
    char text[64];
    const std::to_chars_result result =
        std::to_chars(std::begin(text), std::end(text), std::fabs(value), std::chars_format::scientific);
    const char* exponent = std::find(text, result.ptr, 'e');
    // "d.ddd…e±xx" holds 16 significant digits when the exponent letter sits at offset 17.
    return result.ec != std::errc() || (exponent - text == 17 && exponent[-1] == '5');
}

std::optional<QString> FormatAscii(double value, const TNumberSymbols& symbols) {
    if (!symbols.DecimalPoint || !std::isfinite(value) || MayEndOnTie(value))
        return std::nullopt;
    // QLocale writes no sign on a negative zero.
    if (value == 0)
        return QStringLiteral("0");
    char text[64];
    const std::to_chars_result result =
        std::to_chars(std::begin(text), std::end(text), value, std::chars_format::general, 15);
    if (result.ec != std::errc())
        return std::nullopt;
    std::replace(text, result.ptr, '.', symbols.DecimalPoint);
    std::replace(text, result.ptr, 'e', symbols.Exponential);
    return QString::fromLatin1(text, result.ptr - text);
}

// Reads "-ddd" or "-ddd<separator>ddd" (sign optional) from QChar or UTF-8 text, surrounded by
// ASCII white space at most; false for any other text.
template <class TChar>
bool ParseAscii(const TChar* begin, const TChar* end, const TNumberSymbols& symbols, double& value) {
    const auto isSpace = [](TChar character) {
        return character == ' ' || (character >= '\t' && character <= '\r');
    };
    while (begin < end && isSpace(*begin))
        ++begin;
    while (end > begin && isSpace(end[-1]))
        --end;
    char digits[64];
    if (!symbols.DecimalPoint || begin == end || end - begin >= static_cast<std::ptrdiff_t>(sizeof digits))
        return false;
    size_t length = 0;
    bool separatorSeen = false;
    bool digitBefore = false;
    bool digitAfter = false;
    for (const TChar* at = begin; at < end; ++at) {
        const TChar character = *at;
        if (character >= '0' && character <= '9') {
            digits[length++] = static_cast<char>(character);
            (separatorSeen ? digitAfter : digitBefore) = true;
        } else if (character == '-' && at == begin) {
            digits[length++] = '-';
        } else if (character == static_cast<TChar>(symbols.DecimalPoint) && !separatorSeen && digitBefore) {
            digits[length++] = '.';
            separatorSeen = true;
        } else {
            return false;
        }
    }
    if (!digitBefore || (separatorSeen && !digitAfter))
        return false;
    const std::from_chars_result result = std::from_chars(digits, digits + length, value);
    return result.ec == std::errc() && result.ptr == digits + length && std::isfinite(value);
}

std::optional<double> ParseWithQLocale(const QString& text, const TNumberSymbols& symbols) {
    QLocale locale = symbols.Locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(QStringView(text).trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

QString FormatLocaleReal(double value) {
    const TNumberSymbols& symbols = CurrentSymbols();
    if (std::optional<QString> text = FormatAscii(value, symbols))
        return *text;
    QLocale locale = symbols.Locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

std::optional<double> ParseLocaleReal(const QString& text) {
    const TNumberSymbols& symbols = CurrentSymbols();
    const auto* begin = text.utf16();
    double value = 0;
    if (ParseAscii(begin, begin + text.size(), symbols, value))
        return value;
    return ParseWithQLocale(text, symbols);
}

std::optional<double> ParseLocaleRealUtf8(std::string_view text) {
    const TNumberSymbols& symbols = CurrentSymbols();
    double value = 0;
    if (ParseAscii(text.data(), text.data() + text.size(), symbols, value))
        return value;
    return ParseWithQLocale(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), symbols);
}

std::optional<double> ParseNonNegative(const QString& text) {
    const std::optional<double> value = ParseLocaleReal(text);
    if (!value || *value < 0)
        return std::nullopt;
    return value;
}

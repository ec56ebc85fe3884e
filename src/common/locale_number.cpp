// Trovecart - locale numbers.
#include "common/locale_number.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

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

// Writes `value` as printf's "%.15g" does and returns the end of the text, or null when the 15th
// digit may end on an exact tie, which QLocale rounds away from zero and printf to even. The
// reasoning below needs all 53 bits of precision: subnormal values are left to QLocale as well.
char* FormatGeneral15(double value, char* out, char* end) {
    if (std::fabs(value) < std::numeric_limits<double>::min())
        return nullptr;
    // The shortest text that reads back as `value`, "d.ddde±x", has no trailing zeros.
    char shortest[32];
    const std::to_chars_result result = std::to_chars(std::begin(shortest), std::end(shortest),
                                                      std::fabs(value), std::chars_format::scientific);
    if (result.ec != std::errc())
        return nullptr;
    char digits[17];
    int count = 0;
    const char* at = shortest;
    for (; *at != 'e'; ++at) {
        if (*at != '.')
            digits[count++] = *at;
    }
    int exponent = 0;
    std::from_chars(at + (at[1] == '+' ? 2 : 1), result.ptr, exponent);
    if (count > 15) {
        // Doubles are spaced finer than the 15th digit, so a tie's shortest text is the tie itself:
        // 16 digits ending in 5.
        if (count == 16 && digits[15] == '5')
            return nullptr;
        return std::to_chars(out, end, value, std::chars_format::general, 15).ptr;
    }
    // For the same reason, up to 15 shortest digits are the value rounded to 15 digits.
    if (value < 0)
        *out++ = '-';
    if (exponent < -4 || exponent >= 15) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = '.';
            out = std::copy(digits + 1, digits + count, out);
        }
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        if (std::abs(exponent) < 10)
            *out++ = '0';
        return std::to_chars(out, end, std::abs(exponent)).ptr;
    }
    if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -exponent - 1, '0');
        return std::copy(digits, digits + count, out);
    }
    for (int i = 0; i <= exponent; ++i)
        *out++ = i < count ? digits[i] : '0';
    if (count > exponent + 1) {
        *out++ = '.';
        out = std::copy(digits + exponent + 1, digits + count, out);
    }
    return out;
}

std::optional<QString> FormatAscii(double value, const TNumberSymbols& symbols) {
    if (!symbols.DecimalPoint || !std::isfinite(value))
        return std::nullopt;
    // QLocale writes no sign on a negative zero.
    if (value == 0)
        return QStringLiteral("0");
    char text[64];
    char* end = FormatGeneral15(value, std::begin(text), std::end(text));
    if (!end)
        return std::nullopt;
    std::replace(text, end, '.', symbols.DecimalPoint);
    std::replace(text, end, 'e', symbols.Exponential);
    return QString::fromLatin1(text, end - text);
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
    const char16_t* begin = QStringView(text).utf16();
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

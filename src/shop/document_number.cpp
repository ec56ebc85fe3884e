// Trovecart - real numbers in shop documents.
#include "shop/document_number.h"

#include <charconv>
#include <cmath>
#include <iterator>

namespace {

bool IsAsciiSpace(char character) {
    return character == ' ' || (character >= '\t' && character <= '\r');
}

} // namespace

QString FormatDocumentReal(double value) {
    // No "-0", and nothing that no reader understands.
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    char text[32];
    char* end = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::general, 15).ptr;
    double readBack = 0;
    std::from_chars(text, end, readBack);
    if (readBack != value)
        end = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::general, 17).ptr;
    return QString::fromLatin1(text, end - text);
}

std::optional<double> ParseDocumentReal(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back()))
        text.remove_suffix(1);
    // from_chars takes no leading '+'.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    char digits[64];
    if (text.empty() || text.size() >= sizeof digits)
        return std::nullopt;
    bool separatorSeen = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char character = text[i];
        if (character == ',' || character == '.') {
            if (separatorSeen)
                return std::nullopt;
            separatorSeen = true;
            character = '.';
        } else if (!(character >= '0' && character <= '9') && character != '-' && character != '+' &&
                   character != 'e' && character != 'E') {
            return std::nullopt;
        }
        digits[i] = character;
    }
    double value = 0;
    const std::from_chars_result result =
        std::from_chars(digits, digits + text.size(), value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != digits + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

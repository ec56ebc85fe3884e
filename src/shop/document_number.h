// Trovecart - real numbers in shop documents: the same text on every machine.
#pragma once

#include <optional>
#include <string_view>

#include <QString>

// ASCII digits and '.', no thousands separator: 15 significant digits, or 17 where 15 would not
// read back as the same value.
QString FormatDocumentReal(double value);

// ASCII digits with '.' or ',' as the decimal separator (older copies wrote the locale's), an
// optional sign and exponent, white space around. No thousands separators and no other digits;
// nothing for any other text or for a value that is not finite.
std::optional<double> ParseDocumentReal(std::string_view text);

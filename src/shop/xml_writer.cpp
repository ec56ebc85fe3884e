// Trovecart - an XML document written element by element straight to a device.
#include "shop/xml_writer.h"

#include <array>
#include <charconv>

#include <QIODevice>

#include "shop/shop_error.h"

namespace {

struct TEscapeTables {
    std::array<bool, 256> Text{};
    std::array<bool, 256> Attribute{};
};

// Control characters become numeric references in both; line feeds and tabs survive as they are
// in text but not in attributes, where a reader would normalise them to spaces. A raw carriage
// return would read back as a line feed.
constexpr TEscapeTables MakeEscapeTables() {
    TEscapeTables tables;
    for (int code = 1; code < 0x20; ++code) {
        tables.Attribute[code] = true;
        tables.Text[code] = code != '\t' && code != '\n';
    }
    for (const char special : {'&', '<'})
        tables.Text[static_cast<unsigned char>(special)] =
            tables.Attribute[static_cast<unsigned char>(special)] = true;
    tables.Text['>'] = true;
    tables.Attribute['"'] = true;
    return tables;
}

constexpr TEscapeTables kEscape = MakeEscapeTables();

bool IsAllWhitespace(std::string_view utf8) {
    return utf8.find_first_not_of(" \t\n\r") == std::string_view::npos;
}

// The reference that stands for an escaped character; `digits` holds a numeric one.
std::string_view ReferenceTo(unsigned char code, std::array<char, 5>& digits) {
    switch (code) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    default:
        digits = {'&', '#', static_cast<char>('0' + code / 10), static_cast<char>('0' + code % 10), ';'};
        return {digits.data(), digits.size()};
    }
}

} // namespace

TXmlWriter::TXmlWriter(QIODevice& device, std::string_view indent)
    : device_(device), indent_(indent), lineStart_("\n"), buffer_(new char[kBufferSize]) {
    Put(R"(<?xml version="1.0" encoding="UTF-8"?>)");
    breakBeforeTag_ = true;
}

void TXmlWriter::StartElement(std::string_view name) {
    CloseStartTag();
    BreakLine(openElements_.size());
    Put('<');
    Put(name);
    openElements_.emplace_back(name);
    startTagOpen_ = true;
    breakBeforeTag_ = true;
}

void TXmlWriter::Attribute(std::string_view name, std::string_view utf8Value) {
    Put(' ');
    Put(name);
    Put("=\"");
    AppendEscaped(utf8Value, kEscape.Attribute.data());
    Put('"');
}

void TXmlWriter::Attribute(std::string_view name, int value) {
    std::array<char, 16> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    Attribute(name, std::string_view(digits.data(), static_cast<size_t>(end - digits.data())));
}

void TXmlWriter::Text(std::string_view utf8) {
    CloseStartTag();
    // Readers drop text of nothing but whitespace as layout; a reference makes it content.
    if (!utf8.empty() && IsAllWhitespace(utf8)) {
        std::array<char, 5> digits{};
        Put(ReferenceTo(static_cast<unsigned char>(utf8.front()), digits));
        utf8.remove_prefix(1);
    }
    AppendEscaped(utf8, kEscape.Text.data());
    breakBeforeTag_ = false;
}

void TXmlWriter::CData(std::string_view utf8) {
    CloseStartTag();
    Put("<![CDATA[");
    Put(utf8);
    Put("]]>");
    breakBeforeTag_ = false;
}

void TXmlWriter::EndElement() {
    if (startTagOpen_) {
        Put(" />");
        startTagOpen_ = false;
    } else {
        BreakLine(openElements_.size() - 1);
        Put("</");
        Put(openElements_.back());
        Put('>');
    }
    openElements_.pop_back();
    breakBeforeTag_ = true;
}

void TXmlWriter::Finish() {
    while (!openElements_.empty())
        EndElement();
    if (breakBeforeTag_)
        Put('\n');
    WriteBuffer();
    if (failed_)
        throw EShopError(device_.errorString());
}

void TXmlWriter::CloseStartTag() {
    if (startTagOpen_) {
        Put('>');
        startTagOpen_ = false;
    }
}

void TXmlWriter::BreakLine(size_t depth) {
    if (!breakBeforeTag_)
        return;
    const size_t length = 1 + depth * indent_.size();
    while (lineStart_.size() < length)
        lineStart_ += indent_;
    Put(std::string_view(lineStart_).substr(0, length));
}

void TXmlWriter::AppendEscaped(std::string_view utf8, const bool* escaped) {
    size_t runStart = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto code = static_cast<unsigned char>(utf8[i]);
        if (!escaped[code])
            continue;
        Put(utf8.substr(runStart, i - runStart));
        std::array<char, 5> digits{};
        Put(ReferenceTo(code, digits));
        runStart = i + 1;
    }
    Put(utf8.substr(runStart));
}

void TXmlWriter::PutLarge(std::string_view bytes) {
    WriteBuffer();
    if (bytes.size() > kBufferSize) {
        WriteOut(bytes);
        return;
    }
    std::memcpy(buffer_.get(), bytes.data(), bytes.size());
    used_ = bytes.size();
}

void TXmlWriter::WriteBuffer() {
    WriteOut({buffer_.get(), used_});
    used_ = 0;
}

void TXmlWriter::WriteOut(std::string_view bytes) {
    const auto size = static_cast<qint64>(bytes.size());
    if (!failed_ && size > 0 && device_.write(bytes.data(), size) != size)
        failed_ = true;
}

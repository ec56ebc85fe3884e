// Trovecart - an XML document written element by element straight to a device.
#include "shop/xml_writer.h"

#include <array>
#include <charconv>

#include <QIODevice>

#include "shop/shop_error.h"

namespace {

// Large enough that a big document costs a few dozen writes, small enough to stay in the cache.
constexpr size_t kFlushSize = 256 * 1024;

struct TEscapeTables {
    std::array<bool, 256> Text{};
    std::array<bool, 256> Attribute{};
};

// Control characters become numeric references in both; line breaks and tabs survive as they are
// in text but not in attributes, where a reader would normalise them to spaces.
constexpr TEscapeTables MakeEscapeTables() {
    TEscapeTables tables;
    for (int code = 1; code < 0x20; ++code) {
        tables.Attribute[code] = true;
        tables.Text[code] = code != '\t' && code != '\n' && code != '\r';
    }
    for (const char special : {'&', '<'})
        tables.Text[static_cast<unsigned char>(special)] =
            tables.Attribute[static_cast<unsigned char>(special)] = true;
    tables.Text['>'] = true;
    tables.Attribute['"'] = true;
    return tables;
}

constexpr TEscapeTables kEscape = MakeEscapeTables();

void AppendReference(std::string& out, unsigned char code) {
    switch (code) {
    case '&':
        out += "&amp;";
        break;
    case '<':
        out += "&lt;";
        break;
    case '>':
        out += "&gt;";
        break;
    case '"':
        out += "&quot;";
        break;
    default:
        out += "&#";
        out += static_cast<char>('0' + code / 10);
        out += static_cast<char>('0' + code % 10);
        out += ';';
    }
}

} // namespace

TXmlWriter::TXmlWriter(QIODevice& device, std::string_view indent) : device_(device), indent_(indent) {
    buffer_.reserve(kFlushSize + 64 * 1024);
    buffer_ += R"(<?xml version="1.0" encoding="UTF-8"?>)";
    breakBeforeTag_ = true;
}

void TXmlWriter::StartElement(std::string_view name) {
    CloseStartTag();
    BreakLine(openElements_.size());
    buffer_ += '<';
    buffer_ += name;
    openElements_.emplace_back(name);
    startTagOpen_ = true;
    breakBeforeTag_ = true;
}

void TXmlWriter::Attribute(std::string_view name, std::string_view utf8Value) {
    buffer_ += ' ';
    buffer_ += name;
    buffer_ += "=\"";
    AppendEscaped(utf8Value, kEscape.Attribute.data());
    buffer_ += '"';
}

void TXmlWriter::Attribute(std::string_view name, int value) {
    std::array<char, 16> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    Attribute(name, std::string_view(digits.data(), static_cast<size_t>(end - digits.data())));
}

void TXmlWriter::Text(std::string_view utf8) {
    CloseStartTag();
    AppendEscaped(utf8, kEscape.Text.data());
    breakBeforeTag_ = false;
    FlushWhenFull();
}

void TXmlWriter::CData(std::string_view utf8) {
    CloseStartTag();
    buffer_ += "<![CDATA[";
    buffer_ += utf8;
    buffer_ += "]]>";
    breakBeforeTag_ = false;
    FlushWhenFull();
}

void TXmlWriter::EndElement() {
    if (startTagOpen_) {
        buffer_ += " />";
        startTagOpen_ = false;
    } else {
        BreakLine(openElements_.size() - 1);
        buffer_ += "</";
        buffer_ += openElements_.back();
        buffer_ += '>';
    }
    openElements_.pop_back();
    breakBeforeTag_ = true;
    FlushWhenFull();
}

void TXmlWriter::Finish() {
    while (!openElements_.empty())
        EndElement();
    if (breakBeforeTag_)
        buffer_ += '\n';
    WriteBuffer();
    if (failed_)
        throw EShopError(device_.errorString());
}

void TXmlWriter::CloseStartTag() {
    if (startTagOpen_) {
        buffer_ += '>';
        startTagOpen_ = false;
    }
}

void TXmlWriter::BreakLine(size_t depth) {
    if (!breakBeforeTag_)
        return;
    buffer_ += '\n';
    for (size_t level = 0; level < depth; ++level)
        buffer_ += indent_;
}

void TXmlWriter::AppendEscaped(std::string_view utf8, const bool* escaped) {
    size_t runStart = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto code = static_cast<unsigned char>(utf8[i]);
        if (!escaped[code])
            continue;
        buffer_.append(utf8.data() + runStart, i - runStart);
        AppendReference(buffer_, code);
        runStart = i + 1;
    }
    buffer_.append(utf8.data() + runStart, utf8.size() - runStart);
}

void TXmlWriter::FlushWhenFull() {
    if (buffer_.size() >= kFlushSize)
        WriteBuffer();
}

void TXmlWriter::WriteBuffer() {
    const auto size = static_cast<qint64>(buffer_.size());
    if (!failed_ && device_.write(buffer_.data(), size) != size)
        failed_ = true;
    buffer_.clear();
}

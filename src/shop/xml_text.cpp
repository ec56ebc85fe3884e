// Trovecart - element text and attribute helpers.
#include "shop/xml_text.h"

#include <algorithm>
#include <array>
#include <cstring>

#include <QFileInfo>

#include "common/file_utils.h"
#include "shop/document_notes.h"
#include "shop/shop_error.h"

namespace {

QString ElementName(const pugi::xml_node& element) {
    return FromXml(element.name());
}

bool IsForbiddenControl(char character) {
    const auto code = static_cast<unsigned char>(character);
    return code < 0x20 && code != '\t' && code != '\n' && code != '\r';
}

// Text in the thread's scratch buffer, and whether it may hold control characters.
struct TScratchText {
    const std::string& Utf8;
    bool MayHoldControls;
};

// What NarrowAscii saw: every bit any character set, and the top bit set when a character lies
// below the first printable one (as it does for characters far beyond ASCII).
struct TNarrowed {
    char16_t Seen = 0;
    char16_t BelowPrintable = 0;
};

// Copies the low byte of each character. Most text is ASCII: the copy runs in blocks through a
// local array, which the compiler turns into vector code as it cannot overlap the source.
TNarrowed NarrowAscii(const char16_t* source, char* target, size_t length) {
    char16_t seen = 0;
    char16_t belowPrintable = 0;
    const auto note = [&](char16_t code) {
        seen |= code;
        belowPrintable |= static_cast<char16_t>(code - 0x20);
    };
    constexpr size_t kBlock = 16;
    size_t i = 0;
    for (; i + kBlock <= length; i += kBlock) {
        char block[kBlock];
        for (size_t j = 0; j < kBlock; ++j) {
            note(source[i + j]);
            block[j] = static_cast<char>(source[i + j]);
        }
        std::memcpy(target + i, block, kBlock);
    }
    for (; i < length; ++i) {
        note(source[i]);
        target[i] = static_cast<char>(source[i]);
    }
    return {seen, belowPrintable};
}

TScratchText ConvertToScratch(const QString& text) {
    thread_local std::string buffer;
    const auto length = static_cast<size_t>(text.size());
    buffer.resize(length);
    const TNarrowed narrowed = NarrowAscii(QStringView(text).utf16(), buffer.data(), length);
    if (narrowed.Seen >= 0x80) {
        buffer = text.toStdString();
        return {buffer, true};
    }
    return {buffer, (narrowed.BelowPrintable & 0x8000) != 0};
}

// The text as UTF-8 without the control characters XML 1.0 cannot hold in any form (not even as
// character references): strict parsers reject a document that has them.
const std::string& WritableUtf8(const QString& text) {
    const TScratchText scratch = ConvertToScratch(text);
    if (!scratch.MayHoldControls ||
        std::none_of(scratch.Utf8.begin(), scratch.Utf8.end(), IsForbiddenControl))
        return scratch.Utf8;
    thread_local std::string cleaned;
    cleaned = scratch.Utf8;
    const auto removed = std::erase_if(cleaned, IsForbiddenControl);
    TDocumentNotes::Add(QStringLiteral("Dropped %1 control character(s) that XML cannot hold from \"%2\".")
                            .arg(removed)
                            .arg(QString::fromStdString(cleaned)));
    return cleaned;
}

} // namespace

bool LoadOptionalXmlFile(const QString& fileName, pugi::xml_document& document) {
    const QFileInfo file(fileName);
    return file.isFile() && file.size() <= kLargestXmlDocument &&
           document.load_file(LocalPath(fileName).c_str());
}

const std::string& ScratchUtf8(const QString& text) {
    return ConvertToScratch(text).Utf8;
}

const char* ReadElementUtf8(const pugi::xml_node& element) {
    const pugi::xml_node first = element.first_child();
    if (!first)
        return "";
    if (first.next_sibling() || (first.type() != pugi::node_pcdata && first.type() != pugi::node_cdata))
        throw EShopContentError(
            QStringLiteral("Element \"%1\" must hold nothing but its text.").arg(ElementName(element)),
            element.offset_debug());
    return first.value();
}

QString ReadElementText(const pugi::xml_node& element) {
    return FromXml(ReadElementUtf8(element));
}

QString SharedText(const char* utf8) {
    // Sizes and colours repeat on thousands of products; a long text is rarely repeated.
    constexpr size_t kLongest = 64;
    const size_t length = std::strlen(utf8);
    if (length > kLongest)
        return QString::fromUtf8(utf8, static_cast<qsizetype>(length));
    thread_local TRecurringValues<QString, 1024> texts;
    return texts.Get(std::string_view(utf8, length),
                     [&] { return QString::fromUtf8(utf8, static_cast<qsizetype>(length)); });
}

QString ReadElementTextOr(const pugi::xml_node& element, const QString& fallback) {
    return element ? ReadElementText(element) : fallback;
}

QString ReadChildText(const pugi::xml_node& parent, const char* childName, const QString& fallback) {
    return ReadElementTextOr(parent.child(childName), fallback);
}

void WriteTextContent(TXmlWriter& out, const QString& text) {
    const std::string& value = WritableUtf8(text);
    if (value.find("]]>") == std::string::npos && value.find('\r') == std::string::npos)
        out.CData(value);
    else
        out.Text(value);
}

void WriteTextElement(TXmlWriter& out, const char* name, const QString& text) {
    out.StartElement(name);
    WriteTextContent(out, text);
    out.EndElement();
}

void WritePlainElement(TXmlWriter& out, const char* name, const QString& text) {
    out.StartElement(name);
    // Text of nothing but control characters leaves the element empty, as it reads back.
    const std::string& value = WritableUtf8(text);
    if (!value.empty())
        out.Text(value);
    out.EndElement();
}

void WriteAttribute(TXmlWriter& out, const char* name, const QString& value) {
    out.Attribute(name, WritableUtf8(value));
}

const char* RequiredAttributeUtf8(const pugi::xml_node& element, const char* name) {
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        throw EShopContentError(QStringLiteral("Element \"%1\" has no attribute \"%2\".")
                                    .arg(ElementName(element), FromXml(name)),
                                element.offset_debug());
    return attribute.value();
}

QString RequiredAttribute(const pugi::xml_node& element, const char* name) {
    return FromXml(RequiredAttributeUtf8(element, name));
}

int RequiredIntAttribute(const pugi::xml_node& element, const char* name) {
    const QString text = RequiredAttribute(element, name);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw EShopContentError(
            QStringLiteral("Attribute \"%1\" of element \"%2\" holds \"%3\", which is not an integer.")
                .arg(FromXml(name), ElementName(element), text),
            element.offset_debug());
    return value;
}

pugi::xml_node RequiredChild(const pugi::xml_node& parent, const char* name) {
    const pugi::xml_node child = parent.child(name);
    if (!child)
        throw EShopContentError(
            QStringLiteral("Element \"%1\" has no child \"%2\".").arg(ElementName(parent), FromXml(name)),
            parent.offset_debug());
    return child;
}

void SetAttribute(pugi::xml_node element, const char* name, const QString& value) {
    const std::string& text = WritableUtf8(value);
    element.append_attribute(name).set_value(text.data(), text.size());
}

void SetAttribute(pugi::xml_node element, const char* name, int value) {
    element.append_attribute(name).set_value(value);
}

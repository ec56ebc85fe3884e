// Trovecart - element text and attribute helpers over pugixml (inside the shop layer only).
#pragma once

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include <QString>

#include <pugixml.hpp>

#include "shop/xml_writer.h"

// Documents (shop, settings, catalogue) larger than this are refused before they are read, so that
// a crafted project cannot make the program hold gigabytes.
constexpr qint64 kLargestXmlDocument = 64 * 1024 * 1024;

// Loads a document that may be missing or damaged; false when it is missing, larger than
// kLargestXmlDocument or not well-formed.
bool LoadOptionalXmlFile(const QString& fileName, pugi::xml_document& document);

inline QString FromXml(const char* text) {
    return QString::fromUtf8(text);
}
inline std::string ToXml(const QString& text) {
    return text.toStdString();
}
// The UTF-8 form of a text in a buffer that the calling thread reuses, so that writing a large
// document converts every field without allocating: valid until the thread's next call.
const std::string& ScratchUtf8(const QString& text);

// The text of an element: its single text or CDATA child, or empty text without children.
// Several children, or a child of another kind, raise EShopError.
QString ReadElementText(const pugi::xml_node& element);
// The same text as UTF-8, pointing into the document.
const char* ReadElementUtf8(const pugi::xml_node& element);
// Values made from UTF-8 keys that recur across a document, such as the texts and lists of
// options. Each key has one place, where it replaces any other key that hashed to it, so the
// cache never holds more than N values.
template <class TValue, size_t N> class TRecurringValues {
public:
    // The value of the key, made by `make` unless the key's place holds it already.
    template <class TMake> const TValue& Get(std::string_view key, const TMake& make) {
        TPlace& place = places_[std::hash<std::string_view>{}(key) % N];
        if (!place.Used || place.Key != key) {
            place.Used = true;
            place.Key.assign(key);
            place.Value = make();
        }
        return place.Value;
    }

private:
    struct TPlace {
        bool Used = false;
        std::string Key;
        TValue Value;
    };
    std::array<TPlace, N> places_;
};

// The text of UTF-8 that recurs across a document, such as option titles and values: equal short
// texts share one string instead of each holding a copy of its own.
QString SharedText(const char* utf8);
// The first child element of each name, found in one pass over the children (a null node for a
// name no child has). Names are tried from the one after the last found, so children in the
// order of `names` cost one comparison each.
template <size_t N>
std::array<pugi::xml_node, N> FirstChildrenNamed(const pugi::xml_node& parent,
                                                 const std::array<const char*, N>& names) {
    std::array<pugi::xml_node, N> found{};
    size_t next = 0;
    for (const pugi::xml_node& child : parent.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const char* name = child.name();
        for (size_t tried = 0; tried < N; ++tried) {
            const size_t index = (next + tried) % N;
            if (std::strcmp(name, names[index]) == 0) {
                if (!found[index])
                    found[index] = child;
                next = index + 1;
                break;
            }
        }
    }
    return found;
}
// The text of the element, or the fallback for a null node.
QString ReadElementTextOr(const pugi::xml_node& element, const QString& fallback = QString());
// The text of the named child, or the fallback when there is no such child.
QString ReadChildText(const pugi::xml_node& parent, const char* childName,
                      const QString& fallback = QString());

// Writes the text as the content of the open element, in one CDATA section. Text that contains the
// CDATA end marker or a carriage return cannot live in one section, so it is written as escaped
// text instead.
void WriteTextContent(TXmlWriter& out, const QString& text);
// An element holding the text as WriteTextContent writes it.
void WriteTextElement(TXmlWriter& out, const char* name, const QString& text);
// An element holding the text as ordinary, escaped text.
void WritePlainElement(TXmlWriter& out, const char* name, const QString& text);
void WriteAttribute(TXmlWriter& out, const char* name, const QString& value);

// A required attribute; its absence raises EShopError.
QString RequiredAttribute(const pugi::xml_node& element, const char* name);
const char* RequiredAttributeUtf8(const pugi::xml_node& element, const char* name);
// A required attribute holding a decimal integer; absence or another text raises EShopError.
int RequiredIntAttribute(const pugi::xml_node& element, const char* name);
// A required child element; its absence raises EShopError.
pugi::xml_node RequiredChild(const pugi::xml_node& parent, const char* name);

void SetAttribute(pugi::xml_node element, const char* name, const QString& value);
void SetAttribute(pugi::xml_node element, const char* name, int value);

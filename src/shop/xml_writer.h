// Trovecart - an XML document written element by element straight to a device.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class QIODevice;

// Writes in the layout of pugixml's indented output (the layout stored documents have always had),
// without holding a document tree: a large shop is written in one pass through a small buffer.
// Elements hold either child elements or text, never both.
class TXmlWriter {
public:
    // Writes the UTF-8 declaration first.
    TXmlWriter(QIODevice& device, std::string_view indent);
    TXmlWriter(const TXmlWriter&) = delete;
    TXmlWriter& operator=(const TXmlWriter&) = delete;

    void StartElement(std::string_view name);
    // Only between StartElement and the element's first content.
    void Attribute(std::string_view name, std::string_view utf8Value);
    void Attribute(std::string_view name, int value);
    // Escaped character data.
    void Text(std::string_view utf8);
    // One CDATA section; the text must not contain "]]>".
    void CData(std::string_view utf8);
    void EndElement();

    // Closes the document and writes what is buffered; raises EShopError with the device's message
    // when any write failed.
    void Finish();

private:
    void CloseStartTag();
    void BreakLine(size_t depth);
    void AppendEscaped(std::string_view utf8, const bool* escaped);
    void FlushWhenFull();
    void WriteBuffer();

    QIODevice& device_;
    std::string indent_;
    std::string buffer_;
    std::vector<std::string> openElements_;
    bool startTagOpen_ = false;
    // Whether the next tag goes on a line of its own; text keeps its closing tag on its line.
    bool breakBeforeTag_ = false;
    bool failed_ = false;
};

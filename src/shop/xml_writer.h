// Trovecart - an XML document written element by element straight to a device.
#pragma once

#include <cstring>
#include <memory>
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
    // One CDATA section; the text must not contain "]]>", and a carriage return in it reads back
    // as a line feed.
    void CData(std::string_view utf8);
    void EndElement();

    // Closes the document and writes what is buffered; raises EShopError with the device's message
    // when any write failed.
    void Finish();

private:
    // The hot path of a large save: a copy into the buffer, which is written out when full.
    void Put(std::string_view bytes) {
        if (bytes.size() > kBufferSize - used_) {
            PutLarge(bytes);
            return;
        }
        std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    void Put(char byte) { Put(std::string_view(&byte, 1)); }
    void PutLarge(std::string_view bytes);
    void CloseStartTag();
    void BreakLine(size_t depth);
    void AppendEscaped(std::string_view utf8, const bool* escaped);
    void WriteBuffer();
    void WriteOut(std::string_view bytes);

    // Large enough that a big document costs a few dozen writes, small enough to stay in the cache.
    static constexpr size_t kBufferSize = 256 * 1024;

    QIODevice& device_;
    std::string indent_;
    // A line break followed by the indentation of the deepest element so far; a prefix of it
    // starts each line.
    std::string lineStart_;
    std::unique_ptr<char[]> buffer_;
    size_t used_ = 0;
    std::vector<std::string> openElements_;
    bool startTagOpen_ = false;
    // Whether the next tag goes on a line of its own; text keeps its closing tag on its line.
    bool breakBeforeTag_ = false;
    bool failed_ = false;
};

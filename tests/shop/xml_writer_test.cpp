// The streamed writer must lay documents out exactly as pugixml's indented output does: stored
// shops written before it and after it must not differ by a byte, except in the texts pugixml wrote
// in a form that did not read back (whitespace alone, carriage returns).
#include <functional>
#include <sstream>
#include <vector>

#include <QBuffer>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "shop/shop_error.h"
#include "shop/xml_text.h"
#include "shop/xml_writer.h"

namespace {

constexpr const char* kIndent = "     ";

std::string PugiLayoutOf(const std::string& text) {
    pugi::xml_document document;
    // Without line-end normalisation, so that a carriage return written raw reads back as one.
    const unsigned flags = (pugi::parse_default | pugi::parse_declaration) & ~pugi::parse_eol;
    EXPECT_TRUE(document.load_buffer(text.data(), text.size(), flags));
    std::ostringstream out;
    document.save(out, kIndent, pugi::format_indent, pugi::encoding_utf8);
    return out.str();
}

std::string Written(const std::function<void(TXmlWriter&)>& write) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TXmlWriter out(buffer, kIndent);
    write(out);
    out.Finish();
    return buffer.data().toStdString();
}

} // namespace

TEST(XmlWriterTest, LayoutAndEscapingMatchPugixml) {
    // Not the carriage return, which pugixml writes raw and so would read back as a line feed.
    std::string ascii;
    for (int code = 1; code < 128; ++code)
        if (code != '\r')
            ascii += static_cast<char>(code);
    ascii += "\xc3\xa9\xe2\x9c\x93";

    const std::string text = Written([&](TXmlWriter& out) {
        out.StartElement("shop");
        out.Attribute("id", ascii);
        out.StartElement("empty");
        out.EndElement();
        out.StartElement("sized");
        out.Attribute("width", -12);
        out.Attribute("height", 0);
        out.EndElement();
        out.StartElement("plain");
        out.Text(ascii);
        out.EndElement();
        out.StartElement("cdata");
        out.CData("<b>&amp; ]] > \t\r\n</b>");
        out.EndElement();
        out.StartElement("blank");
        out.CData("");
        out.EndElement();
        out.StartElement("nested");
        for (int level = 0; level < 3; ++level) {
            out.StartElement("level");
            out.Attribute("n", level);
        }
        out.StartElement("leaf");
        out.CData("x");
        out.EndElement();
        // The rest close at Finish.
    });
    EXPECT_EQ(text, PugiLayoutOf(text));
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<shop id=", 0), 0u);
}

TEST(XmlWriterTest, TextsThatAReaderWouldChangeReadBackAsTheyWere) {
    // Whitespace alone is layout to a reader, and a raw carriage return reads as a line feed.
    const std::vector<std::string> texts = {" ",    "\n  ",         "\t\n",  "\r",
                                            "a\rb", "line\r\nend ", " ]]> ", "\r]]>"};
    const std::string text = Written([&](TXmlWriter& out) {
        out.StartElement("texts");
        for (const std::string& value : texts) {
            const QString content = QString::fromStdString(value);
            WritePlainElement(out, "plain", content);
            WriteTextElement(out, "content", content);
        }
    });
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(text.c_str()));
    auto child = document.child("texts").children().begin();
    for (const std::string& value : texts)
        for (int form = 0; form < 2; ++form, ++child)
            EXPECT_EQ(child->text().get(), value) << child->name() << " of " << text;
}

TEST(XmlWriterTest, LargeDocumentsAreWrittenWhole) {
    // Texts larger than the writer's buffer, one of them escaped piece by piece.
    const std::string large(600 * 1024, 'x');
    std::string escaped;
    for (int i = 0; i < 100000; ++i)
        escaped += "a<b&";
    const std::string text = Written([&](TXmlWriter& out) {
        out.StartElement("list");
        for (int i = 0; i < 50000; ++i) {
            out.StartElement("item");
            out.Attribute("id", i);
            out.CData("some text that makes the document pass the buffer size several times");
            out.EndElement();
            if (i == 100 || i == 30000) {
                out.StartElement("large");
                out.CData(large);
                out.EndElement();
                out.StartElement("escaped");
                out.Text(escaped);
                out.EndElement();
            }
        }
    });
    EXPECT_GT(text.size(), 4u * 1024 * 1024);
    EXPECT_EQ(text, PugiLayoutOf(text));
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(text.c_str()));
    const pugi::xml_node list = document.child("list");
    EXPECT_EQ(list.child("large").text().get(), large);
    EXPECT_EQ(list.child("escaped").text().get(), escaped);
    EXPECT_EQ(std::distance(list.begin(), list.end()), 50004);
}

TEST(XmlWriterTest, AFailedWriteIsReported) {
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    TXmlWriter out(readOnly, kIndent);
    out.StartElement("shop");
    EXPECT_THROW(out.Finish(), EShopError);
}

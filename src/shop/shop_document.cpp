// Trovecart - the shop document and its file.
#include "shop/shop_document.h"

#include <algorithm>

#include <QBuffer>
#include <QFile>

#include <pugixml.hpp>

#include "common/file_utils.h"
#include "common/whole_file.h"
#include "shop/document_notes.h"
#include "shop/shop_error.h"
#include "shop/xml_text.h"

namespace {

// Five spaces per nesting level, as the front end's tools have always written it.
constexpr const char* kIndent = "     ";

int LineOfOffset(const QByteArray& text, ptrdiff_t offset) {
    const qsizetype end = std::clamp<qsizetype>(offset, 0, text.size());
    return static_cast<int>(std::count(text.constBegin(), text.constBegin() + end, '\n')) + 1;
}

} // namespace

TShop::~TShop() {
    // The workspace goes with the shop.
    LeaveWorkspace();
}

void TShop::SetModified(bool modified) {
    modified_ = modified;
    if (modified && OnChange)
        OnChange();
}

void TShop::LoadFromXML(const pugi::xml_node& root) {
    id_ = RequiredAttribute(root, "id");
    if (const pugi::xml_node config = root.child("config"))
        config_.LoadFromXML(config);
    if (const pugi::xml_node products = root.child("product"))
        categories_.LoadFromXML(products);
}

void TShop::SaveToXML(TXmlWriter& out, TXMLSaveContext& context) const {
    out.StartElement("shop");
    WriteAttribute(out, "id", id_);
    config_.SaveToXML(out);
    out.StartElement("product");
    context.ProductCounter = 0;
    categories_.SaveToXML(out, context);
    out.EndElement();
    out.EndElement();
}

void TShop::LoadFromFile(const QString& fileName) {
    TDocumentNotes notes;
    ReadFile(fileName);
    notes_ = notes.Notes();
}

void TShop::ReadFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EShopError(QStringLiteral("Cannot open \"%1\": %2").arg(fileName, file.errorString()));
    if (file.size() > kLargestXmlDocument)
        throw EShopError(QStringLiteral("\"%1\" is larger than %2 MiB, more than any shop document.")
                             .arg(fileName)
                             .arg(kLargestXmlDocument >> 20));
    // Read straight into a buffer of the file's size (readAll grows its buffer well past it); the
    // parser works in it and the document points into it until the shop has been read.
    QByteArray text(file.size(), Qt::Uninitialized);
    const qint64 read = file.read(text.data(), text.size());
    if (read >= 0) {
        text.resize(read);
        if (!file.atEnd())
            text += file.readAll();
    }
    if (read < 0 || file.error() != QFileDevice::NoError)
        throw EShopError(QStringLiteral("Cannot read \"%1\": %2").arg(fileName, file.errorString()));

    pugi::xml_document document;
    const pugi::xml_parse_result result =
        document.load_buffer_inplace(text.data(), static_cast<size_t>(text.size()));
    if (!result) {
        throw EShopError(QStringLiteral("\"%1\" is not a valid XML document (line %2): %3")
                             .arg(fileName)
                             .arg(LineOfOffset(text, result.offset))
                             .arg(QString::fromUtf8(result.description())));
    }
    try {
        LoadFromXML(document.document_element());
    } catch (const EShopContentError& error) {
        // Parsing in place has overwritten line breaks in `text`; the file still has them all.
        QFile unparsed(fileName);
        const QByteArray original = unparsed.open(QIODevice::ReadOnly) ? unparsed.readAll() : QByteArray();
        throw EShopError(QStringLiteral("\"%1\" is not a valid shop document (line %2): %3")
                             .arg(fileName)
                             .arg(LineOfOffset(original, error.Offset()))
                             .arg(error.Message()));
    } catch (const EShopError& error) {
        throw EShopError(
            QStringLiteral("\"%1\" is not a valid shop document: %2").arg(fileName, error.Message()));
    }
}

void TShop::WriteDocument(QIODevice& device) const {
    TXmlWriter out(device, kIndent);
    TXMLSaveContext context;
    SaveToXML(out, context);
    out.Finish();
}

QByteArray TShop::ToXmlText() const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteDocument(buffer);
    return buffer.data();
}

void TShop::SaveToFile(const QString& fileName, bool keepModified) {
    TDocumentNotes notes;
    try {
        WriteWholeFile(fileName, [this](QIODevice& device) {
            WriteDocument(device);
            return true;
        });
    } catch (const EAppError& error) {
        throw EShopError(QStringLiteral("Cannot save \"%1\": %2").arg(fileName, error.Message()));
    }
    notes_ = notes.Notes();
    if (!keepModified)
        modified_ = false;
}

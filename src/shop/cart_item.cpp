// Trovecart - products.
#include "shop/cart_item.h"

#include <array>

#include <QFile>

#include <pugixml.hpp>

#include "shop/document_notes.h"
#include "shop/document_number.h"
#include "shop/web_copies.h"
#include "shop/workspace.h"
#include "shop/xml_text.h"

QString CartItemTypeWord(TCartItemType type) {
    switch (type) {
    case citImage:
        return QStringLiteral("general");
    case citAudio:
        return QStringLiteral("music");
    case citVideo:
        break;
    }
    return QStringLiteral("video");
}

TCartItemType CartItemTypeFromWord(QAnyStringView word) {
    if (word == QLatin1StringView("general"))
        return citImage;
    if (word == QLatin1StringView("music"))
        return citAudio;
    return citVideo;
}

void TCartItem::Assign(const TXMLCollectionItem& source) {
    TXMLCollectionItem::Assign(source);
    const auto* item = dynamic_cast<const TCartItem*>(&source);
    if (!item)
        return;
    options_.Assign(item->options_);
    description_ = item->description_;
    thumb_ = item->thumb_;
    preview_ = item->preview_;
    price_ = item->price_;
    discount_ = item->discount_;
    shipping_ = item->shipping_;
    image_ = item->image_;
    duration_ = item->duration_;
    itemType_ = item->itemType_;
}

namespace {

// The fields of a product, in the order they are written.
enum TField { fName, fDesc, fThumb, fImage, fPreview, fDuration, fPrice, fDiscount, fShipping, kFieldCount };
constexpr std::array<const char*, kFieldCount> kFieldNames = {
    "name", "desc", "thumb", "img", "preview", "duration", "price", "discount", "shipping"};

// Text that is no number reads as 0; the note names the product and the text.
double ReadReal(const pugi::xml_node& child, const char* name, const QString& productName) {
    if (!child)
        return 0.0;
    const char* text = ReadElementUtf8(child);
    if (const std::optional<double> value = ParseDocumentReal(text))
        return *value;
    if (*text)
        TDocumentNotes::Add(QStringLiteral("Product \"%1\": the %2 \"%3\" is not a number and reads as 0.")
                                .arg(productName, FromXml(name), FromXml(text)));
    return 0.0;
}

} // namespace

void TCartItem::LoadFromXML(const pugi::xml_node& element) {
    const pugi::xml_attribute type = element.attribute("type");
    itemType_ = type ? CartItemTypeFromWord(QUtf8StringView(type.value())) : citVideo;
    const auto fields = FirstChildrenNamed(element, kFieldNames);
    SetName(ReadElementTextOr(fields[fName]));
    description_ = ReadElementTextOr(fields[fDesc]);
    thumb_ = ReadElementTextOr(fields[fThumb]);
    image_ = ReadElementTextOr(fields[fImage]);
    preview_ = ReadElementTextOr(fields[fPreview]);
    duration_ = ReadElementTextOr(fields[fDuration], QStringLiteral("00:00:00"));
    price_ = ReadReal(fields[fPrice], kFieldNames[fPrice], Name());
    discount_ = ReadReal(fields[fDiscount], kFieldNames[fDiscount], Name());
    shipping_ = ReadReal(fields[fShipping], kFieldNames[fShipping], Name());
    options_.LoadFromXML(element);
}

void TCartItem::SaveToXML(TXmlWriter& out, TXMLSaveContext& context, const QString& elementName) const {
    out.StartElement(ScratchUtf8(elementName));
    out.Attribute("id", ++context.ProductCounter);
    WriteAttribute(out, "type", CartItemTypeWord(itemType_));
    WriteTextElement(out, "name", Name());
    WriteTextElement(out, "desc", description_);
    WriteTextElement(out, "thumb", thumb_);
    WriteTextElement(out, "img", image_);
    if (itemType_ == citVideo || itemType_ == citAudio) {
        WriteTextElement(out, "preview", preview_);
        WriteTextElement(out, "duration", duration_);
    }
    WritePlainElement(out, "price", FormatDocumentReal(price_));
    WritePlainElement(out, "discount", FormatDocumentReal(discount_));
    WritePlainElement(out, "shipping", FormatDocumentReal(shipping_));
    options_.SaveToXML(out, context);
    out.EndElement();
}

bool TCartItem::DeleteMediaFiles(const QString& workFolder) const {
    if (workFolder.isEmpty())
        return true;
    bool result = true;
    const auto deleteIn = [&](const QString& name, TWorkspace::TMedia media) {
        if (name.isEmpty())
            return;
        // After a failed deletion the remaining files stay.
        if (result)
            result = QFile::remove(TWorkspace::MediaFolderIn(workFolder, media) + name);
    };
    deleteIn(thumb_, TWorkspace::TMedia::Thumb);
    if (result)
        result =
            DeletePreviewFiles(TWorkspace::MediaFolderIn(workFolder, TWorkspace::TMedia::Preview), preview_);
    deleteIn(image_, TWorkspace::TMedia::Image);
    return result;
}

// Trovecart - shop configuration.
#include "shop/shop_config.h"

#include <pugixml.hpp>

#include "shop/xml_text.h"

namespace {

// Reads a width and height pair, or keeps the defaults when the element is missing.
void ReadSize(const pugi::xml_node& config, const char* name, int& width, int& height, int defaultWidth,
              int defaultHeight) {
    const pugi::xml_node element = config.child(name);
    if (!element) {
        width = defaultWidth;
        height = defaultHeight;
        return;
    }
    height = RequiredIntAttribute(element, "height");
    width = RequiredIntAttribute(element, "width");
}

void WriteSize(TXmlWriter& out, const char* name, int width, int height) {
    out.StartElement(name);
    out.Attribute("width", width);
    out.Attribute("height", height);
    out.EndElement();
}

} // namespace

void TShopConfig::LoadFromXML(const pugi::xml_node& config) {
    title_ = ReadChildText(config, "title");
    footer_ = ReadChildText(config, "footer");
    homePage_ = ReadChildText(config, "homepage");
    email_ = ReadChildText(config, "email");
    ReadSize(config, "dimension", width_, height_, 640, 420);
    ReadSize(config, "userdimension", userWidth_, userHeight_, 640, 420);
    ReadSize(config, "thumbsize", thumbWidth_, thumbHeight_, 100, 100);
    noImage_ = ReadChildText(config, "noimage");
    noVideo_ = ReadChildText(config, "novideo");
    noAudio_ = ReadChildText(config, "noaudio");

    if (const pugi::xml_node currency = config.child("currency")) {
        currencySymbol_ = ReadElementText(RequiredChild(currency, "symbol"));
        currencyAbbreviation_ = ReadElementText(RequiredChild(currency, "abbreviation"));
    } else {
        currencySymbol_ = QStringLiteral("$");
        currencyAbbreviation_ = QStringLiteral("USD");
    }

    if (const pugi::xml_node gateway = config.child("paymentgateway")) {
        paymentEmail_ = ReadElementText(RequiredChild(gateway, "email"));
        paymentCurrency_ = ReadElementText(RequiredChild(gateway, "currency"));
        paymentType_ = RequiredAttribute(gateway, "type");
    } else {
        paymentEmail_.clear();
        paymentCurrency_ = QStringLiteral("USD");
        paymentType_ = QStringLiteral("paypal");
    }

    const pugi::xml_node winMode = config.child("winmode");
    winMode_ = winMode ? RequiredIntAttribute(winMode, "value") : 1;
}

void TShopConfig::SaveToXML(TXmlWriter& out) const {
    out.StartElement("config");
    WriteTextElement(out, "title", title_);
    WriteTextElement(out, "footer", footer_);
    WriteTextElement(out, "homepage", homePage_);
    WriteTextElement(out, "email", email_);
    WriteSize(out, "dimension", width_, height_);
    WriteSize(out, "userdimension", userWidth_, userHeight_);
    WriteSize(out, "thumbsize", thumbWidth_, thumbHeight_);
    out.StartElement("winmode");
    out.Attribute("value", winMode_);
    out.EndElement();
    WriteTextElement(out, "noimage", noImage_);
    WriteTextElement(out, "novideo", noVideo_);
    WriteTextElement(out, "noaudio", noAudio_);

    out.StartElement("currency");
    WritePlainElement(out, "symbol", currencySymbol_);
    WritePlainElement(out, "abbreviation", currencyAbbreviation_);
    out.EndElement();

    out.StartElement("paymentgateway");
    WriteAttribute(out, "type", paymentType_);
    WritePlainElement(out, "email", paymentEmail_);
    WritePlainElement(out, "currency", paymentCurrency_);
    out.EndElement();
    out.EndElement();
}

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

void AppendSize(pugi::xml_node& config, const char* name, int width, int height) {
    pugi::xml_node element = config.append_child(name);
    SetAttribute(element, "width", width);
    SetAttribute(element, "height", height);
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

void TShopConfig::SaveToXML(pugi::xml_node& shop) const {
    pugi::xml_node config = shop.child("config");
    if (!config)
        config = shop.append_child("config");
    while (config.first_child())
        config.remove_child(config.first_child());

    AppendTextElement(config, "title", title_);
    AppendTextElement(config, "footer", footer_);
    AppendTextElement(config, "homepage", homePage_);
    AppendTextElement(config, "email", email_);
    AppendSize(config, "dimension", width_, height_);
    AppendSize(config, "userdimension", userWidth_, userHeight_);
    AppendSize(config, "thumbsize", thumbWidth_, thumbHeight_);
    SetAttribute(config.append_child("winmode"), "value", winMode_);
    AppendTextElement(config, "noimage", noImage_);
    AppendTextElement(config, "novideo", noVideo_);
    AppendTextElement(config, "noaudio", noAudio_);

    pugi::xml_node currency = config.append_child("currency");
    AppendPlainElement(currency, "symbol", currencySymbol_);
    AppendPlainElement(currency, "abbreviation", currencyAbbreviation_);

    pugi::xml_node gateway = config.append_child("paymentgateway");
    SetAttribute(gateway, "type", paymentType_);
    AppendPlainElement(gateway, "email", paymentEmail_);
    AppendPlainElement(gateway, "currency", paymentCurrency_);
}

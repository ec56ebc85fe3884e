// Trovecart - the shop-wide settings stored in the config element of shop.xml.
#pragma once

#include <QString>

class TXmlWriter;

namespace pugi {
class xml_node;
}

// Setters store what they receive; no range checks. A new object has empty texts and zero sizes;
// reading a config element fills in the defaults of missing children.
class TShopConfig {
public:
    const QString& Title() const { return title_; }
    void SetTitle(const QString& value) { title_ = value; }
    const QString& Footer() const { return footer_; }
    void SetFooter(const QString& value) { footer_ = value; }
    const QString& HomePage() const { return homePage_; }
    void SetHomePage(const QString& value) { homePage_ = value; }
    const QString& Email() const { return email_; }
    void SetEmail(const QString& value) { email_ = value; }

    // The size the template's front end is designed for.
    int Width() const { return width_; }
    void SetWidth(int value) { width_ = value; }
    int Height() const { return height_; }
    void SetHeight(int value) { height_ = value; }
    // The size at which the front end is published.
    int UserWidth() const { return userWidth_; }
    void SetUserWidth(int value) { userWidth_ = value; }
    int UserHeight() const { return userHeight_; }
    void SetUserHeight(int value) { userHeight_ = value; }
    // The box product thumbnails are fitted into.
    int ThumbWidth() const { return thumbWidth_; }
    void SetThumbWidth(int value) { thumbWidth_ = value; }
    int ThumbHeight() const { return thumbHeight_; }
    void SetThumbHeight(int value) { thumbHeight_ = value; }
    // 1: embedded in the start page; 2: the start page opens it in a pop-up window.
    int WinMode() const { return winMode_; }
    void SetWinMode(int value) { winMode_ = value; }

    const QString& NoImage() const { return noImage_; }
    void SetNoImage(const QString& value) { noImage_ = value; }
    const QString& NoVideo() const { return noVideo_; }
    void SetNoVideo(const QString& value) { noVideo_ = value; }
    const QString& NoAudio() const { return noAudio_; }
    void SetNoAudio(const QString& value) { noAudio_ = value; }

    const QString& CurrencySymbol() const { return currencySymbol_; }
    void SetCurrencySymbol(const QString& value) { currencySymbol_ = value; }
    const QString& CurrencyAbbreviation() const { return currencyAbbreviation_; }
    void SetCurrencyAbbreviation(const QString& value) { currencyAbbreviation_ = value; }
    const QString& PaymentType() const { return paymentType_; }
    void SetPaymentType(const QString& value) { paymentType_ = value; }
    const QString& PaymentEmail() const { return paymentEmail_; }
    void SetPaymentEmail(const QString& value) { paymentEmail_ = value; }
    const QString& PaymentCurrency() const { return paymentCurrency_; }
    void SetPaymentCurrency(const QString& value) { paymentCurrency_ = value; }

    // Reads the config element; children are found by name, missing ones give the defaults.
    void LoadFromXML(const pugi::xml_node& config);
    // Writes the config element.
    void SaveToXML(TXmlWriter& out) const;

private:
    QString title_;
    QString footer_;
    QString homePage_;
    QString email_;
    int width_ = 0;
    int height_ = 0;
    int userWidth_ = 0;
    int userHeight_ = 0;
    int thumbWidth_ = 0;
    int thumbHeight_ = 0;
    int winMode_ = 0;
    QString noImage_;
    QString noVideo_;
    QString noAudio_;
    QString currencySymbol_;
    QString currencyAbbreviation_;
    QString paymentType_;
    QString paymentEmail_;
    QString paymentCurrency_;
};

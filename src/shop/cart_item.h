// Trovecart - one product of a category: general (picture), video or music.
#pragma once

#include <cstdint>

#include <QAnyStringView>

#include "shop/option_item.h"

enum TCartItemType : uint8_t {
    citImage = 0,
    citVideo = 1,
    citAudio = 2,
};

// The product kind as the front end reads it ("general", "video", "music") and back; any word
// other than "general" and "music" is a video.
QString CartItemTypeWord(TCartItemType type);
TCartItemType CartItemTypeFromWord(QAnyStringView word);

class TCartItem : public TXMLCollectionItem {
public:
    TOptionItems& Options() { return options_; }
    const TOptionItems& Options() const { return options_; }

    // Media file names are bare; each lives in its fixed subfolder of the work folder.
    const QString& Preview() const { return preview_; }
    void SetPreview(const QString& preview) { preview_ = preview; }
    const QString& Thumb() const { return thumb_; }
    void SetThumb(const QString& thumb) { thumb_ = thumb; }
    const QString& Image() const { return image_; }
    void SetImage(const QString& image) { image_ = image; }

    double Price() const { return price_; }
    void SetPrice(double price) { price_ = price; }
    double Discount() const { return discount_; }
    void SetDiscount(double discount) { discount_ = discount; }
    double Shipping() const { return shipping_; }
    void SetShipping(double shipping) { shipping_ = shipping; }

    TCartItemType ItemType() const { return itemType_; }
    void SetItemType(TCartItemType itemType) { itemType_ = itemType; }

    // Play time of the preview as "HH:MM:SS".
    const QString& Duration() const { return duration_; }
    void SetDuration(const QString& duration) { duration_ = duration; }
    const QString& Description() const { return description_; }
    void SetDescription(const QString& description) { description_ = description; }

    // True while the editor view matches the product type; a type change clears it so that the
    // next editor request builds a view of the new kind.
    bool EditorValid() const { return editorValid_; }
    void SetEditorValid(bool valid) { editorValid_ = valid; }

    void Assign(const TXMLCollectionItem& source) override;
    void LoadFromXML(const pugi::xml_node& element) override;
    void SaveToXML(TXmlWriter& out, TXMLSaveContext& context, const QString& elementName) const override;

    // Deletes the thumbnail, preview and picture files below workFolder (which ends with '/').
    // True when every attempted deletion succeeded; the first failure stops the later ones.
    bool DeleteMediaFiles(const QString& workFolder) const;

private:
    TOptionItems options_;
    QString preview_;
    double price_ = 0;
    TCartItemType itemType_ = citImage;
    QString thumb_;
    QString image_;
    double discount_ = 0;
    QString duration_ = QStringLiteral("00:00:00");
    QString description_;
    double shipping_ = 0;
    bool editorValid_ = false;
};

class TCartItems : public TTypedCollection<TCartItem> {
public:
    TCartItems() : TTypedCollection(QStringLiteral("item")) {}
};

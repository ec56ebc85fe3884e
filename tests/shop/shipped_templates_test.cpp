// Trovecart tests - the templates that ship with the program are complete and usable.
#include <QImage>
#include <QSet>
#include <QtEndian>

#include <gtest/gtest.h>

#include "common/file_utils.h"
#include "shop/shop_document.h"
#include "shop/template_catalogue.h"
#include "support/scripted_message_service.h"
#include "support/test_helpers.h"

namespace {

const QString kTemplates = QStringLiteral(TROVECART_TEMPLATE_DIR);

// Reads the frame size of an uncompressed SWF header, in pixels.
QSize SwfFrameSize(const QByteArray& movie) {
    if (movie.size() < 9 || !movie.startsWith("FWS"))
        return {};
    const auto byteAt = [&](int bit) { return static_cast<unsigned char>(movie.at(8 + bit / 8)); };
    const auto bitsAt = [&](int first, int count) {
        int value = 0;
        for (int bit = first; bit < first + count; ++bit)
            value = (value << 1) | ((byteAt(bit) >> (7 - bit % 8)) & 1);
        return value;
    };
    const int bits = bitsAt(0, 5);
    return {(bitsAt(5 + bits, bits) - bitsAt(5, bits)) / 20,
            (bitsAt(5 + 3 * bits, bits) - bitsAt(5 + 2 * bits, bits)) / 20};
}

TEST(ShippedTemplatesTest, CatalogueNamesCompleteTemplates) {
    TThemes themes;
    LoadThemeCatalogue(kTemplates + QStringLiteral("theme.xml"), themes);
    ASSERT_GE(themes.Count(), 2);
    const QStringList names = AllTemplateNames(themes);
    ASSERT_GE(names.size(), 4);

    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString folder = kTemplates + name + QLatin1Char('/');
        const QImage thumb(folder + QStringLiteral("Thumb.png"), "PNG");
        EXPECT_EQ(thumb.size(), QSize(130, 93));

        TShop shop;
        shop.LoadFromFile(folder + QStringLiteral("shop.xml"));
        EXPECT_EQ(shop.ID(), name);
        EXPECT_GE(shop.Categories().Count(), 2);
        EXPECT_FALSE(shop.ShopConfig().Footer().isEmpty());
        EXPECT_FALSE(shop.ShopConfig().CurrencyAbbreviation().isEmpty());
        EXPECT_FALSE(shop.GetPlainTitle().isEmpty());
        // Written in the program's own layout already.
        EXPECT_EQ(shop.ToXmlText(), ReadFile(folder + QStringLiteral("shop.xml")));

        QSet<int> kinds;
        int options = 0;
        for (int c = 0; c < shop.Categories().Count(); ++c) {
            const TCartItems& items = shop.Categories().Items(c)->Items();
            for (int i = 0; i < items.Count(); ++i) {
                kinds.insert(items.Items(i)->ItemType());
                options += items.Items(i)->Options().Count();
                EXPECT_TRUE(FileExistsStrict(folder + QStringLiteral("thumb/") + items.Items(i)->Thumb()));
            }
        }
        EXPECT_EQ(kinds, QSet<int>({citImage, citAudio, citVideo}));
        EXPECT_GT(options, 0);

        const QByteArray movie = ReadFile(folder + QStringLiteral("index.swf"));
        EXPECT_EQ(SwfFrameSize(movie), QSize(shop.ShopConfig().Width(), shop.ShopConfig().Height()));
        EXPECT_EQ(static_cast<int>(qFromLittleEndian<quint32>(movie.constData() + 4)), movie.size());
    }
}

TEST(ShippedTemplatesTest, EveryTemplateMakesAProject) {
    TScriptedMessageService messages;
    TThemes themes;
    LoadThemeCatalogue(kTemplates + QStringLiteral("theme.xml"), themes);
    TTempFolder temp;
    for (const QString& name : AllTemplateNames(themes)) {
        TShop shop;
        shop.NewFromTemplate(kTemplates + name + QLatin1Char('/'), temp.Path());
        shop.WriteSitePages(QString());
        EXPECT_TRUE(FileExistsStrict(shop.SiteFolder() + QStringLiteral("index.html")));
        shop.SaveProject(temp.File(name + QStringLiteral(".scp")));
    }
    EXPECT_TRUE(messages.Calls().empty());
}

} // namespace

// Trovecart tests - reading theme.xml and the "All templates" listing.
#include <gtest/gtest.h>

#include "shop/template_catalogue.h"
#include "support/test_helpers.h"

namespace {

TThemes ReadCatalogue(const QByteArray& text) {
    TTempFolder temp;
    WriteFile(temp.File(QStringLiteral("theme.xml")), text);
    TThemes themes;
    themes.Add().SetThemeName(QStringLiteral("stale"));
    LoadThemeCatalogue(temp.File(QStringLiteral("theme.xml")), themes);
    return themes;
}

TEST(TemplateCatalogueTest, ThemesAndTheirTemplatesInCatalogueOrder) {
    const TThemes themes = ReadCatalogue(
        "<catalogue>"
        "  <themelist><a id=\"1\">Classic</a><b id=\"2\"><![CDATA[Bold & Bright]]></b></themelist>"
        "  <theme id=\"2\"><t id=\"Neon\"/><t id=\"Sunrise\"/></theme>"
        "  <theme id=\"7\"><t id=\"Lost\"/></theme>"
        "  <theme id=\"1\"><t id=\"Paper\"/><t/><t id=\"Never\"/></theme>"
        "  <theme id=\"1\"><t id=\"Linen\"/></theme>"
        "</catalogue>");
    ASSERT_EQ(themes.Count(), 2);
    EXPECT_EQ(themes.Items(0).ThemeName(), QStringLiteral("Classic"));
    EXPECT_EQ(themes.Items(1).ThemeName(), QStringLiteral("Bold & Bright"));
    EXPECT_EQ(themes.Items(1).Carts(), QStringList({QStringLiteral("Neon"), QStringLiteral("Sunrise")}));
    // An unknown id adds nothing; an unreadable entry ends its theme, not the catalogue.
    EXPECT_EQ(themes.Items(0).Carts(), QStringList({QStringLiteral("Paper"), QStringLiteral("Linen")}));
}

TEST(TemplateCatalogueTest, FaultsStopTheReadingSilently) {
    EXPECT_EQ(ReadCatalogue("<broken").Count(), 0);

    TThemes missing;
    LoadThemeCatalogue(QStringLiteral("/nonexistent/theme.xml"), missing);
    EXPECT_EQ(missing.Count(), 0);

    // A non-numeric id: both themes exist (the second with id 0) and no templates are read.
    const TThemes partly = ReadCatalogue("<c><themelist><a id=\"1\">One</a><b id=\"two\">Two</b></themelist>"
                                         "<theme id=\"1\"><t id=\"X\"/></theme></c>");
    ASSERT_EQ(partly.Count(), 2);
    EXPECT_EQ(partly.Items(1).ThemeId(), 0);
    EXPECT_TRUE(partly.Items(0).Carts().isEmpty());
}

TEST(TemplateCatalogueTest, AllTemplatesListsEveryNameOnceAtItsFirstPlace) {
    TThemes themes;
    TQLTheme& first = themes.Add();
    first.Carts() << QStringLiteral("Paper") << QStringLiteral("Neon") << QStringLiteral("Paper");
    TQLTheme& second = themes.Add();
    second.Carts() << QStringLiteral("Sunrise") << QStringLiteral("NEON") << QStringLiteral("Linen");
    EXPECT_EQ(AllTemplateNames(themes), QStringList({QStringLiteral("Paper"), QStringLiteral("Neon"),
                                                     QStringLiteral("Sunrise"), QStringLiteral("Linen")}));

    TThemes copy;
    copy.Assign(themes);
    EXPECT_EQ(copy.Items(1).Carts(), second.Carts());
    EXPECT_EQ(copy.FindThemeById(5), nullptr);
}

} // namespace

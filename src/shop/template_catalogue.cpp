// Trovecart - reading theme.xml.
#include "shop/template_catalogue.h"

#include <QSet>

#include <pugixml.hpp>

#include "common/file_utils.h"
#include "shop/shop_error.h"
#include "shop/xml_text.h"

void TQLTheme::Assign(const TQLTheme& source) {
    themeName_ = source.themeName_;
    carts_ = source.carts_;
}

TQLTheme& TThemes::Add() {
    return items_.emplace_back();
}

TQLTheme* TThemes::FindThemeById(int id) {
    for (TQLTheme& theme : items_) {
        if (theme.ThemeId() == id)
            return &theme;
    }
    return nullptr;
}

void TThemes::Assign(const TThemes& source) {
    items_.clear();
    for (const TQLTheme& theme : source.items_)
        Add().Assign(theme);
}

namespace {

// The text an element holds, whatever mix of text and CDATA sections it is made of.
QString ElementTextContent(const pugi::xml_node& element) {
    QString text;
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += FromXml(child.value());
    }
    return text;
}

void ReadThemeList(const pugi::xml_node& themeList, TThemes& themes) {
    for (const pugi::xml_node& declaration : themeList.children()) {
        if (declaration.type() != pugi::node_element)
            continue;
        TQLTheme& theme = themes.Add();
        theme.SetThemeName(ElementTextContent(declaration));
        theme.SetThemeId(RequiredIntAttribute(declaration, "id"));
    }
}

void ReadThemeTemplates(const pugi::xml_node& themeElement, TThemes& themes) {
    TQLTheme* theme = themes.FindThemeById(RequiredIntAttribute(themeElement, "id"));
    if (!theme)
        return;
    try {
        for (const pugi::xml_node& child : themeElement.children()) {
            if (child.type() == pugi::node_element)
                theme->Carts().append(RequiredAttribute(child, "id"));
        }
    } catch (const EShopError&) {
        // An unreadable entry ends this theme only.
    }
}

} // namespace

void LoadThemeCatalogue(const QString& fileName, TThemes& themes) {
    themes.Clear();
    pugi::xml_document document;
    if (!LoadOptionalXmlFile(fileName, document))
        return;
    const pugi::xml_node root = document.document_element();
    try {
        if (const pugi::xml_node themeList = root.child("themelist"))
            ReadThemeList(themeList, themes);
        for (const pugi::xml_node& child : root.children("theme"))
            ReadThemeTemplates(child, themes);
    } catch (const EShopError&) {
        // A fault ends the reading; what was read stays.
    }
}

QStringList AllTemplateNames(const TThemes& themes) {
    QStringList names;
    QSet<QString> seen;
    for (int i = 0; i < themes.Count(); ++i) {
        for (const QString& name : themes.Items(i).Carts()) {
            const QString key = name.toCaseFolded();
            if (seen.contains(key))
                continue;
            seen.insert(key);
            names.append(name);
        }
    }
    return names;
}

// Trovecart - the catalogue of installed templates (theme.xml): themes and their template folders.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

// One group of templates.
class TQLTheme {
public:
    const QString& ThemeName() const { return themeName_; }
    void SetThemeName(const QString& name) { themeName_ = name; }
    // Template folder names, in catalogue order; repeats are kept.
    QStringList& Carts() { return carts_; }
    const QStringList& Carts() const { return carts_; }
    // Only meaningful while the catalogue is read.
    int ThemeId() const { return themeId_; }
    void SetThemeId(int id) { themeId_ = id; }

    // Copies the name and the template list, not the id.
    void Assign(const TQLTheme& source);

private:
    QString themeName_;
    QStringList carts_;
    int themeId_ = 0;
};

class TThemes {
public:
    TQLTheme& Add();
    TQLTheme& Items(int index) { return items_.at(static_cast<size_t>(index)); }
    const TQLTheme& Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    int Count() const { return static_cast<int>(items_.size()); }
    void Clear() { items_.clear(); }
    // The first theme with the id, or null.
    TQLTheme* FindThemeById(int id);
    // Entry by entry.
    void Assign(const TThemes& source);

private:
    std::vector<TQLTheme> items_;
};

// Clears the themes and reads the catalogue file. Any fault ends the reading silently and keeps
// what was read before it; a theme element with an unknown id adds nothing.
void LoadThemeCatalogue(const QString& fileName, TThemes& themes);

// The "All templates" listing: every theme's templates in catalogue order, each name once at its
// first place, names compared without regard to case.
QStringList AllTemplateNames(const TThemes& themes);

// Trovecart - named sets of the five pictures a picture button is drawn from.
#pragma once

#include <array>
#include <vector>

#include <QPixmap>
#include <QString>

// The looks of a picture button, in slot order.
enum class TButtonLook { Normal, MouseOver, Clicked, Disabled, Down };

struct TButtonPictures {
    std::array<QPixmap, 5> Slots;
    QPixmap& operator[](TButtonLook look) { return Slots[static_cast<size_t>(look)]; }
    const QPixmap& operator[](TButtonLook look) const { return Slots[static_cast<size_t>(look)]; }
};

class TButtonImageList {
public:
    // Returns the new entry's index.
    int Add(const QString& name, TButtonPictures pictures);
    // -1 when there is no entry of that name.
    int IndexOf(const QString& name) const;
    int Count() const { return static_cast<int>(entries_.size()); }
    const TButtonPictures& At(int index) const { return entries_.at(static_cast<size_t>(index)).Pictures; }

    // "Play" and "Pause", drawn for the player's control row. Made on first use (GUI thread).
    static const TButtonImageList& PlayerButtons();

private:
    struct TEntry {
        QString Name;
        TButtonPictures Pictures;
    };
    std::vector<TEntry> entries_;
};

// Trovecart - a flat button drawn entirely from pictures, latching like a speed button.
#pragma once

#include <QAbstractButton>

#include "gui/widgets/button_image_list.h"

// Its pictures come from its own slots, or, when ImageList is set, from the list's entry
// ImageIndex. Buttons of one parent with the same GroupIndex (not 0) latch like radio buttons;
// with AllowAllUp a click on the latched one releases it, so all may be up.
class TImageButtonEx : public QAbstractButton {
    Q_OBJECT
public:
    explicit TImageButtonEx(QWidget* parent = nullptr);

    TButtonPictures Pictures;
    void SetImageList(const TButtonImageList* list, int index);
    int GroupIndex = 0;
    bool AllowAllUp = false;

    // Latches the button down, releasing the others of its group, or up.
    void SetLatched(bool down);
    bool Latched() const { return latched_; }

    // Disabled before down before clicked before mouse over before normal.
    static TButtonLook LookFor(bool enabled, bool latched, bool pressed, bool hovered);
    // The picture of that look; an empty one falls back to the normal picture.
    const QPixmap& PictureFor(TButtonLook look) const;
    TButtonLook CurrentLook() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void nextCheckState() override;

private:
    const TButtonPictures& Source() const;

    const TButtonImageList* imageList_ = nullptr;
    int imageIndex_ = -1;
    bool latched_ = false;
    bool hovered_ = false;
};

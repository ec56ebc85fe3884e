// Trovecart - picture buttons.
#include "gui/widgets/image_button_ex.h"

#include <QPainter>

TImageButtonEx::TImageButtonEx(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    // Checkable only so that a click reaches nextCheckState, which latches by the group's rule.
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
}

void TImageButtonEx::SetImageList(const TButtonImageList* list, int index) {
    imageList_ = list;
    imageIndex_ = index;
    updateGeometry();
    update();
}

const TButtonPictures& TImageButtonEx::Source() const {
    if (imageList_ && imageIndex_ >= 0 && imageIndex_ < imageList_->Count())
        return imageList_->At(imageIndex_);
    return Pictures;
}

void TImageButtonEx::SetLatched(bool down) {
    if (down && GroupIndex != 0 && parentWidget()) {
        for (auto* other : parentWidget()->findChildren<TImageButtonEx*>(Qt::FindDirectChildrenOnly)) {
            if (other != this && other->GroupIndex == GroupIndex)
                other->SetLatched(false);
        }
    }
    if (latched_ != down) {
        latched_ = down;
        update();
    }
}

void TImageButtonEx::nextCheckState() {
    if (GroupIndex == 0)
        return;
    SetLatched(!(latched_ && AllowAllUp));
}

TButtonLook TImageButtonEx::LookFor(bool enabled, bool latched, bool pressed, bool hovered) {
    if (!enabled)
        return TButtonLook::Disabled;
    if (latched)
        return TButtonLook::Down;
    if (pressed)
        return TButtonLook::Clicked;
    if (hovered)
        return TButtonLook::MouseOver;
    return TButtonLook::Normal;
}

const QPixmap& TImageButtonEx::PictureFor(TButtonLook look) const {
    const TButtonPictures& pictures = Source();
    return pictures[look].isNull() ? pictures[TButtonLook::Normal] : pictures[look];
}

TButtonLook TImageButtonEx::CurrentLook() const {
    return LookFor(isEnabled(), latched_, isDown(), hovered_);
}

QSize TImageButtonEx::sizeHint() const {
    const QPixmap& normal = PictureFor(TButtonLook::Normal);
    return normal.isNull() ? QSize(24, 24) : normal.deviceIndependentSize().toSize();
}

void TImageButtonEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& picture = PictureFor(CurrentLook());
    if (picture.isNull())
        return;
    const QSize size = picture.deviceIndependentSize().toSize();
    painter.drawPixmap(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size),
                       picture);
}

void TImageButtonEx::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TImageButtonEx::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

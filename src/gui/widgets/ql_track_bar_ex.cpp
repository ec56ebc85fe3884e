// Trovecart - position slider.
#include "gui/widgets/ql_track_bar_ex.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

TQLTrackBarEx::TQLTrackBarEx(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void TQLTrackBarEx::SetSelStart(int value) {
    selStart_ = value;
    update();
}

void TQLTrackBarEx::SetSelEnd(int value) {
    selEnd_ = value;
    update();
}

void TQLTrackBarEx::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->button());
    QSlider::mousePressEvent(event);
}

void TQLTrackBarEx::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    emit MouseUp(event->button());
}

// The thumb shows only while the slider is enabled.
void TQLTrackBarEx::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    QSlider::changeEvent(event);
}

void TQLTrackBarEx::paintEvent(QPaintEvent* event) {
    if (isEnabled()) {
        QSlider::paintEvent(event);
    } else {
        QPainter painter(this);
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
        style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
    }
    if (selStart_ == selEnd_ || maximum() <= minimum())
        return;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    const auto x = [&](int value) {
        return groove.x() + handle.width() / 2 +
               QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, option.upsideDown);
    };
    const int left = x(std::min(selStart_, selEnd_));
    const int right = x(std::max(selStart_, selEnd_));
    QPainter painter(this);
    painter.fillRect(QRect(left, groove.center().y() - 2, std::max(1, right - left), 5),
                     QColor(40, 110, 200, 170));
}

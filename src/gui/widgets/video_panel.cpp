// Trovecart - the black panel the media player draws into.
#include "gui/widgets/video_panel.h"

#include <QPaintEvent>
#include <QPainter>

TVideoPanel::TVideoPanel(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted each time, so Qt need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TVideoPanel::ShowFrame(const QImage& frame) {
    frame_ = frame;
    update();
}

void TVideoPanel::ClearFrame() {
    frame_ = QImage();
    update();
}

void TVideoPanel::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

QRect TVideoPanel::FitRect(const QSize& pictureSize, const QRect& area) {
    if (pictureSize.isEmpty() || area.isEmpty())
        return {};
    const QSize fitted = pictureSize.scaled(area.size(), Qt::KeepAspectRatio);
    const QPoint origin(area.x() + (area.width() - fitted.width()) / 2,
                        area.y() + (area.height() - fitted.height()) / 2);
    return QRect(origin, fitted);
}

void TVideoPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect target = FitRect(frame_.size(), rect());
    if (target.isEmpty()) {
        painter.fillRect(event->rect(), Qt::black);
        if (!caption_.isEmpty()) {
            painter.setPen(Qt::white);
            painter.drawText(rect(), Qt::AlignCenter, caption_);
        }
        return;
    }
    // Black only around the picture, so a playing video does not flicker.
    const QRegion around = QRegion(event->rect()).subtracted(QRegion(target));
    for (const QRect& part : around)
        painter.fillRect(part, Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.size() != frame_.size());
    painter.drawImage(target, frame_);
}

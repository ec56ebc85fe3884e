// Trovecart - picture panel.
#include "gui/widgets/picture_panel.h"

#include <QPainter>

TPicturePanel::TPicturePanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);
}

void TPicturePanel::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void TPicturePanel::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void TPicturePanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    if (!caption_.isEmpty())
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption_);
    if (picture_.isNull() || area.isEmpty())
        return;
    QSize size = picture_.size();
    if (size.width() > area.width() || size.height() > area.height())
        size.scale(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(), size);
    target.moveCenter(area.center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
}

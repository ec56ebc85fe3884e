// Trovecart - program picture.
#include "gui/widgets/program_icon.h"

#include <QPainter>

QPixmap ProgramIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    p.setPen(QPen(QColor(255, 210, 90), 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(32, 10, 36, 40), 0, 180 * 16);
    p.setPen(QPen(QColor(214, 150, 30), 3));
    p.setBrush(QColor(255, 190, 60));
    p.drawRoundedRect(QRectF(18, 30, 64, 60), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(14, 38, 70));
    p.drawEllipse(QPointF(36, 46), 4, 4);
    p.drawEllipse(QPointF(64, 46), 4, 4);
    return pixmap;
}

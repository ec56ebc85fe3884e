// Trovecart - placeholder picture.
#include "gui/widgets/doc_error.h"

#include <QPainter>

QPixmap DocError(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal m = size * 0.15;
    p.setPen(QPen(QColor(120, 120, 120), std::max(1.0, size / 48.0)));
    p.drawRect(QRectF(m, m * 0.6, size - 2 * m, size - 1.2 * m));
    p.setPen(QPen(QColor(200, 40, 40), std::max(2.0, size / 20.0)));
    p.drawLine(QPointF(size * 0.35, size * 0.35), QPointF(size * 0.65, size * 0.65));
    p.drawLine(QPointF(size * 0.65, size * 0.35), QPointF(size * 0.35, size * 0.65));
    return pixmap;
}

// Trovecart - list button pictures.
#include "gui/widgets/list_button_icons.h"

#include <QPainter>
#include <QPolygonF>

namespace {

QPixmap Draw(TListGlyph glyph, const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (glyph) {
    case TListGlyph::Add:
        p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
        p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
        break;
    case TListGlyph::Delete:
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        break;
    case TListGlyph::Rename:
        // A pencil over a line of text.
        p.drawLine(QPointF(4, 12), QPointF(12, 4));
        p.drawLine(QPointF(2.5, 14), QPointF(13.5, 14));
        break;
    case TListGlyph::MoveUp:
    case TListGlyph::MoveDown: {
        const bool up = glyph == TListGlyph::MoveUp;
        p.setBrush(colour);
        p.setPen(Qt::NoPen);
        const QPolygonF arrow =
            up ? QPolygonF({{8, 2}, {14, 10}, {2, 10}}) : QPolygonF({{8, 14}, {14, 6}, {2, 6}});
        p.drawPolygon(arrow);
        p.drawRect(up ? QRectF(6, 9, 4, 5) : QRectF(6, 2, 4, 5));
        break;
    }
    }
    return pixmap;
}

} // namespace

QIcon ListButtonIcon(TListGlyph glyph) {
    QIcon icon;
    icon.addPixmap(Draw(glyph, QColor(40, 80, 150)), QIcon::Normal);
    icon.addPixmap(Draw(glyph, QColor(170, 170, 170)), QIcon::Disabled);
    return icon;
}

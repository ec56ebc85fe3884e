// Trovecart - shop tree pictures, drawn so that no picture files are needed.
#include "gui/widgets/tree_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSize = 16;

QPixmap Draw(TTreeImage image) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const bool highlighted = image % 2 == 1;
    switch (image) {
    case tiFolderClosed:
    case tiFolderOpen:
        p.setPen(QColor(150, 110, 20));
        p.setBrush(image == tiFolderOpen ? QColor(255, 214, 102) : QColor(240, 190, 60));
        p.drawRect(1, 4, 14, 10);
        p.drawRect(1, 2, 6, 3);
        break;
    case tiCategory:
    case tiCategorySelected:
        p.setPen(QColor(60, 60, 60));
        p.setBrush(highlighted ? QColor(255, 240, 170) : QColor(230, 230, 230));
        p.drawRect(3, 2, 10, 13);
        p.setBrush(QColor(150, 120, 80));
        p.drawRect(5, 1, 6, 3);
        break;
    case tiGeneral:
    case tiGeneralSelected:
        p.setPen(QColor(60, 60, 60));
        p.setBrush(highlighted ? QColor(255, 240, 170) : Qt::white);
        p.drawRect(3, 1, 10, 14);
        p.drawLine(5, 5, 11, 5);
        p.drawLine(5, 8, 11, 8);
        p.drawLine(5, 11, 9, 11);
        break;
    case tiVideo:
    case tiVideoSelected:
        p.setPen(QColor(40, 40, 90));
        p.setBrush(QColor(70, 90, 170));
        p.drawRect(1, 3, 14, 10);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(6, 5), QPointF(11, 8), QPointF(6, 11)}));
        break;
    case tiMusic:
    case tiMusicSelected: {
        p.setPen(QPen(QColor(120, 30, 120), 1.5));
        p.setBrush(QColor(160, 60, 160));
        p.drawEllipse(QRectF(2, 10, 5, 4));
        p.drawEllipse(QRectF(9, 8, 5, 4));
        p.drawLine(QPointF(7, 12), QPointF(7, 2));
        p.drawLine(QPointF(14, 10), QPointF(14, 1));
        p.drawLine(QPointF(7, 2), QPointF(14, 1));
        break;
    }
    }
    return pixmap;
}

} // namespace

QIcon TreeNodeIcon(TTreeImage normal, TTreeImage selected) {
    QIcon icon;
    icon.addPixmap(Draw(normal), QIcon::Normal);
    icon.addPixmap(Draw(selected), QIcon::Selected);
    return icon;
}

TTreeImage ProductImage(TCartItemType type) {
    switch (type) {
    case citImage:
        return tiGeneral;
    case citVideo:
        return tiVideo;
    case citAudio:
        return tiMusic;
    }
    return tiGeneral;
}

// Trovecart - toolbar icons.
#include "gui/widgets/toolbar_icon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace {

// Grey at this share of the picture's own opacity.
constexpr double kDisabledOpacity = 0.4;

QImage Disabled(const QImage& picture) {
    QImage grey = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int level = qGray(line[x]);
            line[x] = qRgba(level, level, level, static_cast<int>(qAlpha(line[x]) * kDisabledOpacity));
        }
    }
    return grey;
}

} // namespace

QIcon ToolbarIcon(const QIcon& source, int side) {
    // Asked large and scaled down, so that a picture offered only small still fills the square.
    const QPixmap largest = source.pixmap(QSize(side * 4, side * 4));
    QImage square(side, side, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    if (!largest.isNull()) {
        const QPixmap fitted = largest.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter painter(&square);
        painter.drawPixmap((side - fitted.width()) / 2, (side - fitted.height()) / 2, fitted);
    }
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(square), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(Disabled(square)), QIcon::Disabled);
    return icon;
}

// Trovecart - button picture sets.
#include "gui/widgets/button_image_list.h"

#include <QPainter>
#include <QPainterPath>

int TButtonImageList::Add(const QString& name, TButtonPictures pictures) {
    entries_.push_back({name, std::move(pictures)});
    return Count() - 1;
}

int TButtonImageList::IndexOf(const QString& name) const {
    for (int i = 0; i < Count(); ++i) {
        if (entries_[static_cast<size_t>(i)].Name == name)
            return i;
    }
    return -1;
}

namespace {

constexpr int kSide = 28;

// A round button face in `face` with the symbol in `ink`.
QPixmap DrawFace(const QColor& face, const QColor& ink, bool pause) {
    QPixmap picture(kSide, kSide);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(face.darker(140), 1));
    p.setBrush(face);
    p.drawEllipse(QRectF(1.5, 1.5, kSide - 3, kSide - 3));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    if (pause) {
        p.drawRect(QRectF(9, 8, 3.5, 12));
        p.drawRect(QRectF(15.5, 8, 3.5, 12));
    } else {
        QPainterPath triangle;
        triangle.moveTo(11, 8);
        triangle.lineTo(20, 14);
        triangle.lineTo(11, 20);
        triangle.closeSubpath();
        p.drawPath(triangle);
    }
    return picture;
}

TButtonPictures DrawSet(bool pause) {
    TButtonPictures set;
    set[TButtonLook::Normal] = DrawFace(QColor(228, 228, 228), QColor(40, 40, 40), pause);
    set[TButtonLook::MouseOver] = DrawFace(QColor(242, 242, 242), QColor(20, 90, 180), pause);
    set[TButtonLook::Clicked] = DrawFace(QColor(190, 190, 190), QColor(20, 60, 130), pause);
    set[TButtonLook::Disabled] = DrawFace(QColor(236, 236, 236), QColor(175, 175, 175), pause);
    set[TButtonLook::Down] = DrawFace(QColor(40, 110, 200), Qt::white, pause);
    return set;
}

} // namespace

const TButtonImageList& TButtonImageList::PlayerButtons() {
    static const TButtonImageList list = [] {
        TButtonImageList made;
        made.Add(QStringLiteral("Play"), DrawSet(false));
        made.Add(QStringLiteral("Pause"), DrawSet(true));
        return made;
    }();
    return list;
}

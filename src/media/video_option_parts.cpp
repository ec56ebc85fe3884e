// Trovecart - the parts of the conversion options.
#include "media/video_option_parts.h"

#include "common/file_utils.h"

void TActiveRect::Assign(const TActiveRect& source) {
    TBassClass::Assign(source);
    Top = source.Top;
    Left = source.Left;
    Right = source.Right;
    Bottom = source.Bottom;
}

QString TActiveRect::ToString() const {
    if (!Active)
        return QStringLiteral("<Inactive>");
    return QString::asprintf("(T: %d, L: %d, R: %d, B: %d)", Top, Left, Right, Bottom);
}

void TPadRect::Assign(const TPadRect& source) {
    TActiveRect::Assign(source);
    Colour = source.Colour;
}

QString TPadRect::ToString() const {
    if (!Active)
        return QStringLiteral("<Inactive>");
    return QString::asprintf("(T: %d, L: %d, R: %d, B: %d, Colour: %6.6x)", Top, Left, Right, Bottom, Colour);
}

void TVideoScale::Assign(const TVideoScale& source) {
    TBassClass::Assign(source);
    Width = source.Width;
    Height = source.Height;
}

QString TVideoScale::ToString() const {
    return Active ? QStringLiteral("%1x%2").arg(Width).arg(Height) : QString();
}

void TActiveFileName::Assign(const TActiveFileName& source) {
    TBassClass::Assign(source);
    FileName = source.FileName;
}

QString TActiveFileName::ToString() const {
    return Active ? ExtractNamePart(FileName) : QStringLiteral("<Inactive>");
}

void TWaterMark::SetMode(uint8_t mode) {
    if (mode < 2)
        mode_ = mode;
}

void TWaterMark::Assign(const TWaterMark& source) {
    TActiveFileName::Assign(source);
    mode_ = source.mode_;
}

void TNativeHookText::Assign(const TNativeHookText& source) {
    TBassClass::Assign(source);
    Text = source.Text;
    Font = source.Font;
    X = source.X;
    Y = source.Y;
}

QString TNativeHookText::ToString() const {
    return QString::asprintf("(X: %d, Y: %d, Text: %s, Font: %s, Colour: %6.6x, FontSize: %d)", X, Y,
                             Text.toUtf8().constData(), Font.Name.toUtf8().constData(), Font.Color,
                             Font.Size);
}

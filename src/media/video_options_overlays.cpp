// Trovecart - the overlay lines ("vhook=") of the output option set.
#include <QFileInfo>
#include <QImage>
#include <QStringList>

#include "media/video_options.h"

namespace {

// Replaces an empty overlay text.
const char* const kPlaceholderText = "Your Text Here";

QString HookLine(const QStringList& items, bool spaceInPaths) {
    return QStringLiteral("vhook=") + items.join(spaceInPaths ? QStringLiteral("|") : QStringLiteral(" ")) +
           QStringLiteral("\r\n");
}

QString Hex6(uint32_t value) {
    return QStringLiteral("%1").arg(value & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

// 0x00BBGGRR to the RRGGBB the engine's overlays take.
QString RgbHex(TColor colour) {
    return Hex6(((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF));
}

QString MovingImageLine(const TImlib2VideoHookImage& hook, const QString& module) {
    static const char* const positions[4][2] = {
        {"W-w", "H-h"},
        {"(W-w)*(0.5+0.5*sin(N/47*PI))", "(H-h)*(0.5+0.5*cos(N/97*PI))"},
        {"10", "(H-h)*(0.5+0.50*cos(N/97*PI))"},
        {"(W-w)*(0.5+0.50*cos(N/97*PI))", "10"},
    };
    const bool own = hook.PositionKind < 0 || hook.PositionKind > 3;
    const QString x = own ? hook.X : QString::fromLatin1(positions[hook.PositionKind][0]);
    const QString y = own ? hook.Y : QString::fromLatin1(positions[hook.PositionKind][1]);
    return HookLine(
        {module, QStringLiteral("-i"), hook.FileName, QStringLiteral("-x"), x, QStringLiteral("-y"), y},
        module.contains(QLatin1Char(' ')) || hook.FileName.contains(QLatin1Char(' ')));
}

QString MovingTextLine(const TImlib2VideoHookText& hook, const QString& module) {
    // Kind 3 moves across the width like the image of kind 3, text-sized like kinds 1 and 2.
    static const char* const positions[4][2] = {
        {"10", "10"},
        {"(W-25)*(0.5+0.5*sin(N/47*PI))", "(H-25)*(0.5+0.5*cos(N/97*PI))"},
        {"10", "(H-25)*(0.5+0.50*cos(N/97*PI))"},
        {"(W-25)*(0.5+0.50*cos(N/97*PI))", "10"},
    };
    const bool own = hook.PositionKind < 0 || hook.PositionKind > 3;
    const QString x = own ? hook.X : QString::fromLatin1(positions[hook.PositionKind][0]);
    const QString y = own ? hook.Y : QString::fromLatin1(positions[hook.PositionKind][1]);
    QString text = hook.Text.trimmed();
    if (text.isEmpty())
        text = QString::fromLatin1(kPlaceholderText);
    QString font = hook.FontFile;
    if (QFileInfo(font).suffix().isEmpty())
        font += QStringLiteral(".ttf");
    return HookLine({module, QStringLiteral("-R"), QString::number(hook.Colour & 0xFF), QStringLiteral("-G"),
                     QString::number((hook.Colour >> 8) & 0xFF), QStringLiteral("-B"),
                     QString::number((hook.Colour >> 16) & 0xFF), QStringLiteral("-F"),
                     font + QLatin1Char('/') + QString::number(hook.FontSize), QStringLiteral("-t"), text,
                     QStringLiteral("-x"), x, QStringLiteral("-y"), y},
                    module.contains(QLatin1Char(' ')));
}

} // namespace

QString TVideoOptions::OverlayLines(int videoStream) {
    const QString folder = VhookFolder();
    QString lines;
    if (Imlib2VideoHookImage.Active && QFileInfo::exists(Imlib2VideoHookImage.FileName))
        lines += MovingImageLine(Imlib2VideoHookImage, folder + QStringLiteral("imlib2.dll"));
    if (Imlib2VideoHookText.Active)
        lines += MovingTextLine(Imlib2VideoHookText, folder + QStringLiteral("imlib2.dll"));
    if (WaterMark.Active && QFileInfo::exists(WaterMark.FileName)) {
        const QString module = folder + QStringLiteral("watermark.dll");
        lines += HookLine({module, QStringLiteral("-f"), WaterMark.FileName, QStringLiteral("-m"),
                           QString::number(WaterMark.Mode())},
                          module.contains(QLatin1Char(' ')) || WaterMark.FileName.contains(QLatin1Char(' ')));
    }
    const QString nativeModule = folder + QStringLiteral("NativeHook.dll");
    if (NativeHookImage.Active && QFileInfo::exists(NativeHookImage.FileName)) {
        // The bitmap's transparent colour is its bottom-left pixel.
        const QImage image(NativeHookImage.FileName);
        const QRgb transparent = image.isNull() ? 0 : image.pixel(0, image.height() - 1);
        TVideoStreamInfo video;
        if (videoStream >= 0)
            probe_.GetVideoStreamInfo(videoStream, video);
        lines += HookLine(
            {nativeModule, QStringLiteral("-i"), NativeHookImage.FileName, QStringLiteral("-mc"),
             Hex6(transparent), QStringLiteral("-ix"), QString::number(video.Width - image.width() - 10),
             QStringLiteral("-iy"), QString::number(video.Height - image.height() - 10)},
            nativeModule.contains(QLatin1Char(' ')) || NativeHookImage.FileName.contains(QLatin1Char(' ')));
    }
    if (NativeHookText.Active) {
        NativeHookText.Text = NativeHookText.Text.trimmed();
        const QString text =
            NativeHookText.Text.isEmpty() ? QString::fromLatin1(kPlaceholderText) : NativeHookText.Text;
        const TFontSpec& font = NativeHookText.Font;
        QString style;
        style += font.Bold ? QStringLiteral("B") : QString();
        style += font.Italic ? QStringLiteral("I") : QString();
        style += font.Underline ? QStringLiteral("U") : QString();
        style += font.StrikeOut ? QStringLiteral("S") : QString();
        lines += HookLine({nativeModule, QStringLiteral("-t"), text, QStringLiteral("-tx"),
                           QString::number(NativeHookText.X), QStringLiteral("-ty"),
                           QString::number(NativeHookText.Y), QStringLiteral("-fc"), RgbHex(font.Color),
                           QStringLiteral("-fn"), font.Name, QStringLiteral("-fs"),
                           QString::number(font.Size), QStringLiteral("-fst"), style},
                          nativeModule.contains(QLatin1Char(' ')));
    }
    return lines;
}

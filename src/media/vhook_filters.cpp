// Trovecart - overlay module lines mapped onto movie/overlay/drawtext/colorkey filters.
#include "media/vhook_filters.h"

#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include "media/media_error.h"

namespace {

// Arguments by flag. A value may hold the separator itself (texts with blanks on a line
// separated by blanks), so it runs up to the next flag the module knows.
QHash<QString, QString> ParseArguments(const QStringList& items, const QStringList& flags) {
    QHash<QString, QString> arguments;
    QString current;
    QString separator;
    for (const QString& item : items) {
        if (flags.contains(item)) {
            current = item;
            arguments.insert(current, QString());
            separator.clear();
        } else if (!current.isEmpty()) {
            arguments[current] += separator + item;
            separator = QStringLiteral(" ");
        }
    }
    return arguments;
}

// The old overlay modules counted frames with N; libavfilter calls the frame number n.
QString Expression(const QString& text) {
    QString result;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool alone = (i == 0 || !text.at(i - 1).isLetterOrNumber()) &&
                           (i + 1 == text.size() || !text.at(i + 1).isLetterOrNumber());
        result += c == QLatin1Char('N') && alone ? QChar(QLatin1Char('n')) : c;
    }
    return EscapeFilterValue(result);
}

QString ImageOverlay(const QString& image, const QString& sourceFilters, const QString& x, const QString& y) {
    return QStringLiteral("movie=filename=%1%2[hk{id}];{in}[hk{id}]overlay=x=%3:y=%4{out}")
        .arg(EscapeFilterValue(image), sourceFilters, Expression(x), Expression(y));
}

QString ColourText(int red, int green, int blue) {
    return QStringLiteral("0x%1%2%3")
        .arg(red & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(green & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(blue & 0xFF, 2, 16, QLatin1Char('0'));
}

// An existing font file is used as it is; anything else is looked up by family name.
QString FontOption(const QString& font) {
    if (QFileInfo::exists(font))
        return QStringLiteral("fontfile=") + EscapeFilterValue(font);
    return QStringLiteral("font=") + EscapeFilterValue(QFileInfo(font).completeBaseName());
}

QString Imlib2(const QStringList& items) {
    const QHash<QString, QString> a = ParseArguments(
        items, {QStringLiteral("-i"), QStringLiteral("-x"), QStringLiteral("-y"), QStringLiteral("-R"),
                QStringLiteral("-G"), QStringLiteral("-B"), QStringLiteral("-F"), QStringLiteral("-t")});
    const QString x = a.value(QStringLiteral("-x"), QStringLiteral("0"));
    const QString y = a.value(QStringLiteral("-y"), QStringLiteral("0"));
    if (a.contains(QStringLiteral("-i")))
        return ImageOverlay(a.value(QStringLiteral("-i")), QString(), x, y);
    if (!a.contains(QStringLiteral("-t")))
        throw EMediaError(QStringLiteral("imlib2: -i or -t is required."));
    // "-F font/size": the size follows the last '/'.
    const QString fontAndSize = a.value(QStringLiteral("-F"));
    const int slash = fontAndSize.lastIndexOf(QLatin1Char('/'));
    const QString font = slash < 0 ? fontAndSize : fontAndSize.left(slash);
    const int size = slash < 0 ? 16 : fontAndSize.mid(slash + 1).toInt();
    return QStringLiteral("{in}drawtext=%1:fontsize=%2:fontcolor=%3:text=%4:x=%5:y=%6{out}")
        .arg(FontOption(font))
        .arg(size > 0 ? size : 16)
        .arg(ColourText(a.value(QStringLiteral("-R")).toInt(), a.value(QStringLiteral("-G")).toInt(),
                        a.value(QStringLiteral("-B")).toInt()),
             EscapeFilterValue(a.value(QStringLiteral("-t"))), Expression(x), Expression(y));
}

// Mode 0 blends the mark half-transparent, mode 1 lays it over as it is.
QString Watermark(const QStringList& items) {
    const QHash<QString, QString> a = ParseArguments(items, {QStringLiteral("-f"), QStringLiteral("-m")});
    if (!a.contains(QStringLiteral("-f")))
        throw EMediaError(QStringLiteral("watermark: -f is required."));
    const QString blend = a.value(QStringLiteral("-m")).toInt() == 1
                              ? QString()
                              : QStringLiteral(",format=rgba,colorchannelmixer=aa=0.5");
    return ImageOverlay(a.value(QStringLiteral("-f")), blend, QStringLiteral("0"), QStringLiteral("0"));
}

QString NativeHook(const QStringList& items) {
    const QHash<QString, QString> a = ParseArguments(
        items, {QStringLiteral("-i"), QStringLiteral("-mc"), QStringLiteral("-ix"), QStringLiteral("-iy"),
                QStringLiteral("-t"), QStringLiteral("-tx"), QStringLiteral("-ty"), QStringLiteral("-fc"),
                QStringLiteral("-fn"), QStringLiteral("-fs"), QStringLiteral("-fst")});
    if (a.contains(QStringLiteral("-i"))) {
        const QString key = QStringLiteral(",colorkey=0x%1:0.01")
                                .arg(a.value(QStringLiteral("-mc"), QStringLiteral("000000")));
        return ImageOverlay(a.value(QStringLiteral("-i")), key,
                            a.value(QStringLiteral("-ix"), QStringLiteral("0")),
                            a.value(QStringLiteral("-iy"), QStringLiteral("0")));
    }
    if (!a.contains(QStringLiteral("-t")))
        throw EMediaError(QStringLiteral("NativeHook: -i or -t is required."));
    QString font = a.value(QStringLiteral("-fn"), QStringLiteral("Sans"));
    const QString style = a.value(QStringLiteral("-fst"));
    QStringList styles;
    if (style.contains(QLatin1Char('B')))
        styles << QStringLiteral("Bold");
    if (style.contains(QLatin1Char('I')))
        styles << QStringLiteral("Italic");
    if (!styles.isEmpty())
        font += QStringLiteral(":style=") + styles.join(QLatin1Char(' '));
    const int size = a.value(QStringLiteral("-fs")).toInt();
    return QStringLiteral("{in}drawtext=font=%1:fontsize=%2:fontcolor=0x%3:text=%4:x=%5:y=%6{out}")
        .arg(EscapeFilterValue(font))
        .arg(size > 0 ? size : 16)
        .arg(a.value(QStringLiteral("-fc"), QStringLiteral("ffffff")),
             EscapeFilterValue(a.value(QStringLiteral("-t"))),
             Expression(a.value(QStringLiteral("-tx"), QStringLiteral("0"))),
             Expression(a.value(QStringLiteral("-ty"), QStringLiteral("0"))));
}

QString Escaped(const QString& value, const QString& special) {
    QString result;
    for (const QChar c : value) {
        if (special.contains(c))
            result += QLatin1Char('\\');
        result += c;
    }
    return result;
}

} // namespace

QString EscapeFilterValue(const QString& value) {
    // Once for the filter's option parser, once for the graph parser.
    return Escaped(Escaped(value, QStringLiteral("\\':")), QStringLiteral("\\'[],;="));
}

QString VhookToFilterGraph(const QString& line) {
    const QString separator = line.contains(QLatin1Char('|')) ? QStringLiteral("|") : QStringLiteral(" ");
    const QStringList items = line.split(separator, Qt::SkipEmptyParts);
    if (items.isEmpty())
        throw EMediaError(QStringLiteral("vhook: module missing."));
    const QString module =
        QFileInfo(QString(items.first()).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName().toLower();
    const QStringList arguments = items.mid(1);
    if (module == QLatin1String("imlib2.dll") || module == QLatin1String("imlib2.so"))
        return Imlib2(arguments);
    if (module == QLatin1String("watermark.dll") || module == QLatin1String("watermark.so"))
        return Watermark(arguments);
    if (module == QLatin1String("nativehook.dll") || module == QLatin1String("nativehook.so"))
        return NativeHook(arguments);
    throw EMediaError(QStringLiteral("vhook: unknown module %1.").arg(items.first()));
}

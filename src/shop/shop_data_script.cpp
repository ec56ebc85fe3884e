// Trovecart - the catalogue as a script the web storefront loads.
#include "shop/shop_data_script.h"

#include <QJsonDocument>

#include "shop/shop_json.h"

namespace {

// Everything beyond ASCII becomes a \u escape (U+2028 and U+2029 among them), and so do '<', '>'
// and '&', which could otherwise spell "</script>" or "<!--". They all stand only inside JSON
// strings, where the escape means the same character.
QByteArray EscapeForScript(const QByteArray& json) {
    static const char kHex[] = "0123456789abcdef";
    const QString text = QString::fromUtf8(json);
    QByteArray escaped;
    escaped.reserve(json.size() + json.size() / 8);
    for (const QChar character : text) {
        const char16_t unit = character.unicode();
        if (unit < 0x80 && unit != u'<' && unit != u'>' && unit != u'&') {
            escaped.append(static_cast<char>(unit));
            continue;
        }
        const char sequence[] = {'\\',
                                 'u',
                                 kHex[(unit >> 12) & 0xF],
                                 kHex[(unit >> 8) & 0xF],
                                 kHex[(unit >> 4) & 0xF],
                                 kHex[unit & 0xF]};
        escaped.append(sequence, sizeof sequence);
    }
    return escaped;
}

// The JSON as a single-quoted script string; after EscapeForScript only these two need escaping.
QByteArray QuotedForScript(const QByteArray& asciiJson) {
    QByteArray quoted = asciiJson;
    quoted.replace('\\', "\\\\").replace('\'', "\\'");
    return '\'' + quoted + '\'';
}

} // namespace

QByteArray ShopDataScript(const TShop& shop) {
    const QByteArray json = QJsonDocument(ShopToJson(shop)).toJson(QJsonDocument::Compact);
    return QByteArray("window.") + kShopDataGlobal + " = JSON.parse(" +
           QuotedForScript(EscapeForScript(json)) + ");\n";
}

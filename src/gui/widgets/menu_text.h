// Trovecart - menu captions made from names the user typed.
#pragma once

#include <QString>

// A lone '&' would mark the next letter as the entry's accelerator and vanish from the caption.
inline QString MenuText(QString userText) {
    return userText.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Trovecart - the extra option lines of the engine's option sets.
#pragma once

#include <QList>
#include <QString>

struct TExtraOption {
    QString Name;
    QString Value;
};

// One entry per non-empty line "name=value" (a line without '=' gives an empty value). Lines end
// with CR LF, LF or the text "<CRLF>"; surrounding blanks are dropped. Later lines do not
// replace earlier ones: "map" may repeat.
QList<TExtraOption> ParseExtraOptions(const QString& text);

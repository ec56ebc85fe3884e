// Trovecart - files that are written whole or not at all.
#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

class QIODevice;

// Writes the file through `write` under a temporary name beside it and renames it into place only
// when every byte has been written; otherwise the old file stays as it was and EAppError carries
// the system's message. `write` returns false when it could not produce the content.
void WriteWholeFile(const QString& fileName, const std::function<bool(QIODevice&)>& write);
void WriteWholeFile(const QString& fileName, const QByteArray& content);

// Trovecart - files that are written whole or not at all.
#include "common/whole_file.h"

#include <QSaveFile>

#include "common/app_error.h"

void WriteWholeFile(const QString& fileName, const std::function<bool(QIODevice&)>& write) {
    QSaveFile file(fileName);
    // Unbuffered, so that a full disk fails the write it happens in: QSaveFile::commit() does not
    // see an error of the final flush of its buffer and would rename a truncated file into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EAppError(file.errorString());
    bool written = false;
    try {
        written = write(file);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!written || file.error() != QFileDevice::NoError) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("The content could not be written.");
        file.cancelWriting();
        throw EAppError(reason);
    }
    if (!file.commit())
        throw EAppError(file.errorString());
}

void WriteWholeFile(const QString& fileName, const QByteArray& content) {
    WriteWholeFile(fileName,
                   [&content](QIODevice& device) { return device.write(content) == content.size(); });
}

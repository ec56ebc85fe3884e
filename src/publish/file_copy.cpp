// Trovecart - file copy with progress.
#include "publish/file_copy.h"

#include <cerrno>
#include <cstring>

#include <QFile>
#include <QSaveFile>

namespace {

constexpr qint64 kBlockSize = 1024 * 1024;

} // namespace

QString CopyFileWithProgress(const QString& source, const QString& target, const TCopyProgress& progress) {
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return input.errorString();
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        return output.errorString();

    const qint64 total = input.size();
    QByteArray block(static_cast<qsizetype>(std::min(std::max<qint64>(total, 1), kBlockSize)), Qt::Uninitialized);
    qint64 done = 0;
    if (!progress(0, total)) {
        output.cancelWriting();
        return QString::fromLocal8Bit(std::strerror(ECANCELED));
    }
    for (;;) {
        const qint64 read = input.read(block.data(), block.size());
        if (read < 0) {
            output.cancelWriting();
            return input.errorString();
        }
        if (read == 0)
            break;
        if (output.write(block.constData(), read) != read) {
            const QString message = output.errorString();
            output.cancelWriting();
            return message;
        }
        done += read;
        if (!progress(done, total)) {
            output.cancelWriting();
            return QString::fromLocal8Bit(std::strerror(ECANCELED));
        }
    }
    if (!output.commit())
        return output.errorString();
    return QString();
}

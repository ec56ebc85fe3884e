// Trovecart fuzzing - hands an input to a loader that reads it from a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// The process's scratch folder, in memory where the system offers one: every run writes its input
// there. Ends with '/'.
inline const QString& ScratchFolder() {
    static const QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                          ? QStringLiteral("/dev/shm/trovecart-fuzz-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/trovecart-fuzz-XXXXXX"));
    static const QString path = folder.path() + QLatin1Char('/');
    if (!folder.isValid())
        std::abort();
    return path;
}

// Writes the input into the scratch folder under `name` and returns its path.
inline QString WriteInput(const uint8_t* data, size_t size, const QString& name) {
    const QString path = ScratchFolder() + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        std::abort();
    return path;
}

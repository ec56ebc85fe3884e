// Trovecart - CD-ROM drive check.
#include "common/drive_type.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

bool IsCdRomVolume(const QByteArray& fileSystemType, bool readOnly) {
    const QByteArray type = fileSystemType.toLower();
    return readOnly || type == "iso9660" || type == "udf";
}

bool FolderOnCdRom(const QString& folder) {
    QString existing = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo::exists(existing) && existing != QDir::rootPath())
        existing = QFileInfo(existing).path();
    const QStorageInfo volume(existing);
    return volume.isValid() && IsCdRomVolume(volume.fileSystemType(), volume.isReadOnly());
}

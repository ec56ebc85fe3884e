// Trovecart - whether a folder lies on a CD-ROM drive, where nothing can be published.
#pragma once

#include <QByteArray>
#include <QString>

// An optical disc's file system (iso9660, udf), or any volume mounted read-only.
bool IsCdRomVolume(const QByteArray& fileSystemType, bool readOnly);

// Whether the folder's volume is such a one. A folder that does not exist yet is judged by its
// nearest existing parent.
bool FolderOnCdRom(const QString& folder);

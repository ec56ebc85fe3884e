// Trovecart - folder name check.
#include "common/folder_name.h"

QString FolderNameError(const QString& name) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : name) {
        if (forbidden.contains(c))
            return QStringLiteral(
                "Folder name cannot contain any of the aollowing characters\r\n\\/:*?\"<>|");
    }
    return QString();
}

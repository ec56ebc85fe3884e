// Trovecart - remote file types and icons.
#include "gui/publish/ftp_icon_table.h"

#include <QFileIconProvider>
#include <QMimeDatabase>

TFtpIconTable& TFtpIconTable::Shared() {
    static TFtpIconTable table;
    return table;
}

TFtpIconTable::TFtpIconTable() {
    const QFileIconProvider provider;
    Add(QStringLiteral("folder"), QStringLiteral("File Folder"), provider.icon(QFileIconProvider::Folder));
    Add(QStringLiteral("unknown"), QStringLiteral("Unknown File"), provider.icon(QFileIconProvider::File));
}

int TFtpIconTable::Add(const QString& extension, const QString& typeName, const QIcon& icon) {
    extensions_.append(extension);
    typeNames_.append(typeName);
    icons_.append(icon);
    const int index = Count() - 1;
    indexOfExtension_.insert(extension, index);
    return index;
}

int TFtpIconTable::IndexOfExtension(const QString& extension) {
    if (extension.isEmpty())
        return kUnknown;
    const QString key = extension.toLower();
    const auto known = indexOfExtension_.constFind(key);
    if (known != indexOfExtension_.constEnd())
        return *known;

    static const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QStringLiteral("file") + key, QMimeDatabase::MatchExtension);
    if (type.isDefault()) {
        // No program claims it: named after the extension, with the generic file icon.
        return Add(key, extension.mid(1).toUpper() + QStringLiteral(" File"), Icon(kUnknown));
    }
    const QIcon icon =
        QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), Icon(kUnknown)));
    return Add(key, type.comment(), icon);
}

QString FileExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

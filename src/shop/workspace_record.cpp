// Trovecart - workspace records.
#include "shop/workspace_record.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "common/folder_lock.h"
#include "common/whole_file.h"

namespace {

// A record is a few hundred bytes; anything much larger is not one.
constexpr qint64 kLargestRecord = 64 * 1024;

const QLatin1String kProjectKey("project");
const QLatin1String kUnsavedKey("unsaved");
const QLatin1String kWrittenKey("written");

} // namespace

QString TWorkspaceRecord::FileFor(const QString& siteFolder) {
    return WithoutTrailingSlash(siteFolder) + QStringLiteral(".record");
}

std::optional<TWorkspaceRecord> TWorkspaceRecord::Read(const QString& siteFolder) {
    QFile file(FileFor(siteFolder));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestRecord)
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonValue project = object.value(kProjectKey);
    const QJsonValue unsaved = object.value(kUnsavedKey);
    const QDateTime written = QDateTime::fromString(object.value(kWrittenKey).toString(), Qt::ISODateWithMs);
    if (!project.isString() || !unsaved.isBool() || !written.isValid())
        return std::nullopt;
    return TWorkspaceRecord{project.toString(), unsaved.toBool(), written};
}

bool TWorkspaceRecord::Write(const QString& siteFolder) {
    Written = QDateTime::currentDateTimeUtc();
    const QJsonObject object{
        {kProjectKey, ProjectFile},
        {kUnsavedKey, Unsaved},
        {kWrittenKey, Written.toString(Qt::ISODateWithMs)},
    };
    try {
        WriteWholeFile(FileFor(siteFolder), QJsonDocument(object).toJson());
    } catch (const EAppError&) {
        return false;
    }
    return true;
}

QList<TAbandonedWorkspace> FindUnsavedWorkspaces(const QString& tempFolder) {
    QList<TAbandonedWorkspace> found;
    const QFileInfoList folders = QDir(tempFolder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders) {
        const QString site = WithTrailingSlash(folder.absoluteFilePath());
        if (folder.isSymLink() || IsFolderLocked(site))
            continue;
        const std::optional<TWorkspaceRecord> record = TWorkspaceRecord::Read(site);
        if (record && record->Unsaved)
            found.append({site, *record});
    }
    std::sort(found.begin(), found.end(), [](const TAbandonedWorkspace& a, const TAbandonedWorkspace& b) {
        return a.Record.Written > b.Record.Written;
    });
    return found;
}

void DiscardWorkspace(const QString& siteFolder) {
    const QFileInfo folder(WithoutTrailingSlash(siteFolder));
    const QString name = folder.fileName();
    RemoveAbandonedEntries(folder.absolutePath(), [&name](const QString& entry) {
        return entry == name || entry.startsWith(name + QLatin1Char('.'));
    });
}

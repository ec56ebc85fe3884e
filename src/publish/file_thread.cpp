// Trovecart - folder publish worker.
#include "publish/file_thread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "publish/file_copy.h"

namespace {

// A record larger than this is not one of ours.
constexpr qint64 kMaxManifestBytes = 64 * 1024 * 1024;

} // namespace

void TFileThread::run() {
    try {
        if (!CommonStart() || Terminated())
            return;
        PublishWithManifest([this] { CopyFolder(SourceFolder(), TargetFolder()); });
    } catch (const EAppError& error) {
        ReportRunFailure(error.Message());
    }
}

bool TFileThread::IsTargetNotEmpty() {
    return FolderHasEntries(TargetFolder());
}

void TFileThread::CopyFolder(const QString& source, const QString& target) {
    const QString targetFolder = WithTrailingSlash(target);
    ForceFolders(targetFolder);
    WalkSentEntries(
        source, [&](const TFolderEntry& folder) { ForceOutputFolder(targetFolder + folder.Relative); },
        [&](const TFolderEntry& file) {
            SendFile(file, [&](TManifestEntry* sent, bool hash) {
                CopyOneFile(file.Path, targetFolder + file.Relative, sent, hash);
            });
        });
}

void TFileThread::CopyOneFile(const QString& source, const QString& target, TManifestEntry* sent, bool hash) {
    CopyFileWithProgress(
        source, target,
        [this](qint64 done, qint64 total) {
            UpdateFileProgress(done, total);
            return !Terminated();
        },
        sent, hash);
}

QString TFileThread::ActionText(const QString& relative) const {
    return WithTrailingSlash(TargetFolder()) + relative;
}

QString TFileThread::LocalTargetPath(const QString& relative) const {
    return ActionText(relative);
}

QString TFileThread::ManifestPath() const {
    return ActionText(TPublishManifest::FileName());
}

QByteArray TFileThread::ReadManifest() {
    QFile file(ManifestPath());
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxManifestBytes)
        return {};
    return file.readAll();
}

void TFileThread::RemoveManifest() {
    QFile file(ManifestPath());
    if (QFileInfo(file).isSymLink() || file.exists()) {
        if (!file.remove())
            throw EAppError(file.errorString());
    }
}

void TFileThread::WriteManifest(const QByteArray& content) {
    QSaveFile file(ManifestPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw EAppError(file.errorString());
}

bool TFileThread::LiesBelowTarget(const QString& folder, bool orIsTarget) const {
    const QString target = QFileInfo(TargetFolder()).canonicalFilePath();
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (target.isEmpty() || canonical.isEmpty())
        return false;
    return (orIsTarget && canonical == target) || canonical.startsWith(WithTrailingSlash(target));
}

void TFileThread::RemoveTargetFile(const QString& relative) {
    const QString path = ActionText(relative);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;
    if (!LiesBelowTarget(info.path(), true))
        throw EAppError(QStringLiteral("The file lies outside the publish folder."));
    QFile file(path);
    if (!file.remove())
        throw EAppError(file.errorString());
}

bool TFileThread::RemoveEmptyTargetFolder(const QString& relative) {
    const QString path = ActionText(relative);
    // rmdir takes only an empty folder and never follows a link.
    return LiesBelowTarget(path, false) && QDir().rmdir(path);
}

// Trovecart - folder locks on flock(2).
#include "common/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "common/app_error.h"
#include "common/file_utils.h"

namespace {

const QLatin1String kLockSuffix(".lock");

// An open descriptor holding the lock, or -1 when the file is missing or someone else holds it.
// Close-on-exec: a program started from here must not keep the lock alive after we end.
int TakeLock(const QString& lockFile, bool create) {
    const int flags = O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0);
    const int descriptor = ::open(QFile::encodeName(lockFile).constData(), flags, 0600);
    if (descriptor < 0)
        return -1;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

} // namespace

TFolderLock::TFolderLock(const QString& folder) : lockFile_(LockFileFor(folder)) {
    descriptor_ = TakeLock(lockFile_, true);
    if (descriptor_ < 0)
        throw EAppError(QStringLiteral("Cannot lock \"%1\".").arg(lockFile_));
}

TFolderLock::~TFolderLock() {
    // Removed while still held, so that no cleaner can take it in between.
    QFile::remove(lockFile_);
    ::close(descriptor_);
}

QString TFolderLock::LockFileFor(const QString& folder) {
    return WithoutTrailingSlash(folder) + kLockSuffix;
}

bool IsFolderLocked(const QString& folder) {
    const QString lockFile = TFolderLock::LockFileFor(folder);
    if (!QFile::exists(lockFile))
        return false;
    const int descriptor = TakeLock(lockFile, false);
    if (descriptor < 0)
        return QFile::exists(lockFile);
    ::close(descriptor);
    return false;
}

namespace {

// The folder a file "<folder>.<suffixes>" belongs to; any other entry stands for itself. Up to the
// first dot, so that the temporary file of a record being replaced belongs to the folder, too.
QString OwnerOf(const QFileInfo& entry) {
    const QString path = entry.absoluteFilePath();
    if (entry.isDir() && !entry.isSymLink())
        return path;
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.indexOf(QLatin1Char('.'), nameStart + 1);
    return dot > 0 ? path.left(dot) : path;
}

void RemoveCompanionFiles(const QString& folder, const QFileInfoList& entries) {
    const QString prefix = QFileInfo(folder).fileName() + QLatin1Char('.');
    for (const QFileInfo& entry : entries) {
        if (!entry.isDir() && entry.fileName().startsWith(prefix))
            QFile::remove(entry.absoluteFilePath());
    }
}

} // namespace

void RemoveAbandonedEntries(const QString& parent, const std::function<bool(const QString& name)>& select) {
    const QDir directory(parent);
    const QFileInfoList entries =
        directory.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (select && !select(entry.fileName()))
            continue;
        const bool isFolder = entry.isDir() && !entry.isSymLink();
        const QString folder = OwnerOf(entry);
        // A folder's own files go with it.
        if (!isFolder && folder != entry.absoluteFilePath() && QFileInfo(folder).isDir())
            continue;
        const QString lockFile = TFolderLock::LockFileFor(folder);
        // Held while the folder goes, so that its lock file cannot be taken over meanwhile.
        const int descriptor = TakeLock(lockFile, false);
        if (descriptor < 0 && QFile::exists(lockFile))
            continue;
        if (isFolder) {
            DeleteFolderTree(WithTrailingSlash(folder));
            RemoveCompanionFiles(folder, entries);
        } else {
            QFile::remove(entry.absoluteFilePath());
        }
        if (descriptor >= 0) {
            QFile::remove(lockFile);
            ::close(descriptor);
        }
    }
}

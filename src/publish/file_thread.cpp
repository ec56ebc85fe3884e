// Trovecart - folder publish worker.
#include "publish/file_thread.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <sys/stat.h>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "common/app_error.h"
#include "common/file_utils.h"
#include "common/task_thread.h"
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

// Copies the files of the walk and reports them in its order. The walk comes first: it makes the
// folders and starts the copy of each large file on a second thread as it meets it. The worker
// then copies the other files in the walk's order; the reports of those after a large file still
// being copied wait until it has ended. The kernel's copy of the large files and the making of
// the many small ones thus share two cores instead of taking turns.
class TFileThread::TOrderedCopies {
public:
    TOrderedCopies(TFileThread& worker, const QString& targetFolder)
        : worker_(worker), targetFolder_(targetFolder) {}

    void Walk(const QString& source) {
        worker_.WalkSentEntries(
            source, [&](const TFolderEntry& folder) { ForceOutputFolder(targetFolder_ + folder.Relative); },
            [&](const TFolderEntry& file) {
                files_.push_back({file, IsLarge(file.Path) ? StartSideCopy(file) : nullptr});
            });
    }

    // Copies the files the walk left to the worker and reports every file.
    void Run() {
        size_t next = 0;
        for (; next < files_.size() && !worker_.Terminated(); ++next) {
            const TWalkedFile& file = files_[next];
            waiting_.push_back(file.SideCopy ? file.SideCopy : CopyHere(file.Entry));
            ReportEnded();
        }
        // After a stop, the copies the walk started for files the worker did not reach are reported
        // as well: copied or abandoned.
        for (; next < files_.size(); ++next) {
            if (files_[next].SideCopy)
                waiting_.push_back(files_[next].SideCopy);
        }
        while (!waiting_.empty()) {
            if (const quint64 task = waiting_.front()->SideTask)
                side_.WaitEnded(task, kSideProgressInterval);
            ReportEnded();
        }
    }

private:
    // A file from its copy to its report. Until its copy on the second thread has ended, that
    // thread writes the outcome in Send and the byte counts; the worker reads only what was set
    // before the copy started.
    struct TCopy {
        TFileSend Send;
        // The task of the copy on the second thread; 0 for a copy made by the worker.
        quint64 SideTask = 0;
        std::atomic<qint64> DoneBytes = 0;
        std::atomic<qint64> TotalBytes = 0;
        // Since the copy began: its turn to be reported may come long after.
        std::atomic<qint64> ElapsedNs = 0;
        bool Announced = false;
    };
    struct TWalkedFile {
        TFolderEntry Entry;
        // Set for a large file.
        std::shared_ptr<TCopy> SideCopy;
    };

    // A large file is one whose copy takes as long as making a few dozen small ones.
    static constexpr qint64 kLargeFileBytes = 4 * 1024 * 1024;
    // How often the progress of a file copied on the second thread is shown while the worker waits.
    static constexpr std::chrono::milliseconds kSideProgressInterval{100};

    static bool IsLarge(const QString& path) {
        struct stat status {};
        return ::stat(LocalPath(path).c_str(), &status) == 0 && status.st_size >= kLargeFileBytes;
    }

    static void RunCopy(TFileSend& send, const QString& source, const QString& target,
                        const TCopyProgress& progress) {
        RunTransfer(send, [&](TManifestEntry* sent, bool hash) {
            CopyFileWithProgress(source, target, progress, sent, hash);
        });
    }

    std::shared_ptr<TCopy> StartSideCopy(const TFolderEntry& file) {
        auto copy = std::make_shared<TCopy>();
        copy->Send = worker_.PrepareSend(file);
        if (copy->Send.Unchanged)
            return copy;
        copy->SideTask = side_.Add([this, copy, source = file.Path,
                                    target = targetFolder_ + file.Relative](const std::stop_token& stop) {
            // A copy the walk started before a stop fails as abandoned, as one under way would.
            QElapsedTimer clock;
            clock.start();
            RunCopy(copy->Send, source, target, [&](qint64 done, qint64 total) {
                copy->DoneBytes = done;
                copy->ElapsedNs = clock.nsecsElapsed();
                copy->TotalBytes = total;
                return !stop.stop_requested() && !worker_.Terminated();
            });
        });
        return copy;
    }

    // Copies the file in the worker; reported as it goes when nothing waits to be reported before it.
    std::shared_ptr<TCopy> CopyHere(const TFolderEntry& file) {
        auto copy = std::make_shared<TCopy>();
        copy->Send = worker_.PrepareSend(file);
        if (copy->Send.Unchanged)
            return copy;
        copy->Announced = waiting_.empty();
        if (copy->Announced)
            worker_.ReportSendStart(copy->Send);
        RunCopy(copy->Send, file.Path, targetFolder_ + file.Relative,
                [this, announced = copy->Announced](qint64 done, qint64 total) {
                    if (announced)
                        worker_.UpdateFileProgress(done, total);
                    return !worker_.Terminated();
                });
        return copy;
    }

    // Reports the files at the front that are done with; shows the progress of a copy still running there.
    void ReportEnded() {
        while (!waiting_.empty()) {
            TCopy& front = *waiting_.front();
            const bool ended = !front.SideTask || side_.WaitEnded(front.SideTask);
            if (!front.Send.Unchanged && !front.Announced) {
                worker_.ReportSendStart(front.Send);
                front.Announced = true;
            }
            if (front.SideTask && front.TotalBytes > 0)
                worker_.UpdateFileProgress(front.DoneBytes, front.TotalBytes, front.ElapsedNs);
            if (!ended)
                return;
            worker_.FinishSend(front.Send);
            waiting_.pop_front();
        }
    }

    TFileThread& worker_;
    const QString targetFolder_;
    // In the order of the walk.
    std::vector<TWalkedFile> files_;
    // Copied, or being copied on the second thread, and not yet reported; in the order of the walk.
    std::deque<std::shared_ptr<TCopy>> waiting_;
    // Last: a copy still running when the run ends by an error is stopped before the rest goes.
    TTaskThread side_;
};

void TFileThread::CopyFolder(const QString& source, const QString& target) {
    const QString targetFolder = WithTrailingSlash(target);
    ForceFolders(targetFolder);
    TOrderedCopies copies(*this, targetFolder);
    copies.Walk(source);
    copies.Run();
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

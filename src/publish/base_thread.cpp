// Trovecart - publish worker base.
#include "publish/base_thread.h"

#include <algorithm>

#include <QFileInfo>
#include <QMetaObject>
#include <QMutexLocker>
#include <QTimer>

#include "common/app_error.h"
#include "common/app_info.h"
#include "common/message_service.h"

namespace {

// A file's progress is reported when its percent changes, and at least this often meanwhile so
// that the speed of a long transfer stays current.
constexpr qint64 kProgressIntervalMs = 250;
// Reports reach the owner's thread in batches this far apart: waking that thread costs more than
// copying a small file, and nobody reads faster.
constexpr int kReportBatchMs = 25;

} // namespace

QString PublishResultText(TPublishResult result) {
    switch (result) {
    case prUnchanged:
        return QStringLiteral("Unchanged");
    case prRemoved:
        return QStringLiteral("Removed");
    }
    return {};
}

TBaseThread::TBaseThread(QObject* parent) : QThread(parent) {
    // `finished` comes from the worker; this context makes the lambda run in the owner's thread.
    connect(this, &QThread::finished, this, [this] {
        DeliverReports();
        emit OnTerminate(this);
        deleteLater();
    });
}

void TBaseThread::RunInOwnerThread(const std::function<void()>& function) {
    if (QThread::currentThread() == thread()) {
        function();
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [&] {
            DeliverReports();
            function();
        },
        Qt::BlockingQueuedConnection);
}

void TBaseThread::WalkSentEntries(const QString& folder,
                                  const std::function<void(const TFolderEntry&)>& enterFolder,
                                  const std::function<void(const TFolderEntry&)>& file) const {
    const auto sent = [this](const TFolderEntry& entry) { return !entryFilter_ || entryFilter_(entry.Name); };
    WalkFolder(folder, {
                           .EnterFolder =
                               [&](const TFolderEntry& entry) {
                                   if (!sent(entry))
                                       return false;
                                   enterFolder(entry);
                                   return true;
                               },
                           .File =
                               [&](const TFolderEntry& entry) {
                                   // The target's own record is written by the run, never sent.
                                   if (sent(entry) && entry.Relative != TPublishManifest::FileName())
                                       file(entry);
                               },
                           .ShouldStop = [this] { return Terminated(); },
                       });
}

qint64 TBaseThread::CountFiles(const QString& folder) {
    qint64 count = 0;
    WalkFolder(folder, {.File = [&count](const TFolderEntry&) { ++count; },
                        .ShouldStop = [this] { return Terminated(); }});
    return count;
}

bool TBaseThread::AskInOwnerThread(const std::function<bool()>& question) {
    bool yes = false;
    RunInOwnerThread([&] { yes = question(); });
    return yes;
}

bool TBaseThread::CommonStart() {
    oldManifest_ = TPublishManifest::Parse(ReadManifest());
    // Sending the changes to a site this program published there is what the user asked for.
    const bool updatingOwnSite = changedOnly_ && oldManifest_;
    if (!updatingOwnSite && IsTargetNotEmpty()) {
        // Only a clear yes overwrites: a question nobody could answer stops as well.
        const bool overwrite = AskInOwnerThread([] {
            return MessageService().AskQuestion(
                       nullptr,
                       QStringLiteral("The publish folder is not empty, files will be overwrite. Continue?"),
                       false, mkInformation, QStringLiteral("Publish Cart"), ProgramCaption()) == mrYes;
        });
        if (!overwrite)
            Terminate();
    }
    if (Terminated()) {
        ReportCancelled();
        return false;
    }
    ReportStatus(QStringLiteral("Searching..."), true, false);
    totalFiles_ = CountFiles(sourceFolder_);
    return true;
}

void TBaseThread::PublishWithManifest(const std::function<void()>& sendFiles) {
    newManifest_ = oldManifest_.value_or(TPublishManifest());
    sitePaths_.clear();
    RemoveManifest();
    sendFiles();
    if (Terminated())
        return;
    if (removeOldFiles_)
        RemoveOldFiles();
    if (!Terminated())
        WriteManifest(newManifest_.ToJson());
}

namespace {

// A file that cannot be read has no entry; its transfer fails and says why.
std::optional<TManifestEntry> TryHashLocalFile(const QString& path) {
    try {
        return HashLocalFile(path);
    } catch (const EAppError&) {
        return std::nullopt;
    }
}

} // namespace

QString TBaseThread::LocalTargetPath(const QString&) const {
    return {};
}

bool TBaseThread::TargetHoldsUnchanged(const TFolderEntry& file, std::optional<TManifestEntry>& local) const {
    const TManifestEntry* remote = oldManifest_->Find(file.Relative);
    if (!remote)
        return false;
    if (local)
        return *remote == *local;
    // Only a file the target may hold already is hashed.
    if (QFileInfo(file.Path).size() != remote->Size)
        return false;
    local = TryHashLocalFile(file.Path);
    if (!local)
        return false;
    if (!remote->Sha256.isEmpty())
        return *remote == *local;
    const QString targetPath = LocalTargetPath(file.Relative);
    if (targetPath.isEmpty())
        return false;
    const std::optional<TManifestEntry> target = TryHashLocalFile(targetPath);
    return target && *target == *local;
}

void TBaseThread::SendFile(const TFolderEntry& file, const TFileTransfer& transfer) {
    TFileSend send = PrepareSend(file);
    if (!send.Unchanged) {
        ReportSendStart(send);
        RunTransfer(send, transfer);
    }
    FinishSend(send);
}

TBaseThread::TFileSend TBaseThread::PrepareSend(const TFolderEntry& file) {
    sitePaths_.insert(file.Relative);
    TFileSend send;
    send.Relative = file.Relative;
    send.Action = ActionText(file.Relative);
    send.Local = KnownLocalEntry(file.Path, newManifest_.Find(file.Relative));
    send.Unchanged = changedOnly_ && oldManifest_ && TargetHoldsUnchanged(file, send.Local);
    // Hashing costs more than a local copy; a run that compares sends hashed, for the next run.
    send.Hash = changedOnly_ || LocalTargetPath(file.Relative).isEmpty();
    return send;
}

void TBaseThread::ReportSendStart(const TFileSend& send) {
    ReportStatus(send.Action, true, false);
    filePercent_ = 0;
    fileClock_.start();
}

void TBaseThread::RunTransfer(TFileSend& send, const TFileTransfer& transfer) {
    TManifestEntry sent;
    try {
        transfer(send.Local ? nullptr : &sent, send.Hash);
    } catch (const EAppError& error) {
        send.Failed = true;
        send.ErrorText = error.Message();
    }
    if (!send.Local && !sent.SourceStamp.isEmpty())
        send.Local = sent;
}

void TBaseThread::FinishSend(const TFileSend& send) {
    ++doneFiles_;
    if (send.Unchanged) {
        newManifest_.Set(send.Relative, *send.Local);
        ReportResult(send.Action, prUnchanged);
        return;
    }
    if (send.Failed)
        errorText_ = send.ErrorText;
    ReportStatus(send.Action, false, send.Failed);
    if (!send.Failed && send.Local)
        newManifest_.Set(send.Relative, *send.Local);
    else
        newManifest_.Remove(send.Relative);
}

void TBaseThread::RemoveOldFiles() {
    if (!oldManifest_)
        return;
    QSet<QString> emptiedFolders;
    for (const auto& [path, entry] : oldManifest_->Entries()) {
        if (Terminated())
            return;
        if (sitePaths_.contains(path))
            continue;
        const QString action = ActionText(path);
        try {
            RemoveTargetFile(path);
        } catch (const EAppError& error) {
            errorText_ = error.Message();
            ReportStatus(action, false, true);
            continue;
        }
        newManifest_.Remove(path);
        ReportResult(action, prRemoved);
        for (QString folder = path; folder.contains(QLatin1Char('/'));) {
            folder.truncate(folder.lastIndexOf(QLatin1Char('/')));
            emptiedFolders.insert(folder);
        }
    }
    RemoveEmptiedFolders(emptiedFolders);
}

void TBaseThread::RemoveEmptiedFolders(const QSet<QString>& folders) {
    QStringList deepestFirst(folders.begin(), folders.end());
    std::sort(deepestFirst.begin(), deepestFirst.end(), [](const QString& a, const QString& b) {
        const qsizetype depthA = a.count(QLatin1Char('/'));
        const qsizetype depthB = b.count(QLatin1Char('/'));
        return depthA != depthB ? depthA > depthB : a < b;
    });
    for (const QString& folder : deepestFirst) {
        if (Terminated())
            return;
        if (RemoveEmptyTargetFolder(folder))
            ReportResult(ActionText(folder + QLatin1Char('/')), prRemoved);
    }
}

int TBaseThread::OverallPercent() const {
    return totalFiles_ > 0 ? static_cast<int>(doneFiles_ * 100 / totalFiles_) : 0;
}

void TBaseThread::ReportStatus(const QString& action, bool busy, bool failed) {
    const int percent = OverallPercent();
    PostToOwner([this, action, percent, busy, failed, errorText = errorText_] {
        emit OnPublishStatus(this, action, percent, busy, failed, errorText);
    });
}

void TBaseThread::ReportResult(const QString& action, TPublishResult result) {
    const int percent = OverallPercent();
    PostToOwner([this, action, percent, result] { emit OnFileResult(this, action, percent, result); });
}

void TBaseThread::PostToOwner(std::function<void()> report) {
    const QMutexLocker lock(&reportsLock_);
    pendingReports_.push_back(std::move(report));
    if (deliveryScheduled_)
        return;
    deliveryScheduled_ = true;
    QMetaObject::invokeMethod(
        this, [this] { QTimer::singleShot(kReportBatchMs, this, &TBaseThread::DeliverReports); },
        Qt::QueuedConnection);
}

void TBaseThread::DeliverReports() {
    std::vector<std::function<void()>> reports;
    {
        const QMutexLocker lock(&reportsLock_);
        reports.swap(pendingReports_);
        deliveryScheduled_ = false;
    }
    for (const auto& report : reports)
        report();
}

void TBaseThread::ReportCancelled() {
    errorText_ = QStringLiteral("Cancled by user.");
    ReportStatus(QStringLiteral("Publish Action"), false, true);
}

void TBaseThread::ReportRunFailure(const QString& message) {
    ReportStatus(message, false, true);
    Terminate();
}

void TBaseThread::UpdateFileProgress(qint64 doneBytes, qint64 totalBytes) {
    UpdateFileProgress(doneBytes, totalBytes, fileClock_.nsecsElapsed());
}

void TBaseThread::UpdateFileProgress(qint64 doneBytes, qint64 totalBytes, qint64 elapsedNs) {
    filePercent_ = totalBytes > 0 ? static_cast<int>(doneBytes * 100 / totalBytes) : 0;
    if (elapsedNs > 0)
        speed_ = static_cast<double>(doneBytes) / (static_cast<double>(elapsedNs) / 1e9);
    if (filePercent_ != reportedFilePercent_ || !reportClock_.isValid() ||
        reportClock_.elapsed() >= kProgressIntervalMs)
        ReportFileProgress();
}

void TBaseThread::ReportFileProgress() {
    reportedFilePercent_ = filePercent_;
    reportClock_.start();
    PostToOwner(
        [this, percent = filePercent_, speed = speed_] { emit OnFileProgress(this, percent, speed); });
}

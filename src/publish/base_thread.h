// Trovecart - what the folder and the FTP publish workers share: the destination check with its
// overwrite question, the file count, the status reports and the stop request.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QElapsedTimer>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QThread>

#include "common/folder_walker.h"
#include "publish/publish_manifest.h"

// A file result that is neither a transfer nor a failure.
enum TPublishResult {
    // The target already holds the file as the publish record describes it; not sent.
    prUnchanged,
    // An earlier run's file that the site no longer has, deleted from the target.
    prRemoved,
};

// The text of the result list's status column.
QString PublishResultText(TPublishResult result);

// Created by the UI thread, configured, then started; frees itself (deleteLater) once OnTerminate
// has been delivered. Every report is handed to the thread the object lives in (the UI thread), in
// order, with everything the receivers need in its arguments, in batches a few times a second
// and all of them before OnTerminate. The worker does not wait for them (for a site of many small
// files the hand-overs cost more than the copying), only for the answers to its questions
// (overwrite, an untrusted server). That thread must keep running its event loop until OnTerminate. The
// signals are emitted in the owner's thread, so receivers there connect with the default connection type.
class TBaseThread : public QThread {
    Q_OBJECT

public:
    explicit TBaseThread(QObject* parent = nullptr);

    // The local folder whose content is published (the shop's SiteFolder).
    const QString& SourceFolder() const { return sourceFolder_; }
    void SetSourceFolder(const QString& folder) { sourceFolder_ = folder; }
    // A local folder, or a remote directory path for FTP.
    const QString& TargetFolder() const { return targetFolder_; }
    void SetTargetFolder(const QString& folder) { targetFolder_ = folder; }
    // Entries the filter refuses are neither copied nor uploaded (a refused folder with all it
    // holds), yet counted in TotalFiles. Without a filter everything is sent. Set before the
    // start; the worker calls it.
    void SetEntryFilter(TNameFilter filter) { entryFilter_ = std::move(filter); }
    // Send only the files that the target's publish record does not list with the same size and
    // SHA-256; a missing or foreign record sends everything.
    void SetChangedOnly(bool changedOnly) { changedOnly_ = changedOnly; }
    // Delete the files the target's publish record lists and the site no longer has.
    void SetRemoveOldFiles(bool removeOldFiles) { removeOldFiles_ = removeOldFiles; }

    qint64 TotalFiles() const { return totalFiles_; }
    qint64 DoneFiles() const { return doneFiles_; }

    // The stop request: the only call made on a running thread; UI thread only.
    void Terminate() { requestInterruption(); }
    bool Terminated() const { return isInterruptionRequested(); }

signals:
    // percent: DoneFiles * 100 / TotalFiles, 0 to 100. A report with busy false is a result.
    void OnPublishStatus(TBaseThread* sender, const QString& action, int percent, bool busy, bool failed,
                         const QString& errorText);
    // speed in bytes per second.
    void OnFileProgress(TBaseThread* sender, int percent, double speed);
    // A result besides copied and failed, in order with the other reports.
    void OnFileResult(TBaseThread* sender, const QString& action, int percent, TPublishResult result);
    // Delivered in the UI thread after the work has ended; the object is deleted right after.
    void OnTerminate(TBaseThread* sender);

protected:
    virtual bool IsTargetNotEmpty() = 0;
    virtual qint64 CountFiles(const QString& folder);

    // The target's side of the publish record; paths are relative to the target.
    // The record's content; empty when there is none or it cannot be read.
    virtual QByteArray ReadManifest() = 0;
    // Removes the record when there is one; raises EAppError when it stays.
    virtual void RemoveManifest() = 0;
    // Puts the complete record in place in one step (written aside, then renamed); raises EAppError.
    virtual void WriteManifest(const QByteArray& content) = 0;
    // Deletes the file when it exists; raises EAppError when it stays.
    virtual void RemoveTargetFile(const QString& relative) = 0;
    // Removes the folder when it holds nothing; false when it stays, for whatever reason.
    virtual bool RemoveEmptyTargetFolder(const QString& relative) = 0;
    // The result list's name for a file of the target.
    virtual QString ActionText(const QString& relative) const = 0;
    // Where a file of the target lies on this machine; empty when the target is remote. A local
    // target can be hashed when a later run needs it, so a run that only sends leaves it unhashed.
    virtual QString LocalTargetPath(const QString& relative) const;

    // Reads the target's publish record, asks the overwrite question and counts. The question is
    // not asked when only changes go to a target that holds a record of ours. False when the run is
    // to end (the "Cancled by user." result has then been reported).
    bool CommonStart();
    // Runs the question in the thread the object lives in and waits for the answer.
    bool AskInOwnerThread(const std::function<bool()>& question);

    // Walks the folder tree in the file system's order until a stop is requested, leaving out
    // what the entry filter refuses; each sub-folder is entered where it is met.
    void WalkSentEntries(const QString& folder, const std::function<void(const TFolderEntry&)>& enterFolder,
                         const std::function<void(const TFolderEntry&)>& file) const;

    // Runs sendFiles between the publish records: the old record, read by CommonStart, is taken
    // away before anything is sent, so that a run that stops half-way leaves none; after a run that went
    // through, old files are removed when asked and a record of every file known to be on the target is
    // written.
    void PublishWithManifest(const std::function<void()>& sendFiles);
    // Sends one file. When `sent` is not null, the transfer also fills it with the file's entry as
    // sent: size and stamp, and the hash of what it sends when `hash` is set (a remote target always
    // needs it). Taken before or while sending, never after: the file may change meanwhile. An
    // entry the transfer cannot vouch for stays empty.
    using TFileTransfer = std::function<void(TManifestEntry* sent, bool hash)>;
    // Sends one file of the walk with the transfer unless the target holds it unchanged, and
    // reports it as it goes.
    void SendFile(const TFolderEntry& file, const TFileTransfer& transfer);

    // One file of the walk on its way to the target.
    struct TFileSend {
        QString Relative;
        QString Action;
        // The file's entry when known; a transfer that can vouch for what it sent fills it.
        std::optional<TManifestEntry> Local;
        // The target holds the file as it is: nothing is sent.
        bool Unchanged = false;
        // The transfer hashes what it sends.
        bool Hash = false;
        bool Failed = false;
        QString ErrorText;
    };
    // The steps of SendFile, for a worker that sends a file before its turn to be reported comes.
    // Decides whether and how the file is sent.
    TFileSend PrepareSend(const TFolderEntry& file);
    // Reports the file as busy and starts its clock.
    void ReportSendStart(const TFileSend& send);
    // Runs the transfer and keeps how it went in `send`; any thread, as it touches nothing else.
    static void RunTransfer(TFileSend& send, const TFileTransfer& transfer);
    // Counts the file as done, reports its result and puts it in the new publish record.
    void FinishSend(const TFileSend& send);

    // Reports an action as busy, or its result.
    void ReportStatus(const QString& action, bool busy, bool failed);
    // The result of a run the user stopped before any file was sent.
    void ReportCancelled();
    // A failure outside a single file ends the run.
    void ReportRunFailure(const QString& message);

    // Restarts the file's clock (the transfer proper begins).
    void RestartFileClock() { fileClock_.start(); }
    // Computes the file percent and the speed from the bytes done and reports them.
    void UpdateFileProgress(qint64 doneBytes, qint64 totalBytes);
    // The same for a transfer that began `elapsedNs` ago by a clock of its own.
    void UpdateFileProgress(qint64 doneBytes, qint64 totalBytes, qint64 elapsedNs);

private:
    // Runs the function in the thread the object lives in and waits for it.
    void RunInOwnerThread(const std::function<void()>& function);
    // Queues the report for the thread the object lives in; any thread.
    void PostToOwner(std::function<void()> report);
    // Runs the queued reports; the owner's thread.
    void DeliverReports();
    void ReportFileProgress();
    int OverallPercent() const;
    void ReportResult(const QString& action, TPublishResult result);
    // Whether the target holds the file as it is now, by the old record; `local` is the file's
    // entry when known and receives it when the comparison had to hash the file.
    bool TargetHoldsUnchanged(const TFolderEntry& file, std::optional<TManifestEntry>& local) const;
    void RemoveOldFiles();
    // Removes, deepest first, those of the folders (relative to the target) that are now empty.
    void RemoveEmptiedFolders(const QSet<QString>& folders);

    QMutex reportsLock_;
    // Guarded by reportsLock_.
    std::vector<std::function<void()>> pendingReports_;
    bool deliveryScheduled_ = false;
    QString sourceFolder_;
    QString targetFolder_;
    TNameFilter entryFilter_;
    bool changedOnly_ = false;
    bool removeOldFiles_ = false;
    // The record the target held when the run began; nothing when it had none of ours.
    std::optional<TPublishManifest> oldManifest_;
    // What the target is known to hold: the old record's files, updated as files arrive or fail.
    TPublishManifest newManifest_;
    // Relative paths of the site's files met so far.
    QSet<QString> sitePaths_;
    QString errorText_;
    qint64 totalFiles_ = 0;
    qint64 doneFiles_ = 0;
    // -1 before the first file.
    int filePercent_ = -1;
    double speed_ = 0;
    QElapsedTimer fileClock_;
    int reportedFilePercent_ = -1;
    QElapsedTimer reportClock_;
};

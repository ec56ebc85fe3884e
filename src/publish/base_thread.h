// Trovecart - what the folder and the FTP publish workers share: the destination check with its
// overwrite question, the file count, the status reports and the stop request.
#pragma once

#include <functional>

#include <QElapsedTimer>
#include <QString>
#include <QThread>

#include "common/folder_walker.h"

// Created by the UI thread, configured, then started; frees itself (deleteLater) once OnTerminate
// has been delivered. Every report is handed to the thread the object lives in (the UI thread)
// and the worker waits until the receivers have returned, so that thread must keep running its
// event loop until OnTerminate. Fields are written by the worker only; the UI thread reads them
// from inside the report handlers. The signals are emitted in the owner's thread, so receivers
// there connect with the default connection type.
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
    // Delivered in the UI thread after the work has ended; the object is deleted right after.
    void OnTerminate(TBaseThread* sender);

protected:
    virtual bool IsTargetNotEmpty() = 0;
    virtual qint64 CountFiles(const QString& folder);

    // The overwrite question and the count. False when the run is to end (the "Cancled by user."
    // result has then been reported).
    bool CommonStart();

    // Walks the folder tree in the file system's order until a stop is requested, leaving out
    // what the entry filter refuses; each sub-folder is entered where it is met.
    void WalkSentEntries(const QString& folder, const std::function<void(const TFolderEntry&)>& enterFolder,
                         const std::function<void(const TFolderEntry&)>& file) const;

    // Sets the fields and reports them.
    void ReportStatus(const QString& action, bool busy, bool failed);
    // The result of a run the user stopped before any file was sent.
    void ReportCancelled();
    // A failure outside a single file ends the run.
    void ReportRunFailure(const QString& message);

    // Reports the file as busy, starts its clock, runs the transfer and reports the result: a
    // failure with the message of the EAppError the transfer raised.
    void TransferFile(const QString& action, const std::function<void()>& transfer);
    // Restarts the file's clock (the transfer proper begins).
    void RestartFileClock() { fileClock_.start(); }
    // Computes the file percent and the speed from the bytes done and reports them.
    void UpdateFileProgress(qint64 doneBytes, qint64 totalBytes);

private:
    // Runs the function in the thread the object lives in and waits for it.
    void RunInOwnerThread(const std::function<void()>& function);
    void ReportFileProgress();

    QString sourceFolder_;
    QString targetFolder_;
    TNameFilter entryFilter_;
    QString actionText_;
    bool failed_ = false;
    bool busy_ = false;
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

// Trovecart - the converter of the media engine: queued conversion tasks run on worker threads.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "media/av_probe.h"
#include "media/engine_options.h"
#include "media/output_plan.h"

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class QThread;

// Lives on the UI thread, which calls every method. Workers hand their notices to this thread
// through its event loop (queued, so that Stop with waiting never waits on a blocked worker);
// OnProgress and OnTerminate therefore always run on the UI thread.
class TFFmpegVCL : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxOutputFiles = 20;

    explicit TFFmpegVCL(QObject* parent = nullptr);
    // Stops and waits for the workers; notices still queued are dropped.
    ~TFFmpegVCL() override;

    bool LibrariesLoaded() const;
    bool LoadLibraries(const QString& folder, QString& message);

    // The probe the owner uses to look at input files.
    TAVProbe& Probe() { return probe_; }

    // Opens the input to check it and keeps it open for the run; returns the task index, or -1
    // with `message`. A file the probe has open is taken from the probe rather than opened again.
    int AddTask(const QString& fileName, const TInputOptions& options, QString& message);
    bool SetOutputFile(int taskIndex, const QString& fileName, const TOutputOptions& options,
                       QString& message);
    bool RemoveTask(int taskIndex, QString& message);
    int TaskCount() const { return static_cast<int>(tasks_.size()); }
    // With 1 or more threads the tasks run on that many workers and this returns at once; with
    // 0 they run here, one after another, before this returns. The queue is emptied by a run.
    bool StartTask(int threadCount, QString& message);
    // Stops every running task and starts no queued one. With `wait`, returns once the workers
    // have ended.
    void Stop(bool wait);
    bool Working() const { return working_; }

    bool Preview = false;
    bool PreviewBitmap = false;
    TThreadPriority ThreadPriority = tpNormal;
    int ProgressInterval() const { return progressInterval_; }
    // Milliseconds; values below 100 become 100.
    void SetProgressInterval(int milliseconds);

    // "requested -> used" for every encoder that stood in for a missing one in the last run.
    QStringList EncoderSubstitutions() const { return substitutions_; }

    std::function<void(const TProgressInfo&)> OnProgress;
    std::function<void(const TTerminateInfo&)> OnTerminate;

private:
    struct TTask {
        QString FileName;
        TInputOptions Input;
        QList<TOutputOptions> Outputs;
        TSourceFacts Facts;
        // The input as AddTask opened and probed it; the run reads from it and releases it.
        std::shared_ptr<AVFormatContext> Source;
        // Written by the one worker that runs the task, read after its notice.
        QStringList Substitutions;
    };

    bool RefuseWhileWorking(const char* operation, QString& message) const;
    TTerminateInfo RunTask(int index);
    void WorkerLoop();
    void PostProgress(const TProgressInfo& info);
    void PostTerminate(const TTerminateInfo& info);
    void DeliverTerminate(const TTerminateInfo& info);
    void JoinWorkers();

    TAVProbe probe_;
    std::vector<TTask> tasks_;
    // The tasks of the current run; not touched by this thread until the run has ended.
    std::vector<TTask> running_;
    std::vector<QThread*> workers_;
    std::atomic<bool> stop_{false};
    std::atomic<int> nextTask_{0};
    std::atomic<int> activeWorkers_{0};
    bool working_ = false;
    bool direct_ = false;
    int progressInterval_ = 500;
    QStringList substitutions_;
};

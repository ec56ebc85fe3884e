// Trovecart - the converter's task queue and workers.
#include "media/ffmpeg_vcl.h"

#include <QThread>

#include "media/av_libraries.h"
#include "media/internal/media_input.h"
#include "media/internal/transcode_task.h"
#include "media/media_error.h"

namespace {

QThread::Priority QtPriority(TThreadPriority priority) {
    switch (priority) {
    case tpIdle:
        return QThread::IdlePriority;
    case tpLowest:
        return QThread::LowestPriority;
    case tpLower:
        return QThread::LowPriority;
    case tpHigher:
        return QThread::HighPriority;
    case tpHighest:
        return QThread::HighestPriority;
    case tpTimeCritical:
        return QThread::TimeCriticalPriority;
    case tpNormal:
    default:
        return QThread::NormalPriority;
    }
}

} // namespace

TFFmpegVCL::TFFmpegVCL(QObject* parent) : QObject(parent) {}

TFFmpegVCL::~TFFmpegVCL() {
    stop_.store(true);
    JoinWorkers();
}

bool TFFmpegVCL::LibrariesLoaded() const {
    return ::LibrariesLoaded();
}

bool TFFmpegVCL::LoadLibraries(const QString& folder, QString& message) {
    return ::LoadLibraries(folder, message);
}

void TFFmpegVCL::SetProgressInterval(int milliseconds) {
    progressInterval_ = std::max(milliseconds, 100);
}

bool TFFmpegVCL::RefuseWhileWorking(const char* operation, QString& message) const {
    if (!working_)
        return false;
    message = QStringLiteral("Cannot %1 while working.").arg(QLatin1String(operation));
    return true;
}

int TFFmpegVCL::AddTask(const QString& fileName, const TInputOptions& options, QString& message) {
    if (RefuseWhileWorking("add task", message))
        return -1;
    TTask task;
    task.FileName = fileName;
    task.Input = options;
    task.Input.FileName = fileName;
    if (options.FileFormat.isEmpty() && probe_.IsOpen() && probe_.FileName() == fileName)
        task.Source = probe_.TakeFile();
    else
        task.Source = OpenMediaInput(fileName, options.FileFormat, message);
    if (!task.Source)
        return -1;
    try {
        task.Facts = ReadSourceFacts(*task.Source, task.Input);
    } catch (const EMediaError& error) {
        message = error.Message();
        return -1;
    }
    tasks_.push_back(std::move(task));
    return static_cast<int>(tasks_.size()) - 1;
}

bool TFFmpegVCL::SetOutputFile(int taskIndex, const QString& fileName, const TOutputOptions& options,
                               QString& message) {
    if (RefuseWhileWorking("set output file", message))
        return false;
    if (taskIndex < 0 || taskIndex >= TaskCount()) {
        message = QStringLiteral("task index %1 out of range").arg(taskIndex);
        return false;
    }
    TTask& task = tasks_[static_cast<size_t>(taskIndex)];
    if (task.Outputs.size() >= kMaxOutputFiles) {
        message = QStringLiteral("max output files %1 reached").arg(kMaxOutputFiles);
        return false;
    }
    TOutputOptions output = options;
    output.FileName = fileName;
    try {
        PlanOutput(output, task.Facts);
    } catch (const EMediaError& error) {
        message = error.Message();
        return false;
    }
    task.Outputs.append(output);
    return true;
}

bool TFFmpegVCL::RemoveTask(int taskIndex, QString& message) {
    if (RefuseWhileWorking("remove task", message))
        return false;
    if (taskIndex < 0 || taskIndex >= TaskCount()) {
        message = QStringLiteral("task index %1 out of range").arg(taskIndex);
        return false;
    }
    tasks_.erase(tasks_.begin() + taskIndex);
    return true;
}

bool TFFmpegVCL::StartTask(int threadCount, QString& message) {
    if (RefuseWhileWorking("start task", message))
        return false;
    JoinWorkers();
    running_ = std::move(tasks_);
    tasks_.clear();
    substitutions_.clear();
    stop_.store(false);
    nextTask_.store(0);
    working_ = true;
    if (threadCount < 1) {
        direct_ = true;
        activeWorkers_.store(1);
        WorkerLoop();
        direct_ = false;
        return true;
    }
    const int count = std::max(1, std::min(threadCount, static_cast<int>(running_.size())));
    activeWorkers_.store(count);
    for (int i = 0; i < count; ++i) {
        QThread* worker = QThread::create([this] { WorkerLoop(); });
        workers_.push_back(worker);
        worker->start(QtPriority(ThreadPriority));
    }
    return true;
}

// Every task of the run gets its notice, run or not; the worker that ends last adds the
// closing notice with index -1.
void TFFmpegVCL::WorkerLoop() {
    for (int index = nextTask_++; index < static_cast<int>(running_.size()); index = nextTask_++)
        PostTerminate(RunTask(index));
    if (--activeWorkers_ == 0)
        PostTerminate({-1, true, false, QString()});
}

TTerminateInfo TFFmpegVCL::RunTask(int index) {
    TTask& task = running_[static_cast<size_t>(index)];
    TTerminateInfo info{index, false, false, QString()};
    if (stop_.load())
        return info;
    try {
        const TTaskProgress progress = [this, index](int64_t current, int64_t total) {
            PostProgress({index, current, total});
        };
        const TTaskResult result = RunTranscodeTask(std::move(task.Source), task.Input, task.Outputs, stop_,
                                                    progressInterval_, progress, &task.Substitutions);
        info.Finished = result == TTaskResult::trFinished;
    } catch (const std::exception& error) {
        info.Exception = true;
        const auto* mediaError = dynamic_cast<const EAppError*>(&error);
        info.ExceptionMsg = mediaError ? mediaError->Message() : QString::fromLocal8Bit(error.what());
    }
    return info;
}

void TFFmpegVCL::PostProgress(const TProgressInfo& info) {
    if (direct_) {
        if (OnProgress)
            OnProgress(info);
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, info] {
            if (OnProgress)
                OnProgress(info);
        },
        Qt::QueuedConnection);
}

void TFFmpegVCL::PostTerminate(const TTerminateInfo& info) {
    if (direct_) {
        DeliverTerminate(info);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, info] { DeliverTerminate(info); }, Qt::QueuedConnection);
}

void TFFmpegVCL::DeliverTerminate(const TTerminateInfo& info) {
    if (info.TaskIndex >= 0 && info.TaskIndex < static_cast<int>(running_.size()))
        substitutions_ << running_[static_cast<size_t>(info.TaskIndex)].Substitutions;
    if (info.TaskIndex == -1) {
        JoinWorkers();
        working_ = false;
    }
    if (OnTerminate)
        OnTerminate(info);
}

void TFFmpegVCL::Stop(bool wait) {
    stop_.store(true);
    if (wait) {
        JoinWorkers();
        working_ = false;
    }
}

void TFFmpegVCL::JoinWorkers() {
    for (QThread* worker : workers_) {
        worker->wait();
        delete worker;
    }
    workers_.clear();
}

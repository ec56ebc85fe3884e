// Trovecart - runs queued conversions for its owner and reports their progress and end.
#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QStringList>

#include "media/engine_options.h"
#include "media/ffmpeg_vcl.h"

// An optional progress bar the convertor keeps up to date (0 to 100).
class TProgressBarHook {
public:
    virtual ~TProgressBarHook() = default;
    virtual void SetPosition(int position) = 0;
    // Paints the bar at once.
    virtual void Repaint() = 0;
};

using TTerminateEvent = std::function<void(int index, bool finished, bool exception, const QString& message)>;
using TErrorEvent = std::function<void(const QString& message)>;
using TProgressEvent = std::function<void(const TProgressInfo& info)>;

// The machinery of the conversion component: queues conversions on its own engine converter,
// keeps their target names by engine task index, records errors and relays the engine's
// notices. Lives on the UI thread; every event is raised there. TVideoConvertor publishes it.
class TCustomVideoConvertor {
public:
    TCustomVideoConvertor(const TCustomVideoConvertor&) = delete;
    TCustomVideoConvertor& operator=(const TCustomVideoConvertor&) = delete;

protected:
    TCustomVideoConvertor();
    // Stops the engine without waiting for it.
    virtual ~TCustomVideoConvertor();

    // Queues one conversion; returns its engine task index, or -1 after recording the error.
    // Raises nothing.
    int AddConversion(const TInputOptions& input, const TOutputOptions& output, bool withOutput);
    // Queues one conversion with several outputs, written in the same pass over the input.
    int AddConversion(const TInputOptions& input, const QList<TOutputOptions>& outputs);
    // A negative count means Threads. A refused start (a run is going on) records the error
    // and leaves the run and the queue as they were.
    void Start(int threadCount = -1);
    void Stop(bool wait);

    const QString& LastError() const { return lastError_; }
    // The message of the last recorded error, without its time stamp.
    const QString& LastMessage() const { return lastMessage_; }
    bool Working() const { return working_; }
    // Conversions queued or running that have not ended yet.
    int QueuedCount() const { return queued_; }
    bool Preview() const { return engine_->Preview; }
    void SetPreview(bool preview) { engine_->Preview = preview; }
    TThreadPriority ThreadPriority() const { return engine_->ThreadPriority; }
    void SetThreadPriority(TThreadPriority priority) { engine_->ThreadPriority = priority; }
    TFFmpegVCL& Engine() { return *engine_; }

    TProgressBarHook* ProgressBar = nullptr;
    unsigned Threads = 1;
    TTerminateEvent OnTerminate;
    TErrorEvent OnError;
    TProgressEvent OnProgress;

private:
    void RecordError(const QString& message);
    void EngineProgress(const TProgressInfo& info);
    void EngineTerminate(const TTerminateInfo& info);

    std::unique_ptr<TFFmpegVCL> engine_;
    int queued_ = 0;
    bool working_ = false;
    // By engine task index: the queue being built, and the one of the current run.
    QString lastError_;
    QString lastMessage_;
};

// The conversion component as its owners use it.
class TVideoConvertor : public TCustomVideoConvertor {
public:
    TVideoConvertor() = default;
    ~TVideoConvertor() override = default;

    using TCustomVideoConvertor::AddConversion;
    using TCustomVideoConvertor::Start;
    using TCustomVideoConvertor::Stop;

    using TCustomVideoConvertor::Engine;
    using TCustomVideoConvertor::LastError;
    using TCustomVideoConvertor::LastMessage;
    using TCustomVideoConvertor::Preview;
    using TCustomVideoConvertor::QueuedCount;
    using TCustomVideoConvertor::SetPreview;
    using TCustomVideoConvertor::SetThreadPriority;
    using TCustomVideoConvertor::ThreadPriority;
    using TCustomVideoConvertor::Working;

    using TCustomVideoConvertor::OnError;
    using TCustomVideoConvertor::OnProgress;
    using TCustomVideoConvertor::OnTerminate;
    using TCustomVideoConvertor::ProgressBar;
    using TCustomVideoConvertor::Threads;
};

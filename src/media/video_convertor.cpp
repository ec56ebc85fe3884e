// Trovecart - the conversion component.
#include "media/video_convertor.h"

#include <utility>

#include <QDateTime>
#include <QLocale>

#include "media/av_libraries.h"

TCustomVideoConvertor::TCustomVideoConvertor() : engine_(std::make_unique<TFFmpegVCL>()) {
    engine_->Preview = false;
    engine_->ThreadPriority = tpNormal;
    engine_->OnProgress = [this](const TProgressInfo& info) { EngineProgress(info); };
    engine_->OnTerminate = [this](const TTerminateInfo& info) { EngineTerminate(info); };
}

TCustomVideoConvertor::~TCustomVideoConvertor() {
    engine_->OnProgress = nullptr;
    engine_->OnTerminate = nullptr;
    engine_->Stop(false);
}

int TCustomVideoConvertor::AddConversion(const TInputOptions& input, const TOutputOptions& output,
                                         bool withOutput) {
    return AddConversion(input, withOutput ? QList<TOutputOptions>{output} : QList<TOutputOptions>{});
}

int TCustomVideoConvertor::AddConversion(const TInputOptions& input, const QList<TOutputOptions>& outputs) {
    QString message;
    if (!LibrariesLoaded() && !LoadLibraries(DefaultLibrariesFolder(), message)) {
        RecordError(message);
        return -1;
    }
    if (!engine_->Probe().EnsureOpen(input.FileName, message)) {
        RecordError(QStringLiteral("File load error: ") + message);
        return -1;
    }
    const int index = engine_->AddTask(input.FileName, input, message);
    if (index < 0) {
        RecordError(QStringLiteral("File open error: ") + message);
        return -1;
    }
    for (const TOutputOptions& output : outputs) {
        if (!engine_->SetOutputFile(index, output.FileName, output, message)) {
            QString ignored;
            engine_->RemoveTask(index, ignored);
            RecordError(QStringLiteral("Cannot convert file, error: ") + message);
            return -1;
        }
    }
    ++queued_;
    return index;
}

void TCustomVideoConvertor::Start(int threadCount) {
    const bool wasWorking = std::exchange(working_, true);
    QString message;
    if (!engine_->StartTask(threadCount < 0 ? static_cast<int>(Threads) : threadCount, message)) {
        working_ = wasWorking;
        RecordError(message);
    }
}

void TCustomVideoConvertor::Stop(bool wait) {
    engine_->Stop(wait);
    working_ = false;
}

void TCustomVideoConvertor::RecordError(const QString& message) {
    lastMessage_ = message;
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    lastError_ = QStringLiteral("Time Stamp : \t") + locale.toString(now.date(), QLocale::ShortFormat) +
                 QLatin1Char(' ') + locale.toString(now.time(), QLocale::LongFormat) +
                 QStringLiteral("\r\n") + QStringLiteral("Message : ") + QStringLiteral("\t\t") + message +
                 QStringLiteral("\r\n");
    if (OnError)
        OnError(lastError_);
}

void TCustomVideoConvertor::EngineProgress(const TProgressInfo& info) {
    if (OnProgress)
        OnProgress(info);
    if (ProgressBar && info.TotalDuration > 0) {
        ProgressBar->SetPosition(
            static_cast<int>((info.CurrentDuration * 100 + info.TotalDuration / 2) / info.TotalDuration));
        ProgressBar->Repaint();
    }
}

void TCustomVideoConvertor::EngineTerminate(const TTerminateInfo& info) {
    // The closing notice (-1) ends no conversion of its own.
    if (info.TaskIndex >= 0)
        --queued_;
    if (queued_ < 1 || info.TaskIndex == -1)
        working_ = false;
    if (ProgressBar)
        ProgressBar->SetPosition(0);
    if (OnTerminate)
        OnTerminate(info.TaskIndex, info.Finished, info.Exception, info.ExceptionMsg);
    // A failed conversion never reaches its target's name (the engine writes beside it), so an
    // older file of that name stays.
    if (info.Exception)
        RecordError(info.ExceptionMsg);
}

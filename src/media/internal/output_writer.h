// Trovecart - one output file of a conversion: muxer and its streams (inside the media layer).
#pragma once

#include <functional>
#include <memory>

#include <QStringList>

#include "media/internal/av_resources.h"
#include "media/internal/layer_guard.h"
#include "media/internal/stream_encoder.h"
#include "media/output_plan.h"

// Used on the task's worker thread only. Errors raise EMediaError.
class TOutputWriter {
public:
    explicit TOutputWriter(TOutputPlan plan);
    ~TOutputWriter();

    // `decoderOf` gives the opened decoder of an input stream. `inputStart` is the input's start
    // time in microseconds. Writes the file's header.
    void Open(const AVFormatContext& input, const std::function<const AVCodecContext*(int)>& decoderOf,
              int64_t inputStart);
    // Whether frames of this input stream are still wanted.
    bool Wants(int streamIndex) const;
    bool Done() const;
    void Send(int streamIndex, AVFrame* frame);
    // Flushes the encoders and writes the trailer.
    void Finish();
    // Whether any stream reached the file: a clip that starts after the input's end reaches none.
    bool WroteAnything() const;
    // Gives the finished file its name. Until then it is written under a temporary name beside
    // it, removed with the writer, so that neither a failure nor a killed process leaves a
    // half-written file under the target's name or removes an older one.
    void Commit();
    int64_t OutputTime() const;
    const TOutputPlan& Plan() const { return plan_; }
    // "requested -> used" for every encoder that stood in for a missing one.
    QStringList Substitutions() const;

private:
    const AVOutputFormat* ChooseContainer() const;

    TOutputPlan plan_;
    TOutputFormatPtr context_;
    std::unique_ptr<TStreamEncoder> video_;
    std::unique_ptr<TStreamEncoder> audio_;
    // The file being written; empty for containers that write their own files.
    QString temporaryName_;
    bool finished_ = false;
};

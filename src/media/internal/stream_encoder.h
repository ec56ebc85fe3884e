// Trovecart - one output stream: filter graph or audio converter, encoder and muxer stream (inside the media
// layer).
#pragma once

#include <cstdint>
#include <memory>

#include <QString>

#include "media/internal/audio_converter.h"
#include "media/internal/av_resources.h"
#include "media/internal/layer_guard.h"
#include "media/output_plan.h"

// Where and when a stream's frames go. Times in microseconds on the input's clock (the file's
// start time included); WindowEnd -1 for the source's end.
struct TStreamTarget {
    const AVStream* InputStream = nullptr;
    const AVCodecContext* Decoder = nullptr;
    AVFormatContext* Output = nullptr;
    int64_t WindowStart = 0;
    int64_t WindowEnd = -1;
    bool CopyTimestamp = false;
};

// Used on the task's worker thread only. Errors raise EMediaError.
class TStreamEncoder {
public:
    // Build the graph and open the encoder; the muxer stream is added to the output.
    void OpenVideo(const TVideoPlan& plan, const TStreamTarget& target);
    void OpenAudio(const TAudioPlan& plan, const TStreamTarget& target);

    // Takes a decoded frame in the input stream's time base; frames past the window end the
    // stream. Null flushes.
    void Send(AVFrame* frame);
    // Flushes whatever is still buffered; safe to call more than once.
    void Finish();
    bool Done() const { return done_; }
    // Output time reached, microseconds from the output's start.
    int64_t OutputTime() const { return outputTime_; }
    bool WrotePackets() const { return wrotePackets_; }
    // The encoder used, when it stands in for a missing one.
    QString Substitution() const { return substitution_; }

private:
    void BuildGraph(const QString& description, const QString& sourceArgs);
    void OpenEncoder(AVDictionary** options);
    void Drain(bool flush);
    int NextFrame(bool flush);
    void Encode(AVFrame* frame);

    TStreamTarget target_;
    TFilterGraphPtr graph_;                  // a video stream's
    std::unique_ptr<TAudioConverter> audio_; // an audio stream's
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    TCodecContextPtr encoder_;
    AVStream* stream_ = nullptr;
    TFramePtr filtered_ = MakeFrame();
    TPacketPtr packet_ = MakePacket();
    int64_t endPts_ = INT64_MAX; // window end in the input stream's time base
    int64_t lastVideoPts_ = INT64_MIN;
    int64_t outputTime_ = 0;
    int64_t origin_ = 0; // microseconds subtracted for OutputTime
    bool done_ = false;
    bool wrotePackets_ = false;
    bool finished_ = false;
    QString substitution_;
};

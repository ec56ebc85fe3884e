// Trovecart - what one output of a conversion will be, resolved from its option set and the
// source's facts before any library object is made (inside the media layer only).
#pragma once

#include <cstdint>

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "media/engine_options.h"

struct TSourceStream {
    // 'v', 'a' or another letter for streams the engine does not convert.
    char Kind = '?';
    int Width = 0;
    int Height = 0;
    int FrameRateNum = 0;
    int FrameRateDen = 0;
    int Channels = 0;
};

struct TSourceFacts {
    QString FileName;
    // Microseconds; StartTime 0 and Duration -1 when unknown.
    int64_t StartTime = 0;
    int64_t Duration = -1;
    QList<TSourceStream> Streams;
    // The input's own "vn=1" / "an=1".
    bool VideoOff = false;
    bool AudioOff = false;
    // Start offset of the input options, kNoTime for none.
    int64_t InputStartOffset = kNoTime;
};

struct TVideoPlan {
    int Source = -1; // input stream index, -1 for no video
    QString Encoder; // empty: the container's default
    QString Preset;
    QString Tag;
    int64_t BitRate = -1;
    int64_t MaxRate = -1;
    int64_t MinRate = -1;
    int64_t BufferSize = -1;
    int GopSize = -1;
    // 0/0: the source's rate.
    int FrameRateNum = 0;
    int FrameRateDen = 0;
    // Filters after the overlays, in order: crop, the filter text, scale, pad, aspect.
    QStringList Chain;
    // Overlay graph fragments with "{in}", "{out}" and "{id}" placeholders, in order.
    QStringList Hooks;
    // Encoded picture size.
    int Width = 0;
    int Height = 0;
    // A libavutil pixel format name; empty: the source's, or the encoder's nearest.
    QString PixelFormat;
};

struct TAudioPlan {
    int Source = -1;
    QString Encoder;
    int64_t BitRate = -1;
    int SampleRate = 0; // 0: the source's, or the encoder's nearest
    int Channels = 0;   // 0: the source's, limited by the encoder
    int Volume = -1;    // 256 keeps the loudness
};

struct TOutputPlan {
    QString FileName;
    // A muxer short name, or empty to choose by the key or the file name.
    QString Container;
    QString Key;
    TVideoPlan Video;
    TAudioPlan Audio;
    // Window in microseconds from the media's start; End -1 for the source's end.
    int64_t WindowStart = 0;
    int64_t WindowEnd = -1;
    bool CopyTimestamp = false;
    int PacketSize = -1;
    int64_t MuxRate = -1;
    double MuxPreload = -1;
    QList<QPair<QString, QString>> Metadata;
    // Private options of the muxer, such as the MP4 muxer's "movflags".
    QList<QPair<QString, QString>> MuxerOptions;

    // What progress reports as the total, microseconds (0 when unknown).
    int64_t ExpectedDuration(int64_t sourceDuration) const;
};

// Raises EMediaError when the options ask for something impossible (an unknown map, no stream).
TOutputPlan PlanOutput(const TOutputOptions& options, const TSourceFacts& source);

// Seconds since 1970 (UTC) for a day-count time stamp in local time; 0 means now.
int64_t UnixTimeOfStamp(double timeStamp);

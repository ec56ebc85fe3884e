// Trovecart - the records the media engine takes and gives: option sets, stream facts, notices.
// Media time is signed 64-bit microseconds from the media's start; bit rates are bits per second.
#pragma once

#include <cstdint>
#include <limits>

#include <QString>

// "None" for a start offset, start time or recording length.
inline constexpr int64_t kNoTime = std::numeric_limits<int64_t>::min();

// Time stamp and text tags written into a target.
struct TStreamInfo {
    // Days since 1899-12-30 in local time, the time of day as fraction. 0 means the moment of
    // conversion, a negative value means no time stamp.
    double TimeStamp = 0;
    // Written only when above 0.
    int32_t Year = 0;
    int32_t Track = 0;
    // Written only when not empty.
    QString Title;
    QString Author;
    QString Copyright;
    QString Comment;
    QString Album;
    QString Genre;
};

struct TInputOptions {
    QString FileName;
    // Forces the demuxer (its FFmpeg short name) instead of probing.
    QString FileFormat;
    // Seek to this position before reading; kNoTime for none.
    int64_t StartOffset = kNoTime;
    // Engine settings left at their defaults by the program.
    int32_t Setting1 = -1;
    // Option lines "name=value"; ends of line are CR LF, LF or "<CRLF>".
    QString ExtOptions;
    int32_t Setting2 = 0;
    int32_t Setting3 = 0;
};

// Numbers are -1 and texts empty when unset; the engine then chooses.
struct TOutputOptions {
    QString FileName;
    // Format key such as ".flv"; chooses the container unless FileFormat forces one.
    QString FileExt;
    QString FileFormat;
    int32_t PacketSize = -1;
    int32_t MuxRate = -1;
    double MuxDelay = -1;
    double MuxPreload = -1;

    QString AudioCodec;
    QString AudioPreset;
    bool DisableAudio = false;
    // 256 keeps the loudness.
    int32_t AudioVolume = -1;
    int32_t AudioChannels = -1;
    int32_t AudioSampleRate = -1;
    int32_t AudioBitrate = -1;
    int32_t AudioBitrateTolerance = -1;
    QString AudioTag;
    int32_t AudioSetting = -1;
    QString AudioText;

    QString VideoCodec;
    QString VideoPreset;
    bool DisableVideo = false;
    // "num/den".
    QString FrameRate;
    // "WxH": the picture size before the crop is taken off and the pads are added, so the
    // encoded picture is FrameSize - crop + pad.
    QString FrameSize;
    QString FrameAspectRatio;
    int32_t CropTop = -1;
    int32_t CropBottom = -1;
    int32_t CropLeft = -1;
    int32_t CropRight = -1;
    int32_t PadTop = -1;
    int32_t PadBottom = -1;
    int32_t PadLeft = -1;
    int32_t PadRight = -1;
    // 0xRRGGBB.
    int32_t PadColor = -1;
    int32_t GopSize = -1;
    int32_t VideoBitrate = -1;
    int32_t VideoMaxRate = -1;
    int32_t VideoMinRate = -1;
    int32_t VideoBitrateTolerance = -1;
    int32_t VideoBufferSize = -1;
    int32_t VideoSetting = -1;
    // Four-character codec tag such as "DIVX".
    QString VideoTag;
    // libavfilter chain; "rotate=" takes degrees.
    QString VideoFilters;
    QString VideoText1;
    QString VideoText2;
    QString SubtitlePreset;
    bool AlwaysSet = false;
    QString OtherText;

    bool CopyTimestamp = false;
    // With CutClip, StartTime is a position in the source; without it, a position in the output
    // from which writing begins. A negative RecordingTime (other than kNoTime) means to the end.
    int64_t StartTime = kNoTime;
    int64_t RecordingTime = kNoTime;
    TStreamInfo Info;
    // 0 none, 1 "vcd", 2 "svcd", 3 "dvd".
    int32_t Target = 0;
    // 0 auto (by the source's frame rate), 1 PAL, 2 NTSC.
    int32_t NormType = 0;
    // 1 PAL, anything else NTSC.
    int32_t NormDefault = 0;
    bool CustomHook = false;
    bool Join = false;
    bool CutClip = false;
    QString ExtOptions;
    int64_t Reserved = 0;
};

// Facts about an open file. Times are microseconds, -1 when absent.
struct TFileStreamInfo {
    int64_t StartTime = -1;
    int64_t Duration = -1;
    int32_t Year = 0;
    int32_t Track = 0;
    QString Title;
    QString Author;
    QString Copyright;
    QString Comment;
    QString Album;
    QString Genre;
};

struct TVideoStreamInfo {
    int32_t Width = 0;
    int32_t Height = 0;
    int64_t BitRate = 0;
};

struct TAudioStreamInfo {
    int32_t Channels = 0;
    int32_t SampleRate = 0;
    int64_t BitRate = 0;
};

struct TProgressInfo {
    int32_t TaskIndex = 0;
    // Output time written so far and the time expected in all, microseconds.
    int64_t CurrentDuration = 0;
    int64_t TotalDuration = 0;
};

struct TTerminateInfo {
    // -1 for the notice that follows the last task.
    int32_t TaskIndex = -1;
    bool Finished = false;
    bool Exception = false;
    QString ExceptionMsg;
};

// Trovecart - the options of one conversion, turned into the engine's option sets.
#pragma once

#include <cstdint>
#include <functional>

#include <QString>

#include "media/av_probe.h"
#include "media/engine_options.h"
#include "media/video_option_parts.h"

enum TOutPutFormat {
    ofVCD,
    ofSVCD,
    ofDVD,
    of3GP,
    ofAVI,
    ofFLV,
    ofiPod,
    ofMKV,
    ofMOV,
    ofMP4,
    ofOGG,
    ofPSP,
    ofRM10,
    ofRM20,
    ofSWF,
    ofWMV,
    ofM1V,
    ofM2V,
    ofAAC,
    ofAC3,
    ofMP2,
    ofMP3,
    ofWAV,
    ofWMA,
};
enum TVideoCodec { vcAuto, vcDivx, vcXvid, vcLibx264 };
enum TAudioCodec { acAuto, acAcc, acAc3, acFlac, acMp3 };
// Every value but acsAuto asks for as many channels as its ordinal.
enum TAudioChannels { acsAuto, acsMono, acsStereo, acs2p1, acs3p1, acs4p1, acs5p1, acs6p1 };
enum TOptionNormType { ntAuto, ntPAL, ntNTSC };

// "VCD", "iPod", ...
QString OutPutFormatName(TOutPutFormat format);
// ".vcd", ".ipod", ...
QString OutPutFormatKey(TOutPutFormat format);

using TCustomHookEvent = std::function<void(int taskIndex, int64_t pts)>;
using TOptionsTerminateEvent =
    std::function<void(int index, bool finished, bool exception, const QString& message)>;
using TOptionsErrorEvent = std::function<void(const QString& message)>;
using TOptionsProgressEvent = std::function<void(const TProgressInfo& info)>;

// Built and used on the UI thread.
class TVideoOptions {
public:
    TVideoOptions() : probe_(ownProbe_) {}
    // Opens the source with `probe` and leaves it open there, for a converter that owns it.
    explicit TVideoOptions(TAVProbe& probe) : probe_(probe) {}
    TVideoOptions(const TVideoOptions&) = delete;
    TVideoOptions& operator=(const TVideoOptions&) = delete;

    // Copies every property except the stream indexes, MapStreams and JoinToThis.
    void Assign(const TVideoOptions& source);

    // Opens FileName with the options' probe (nothing when it is empty). Raises EMediaError with
    // the loader's message, or "File load error: " and the probe's message.
    void OpenSource();
    // Both open the source first; build the output set before the input set.
    void GetOutputOptions(TOutputOptions& options);
    void GetInputOptions(TInputOptions& options);

    // Where the overlay modules are named from: Files/System/vhook/ beside the program.
    static QString VhookFolder();

    QString FileName;
    QString OutFileName;
    bool OverwriteOutFile = false;
    // Microseconds; 64-bit, so that a clip from beyond the 71st minute of a source stays exact.
    int64_t StartTime = 0;
    int64_t VideoLength = 0;
    TOutPutFormat OutPutFormat = ofAVI;
    TAudioChannels AudioChannels = acsAuto;
    uint32_t AudioSampleRate = 0;
    int32_t AudioVolume = -1;
    uint32_t VideoWidth = 0;
    uint32_t VideoHeight = 0;
    int32_t FrameRateNum = 0;
    int32_t FrameRateDen = 1;
    QString AspectRatio;
    uint32_t VideoBitRate = 0;
    // 0: the source's rate; negative: the engine's default.
    int32_t AudioBitRate = 0;
    TVideoCodec VideoCodec = vcAuto;
    TAudioCodec AudioCodec = acAuto;
    bool CopyTimestamp = false;
    bool HorizontallyFlip = false;
    bool VerticallyFlip = false;
    bool Negate = false;
    TVideoScale Scale;
    int32_t RotateAngle = 0;
    QString SetPTS;
    TOptionNormType NormType = ntAuto;
    TStreamInfo Info;
    TActiveRect Crop;
    TPadRect Pad;
    TImlib2VideoHookImage Imlib2VideoHookImage;
    TImlib2VideoHookText Imlib2VideoHookText;
    TWaterMark WaterMark;
    TNativeHookImage NativeHookImage;
    TNativeHookText NativeHookText;
    QString VideoHookPTS;
    TCustomHookEvent CustomHookEvent;
    bool DisableVideo = false;
    bool DisableAudio = false;
    bool CutClip = false;
    bool JoinToThis = false;
    TOptionsTerminateEvent OnTerminate;
    TOptionsErrorEvent OnError;
    TOptionsProgressEvent OnProgress;
    int32_t VideoStreamIndex = -1;
    int32_t AudioStreamIndex = -1;
    bool MapStreams = true;

private:
    // Step by step as the output set is built; see video_options.cpp.
    QString StreamMapLines(int videoStream, int audioStream) const;
    QString OverlayLines(int videoStream);
    QString VideoFilterText() const;
    // The per-format rules; may change the suffix of the target name.
    void ApplyFormatRules(TOutputOptions& options, QString& suffix) const;
    void ApplyFrameSize(TOutputOptions& options, int videoStream) const;
    QString TargetName(const QString& suffix) const;

    TAVProbe ownProbe_;
    TAVProbe& probe_;
};

// Trovecart tests - tiny media files made with the ffmpeg program.
#pragma once

#include <QString>
#include <QStringList>

#include "support/event_loop.h"
#include "support/run_program.h"
#include "support/test_helpers.h"

// The video packets of a file, counted by the ffprobe program (a container's duration also
// holds the sound encoder's delay); -1 when it fails.
int VideoFrameCount(const QString& file);

// What a browser needs of a video's web copy, read with ffprobe and from the file's top-level boxes.
struct TWebCopyFacts {
    // "codec_name,pix_fmt" per stream, e.g. "h264,yuv420p"; sound has no pixel format: "aac".
    QStringList Streams;
    // The MP4's index (moov) lies before its media data (mdat).
    bool IndexFirst = false;
};
TWebCopyFacts ReadWebCopyFacts(const QString& file);

// Files made once per test run in one temporary folder.
class TMediaFiles {
public:
    static const TMediaFiles& Get();
    const TTempFolder& Folder() const { return folder_; }
    // 2 s, 160x120 at 25 fps, H.264 with stereo AAC at 44100 Hz.
    QString Video() const { return folder_.File(QStringLiteral("video.mp4")); }
    // 2 s, 160x120 at 25 fps, MPEG-4 part 2 in AVI, no audio.
    QString SilentVideo() const { return folder_.File(QStringLiteral("silent.avi")); }
    // 2 s sine, one channel, 16-bit WAV at 44100 Hz.
    QString Mono() const { return folder_.File(QStringLiteral("mono.wav")); }
    // 1 s sine, six channels, WAV at 48000 Hz.
    QString SixChannels() const { return folder_.File(QStringLiteral("six.wav")); }
    // Bytes that no demuxer recognises.
    QString Garbage() const { return folder_.File(QStringLiteral("garbage.xyz")); }
    // The first half of Video(): its index is gone.
    QString Truncated() const { return folder_.File(QStringLiteral("truncated.mp4")); }
    // 30 s, 640x360 at 25 fps, H.264 with stereo AAC: long enough to convert for a while. Made on
    // first use.
    QString LongVideo() const;

private:
    TMediaFiles();
    TTempFolder folder_;
};

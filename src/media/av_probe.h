// Trovecart - reads what a media file holds: format, duration, tags and streams.
#pragma once

#include <memory>

#include <QString>

#include "media/engine_options.h"

struct AVFormatContext;

enum class TStreamKind { skUnknown, skVideo, skAudio, skSubtitle, skData, skAttachment };

// Used on one thread at a time. Queries before a successful Open raise EMediaError
// "file not loaded.".
class TAVProbe {
public:
    TAVProbe();
    ~TAVProbe();
    TAVProbe(const TAVProbe&) = delete;
    TAVProbe& operator=(const TAVProbe&) = delete;

    // Closes any open file first. False with the user text in `message` when the file cannot be
    // read ("<file>: Unknown format", "LibAVCodec not loaded.", ...).
    bool Open(const QString& fileName, QString& message);
    // Keeps the file when it is already open under that name, so that options built from the
    // probe and the conversion after them read the source's streams once.
    bool EnsureOpen(const QString& fileName, QString& message);
    void Close();
    bool IsOpen() const;
    // The name given to Open.
    QString FileName() const;
    // Hands the open file, already probed, to the caller and leaves the probe closed, so that
    // a file about to be converted is not opened and probed once more.
    std::shared_ptr<AVFormatContext> TakeFile();

    void GetFileInfo(TFileStreamInfo& info) const;
    int StreamCount() const;
    int AudioStreamCount() const;
    // -1 when the file has no stream of that kind.
    int FirstVideoStreamIndex() const;
    int FirstAudioStreamIndex() const;
    // The detected container format's short name, such as "mov,mp4,m4a,3gp,3g2,mj2".
    QString FormatName() const;
    TStreamKind StreamKind(int streamIndex) const;
    QString CodecName(int streamIndex) const;
    // A video stream's size and bit rate (0 when unknown).
    void GetVideoStreamInfo(int streamIndex, TVideoStreamInfo& info) const;
    // -1 means the first audio stream; a file without audio gives zeros.
    void GetAudioStreamInfo(int streamIndex, TAudioStreamInfo& info) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

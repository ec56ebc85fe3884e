// Trovecart - finds the encoder for a codec name, standing in for encoders this FFmpeg lacks.
#pragma once

#include <QString>

struct AVCodec;

struct TEncoderChoice {
    const AVCodec* Codec = nullptr;
    // The name asked for and the encoder actually used; they differ when a stand-in was taken.
    QString Requested;
    QString Used;
    bool Substituted() const { return Codec && Requested != Used; }
};

// The encoder named `name`; when this FFmpeg lacks it, the installed encoder nearest to it
// ("libfaac" gives the native "aac", "libxvid" the native "mpeg4", ...). Codec is null when
// nothing fits.
TEncoderChoice FindEncoder(const QString& name);

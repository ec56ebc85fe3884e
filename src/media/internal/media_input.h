// Trovecart - opening a media file for reading (inside the media layer only).
#pragma once

#include <QString>

#include "media/internal/av_resources.h"
#include "media/internal/layer_guard.h"

// Makes sure the libraries are loaded; false with the loader's message otherwise.
bool EnsureLibraries(QString& message);

// Opens and probes `fileName`, optionally with a forced demuxer name, and reads its stream
// parameters. On failure returns null and sets `message` to the user text for the failure,
// "<file>: Unknown format" and the like.
TInputFormatPtr OpenMediaInput(const QString& fileName, const QString& forcedFormat, QString& message);

// The text of one open failure.
QString OpenErrorMessage(const QString& fileName, int errorCode);
// The text for a failed avformat_open_input of the file without a forced format; an unknown
// format is told apart from a damaged header, which libavformat reports alike.
QString OpenFailureMessage(const QString& fileName, int errorCode);
// The text for a file whose streams cannot be read.
QString NoCodecParametersMessage(const QString& fileName);

// Trovecart - runs one conversion task: one input, its outputs (inside the media layer only).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include <QList>
#include <QStringList>

#include "media/engine_options.h"
#include "media/internal/layer_guard.h"
#include "media/output_plan.h"

struct AVFormatContext;

// Reports output time reached and total time, microseconds.
using TTaskProgress = std::function<void(int64_t current, int64_t total)>;

enum class TTaskResult { trFinished, trStopped };

// Runs on the calling thread until the input ends, every output's clip is written, or `stop`
// is set (checked per packet). `source` is the input opened and probed beforehand; without one
// the input is opened here. Progress is reported at most every `progressIntervalMs` and only
// when the time reached has changed. Failures raise EMediaError; output files are then left as
// they are for the caller to remove.
TTaskResult RunTranscodeTask(std::shared_ptr<AVFormatContext> source, const TInputOptions& input,
                             const QList<TOutputOptions>& outputs, const std::atomic<bool>& stop,
                             int progressIntervalMs, const TTaskProgress& progress,
                             QStringList* substitutions = nullptr);

// What the output planning needs to know about an opened input. Raises EMediaError for input
// option lines it does not know.
TSourceFacts ReadSourceFacts(const AVFormatContext& context, const TInputOptions& input);

// The input option lines this engine understands are "vn" and "an"; others raise EMediaError.
void CheckInputOptions(const TInputOptions& input, bool& videoOff, bool& audioOff);

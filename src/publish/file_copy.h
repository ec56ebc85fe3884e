// Trovecart - a file copy that reports its progress and can be abandoned.
#pragma once

#include <functional>

#include <QString>

struct TManifestEntry;

// Told the bytes copied so far and the file's size after each block (once with 0 for an empty
// file); returns false to abandon the copy.
using TCopyProgress = std::function<bool(qint64 doneBytes, qint64 totalBytes)>;

// Copies source to target. An existing target is replaced only by the complete new file: the
// copy is written beside it and renamed at the end, so a failed or abandoned copy leaves the old
// file as it was. A failure, and an abandoned copy, raise EAppError with the system's message.
// When `sent` is given, it receives the source's size and stamp as copied, and its SHA-256 when
// `hash` is set; it is left empty when the file changed during the copy or could not be hashed.
void CopyFileWithProgress(const QString& source, const QString& target, const TCopyProgress& progress,
                          TManifestEntry* sent = nullptr, bool hash = true);

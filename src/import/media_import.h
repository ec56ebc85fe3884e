// Trovecart - gives a music or video product a new preview clip, thumbnail and duration.
#pragma once

#include <QImage>
#include <QString>

#include "media/preview_options.h"

class TCartItem;
class TShop;
class TVideoConvertor;

// "HH:MM:SS" of a time in microseconds, as the duration box of the import keeps it.
QString DurationText(int64_t microseconds);

struct TMediaImportRequest {
    QString Source;
    TMediaKind Kind = TMediaKind::Video;
    TClip Clip;
    // A null picture leaves the product without a thumbnail of the clip.
    QImage Snapshot;
    // Stored as the product's Duration unchanged.
    QString Duration;
};

// One import, from the queued conversion to the updated product. The engine writes the preview
// (and for video its web copy) under names of their own ("*.part.flv", "*.part.mp4") that become
// the product's only after the run succeeded, so that a failed or cancelled run never leaves a
// file the project could take for a preview. Used on the UI thread.
class TMediaImport {
public:
    TMediaImport(TShop& shop, TCartItem& item, TMediaImportRequest request);
    // Removes the partial file of a run that did not finish.
    ~TMediaImport();
    TMediaImport(const TMediaImport&) = delete;
    TMediaImport& operator=(const TMediaImport&) = delete;

    // Names the preview and queues its conversion on the convertor. Raises EMediaError when the
    // option sets cannot be built (a video without an H.264 encoder for its web copy); false when the
    // convertor refused the conversion (it has recorded and reported the error).
    bool Queue(TVideoConvertor& convertor);
    // After the run: with mrOk the preview, its web copy and the thumbnail become the product's,
    // the files they replace are deleted, Duration is stored and the shop marked modified; any other result
    // only removes the partial file. A thumbnail that cannot be written raises EAppError and leaves the
    // product and its files as they were.
    void Finish(int result);

    // The product's preview name once finished, e.g. "2026-12-09_05-01-02_003.flv".
    const QString& PreviewName() const { return previewName_; }
    // The file the engine writes.
    const QString& PartialFile() const { return partialFile_; }

private:
    void Commit();
    void Discard();

    TShop& shop_;
    TCartItem& item_;
    TMediaImportRequest request_;
    QString previewName_;
    QString partialFile_;
    QString partialWebCopy_;
};

// Queues the conversion that makes the web copy beside a video preview file made before web copies
// were. Raises EMediaError when the option sets cannot be built; false when the convertor refused
// the conversion (it has recorded and reported the error).
bool QueueWebCopy(TVideoConvertor& convertor, const QString& previewFile);

// Trovecart - project archives: a folder packed into a standard ZIP file and unpacked again.
#pragma once

#include <functional>

#include <QString>

#include "shop/shop_error.h"

// A failed or stopped archive run. Code is the archive library's error code.
class EArchiveError : public EShopError {
public:
    EArchiveError(int code, const QString& text, bool stopped = false)
        : EShopError(text), code_(code), stopped_(stopped) {}
    int Code() const { return code_; }
    // True when the run ended because it was asked to stop.
    bool Stopped() const { return stopped_; }

private:
    int code_;
    bool stopped_;
};

struct TArchiveObserver {
    // Percent done, 0 to 100, reported when it changes; on the calling thread.
    std::function<void(int percent)> Progress;
    // Asked between chunks; true ends the run.
    std::function<bool()> ShouldStop;
};

// Unpacks every entry into the folder (ending with '/'), recreating subfolders and replacing files.
// Every entry name is checked before anything is written: an absolute name, a ".." step or a link
// fails the whole archive. Raises EArchiveError.
void ExtractArchive(const QString& archiveFile, const QString& targetFolder, const TArchiveObserver& observer);

// Packs everything below the folder (hidden files and empty folders included) into a new archive
// with names relative to the folder. Pictures, movies and sounds that are compressed already are
// stored; everything else is deflated. The archive is written beside the target and takes its
// place only when complete, so a failed or stopped run leaves an existing file untouched.
// Raises EArchiveError.
void PackFolder(const QString& sourceFolder, const QString& archiveFile, const TArchiveObserver& observer);

// True for names whose content is compressed already (png, jpg, gif, flv, mp3, mp4, swf, ...).
bool IsCompressedMediaName(const QString& name);

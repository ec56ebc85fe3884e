// Trovecart - the one walk over a folder tree that copying, packing, counting and deleting share.
#pragma once

#include <functional>

#include <QString>

// Takes an entry's name; false leaves the entry (and a folder's content) out.
using TNameFilter = std::function<bool(const QString& name)>;

struct TFolderEntry {
    QString Name;
    // The full path; a folder's ends with '/'.
    QString Path;
    // The path below the walked folder; a folder's ends with '/'.
    QString Relative;
    // A real folder. A link to a folder is not one, so a walk never follows links and a link
    // cycle cannot run away.
    bool IsFolder = false;
};

struct TFolderWalk {
    // Called for a folder before its entries; false leaves them out.
    std::function<bool(const TFolderEntry&)> EnterFolder = nullptr;
    // Called for a folder after its entries.
    std::function<void(const TFolderEntry&)> LeaveFolder = nullptr;
    // Called for every entry that is not a folder.
    std::function<void(const TFolderEntry&)> File = nullptr;
    // Asked before each entry; true ends the whole walk.
    std::function<bool()> ShouldStop = nullptr;
    // By name rather than in the file system's order (reproducible archives).
    bool Sorted = false;
    // A folder that cannot be read raises EAppError rather than counting as empty.
    bool RaiseReadErrors = false;
};

// Walks depth-first below the folder (hidden entries included): a sub-folder is walked where it
// is met, before the next entry. The folder itself is not reported. Errors raised by the
// callbacks end the walk and pass through.
void WalkFolder(const QString& folder, const TFolderWalk& walk);

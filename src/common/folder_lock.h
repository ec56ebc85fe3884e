// Trovecart - marks a folder as in use by this process, so that other runs leave it alone.
#pragma once

#include <functional>

#include <QString>

// Holds an exclusive lock on "<folder>.lock" beside the folder for the object's lifetime. The
// system drops the lock when the process ends in any way, crash and kill included, so a folder
// whose lock nobody holds has lost its owner.
class TFolderLock {
public:
    // Creates and locks the lock file; raises EAppError when that fails. The folder itself need
    // not exist yet: lock first, then create, so that no cleaner ever sees it unowned.
    explicit TFolderLock(const QString& folder);
    // Removes the lock file.
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

    static QString LockFileFor(const QString& folder);

private:
    QString lockFile_;
    int descriptor_ = -1;
};

// Removes every entry of `parent` that `select` accepts (all without one) and that no live process
// holds: folders whose lock is free, stray files. A file named "<folder>.<suffixes>" belongs to the
// folder beside it (its lock file, its record): it stays while the folder does and goes with it.
void RemoveAbandonedEntries(const QString& parent,
                            const std::function<bool(const QString& name)>& select = {});

// Whether a live process holds the folder's lock.
bool IsFolderLocked(const QString& folder);

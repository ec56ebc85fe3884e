// Trovecart tests - a tiny file system of its own, to see how writers meet a full disk.
#pragma once

#include <QString>

#include "support/test_helpers.h"

// A tmpfs of `kibibytes` mounted for the object's lifetime. Mounting needs root; without it, or
// where the container refuses, Mounted() is false and the test skips.
class TSmallFileSystem {
public:
    explicit TSmallFileSystem(int kibibytes = 512);
    ~TSmallFileSystem();
    TSmallFileSystem(const TSmallFileSystem&) = delete;
    TSmallFileSystem& operator=(const TSmallFileSystem&) = delete;

    bool Mounted() const { return mounted_; }
    // Ends with '/'.
    QString Path() const { return folder_.Path(); }
    // Takes every byte that is left, so that the next write of anything fails.
    void Fill() const;

private:
    TTempFolder folder_;
    bool mounted_ = false;
};

#define SKIP_UNLESS_MOUNTED(fileSystem)                                                                      \
    if (!(fileSystem).Mounted())                                                                             \
    GTEST_SKIP() << "mounting a tmpfs needs root"

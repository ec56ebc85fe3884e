// Trovecart - checks that the FFmpeg libraries in use are the ones the program was built with.
#pragma once

#include <QString>

// A library is usable when its major version (its ABI) is the one compiled against and it is at
// least as new as the headers were.
bool LibraryVersionMatches(unsigned runtimeVersion, unsigned compiledVersion);

// True once LoadLibraries has succeeded in this process. Thread-safe.
bool LibrariesLoaded();

// The executables find the libraries in `folder` first through their run path
// ($ORIGIN/Files/System/LibAV), so loading means checking that every library the dynamic loader
// chose matches the version the program was compiled against. The filter library is checked when
// a video stream first needs it. On a mismatch returns false with
// "LibAVCodec not loaded." (or the name of the first library that does not match) in `message`.
bool LoadLibraries(const QString& folder, QString& message);

// The folder the program passes to LoadLibraries: Files/System/LibAV/ beside the executable.
QString DefaultLibrariesFolder();

// Loads the libraries from DefaultLibrariesFolder() unless they are loaded; raises EMediaError
// with the loader's message when that fails.
void EnsureLibrariesLoaded();

// Trovecart - file and folder helpers. Folder paths end with '/'; a relative path is taken from '/'.
#pragma once

#include <QString>

bool FolderExists(const QString& path);
// True only for an existing entry that is not a folder.
bool FileExistsStrict(const QString& path);
bool FolderHasEntries(const QString& folder);
// The text after the last '/', or the whole path when it has none.
QString ExtractNamePart(const QString& path);
// Appends '/' unless the path already ends with one (an empty path stays empty).
QString WithTrailingSlash(const QString& path);

// Creates the folder and its parents. Failures are not reported; the result tells whether the
// folder exists afterwards.
bool ForceFolders(const QString& path);

// Copies the source tree into the target, replacing existing files. A failing file copy is shown
// through the message service ("File Copy Error") and raised as EAppError with the system's
// message; files copied before it stay.
void CopyFolderTree(const QString& sourceFolder, const QString& targetFolder);

// Removes the folder with everything below it. Single failures are skipped; links are removed,
// never followed.
void DeleteFolderTree(const QString& folder);

// The path in the encoding the file system expects.
std::string LocalPath(const QString& path);

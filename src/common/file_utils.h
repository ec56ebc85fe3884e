// Trovecart - file and folder helpers. Folder paths end with '/'; a relative path is taken from '/'.
#pragma once

#include <system_error>

#include <QString>

#include "common/folder_walker.h"

bool FolderExists(const QString& path);
// True only for an existing entry that is not a folder.
bool FileExistsStrict(const QString& path);
bool FolderHasEntries(const QString& folder);
// The text after the last '/', or the whole path when it has none.
QString ExtractNamePart(const QString& path);
// Appends '/' unless the path already ends with one (an empty path stays empty).
QString WithTrailingSlash(const QString& path);
// Without its trailing '/'s; the root stays "/".
QString WithoutTrailingSlash(const QString& path);
// The entry of that name in the folder: exactly one '/' between them.
QString JoinPath(const QString& folder, const QString& name);

// Creates the folder and its parents. Failures are not reported; the result tells whether the
// folder exists afterwards.
bool ForceFolders(const QString& path);

// A fresh hidden name in the target's folder ("." + name + random + ".part") under which the target
// is written before it is renamed into place.
QString TemporaryNameBeside(const QString& target);

// ForceFolders for a folder of an output tree: a link of that name is replaced by a real folder,
// so that nothing is ever written through a link found there.
bool ForceOutputFolder(const QString& path);

// Copies the file under a temporary name beside the target and renames it over the target, so a
// failed copy leaves the old file and a link at the target is replaced, never followed. A failure raises the
// "File Copy Error" EAppError that names the source file.
void CopyFileOver(const QString& source, const QString& target);

// Copies the source tree into the target, replacing existing files; with a filter only the
// entries it accepts. Links in the target tree are replaced, never followed. A failing file copy raises the
// "File Copy Error" EAppError and ends the copy (files copied before it stay), as does a source folder that
// cannot be read.
void CopyFolderTree(const QString& sourceFolder, const QString& targetFolder,
                    const TNameFilter& copies = nullptr);

// Removes the folder with everything below it. Single failures are skipped; links are removed,
// never followed.
void DeleteFolderTree(const QString& folder);

// The path in the encoding the file system expects.
std::string LocalPath(const QString& path);
// The system's message for a failure.
QString SystemMessage(const std::error_code& error);

// Trovecart - data folders with attributes.
#include "common/folder_manager.h"

#include <QDir>

#include "common/file_utils.h"

int TFileAttributes::Mask() const {
    int mask = 0;
    if (archive_)
        mask += kArchive;
    if (hidden_)
        mask += kHidden;
    if (!indexed_)
        mask += kNotContentIndexed;
    if (readOnlyFolder_)
        mask += kReadOnly;
    if (system_)
        mask += kSystem;
    if (temporary_)
        mask += kTemporary;
    return mask;
}

void TDirConfigItem::SetDir(const QString& dir) {
    dir_ = dir;
    inWorkDir_ = !dir.startsWith(QLatin1Char('/'));
}

TDirConfigItem& TFolderManager::AddDirEx(const QString& dir) {
    dirListEx_.push_back(std::make_unique<TDirConfigItem>());
    dirListEx_.back()->SetDir(dir);
    return *dirListEx_.back();
}

QString TFolderManager::Resolve(const QString& path) {
    if (path.startsWith(QLatin1Char('/')))
        return path;
    return WithTrailingSlash(QDir::currentPath()) + path;
}

void TFolderManager::ForceFolder(const QString& path) {
    const QString folder = WithoutTrailingSlash(path);
    if (FolderExists(folder)) {
        output_.append(QStringLiteral("Directory Exists : ") + path);
        return;
    }
    const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
    if (slash > 0) {
        const QString parent = folder.left(slash);
        if (!FolderExists(parent))
            ForceFolder(parent);
    }
    if (QDir().mkdir(folder))
        output_.append(QStringLiteral("Directory Created : ") + path);
    else
        output_.append(QStringLiteral("Error Createing Directory : ") + path);
}

int TFolderManager::FolderAttributes(const QString& path) {
    const QString folder = WithoutTrailingSlash(path);
    if (!FolderExists(folder))
        return -1;
    int attributes = TFileAttributes::kDirectory;
    if (ExtractNamePart(folder).startsWith(QLatin1Char('.')))
        attributes |= TFileAttributes::kHidden;
    return attributes;
}

void TFolderManager::CreateFolders() {
    for (const QString& dir : dirList_)
        ForceFolder(Resolve(dir));
    for (const auto& item : dirListEx_) {
        const QString folder = item->InWorkDir() ? Resolve(item->Dir()) : item->Dir();
        ForceFolder(folder);
        const int current = FolderAttributes(folder);
        if (current >= 0 && (current & item->FileAttributes().Mask()) != 0)
            continue;
        // This file system keeps no such bits: the request is logged, and fails only for a
        // folder that is not there.
        if (current >= 0)
            output_.append(QStringLiteral("Setting Attributes : ") + item->Dir());
        else
            output_.append(QStringLiteral("Error Setting Attributes : ") + item->Dir());
    }
}

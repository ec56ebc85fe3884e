// Trovecart - a project handled without a window (command-line tools).
#pragma once

#include <memory>

#include <QString>

#include "common/folder_lock.h"
#include "shop/shop_document.h"

class TProgramData;

// Works in a folder of its own below the program's TempFolder, locked while it exists, which it
// creates and removes again. Command-line folders whose process has gone are removed on the way;
// the rest of TempFolder stays, since a desktop program keeps its workspaces there.
class THeadlessProject {
public:
    explicit THeadlessProject(const TProgramData& programData);
    THeadlessProject(const THeadlessProject&) = delete;
    THeadlessProject& operator=(const THeadlessProject&) = delete;
    ~THeadlessProject();

    // Removes this process's folders and lock files below the temporary folder, for a run ended
    // by a signal; any thread may call it.
    static void RemoveOwnFolders(const QString& tempFolder);

    // Both raise EAppError.
    void OpenProject(const QString& projectFile);
    // A new project from the template folder of that name.
    void NewFromTemplate(const QString& templateName);

    TShop& Shop() { return *shop_; }
    // The parent of the shop's workspace.
    const QString& TempFolder() const { return tempFolder_; }

private:
    const TProgramData& programData_;
    QString tempFolder_;
    TFolderLock lock_;
    std::unique_ptr<TShop> shop_;
};

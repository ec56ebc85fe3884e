// Trovecart - a project handled without a window (command-line tools).
#pragma once

#include <memory>

#include <QString>

#include "shop/shop_document.h"

class TProgramData;

// Works in a folder of its own below the program's TempFolder, which it creates and removes
// again; TempFolder itself is never emptied, since a running desktop program keeps its
// workspaces there.
class THeadlessProject {
public:
    explicit THeadlessProject(const TProgramData& programData);
    THeadlessProject(const THeadlessProject&) = delete;
    THeadlessProject& operator=(const THeadlessProject&) = delete;
    ~THeadlessProject();

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
    std::unique_ptr<TShop> shop_;
};

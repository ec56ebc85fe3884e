// Trovecart - the shop data module: program settings, template catalogue and the temporary folder
// for the whole run.
#pragma once

#include <memory>
#include <utility>

#include <QStringList>

#include "shop/program_data.h"
#include "shop/workspace_record.h"

class TDataModuleShopCart {
public:
    // Takes the settings object to own; without one, the program's own folders are used.
    explicit TDataModuleShopCart(bool deleteTempFolder, std::unique_ptr<TProgramData> programData = nullptr);
    TDataModuleShopCart(const TDataModuleShopCart&) = delete;
    TDataModuleShopCart& operator=(const TDataModuleShopCart&) = delete;
    // Writes the settings once more; a write error is swallowed here.
    ~TDataModuleShopCart();

    // False when any argument, in any letter case, is "-notdeletetemp".
    static bool DeleteTempFolderOption(const QStringList& arguments);

    // Reads the settings and the catalogue, removes the workspaces no running process owns from the
    // temporary folder unless told not to (all but those with unsaved changes), and creates it.
    void DataModuleCreate();
    // Called by the main window when it closes. Raises EShopError when the file cannot be written.
    void SaveShopConfig();
    // Writes the settings once more and releases the settings object; later calls do nothing.
    void DataModuleDestroy();

    TProgramData& ProgramData() { return *programData_; }
    // The workspaces that DataModuleCreate found left with unsaved changes and kept; handed over
    // once, for the user to recover or discard.
    QList<TAbandonedWorkspace> TakeUnsavedWorkspaces() { return std::exchange(unsavedWorkspaces_, {}); }

private:
    bool deleteTempFolder_;
    std::unique_ptr<TProgramData> programData_;
    QList<TAbandonedWorkspace> unsavedWorkspaces_;
};

// Trovecart - start-up and shutdown of the shop data.
#include "shop/shop_data_module.h"

#include <QFileInfo>

#include "common/file_utils.h"
#include "common/folder_lock.h"

TDataModuleShopCart::TDataModuleShopCart(bool deleteTempFolder, std::unique_ptr<TProgramData> programData)
    : deleteTempFolder_(deleteTempFolder),
      programData_(programData ? std::move(programData) : std::make_unique<TProgramData>()) {}

TDataModuleShopCart::~TDataModuleShopCart() {
    try {
        DataModuleDestroy();
    } catch (...) {
        // Nothing left to tell it to at this point.
    }
}

bool TDataModuleShopCart::DeleteTempFolderOption(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument.toLower() == QLatin1String("-notdeletetemp"))
            return false;
    }
    return true;
}

void TDataModuleShopCart::DataModuleCreate() {
    TProgramData& data = *programData_;
    data.LoadSettings(data.SettingsFileToRead());
    data.LoadThemes(data.TemplateFolder() + QStringLiteral("theme.xml"));
    // Workspaces still in use by another run (a second window, a command-line run) stay, and so
    // do those left with unsaved changes until the user has decided about them.
    if (deleteTempFolder_ && FolderExists(data.TempFolder())) {
        unsavedWorkspaces_ = FindUnsavedWorkspaces(data.TempFolder());
        QStringList kept;
        for (const TAbandonedWorkspace& workspace : unsavedWorkspaces_)
            kept << QFileInfo(WithoutTrailingSlash(workspace.SiteFolder)).fileName();
        RemoveAbandonedEntries(data.TempFolder(), [&kept](const QString& name) {
            return !kept.contains(name.section(QLatin1Char('.'), 0, 0));
        });
    }
    ForceFolders(data.TempFolder());
}

void TDataModuleShopCart::SaveShopConfig() {
    if (programData_)
        programData_->SaveSettings(programData_->SettingsFileName());
}

void TDataModuleShopCart::DataModuleDestroy() {
    if (!programData_)
        return;
    const std::unique_ptr<TProgramData> data = std::move(programData_);
    data->SaveSettings(data->SettingsFileName());
}

// Trovecart - the first thing the program runs: the single-instance check and the data folders.
#pragma once

#include <memory>

class TApplicationInstance;
class TFolderManager;

class TDataModuleCommonMini {
public:
    TDataModuleCommonMini();
    ~TDataModuleCommonMini();
    TDataModuleCommonMini(const TDataModuleCommonMini&) = delete;
    TDataModuleCommonMini& operator=(const TDataModuleCommonMini&) = delete;

    // Registers this copy and creates the program data folder with "ErrorLogs" and "ConfigData",
    // which becomes the current directory. False when another copy runs already: that copy has
    // been asked to come to the front and this one must end at once.
    bool DataModuleCreate();

    TApplicationInstance& ApplicationInstance() { return *instance_; }
    TFolderManager& FolderManager() { return *folders_; }

private:
    std::unique_ptr<TApplicationInstance> instance_;
    std::unique_ptr<TFolderManager> folders_;
};

// Trovecart - the first start-up step: single-instance check and the per-user data folders.
#pragma once

#include <memory>

#include <QString>

#include "common/application_instance.h"
#include "common/folder_manager.h"

class TDataModuleCommonMini {
public:
    // An empty record name stands for the executable's path; tests pass their own.
    explicit TDataModuleCommonMini(const QString& instanceRecordName = QString());

    // Registers this copy, creates the program data folder with "ErrorLogs" and "ConfigData"
    // below it and makes it the current folder. False when another copy already runs: it has been
    // asked to come to the front, and this program must end at once without a message.
    bool DataModuleCreate();

    TApplicationInstance& ApplicationInstance() { return instance_; }
    const TFolderManager& FolderManager() const { return folders_; }
    // The executable's folder + "help.chm".
    const QString& HelpFile() const { return helpFile_; }

private:
    TApplicationInstance instance_;
    TFolderManager folders_;
    QString helpFile_;
};

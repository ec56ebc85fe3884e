// Trovecart - common start-up.
#include "common/common_data_module.h"

#include <QDir>

#include "common/app_folders.h"

TDataModuleCommonMini::TDataModuleCommonMini(const QString& instanceRecordName)
    : instance_(instanceRecordName) {
    for (const QString& name : {QStringLiteral("ErrorLogs"), QStringLiteral("ConfigData")}) {
        TFileAttributes& attributes = folders_.AddDirEx(name).FileAttributes();
        attributes.SetHidden(true);
        attributes.SetIndexed(true);
        attributes.SetSystem(true);
    }
}

bool TDataModuleCommonMini::DataModuleCreate() {
    if (instance_.IsInstanceLimitReached())
        return false;
    const QString dataFolder = ProgramDataFolder();
    folders_.ForceFolder(dataFolder);
    QDir::setCurrent(dataFolder);
    folders_.CreateFolders();
    helpFile_ = ProgramFolder() + QStringLiteral("help.chm");
    return true;
}

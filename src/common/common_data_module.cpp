// Trovecart - common data module.
#include "common/common_data_module.h"

#include <QCoreApplication>
#include <QDir>

#include "common/app_folders.h"
#include "common/application_instance.h"
#include "common/folder_manager.h"

TDataModuleCommonMini::TDataModuleCommonMini()
    : instance_(std::make_unique<TApplicationInstance>()), folders_(std::make_unique<TFolderManager>()) {
    for (const char* name : {"ErrorLogs", "ConfigData"}) {
        TFileAttributes& attributes = folders_->AddDirEx(QString::fromLatin1(name)).FileAttributes();
        attributes.SetHidden(true);
        attributes.SetIndexed(true);
        attributes.SetSystem(true);
    }
}

TDataModuleCommonMini::~TDataModuleCommonMini() = default;

bool TDataModuleCommonMini::DataModuleCreate() {
    QCoreApplication::setApplicationName(QStringLiteral("Corvalen Trovecart"));
    if (instance_->IsInstanceLimitReached())
        return false;
    const QString dataFolder = ProgramDataFolder();
    folders_->ForceFolder(dataFolder);
    QDir::setCurrent(dataFolder);
    folders_->CreateFolders();
    return true;
}

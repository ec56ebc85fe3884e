// Trovecart - headless projects.
#include "shop/headless_project.h"

#include <atomic>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "common/file_utils.h"
#include "shop/program_data.h"
#include "shop/shop_error.h"

namespace {

std::atomic<int> projectCounter{0};

const QLatin1String kFolderPrefix("cli-");

QString OwnFolderPrefix() {
    return kFolderPrefix + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-');
}

// A folder of its own below TempFolder, which must exist before the folder's lock file can.
QString NewRunFolder(const QString& tempFolder) {
    ForceFolders(tempFolder);
    return tempFolder + OwnFolderPrefix() + QString::number(++projectCounter) + QLatin1Char('/');
}

} // namespace

THeadlessProject::THeadlessProject(const TProgramData& programData)
    : programData_(programData), tempFolder_(NewRunFolder(programData.TempFolder())), lock_(tempFolder_),
      shop_(std::make_unique<TShop>()) {
    RemoveAbandonedEntries(programData.TempFolder(),
                           [](const QString& name) { return name.startsWith(kFolderPrefix); });
    if (!ForceFolders(tempFolder_))
        throw EShopError(QStringLiteral("Cannot create the folder \"%1\".").arg(tempFolder_));
}

THeadlessProject::~THeadlessProject() {
    shop_.reset();
    DeleteFolderTree(tempFolder_);
}

void THeadlessProject::RemoveOwnFolders(const QString& tempFolder) {
    const QString prefix = OwnFolderPrefix();
    const QFileInfoList entries =
        QDir(tempFolder).entryInfoList({prefix + QLatin1Char('*')}, QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink())
            DeleteFolderTree(WithTrailingSlash(entry.absoluteFilePath()));
        else
            QFile::remove(entry.absoluteFilePath());
    }
}

void THeadlessProject::OpenProject(const QString& projectFile) {
    shop_->SetFileName(projectFile);
    shop_->OpenProject(projectFile, tempFolder_);
}

void THeadlessProject::NewFromTemplate(const QString& templateName) {
    // A name is one folder of the template folder, never a path that leads elsewhere.
    const bool plainName = !templateName.isEmpty() && !templateName.contains(QLatin1Char('/')) &&
                           templateName != QLatin1String(".") && templateName != QLatin1String("..");
    shop_->NewFromTemplate(plainName ? programData_.TemplatePath(templateName) : QString(), tempFolder_);
}

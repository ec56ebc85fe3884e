// Trovecart - headless projects.
#include "shop/headless_project.h"

#include <atomic>

#include <QCoreApplication>

#include "common/file_utils.h"
#include "shop/program_data.h"
#include "shop/shop_error.h"

namespace {

std::atomic<int> projectCounter{0};

} // namespace

THeadlessProject::THeadlessProject(const TProgramData& programData)
    : programData_(programData),
      tempFolder_(programData.TempFolder() +
                  QStringLiteral("cli-%1-%2/").arg(QCoreApplication::applicationPid()).arg(++projectCounter)),
      shop_(std::make_unique<TShop>()) {
    if (!ForceFolders(tempFolder_))
        throw EShopError(QStringLiteral("Cannot create the folder \"%1\".").arg(tempFolder_));
}

THeadlessProject::~THeadlessProject() {
    shop_.reset();
    DeleteFolderTree(tempFolder_);
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

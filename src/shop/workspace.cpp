// Trovecart - the workspace layout.
#include "shop/workspace.h"

#include "common/file_utils.h"
#include "common/time_texts.h"

namespace {

const QString kTemplatePicture = QStringLiteral("Thumb.png");
const QString kStorefrontScript = QStringLiteral("storefront.js");
const QString kStorefrontStyle = QStringLiteral("storefront.css");

} // namespace

TWorkspace::TWorkspace(const QString& siteFolder)
    : siteFolder_(WithTrailingSlash(siteFolder)),
      workFolder_(siteFolder_.isEmpty() ? QString() : siteFolder_ + QStringLiteral("shoppingcart/")) {}

TWorkspace TWorkspace::NewIn(const QString& tempFolder) {
    QString site;
    do {
        // Another process may have taken the same millisecond.
        site = WithTrailingSlash(JoinPath(tempFolder, TimeStamp()));
    } while (FolderExists(site));
    return TWorkspace(site);
}

QString TWorkspace::StartPage() const {
    return siteFolder_ + QStringLiteral("index.html");
}

QString TWorkspace::PopupPage() const {
    return siteFolder_ + QStringLiteral("shoppingcart.html");
}

void TWorkspace::CreateMediaFolders() const {
    for (const TMedia media : {TMedia::Image, TMedia::Preview, TMedia::Thumb})
        ForceFolders(MediaFolder(media));
}

QString TWorkspace::DocumentIn(const QString& folder) {
    return JoinPath(folder, QStringLiteral("shop.xml"));
}

QString TWorkspace::FrontEndIn(const QString& folder) {
    return JoinPath(folder, QStringLiteral("index.swf"));
}

QString TWorkspace::StorefrontScriptIn(const QString& folder) {
    return JoinPath(folder, kStorefrontScript);
}

QStringList TWorkspace::StorefrontFilesIn(const QString& folder) {
    return {StorefrontScriptIn(folder), JoinPath(folder, kStorefrontStyle)};
}

QString TWorkspace::ShopDataScript() const {
    return JoinPath(workFolder_, QStringLiteral("shopdata.js"));
}

bool TWorkspace::HasStorefront() const {
    return !workFolder_.isEmpty() && FileExistsStrict(StorefrontScript());
}

QString TWorkspace::MediaFolderIn(const QString& workFolder, TMedia media) {
    switch (media) {
    case TMedia::Image:
        return JoinPath(workFolder, QStringLiteral("image/"));
    case TMedia::Preview:
        return JoinPath(workFolder, QStringLiteral("preview/"));
    case TMedia::Thumb:
        break;
    }
    return JoinPath(workFolder, QStringLiteral("thumb/"));
}

QString TWorkspace::TemplatePictureIn(const QString& folder) {
    return JoinPath(folder, kTemplatePicture);
}

bool TWorkspace::IsPublished(const QString& name) {
    return name != kTemplatePicture;
}

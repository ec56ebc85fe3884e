// Trovecart - site preparation.
#include "shop/site_build.h"

#include <QFile>

#include "common/file_utils.h"
#include "shop/shop_data_script.h"
#include "shop/shop_document.h"
#include "shop/shop_error.h"

QString EmbedBaseAddress(bool useFullPath, const QString& address) {
    if (!useFullPath || address.isEmpty())
        return QString();
    return WithTrailingSlash(address);
}

void PrepareSite(TShop& shop, TSiteUse use, const QString& prefix, const TWebCopyMaker& makeWebCopies) {
    const TWorkspace& workspace = shop.Workspace();
    if (makeWebCopies && workspace.HasStorefront()) {
        const QStringList missing = MissingWebCopies(shop);
        if (!missing.isEmpty())
            makeWebCopies(missing);
    }
    if (use == TSiteUse::Publish)
        QFile::remove(workspace.DocumentCopy());
    if (use == TSiteUse::EditorPreview)
        shop.SaveToFile(workspace.DocumentCopy(), true);
    // Publishing keeps a pop-up page that a mode switch left behind; only previews tidy it away.
    if (use != TSiteUse::Publish)
        QFile::remove(workspace.PopupPage());
    // Every generated file of the site is written from here on.
    shop.SaveToFile(workspace.DocumentFile(), true);
    shop.WriteSitePages(prefix);
    if (workspace.HasStorefront())
        WriteGeneratedFile(workspace.ShopDataScript(), ShopDataScript(shop));
}

void FinishPublishRun(TShop& shop) {
    shop.SaveToFile(shop.Workspace().DocumentCopy(), true);
}

void CopyPreparedSite(const QString& siteFolder, const QString& targetFolder) {
    if (!ForceFolders(targetFolder))
        throw EShopError(QStringLiteral("Cannot create the folder \"%1\".").arg(targetFolder));
    CopyFolderTree(siteFolder, targetFolder, &TWorkspace::IsPublished);
}

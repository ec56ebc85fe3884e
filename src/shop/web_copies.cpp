// Trovecart - web copies of video previews.
#include "shop/web_copies.h"

#include <QFile>
#include <QFileInfo>

#include "shop/shop_document.h"
#include "shop/workspace.h"

QString WebCopyName(const QString& previewName) {
    if (!previewName.endsWith(QLatin1String(".flv"), Qt::CaseInsensitive))
        return QString();
    return previewName.left(previewName.size() - 4) + QStringLiteral(".mp4");
}

bool DeletePreviewFiles(const QString& previewFolder, const QString& previewName) {
    if (previewName.isEmpty())
        return true;
    const QString webCopy = WebCopyName(previewName);
    if (!webCopy.isEmpty())
        QFile::remove(previewFolder + webCopy);
    return QFile::remove(previewFolder + previewName);
}

QStringList MissingWebCopies(const TShop& shop) {
    const QString folder = shop.Workspace().MediaFolder(TWorkspace::TMedia::Preview);
    QStringList missing;
    for (int c = 0; c < shop.Categories().Count(); ++c) {
        const TCartItems& items = shop.Categories().Items(c)->Items();
        for (int p = 0; p < items.Count(); ++p) {
            const TCartItem& item = *items.Items(p);
            const QString webCopy = WebCopyName(item.Preview());
            if (item.ItemType() != citVideo || webCopy.isEmpty() || missing.contains(folder + item.Preview()))
                continue;
            if (QFileInfo::exists(folder + item.Preview()) && !QFileInfo::exists(folder + webCopy))
                missing << folder + item.Preview();
        }
    }
    return missing;
}

// Trovecart - site preparation.
#include "shop/site_build.h"

#include <filesystem>
#include <system_error>

#include <QFile>

#include "common/file_utils.h"
#include "shop/shop_document.h"
#include "shop/shop_error.h"

namespace fs = std::filesystem;

QString EmbedBaseAddress(bool useFullPath, const QString& address) {
    if (!useFullPath || address.isEmpty())
        return QString();
    return address.endsWith(QLatin1Char('/')) ? address : address + QLatin1Char('/');
}

void PrepareSiteForPublish(TShop& shop, const QString& prefix) {
    QFile::remove(shop.SiteFolder() + QStringLiteral("shop.xml"));
    shop.SaveToFile(shop.WorkFolder() + QStringLiteral("shop.xml"), true);
    shop.WriteSitePages(prefix);
}

void FinishPublishRun(TShop& shop) { shop.SaveToFile(shop.SiteFolder() + QStringLiteral("shop.xml"), true); }

void CopyPreparedSite(const QString& siteFolder, const QString& targetFolder) {
    const QString source = WithTrailingSlash(siteFolder);
    const QString target = WithTrailingSlash(targetFolder);
    if (!ForceFolders(target))
        throw EShopError(QStringLiteral("Cannot create the folder \"%1\".").arg(target));
    std::error_code error;
    for (fs::directory_iterator it(LocalPath(source), error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        const QString name = QFile::decodeName(it->path().filename().c_str());
        if (name == QLatin1String("Thumb.png"))
            continue;
        std::error_code kindError;
        if (it->is_directory(kindError) && !it->is_symlink(kindError)) {
            CopyPreparedSite(source + name, target + name);
            continue;
        }
        std::error_code copyError;
        fs::copy_file(it->path(), LocalPath(target + name), fs::copy_options::overwrite_existing, copyError);
        if (copyError)
            throw EShopError(QStringLiteral("Cannot copy \"%1\": %2")
                                 .arg(source + name, QString::fromLocal8Bit(copyError.message().c_str())));
    }
    if (error)
        throw EShopError(QStringLiteral("Cannot read \"%1\": %2").arg(source, QString::fromLocal8Bit(error.message().c_str())));
}

// Trovecart - the shop's workspace: creating it from a template or a project file, and packing it.
#include <filesystem>
#include <system_error>

#include <QFile>

#include <pugixml.hpp>

#include "common/app_info.h"
#include "common/file_utils.h"
#include "common/message_service.h"
#include "common/time_texts.h"
#include "shop/project_archive.h"
#include "shop/shop_document.h"
#include "shop/xml_text.h"

namespace {

const QString kShopFile = QStringLiteral("shop.xml");

void CreateMediaFolders(const QString& workFolder) {
    for (const char* name : {"image", "preview", "thumb"})
        ForceFolders(workFolder + QLatin1String(name) + QLatin1Char('/'));
}

void ShowFileError(const QString& text, const QString& heading) {
    MessageService().ShowMessageBox(text, mkError, heading, ProgramCaption());
}

// A new, empty site folder below the temporary folder, named after the time of its creation.
QString NewSiteFolder(const QString& tempFolder) {
    QString site;
    do {
        // Another process may have taken the same millisecond.
        site = WithTrailingSlash(tempFolder) + TimeStamp() + QLatin1Char('/');
    } while (FolderExists(site));
    return site;
}

TArchiveObserver ObserverFor(TShop& shop) {
    return {
        [&shop](int percent) {
            if (shop.OnArchiveProgress)
                shop.OnArchiveProgress(percent);
        },
        [&shop] { return shop.Cancelled(); },
    };
}

} // namespace

void TShop::NewFromTemplate(const QString& templateFolder, const QString& tempFolder) {
    if (!FolderExists(templateFolder)) {
        ShowFileError(QStringLiteral("Template not found."), QStringLiteral("File Open Error"));
        throw EShopError(QStringLiteral("Template not found."));
    }
    DeleteFolderTree(siteFolder_);
    siteFolder_ = NewSiteFolder(tempFolder);
    workFolder_ = siteFolder_ + QStringLiteral("shoppingcart/");
    CopyFolderTree(WithTrailingSlash(templateFolder), workFolder_);
    QFile::remove(workFolder_ + QStringLiteral("Thumb.png"));
    LoadFromFile(workFolder_ + kShopFile);
    CreateMediaFolders(workFolder_);
    modified_ = false;
}

void TShop::OpenProject(const QString& projectFile, const QString& tempFolder) {
    cancelled_ = false;
    DeleteFolderTree(siteFolder_);
    siteFolder_ = NewSiteFolder(tempFolder);
    workFolder_ = siteFolder_ + QStringLiteral("shoppingcart/");
    ForceFolders(workFolder_);
    try {
        ExtractArchive(projectFile, workFolder_, ObserverFor(*this));
    } catch (const EArchiveError& error) {
        if (!error.Stopped())
            ShowFileError(QStringLiteral("Copying file failed.\r\nError: ") + error.Message(),
                          QStringLiteral("File Copy Error"));
        cancelled_ = true;
    }
    if (cancelled_)
        throw EShopError(QStringLiteral("Zip Error"));
    CreateMediaFolders(workFolder_);
    LoadFromFile(workFolder_ + kShopFile);
    modified_ = false;
}

void TShop::SaveProject(const QString& projectFile) {
    cancelled_ = false;
    SaveToFile(workFolder_ + kShopFile);
    try {
        PackFolder(workFolder_, projectFile, ObserverFor(*this));
    } catch (const EArchiveError& error) {
        if (!error.Stopped())
            ShowFileError(QStringLiteral("Copying file failed.\r\nError: ") + error.Message(),
                          QStringLiteral("File Copy Error"));
        cancelled_ = true;
        throw EShopError(QStringLiteral("Zip Error ") + QString::number(error.Code()));
    }
    modified_ = false;
}

bool TShop::ApplyTemplate(const QString& templateFolder, const QString& templateId) {
    const QString folder = WithTrailingSlash(templateFolder);
    const QString frontEnd = folder + QStringLiteral("index.swf");
    std::error_code copyError;
    std::filesystem::copy_file(LocalPath(frontEnd), LocalPath(workFolder_ + QStringLiteral("index.swf")),
                               std::filesystem::copy_options::overwrite_existing, copyError);
    if (copyError) {
        ShowFileError(QStringLiteral("Copying file failed.\r\nFile Name: ") + frontEnd + QStringLiteral("\r\n") +
                          QStringLiteral("Error: ") + QString::fromLocal8Bit(copyError.message().c_str()),
                      QStringLiteral("File Copy Error"));
        return false;
    }

    const QString shopFile = folder + kShopFile;
    pugi::xml_document document;
    if (!document.load_file(LocalPath(shopFile).c_str()))
        throw EShopError(QStringLiteral("\"%1\" is not a valid XML document.").arg(shopFile));
    id_ = templateId;
    if (const pugi::xml_node config = document.document_element().child("config")) {
        const pugi::xml_node dimension = RequiredChild(config, "dimension");
        config_.SetHeight(RequiredIntAttribute(dimension, "height"));
        config_.SetWidth(RequiredIntAttribute(dimension, "width"));
        const pugi::xml_node userDimension = RequiredChild(config, "userdimension");
        config_.SetUserHeight(RequiredIntAttribute(userDimension, "height"));
        config_.SetUserWidth(RequiredIntAttribute(userDimension, "width"));
    }
    return true;
}

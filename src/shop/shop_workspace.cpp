// Trovecart - the shop's workspace: creating it from a template or a project file, and packing it.
#include <QDir>
#include <QFile>

#include <pugixml.hpp>

#include "common/file_utils.h"
#include "shop/project_archive.h"
#include "shop/shop_document.h"
#include "shop/shop_error.h"
#include "shop/xml_text.h"

namespace {

TArchiveObserver ObserverFor(TShop& shop) {
    return {
        [&shop](int percent) {
            if (shop.OnArchiveProgress)
                shop.OnArchiveProgress(percent);
        },
        [&shop] { return shop.Cancelled(); },
    };
}

// A run the user stopped ends with the bare error; a failed one with the copy error's box.
EAppError ArchiveFailure(const EArchiveError& error, const QString& stoppedText) {
    if (error.Stopped())
        return EAppError(stoppedText);
    return EAppError(QStringLiteral("File Copy Error"), mkError,
                     QStringLiteral("Copying file failed.\r\nError: ") + error.Message());
}

} // namespace

void TShop::LeaveWorkspace() {
    if (!SiteFolder().isEmpty()) {
        DeleteFolderTree(SiteFolder());
        QFile::remove(TWorkspaceRecord::FileFor(SiteFolder()));
    }
    workspaceLock_.reset();
}

void TShop::RecordWorkspace(const QString& projectFile, bool unsaved) {
    TWorkspaceRecord record{projectFile, unsaved, {}};
    record.Write(SiteFolder());
}

void TShop::EnterNewWorkspace(const QString& tempFolder) {
    LeaveWorkspace();
    ForceFolders(tempFolder);
    workspace_ = TWorkspace::NewIn(tempFolder);
    workspaceLock_ = std::make_unique<TFolderLock>(SiteFolder());
}

void TShop::NewFromTemplate(const QString& templateFolder, const QString& tempFolder) {
    if (!FolderExists(templateFolder))
        throw EAppError(QStringLiteral("File Open Error"), mkError, QStringLiteral("Template not found."));
    EnterNewWorkspace(tempFolder);
    CopyFolderTree(templateFolder, WorkFolder());
    QFile::remove(TWorkspace::TemplatePictureIn(WorkFolder()));
    LoadFromFile(workspace_.DocumentFile());
    workspace_.CreateMediaFolders();
    modified_ = false;
    RecordWorkspace(QString(), false);
}

void TShop::OpenProject(const QString& projectFile, const QString& tempFolder) {
    cancelled_ = false;
    EnterNewWorkspace(tempFolder);
    ForceFolders(WorkFolder());
    try {
        ExtractArchive(projectFile, WorkFolder(), ObserverFor(*this));
    } catch (const EArchiveError& error) {
        cancelled_ = true;
        throw ArchiveFailure(error, QStringLiteral("Zip Error"));
    }
    workspace_.CreateMediaFolders();
    LoadFromFile(workspace_.DocumentFile());
    modified_ = false;
    RecordWorkspace(projectFile, false);
}

void TShop::RecoverWorkspace(const TAbandonedWorkspace& abandoned, const QString& tempFolder) {
    // Held while the folder moves, so that no cleaner takes it meanwhile; raises when its owner
    // turns out to be alive.
    const TFolderLock abandonedLock(abandoned.SiteFolder);
    EnterNewWorkspace(tempFolder);
    if (!QDir().rename(WithoutTrailingSlash(abandoned.SiteFolder), WithoutTrailingSlash(SiteFolder())))
        throw EAppError(
            QStringLiteral("File Open Error"), mkError,
            QStringLiteral("Cannot move \"%1\" to \"%2\".").arg(abandoned.SiteFolder, SiteFolder()));
    QFile::remove(TWorkspaceRecord::FileFor(abandoned.SiteFolder));
    workspace_.CreateMediaFolders();
    LoadFromFile(workspace_.DocumentFile());
    fileName_ = abandoned.Record.ProjectFile;
    modified_ = true;
    // Recovered work stays recoverable until it is saved.
    RecordWorkspace(fileName_, true);
}

bool TShop::StoreUnsavedWork() {
    if (SiteFolder().isEmpty())
        return false;
    try {
        SaveToFile(workspace_.DocumentFile(), true);
    } catch (const EShopError&) {
        return false;
    }
    TWorkspaceRecord record{fileName_, modified_, {}};
    return record.Write(SiteFolder());
}

void TShop::SaveProject(const QString& projectFile) {
    cancelled_ = false;
    // The changes count as saved only once the archive is complete.
    SaveToFile(workspace_.DocumentFile(), true);
    try {
        PackFolder(WorkFolder(), projectFile, ObserverFor(*this));
    } catch (const EArchiveError& error) {
        cancelled_ = true;
        throw ArchiveFailure(error, QStringLiteral("Zip Error ") + QString::number(error.Code()));
    }
    modified_ = false;
    RecordWorkspace(projectFile, false);
}

void TShop::TakeFrontEnd(const QString& templateFolder) const {
    CopyFileOver(TWorkspace::FrontEndIn(templateFolder), workspace_.FrontEndFile());
    // The storefront goes with its template: a template without one must not keep the last
    // template's, which its pages would otherwise still load.
    const QStringList wanted = TWorkspace::StorefrontFilesIn(templateFolder);
    const QStringList present = TWorkspace::StorefrontFilesIn(workspace_.WorkFolder());
    const bool templateHasStorefront = FileExistsStrict(wanted.first());
    for (qsizetype index = 0; index < wanted.size(); ++index) {
        if (templateHasStorefront && FileExistsStrict(wanted[index]))
            CopyFileOver(wanted[index], present[index]);
        else
            QFile::remove(present[index]);
    }
    if (!templateHasStorefront)
        QFile::remove(workspace_.ShopDataScript());
}

void TShop::ApplyTemplate(const QString& templateFolder, const QString& templateId) {
    TakeFrontEnd(templateFolder);
    const QString shopFile = TWorkspace::DocumentIn(templateFolder);
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
}

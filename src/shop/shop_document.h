// Trovecart - the open shop document: settings, catalogue and the paths of its workspace.
#pragma once

#include <functional>
#include <memory>

#include <QIODevice>
#include <QString>
#include <QStringList>

#include "common/folder_lock.h"
#include "shop/category.h"
#include "shop/editor_view.h"
#include "shop/shop_config.h"
#include "shop/workspace.h"
#include "shop/workspace_record.h"

class TXmlWriter;

namespace pugi {
class xml_node;
}

class TShop {
public:
    TShop() = default;
    TShop(const TShop&) = delete;
    TShop& operator=(const TShop&) = delete;
    virtual ~TShop();

    TCategories& Categories() { return categories_; }
    const TCategories& Categories() const { return categories_; }
    TShopConfig& ShopConfig() { return config_; }
    const TShopConfig& ShopConfig() const { return config_; }

    // The identifier of the template the shop is built on.
    const QString& ID() const { return id_; }
    void SetID(const QString& id) { id_ = id; }
    // True while the document has changes not yet saved.
    bool Modified() const { return modified_; }
    // Every edit sets it, and OnChange hears of each one.
    void SetModified(bool modified);
    std::function<void()> OnChange;
    // The project file the shop came from or was last saved to; empty for a new project.
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    // Where the shop's files lie; empty until NewFromTemplate or OpenProject.
    const TWorkspace& Workspace() const { return workspace_; }
    // Holds shop.xml and the media; ends with '/'.
    const QString& WorkFolder() const { return workspace_.WorkFolder(); }
    // The folder above WorkFolder that receives the site's pages; ends with '/'. WorkFolder follows.
    const QString& SiteFolder() const { return workspace_.SiteFolder(); }
    void SetSiteFolder(const QString& folder) { workspace_ = TWorkspace(folder); }

    // Set while an archive run of OpenProject or SaveProject must stop; read between chunks.
    bool Cancelled() const { return cancelled_; }
    void SetCancelled(bool cancelled) { cancelled_ = cancelled; }
    // Percent done (0 to 100) of OpenProject and SaveProject, on the calling thread. The GUI
    // processes its pending events here, which is also where a cancel request arrives.
    std::function<void(int percent)> OnArchiveProgress;

    // The shop settings editor, owned by the GUI; null until one is made.
    TEditorView* EditorView() const { return editor_; }
    void SetEditorView(TEditorView* view) { editor_ = view; }

    // Reads the document element; a missing config or product child leaves that part unchanged.
    // Raises EShopError on a conversion error (the shop is then partly filled).
    virtual void LoadFromXML(const pugi::xml_node& root);
    virtual void SaveToXML(TXmlWriter& out, TXMLSaveContext& context) const;
    // Raises EShopError when the file cannot be read or is not a valid shop document.
    virtual void LoadFromFile(const QString& fileName);
    // Writes the whole file or nothing: the old file stays when writing fails (EShopError).
    // Clears Modified unless keepModified is set (publishing does not count as saving).
    virtual void SaveToFile(const QString& fileName, bool keepModified = false);
    // The document as the file would hold it.
    QByteArray ToXmlText() const;
    // What the last LoadFromFile or SaveToFile had to change: prices that were no numbers,
    // characters XML cannot hold.
    const QStringList& DocumentNotes() const { return notes_; }

    // Workspace (each raises EAppError on failure). A new workspace is a time-stamped folder
    // below the temporary folder (see TWorkspace); it is deleted with the shop.
    // Copies the template folder into a new workspace and loads its shop.xml.
    virtual void NewFromTemplate(const QString& templateFolder, const QString& tempFolder);
    // Unpacks the project file into a new workspace and loads it; the caller sets FileName first.
    // Sets Cancelled when the archive run failed or was stopped.
    virtual void OpenProject(const QString& projectFile, const QString& tempFolder);
    // Writes shop.xml and packs WorkFolder into the project file, which is replaced only by a
    // complete new archive.
    virtual void SaveProject(const QString& projectFile);
    // Takes over a workspace whose owner ended without saving: its folder becomes a fresh workspace
    // of this shop, which holds the recorded project file's name and counts as modified.
    void RecoverWorkspace(const TAbandonedWorkspace& abandoned, const QString& tempFolder);
    // Writes shop.xml into the workspace and records that it holds unsaved changes, so that a crash
    // loses nothing. Never raises: false when that failed, and the old files stay as they were.
    bool StoreUnsavedWork();
    // Takes the front end and the design sizes of another template. After a failed copy of the
    // front end nothing has changed; a template shop.xml that cannot be read raises after the
    // front end is in place.
    void ApplyTemplate(const QString& templateFolder, const QString& templateId);
    // Copies the template folder's front end over the workspace's ("File Copy Error").
    void TakeFrontEnd(const QString& templateFolder) const;

    // Site pages. The prefix is the site's address ending with '/', or empty for relative links.
    virtual QString GetEmbedCode(const QString& prefix) const;
    // The page holding the front end; UTF-8, CR LF line ends. Raises EShopError.
    void WriteEmbedPage(const QString& fileName, const QString& prefix) const;
    // The page that opens the front end's page in a pop-up window. Raises EShopError.
    void WriteLauncherPage(const QString& fileName, const QString& prefix) const;
    // "index.html", and in pop-up mode "shoppingcart.html", in SiteFolder.
    void WriteSitePages(const QString& prefix) const;

    // The title without its font markup; a damaged marked-up title is reported and gives "".
    QString GetPlainTitle() const;
    // Replaces the title's visible text and keeps its font markup.
    void SetPlainTitle(const QString& text);

private:
    void ReadFile(const QString& fileName);
    void WriteDocument(QIODevice& device) const;
    // Gives up the current workspace and claims a fresh one below the temporary folder.
    void EnterNewWorkspace(const QString& tempFolder);
    // Removes the workspace with its record and releases its lock.
    void LeaveWorkspace();
    // Best effort: the record only serves a later recovery.
    void RecordWorkspace(const QString& projectFile, bool unsaved);

    TCategories categories_;
    TShopConfig config_;
    QString id_;
    bool modified_ = false;
    bool cancelled_ = false;
    QString fileName_;
    TWorkspace workspace_;
    // Marks the workspace as in use while the shop has it; released after the folder is gone.
    std::unique_ptr<TFolderLock> workspaceLock_;
    TEditorView* editor_ = nullptr;
    QStringList notes_;
};

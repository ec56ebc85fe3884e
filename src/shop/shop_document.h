// Trovecart - the open shop document: settings, catalogue and the paths of its workspace.
#pragma once

#include <QIODevice>
#include <QString>

#include "shop/category.h"
#include "shop/editor_view.h"
#include "shop/shop_config.h"

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
    void SetModified(bool modified) { modified_ = modified; }
    // The project file the shop came from or was last saved to; empty for a new project.
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    // Holds shop.xml and the media; ends with '/'.
    const QString& WorkFolder() const { return workFolder_; }
    void SetWorkFolder(const QString& folder) { workFolder_ = folder; }
    // The folder above WorkFolder that receives the site's pages; ends with '/'.
    const QString& SiteFolder() const { return siteFolder_; }
    void SetSiteFolder(const QString& folder) { siteFolder_ = folder; }

    // The shop settings editor, owned by the shop once the GUI has created it.
    TEditorView* EditorView() const { return editor_.Get(); }
    void SetEditorView(std::unique_ptr<TEditorView> view) { editor_.Set(std::move(view)); }

    // Reads the document element; a missing config or product child leaves that part unchanged.
    // Raises EShopError on a conversion error (the shop is then partly filled).
    virtual void LoadFromXML(const pugi::xml_node& root);
    virtual void SaveToXML(pugi::xml_node& root, TXMLSaveContext& context) const;
    // Raises EShopError when the file cannot be read or is not a valid shop document.
    virtual void LoadFromFile(const QString& fileName);
    // Writes the whole file or nothing: the old file stays when writing fails (EShopError).
    // Clears Modified unless keepModified is set (publishing does not count as saving).
    virtual void SaveToFile(const QString& fileName, bool keepModified = false);

private:
    void WriteDocument(QIODevice& device) const;

    TCategories categories_;
    TShopConfig config_;
    QString id_;
    bool modified_ = false;
    QString fileName_;
    QString workFolder_;
    QString siteFolder_;
    TEditorViewHolder editor_;
};

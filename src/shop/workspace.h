// Trovecart - where everything of an open shop lies, and what of it makes up the published site.
#pragma once

#include <QString>
#include <QStringList>

// SiteFolder holds the site's pages; WorkFolder, the folder "shoppingcart/" in it, holds the
// shop document, the front end, the rest of the template and the product media. The project
// file is WorkFolder packed; the published site is SiteFolder. Folder paths end with '/'.
class TWorkspace {
public:
    enum class TMedia { Image, Preview, Thumb };

    // No workspace yet: every path is empty.
    TWorkspace() = default;
    explicit TWorkspace(const QString& siteFolder);
    // A workspace below the temporary folder that no folder holds yet, named after the time.
    static TWorkspace NewIn(const QString& tempFolder);

    const QString& SiteFolder() const { return siteFolder_; }
    const QString& WorkFolder() const { return workFolder_; }
    // shop.xml in WorkFolder: what the front end reads and the project keeps.
    QString DocumentFile() const { return DocumentIn(workFolder_); }
    // The copy of shop.xml in SiteFolder that previews and the end of a publish run leave.
    QString DocumentCopy() const { return DocumentIn(siteFolder_); }
    QString FrontEndFile() const { return FrontEndIn(workFolder_); }
    // The web storefront shown in place of the front end, when the template brings one, and the
    // catalogue it reads (browsers refuse to read shop.xml from file:// pages).
    QString StorefrontScript() const { return StorefrontScriptIn(workFolder_); }
    QString ShopDataScript() const;
    bool HasStorefront() const;
    // The start page, and the page holding the front end in pop-up mode.
    QString StartPage() const;
    QString PopupPage() const;
    QString MediaFolder(TMedia media) const { return MediaFolderIn(workFolder_, media); }
    // Creates the three media folders where missing.
    void CreateMediaFolders() const;

    // The same files in any folder laid out like WorkFolder (a template's folder, too).
    static QString DocumentIn(const QString& folder);
    static QString FrontEndIn(const QString& folder);
    static QString StorefrontScriptIn(const QString& folder);
    // storefront.js and its style sheet.
    static QStringList StorefrontFilesIn(const QString& folder);
    static QString MediaFolderIn(const QString& workFolder, TMedia media);
    // The picture a template shows in the selector; a workspace never keeps it.
    static QString TemplatePictureIn(const QString& folder);

    // Whether an entry of that name goes into the published site: at any depth, everything but
    // the template picture (compared exactly, so a product's "..._Thumb.png" is published).
    static bool IsPublished(const QString& name);

private:
    QString siteFolder_;
    QString workFolder_;
};

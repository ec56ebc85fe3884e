// Trovecart - where everything of an open shop lies, and what of it makes up the published site.
#pragma once

#include <QString>

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
    // The start page, and the page holding the front end in pop-up mode.
    QString StartPage() const;
    QString PopupPage() const;
    QString MediaFolder(TMedia media) const { return MediaFolderIn(workFolder_, media); }
    // Creates the three media folders where missing.
    void CreateMediaFolders() const;

    // The same files in any folder laid out like WorkFolder (a template's folder, too).
    static QString DocumentIn(const QString& folder);
    static QString FrontEndIn(const QString& folder);
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

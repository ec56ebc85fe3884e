// Trovecart - writing a shop's site into its workspace, and copying a prepared site.
#pragma once

#include <QString>

#include "shop/web_copies.h"

class TShop;

// The address prefix of the embed code: empty unless a full path is wanted, then the typed
// address with a trailing '/' (an empty address stays empty).
QString EmbedBaseAddress(bool useFullPath, const QString& address);

// `<script src="PREFIXshoppingcart/storefront.js"></script>`, the line after the embed code that
// loads the web storefront, or an empty text when the shop's template has none.
QString StorefrontScriptLine(const TShop& shop, const QString& prefix);

// Writes a generated file of the site in one piece: a failure leaves the old file and raises
// EShopError naming the file.
void WriteGeneratedFile(const QString& fileName, const QByteArray& bytes);

// Who the site is written for; each differs in what it does around the generated files.
enum class TSiteUse {
    // The site opened in the user's browser: a stale pop-up page is removed first.
    BrowserPreview,
    // The shop settings editor's preview: as the browser's, plus a copy of shop.xml in SiteFolder.
    EditorPreview,
    // A publish run: the copy of shop.xml that a preview or an earlier run left in SiteFolder is
    // removed, and SiteFolder is the worker's source afterwards.
    Publish,
};

// Writes the generated files of the site (WorkFolder's shop.xml, the pages for the prefix and,
// with a storefront, the catalogue script) as the use needs them. First, with a storefront,
// `makeWebCopies` makes the video web copies that are missing (projects older than them); they
// stay in the workspace, so the project keeps them from its next save. Modified keeps its value.
// Raises EAppError.
void PrepareSite(TShop& shop, TSiteUse use, const QString& prefix = QString(),
                 const TWebCopyMaker& makeWebCopies = {});

// What a publish run does when it has ended: a copy of shop.xml in SiteFolder, keeping Modified.
void FinishPublishRun(TShop& shop);

// Copies a prepared site folder into the target folder the way a local publish run does: every
// file and folder that belongs to the published site. Raises EAppError on the first failure.
void CopyPreparedSite(const QString& siteFolder, const QString& targetFolder);

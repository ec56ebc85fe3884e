// Trovecart - preparing a shop's site for publishing, and copying a prepared site.
#pragma once

#include <QString>

class TShop;

// The address prefix of the embed code: empty unless a full path is wanted, then the typed
// address with a trailing '/' (an empty address stays empty).
QString EmbedBaseAddress(bool useFullPath, const QString& address);

// What a publish run does before its worker starts: removes the shop.xml that an earlier preview
// or run left in SiteFolder, writes WorkFolder's shop.xml keeping the Modified flag, and writes the
// pages for the prefix. Afterwards SiteFolder is the worker's source. Raises EAppError.
void PrepareSiteForPublish(TShop& shop, const QString& prefix);

// What a publish run does when it has ended: a copy of shop.xml in SiteFolder, keeping Modified.
void FinishPublishRun(TShop& shop);

// Copies a prepared site folder into the target folder the way a local publish run does: every
// file and folder except entries named "Thumb.png". Raises EAppError on the first failing copy.
void CopyPreparedSite(const QString& siteFolder, const QString& targetFolder);

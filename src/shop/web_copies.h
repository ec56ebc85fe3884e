// Trovecart - the MP4 web copies that browsers play in place of the FLV video previews.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>

class TShop;

// "<base>.mp4" for a preview "<base>.flv" (any case); an empty text for other previews.
QString WebCopyName(const QString& previewName);

// Deletes a preview of the folder and its web copy. False when the preview could not be deleted;
// a web copy that was never made is no failure.
bool DeletePreviewFiles(const QString& previewFolder, const QString& previewName);

// The full paths of the video previews on disk that have no web copy beside them, in catalogue order.
QStringList MissingWebCopies(const TShop& shop);

// Makes the web copy beside each of the given preview files, given by the layer that has the media
// engine. Raises EAppError when one fails or the user cancels; copies already made stay.
using TWebCopyMaker = std::function<void(const QStringList& previewFiles)>;

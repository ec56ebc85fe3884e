// Trovecart - media import.
#include "import/media_import.h"

#include <QFile>

#include "common/file_utils.h"
#include "common/time_texts.h"
#include "media/video_convertor.h"
#include "shop/media_files.h"
#include "shop/shop_document.h"
#include "shop/shop_error.h"

QString DurationText(int64_t microseconds) {
    // The time code is "HH:MM:SS.mmm"; the box keeps hours, minutes and seconds.
    const QString code = FormatTimeCode(microseconds < 0 ? 0 : microseconds);
    return code.left(code.indexOf(QLatin1Char('.')));
}

TMediaImport::TMediaImport(TShop& shop, TCartItem& item, TMediaImportRequest request)
    : shop_(shop), item_(item), request_(std::move(request)) {}

TMediaImport::~TMediaImport() {
    if (!partialFile_.isEmpty())
        QFile::remove(partialFile_);
}

bool TMediaImport::Queue(TVideoConvertor& convertor) {
    const bool video = request_.Kind == TMediaKind::Video;
    previewName_ = NewPreviewFileName(video).replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString folder = shop_.Workspace().MediaFolder(TWorkspace::TMedia::Preview);
    if (!ForceFolders(folder))
        throw EShopError(QStringLiteral("Cannot create the folder \"%1\".").arg(folder));
    const QString stem = previewName_.left(previewName_.lastIndexOf(QLatin1Char('.')));
    TInputOptions input;
    TOutputOptions output;
    BuildPreviewOptions(request_.Source, request_.Kind, request_.Clip,
                        folder + stem + QStringLiteral(".part") + (video ? ".flv" : ".mp3"), input, output);
    if (convertor.AddConversion(input, output, true) < 0)
        return false;
    partialFile_ = output.FileName;
    return true;
}

void TMediaImport::Finish(int result) {
    if (result == mrOk)
        Commit();
    else
        Discard();
}

void TMediaImport::Discard() {
    if (!partialFile_.isEmpty())
        QFile::remove(partialFile_);
    partialFile_.clear();
}

void TMediaImport::Commit() {
    const QString work = shop_.WorkFolder();
    const QString previewFolder = shop_.Workspace().MediaFolder(TWorkspace::TMedia::Preview);
    const QString thumbFolder = shop_.Workspace().MediaFolder(TWorkspace::TMedia::Thumb);
    // Every new file is in place before an old one goes, so a failure changes nothing.
    QString thumb;
    if (!request_.Snapshot.isNull()) {
        try {
            const TShopConfig& config = shop_.ShopConfig();
            thumb = CreateThumbnailFile(request_.Snapshot, config.ThumbWidth(), config.ThumbHeight(), work);
        } catch (const EAppError&) {
            Discard();
            throw;
        }
    }
    const QString preview = previewFolder + previewName_;
    QFile::remove(preview);
    if (!QFile::rename(partialFile_, preview)) {
        Discard();
        if (!thumb.isEmpty())
            QFile::remove(thumbFolder + thumb);
        throw EShopError(QStringLiteral("Cannot write the preview \"%1\".").arg(preview));
    }
    partialFile_.clear();

    // The picture file goes in every case, so the product never names a file that is gone.
    if (!item_.Image().isEmpty())
        QFile::remove(shop_.Workspace().MediaFolder(TWorkspace::TMedia::Image) + item_.Image());
    item_.SetImage(QString());
    if (!thumb.isEmpty()) {
        if (!item_.Thumb().isEmpty())
            QFile::remove(thumbFolder + item_.Thumb());
        item_.SetThumb(thumb);
    }
    if (!item_.Preview().isEmpty() && item_.Preview() != previewName_)
        QFile::remove(previewFolder + item_.Preview());
    item_.SetPreview(previewName_);
    item_.SetDuration(request_.Duration);
    shop_.SetModified(true);
}

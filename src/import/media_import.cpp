// Trovecart - media import.
#include "import/media_import.h"

#include <QFile>
#include <QFileInfo>

#include "common/file_utils.h"
#include "common/time_texts.h"
#include "media/video_convertor.h"
#include "media/web_copy_options.h"
#include "shop/media_files.h"
#include "shop/shop_document.h"
#include "shop/shop_error.h"
#include "shop/web_copies.h"

QString DurationText(int64_t microseconds) {
    // The time code is "HH:MM:SS.mmm"; the box keeps hours, minutes and seconds.
    const QString code = FormatTimeCode(microseconds < 0 ? 0 : microseconds);
    return code.left(code.indexOf(QLatin1Char('.')));
}

TMediaImport::TMediaImport(TShop& shop, TCartItem& item, TMediaImportRequest request)
    : shop_(shop), item_(item), request_(std::move(request)) {}

TMediaImport::~TMediaImport() {
    Discard();
}

bool TMediaImport::Queue(TVideoConvertor& convertor) {
    const bool video = request_.Kind == TMediaKind::Video;
    previewName_ = NewPreviewFileName(video).replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString folder = shop_.Workspace().MediaFolder(TWorkspace::TMedia::Preview);
    if (!ForceFolders(folder))
        throw EShopError(QStringLiteral("Cannot create the folder \"%1\".").arg(folder));
    const QString stem = folder + previewName_.left(previewName_.lastIndexOf(QLatin1Char('.')));
    TInputOptions input;
    TOutputOptions output;
    BuildPreviewOptions(request_.Source, request_.Kind, request_.Clip,
                        stem + QStringLiteral(".part") + (video ? ".flv" : ".mp3"), input, output, false,
                        &convertor.Engine().Probe());
    QList<TOutputOptions> outputs{output};
    // Browsers play the web copy, written in the same pass over the source, so it is the same clip.
    if (video)
        outputs << WebCopyOutput(output, stem + QStringLiteral(".part.mp4"));
    if (convertor.AddConversion(input, outputs) < 0)
        return false;
    partialFile_ = output.FileName;
    if (video)
        partialWebCopy_ = outputs.last().FileName;
    return true;
}

void TMediaImport::Finish(int result) {
    if (result == mrOk)
        Commit();
    else
        Discard();
}

void TMediaImport::Discard() {
    for (QString* partial : {&partialFile_, &partialWebCopy_}) {
        if (!partial->isEmpty())
            QFile::remove(*partial);
        partial->clear();
    }
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
    const QString webCopy = partialWebCopy_.isEmpty() ? QString() : previewFolder + WebCopyName(previewName_);
    const auto takeName = [](QString& partial, const QString& name) {
        QFile::remove(name);
        if (!QFile::rename(partial, name))
            return false;
        partial.clear();
        return true;
    };
    if ((!webCopy.isEmpty() && !takeName(partialWebCopy_, webCopy)) || !takeName(partialFile_, preview)) {
        const QString failed = partialWebCopy_.isEmpty() ? preview : webCopy;
        Discard();
        if (!webCopy.isEmpty())
            QFile::remove(webCopy);
        if (!thumb.isEmpty())
            QFile::remove(thumbFolder + thumb);
        throw EShopError(QStringLiteral("Cannot write the preview \"%1\".").arg(failed));
    }

    // The picture file goes in every case, so the product never names a file that is gone.
    if (!item_.Image().isEmpty())
        QFile::remove(shop_.Workspace().MediaFolder(TWorkspace::TMedia::Image) + item_.Image());
    item_.SetImage(QString());
    if (!thumb.isEmpty()) {
        if (!item_.Thumb().isEmpty())
            QFile::remove(thumbFolder + item_.Thumb());
        item_.SetThumb(thumb);
    }
    if (item_.Preview() != previewName_)
        DeletePreviewFiles(previewFolder, item_.Preview());
    item_.SetPreview(previewName_);
    item_.SetDuration(request_.Duration);
    shop_.SetModified(true);
}

bool QueueWebCopy(TVideoConvertor& convertor, const QString& previewFile) {
    const QString target =
        QFileInfo(previewFile).path() + QLatin1Char('/') + WebCopyName(QFileInfo(previewFile).fileName());
    TInputOptions input;
    TOutputOptions output;
    BuildWebCopyOptions(previewFile, target, input, output, convertor.Engine().Probe());
    return convertor.AddConversion(input, output, true) >= 0;
}

// Trovecart - product media files.
#include "shop/media_files.h"

#include <QFile>
#include <QFileInfo>

#include "common/file_utils.h"
#include "common/picture_fit.h"
#include "common/time_texts.h"
#include "common/whole_picture.h"
#include "shop/shop_error.h"
#include "shop/workspace.h"

namespace {

bool IsBitmapName(const QString& fileName) {
    return QFileInfo(fileName).suffix().toLower() == QLatin1String("bmp");
}

} // namespace

QString NewPictureFileName(const QString& pickedFile) {
    if (IsBitmapName(pickedFile))
        return TimeStamp() + QStringLiteral(".jpg");
    const QString name = ExtractNamePart(pickedFile);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return TimeStamp() + (dot >= 0 ? name.mid(dot) : QString());
}

QString NewThumbFileName() {
    return TimeStamp() + QStringLiteral("_Thumb.png");
}

QString NewPreviewFileName(bool video) {
    return TimeStamp() + (video ? QStringLiteral(".flv") : QStringLiteral(".mp3"));
}

QString ImportPictureFile(const QString& pickedFile, const QString& workFolder) {
    const QString name = NewPictureFileName(pickedFile);
    const QString folder = TWorkspace::MediaFolderIn(workFolder, TWorkspace::TMedia::Image);
    ForceFolders(folder);
    if (IsBitmapName(pickedFile)) {
        const QImage picture(pickedFile);
        if (picture.isNull())
            throw EShopError(QStringLiteral("Cannot convert \"%1\" into a JPEG picture.").arg(pickedFile));
        try {
            SaveWholePicture(picture, folder + name, "JPG");
        } catch (const EAppError& error) {
            throw EShopError(QStringLiteral("Cannot convert \"%1\" into a JPEG picture: %2")
                                 .arg(pickedFile, error.Message()));
        }
        return name;
    }
    QFile::remove(folder + name);
    if (!QFile::copy(pickedFile, folder + name))
        throw EShopError(QStringLiteral("Cannot copy \"%1\".").arg(pickedFile));
    return name;
}

QString CreateThumbnailFile(const QImage& picture, int thumbWidth, int thumbHeight, const QString& workFolder,
                            bool sourceIsPng) {
    const QString name = NewThumbFileName();
    QImage thumbnail;
    FitPicture(picture, thumbnail, thumbHeight, thumbWidth, sourceIsPng);
    const QString folder = TWorkspace::MediaFolderIn(workFolder, TWorkspace::TMedia::Thumb);
    ForceFolders(folder);
    try {
        if (thumbnail.isNull())
            throw EAppError(QStringLiteral("The picture is empty."));
        SaveWholePicture(thumbnail, folder + name, "PNG");
    } catch (const EAppError& error) {
        throw EShopError(
            QStringLiteral("Cannot save the thumbnail \"%1\": %2").arg(folder + name, error.Message()));
    }
    return name;
}

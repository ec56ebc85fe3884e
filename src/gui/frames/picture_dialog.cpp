// Trovecart - picture dialog.
#include "gui/frames/picture_dialog.h"

#include <QImageReader>

#include "common/dialog_service.h"
#include "gui/file_filter.h"

const QString kPictureFilter = QStringLiteral(
    "All (*.png;*.gif;*.jpg;*.jpeg;*.bmp)|*.png;*.gif;*.jpg;*.jpeg;*.bmp|Portable Network Graphics "
    "(*.png)|*.png|CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File "
    "(*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|");

std::optional<TChosenPicture> ChoosePicture(QWidget* owner) {
    const std::optional<QString> file =
        DialogService().OpenFileName(owner, QtNameFilters(kPictureFilter), QString(), QString());
    if (!file)
        return std::nullopt;
    QImageReader reader(*file);
    TChosenPicture chosen{*file, QImage(), reader.format() == "png"};
    chosen.Picture = reader.read();
    if (chosen.Picture.isNull())
        return std::nullopt;
    return chosen;
}

// Trovecart - picture dialog.
#include "gui/frames/picture_dialog.h"

#include "common/dialog_service.h"
#include "gui/file_filter.h"

const QString kPictureFilter = QStringLiteral(
    "All (*.png;*.gif;*.jpg;*.jpeg;*.bmp)|*.png;*.gif;*.jpg;*.jpeg;*.bmp|Portable Network Graphics "
    "(*.png)|*.png|CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File "
    "(*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|");

std::optional<QString> ChoosePictureFile(QWidget* owner) {
    return DialogService().OpenFileName(owner, QtNameFilters(kPictureFilter), QString(), QString());
}

// Trovecart - the dialog in which the product frames pick a picture.
#pragma once

#include <optional>

#include <QString>

class QWidget;

// The picture filter in the program's own form.
extern const QString kPictureFilter;

// Shows the open dialog with the picture filter; the chosen file, or none after Cancel.
std::optional<QString> ChoosePictureFile(QWidget* owner);

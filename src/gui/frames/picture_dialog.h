// Trovecart - the dialog in which the product frames pick a picture.
#pragma once

#include <optional>

#include <QImage>
#include <QString>

class QWidget;

// The picture filter in the program's own form.
extern const QString kPictureFilter;

struct TChosenPicture {
    QString File;
    QImage Picture;
    // Thumbnails of PNG pictures stay PNG.
    bool Png = false;
};

// Shows the open dialog with the picture filter and reads the chosen file; none after Cancel, and
// none for a file that is no picture, which changes nothing.
std::optional<TChosenPicture> ChoosePicture(QWidget* owner);

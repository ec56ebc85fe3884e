// Trovecart - pictures that are written whole or not at all.
#include "common/whole_picture.h"

#include <QImage>

#include "common/whole_file.h"

void SaveWholePicture(const QImage& picture, const QString& fileName, const char* format) {
    WriteWholeFile(fileName, [&](QIODevice& device) { return picture.save(&device, format); });
}

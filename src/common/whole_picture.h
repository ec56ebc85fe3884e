// Trovecart - pictures that are written whole or not at all.
#pragma once

#include <QString>

class QImage;

// The picture in a format QImage writes ("PNG", "JPG"), as WriteWholeFile writes files. Apart from
// whole_file.h, so that a program that writes no picture does not load the GUI library.
void SaveWholePicture(const QImage& picture, const QString& fileName, const char* format);

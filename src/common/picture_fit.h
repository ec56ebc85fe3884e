// Trovecart - fitting pictures into a box with bilinear resampling (thumbnails, category icons).
#pragma once

#include <QImage>

// Scales the source until it touches the box (small pictures grow), keeping its aspect ratio.
// The target becomes 8-bit RGB, or RGBA when the source is a PNG with an alpha channel; other
// transparent sources are laid on white. A null source gives a null target.
void FitPicture(const QImage& source, QImage& target, int boxHeight, int boxWidth, bool sourceIsPng);

// Bilinear resampling of an 8-bit RGB (Format_RGB888) or RGBA (Format_RGBA8888) picture; other
// formats are converted to RGB first. Both sizes must be at least 1.
QImage ResamplePicture(const QImage& picture, int newWidth, int newHeight);

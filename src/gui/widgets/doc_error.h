// Trovecart - the small placeholder picture shown where a picture is missing or unreadable.
#pragma once

#include <QPixmap>

// A sheet with a red cross on white, size x size pixels.
QPixmap DocError(int size);

// Trovecart - the program's picture (a shopping bag), drawn at any size.
#pragma once

#include <QPixmap>

// The bag on a transparent background, size x size pixels.
QPixmap ProgramIconPixmap(int size);

// Trovecart - the pictures of the buttons that edit a list of values.
#pragma once

#include <QIcon>

enum class TListGlyph { Add, Delete, Rename, MoveUp, MoveDown };

// Drawn at 16 x 16 pixels, so that no picture files are needed; the disabled form is greyed.
QIcon ListButtonIcon(TListGlyph glyph);

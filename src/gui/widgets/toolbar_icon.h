// Trovecart - toolbar pictures of one size with a disabled face that reads as disabled.
#pragma once

#include <QIcon>

// The picture fitted into a square of the given side, with a grey, faint disabled variant; pictures
// that come in different sizes line up, and a disabled button never looks ready to use.
QIcon ToolbarIcon(const QIcon& source, int side);

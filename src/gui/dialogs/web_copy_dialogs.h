// Trovecart - makes missing video web copies in the conversion dialog before a site is prepared.
#pragma once

#include "shop/web_copies.h"

class QWidget;

// One conversion dialog per copy, with its progress and Cancel. A copy that fails or is cancelled
// has been reported by then; it and the ones after it stay missing (the storefront shows its
// "No video" text) and the site preparation goes on.
TWebCopyMaker DialogWebCopyMaker(QWidget* parent);

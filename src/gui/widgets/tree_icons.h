// Trovecart - the pictures of the shop tree's nodes.
#pragma once

#include <QIcon>

#include "shop/cart_item.h"

enum TTreeImage : int {
    tiFolderClosed = 0,
    tiFolderOpen = 1,
    tiCategory = 2,
    tiCategorySelected = 3,
    tiGeneral = 4,
    tiGeneralSelected = 5,
    tiVideo = 6,
    tiVideoSelected = 7,
    tiMusic = 8,
    tiMusicSelected = 9,
};

// A node icon: the normal picture, and the selected one while the node is selected.
QIcon TreeNodeIcon(TTreeImage normal, TTreeImage selected);
// The normal picture of a product of that type; the selected one is the next.
TTreeImage ProductImage(TCartItemType type);

// Trovecart - the frame of a category: its name and a view of its products' thumbnails, from which
// a product can be opened.
#pragma once

#include "gui/frames/base_frame.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class TCategory;

class TCategoryFrame : public TBaseFrame {
    Q_OBJECT
public:
    explicit TCategoryFrame(QWidget* parent = nullptr);

    void SetData(TCategory* category) { category_ = category; }
    // Fills the name and rebuilds the product view; runs on every selection of the category.
    void LoadFromData() override;
    // Selects the tree node of the product of that view item, which shows the product's frame.
    void ListViewItemsDblClick(QListWidgetItem* item);

    QLineEdit* EditCategoryname;
    QListWidget* ListViewItems;

    // The side of a product's picture in the view.
    static constexpr int kTileSize = 100;

private:
    void FillProducts();

    TCategory* category_ = nullptr;
};

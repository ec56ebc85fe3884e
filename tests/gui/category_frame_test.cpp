// Trovecart tests - the category frame's name and its view of the products' thumbnails.
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

#include "editor_fixture.h"
#include "gui/frames/category_frame.h"
#include "gui/frames/item_base_frame.h"

namespace {

class CategoryFrameTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        NewProject();
    }
    static QImage Tile(const QListWidget* view, int row) {
        return view->item(row)->icon().pixmap(TCategoryFrame::kTileSize).toImage();
    }
};

TEST_F(CategoryFrameTest, ThumbnailsAreFittedAndEveryFailureShowsThePlaceholder) {
    const QString thumbs = console->Shop()->WorkFolder() + "thumb/";
    QImage wide(40, 20, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    wide.save(thumbs + "a_Thumb.png");
    WriteFile(thumbs + "broken_Thumb.png", "not a picture");
    Product(0, 0)->SetThumb("a_Thumb.png");
    Product(0, 1)->SetThumb("broken_Thumb.png");
    console->TreeShop()->setCurrentItem(CategoryNode(0));
    console->AddProduct(citImage);
    Product(0, 2)->SetThumb("missing_Thumb.png");

    auto* frame = ShowFrame<TCategoryFrame>(CategoryNode(0));
    ASSERT_NE(frame, nullptr);
    QListWidget* view = frame->ListViewItems;
    ASSERT_EQ(view->count(), 3);
    EXPECT_EQ(view->item(0)->text(), "A");
    EXPECT_EQ(view->item(2)->text(), "New product");

    // The small thumbnail grows until it touches the tile: 100 x 50 in the middle.
    const QImage tile = Tile(view, 0);
    ASSERT_EQ(tile.size(), QSize(100, 100));
    EXPECT_EQ(tile.pixelColor(50, 50), QColor(Qt::blue));
    EXPECT_EQ(tile.pixelColor(2, 30), QColor(Qt::blue));
    EXPECT_EQ(tile.pixelColor(50, 20), QColor(Qt::white));
    EXPECT_EQ(Tile(view, 1), Tile(view, 2)) << "an unreadable and a missing file give the placeholder";
    EXPECT_NE(Tile(view, 1), tile);

    // Rebuilt on each selection.
    Product(0, 1)->SetName("Renamed");
    ShowFrame<TCategoryFrame>(ProductNode(0, 0));
    ShowFrame<TCategoryFrame>(CategoryNode(0));
    EXPECT_EQ(view->item(1)->text(), "Renamed");
}

TEST_F(CategoryFrameTest, DoubleClickOpensTheProductAlsoOneJustMovedIn) {
    auto* frame = ShowFrame<TCategoryFrame>(CategoryNode(0));
    QListWidget* view = frame->ListViewItems;
    view->setCurrentRow(1);
    frame->ListViewItemsDblClick(view->item(1));
    EXPECT_EQ(console->TreeShop()->currentItem(), ProductNode(0, 1));
    EXPECT_NE(dynamic_cast<TItemBaseFrame*>(console->CurrentFrame()), nullptr);

    ShowFrame<TItemBaseFrame>(ProductNode(1, 1))->PopupMenumoveto->actions().at(0)->trigger();
    ASSERT_EQ(ShowFrame<TCategoryFrame>(CategoryNode(0)), frame);
    ASSERT_EQ(view->count(), 3);
    view->setCurrentRow(2);
    frame->ListViewItemsDblClick(view->item(2));
    EXPECT_EQ(console->TreeShop()->currentItem(), ProductNode(0, 2));
    EXPECT_EQ(console->TreeShop()->currentItem()->text(0), "D");

    // Without a selection a double-click does nothing.
    ShowFrame<TCategoryFrame>(CategoryNode(0));
    view->clearSelection();
    frame->ListViewItemsDblClick(view->item(0));
    EXPECT_EQ(console->TreeShop()->currentItem(), CategoryNode(0));
}

TEST_F(CategoryFrameTest, TheNameGoesIntoTheModelAndTheTree) {
    auto* frame = ShowFrame<TCategoryFrame>(CategoryNode(1));
    EXPECT_EQ(frame->EditCategoryname->text(), "Second");
    EXPECT_FALSE(console->Shop()->Modified());
    frame->EditCategoryname->setText("Jazz");
    EXPECT_EQ(console->Shop()->Categories().Items(1)->Name(), "Jazz");
    EXPECT_EQ(CategoryNode(1)->text(0), "Jazz");
    EXPECT_TRUE(console->Shop()->Modified());
}

} // namespace

// Trovecart tests - the tree commands keep model and tree in the same order.
#include <QAction>
#include <QMenu>

#include "editor_fixture.h"
#include "gui/frames/item_base_frame.h"

namespace {

class ShopTreeCommands : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        NewProject();
        console->Shop()->SetModified(false);
    }
    void Select(QTreeWidgetItem* node) { console->TreeShop()->setCurrentItem(node); }
};

TEST_F(ShopTreeCommands, MovesCrossCategoryBorders) {
    Select(ProductNode(1, 0));
    console->MoveItemClick(true);
    EXPECT_EQ(ProductNames(0), QStringList({"A", "B", "C"}));
    EXPECT_EQ(ProductNames(1), QStringList({"D"}));
    EXPECT_EQ(console->TreeShop()->currentItem()->text(0), "C");
    EXPECT_TRUE(console->Shop()->Modified());

    console->MoveItemClick(false);
    EXPECT_EQ(ProductNames(0), QStringList({"A", "B"}));
    EXPECT_EQ(ProductNames(1), QStringList({"C", "D"}));

    Select(ProductNode(1, 0));
    console->MoveItemClick(false);
    EXPECT_EQ(ProductNames(1), QStringList({"D", "C"}));

    Select(CategoryNode(0));
    EXPECT_FALSE(console->Action("MoveUp")->isEnabled());
    EXPECT_TRUE(console->Action("MoveDown")->isEnabled());
    console->MoveItemClick(false);
    EXPECT_EQ(CategoryNames(), QStringList({"Second", "First", "Empty"}));
    EXPECT_EQ(CategoryNode(1)->text(0), "First");
    EXPECT_EQ(ProductNames(1), QStringList({"A", "B"}));
}

TEST_F(ShopTreeCommands, AddCommandsFollowTheSelection) {
    Select(console->TreeShop()->Root());
    for (const char* name : {"AddGeneral", "AddMusic", "AddVideo", "Delete"})
        EXPECT_FALSE(console->Action(name)->isEnabled()) << name;
    EXPECT_TRUE(console->Action("AddCategory")->isEnabled());

    Select(CategoryNode(2));
    for (const char* name : {"AddGeneral", "AddMusic", "AddVideo"})
        EXPECT_TRUE(console->Action(name)->isEnabled()) << name;
    console->AddProduct(citAudio);
    console->Action("AddVideo")->trigger();
    const TCartItems& items = console->Shop()->Categories().Items(2)->Items();
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Items(0)->ItemType(), citAudio);
    EXPECT_EQ(items.Items(1)->ItemType(), citVideo);
    EXPECT_EQ(items.Items(1)->Name(), "New product");

    console->Category1Click();
    EXPECT_EQ(CategoryNames().last(), "New category");
    EXPECT_EQ(console->TreeShop()->currentItem(), CategoryNode(3));
}

TEST_F(ShopTreeCommands, DropsAreMirroredAndSelectTheDraggedEntry) {
    // The rules of each drop are the catalogue editor's; here the tree follows them.
    console->TreeShopDragDrop(ProductNode(0, 1), CategoryNode(0));
    EXPECT_EQ(ProductNames(0), QStringList({"B", "A"}));
    EXPECT_EQ(console->TreeShop()->currentItem(), ProductNode(0, 0));
    EXPECT_TRUE(console->Shop()->Modified());

    console->TreeShopDragDrop(ProductNode(0, 1), nullptr);
    EXPECT_EQ(ProductNames(2), QStringList({"A"}));
    EXPECT_EQ(console->TreeShop()->currentItem(), ProductNode(2, 0));

    console->TreeShopDragDrop(CategoryNode(2), ProductNode(1, 0));
    EXPECT_EQ(CategoryNames(), QStringList({"First", "Empty", "Second"}));
    EXPECT_EQ(CategoryNode(1)->text(0), "Empty");
    EXPECT_EQ(ProductNames(1), QStringList({"A"}));
    EXPECT_EQ(console->TreeShop()->currentItem(), CategoryNode(1));
}

TEST_F(ShopTreeCommands, NodesStayWithTheirEntriesAndKeepTheirState) {
    QTreeWidgetItem* first = CategoryNode(0);
    QTreeWidgetItem* a = ProductNode(0, 0);
    first->setExpanded(false);
    CategoryNode(1)->setExpanded(true);
    Select(first);
    console->MoveItemClick(false);
    EXPECT_EQ(CategoryNode(1), first);
    EXPECT_EQ(ProductNode(1, 0), a);
    EXPECT_FALSE(first->isExpanded());
    EXPECT_TRUE(CategoryNode(0)->isExpanded());
    EXPECT_EQ(console->TreeShop()->currentItem(), first);

    // A product crossing into another category is a new entry with a new node.
    Select(a);
    console->MoveItemToCategory(0, true);
    EXPECT_EQ(ProductNames(0), QStringList({"A", "C", "D"}));
    EXPECT_NE(ProductNode(0, 0), a);
    EXPECT_EQ(console->TreeShop()->currentItem(), ProductNode(0, 0));
}

TEST_F(ShopTreeCommands, MoveToOffersEveryOtherCategory) {
    QMenu* moveTo = nullptr;
    for (QMenu* menu : console->findChildren<QMenu*>())
        if (menu->title() == "Move to")
            moveTo = menu;
    ASSERT_NE(moveTo, nullptr);
    const auto captions = [moveTo] {
        QStringList texts;
        for (const QAction* entry : moveTo->actions())
            texts << entry->text();
        return texts;
    };

    Select(ProductNode(1, 0));
    console->PopupMenuTreePopup(QPoint(1, 1));
    EXPECT_EQ(captions(), QStringList({"First", "Empty"}));
    EXPECT_TRUE(moveTo->isEnabled());
    moveTo->actions().at(1)->trigger();
    EXPECT_EQ(ProductNames(2), QStringList({"C"}));
    EXPECT_EQ(console->TreeShop()->currentItem(), ProductNode(2, 0));

    // Any other selection leaves the entries as they were.
    Select(CategoryNode(0));
    EXPECT_FALSE(moveTo->isEnabled());
    console->PopupMenuTreePopup(QPoint(1, 1));
    EXPECT_EQ(captions(), QStringList({"First", "Empty"}));
    for (QMenu* menu : console->findChildren<QMenu*>())
        menu->hide();
}

// A lone '&' in a menu caption would underline the next letter and vanish.
TEST_F(ShopTreeCommands, NamesFromTheUserKeepTheirAmpersandsInMenus) {
    console->Shop()->Categories().Items(0)->SetName("Home & Garden");
    Select(ProductNode(1, 0));
    console->PopupMenuTreePopup(QPoint(1, 1));
    for (QMenu* menu : console->findChildren<QMenu*>())
        menu->hide();
    QStringList moveTo;
    for (QMenu* menu : console->findChildren<QMenu*>())
        if (menu->title() == "Move to")
            for (const QAction* entry : menu->actions())
                moveTo << entry->text();
    EXPECT_EQ(moveTo, QStringList({"Home && Garden", "Empty"}));

    auto* product = ShowFrame<TItemBaseFrame>(ProductNode(1, 0));
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->PopupMenumoveto->actions().at(0)->text(), "Home && Garden");

    const QString file = projects.File("R & D.scp");
    dialogs.QueueFile(file);
    ASSERT_TRUE(console->SaveProjectFile(false));
    ASSERT_EQ(console->RecentMenu()->actions().size(), 1);
    EXPECT_EQ(console->RecentMenu()->actions().at(0)->text(), projects.File("R && D.scp"));
    EXPECT_EQ(console->RecentMenu()->actions().at(0)->toolTip(), file);
}

TEST_F(ShopTreeCommands, DeleteCategoryRemovesItsMediaOnlyAfterYes) {
    TShop* shop = console->Shop();
    TCartItems& items = shop->Categories().Items(1)->Items();
    items.Items(0)->SetThumb("c_Thumb.png");
    items.Items(1)->SetImage("d.jpg");
    WriteFile(shop->WorkFolder() + "thumb/c_Thumb.png", "t");
    WriteFile(shop->WorkFolder() + "image/d.jpg", "i");

    Select(CategoryNode(1));
    messages.QueueAnswer(mrNo);
    console->BtnRemoveClick();
    EXPECT_EQ(CategoryNames().size(), 3);
    EXPECT_TRUE(QFile::exists(shop->WorkFolder() + "image/d.jpg"));

    messages.QueueAnswer(mrYes);
    console->BtnRemoveClick();
    EXPECT_EQ(CategoryNames(), QStringList({"First", "Empty"}));
    EXPECT_FALSE(QFile::exists(shop->WorkFolder() + "thumb/c_Thumb.png"));
    EXPECT_FALSE(QFile::exists(shop->WorkFolder() + "image/d.jpg"));
    EXPECT_EQ(console->TreeShop()->Root()->childCount(), 2);
    EXPECT_EQ(messages.Calls().back().text, "Are you sure you want to permanently delete the selected item?");
    EXPECT_EQ(messages.Calls().back().heading, "Delete Cart Item");
}

TEST_F(ShopTreeCommands, RenamesGoToTheModel) {
    console->TreeShop()->Root()->setText(0, "Vinyl Corner");
    EXPECT_EQ(console->Shop()->ShopConfig().Title(), "<font size=\"14\">Vinyl Corner</font>");
    CategoryNode(0)->setText(0, "Records");
    EXPECT_EQ(CategoryNames().first(), "Records");
    EXPECT_TRUE(console->Shop()->Modified());
    EXPECT_TRUE(console->ValidateAll());
}

} // namespace

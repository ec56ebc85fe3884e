// Trovecart tests - the shop tree's operations on the catalogue, without any window.
#include <ostream>
#include <vector>

#include <QFile>

#include <gtest/gtest.h>

#include "shop/catalogue_editor.h"
#include "shop/shop_document.h"
#include "support/test_helpers.h"

void PrintTo(const TEntryPosition& position, std::ostream* out) {
    *out << '(' << position.category << ", " << position.product << ')';
}

namespace {

using Pos = TEntryPosition;

// First: A, B; Second: C, D; Empty.
class CatalogueEditor : public ::testing::Test {
protected:
    void SetUp() override {
        shop.SetSiteFolder(site.Path());
        shop.ShopConfig().SetTitle(QStringLiteral("<font size=\"14\">Corner Records</font>"));
        const auto category = [this](const char* name, QStringList products) {
            TCategory* added = shop.Categories().Add();
            added->SetName(QString::fromLatin1(name));
            for (const QString& product : products)
                added->Items().Add()->SetName(product);
        };
        category("First", {"A", "B"});
        category("Second", {"C", "D"});
        category("Empty", {});
        editor.OnEntryRemoving = [this](TXMLCollectionItem& entry) { removed << entry.Name(); };
    }

    QStringList Products(int category) const {
        QStringList names;
        const TCartItems& items = shop.Categories().Items(category)->Items();
        for (int i = 0; i < items.Count(); ++i)
            names << items.Items(i)->Name();
        return names;
    }
    QStringList Categories() const {
        QStringList names;
        for (int i = 0; i < shop.Categories().Count(); ++i)
            names << shop.Categories().Items(i)->Name();
        return names;
    }
    // Whether an operation marked the shop; clears the flag for the next one.
    bool TakeModified() {
        const bool modified = shop.Modified();
        shop.SetModified(false);
        return modified;
    }

    TTempFolder site;
    QString WorkFile(const QString& name) const { return shop.WorkFolder() + name; }
    TShop shop;
    TCatalogueEditor editor{shop};
    QStringList removed;
};

TEST_F(CatalogueEditor, CommandsFollowThePosition) {
    const auto commands = [this](Pos position) {
        const TEntryCommands c = editor.CommandsFor(position);
        return QList<bool>({c.remove, c.moveUp, c.moveDown, c.addProduct, c.moveTo});
    };
    //                                 remove  up     down   add    moveTo
    EXPECT_EQ(commands(Pos::Root()), QList<bool>({false, false, false, false, false}));
    EXPECT_EQ(commands(Pos::Product(0, 0)), QList<bool>({true, false, true, true, true}));
    EXPECT_EQ(commands(Pos::Product(0, 1)), QList<bool>({true, true, true, true, true}));
    EXPECT_EQ(commands(Pos::Product(1, 1)), QList<bool>({true, true, true, true, true}))
        << "a later category exists, even an empty one";
    EXPECT_EQ(commands(Pos::Category(0)), QList<bool>({true, false, true, true, false}));
    EXPECT_EQ(commands(Pos::Category(2)), QList<bool>({true, true, false, true, false}));
    EXPECT_EQ(commands(Pos::Product(2, 0)), QList<bool>({false, false, false, false, false})) << "no entry";

    shop.Categories().Delete(2);
    EXPECT_EQ(commands(Pos::Product(1, 1)), QList<bool>({true, true, false, true, true}));

    EXPECT_EQ(editor.MoveTargets(Pos::Product(1, 0)), std::vector<int>({0}));
    EXPECT_TRUE(editor.MoveTargets(Pos::Category(0)).empty());
}

TEST_F(CatalogueEditor, MovesCrossCategoryBorders) {
    // The first product of the second category up: the last of the first.
    EXPECT_EQ(editor.MoveUp(Pos::Product(1, 0)), Pos::Product(0, 2));
    EXPECT_EQ(Products(0), QStringList({"A", "B", "C"}));
    EXPECT_EQ(Products(1), QStringList({"D"}));
    EXPECT_TRUE(TakeModified());
    EXPECT_EQ(removed, QStringList({"C"})) << "the product crossed as a copy";

    // And the last product of the first category down: the first of the second.
    EXPECT_EQ(editor.MoveDown(Pos::Product(0, 2)), Pos::Product(1, 0));
    EXPECT_EQ(Products(0), QStringList({"A", "B"}));
    EXPECT_EQ(Products(1), QStringList({"C", "D"}));

    EXPECT_EQ(editor.MoveDown(Pos::Product(1, 0)), Pos::Product(1, 1));
    EXPECT_EQ(Products(1), QStringList({"D", "C"}));
    EXPECT_EQ(editor.MoveUp(Pos::Product(1, 1)), Pos::Product(1, 0));
    EXPECT_EQ(Products(1), QStringList({"C", "D"}));
    TakeModified();

    // Nowhere to go: nothing changes.
    EXPECT_EQ(editor.MoveUp(Pos::Product(0, 0)), Pos::Product(0, 0));
    EXPECT_EQ(editor.MoveUp(Pos::Category(0)), Pos::Category(0));
    EXPECT_EQ(editor.MoveDown(Pos::Category(2)), Pos::Category(2));
    EXPECT_EQ(editor.MoveUp(Pos::Root()), Pos::Root());
    EXPECT_FALSE(TakeModified());

    // Categories take their products along.
    EXPECT_EQ(editor.MoveDown(Pos::Category(0)), Pos::Category(1));
    EXPECT_EQ(Categories(), QStringList({"Second", "First", "Empty"}));
    EXPECT_EQ(Products(1), QStringList({"A", "B"}));
    EXPECT_TRUE(TakeModified());
}

TEST_F(CatalogueEditor, MovedProductIsAFullCopyNamingTheSameFiles) {
    TCartItem* original = shop.Categories().Items(0)->Items().Items(1);
    original->SetItemType(citAudio);
    original->SetPrice(12.5);
    original->SetPreview(QStringLiteral("b.mp3"));
    original->Options().Add()->SetName(QStringLiteral("Size"));
    WriteFile(WorkFile("preview/b.mp3"), "mp3");
    const quint64 originalId = original->Id();

    EXPECT_EQ(editor.MoveToCategory(Pos::Product(0, 1), 2, false), Pos::Product(2, 0));
    const TCartItem* moved = shop.Categories().Items(2)->Items().Items(0);
    EXPECT_EQ(moved->Name(), "B");
    EXPECT_EQ(moved->ItemType(), citAudio);
    EXPECT_DOUBLE_EQ(moved->Price(), 12.5);
    EXPECT_EQ(moved->Preview(), "b.mp3");
    EXPECT_EQ(moved->Options().Items(0)->Name(), "Size");
    EXPECT_NE(moved->Id(), originalId);
    EXPECT_TRUE(QFile::exists(WorkFile("preview/b.mp3")));
    EXPECT_EQ(Products(0), QStringList({"A"}));

    // Into its own category, at the start.
    EXPECT_EQ(editor.MoveToCategory(Pos::Product(1, 1), 1, true), Pos::Product(1, 0));
    EXPECT_EQ(Products(1), QStringList({"D", "C"}));
    EXPECT_EQ(editor.MoveToCategory(Pos::Product(1, 1), 7, true), Pos::Product(1, 1)) << "no such category";
}

TEST_F(CatalogueEditor, DropsFollowTheirRules) {
    // On its own category: to its top.
    EXPECT_EQ(editor.Drop(Pos::Product(0, 1), Pos::Category(0)), Pos::Product(0, 0));
    EXPECT_EQ(Products(0), QStringList({"B", "A"}));
    EXPECT_TRUE(TakeModified());

    // On a category above its own: the end of that category.
    EXPECT_EQ(editor.Drop(Pos::Product(1, 1), Pos::Category(0)), Pos::Product(0, 2));
    EXPECT_EQ(Products(0), QStringList({"B", "A", "D"}));

    // On a category below its own: the start of that category.
    EXPECT_EQ(editor.Drop(Pos::Product(0, 2), Pos::Category(1)), Pos::Product(1, 0));
    EXPECT_EQ(Products(1), QStringList({"D", "C"}));

    // On a product of another category: at that product's place.
    EXPECT_EQ(editor.Drop(Pos::Product(0, 1), Pos::Product(1, 1)), Pos::Product(1, 1));
    EXPECT_EQ(Products(1), QStringList({"D", "A", "C"}));

    // On a product of its own category: at that product's place.
    EXPECT_EQ(editor.Drop(Pos::Product(1, 2), Pos::Product(1, 0)), Pos::Product(1, 0));
    EXPECT_EQ(Products(1), QStringList({"C", "D", "A"}));
    EXPECT_EQ(Products(0), QStringList({"B"}));

    // Below the last node with the last category empty: the category itself takes it.
    EXPECT_EQ(editor.Drop(Pos::Product(0, 0), std::nullopt), Pos::Product(2, 0));
    EXPECT_EQ(Products(2), QStringList({"B"}));
    // From another category: just before the last product of the last category.
    EXPECT_EQ(editor.Drop(Pos::Product(1, 0), std::nullopt), Pos::Product(2, 0));
    EXPECT_EQ(Products(2), QStringList({"C", "B"}));
    // From the last category: its last product.
    EXPECT_EQ(editor.Drop(Pos::Product(2, 0), std::nullopt), Pos::Product(2, 1));
    EXPECT_EQ(Products(2), QStringList({"B", "C"}));

    // A category on a product of another category: that category's place.
    EXPECT_EQ(editor.Drop(Pos::Category(2), Pos::Product(1, 0)), Pos::Category(1));
    EXPECT_EQ(Categories(), QStringList({"First", "Empty", "Second"}));
    EXPECT_EQ(Products(1), QStringList({"B", "C"}));
    // Below the last node: the last place.
    EXPECT_EQ(editor.Drop(Pos::Category(0), std::nullopt), Pos::Category(2));
    EXPECT_EQ(Categories(), QStringList({"Empty", "Second", "First"}));
    TakeModified();

    // The root neither moves nor takes a drop.
    EXPECT_FALSE(TCatalogueEditor::AcceptsDrop(Pos::Root(), Pos::Category(0)));
    EXPECT_FALSE(TCatalogueEditor::AcceptsDrop(Pos::Category(0), Pos::Root()));
    EXPECT_TRUE(TCatalogueEditor::AcceptsDrop(Pos::Product(1, 0), std::nullopt));
    EXPECT_EQ(editor.Drop(Pos::Product(1, 0), Pos::Root()), Pos::Product(1, 0));
    EXPECT_FALSE(TakeModified());
}

TEST_F(CatalogueEditor, DropBelowTheLastNodeOfAShopWithoutCategoriesDoesNothing) {
    shop.Categories().Clear();
    EXPECT_EQ(editor.DropTarget(std::nullopt), std::nullopt);
    EXPECT_EQ(editor.Drop(Pos::Category(0), std::nullopt), Pos::Category(0));
    EXPECT_FALSE(shop.Modified());
}

TEST_F(CatalogueEditor, DeletingRemovesTheMediaAndSelectsANeighbour) {
    TCartItems& second = shop.Categories().Items(1)->Items();
    second.Items(0)->SetThumb(QStringLiteral("c_Thumb.png"));
    second.Items(1)->SetImage(QStringLiteral("d.jpg"));
    WriteFile(WorkFile("thumb/c_Thumb.png"), "t");
    WriteFile(WorkFile("image/d.jpg"), "i");
    WriteFile(WorkFile("image/keep.jpg"), "i");
    shop.Categories().Items(0)->Items().Items(0)->SetImage(QStringLiteral("keep.jpg"));

    EXPECT_EQ(editor.Delete(Pos::Category(1)), Pos::Category(1)) << "the next category moves up";
    EXPECT_EQ(Categories(), QStringList({"First", "Empty"}));
    EXPECT_FALSE(QFile::exists(WorkFile("thumb/c_Thumb.png")));
    EXPECT_FALSE(QFile::exists(WorkFile("image/d.jpg")));
    EXPECT_TRUE(QFile::exists(WorkFile("image/keep.jpg")));
    EXPECT_EQ(removed, QStringList({"C", "D", "Second"})) << "the products, then their category";
    EXPECT_TRUE(TakeModified());

    EXPECT_EQ(editor.Delete(Pos::Category(1)), Pos::Category(0)) << "the last one: its previous";
    EXPECT_EQ(editor.Delete(Pos::Product(0, 1)), Pos::Product(0, 0)) << "the last product: its previous";
    EXPECT_EQ(editor.Delete(Pos::Product(0, 0)), Pos::Category(0)) << "the only product: its category";
    EXPECT_FALSE(QFile::exists(WorkFile("image/keep.jpg")));
    EXPECT_EQ(editor.Delete(Pos::Category(0)), Pos::Root());
    EXPECT_EQ(shop.Categories().Count(), 0);
    TakeModified();

    EXPECT_EQ(editor.Delete(Pos::Root()), Pos::Root());
    EXPECT_EQ(editor.Delete(Pos::Category(3)), Pos::Category(3));
    EXPECT_FALSE(TakeModified());
}

TEST_F(CatalogueEditor, DeletingAProductInTheMiddleSelectsTheNextOne) {
    shop.Categories().Items(1)->Items().Add()->SetName(QStringLiteral("E"));
    EXPECT_EQ(editor.Delete(Pos::Product(1, 1)), Pos::Product(1, 1));
    EXPECT_EQ(Products(1), QStringList({"C", "E"}));
    EXPECT_EQ(removed, QStringList({"D"}));
}

TEST_F(CatalogueEditor, AddsAndRenames) {
    EXPECT_EQ(editor.AddCategory(), Pos::Category(3));
    EXPECT_EQ(Categories().last(), "New category");
    EXPECT_TRUE(TakeModified());

    EXPECT_EQ(editor.AddProduct(Pos::Category(2), citAudio), Pos::Product(2, 0));
    EXPECT_EQ(editor.AddProduct(Pos::Product(2, 0), citVideo), Pos::Product(2, 1)) << "beside the product";
    const TCartItems& items = shop.Categories().Items(2)->Items();
    EXPECT_EQ(items.Items(0)->ItemType(), citAudio);
    EXPECT_EQ(items.Items(1)->ItemType(), citVideo);
    EXPECT_EQ(items.Items(1)->Name(), "New product");
    TakeModified();
    EXPECT_EQ(editor.AddProduct(Pos::Root(), citImage), Pos::Root());
    EXPECT_FALSE(TakeModified());

    // The root's text replaces the inside of the title's font wrapper.
    EXPECT_TRUE(editor.Rename(Pos::Root(), QStringLiteral("Vinyl Corner")));
    EXPECT_EQ(shop.ShopConfig().Title(), "<font size=\"14\">Vinyl Corner</font>");
    EXPECT_TRUE(editor.Rename(Pos::Product(0, 1), QStringLiteral("Bee")));
    EXPECT_EQ(Products(0), QStringList({"A", "Bee"}));
    EXPECT_TRUE(TakeModified());
    EXPECT_FALSE(editor.Rename(Pos::Root(), QStringLiteral("Vinyl Corner")));
    EXPECT_FALSE(editor.Rename(Pos::Category(0), QStringLiteral("First")));
    EXPECT_FALSE(TakeModified());
}

TEST_F(CatalogueEditor, TreeOrderVisitsEachCategoryBeforeItsProducts) {
    // An empty category between two full ones: First, Between, Second, Empty.
    shop.Categories().Insert(1)->SetName(QStringLiteral("Between"));
    const std::vector<Pos> order = {Pos::Root(),        Pos::Category(0),   Pos::Product(0, 0),
                                    Pos::Product(0, 1), Pos::Category(1),   Pos::Category(2),
                                    Pos::Product(2, 0), Pos::Product(2, 1), Pos::Category(3)};
    std::vector<Pos> forward = {Pos::Root()};
    while (const std::optional<Pos> next = editor.NextInTreeOrder(forward.back()))
        forward.push_back(*next);
    EXPECT_EQ(forward, order);
    std::vector<Pos> backward = {order.back()};
    while (const std::optional<Pos> previous = editor.PreviousInTreeOrder(backward.back()))
        backward.push_back(*previous);
    EXPECT_EQ(backward, std::vector<Pos>(order.rbegin(), order.rend()));

    EXPECT_EQ(editor.NextInTreeOrder(Pos::Product(0, 7)), std::nullopt) << "no such product";
    EXPECT_EQ(editor.PreviousInTreeOrder(Pos::Category(9)), std::nullopt);
}

class TCountingView : public TEditorView {
public:
    explicit TCountingView(bool answer) : answer(answer) {}
    bool CanLeave() override {
        ++asked;
        return answer;
    }
    bool answer;
    int asked = 0;
};

TEST_F(CatalogueEditor, EditorsAreAskedInTreeOrderUntilOneRefuses) {
    EXPECT_TRUE(editor.CanLeaveEditors()) << "entries never shown pass";
    TCountingView accepting(true), refusing(false), later(false);
    shop.Categories().Items(0)->SetEditorView(&accepting);
    shop.Categories().Items(0)->Items().Items(1)->SetEditorView(&refusing);
    shop.Categories().Items(1)->SetEditorView(&later);
    EXPECT_FALSE(editor.CanLeaveEditors());
    EXPECT_EQ(accepting.asked, 1);
    EXPECT_EQ(refusing.asked, 1);
    EXPECT_EQ(later.asked, 0);
}

} // namespace

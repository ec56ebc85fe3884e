// Trovecart tests - collections, copies, media clean-up and editor views of the catalogue.
#include <QDir>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "shop/category.h"
#include "support/test_helpers.h"

namespace {

QStringList Names(const TXMLItemCollection& collection) {
    QStringList names;
    for (int i = 0; i < collection.Count(); ++i)
        names << collection.ItemAt(i)->Name();
    return names;
}

TEST(CatalogueModel, CollectionKeepsOrderAndIndexes) {
    TCartItems items;
    for (const char* name : {"a", "b", "c", "d"})
        items.Add()->SetName(QString::fromLatin1(name));
    items.Insert(1)->SetName(QStringLiteral("x"));
    EXPECT_EQ(Names(items), QStringList({"a", "x", "b", "c", "d"}));

    items.Move(0, 3);
    EXPECT_EQ(Names(items), QStringList({"x", "b", "c", "a", "d"}));
    items.Move(4, 1);
    EXPECT_EQ(Names(items), QStringList({"x", "d", "b", "c", "a"}));
    items.Delete(2);
    EXPECT_EQ(Names(items), QStringList({"x", "d", "c", "a"}));
    for (int i = 0; i < items.Count(); ++i)
        EXPECT_EQ(items.Items(i)->Index(), i);

    EXPECT_TRUE(items.IsFirst(items.Items(0)));
    EXPECT_FALSE(items.IsFirst(items.Items(1)));
    EXPECT_TRUE(TXMLItemCollection::IsLast(items.Last()));
    EXPECT_FALSE(TXMLItemCollection::IsLast(items.Items(0)));
    TCartItem loose;
    EXPECT_TRUE(TXMLItemCollection::IsLast(&loose));
    EXPECT_EQ(loose.Index(), -1);

    EXPECT_THROW(items.Items(4), EAppError);
    EXPECT_THROW(items.Delete(-1), EAppError);
    EXPECT_THROW(items.Insert(9), EAppError);
}

TEST(CatalogueModel, AssignMakesIndependentDeepCopies) {
    TCategory source;
    source.SetName(QStringLiteral("Music"));
    TCartItem* item = source.Items().Add();
    item->SetName(QStringLiteral("Song"));
    item->SetItemType(citAudio);
    item->SetPrice(1.5);
    item->SetDuration(QStringLiteral("00:01:00"));
    TOptionItem* option = item->Options().Add();
    option->SetName(QStringLiteral("Size"));
    option->Items() = QStringList({"S"});
    option->SetEnabled(true);

    TCategory copy;
    copy.Assign(source);
    option->Items().append(QStringLiteral("M"));
    item->SetName(QStringLiteral("Changed"));

    ASSERT_EQ(copy.Items().Count(), 1);
    const TCartItem* copied = copy.Items().Items(0);
    EXPECT_EQ(copied->Name(), "Song");
    EXPECT_EQ(copied->ItemType(), citAudio);
    EXPECT_DOUBLE_EQ(copied->Price(), 1.5);
    EXPECT_EQ(copied->Duration(), "00:01:00");
    EXPECT_EQ(copied->Options().Items(0)->Items(), QStringList({"S"}));
    EXPECT_TRUE(copied->Options().Items(0)->Enabled());
    EXPECT_EQ(copied->Collection(), &copy.Items());

    // An entry of another class gives only its name.
    TCartItem product;
    product.SetPrice(9);
    product.Assign(source);
    EXPECT_EQ(product.Name(), "Music");
    EXPECT_DOUBLE_EQ(product.Price(), 9.0);
}

TEST(CatalogueModel, DeleteMediaFilesStopsAtTheFirstFailure) {
    TTempFolder work;
    for (const char* file : {"thumb/t.png", "preview/p.mp3", "image/i.jpg"})
        WriteFile(work.File(QString::fromLatin1(file)), "x");

    TCartItem item;
    item.SetThumb(QStringLiteral("t.png"));
    item.SetPreview(QStringLiteral("p.mp3"));
    item.SetImage(QStringLiteral("i.jpg"));
    EXPECT_TRUE(item.DeleteMediaFiles(QString())) << "no work folder: nothing to delete";
    EXPECT_TRUE(QFile::exists(work.File("thumb/t.png")));

    QFile::remove(work.File("thumb/t.png"));
    EXPECT_FALSE(item.DeleteMediaFiles(work.Path()));
    EXPECT_TRUE(QFile::exists(work.File("preview/p.mp3")));
    EXPECT_TRUE(QFile::exists(work.File("image/i.jpg")));

    item.SetThumb(QString());
    EXPECT_TRUE(item.DeleteMediaFiles(work.Path()));
    EXPECT_FALSE(QFile::exists(work.File("preview/p.mp3")));
    EXPECT_FALSE(QFile::exists(work.File("image/i.jpg")));
    EXPECT_EQ(item.Image(), "i.jpg");
}

class TAnsweringView : public TEditorView {
public:
    explicit TAnsweringView(bool answer) : answer_(answer) {}
    bool CanLeave() override { return answer_; }

private:
    bool answer_;
};

TEST(CatalogueModel, EntriesPointAtTheirEditorViewsAndKeepTheirIds) {
    TCategories categories;
    TCategory* category = categories.Add();
    TCartItem* product = category->Items().Add();
    EXPECT_TRUE(category->CanLeaveEditor()) << "no view made yet";
    TAnsweringView refusing(false);
    category->SetEditorView(&refusing);
    EXPECT_FALSE(category->CanLeaveEditor());
    category->SetEditorView(nullptr);
    EXPECT_TRUE(category->CanLeaveEditor());

    // A copy is a new entry: its own id and no view.
    product->SetEditorView(&refusing);
    TCartItem* copy = category->Items().Add();
    copy->Assign(*product);
    EXPECT_EQ(copy->EditorView(), nullptr);
    EXPECT_NE(copy->Id(), product->Id());
    EXPECT_NE(category->Id(), product->Id());

    // Ids stay with their entries when they change places.
    const quint64 first = product->Id();
    category->Items().Move(0, 1);
    EXPECT_EQ(category->Items().Items(1)->Id(), first);
}

} // namespace

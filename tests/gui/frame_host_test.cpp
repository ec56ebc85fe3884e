// Trovecart tests - the frame host makes, keeps, shows and destroys the frames of the tree's nodes.
#include <functional>

#include <QPointer>

#include "editor_fixture.h"
#include "gui/frame_host.h"
#include "gui/frames/base_frame.h"
#include "gui/frames/shop_frame.h"

namespace {

// Stands in for the category and product frames: counts what the window asks of it.
class TProbeFrame : public TBaseFrame {
public:
    TProbeFrame(TFrameKind kind, TXMLCollectionItem* entry) : kind(kind), entry(entry) {}
    void LoadFromData() override { ++loads; }
    void LeaveFrame() override {
        ++leaves;
        if (onLeave)
            onLeave();
    }
    bool ValidateInput() override { return valid; }

    // What a product frame does when the user picks another type.
    void ChangeType(TCartItemType type) {
        auto* product = static_cast<TCartItem*>(entry);
        product->SetItemType(type);
        product->SetEditorValid(false);
        Commands()->PostRerunSelection();
    }

    TFrameKind kind;
    TXMLCollectionItem* entry;
    int loads = 0;
    int leaves = 0;
    bool valid = true;
    std::function<void()> onLeave;
};

class FrameHostTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        for (TFrameKind kind : {TFrameKind::Category, TFrameKind::ImageProduct, TFrameKind::MediaProduct}) {
            console->Frames()->SetMaker(kind, [kind](const TFrameRequest& request) {
                auto frame = std::make_unique<TProbeFrame>(kind, request.entry);
                frame->SetShop(&request.shop);
                frame->SetNode(request.node);
                return frame;
            });
        }
        NewProject();
    }

    TProbeFrame* Show(QTreeWidgetItem* node) {
        console->TreeShop()->setCurrentItem(node);
        return dynamic_cast<TProbeFrame*>(console->CurrentFrame());
    }
    // Frames let go of by the host are deleted once control is back in the event loop.
    static void DeleteRetired() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(FrameHostTest, FramesAreKeptPerNodeWhileDetached) {
    TProbeFrame* category = Show(CategoryNode(0));
    ASSERT_NE(category, nullptr);
    EXPECT_EQ(category->kind, TFrameKind::Category);
    EXPECT_EQ(category->Node(), CategoryNode(0));
    EXPECT_EQ(category->loads, 1);
    EXPECT_EQ(console->Shop()->Categories().Items(0)->EditorView(), category);

    TProbeFrame* general = Show(ProductNode(0, 0));
    TProbeFrame* music = Show(ProductNode(0, 1));
    EXPECT_EQ(general->kind, TFrameKind::ImageProduct);
    EXPECT_EQ(music->kind, TFrameKind::MediaProduct);
    EXPECT_TRUE(category->isHidden());
    EXPECT_TRUE(general->isHidden());
    EXPECT_FALSE(music->isHidden());
    EXPECT_EQ(category->leaves, 1);

    EXPECT_EQ(Show(CategoryNode(0)), category) << "made once, shown again";
    EXPECT_EQ(category->loads, 2);
    EXPECT_TRUE(console->Frames()->isAncestorOf(category));
    EXPECT_TRUE(console->Frames()->isAncestorOf(music)) << "detached frames stay with the host";

    // A kind without a maker shows no frame.
    console->Frames()->SetMaker(TFrameKind::Category, nullptr);
    EXPECT_EQ(Show(CategoryNode(1)), nullptr);
    EXPECT_EQ(console->CurrentFrame(), nullptr);
    EXPECT_TRUE(category->isHidden());
}

TEST_F(FrameHostTest, DeletingDestroysTheFramesOfTheEntryAndItsProducts) {
    QPointer<TProbeFrame> c = Show(ProductNode(1, 0));
    QPointer<TProbeFrame> d = Show(ProductNode(1, 1));
    QPointer<TProbeFrame> other = Show(ProductNode(0, 0));
    QPointer<TProbeFrame> second = Show(CategoryNode(1));

    messages.QueueAnswer(mrYes);
    console->BtnRemoveClick();
    EXPECT_EQ(console->TreeShop()->currentItem(), CategoryNode(1)) << "the next category";
    EXPECT_EQ(console->TreeShop()->currentItem()->text(0), "Empty");
    ASSERT_TRUE(second) << "not deleted inside the command";
    EXPECT_TRUE(second->isHidden());
    DeleteRetired();
    EXPECT_FALSE(c);
    EXPECT_FALSE(d);
    EXPECT_FALSE(second);
    EXPECT_TRUE(other);
    EXPECT_EQ(console->CurrentFrame()->Node(), CategoryNode(1));
}

TEST_F(FrameHostTest, AProductFrameLetsGoOfItsFilesBeforeTheyAreDeleted) {
    TShop* shop = console->Shop();
    Product(0, 1)->SetPreview("b.mp3");
    WriteFile(shop->WorkFolder() + "preview/b.mp3", "mp3");
    TProbeFrame* frame = Show(ProductNode(0, 1));
    bool fileThereOnLeave = false;
    frame->onLeave = [&] { fileThereOnLeave = QFile::exists(shop->WorkFolder() + "preview/b.mp3"); };

    messages.QueueAnswer(mrNo);
    console->BtnRemoveClick();
    EXPECT_EQ(frame->leaves, 0) << "declined: nothing happens";

    messages.QueueAnswer(mrYes);
    frame->Commands()->BtnRemoveClick();
    EXPECT_TRUE(fileThereOnLeave);
    EXPECT_FALSE(QFile::exists(shop->WorkFolder() + "preview/b.mp3"));
    EXPECT_EQ(ProductNames(0), QStringList({"A"}));
    EXPECT_EQ(console->TreeShop()->currentItem(), ProductNode(0, 0)) << "the previous product";
    EXPECT_TRUE(shop->Modified());
}

TEST_F(FrameHostTest, ATypeChangeReplacesTheFrameOnceItsHandlerHasReturned) {
    QPointer<TProbeFrame> general = Show(ProductNode(0, 0));
    general->ChangeType(citVideo);
    EXPECT_EQ(console->CurrentFrame(), general) << "the re-run is posted";
    Settle();
    auto* video = dynamic_cast<TProbeFrame*>(console->CurrentFrame());
    ASSERT_NE(video, nullptr);
    EXPECT_NE(video, general);
    EXPECT_EQ(video->kind, TFrameKind::MediaProduct);
    EXPECT_EQ(video->loads, 1);
    EXPECT_TRUE(Product(0, 0)->EditorValid());
    DeleteRetired();
    EXPECT_FALSE(general);

    Show(CategoryNode(0));
    EXPECT_EQ(Show(ProductNode(0, 0)), video) << "kept again until the next type change";
}

TEST_F(FrameHostTest, MovingAProductGivesTheCopyAFrameOfItsOwn) {
    QPointer<TProbeFrame> c = Show(ProductNode(1, 0));
    c->Commands()->MoveToClick(2);
    EXPECT_EQ(ProductNames(2), QStringList({"C"}));
    EXPECT_EQ(console->TreeShop()->currentItem(), ProductNode(2, 0));
    auto* moved = dynamic_cast<TProbeFrame*>(console->CurrentFrame());
    ASSERT_NE(moved, nullptr);
    EXPECT_NE(moved, c.data());
    EXPECT_EQ(moved->entry, Product(2, 0));
    DeleteRetired();
    EXPECT_FALSE(c);
}

TEST_F(FrameHostTest, SavingAsksOnlyTheFramesThatWereMade) {
    Product(1, 1)->SetDiscount(99);
    EXPECT_TRUE(console->ValidateAll()) << "a product never shown passes";

    Show(ProductNode(1, 1))->valid = false;
    Show(CategoryNode(0));
    EXPECT_FALSE(console->ValidateAll());
    dialogs.QueueFile(projects.File("refused.scp"));
    EXPECT_FALSE(console->SaveProjectFile(false));
    EXPECT_FALSE(QFile::exists(projects.File("refused.scp")));
}

TEST_F(FrameHostTest, ClosingTheProjectDestroysEveryFrame) {
    QPointer<TShopFrame> settings = dynamic_cast<TShopFrame*>(console->CurrentFrame());
    QPointer<TProbeFrame> category = Show(CategoryNode(0));
    QPointer<TProbeFrame> product = Show(ProductNode(1, 1));
    ASSERT_TRUE(settings);

    messages.QueueAnswer(mrNo);
    ASSERT_TRUE(console->CloseProject());
    EXPECT_EQ(console->CurrentFrame(), nullptr);
    DeleteRetired();
    EXPECT_FALSE(settings);
    EXPECT_FALSE(category);
    EXPECT_FALSE(product);

    // The next project makes its own.
    NewProject();
    EXPECT_NE(dynamic_cast<TShopFrame*>(console->CurrentFrame()), nullptr);
}

} // namespace

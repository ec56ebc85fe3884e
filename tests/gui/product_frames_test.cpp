// Trovecart tests - the product frames: money rules and messages, type changes, pictures, and the
// product's place in the tree.
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include "common/app_info.h"
#include "editor_fixture.h"
#include "gui/dialogs/ratio_box.h"
#include "gui/file_filter.h"
#include "gui/frames/image_item_frame.h"
#include "gui/frames/item_base_frame.h"
#include "gui/frames/picture_dialog.h"
#include "gui/widgets/money_edit.h"
#include "gui/widgets/picture_panel.h"

namespace {

// First: A (general), B (music); Second: C (video), D (general); Empty.
class ProductFrames : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        NewProject();
    }
    // The text of the only message shown since the last call.
    QString OnlyMessage() {
        const auto calls = messages.Calls();
        EXPECT_EQ(calls.size(), seenMessages + 1);
        seenMessages = calls.size();
        if (calls.empty())
            return QString();
        EXPECT_EQ(calls.back().kind, mkError);
        EXPECT_EQ(calls.back().heading, "Error In Input");
        EXPECT_EQ(calls.back().title, ProgramCaption());
        return calls.back().text;
    }
    static QStringList MenuEntries(const QMenu* menu) {
        QStringList entries;
        for (const QAction* action : menu->actions())
            entries << action->text();
        return entries;
    }
    QString WorkFile(const QString& relative) const { return console->Shop()->WorkFolder() + relative; }

    size_t seenMessages = 0;
};

TEST_F(ProductFrames, MoneyFieldsTakeOnlyDigitsAndOnePointWhateverTheLocale) {
    const TLocaleGuard german(QLocale::German, QLocale::Germany);
    auto* frame = ShowFrame<TItemBaseFrame>(ProductNode(0, 0));
    ASSERT_NE(frame, nullptr);
    TMoneyEdit* price = frame->NumEditOriginalPrice;
    price->clear();
    TypeKeys(price, "1a2,-.5.3");
    EXPECT_EQ(price->text(), "12.53") << "letters, commas, signs and a second point are refused";
    EXPECT_DOUBLE_EQ(Product(0, 0)->Price(), 12.53);
    TypeKeys(price, "\b");
    EXPECT_EQ(price->text(), "12.5");
    EXPECT_DOUBLE_EQ(Product(0, 0)->Price(), 12.5);
    price->insert("9x");
    EXPECT_EQ(price->text(), "12.5") << "pasted text follows the same rule";

    // A lone point or a trailing one is a step on the way to a number.
    EXPECT_EQ(TMoneyEdit::ReadAmount("."), std::nullopt);
    EXPECT_EQ(TMoneyEdit::ReadAmount("5."), 5.0);
    EXPECT_EQ(TMoneyEdit::ReadAmount(".25"), 0.25);
    EXPECT_EQ(TMoneyEdit::ReadAmount("-1"), std::nullopt);
    EXPECT_EQ(TMoneyEdit::ReadAmount("1,5"), std::nullopt);

    // Stored amounts come back in plain decimals that the field itself would let in.
    Product(0, 0)->SetShipping(1e20);
    frame->LoadFromData();
    EXPECT_EQ(frame->NumEditShipping->text(), "100000000000000000000");
    EXPECT_EQ(frame->NumEditOriginalPrice->text(), "12.5");
}

TEST_F(ProductFrames, InputChecksGiveTheirMessages) {
    auto* frame = ShowFrame<TItemBaseFrame>(ProductNode(0, 0));
    ASSERT_NE(frame, nullptr);
    frame->NumEditOriginalPrice->setText("10");
    frame->NumEditDiscount->setText("10");
    frame->NumEditShipping->setText("0");
    EXPECT_TRUE(frame->ValidateInput());
    EXPECT_TRUE(messages.Calls().empty());

    frame->NumEditDiscount->setText("10.5");
    EXPECT_FALSE(frame->ValidateInput());
    EXPECT_EQ(OnlyMessage(), "Errors found in input. Please correct them and try again.\r\n"
                             "Discount cannot greater than original price.\r\n");

    // An empty price is reported alone: the comparison is skipped, and the model keeps 10.
    frame->NumEditOriginalPrice->clear();
    EXPECT_DOUBLE_EQ(Product(0, 0)->Price(), 10);
    EXPECT_FALSE(frame->ValidateInput());
    EXPECT_EQ(OnlyMessage(), "Errors found in input. Please correct them and try again.\r\n"
                             "Original price must be positive.\r\n");

    frame->NumEditDiscount->setText(".");
    frame->NumEditShipping->clear();
    EXPECT_FALSE(frame->ValidateInput());
    EXPECT_EQ(OnlyMessage(), "Errors found in input. Please correct them and try again.\r\n"
                             "Original price must be positive.\r\nDiscount must be a number positive.\r\n"
                             "Shipping must be a number positive.\r\n");
}

TEST_F(ProductFrames, SavingStopsAtTheFirstRefusingProductAndShowsIt) {
    auto* d = ShowFrame<TItemBaseFrame>(ProductNode(1, 1));
    d->NumEditDiscount->setText("5");
    ShowFrame<TItemBaseFrame>(CategoryNode(0));
    dialogs.QueueFile(projects.File("refused.scp"));
    EXPECT_FALSE(console->SaveProjectFile(false));
    EXPECT_EQ(dialogs.saveDialogs, 0) << "refused before the file is asked for";
    EXPECT_EQ(console->TreeShop()->currentItem(), ProductNode(1, 1));
    EXPECT_EQ(console->CurrentFrame(), d);
    EXPECT_EQ(OnlyMessage(), "Errors found in input. Please correct them and try again.\r\n"
                             "Discount cannot greater than original price.\r\n");
}

TEST_F(ProductFrames, EditsGoStraightIntoTheModelAndTheTree) {
    console->Shop()->SetModified(false);
    auto* frame = ShowFrame<TItemBaseFrame>(ProductNode(0, 1));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->EditProductName->text(), "B");
    EXPECT_EQ(frame->lblItemType->text(), "Music");
    EXPECT_FALSE(console->Shop()->Modified()) << "showing a product changes nothing";

    frame->EditProductName->setText("Blue Train");
    EXPECT_EQ(Product(0, 1)->Name(), "Blue Train");
    EXPECT_EQ(ProductNode(0, 1)->text(0), "Blue Train");
    EXPECT_TRUE(console->Shop()->Modified());
    frame->Memodescription->setPlainText("Side one\nSide two");
    EXPECT_EQ(Product(0, 1)->Description(), "Side one\nSide two");

    // A rename in the tree reaches the frame.
    ProductNode(0, 1)->setText(0, "Giant Steps");
    EXPECT_EQ(frame->EditProductName->text(), "Giant Steps");
}

TEST_F(ProductFrames, OpeningAndClosingAProjectAsksNothingWhateverFramesWereShown) {
    dialogs.QueueFile(projects.File("shop.scp"));
    ASSERT_TRUE(console->SaveProjectFile(false));
    ASSERT_TRUE(console->OpenProjectFile(projects.File("shop.scp")));
    Settle();
    for (QTreeWidgetItem* node : {CategoryNode(0), ProductNode(0, 0), ProductNode(0, 1), ProductNode(1, 0),
                                  CategoryNode(2), console->TreeShop()->Root(), ProductNode(1, 1)}) {
        console->TreeShop()->setCurrentItem(node);
        ASSERT_NE(console->CurrentFrame(), nullptr) << node->text(0).toStdString();
        EXPECT_FALSE(console->Shop()->Modified()) << node->text(0).toStdString();
    }
    EXPECT_TRUE(console->CloseProject());
    EXPECT_TRUE(messages.Calls().empty()) << "no question about saving";
}

TEST_F(ProductFrames, ATypeChangeDeletesTheMediaFilesKeepsTheirNamesAndReplacesTheFrame) {
    TCartItem* c = Product(1, 0);
    c->SetPreview("c.flv");
    c->SetImage("c.jpg");
    WriteFile(WorkFile("preview/c.flv"), "flv");
    WriteFile(WorkFile("preview/c.mp4"), "mp4");
    WriteFile(WorkFile("image/c.jpg"), "jpg");
    QPointer<TItemBaseFrame> video = ShowFrame<TItemBaseFrame>(ProductNode(1, 0));
    ASSERT_TRUE(video);
    EXPECT_EQ(video->lblItemType->text(), "Video");

    // Cancel, and OK on the same type, change nothing.
    console->ShowModalDialog = [](QDialog&) { return 2; };
    video->ChangeProductTypeClick();
    console->ShowModalDialog = [](QDialog&) { return 1; };
    video->ChangeProductTypeClick();
    EXPECT_EQ(c->ItemType(), citVideo);
    EXPECT_TRUE(QFile::exists(WorkFile("preview/c.flv")));
    console->Shop()->SetModified(false);

    QString title, prompt;
    QStringList choices;
    int offered = -1;
    console->ShowModalDialog = [&](QDialog& dialog) {
        auto& box = dynamic_cast<TRatioBox&>(dialog);
        title = box.Title();
        prompt = box.Prompt();
        offered = box.ItemIndex();
        for (QAbstractButton* button : box.findChildren<QAbstractButton*>())
            choices << button->text();
        box.SetItems({"General", "Audio", "Video"}, 3, 0);
        return 1;
    };
    video->ChangeProductTypeClick();
    EXPECT_EQ(title, "Change Cart Type");
    EXPECT_EQ(prompt, "Please select  the new product type.\r\rChanging the product will delete preview info "
                      "for this product.");
    EXPECT_EQ(offered, 2) << "the current type is chosen";
    EXPECT_TRUE(choices.contains("Audio"));

    EXPECT_EQ(c->ItemType(), citImage);
    EXPECT_FALSE(QFile::exists(WorkFile("preview/c.flv")));
    EXPECT_FALSE(QFile::exists(WorkFile("preview/c.mp4"))) << "the web copy goes with its preview";
    EXPECT_FALSE(QFile::exists(WorkFile("image/c.jpg")));
    EXPECT_EQ(c->Preview(), "c.flv");
    EXPECT_EQ(c->Image(), "c.jpg");
    EXPECT_TRUE(console->Shop()->Modified());
    EXPECT_EQ(console->CurrentFrame(), video) << "replaced once the handler has returned";
    Settle();
    auto* general = dynamic_cast<TImageItemFrame*>(console->CurrentFrame());
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(general->lblItemType->text(), "General");
    EXPECT_EQ(general->PanelImage->Caption(), "No preview file") << "its picture file is gone";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(video);
}

TEST_F(ProductFrames, ChosenPicturesAreCopiedOrConvertedWithANewThumbnail) {
    auto* frame = ShowFrame<TImageItemFrame>(ProductNode(0, 0));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->PanelImage->Caption(), "No preview file");
    EXPECT_TRUE(frame->PanelImage->Picture().isNull());

    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(projects.File("photo.BMP"), "BMP"));
    ASSERT_TRUE(picture.save(projects.File("photo.Png"), "PNG"));
    WriteFile(projects.File("notes.png"), "no picture");

    dialogs.QueueFile(projects.File("photo.BMP"));
    frame->BtnChangePicClick();
    EXPECT_EQ(dialogs.openFilters.constLast(), QtNameFilters(kPictureFilter));
    EXPECT_TRUE(dialogs.openFilters.constLast().startsWith(
        "All (*.png;*.gif;*.jpg;*.jpeg;*.bmp) (*.png *.PNG *.Png "))
        << "every letter case of each extension";
    TCartItem* a = Product(0, 0);
    const QString firstImage = a->Image();
    const QString firstThumb = a->Thumb();
    EXPECT_TRUE(firstImage.endsWith(".jpg")) << firstImage.toStdString();
    EXPECT_EQ(QImageReader(WorkFile("image/" + firstImage)).format(), "jpeg");
    EXPECT_TRUE(firstThumb.endsWith("_Thumb.png"));
    EXPECT_EQ(QImage(WorkFile("thumb/" + firstThumb)).size(), QSize(100, 50)) << "fitted into the shop's box";
    EXPECT_EQ(frame->PanelImage->Caption(), "");
    EXPECT_EQ(frame->PanelImage->Picture().size(), QSize(400, 200));
    EXPECT_TRUE(console->Shop()->Modified());

    dialogs.QueueFile(projects.File("photo.Png"));
    frame->BtnChangePicClick();
    EXPECT_TRUE(a->Image().endsWith(".Png")) << a->Image().toStdString();
    EXPECT_TRUE(QFile::exists(WorkFile("image/" + a->Image())));
    EXPECT_FALSE(QFile::exists(WorkFile("image/" + firstImage))) << "the replaced picture goes";
    EXPECT_FALSE(QFile::exists(WorkFile("thumb/" + firstThumb)));

    // Cancel, and a file that is no picture, leave everything as it was.
    const QString image = a->Image();
    dialogs.QueueFile(std::nullopt);
    frame->BtnChangePicClick();
    dialogs.QueueFile(projects.File("notes.png"));
    frame->BtnChangePicClick();
    EXPECT_EQ(a->Image(), image);
    EXPECT_TRUE(QFile::exists(WorkFile("image/" + image)));

    // A picture file that went missing shows the caption again.
    QFile::remove(WorkFile("image/" + image));
    frame->LoadFromData();
    EXPECT_EQ(frame->PanelImage->Caption(), "No preview file");
    EXPECT_TRUE(frame->PanelImage->Picture().isNull());
}

TEST_F(ProductFrames, PreviousAndNextWalkTheTreeAcrossCategories) {
    auto* a = ShowFrame<TItemBaseFrame>(ProductNode(0, 0));
    EXPECT_TRUE(a->BtnPrevious->isEnabled());
    a->BtnPrevious->click();
    EXPECT_EQ(console->TreeShop()->currentItem(), CategoryNode(0));

    auto* b = ShowFrame<TItemBaseFrame>(ProductNode(0, 1));
    b->BtnNext->click();
    EXPECT_EQ(console->TreeShop()->currentItem(), CategoryNode(1)) << "the next category's node";
    auto* c = ShowFrame<TItemBaseFrame>(ProductNode(1, 0));
    c->BtnPrevious->click();
    EXPECT_EQ(console->TreeShop()->currentItem(), CategoryNode(1));
    auto* d = ShowFrame<TItemBaseFrame>(ProductNode(1, 1));
    d->BtnNext->click();
    EXPECT_EQ(console->TreeShop()->currentItem(), CategoryNode(2)) << "an empty category too";

    // The last product of the last category has nothing after it.
    console->AddProduct(citImage);
    auto* last = dynamic_cast<TItemBaseFrame*>(console->CurrentFrame());
    ASSERT_NE(last, nullptr);
    EXPECT_FALSE(last->BtnNext->isEnabled());
    EXPECT_TRUE(last->BtnPrevious->isEnabled());
}

TEST_F(ProductFrames, MoveToListsTheOtherCategoriesAlsoForAProductJustMovedIn) {
    auto* c = ShowFrame<TItemBaseFrame>(ProductNode(1, 0));
    EXPECT_TRUE(c->BtnMoveTo->isEnabled());
    EXPECT_EQ(MenuEntries(c->PopupMenumoveto), QStringList({"First", "Empty"}));
    c->PopupMenumoveto->actions().at(1)->trigger();
    EXPECT_EQ(ProductNames(1), QStringList({"D"}));
    EXPECT_EQ(ProductNames(2), QStringList({"C"}));
    EXPECT_EQ(console->TreeShop()->currentItem(), ProductNode(2, 0));

    auto* moved = dynamic_cast<TItemBaseFrame*>(console->CurrentFrame());
    ASSERT_NE(moved, nullptr);
    EXPECT_NE(moved, c);
    EXPECT_EQ(MenuEntries(moved->PopupMenumoveto), QStringList({"First", "Second"}));
    moved->PopupMenumoveto->actions().at(0)->trigger();
    EXPECT_EQ(ProductNames(0), QStringList({"A", "B", "C"}));

    // With a single category there is nowhere to move to.
    for (int i = 0; i < 2; ++i) {
        console->TreeShop()->setCurrentItem(CategoryNode(1));
        messages.QueueAnswer(mrYes);
        console->BtnRemoveClick();
    }
    auto* alone = ShowFrame<TItemBaseFrame>(ProductNode(0, 0));
    EXPECT_FALSE(alone->BtnMoveTo->isEnabled());
    EXPECT_TRUE(alone->PopupMenumoveto->isEmpty());
}

} // namespace

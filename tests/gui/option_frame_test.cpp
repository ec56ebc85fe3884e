// Trovecart tests - an option group's values and the enabling of its list buttons.
#include <deque>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

#include "editor_fixture.h"
#include "gui/dialogs/input_box.h"
#include "gui/frames/item_base_frame.h"
#include "gui/frames/option_frame.h"

namespace {

class OptionFrameTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        NewProject();
        product = ShowFrame<TItemBaseFrame>(ProductNode(0, 0));
        ASSERT_NE(product, nullptr);
        frame = product->OptionFrameA;
        // Input boxes take the queued texts; an empty queue cancels.
        console->ShowModalDialog = [this](QDialog& dialog) {
            auto& box = dynamic_cast<TInputBox&>(dialog);
            titles << box.Title();
            proposed << box.findChild<QLineEdit*>()->text();
            if (answers.empty())
                return 2;
            box.findChild<QLineEdit*>()->setText(answers.front());
            answers.pop_front();
            box.ConfirmInput();
            return box.result();
        };
    }
    TOptionItem& Option() { return *Product(0, 0)->Options().Items(0); }
    void Select(int row) { frame->ListBoxItems->setCurrentRow(row); }
    // Remove, up, down and rename, as "1" for enabled and "0" for disabled.
    QString ListButtons() const {
        QString states;
        for (const QToolButton* button : {frame->BtnRemove, frame->BtnUp, frame->BtnDown, frame->BtnRename})
            states += button->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        // The menu follows the buttons.
        EXPECT_EQ(frame->MenuDelete->isEnabled(), frame->BtnRemove->isEnabled());
        EXPECT_EQ(frame->MenuRename->isEnabled(), frame->BtnRemove->isEnabled());
        EXPECT_EQ(frame->MenuMoveUp->isEnabled(), frame->BtnUp->isEnabled());
        EXPECT_EQ(frame->MenuMoveDown->isEnabled(), frame->BtnDown->isEnabled());
        EXPECT_EQ(frame->MenuAdd->isEnabled(), frame->BtnAdd->isEnabled());
        return states;
    }

    TItemBaseFrame* product = nullptr;
    TOptionFrame* frame = nullptr;
    std::deque<QString> answers;
    QStringList titles;
    QStringList proposed;
};

TEST_F(OptionFrameTest, AProductAlwaysShowsTwoOptionGroupsWithoutAChange) {
    EXPECT_EQ(Product(0, 0)->Options().Count(), 2);
    EXPECT_FALSE(console->Shop()->Modified());
    EXPECT_FALSE(frame->CheckBoxEnable->isChecked());
    for (QWidget* control :
         {static_cast<QWidget*>(frame->EditName), static_cast<QWidget*>(frame->lblName),
          static_cast<QWidget*>(frame->ListBoxItems), static_cast<QWidget*>(frame->BtnAdd)})
        EXPECT_FALSE(control->isEnabled());
    EXPECT_EQ(ListButtons(), "0000");
    EXPECT_TRUE(frame->CheckBoxEnable->isEnabled());
    EXPECT_EQ(product->OptionFrameB->findChild<QCheckBox*>()->isChecked(), false);
}

TEST_F(OptionFrameTest, ButtonsFollowTheSelectionThroughAddMoveAndDelete) {
    frame->CheckBoxEnable->setChecked(true);
    EXPECT_TRUE(Option().Enabled());
    EXPECT_TRUE(console->Shop()->Modified());
    EXPECT_TRUE(frame->EditName->isEnabled());
    EXPECT_EQ(ListButtons(), "0000");
    frame->EditName->setText("Size");
    EXPECT_EQ(Option().Name(), "Size");

    answers = {"S", "M", "L"};
    for (int i = 0; i < 3; ++i)
        frame->BtnAdd->click();
    EXPECT_EQ(titles.constFirst(), "New Option Item");
    EXPECT_EQ(proposed.constFirst(), "New Item");
    EXPECT_EQ(Option().Items(), QStringList({"S", "M", "L"}));
    EXPECT_EQ(ListButtons(), "0000") << "nothing selected yet";

    Select(0);
    EXPECT_EQ(ListButtons(), "1011") << "top: up disabled, down enabled";
    Select(2);
    EXPECT_EQ(ListButtons(), "1101") << "last: down disabled";
    answers = {"XL"};
    frame->BtnAdd->click();
    EXPECT_EQ(frame->ListBoxItems->currentRow(), 2) << "adding leaves the selection";
    EXPECT_EQ(ListButtons(), "1111") << "the formerly last value can move down now";

    frame->BtnUp->click();
    EXPECT_EQ(Option().Items(), QStringList({"S", "L", "M", "XL"}));
    EXPECT_EQ(frame->ListBoxItems->currentItem()->text(), "L") << "the selection follows the value";
    frame->MenuMoveDown->trigger();
    frame->BtnDown->click();
    EXPECT_EQ(Option().Items(), QStringList({"S", "M", "XL", "L"}));
    EXPECT_EQ(ListButtons(), "1101");

    frame->BtnRemove->click();
    EXPECT_EQ(Option().Items(), QStringList({"S", "M", "XL"}));
    EXPECT_EQ(frame->ListBoxItems->currentItem()->text(), "XL");
    EXPECT_EQ(ListButtons(), "1101");
}

TEST_F(OptionFrameTest, RenamingTakesTheEnteredTextAndCancelChangesNothing) {
    Option().SetEnabled(true);
    Option().Items() = QStringList({"Red", "Blue"});
    frame->LoadFromData();
    Select(1);
    answers = {"Navy"};
    emit frame->ListBoxItems->itemDoubleClicked(frame->ListBoxItems->item(1));
    EXPECT_EQ(titles.constLast(), "Rename Option Item");
    EXPECT_EQ(proposed.constLast(), "Blue");
    EXPECT_EQ(Option().Items(), QStringList({"Red", "Navy"}));

    frame->BtnRename->click();
    frame->BtnAdd->click();
    EXPECT_EQ(Option().Items(), QStringList({"Red", "Navy"})) << "both cancelled";

    // Empty and repeated values are accepted.
    answers = {"", "Red"};
    frame->BtnAdd->click();
    frame->BtnAdd->click();
    EXPECT_EQ(Option().Items(), QStringList({"Red", "Navy", "", "Red"}));
}

TEST_F(OptionFrameTest, UncheckingKeepsTheValuesButLocksThem) {
    Option().SetEnabled(true);
    Option().SetName("Colour");
    Option().Items() = QStringList({"Red", "Blue"});
    frame->LoadFromData();
    EXPECT_FALSE(console->Shop()->Modified());
    Select(0);
    EXPECT_EQ(ListButtons(), "1011");

    frame->CheckBoxEnable->setChecked(false);
    EXPECT_FALSE(Option().Enabled());
    EXPECT_TRUE(console->Shop()->Modified());
    EXPECT_FALSE(frame->ListBoxItems->isEnabled());
    EXPECT_FALSE(frame->EditName->isEnabled());
    EXPECT_EQ(ListButtons(), "0000");
    frame->MenuDelete->trigger();
    frame->MenuAdd->trigger();
    EXPECT_TRUE(titles.isEmpty()) << "no input box for a locked list";
    EXPECT_EQ(Option().Items(), QStringList({"Red", "Blue"}));
    EXPECT_EQ(Option().Name(), "Colour");
}

} // namespace

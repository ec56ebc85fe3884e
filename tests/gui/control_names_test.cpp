// Trovecart tests - controls carry their program names and a name for screen readers, and frames
// stay readable in a small window with a large font.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>

#include "editor_fixture.h"
#include "gui/dialogs/input_box.h"
#include "gui/dialogs/ratio_box.h"
#include "gui/dialogs/select_folder.h"
#include "gui/frame_host.h"
#include "gui/frames/base_frame.h"
#include "gui/wizard/shoping_cart_wizard.h"
#include "gui/wizard/template_changer.h"

namespace {

bool InsideOf(const QWidget* widget, const char* className) {
    for (const QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
        if (parent->inherits(className))
            return true;
    }
    return false;
}

// The inputs and picture-only buttons below root that a screen reader could not name; Qt's own
// parts of composite controls (the edit line of a spin box, the arrows of a tab bar, the header
// of a tree) do not count.
QStringList Unnamed(const QWidget* root) {
    QStringList unnamed;
    for (const QWidget* widget : root->findChildren<QWidget*>()) {
        if (widget->objectName().startsWith(QLatin1String("qt_")) || InsideOf(widget, "QAbstractSpinBox") ||
            InsideOf(widget, "QComboBox") || InsideOf(widget, "QTabBar") || widget->inherits("QHeaderView"))
            continue;
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        const bool input =
            qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
            qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget) ||
            qobject_cast<const QAbstractItemView*>(widget);
        if ((input || (button && button->text().isEmpty())) && widget->accessibleName().isEmpty())
            unnamed << QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') +
                           widget->objectName();
    }
    return unnamed;
}

using ControlNames = EditorFixture;

TEST_F(ControlNames, EveryFrameNamesItsControls) {
    NewProject();
    for (QTreeWidgetItem* node : {CategoryNode(0), ProductNode(0, 0), ProductNode(0, 1)})
        console->TreeShop()->setCurrentItem(node);
    EXPECT_EQ(Unnamed(console.get()), QStringList());
    for (const char* name : {"TreeShop",         "EditShopName",     "BtnRefresh",
                             "EditHomepage",     "cbCurrency",       "SpinWidth",
                             "MemoFooter",       "dbPaymentservice", "EditEmailPayment",
                             "EditCategoryname", "ListViewItems",    "EditProductName",
                             "lblItemType",      "Memodescription",  "NumEditOriginalPrice",
                             "NumEditDiscount",  "NumEditShipping",  "OptionFrameA",
                             "OptionFrameB",     "BtnPrevious",      "BtnMoveTo",
                             "BtnNext",          "BtnChangePic",     "CheckBoxEnable",
                             "lblName",          "EditName",         "ListBoxItems",
                             "BtnAdd",           "BtnRemove",        "BtnUp",
                             "BtnDown",          "BtnRename"})
        EXPECT_NE(console->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(console->findChild<QWidget*>("NumEditOriginalPrice")->accessibleName(), "Original price");
    EXPECT_EQ(console->findChild<QWidget*>("BtnUp")->accessibleName(), "Move up");
}

TEST_F(ControlNames, DialogsNameTheirControls) {
    TShopingCartWizard wizard(*console, console->ProgramData());
    EXPECT_EQ(Unnamed(&wizard), QStringList());
    EXPECT_NE(wizard.findChild<QWidget*>("BtnOpenResent"), nullptr);
    TTemplateChanger changer(*console, console->ProgramData());
    EXPECT_EQ(Unnamed(&changer), QStringList());
    EXPECT_NE(changer.findChild<QWidget*>("ListViewThemplates"), nullptr);
    TInputBox input;
    input.SetTitle("New Option Item");
    EXPECT_EQ(Unnamed(&input), QStringList());
    TRatioBox ratio;
    ratio.SetTitle("Change Cart Type");
    ratio.SetItems({"General", "Audio", "Video"}, 3, 0);
    EXPECT_EQ(Unnamed(&ratio), QStringList());
    TSelectFolder folders;
    folders.SetTitle("Please select publish folder");
    EXPECT_EQ(Unnamed(&folders), QStringList());
}

TEST_F(ControlNames, FramesScrollRatherThanClipWithALargeFont) {
    NewProject();
    console->resize(1024, 700);
    console->show();
    QFont large = console->font();
    large.setPointSizeF(large.pointSizeF() * 1.8);
    console->setFont(large);
    auto* scroll = console->Frames()->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    for (QTreeWidgetItem* node : {ProductNode(0, 0), ProductNode(0, 1), CategoryNode(0)}) {
        console->TreeShop()->setCurrentItem(node);
        for (int i = 0; i < 5; ++i)
            Settle();
        TBaseFrame* frame = console->CurrentFrame();
        const std::string name = node->text(0).toStdString();
        EXPECT_GE(frame->height(), frame->minimumSizeHint().height()) << name;
        EXPECT_GE(frame->width(), frame->minimumSizeHint().width()) << name;
        // Captions get the room they ask for.
        for (const QWidget* control : frame->findChildren<QWidget*>()) {
            if ((qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control)) &&
                control->isVisible() && !InsideOf(control, "QTabBar")) {
                EXPECT_GE(control->width(), control->minimumSizeHint().width())
                    << name << ' ' << control->objectName().toStdString();
            }
        }
    }
    console->TreeShop()->setCurrentItem(ProductNode(0, 0));
    Settle();
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0)
        << "the product frame needs more room than 700 pixels";
    console->hide();
}

} // namespace

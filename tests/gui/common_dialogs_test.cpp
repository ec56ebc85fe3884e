// Trovecart tests - the common dialogs' rules, driven without showing them modally.
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "common/app_info.h"
#include "gui/dialogs/input_box.h"
#include "gui/dialogs/ratio_box.h"
#include "gui/dialogs/select_folder.h"
#include "gui_application.h"
#include "support/scripted_message_service.h"
#include "support/test_helpers.h"

namespace {

class CommonDialogs : public ::testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }
    TScriptedMessageService messages;
};

TEST_F(CommonDialogs, InputBoxDigitRules) {
    TInputBox box;
    EXPECT_EQ(box.windowTitle(), ProgramCaption());
    EXPECT_TRUE(box.AcceptsCharacter(QLatin1Char('7')));
    box.SetAllowDigits(false);
    EXPECT_FALSE(box.AcceptsCharacter(QLatin1Char('7')));
    EXPECT_TRUE(box.AcceptsCharacter(QLatin1Char('a')));

    box.SetDigitsOnly(true);
    EXPECT_TRUE(box.AllowDigits());
    EXPECT_FALSE(box.AcceptsCharacter(QLatin1Char('a')));
    EXPECT_TRUE(box.AcceptsCharacter(QLatin1Char('7')));
    EXPECT_TRUE(box.AcceptsCharacter(QChar(8)));
    EXPECT_TRUE(box.AcceptsCharacter(QChar(9)));
    box.SetAllowDigits(false);
    EXPECT_TRUE(box.AllowDigits()) << "cannot be cleared while digits-only";

    // Typed keys go through the same rule.
    QLineEdit* edit = box.findChild<QLineEdit*>();
    box.SetText(QString());
    for (const char* key : {"1", "x", "2"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(key));
        QApplication::sendEvent(edit, &press);
    }
    EXPECT_EQ(edit->text(), "12");
}

TEST_F(CommonDialogs, InputBoxValidatorKeepsTheBoxOpen) {
    TInputBox box;
    box.SetTitle(QStringLiteral("New Folder"));
    box.SetText(QStringLiteral("a:b"));
    box.SetValidator([](TInputBox&, const QString& text) {
        return text.contains(QLatin1Char(':')) ? QStringLiteral("no colons") : QString();
    });
    box.ConfirmInput();
    EXPECT_EQ(box.result(), 0) << "still open";
    const auto calls = messages.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, "no colons");
    EXPECT_EQ(calls[0].heading, "New Folder");
    EXPECT_EQ(calls[0].title, "Errors In Input.");
    EXPECT_EQ(calls[0].kind, mkError);

    box.findChild<QLineEdit*>()->setText(QStringLiteral("ab"));
    box.ConfirmInput();
    EXPECT_EQ(box.result(), 1);
    EXPECT_EQ(box.Text(), "ab");
}

TEST_F(CommonDialogs, EnterInTheEditLineRunsTheValidatorOnce) {
    const auto pressEnter = [](TInputBox& box) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(box.findChild<QLineEdit*>(), &press);
    };
    TInputBox box;
    box.SetTitle(QStringLiteral("New Folder"));
    box.SetText(QStringLiteral("a:b"));
    box.SetValidator([](TInputBox&, const QString& text) {
        return text.contains(QLatin1Char(':')) ? QStringLiteral("no colons") : QString();
    });
    box.show();
    pressEnter(box);
    EXPECT_TRUE(box.isVisible()) << "a refused input keeps the box open";
    EXPECT_EQ(box.result(), 0);
    EXPECT_EQ(messages.Calls().size(), 1u) << "one Enter, one message";

    box.findChild<QLineEdit*>()->setText(QStringLiteral("ab"));
    pressEnter(box);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), 1);
    EXPECT_EQ(box.Text(), "ab");
}

TEST_F(CommonDialogs, RatioBoxReportsTheChoice) {
    TRatioBox box;
    box.SetItems({"One", "Two", "Three"}, 2, 1);
    EXPECT_EQ(box.ItemIndex(), 1);
    box.SetItems({"A"}, 1, -1);
    EXPECT_EQ(box.ItemIndex(), -1);
}

TEST_F(CommonDialogs, SelectFolderCreatesAndReportsFolders) {
    TTempFolder folder;
    TSelectFolder picker;
    picker.SelectPath(folder.Path());
    EXPECT_EQ(picker.SelectedFolder(), folder.Path());
    EXPECT_TRUE(picker.CreateFolder(QStringLiteral("made")));
    EXPECT_TRUE(QDir(folder.File("made")).exists());
    EXPECT_EQ(picker.SelectedFolder(), folder.File("made/"));

    picker.SelectPath(folder.Path());
    EXPECT_FALSE(picker.CreateFolder(QStringLiteral("made"))) << "cannot create twice";
    const auto calls = messages.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].text.startsWith("Error creating folder.\r\nError : "));
    EXPECT_EQ(calls[0].title, "Error Creating Folder.");
    EXPECT_EQ(calls[0].heading, ProgramCaption());
}

} // namespace

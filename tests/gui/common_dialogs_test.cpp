// Trovecart tests - the common dialogs' rules, driven without showing them modally.
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>

#include <gtest/gtest.h>

#include "common/app_folders.h"
#include "common/app_info.h"
#include "common/file_utils.h"
#include "gui/dialogs/input_box.h"
#include "gui/dialogs/ratio_box.h"
#include "gui/dialogs/select_folder.h"
#include "gui/qt_dialog_service.h"
#include "gui/qt_message_service.h"
#include "gui_application.h"
#include "support/event_loop.h"
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

// Never the program's own data folder: the caller's choice while its folder exists, else the
// folder last used, else the documents folder, else home.
TEST_F(CommonDialogs, FileDialogsStartWhereTheUserKeepsFiles) {
    TTempFolder home;
    const TEnvironmentGuard homeGuard("HOME", WithoutTrailingSlash(home.Path()));
    const TEnvironmentGuard config("XDG_CONFIG_HOME", home.File(".config"));
    const QString last = home.File("last/");
    QDir().mkpath(last);
    EXPECT_EQ(FileDialogStart(home.File("shop.scp"), last), home.File("shop.scp"));
    EXPECT_EQ(FileDialogStart(home.File("gone/shop.scp"), last), last);
    EXPECT_EQ(FileDialogStart(QString(), home.File("gone/")), WithoutTrailingSlash(home.Path()));
    QDir().mkpath(home.File("Documents"));
    EXPECT_EQ(FileDialogStart(QString(), QString()), home.File("Documents"));
}

TEST_F(CommonDialogs, MessageBoxesKeepTheirWordsAndReadInLines) {
    const auto box = MakeMessageBox(nullptr,
                                    "Payment settings you entered appear to be invalid.\r\n"
                                    "Please correct them and try again.",
                                    mkError, "Error In Input", "Corvalen Trovecart 2.20", QMessageBox::Ok);
    box->show();
    EXPECT_GE(box->width(), 420) << "not a column of three words a line";
    EXPECT_EQ(box->windowTitle(), "Corvalen Trovecart 2.20");
    EXPECT_EQ(box->text(), "<b>Error In Input</b>");
    EXPECT_EQ(box->informativeText(),
              "Payment settings you entered appear to be invalid.\nPlease correct them and try again.");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    box->hide();
}

TEST_F(CommonDialogs, AnAddressTheDesktopCannotOpenIsShownToTheUser) {
    TQtDialogService service;
    SetShellOpener(QStringLiteral("false"));
    service.OpenWithShell(QStringLiteral("https://www.example.test/help"));
    SetShellOpener(QStringLiteral("xdg-open"));
    ASSERT_TRUE(WaitFor([this] { return !messages.Calls().empty(); }, 10000));
    EXPECT_TRUE(messages.Calls()[0].text.contains("https://www.example.test/help"));
    EXPECT_EQ(messages.Calls()[0].kind, mkError);
}

} // namespace

// Trovecart tests - opening, creating, saving and closing projects from the main window.
#include <QAction>
#include <QMenu>

#include "editor_fixture.h"
#include "gui/frames/shop_frame.h"

namespace {

using ProjectLifecycle = EditorFixture;

TEST_F(ProjectLifecycle, NewProjectShowsTreeAndSettings) {
    EXPECT_FALSE(console->TreePanelVisible());
    EXPECT_FALSE(console->Action("Save")->isEnabled());
    NewProject();
    EXPECT_TRUE(console->TreePanelVisible());
    EXPECT_TRUE(console->Action("Save")->isEnabled());
    EXPECT_EQ(console->TreeShop()->Root()->text(0), "Corner Records");
    EXPECT_EQ(console->TreeShop()->Root()->childCount(), 3);
    EXPECT_EQ(console->TreeShop()->currentItem(), console->TreeShop()->Root());
    ASSERT_NE(dynamic_cast<TShopFrame*>(console->CurrentFrame()), nullptr);
    // Showing the settings frame writes the preview files and changes nothing.
    EXPECT_FALSE(console->Shop()->Modified());
    EXPECT_TRUE(QFile::exists(console->Shop()->SiteFolder() + "index.html"));
    EXPECT_TRUE(QFile::exists(console->Shop()->SiteFolder() + "shop.xml"));

    EXPECT_FALSE(console->NewProjectFromTemplate(TemplatePath("Missing"))) << "answered No, then fails";
    EXPECT_EQ(console->Shop(), nullptr) << "nothing of a failed project stays";
    EXPECT_EQ(console->TreeShop()->topLevelItemCount(), 0);
}

TEST_F(ProjectLifecycle, FirstSaveAsksForAFileAndCancelKeepsTheChanges) {
    NewProject();
    console->Category1Click();
    dialogs.QueueFile(std::nullopt);
    EXPECT_FALSE(console->SaveProjectFile(false));
    EXPECT_EQ(dialogs.saveDialogs, 1);
    EXPECT_TRUE(console->Shop()->Modified());

    const QString file = projects.File("first.scp");
    dialogs.QueueFile(file);
    EXPECT_TRUE(console->SaveProjectFile(false));
    EXPECT_FALSE(console->Shop()->Modified());
    EXPECT_EQ(console->Shop()->FileName(), file);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(RecentPaths(), QStringList({file}));

    // Once named, Save writes without asking.
    EXPECT_TRUE(console->SaveProjectFile(false));
    EXPECT_EQ(dialogs.saveDialogs, 2);
}

TEST_F(ProjectLifecycle, AskToSaveAnswers) {
    NewProject();
    console->Category1Click();
    TShop* shop = console->Shop();
    messages.QueueAnswer(mrCancel);
    EXPECT_FALSE(console->NewProjectFromTemplate(TemplatePath()));
    EXPECT_EQ(console->Shop(), shop);

    // No, then Cancel in the open dialog: the project stays open with its changes.
    messages.QueueAnswer(mrNo);
    dialogs.QueueFile(std::nullopt);
    EXPECT_FALSE(console->OpenProjectWithDialog());
    EXPECT_EQ(console->Shop(), shop);
    EXPECT_TRUE(shop->Modified());

    // Yes saves first; a cancelled save stops the whole operation.
    messages.QueueAnswer(mrYes);
    dialogs.QueueFile(std::nullopt);
    EXPECT_FALSE(console->CloseProject());
    EXPECT_EQ(console->Shop(), shop);

    const auto calls = messages.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].text, "Shopping cart has changed. Do you want to save the changed to disk?");
    EXPECT_EQ(calls[0].heading, "Save File?");
    EXPECT_TRUE(calls[0].withCancel);

    messages.QueueAnswer(mrNo);
    EXPECT_TRUE(console->CloseProject());
    EXPECT_EQ(console->Shop(), nullptr);
    Settle();
    EXPECT_FALSE(console->TreePanelVisible());
    EXPECT_TRUE(QFile::exists(programFolder.File("shopconfig.xml")));
}

TEST_F(ProjectLifecycle, RecentListOrder) {
    NewProject();
    const QString a = projects.File("a.scp");
    const QString b = projects.File("b.scp");
    dialogs.QueueFile(a);
    ASSERT_TRUE(console->SaveProjectFile(false));
    dialogs.QueueFile(b);
    ASSERT_TRUE(console->SaveProjectFile(true));
    EXPECT_EQ(RecentPaths(), QStringList({b, a}));

    dialogs.QueueFile(a);
    ASSERT_TRUE(console->OpenProjectWithDialog());
    EXPECT_EQ(RecentPaths(), QStringList({a, b})) << "Open moves the project to the top";
    Settle();
    messages.QueueAnswer(mrNo);
    ASSERT_TRUE(console->OpenProjectFile(b));
    EXPECT_EQ(RecentPaths(), QStringList({a, b})) << "a recent entry leaves the order";
    EXPECT_EQ(console->Shop()->Categories().Count(), 3);

    // Entries whose file is gone stay listed but are not offered.
    QFile::remove(a);
    console->UpdateRecentMenu();
    ASSERT_EQ(console->RecentMenu()->actions().size(), 1);
    EXPECT_EQ(console->RecentMenu()->actions().at(0)->text(), b);
    QFile::remove(b);
    console->UpdateRecentMenu();
    EXPECT_FALSE(console->RecentMenu()->isEnabled());
    EXPECT_EQ(RecentPaths().size(), 2);
}

TEST_F(ProjectLifecycle, FailedOpenLeavesNoProject) {
    WriteFile(projects.File("broken.scp"), "this is no archive");
    EXPECT_FALSE(console->OpenProjectFile(projects.File("broken.scp")));
    EXPECT_EQ(console->Shop(), nullptr);
    EXPECT_EQ(console->TreeShop()->topLevelItemCount(), 0);
    EXPECT_TRUE(RecentPaths().isEmpty());
}

TEST_F(ProjectLifecycle, PublishRefusesAnInvalidPaymentAddress) {
    NewProject();
    console->TreeShop()->setCurrentItem(ProductNode(0, 0));
    console->Shop()->ShopConfig().SetPaymentEmail(QString());
    console->BtnPublishedClick(false);
    EXPECT_EQ(console->TreeShop()->currentItem(), console->TreeShop()->Root());
    const auto calls = messages.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text,
              "Payment settings you entered appear to be invalid.\r\nPlease correct them and try again.");
    EXPECT_EQ(calls[0].heading, "Error In Input");
    EXPECT_EQ(calls[0].kind, mkError);
}

TEST_F(ProjectLifecycle, ChangeTemplateAndUpdateCart) {
    NewProject();
    ASSERT_TRUE(console->ChangeTemplate(TemplatePath("Other"), "Other"));
    EXPECT_EQ(console->Shop()->ID(), "Other");
    EXPECT_EQ(ReadFile(console->Shop()->WorkFolder() + "index.swf"), "FWS front end of Other");

    WriteFile(TemplatePath("Other") + "index.swf", "FWS newer front end");
    console->miUpdateCartClick();
    EXPECT_EQ(ReadFile(console->Shop()->WorkFolder() + "index.swf"), "FWS newer front end");

    console->Previewinbrowser1Click();
    EXPECT_EQ(dialogs.opened, QStringList({console->Shop()->SiteFolder() + "index.html"}));
}

} // namespace

// Trovecart tests - opening, creating, saving and closing projects from the main window.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>

#include "editor_fixture.h"
#include "gui/frames/base_frame.h"
#include "gui/frames/shop_frame.h"
#include "support/run_program.h"

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
    EXPECT_TRUE(QFile::exists(settingsFolder.File("shopconfig.xml")));
}

// Filling a frame from the model is no change: a saved project that is only looked through, every
// frame and every page of it, closes without a question.
TEST_F(ProjectLifecycle, LookingThroughEveryFrameAsksNothingOnClose) {
    NewProject();
    ShowFrame<TBaseFrame>(ProductNode(0, 0));
    TOptionItem& option = *Product(0, 0)->Options().Items(0);
    option.SetName("Size");
    option.SetEnabled(true);
    option.Items() = QStringList({"S", "M & L"});
    const QString file = projects.File("looked.scp");
    dialogs.QueueFile(file);
    ASSERT_TRUE(console->SaveProjectFile(false));
    ASSERT_TRUE(console->OpenProjectFile(file));
    Settle();

    const auto lookThrough = [this](QTreeWidgetItem* node, const auto& self) -> void {
        console->TreeShop()->setCurrentItem(node);
        Settle();
        ASSERT_NE(console->CurrentFrame(), nullptr);
        for (QTabWidget* pages : console->CurrentFrame()->findChildren<QTabWidget*>())
            for (int page = 0; page < pages->count(); ++page)
                pages->setCurrentIndex(page);
        EXPECT_FALSE(console->Shop()->Modified()) << node->text(0).toStdString();
        for (int child = 0; child < node->childCount(); ++child)
            self(node->child(child), self);
    };
    lookThrough(console->TreeShop()->Root(), lookThrough);
    console->BtnShopSetingsClick();
    EXPECT_TRUE(console->CloseProject());
    EXPECT_TRUE(messages.Calls().empty());
}

TEST_F(ProjectLifecycle, SavingGivesTheFocusBack) {
    NewProject();
    console->show();
    QApplication::setActiveWindow(console.get());
    console->TreeShop()->setFocus();
    Settle();
    ASSERT_EQ(QApplication::focusWidget(), console->TreeShop());
    dialogs.QueueFile(projects.File("focus.scp"));
    ASSERT_TRUE(console->SaveProjectFile(false));
    EXPECT_EQ(QApplication::focusWidget(), console->TreeShop()) << "F2 and Delete still reach the tree";
    console->hide();
}

// Open and save start beside the open project, else beside the newest recent one; "Save as"
// offers the project's own name.
TEST_F(ProjectLifecycle, FileDialogsStartBesideTheProject) {
    dialogs.QueueFile(std::nullopt);
    EXPECT_FALSE(console->OpenProjectWithDialog());
    NewProject();
    const QString file = projects.File("first.scp");
    dialogs.QueueFile(file);
    ASSERT_TRUE(console->SaveProjectFile(false));
    dialogs.QueueFile(std::nullopt);
    EXPECT_FALSE(console->SaveProjectFile(true));
    dialogs.QueueFile(std::nullopt);
    EXPECT_FALSE(console->OpenProjectWithDialog());
    ASSERT_TRUE(console->CloseProject());
    dialogs.QueueFile(std::nullopt);
    EXPECT_FALSE(console->OpenProjectWithDialog());
    EXPECT_EQ(dialogs.fileDialogStarts, QStringList({"", "", file, projects.Path(), projects.Path()}));

    // A recent project whose folder is gone names no start.
    QDir(projects.Path()).removeRecursively();
    dialogs.QueueFile(std::nullopt);
    EXPECT_FALSE(console->OpenProjectWithDialog());
    EXPECT_EQ(dialogs.fileDialogStarts.back(), "");
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

TEST_F(ProjectLifecycle, ABrowserPreviewFirstMakesTheMissingVideoWebCopies) {
    NewProject();
    TShop& shop = *console->Shop();
    WriteFile(shop.Workspace().StorefrontScript(), "// storefront");
    const QString previews = shop.Workspace().MediaFolder(TWorkspace::TMedia::Preview);
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=1", "-c:v", "flv1",
                           previews + "old.flv"}));
    TCartItem& item = *shop.Categories().Add()->Items().Add();
    item.SetItemType(citVideo);
    item.SetPreview("old.flv");
    shop.SetModified(false);

    console->Previewinbrowser1Click();
    EXPECT_TRUE(QFileInfo(previews + "old.mp4").size() > 0) << "made in the conversion dialog";
    EXPECT_TRUE(messages.Calls().empty());
    EXPECT_EQ(dialogs.opened, QStringList({shop.SiteFolder() + "index.html"}));
    EXPECT_FALSE(shop.Modified());
}

TEST_F(ProjectLifecycle, AChangedTemplateIsAChangeToSave) {
    NewProject();
    dialogs.QueueFile(projects.File("template.scp"));
    ASSERT_TRUE(console->SaveProjectFile(false));
    ASSERT_TRUE(console->ChangeTemplate(TemplatePath("Other"), "Other"));
    messages.QueueAnswer(mrCancel);
    EXPECT_FALSE(console->CloseProject());
    EXPECT_EQ(messages.Calls().size(), 1U);
}

TEST_F(ProjectLifecycle, ToolbarPicturesShareOneSizeAndGreyWhenDisabled) {
    const QToolBar* bar = console->findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    int pictures = 0;
    for (const QAction* action : bar->actions()) {
        if (action->isSeparator())
            continue;
        ++pictures;
        const QImage normal = action->icon().pixmap(bar->iconSize(), QIcon::Normal).toImage();
        const QImage disabled = action->icon().pixmap(bar->iconSize(), QIcon::Disabled).toImage();
        EXPECT_EQ(normal.size(), bar->iconSize()) << action->text().toStdString();
        EXPECT_NE(normal, disabled) << action->text().toStdString();
        EXPECT_EQ(action->text().count('\n'), 1) << "captions stand on two lines";
    }
    EXPECT_EQ(pictures, 13);
}

} // namespace

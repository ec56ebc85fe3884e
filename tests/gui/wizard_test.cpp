// Trovecart tests - the project wizard's recent list and template page.
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include "editor_fixture.h"
#include "gui/frames/shop_frame.h"
#include "gui/wizard/shoping_cart_wizard.h"
#include "gui/wizard/template_changer.h"
#include "gui/wizard/template_selector.h"

namespace {

class WizardTest : public EditorFixture {
protected:
    void AddRecent(const QString& path) {
        TResentItems& recent = console->ProgramData().Recent();
        recent.Insert(recent.Count()).SetSrc(path);
    }
};

TEST_F(WizardTest, RecentListShowsExistingFilesAndDeletesFirstOccurrence) {
    TShopingCartWizard wizard(*console, console->ProgramData());
    wizard.Refresh();
    EXPECT_EQ(wizard.ListRecent->topLevelItemCount(), 0);
    EXPECT_FALSE(wizard.BtnOpenResent->isEnabled());
    EXPECT_FALSE(wizard.BtnDeleteRecent->isEnabled());
    wizard.OpenRecentClick();
    EXPECT_EQ(console->Shop(), nullptr) << "nothing selected: nothing opened";

    const QString kept = projects.File("kept.scp");
    WriteFile(kept, "x");
    AddRecent(kept);
    AddRecent(projects.File("gone.scp"));
    AddRecent(kept);
    wizard.Refresh();
    ASSERT_EQ(wizard.ListRecent->topLevelItemCount(), 2);

    wizard.ListRecent->setCurrentItem(wizard.ListRecent->topLevelItem(0));
    EXPECT_TRUE(wizard.BtnDeleteRecent->isEnabled());
    wizard.DeleteRecentClick();
    EXPECT_EQ(RecentPaths(), QStringList({projects.File("gone.scp"), kept}));
    wizard.Refresh();
    EXPECT_EQ(wizard.ListRecent->topLevelItemCount(), 1) << "the second occurrence shows again";
}

TEST_F(WizardTest, TemplatePageNeedsASelection) {
    TShopingCartWizard wizard(*console, console->ProgramData());
    wizard.Refresh();
    wizard.ShowTemplatePage();
    EXPECT_TRUE(wizard.OnTemplatePage());
    EXPECT_TRUE(wizard.btnExit->isHidden());
    EXPECT_FALSE(wizard.BtnFinish->isHidden());
    ASSERT_EQ(wizard.Selector->ListViewThemplates->count(), 2);

    wizard.BtnFinishClick();
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].text,
              "You have not selected a template to load. Please select a template. ");
    EXPECT_EQ(messages.Calls()[0].title, "Shoping Cart Wizard");
    EXPECT_EQ(messages.Calls()[0].heading, "No Template Selected");
    EXPECT_EQ(console->Shop(), nullptr);

    wizard.Selector->SelectTemplate("Classic");
    wizard.BtnFinishClick();
    EXPECT_EQ(wizard.result(), 1);
    ASSERT_NE(console->Shop(), nullptr);
    EXPECT_EQ(console->Shop()->ID(), "Classic");
}

TEST_F(WizardTest, ChangerSwitchesTheFrontEnd) {
    NewProject();
    TTemplateChanger changer(*console, console->ProgramData());
    changer.Selector->ThemeListChange();
    changer.OKBtnClick();
    EXPECT_EQ(messages.Calls().back().title, "Change Template");
    changer.Selector->SelectTemplate("Other");
    changer.OKBtnClick();
    EXPECT_EQ(changer.result(), 1);
    EXPECT_EQ(console->Shop()->ID(), "Other");
}

// The changer starts on the shop's own template, and the settings page shows what the change
// brought without selecting the root node again.
TEST_F(WizardTest, ChangerStartsOnTheShopsTemplateAndTheSettingsFollow) {
    WriteFile(TemplatePath("Other") + "shop.xml",
              "<shop id='Other'><config><dimension width='700' height='500'/>"
              "<userdimension width='640' height='480'/></config></shop>");
    NewProject();
    auto* settings = dynamic_cast<TShopFrame*>(console->CurrentFrame());
    ASSERT_NE(settings, nullptr);
    QStringList startedOn;
    console->ShowModalDialog = [&startedOn](QDialog& dialog) {
        auto& changer = dynamic_cast<TTemplateChanger&>(dialog);
        changer.show();
        startedOn << changer.Selector->SelectedTemplate();
        changer.Selector->SelectTemplate("Other");
        changer.OKBtnClick();
        changer.hide();
        return changer.result();
    };
    console->BtnChangetemplateClick();
    EXPECT_EQ(settings->SpinWidth->value(), 640);
    EXPECT_EQ(settings->SpinHeight->value(), 480);
    console->BtnChangetemplateClick();
    EXPECT_EQ(startedOn, QStringList({"Classic", "Other"}));
}

TEST_F(WizardTest, SelectorListsEveryTemplateOnceWithPlaceholders) {
    WriteFile(programFolder.File("Files/Template/theme.xml"),
              "<t><themelist><a id='1'>One</a><b id='2'>Two</b></themelist>"
              "<theme id='1'><c id='Classic'/><c id='Other'/></theme><theme id='2'><c id='classic'/><c "
              "id='Other'/></theme></t>");
    console->ProgramData().LoadThemes(programFolder.File("Files/Template/theme.xml"));
    TTemplateSelector selector(console->ProgramData());
    selector.ThemeListChange();
    ASSERT_EQ(selector.ListViewThemplates->count(), 2);
    EXPECT_EQ(selector.ListViewThemplates->item(0)->text(), "Classic");

    // Neither template has a picture: the preview shows the placeholder, never the front end.
    selector.SelectTemplate("Classic");
    EXPECT_TRUE(selector.PreviewPath().isEmpty());
    QImage thumb(20, 10, QImage::Format_RGB32);
    thumb.fill(Qt::blue);
    thumb.save(TemplatePath("Other") + "Thumb.png");
    selector.ThemeListChange();
    selector.SelectTemplate("Other");
    EXPECT_EQ(selector.PreviewPath(), TemplatePath("Other") + "index.swf");
}

} // namespace

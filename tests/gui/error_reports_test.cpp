// Trovecart tests - every failure of a project operation reaches the user exactly once.
#include <QAction>
#include <QDir>
#include <QProcess>

#include "common/app_info.h"
#include "common/file_utils.h"
#include "editor_fixture.h"

namespace {

class ErrorReports : public EditorFixture {
protected:
    // The messages shown since the last call; questions are not counted.
    std::vector<TScriptedMessageService::TCall> NewMessages() {
        std::vector<TScriptedMessageService::TCall> shown;
        const auto calls = messages.Calls();
        for (size_t i = seen_; i < calls.size(); ++i) {
            if (!calls[i].question)
                shown.push_back(calls[i]);
        }
        seen_ = calls.size();
        return shown;
    }

    // The one message shown since the last call, titled with the window's caption.
    TScriptedMessageService::TCall OnlyMessage() {
        const auto shown = NewMessages();
        EXPECT_EQ(shown.size(), 1u);
        if (shown.empty())
            return {};
        EXPECT_EQ(shown[0].title, ProgramCaption());
        EXPECT_EQ(shown[0].kind, mkError);
        return shown[0];
    }

    // A project file that holds only the given shop.xml.
    QString ProjectHolding(const QByteArray& shopXml) {
        TTempFolder content;
        WriteFile(content.File("shop.xml"), shopXml);
        const QString file = projects.File("damaged.scp");
        QProcess zip;
        zip.setWorkingDirectory(content.Path());
        zip.start("zip", {"-q", file, "shop.xml"});
        EXPECT_TRUE(zip.waitForFinished(30000) && zip.exitCode() == 0);
        return file;
    }

    // The work folder's shop.xml cannot be written any more.
    void BlockShopFile() {
        const QString shopFile = console->Shop()->WorkFolder() + "shop.xml";
        QFile::remove(shopFile);
        QDir().mkpath(shopFile + "/in-the-way");
    }

    size_t seen_ = 0;
};

TEST_F(ErrorReports, FailedOpensShowOneMessageAndLeaveNoProject) {
    WriteFile(projects.File("broken.scp"), "this is no archive");
    EXPECT_FALSE(console->OpenProjectFile(projects.File("broken.scp")));
    auto shown = OnlyMessage();
    EXPECT_EQ(shown.heading, "File Copy Error");
    EXPECT_TRUE(shown.text.startsWith("Copying file failed.\r\nError: ")) << shown.text.toStdString();
    EXPECT_EQ(console->Shop(), nullptr);

    // A damaged shop.xml used to fail without a word.
    dialogs.QueueFile(ProjectHolding("<shop id=\"x\"><config>"));
    EXPECT_FALSE(console->OpenProjectWithDialog());
    shown = OnlyMessage();
    EXPECT_EQ(shown.heading, ProgramCaption()) << "the general error message";
    EXPECT_TRUE(shown.text.contains("not a valid XML document")) << shown.text.toStdString();
    EXPECT_EQ(console->Shop(), nullptr);
    EXPECT_EQ(console->TreeShop()->topLevelItemCount(), 0);
    EXPECT_TRUE(RecentPaths().isEmpty());
    EXPECT_TRUE(console->isEnabled());
}

TEST_F(ErrorReports, NewFromAMissingTemplateShowsTheOpenErrorOnce) {
    EXPECT_FALSE(console->NewProjectFromTemplate(TemplatePath("Missing")));
    const auto shown = OnlyMessage();
    EXPECT_EQ(shown.heading, "File Open Error");
    EXPECT_EQ(shown.text, "Template not found.");
    EXPECT_EQ(console->Shop(), nullptr);
}

TEST_F(ErrorReports, FailedSavesShowOneMessageAndKeepTheProject) {
    NewProject();
    NewMessages();
    TShop* shop = console->Shop();
    // An unsaved change, made while the settings stay shown.
    shop->SetModified(true);

    // The archive cannot be made where the user asked for it.
    dialogs.QueueFile(projects.File("no/such/folder/shop.scp"));
    EXPECT_FALSE(console->SaveProjectFile(false));
    EXPECT_EQ(OnlyMessage().heading, "File Copy Error");
    EXPECT_TRUE(shop->FileName().isEmpty());

    // shop.xml cannot be written: that used to fail without a word.
    BlockShopFile();
    const QString file = projects.File("shop.scp");
    dialogs.QueueFile(file);
    EXPECT_FALSE(console->SaveProjectFile(false));
    EXPECT_TRUE(OnlyMessage().text.contains("shop.xml")) << "the general message names the file";
    EXPECT_EQ(console->Shop(), shop);
    EXPECT_TRUE(shop->Modified());
    EXPECT_TRUE(console->isEnabled());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(RecentPaths().isEmpty());

    // Started from the menu, the same failure is still reported once.
    dialogs.QueueFile(file);
    console->Action("SaveAs")->trigger();
    OnlyMessage();

    // Yes to the save question and a failing save: one message, and the project stays open.
    messages.QueueAnswer(mrYes);
    dialogs.QueueFile(file);
    EXPECT_FALSE(console->CloseProject());
    OnlyMessage();
    EXPECT_EQ(console->Shop(), shop);
}

TEST_F(ErrorReports, FailedTemplateChangesShowOneMessageAndChangeNothing) {
    NewProject();
    NewMessages();
    const QByteArray frontEnd = ReadFile(console->Shop()->WorkFolder() + "index.swf");
    QFile::remove(TemplatePath("Other") + "index.swf");
    EXPECT_FALSE(console->ChangeTemplate(TemplatePath("Other"), "Other"));
    const auto shown = OnlyMessage();
    EXPECT_EQ(shown.heading, "File Copy Error");
    EXPECT_TRUE(shown.text.startsWith("Copying file failed.\r\nFile Name: " + TemplatePath("Other") +
                                      "index.swf\r\nError: "));
    EXPECT_EQ(console->Shop()->ID(), "Classic");
    EXPECT_EQ(ReadFile(console->Shop()->WorkFolder() + "index.swf"), frontEnd);

    WriteFile(TemplatePath("Other") + "index.swf", "FWS other");
    WriteFile(TemplatePath("Other") + "shop.xml", "<shop id=");
    EXPECT_FALSE(console->ChangeTemplate(TemplatePath("Other"), "Other"));
    EXPECT_EQ(OnlyMessage().heading, ProgramCaption());
    EXPECT_EQ(console->Shop()->ID(), "Classic");

    // "Update Cart In Project" stays silent about a missing front end.
    QFile::remove(TemplatePath("Classic") + "index.swf");
    console->Action("UpdateCart")->trigger();
    EXPECT_TRUE(NewMessages().empty());
}

TEST_F(ErrorReports, PublishStartAndPreviewReportOnce) {
    NewProject();
    NewMessages();
    console->Shop()->ShopConfig().SetPaymentEmail("not an address");
    console->Action("Publish")->trigger();
    EXPECT_EQ(OnlyMessage().heading, "Error In Input");

    // The site cannot be written.
    DeleteFolderTree(console->Shop()->SiteFolder());
    console->Action("Preview")->trigger();
    OnlyMessage();
    EXPECT_TRUE(dialogs.opened.isEmpty());
}

} // namespace

// Trovecart tests - the remote folder browser and the FTP account dialog against loopback servers.
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "gui/dialogs/input_box.h"
#include "gui/publish/ftp_browser.h"
#include "gui/publish/ftp_list_view.h"
#include "gui/publish/ftp_setings.h"
#include "gui/publish/ftp_tree_view.h"
#include "gui_application.h"
#include "publish_test_support.h"
#include "shop/program_data.h"
#include "support/scripted_message_service.h"

namespace {

struct TServerKind {
    bool Mlsd;
    bool Passive;
};

std::string KindName(const ::testing::TestParamInfo<TServerKind>& info) {
    return std::string(info.param.Mlsd ? "Mlsd" : "ListOnly") + (info.param.Passive ? "Passive" : "Active");
}

QStringList ChildNames(const QTreeWidgetItem* node) {
    QStringList names;
    for (int i = 0; i < node->childCount(); ++i)
        names.append(node->child(i)->text(0));
    names.sort();
    return names;
}

int RowOf(const TFtpListView* list, const QString& name) {
    for (int row = 0; row < list->RowCount(); ++row) {
        if (list->CellText(row, 0) == name)
            return row;
    }
    return -1;
}

class RemoteBrowserTest : public ::testing::TestWithParam<TServerKind> {
protected:
    RemoteBrowserTest() : server(TFtpTestServer::TFaults{.NoMlsd = !GetParam().Mlsd}) { EnsureApplication(); }

    void SetUp() override {
        QDir(server.Root()).mkpath(QStringLiteral("a/b/c"));
        QDir(server.Root()).mkpath(QStringLiteral("empty"));
        WriteFile(server.Root() + QStringLiteral("top.txt"), QByteArray(1536, 'x'));
        WriteFile(server.Root() + QStringLiteral("a/small.bin"), QByteArray(1023, 'y'));
        WriteFile(server.Root() + QStringLiteral("a/photo.JPG"), "j");
        WriteFile(server.Root() + QStringLiteral("a/other.jpg"), "j");
        WriteFile(server.Root() + QStringLiteral("a/README"), "r");
    }

    TFtpAccount Account(const QString& password = TFtpTestServer::Password()) const {
        return {QStringLiteral("127.0.0.1"), server.Port(), TFtpTestServer::User(), password,
                GetParam().Passive};
    }

    // A browser as its callers set it up, connected the way its start timer does it.
    void Open(TFTPBrowser& browser, const QString& startPath = QString()) {
        browser.TreeView()->BeginSetup();
        browser.TreeView()->SetAccount(Account());
        browser.SetStartPath(startPath);
        browser.StartTimerTimer();
    }

    TScriptedMessageService messages;
    TFtpTestServer server;
};

TEST_P(RemoteBrowserTest, ShowsFoldersInTheTreeAndEverythingInTheList) {
    TFTPBrowser browser;
    TFTpTreeView* tree = browser.TreeView();
    tree->BeginSetup();
    tree->SetAccount(Account());
    EXPECT_EQ(server.CountInLog(QStringLiteral("logged in")), 0) << "no connection while in setup";
    browser.SetStartPath(QStringLiteral("/a/"));
    browser.StartTimerTimer();
    EXPECT_EQ(server.CountInLog(QStringLiteral("logged in")), 1);
    ASSERT_TRUE(messages.Calls().empty()) << messages.Calls().front().text.toStdString();

    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("ftp://127.0.0.1/"));
    EXPECT_EQ(ChildNames(root), (QStringList{"a", "empty"})) << "files and . / .. stay out of the tree";
    EXPECT_EQ(tree->SelectedPath(), QStringLiteral("/a/"));
    EXPECT_EQ(browser.EditPath()->text(), QStringLiteral("/a/"));
    EXPECT_EQ(ChildNames(tree->currentItem()), QStringList{"b"});

    const TFtpListView* list = browser.ListView();
    EXPECT_EQ(list->CurrentPath(), QStringLiteral("/a/"));
    EXPECT_EQ(list->RowCount(), 5);
    const int folder = RowOf(list, QStringLiteral("b"));
    const int small = RowOf(list, QStringLiteral("small.bin"));
    const int upper = RowOf(list, QStringLiteral("photo.JPG"));
    const int lower = RowOf(list, QStringLiteral("other.jpg"));
    const int bare = RowOf(list, QStringLiteral("README"));
    ASSERT_TRUE(folder >= 0 && small >= 0 && upper >= 0 && lower >= 0 && bare >= 0);
    EXPECT_EQ(list->CellText(folder, 1), QString());
    EXPECT_EQ(list->CellText(folder, 2), QStringLiteral("File Folder"));
    EXPECT_EQ(list->CellText(small, 1), QStringLiteral("1023 bytes"));
    EXPECT_EQ(list->ImageIndex(upper), list->ImageIndex(lower)) << "extensions compare without case";
    EXPECT_EQ(list->CellText(bare, 2), QStringLiteral(" File"));
    EXPECT_FALSE(list->CellText(small, 3).isEmpty());

    // The root's own listing: a file of 1536 bytes.
    tree->SelectPath(QStringLiteral("/"));
    EXPECT_EQ(list->CellText(RowOf(list, QStringLiteral("top.txt")), 1), QLocale().toString(1.5) + " Kb");
}

TEST_P(RemoteBrowserTest, SelectsTypedPathsAndRefusesUnknownOnes) {
    TFTPBrowser browser;
    Open(browser);
    TFTpTreeView* tree = browser.TreeView();
    EXPECT_EQ(tree->SelectedPath(), QStringLiteral("/"));

    browser.EditPath()->setText(QStringLiteral("/a/b/"));
    emit browser.EditPath()->returnPressed();
    EXPECT_EQ(tree->SelectedPath(), QStringLiteral("/a/b/"));
    EXPECT_TRUE(tree->currentItem()->parent()->isExpanded());
    EXPECT_EQ(browser.StartPath(), QStringLiteral("/a/b/"));
    ASSERT_TRUE(messages.Calls().empty());

    size_t reported = 0;
    for (const QString& unknown :
         {QStringLiteral("/a/b"), QStringLiteral("/a/missing/"), QStringLiteral("a/")}) {
        tree->SelectPath(unknown);
        ASSERT_EQ(messages.Calls().size(), ++reported) << unknown.toStdString();
        EXPECT_EQ(messages.Calls().back().heading, QStringLiteral("Path Not Found."));
        EXPECT_EQ(messages.Calls().back().text,
                  QStringLiteral("Backup path not found.\r\nPath : ") + unknown);
        EXPECT_EQ(tree->SelectedPath(), QStringLiteral("/a/b/")) << "the selection stays";
    }

    // Double-clicking a folder in the list opens it; F5 lists it again and finds what is new.
    browser.ListView()->setCurrentIndex(browser.ListView()->model()->index(0, 0));
    browser.ListView()->OnDblClick();
    EXPECT_EQ(tree->SelectedPath(), QStringLiteral("/a/b/c/"));
    WriteFile(server.Root() + QStringLiteral("a/b/c/new.txt"), "n");
    browser.ListView()->OnRefresh();
    EXPECT_EQ(browser.ListView()->RowCount(), 1);
}

TEST_P(RemoteBrowserTest, CreatesFoldersThroughTheInputBox) {
    TFTPBrowser browser;
    Open(browser, QStringLiteral("/a/"));
    QString typed;
    browser.ShowModalDialog = [&typed](QDialog& dialog) {
        auto& box = dynamic_cast<TInputBox&>(dialog);
        EXPECT_EQ(box.Title(), QStringLiteral("New Filder"));
        box.findChild<QLineEdit*>()->setText(typed);
        box.ConfirmInput();
        return box.result() == 1 ? 1 : 2;
    };

    typed = QStringLiteral("bad/name");
    browser.BtnNewFolderClick();
    EXPECT_EQ(messages.Calls().size(), 1u) << "the validator refuses it";
    EXPECT_FALSE(QFileInfo::exists(server.Root() + QStringLiteral("a/bad")));

    typed = QStringLiteral("fresh");
    browser.BtnNewFolderClick();
    EXPECT_TRUE(QFileInfo(server.Root() + QStringLiteral("a/fresh")).isDir());
    EXPECT_EQ(browser.TreeView()->SelectedPath(), QStringLiteral("/a/fresh/"));
    EXPECT_EQ(ChildNames(browser.TreeView()->currentItem()->parent()), (QStringList{"b", "fresh"}));
}

INSTANTIATE_TEST_SUITE_P(Servers, RemoteBrowserTest,
                         ::testing::Values(TServerKind{true, true}, TServerKind{true, false},
                                           TServerKind{false, true}, TServerKind{false, false}),
                         KindName);

class RemoteFailuresTest : public ::testing::Test {
protected:
    RemoteFailuresTest() { EnsureApplication(); }
    TScriptedMessageService messages;
};

TEST_F(RemoteFailuresTest, ServerRefusalsAreReportedAndTheTreeStaysUsable) {
    TFtpTestServer server(TFtpTestServer::TFaults{.RefuseMkd = true});
    QDir(server.Root()).mkpath(QStringLiteral("a"));
    TFTPBrowser browser;
    browser.TreeView()->BeginSetup();
    browser.TreeView()->SetAccount(
        {QStringLiteral("127.0.0.1"), server.Port(), TFtpTestServer::User(), QStringLiteral("wrong"), true});
    browser.StartTimerTimer();
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].heading, QStringLiteral("Error Loading Ftp Data"));
    EXPECT_TRUE(
        messages.Calls()[0].text.startsWith(QStringLiteral("Error loading ftp data.\n\rError Info : ")));
    EXPECT_FALSE(messages.Calls()[0].text.contains(QStringLiteral("wrong"))) << "the password stays private";
    ASSERT_NE(browser.TreeView()->topLevelItem(0), nullptr);

    // With the right password the same tree loads on the next selection.
    browser.TreeView()->SetPassword(TFtpTestServer::Password());
    EXPECT_EQ(ChildNames(browser.TreeView()->topLevelItem(0)), QStringList{"a"});

    browser.ShowModalDialog = [](QDialog& dialog) {
        dynamic_cast<TInputBox&>(dialog).ConfirmInput();
        return 1;
    };
    browser.BtnNewFolderClick();
    ASSERT_EQ(messages.Calls().size(), 2u);
    EXPECT_EQ(messages.Calls()[1].text, QStringLiteral("Error creating folder."));
    EXPECT_EQ(messages.Calls()[1].title, QStringLiteral("Error Creating Folder."));
    EXPECT_EQ(ChildNames(browser.TreeView()->topLevelItem(0)), QStringList{"a"});
}

TEST_F(RemoteFailuresTest, AccountDialogTestsTheTypedValuesAndStoresOnlyOnOk) {
    TFtpTestServer server;
    QDir(server.Root()).mkpath(QStringLiteral("www"));
    TProgramData settings(QDir::tempPath() + "/", QDir::tempPath() + "/", QDir::tempPath() + "/");
    settings.SetFTPHost(QStringLiteral("127.0.0.1"));
    settings.SetFTPPort(server.Port());
    settings.SetFTPlogin(TFtpTestServer::User());
    settings.SetFTPPassword(QStringLiteral("old"));
    TFTPSetings dialog(settings);
    EXPECT_TRUE(dialog.RadioButtonActive->isChecked());
    dialog.SetTestOnOK(true);

    // A wrong password and a missing directory fail; nothing is stored, the dialog stays open.
    dialog.OKBtnClick();
    dialog.EditPassword->setText(TFtpTestServer::Password());
    dialog.EditHostDir->setText(QStringLiteral("/missing/"));
    dialog.OKBtnClick();
    ASSERT_EQ(messages.Calls().size(), 2u);
    for (const auto& call : messages.Calls()) {
        EXPECT_EQ(call.heading, QStringLiteral("Test Connection"));
        EXPECT_EQ(call.kind, mkError);
        EXPECT_TRUE(call.text.startsWith(QStringLiteral("Connected to your server failed.\r\n")));
        EXPECT_FALSE(call.text.contains(TFtpTestServer::Password()));
    }
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(settings.FTPPassword(), QStringLiteral("old"));

    dialog.EditHostDir->setText(QStringLiteral("/www/"));
    dialog.RadioButtonPassive->setChecked(true);
    dialog.OKBtnClick();
    EXPECT_EQ(messages.Calls().back().text, QStringLiteral("Connected to your server successfully!"));
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(settings.FTPPassword(), TFtpTestServer::Password());
    EXPECT_EQ(settings.FTPDir(), QStringLiteral("/www/"));
    EXPECT_TRUE(settings.FTPPassive());

    // "Browse FTP" uses the typed account and takes the chosen folder.
    dialog.EditHostDir->setText(QStringLiteral("/"));
    dialog.ShowModalDialog = [](QDialog& dialog) {
        auto& browser = dynamic_cast<TFTPBrowser&>(dialog);
        browser.StartTimerTimer();
        browser.TreeView()->SelectPath(QStringLiteral("/www/"));
        return 1;
    };
    dialog.BtnFtpBrowseClick();
    EXPECT_EQ(dialog.EditHostDir->text(), QStringLiteral("/www/"));
}

} // namespace

// Trovecart tests - the publish dialog and the publish commands of the main window.
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>

#include "editor_fixture.h"
#include "gui/publish/ftp_browser.h"
#include "gui/publish/ftp_setings.h"
#include "gui/publish/ftp_tree_view.h"
#include "gui/publish/publish_wizard.h"
#include "publish_test_support.h"
#include "support/event_loop.h"
#include "support/secure_test_server.h"

namespace {

class PublishWizardTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        NewProject();
    }

    std::unique_ptr<TPublishWizard> Wizard(const QString& folder, bool toFtp = false) {
        auto wizard = std::make_unique<TPublishWizard>(*console->Shop(), console->ProgramData());
        wizard->PublishFolder = folder;
        wizard->PublishToFTP = toFtp;
        if (server)
            wizard->Account = {QStringLiteral("127.0.0.1"), server->Port(), TFtpTestServer::User(),
                               TFtpTestServer::Password(), true};
        wizard->show();
        return wizard;
    }

    // Publishes and waits until the completion handler has run; returns the dialog's result.
    static int Publish(TPublishWizard& wizard) {
        wizard.BtnPublishClick();
        EXPECT_TRUE(WaitFor([&] { return wizard.Finished(); }));
        wizard.btnCancelClick();
        return wizard.result();
    }

    static QStringList Rows(const TPublishWizard& wizard) {
        QStringList rows;
        for (int i = 0; i < wizard.ListView->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = wizard.ListView->topLevelItem(i);
            rows.append(row->text(0) + " | " + row->text(1));
        }
        return rows;
    }

    QString LastMessage() const {
        return messages.Calls().empty() ? QString() : messages.Calls().back().text;
    }

    TTempFolder target;
    std::unique_ptr<TFtpTestServer> server;
};

TEST_F(PublishWizardTest, EmbedCodeFollowsTheFullPathBox) {
    auto wizard = Wizard(target.Path());
    const QString plain = wizard->EmbedCode();
    EXPECT_EQ(wizard->EditFullPath->text(), QStringLiteral("http://www.example.com/shop/"));
    EXPECT_FALSE(wizard->EditFullPath->isEnabled());

    wizard->CheckBoxFullPath->setChecked(true);
    EXPECT_TRUE(wizard->EditFullPath->isEnabled());
    EXPECT_TRUE(wizard->EmbedCode().contains("\"http://www.example.com/shop/shoppingcart/index.swf"));
    EXPECT_FALSE(wizard->EmbedCode().contains("shop//"));
    wizard->EditFullPath->setText(QStringLiteral("http://shop.test/x"));
    EXPECT_TRUE(wizard->MemoEmbedCode->toPlainText().contains("\"http://shop.test/x/shoppingcart/"));
    wizard->EditFullPath->clear();
    EXPECT_EQ(wizard->EmbedCode(), plain) << "an empty address gives the plain code";

    wizard->BtnCopyClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), wizard->MemoEmbedCode->toPlainText());
}

TEST_F(PublishWizardTest, TheNextDialogOffersTheChoicesLastLeft) {
    {
        auto first = Wizard(target.Path());
        EXPECT_FALSE(first->CheckBoxChangedOnly->isChecked());
        first->CheckBoxChangedOnly->setChecked(true);
        first->CheckBoxRemoveOld->setChecked(true);
        first->CheckBoxFullPath->setChecked(true);
        first->EditFullPath->setText(QStringLiteral("https://shop.test/"));
        first->btnCancelClick();
    }
    auto next = Wizard(target.Path());
    EXPECT_TRUE(next->CheckBoxChangedOnly->isChecked());
    EXPECT_TRUE(next->CheckBoxRemoveOld->isChecked());
    EXPECT_TRUE(next->CheckBoxFullPath->isChecked());
    EXPECT_TRUE(next->EditFullPath->isEnabled());
    EXPECT_TRUE(next->MemoEmbedCode->toPlainText().contains("\"https://shop.test/shoppingcart/"));
    next->CheckBoxRemoveOld->setChecked(false);
    next->EditFullPath->clear();
    EXPECT_FALSE(console->ProgramData().PublishRemoveOld());
    EXPECT_TRUE(console->ProgramData().PublishChangedOnly());
    EXPECT_EQ(console->ProgramData().EmbedAddress(console->Shop()->FileName()).Address, QString());
}

TEST_F(PublishWizardTest, EachShopOffersTheEmbedAddressItWasLastGiven) {
    const QString books = target.File(QStringLiteral("books.scp"));
    const QString music = target.File(QStringLiteral("music.scp"));
    const auto giveAddress = [&](const QString& projectFile, const QString& address) {
        console->Shop()->SetFileName(projectFile);
        auto wizard = Wizard(target.Path());
        wizard->CheckBoxFullPath->setChecked(true);
        wizard->EditFullPath->setText(address);
        wizard->btnCancelClick();
    };
    giveAddress(books, QStringLiteral("https://books.test/"));
    giveAddress(music, QStringLiteral("https://music.test/"));

    console->Shop()->SetFileName(books);
    EXPECT_TRUE(
        Wizard(target.Path())->MemoEmbedCode->toPlainText().contains("\"https://books.test/shoppingcart/"));
    console->Shop()->SetFileName(target.File(QStringLiteral("new.scp")));
    EXPECT_EQ(Wizard(target.Path())->EditFullPath->text(), QStringLiteral("https://music.test/"))
        << "a shop without its own address starts from the last one";
}

TEST_F(PublishWizardTest, CancelOnTheMainPagePublishesNothing) {
    auto wizard = Wizard(target.Path() + "site/");
    EXPECT_EQ(wizard->lblPublishMode->text(), QStringLiteral("Local Folder"));
    EXPECT_TRUE(wizard->Marquee());
    wizard->btnCancelClick();
    EXPECT_EQ(wizard->result(), 2);
    EXPECT_FALSE(QFileInfo::exists(target.Path() + "site"));
}

TEST_F(PublishWizardTest, FirstReportEndsTheMarqueeEvenWhenBusy) {
    auto wizard = Wizard(target.Path());
    wizard->OnPublishStatus(QStringLiteral("Searching..."), 0, true, false, QString());
    EXPECT_FALSE(wizard->Marquee());
    EXPECT_EQ(wizard->ProgressBarTotal->maximum(), 100);
    EXPECT_TRUE(
        WaitFor([&] { return wizard->LblCurrentAction->text() == QStringLiteral("Searching..."); }, 2000));
    EXPECT_EQ(wizard->ListView->topLevelItemCount(), 0);
}

TEST_F(PublishWizardTest, FolderPublishCopiesTheSiteAndOffersItsCode) {
    auto wizard = Wizard(target.Path());
    EXPECT_EQ(Publish(*wizard), 1);
    EXPECT_EQ(LastMessage(), QStringLiteral("Publish operation completed successfully"));
    EXPECT_EQ(messages.Calls().back().kind, mkInformation);
    EXPECT_TRUE(QFileInfo::exists(target.Path() + "index.html"));
    EXPECT_TRUE(QFileInfo::exists(target.Path() + "shoppingcart/shop.xml"));
    EXPECT_FALSE(QFileInfo::exists(target.Path() + "shop.xml")) << "the run's copy stays in the workspace";
    for (const QString& row : Rows(*wizard))
        EXPECT_TRUE(row.endsWith(" | Copied")) << row.toStdString();
    EXPECT_EQ(wizard->LblCurrentAction->text(), QStringLiteral("Idel"));
    EXPECT_EQ(wizard->lblSpeed->text(), QStringLiteral("0.00Bps"));
    EXPECT_FALSE(wizard->BtnPublish->isEnabled());

    wizard->btnShowPublishClick();
    EXPECT_EQ(dialogs.opened, QStringList{target.Path()});
    wizard->btnShowEmbedCodeClick();
    EXPECT_EQ(wizard->Pages->currentWidget(), wizard->CodeView);
}

TEST_F(PublishWizardTest, SendOnlyChangedFilesListsTheOthersAsUnchanged) {
    Publish(*Wizard(target.Path()));
    WriteFile(target.Path() + "shoppingcart/old.jpg", "from an earlier site");
    messages.QueueAnswer(mrYes);
    auto wizard = Wizard(target.Path());
    EXPECT_EQ(wizard->CheckBoxChangedOnly->accessibleName(), QStringLiteral("Send only changed files"));
    EXPECT_EQ(wizard->CheckBoxRemoveOld->accessibleName(),
              QStringLiteral("Remove files no longer in the shop"));
    EXPECT_FALSE(wizard->CheckBoxRemoveOld->isChecked());
    wizard->CheckBoxChangedOnly->setChecked(true);
    wizard->CheckBoxRemoveOld->setChecked(true);
    EXPECT_EQ(Publish(*wizard), 1);
    EXPECT_TRUE(Rows(*wizard).contains(target.Path() + "shoppingcart/index.swf | Unchanged"))
        << Rows(*wizard).join('\n').toStdString();
    EXPECT_TRUE(QFileInfo::exists(target.Path() + "shoppingcart/old.jpg")) << "not in the publish record";
}

TEST_F(PublishWizardTest, OverwriteAnsweredNoEndsTheRunAsFailed) {
    WriteFile(target.Path() + "keep.txt", "mine");
    messages.QueueAnswer(mrNo);
    auto wizard = Wizard(target.Path());
    EXPECT_EQ(Publish(*wizard), 2);
    EXPECT_EQ(Rows(*wizard), QStringList{"Publish Action | Error : Cancled by user."});
    EXPECT_EQ(LastMessage(), QStringLiteral("Publish operation did not completed successfully."));
    EXPECT_FALSE(QFileInfo::exists(target.Path() + "index.html"));
}

TEST_F(PublishWizardTest, CancelStopsTheRunAndTheWindowStaysOpenUntilItEnds) {
    auto wizard = Wizard(target.Path());
    wizard->BtnPublishClick();
    wizard->btnCancelClick();
    EXPECT_EQ(wizard->LblCurrentAction->text(), QStringLiteral("Canceling..."));
    EXPECT_FALSE(wizard->btnCancel->isEnabled());
    EXPECT_FALSE(wizard->close()) << "closing is refused while the run lasts";
    ASSERT_TRUE(WaitFor([&] { return wizard->Finished(); }));
    EXPECT_TRUE(LastMessage() == QStringLiteral("Publish operation canceled.") ||
                LastMessage() == QStringLiteral("Publish operation did not completed successfully."));
    EXPECT_TRUE(wizard->btnCancel->isEnabled());
    wizard->btnCancelClick();
    EXPECT_EQ(wizard->result(), 2);
}

TEST_F(PublishWizardTest, SitePreparationFailureIsShownAndTheDialogCloses) {
    ASSERT_TRUE(QDir(console->Shop()->SiteFolder()).removeRecursively());
    auto wizard = Wizard(target.Path());
    wizard->BtnPublishClick();
    EXPECT_TRUE(wizard->Finished());
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].heading, QStringLiteral("Publish Project"));
    EXPECT_FALSE(messages.Calls()[0].text.isEmpty());
    EXPECT_EQ(wizard->btnCancel->text(), QStringLiteral("Close"));
    wizard->btnCancelClick();
    EXPECT_EQ(wizard->result(), 2);
}

TEST_F(PublishWizardTest, FtpPublishListsAFailedFileAndShowsThePublishedFolder) {
    server = std::make_unique<TFtpTestServer>();
    // A folder where the page should go makes that one upload fail.
    QDir(server->Root()).mkpath(QStringLiteral("shop/index.html"));
    messages.QueueAnswer(mrYes);
    auto wizard = Wizard(QStringLiteral("/shop/"), true);
    EXPECT_EQ(wizard->lblPublishFolder->text(), QStringLiteral("ftp://127.0.0.1/shop/"));
    EXPECT_EQ(Publish(*wizard), 2);
    const QStringList rows = Rows(*wizard);
    EXPECT_EQ(rows.filter(" | Error : ").size(), 1) << rows.join('\n').toStdString();
    EXPECT_TRUE(rows.filter("index.html | Error : ").size() == 1);
    EXPECT_TRUE(QFileInfo::exists(server->Root() + "shop/shoppingcart/shop.xml"));
    EXPECT_EQ(wizard->ErrorCount(), 1);
    EXPECT_EQ(LastMessage(), QStringLiteral("Publish operation did not completed successfully."));

    QString heading;
    QStringList shown;
    wizard->ShowModalDialog = [&](QDialog& dialog) {
        auto& browser = dynamic_cast<TFTPBrowser&>(dialog);
        browser.StartTimerTimer();
        heading = browser.findChild<QLabel*>(QStringLiteral("LabelHeading"))->text();
        shown.append(browser.TreeView()->topLevelItem(0)->text(0));
        shown.append(
            QString::number(browser.findChild<QPushButton*>(QStringLiteral("BtnCancel"))->isHidden()));
        return 1;
    };
    wizard->btnShowPublishClick();
    EXPECT_EQ(heading, QStringLiteral("Published files"));
    EXPECT_EQ(shown, (QStringList{"ftp://127.0.0.1/shop/", "1"}));
}

TEST_F(PublishWizardTest, AnUntrustedServerIsAskedAboutAndAYesIsKeptInTheSettings) {
    const TSecureTestServer secure(QStringLiteral("vsftpd"));
    if (!secure.SkipReason().isEmpty())
        GTEST_SKIP() << secure.SkipReason().toStdString();
    TProgramData& settings = console->ProgramData();
    settings.SetFTPHost(QStringLiteral("127.0.0.1"));
    settings.SetFTPPort(secure.Port());
    settings.SetFTPlogin(TSecureTestServer::User());
    settings.SetFTPPassword(TSecureTestServer::Password());
    settings.SetFTPProtocol(QStringLiteral("ftps"));
    const auto publishWith = [&](int answer) {
        messages.QueueAnswer(answer);
        auto wizard = Wizard(secure.Folder(), true);
        wizard->Account = SavedFtpAccount(settings);
        const int result = Publish(*wizard);
        const auto calls = messages.Calls();
        EXPECT_GE(calls.size(), 2u);
        const auto& question = calls.at(calls.size() - 2);
        EXPECT_TRUE(question.question);
        EXPECT_EQ(question.heading, QStringLiteral("Untrusted Server"));
        EXPECT_TRUE(question.text.contains(secure.Fingerprint()));
        return std::pair{result, std::move(wizard)};
    };

    const auto [refused, refusedWizard] = publishWith(mrNo);
    EXPECT_EQ(refused, 2);
    ASSERT_EQ(Rows(*refusedWizard).size(), 1);
    EXPECT_TRUE(Rows(*refusedWizard)[0].contains(secure.Fingerprint()));
    EXPECT_EQ(settings.FTPTrustedFingerprint(), QString());

    const auto [accepted, acceptedWizard] = publishWith(mrYes);
    EXPECT_EQ(accepted, 1) << Rows(*acceptedWizard).join('\n').toStdString();
    EXPECT_EQ(settings.FTPTrustedHost(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(settings.FTPTrustedFingerprint(), secure.Fingerprint());
    EXPECT_EQ(acceptedWizard->Account.FingerprintForHost(), secure.Fingerprint())
        << "for the published files";
    EXPECT_TRUE(QFileInfo::exists(secure.Folder() + "shoppingcart/shop.xml"));
}

TEST_F(PublishWizardTest, PublishCommandsChooseTheTargetFirst) {
    // Local: a cancelled picker stops; a chosen folder is remembered and handed over.
    QStringList opened;
    QString folder;
    console->ShowModalDialog = [&](QDialog& dialog) {
        opened.append(dialog.objectName());
        if (auto* wizard = dynamic_cast<TPublishWizard*>(&dialog))
            folder = wizard->PublishFolder + (wizard->PublishToFTP ? " ftp" : " local");
        return 2;
    };
    dialogs.QueueFolder(std::nullopt);
    console->BtnPublishedClick(false);
    EXPECT_TRUE(opened.isEmpty());
    dialogs.QueueFolder(target.Path());
    console->BtnPublishedClick(false);
    EXPECT_EQ(dialogs.folderTitles.back(), QStringLiteral("Please select publish folder"));
    EXPECT_EQ(opened, QStringList{"PublishWizard"});
    EXPECT_EQ(folder, target.Path() + " local");
    EXPECT_EQ(console->ProgramData().LastPublishPath(), target.Path());

    // FTP: the account dialog (tested on OK), then the browser; its choice becomes FTPDir.
    server = std::make_unique<TFtpTestServer>();
    QDir(server->Root()).mkpath(QStringLiteral("www"));
    TProgramData& settings = console->ProgramData();
    settings.SetFTPHost(QStringLiteral("127.0.0.1"));
    settings.SetFTPPort(server->Port());
    settings.SetFTPlogin(TFtpTestServer::User());
    settings.SetFTPPassword(TFtpTestServer::Password());
    settings.SetFTPDir(QStringLiteral("/www/"));
    opened.clear();
    console->ShowModalDialog = [&](QDialog& dialog) {
        opened.append(dialog.objectName());
        if (auto* account = dynamic_cast<TFTPSetings*>(&dialog)) {
            EXPECT_TRUE(account->TestOnOK());
            account->OKBtnClick();
            return account->result();
        }
        if (auto* browser = dynamic_cast<TFTPBrowser*>(&dialog)) {
            browser->StartTimerTimer();
            EXPECT_EQ(browser->TreeView()->SelectedPath(), QStringLiteral("/www/"));
            browser->TreeView()->SelectPath(QStringLiteral("/"));
            return 1;
        }
        folder = dynamic_cast<TPublishWizard&>(dialog).PublishFolder;
        return 2;
    };
    console->BtnPublishedClick(true);
    EXPECT_EQ(opened, (QStringList{"FTPSetings", "FTPBrowser", "PublishWizard"}));
    EXPECT_EQ(settings.FTPDir(), QStringLiteral("/"));
    EXPECT_EQ(folder, QStringLiteral("/"));
}

} // namespace

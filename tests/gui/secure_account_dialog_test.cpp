// Trovecart tests - the FTP account dialog's protocol choice and server trust, against vsftpd and sshd.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include "gui/publish/ftp_browser.h"
#include "gui/publish/ftp_setings.h"
#include "gui/publish/ftp_tree_view.h"
#include "gui_application.h"
#include "shop/program_data.h"
#include "support/scripted_dialog_service.h"
#include "support/scripted_message_service.h"
#include "support/secure_test_server.h"
#include "support/test_helpers.h"

namespace {

class AccountDialogTest : public ::testing::Test {
protected:
    AccountDialogTest() : settings(temp.Path(), temp.Path(), temp.Path()) {
        EnsureApplication();
        qputenv("XDG_DATA_HOME", temp.Path().toLocal8Bit());
    }

    void SelectProtocol(TFTPSetings& dialog, const QString& text) {
        dialog.ComboBoxProtocol->setCurrentIndex(dialog.ComboBoxProtocol->findText(text));
    }

    TTempFolder temp;
    TProgramData settings;
    TScriptedMessageService messages;
    TScriptedDialogService dialogs;
};

TEST_F(AccountDialogTest, PortFollowsTheProtocolUntilChangedAndTheChoiceIsStoredOnOk) {
    TFTPSetings dialog(settings);
    EXPECT_EQ(dialog.ComboBoxProtocol->objectName(), QStringLiteral("ComboBoxProtocol"));
    EXPECT_EQ(dialog.ComboBoxProtocol->accessibleName(), QStringLiteral("Protocol"));
    EXPECT_EQ(dialog.EditKeyFile->accessibleName(), QStringLiteral("Key file"));
    EXPECT_EQ(dialog.ComboBoxProtocol->currentText(), QStringLiteral("FTP"));
    EXPECT_FALSE(dialog.EditKeyFile->isEnabled());

    SelectProtocol(dialog, QStringLiteral("SFTP"));
    EXPECT_EQ(dialog.SpinEditPort->value(), 22);
    EXPECT_TRUE(dialog.EditKeyFile->isEnabled());
    EXPECT_TRUE(dialog.BtnKeyFileBrowse->isEnabled());
    EXPECT_FALSE(dialog.RadioButtonPassive->isEnabled());
    SelectProtocol(dialog, QStringLiteral("FTP with TLS"));
    EXPECT_EQ(dialog.SpinEditPort->value(), 21);
    EXPECT_FALSE(dialog.EditKeyFile->isEnabled());
    EXPECT_FALSE(dialog.RadioButtonActive->isEnabled());
    dialog.SpinEditPort->setValue(2222);
    SelectProtocol(dialog, QStringLiteral("SFTP"));
    EXPECT_EQ(dialog.SpinEditPort->value(), 2222);

    dialogs.QueueFile(QStringLiteral("/home/anna/.ssh/id_ed25519"));
    dialog.BtnKeyFileBrowseClick();
    EXPECT_EQ(dialog.EditKeyFile->text(), QStringLiteral("/home/anna/.ssh/id_ed25519"));
    dialogs.QueueFile(std::nullopt);
    dialog.BtnKeyFileBrowseClick();
    EXPECT_EQ(dialog.EditKeyFile->text(), QStringLiteral("/home/anna/.ssh/id_ed25519"));

    dialog.OKBtnClick();
    EXPECT_EQ(settings.FTPProtocol(), QStringLiteral("sftp"));
    EXPECT_EQ(settings.FTPPort(), 2222);
    EXPECT_EQ(settings.FTPKeyFile(), QStringLiteral("/home/anna/.ssh/id_ed25519"));
    TFTPSetings reopened(settings);
    EXPECT_EQ(reopened.ComboBoxProtocol->currentText(), QStringLiteral("SFTP"));
}

struct TServerCase {
    const char* Server;
    const char* Protocol;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TServerCase& value, std::ostream* out) {
    *out << value.Server;
}

class SecureAccountDialogTest : public AccountDialogTest, public ::testing::WithParamInterface<TServerCase> {
protected:
    void SetUp() override {
        server_ = std::make_unique<TSecureTestServer>(QLatin1String(GetParam().Server));
        if (!server_->SkipReason().isEmpty())
            GTEST_SKIP() << server_->SkipReason().toStdString();
        settings.SetFTPHost(QStringLiteral("127.0.0.1"));
        settings.SetFTPPort(server_->Port());
        settings.SetFTPlogin(TSecureTestServer::User());
        settings.SetFTPPassword(TSecureTestServer::Password());
        settings.SetFTPPassive(true);
        settings.SetFTPDir(server_->Folder());
        settings.SetFTPProtocol(QLatin1String(GetParam().Protocol));
    }

    std::unique_ptr<TSecureTestServer> server_;
};

TEST_P(SecureAccountDialogTest, ConnectionTestAsksToTrustTheServerAndOkStoresTheFingerprint) {
    TFTPSetings dialog(settings);
    dialog.SetTestOnOK(true);
    messages.QueueAnswer(mrNo);
    dialog.OKBtnClick();
    ASSERT_EQ(messages.Calls().size(), 2u);
    EXPECT_TRUE(messages.Calls()[0].question);
    EXPECT_EQ(messages.Calls()[0].heading, QStringLiteral("Untrusted Server"));
    EXPECT_TRUE(messages.Calls()[0].text.contains(server_->Fingerprint()));
    EXPECT_EQ(messages.Calls()[1].kind, mkError);
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(settings.FTPTrustedFingerprint(), QString());

    messages.QueueAnswer(mrYes);
    dialog.OKBtnClick();
    ASSERT_EQ(messages.Calls().size(), 4u);
    EXPECT_EQ(messages.Calls()[3].text, QStringLiteral("Connected to your server successfully!"));
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(settings.FTPTrustedHost(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(settings.FTPTrustedFingerprint(), server_->Fingerprint());

    // Trusted now: no question the next time.
    TFTPSetings again(settings);
    EXPECT_TRUE(again.BtnTestConnectionClick());
    EXPECT_EQ(messages.Calls().size(), 5u);
}

TEST_P(SecureAccountDialogTest, BrowsingAsksToTrustTheServerAndTheDialogKeepsTheAnswer) {
    QDir().mkpath(server_->Folder());
    TFTPSetings dialog(settings);
    messages.QueueAnswer(mrYes);
    dialog.ShowModalDialog = [&](QDialog& shown) {
        auto& browser = dynamic_cast<TFTPBrowser&>(shown);
        browser.StartTimerTimer();
        browser.TreeView()->SelectPath(server_->Folder());
        return 1;
    };
    dialog.BtnFtpBrowseClick();
    ASSERT_FALSE(messages.Calls().empty());
    EXPECT_TRUE(messages.Calls()[0].question);
    EXPECT_EQ(dialog.EditHostDir->text(), server_->Folder());
    dialog.OKBtnClick();
    EXPECT_EQ(settings.FTPTrustedFingerprint(), server_->Fingerprint());
}

INSTANTIATE_TEST_SUITE_P(Servers, SecureAccountDialogTest,
                         ::testing::Values(TServerCase{"vsftpd", "ftps"}, TServerCase{"sshd", "sftp"}),
                         [](const ::testing::TestParamInfo<TServerCase>& info) {
                             return std::string(info.param.Protocol);
                         });

} // namespace

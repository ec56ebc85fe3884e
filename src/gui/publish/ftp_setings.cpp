// Trovecart - FTP account dialog.
#include "gui/publish/ftp_setings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/app_info.h"
#include "common/dialog_service.h"
#include "common/message_service.h"
#include "gui/publish/ftp_browser.h"
#include "gui/publish/ftp_tree_view.h"
#include "gui/widgets/worker_call.h"
#include "shop/program_data.h"

namespace {

QLineEdit* Edit(const QString& name, const QString& label, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setAccessibleName(label);
    return edit;
}

QPushButton* Button(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TFTPSetings::TFTPSetings(TProgramData& settings, QWidget* parent)
    : TParentDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("FTPSetings"));
    setWindowTitle(QStringLiteral("FTP Setings"));
    setWindowFlag(Qt::Tool);
    // Taller than the plain FTP dialog: the protocol and key file rows.
    setFixedSize(554, 290);
    ShowModalDialog = [](QDialog& dialog) { return static_cast<TParentDialog&>(dialog).ShowModal(); };

    ComboBoxProtocol = new QComboBox(this);
    ComboBoxProtocol->setObjectName(QStringLiteral("ComboBoxProtocol"));
    ComboBoxProtocol->setAccessibleName(QStringLiteral("Protocol"));
    ComboBoxProtocol->addItem(QStringLiteral("FTP"), static_cast<int>(fpFtp));
    ComboBoxProtocol->addItem(QStringLiteral("FTP with TLS"), static_cast<int>(fpFtps));
    ComboBoxProtocol->addItem(QStringLiteral("SFTP"), static_cast<int>(fpSftp));
    shownProtocol_ = FtpProtocolFromName(settings.FTPProtocol()).value_or(fpFtp);
    ComboBoxProtocol->setCurrentIndex(ComboBoxProtocol->findData(static_cast<int>(shownProtocol_)));
    trustedHost_ = settings.FTPTrustedHost();
    trustedFingerprint_ = settings.FTPTrustedFingerprint();
    EditHost = Edit(QStringLiteral("EditHost"), QStringLiteral("Host"), settings.FTPHost(), this);
    EditLogin = Edit(QStringLiteral("EditLogin"), QStringLiteral("Login"), settings.FTPlogin(), this);
    EditPassword =
        Edit(QStringLiteral("EditPassword"), QStringLiteral("Password"), settings.FTPPassword(), this);
    EditPassword->setEchoMode(QLineEdit::Password);
    SpinEditPort = new QSpinBox(this);
    SpinEditPort->setObjectName(QStringLiteral("SpinEditPort"));
    SpinEditPort->setAccessibleName(QStringLiteral("Port"));
    SpinEditPort->setRange(1, 100000);
    SpinEditPort->setValue(settings.FTPPort());
    RadioButtonActive = new QRadioButton(QStringLiteral("Active"), this);
    RadioButtonActive->setObjectName(QStringLiteral("RadioButtonActive"));
    RadioButtonPassive = new QRadioButton(QStringLiteral("Passive"), this);
    RadioButtonPassive->setObjectName(QStringLiteral("RadioButtonPassive"));
    (settings.FTPPassive() ? RadioButtonPassive : RadioButtonActive)->setChecked(true);
    EditKeyFile =
        Edit(QStringLiteral("EditKeyFile"), QStringLiteral("Key file"), settings.FTPKeyFile(), this);
    BtnKeyFileBrowse = Button(QStringLiteral("BtnKeyFileBrowse"), QStringLiteral("Browse..."), this);
    BtnKeyFileBrowse->setAccessibleName(QStringLiteral("Browse for the key file"));
    EditHostDir = Edit(QStringLiteral("EditHostDir"), QStringLiteral("Default host directory"),
                       settings.FTPDir(), this);

    BtnTestConnection = Button(QStringLiteral("BtnTestConnection"), QStringLiteral("Test\nConnection"), this);
    btnFtpBrowse = Button(QStringLiteral("btnFtpBrowse"), QStringLiteral("Browse FTP"), this);
    OKBtn = Button(QStringLiteral("OKBtn"), QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    PngSpeedButton1 = Button(QStringLiteral("PngSpeedButton1"), QStringLiteral("Cancel"), this);

    auto* fields = new QGridLayout;
    const auto addRow = [&](int row, const QString& label, QWidget* control) {
        auto* text = new QLabel(label, this);
        text->setBuddy(control);
        fields->addWidget(text, row, 0);
        fields->addWidget(control, row, 1);
    };
    addRow(0, QStringLiteral("Protocol"), ComboBoxProtocol);
    addRow(1, QStringLiteral("Host"), EditHost);
    addRow(2, QStringLiteral("Login"), EditLogin);
    addRow(3, QStringLiteral("Password"), EditPassword);
    auto* keyFile = new QWidget(this);
    auto* keyFileLine = new QHBoxLayout(keyFile);
    keyFileLine->setContentsMargins(0, 0, 0, 0);
    keyFileLine->addWidget(EditKeyFile, 1);
    keyFileLine->addWidget(BtnKeyFileBrowse);
    auto* keyFileLabel = new QLabel(QStringLiteral("Key file"), this);
    keyFileLabel->setBuddy(EditKeyFile);
    fields->addWidget(keyFileLabel, 4, 0);
    fields->addWidget(keyFile, 4, 1);
    addRow(5, QStringLiteral("Port"), SpinEditPort);
    auto* mode = new QWidget(this);
    mode->setAccessibleName(QStringLiteral("Transfer mode"));
    auto* modeLine = new QHBoxLayout(mode);
    modeLine->setContentsMargins(0, 0, 0, 0);
    modeLine->addWidget(RadioButtonActive);
    modeLine->addWidget(RadioButtonPassive);
    modeLine->addStretch(1);
    addRow(6, QStringLiteral("Transfer mode"), mode);
    addRow(7, QStringLiteral("Default host directory"), EditHostDir);

    auto* buttons = new QVBoxLayout;
    BtnTestConnection->setMinimumHeight(44);
    buttons->addWidget(BtnTestConnection);
    buttons->addWidget(btnFtpBrowse);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(PngSpeedButton1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    connect(BtnTestConnection, &QPushButton::clicked, this, [this] { BtnTestConnectionClick(); });
    connect(btnFtpBrowse, &QPushButton::clicked, this, &TFTPSetings::BtnFtpBrowseClick);
    connect(OKBtn, &QPushButton::clicked, this, &TFTPSetings::OKBtnClick);
    connect(PngSpeedButton1, &QPushButton::clicked, this, &TFTPSetings::CloseWithCancel);
    connect(BtnKeyFileBrowse, &QPushButton::clicked, this, &TFTPSetings::BtnKeyFileBrowseClick);
    connect(ComboBoxProtocol, &QComboBox::currentIndexChanged, this, &TFTPSetings::ComboBoxProtocolChange);
    EnableProtocolFields();
}

TFtpProtocol TFTPSetings::TypedProtocol() const {
    return static_cast<TFtpProtocol>(ComboBoxProtocol->currentData().toInt());
}

void TFTPSetings::EnableProtocolFields() {
    const bool sftp = TypedProtocol() == fpSftp;
    EditKeyFile->setEnabled(sftp);
    BtnKeyFileBrowse->setEnabled(sftp);
    // SFTP has no separate data connections, and FTPS runs passive only.
    const bool plainFtp = TypedProtocol() == fpFtp;
    RadioButtonActive->setEnabled(plainFtp);
    RadioButtonPassive->setEnabled(plainFtp);
}

void TFTPSetings::ComboBoxProtocolChange() {
    const TFtpProtocol protocol = TypedProtocol();
    if (SpinEditPort->value() == DefaultFtpPort(shownProtocol_))
        SpinEditPort->setValue(DefaultFtpPort(protocol));
    shownProtocol_ = protocol;
    EnableProtocolFields();
}

void TFTPSetings::BtnKeyFileBrowseClick() {
    const std::optional<QString> file =
        DialogService().OpenFileName(this, QStringLiteral("All files (*)"), QString(), EditKeyFile->text());
    if (file)
        EditKeyFile->setText(*file);
}

TFtpAccount TFTPSetings::TypedAccount() const {
    TFtpAccount account;
    account.Host = EditHost->text();
    account.Port = SpinEditPort->value();
    account.Login = EditLogin->text();
    account.Password = EditPassword->text();
    account.Passive = RadioButtonPassive->isChecked();
    account.Protocol = TypedProtocol();
    account.KeyFile = EditKeyFile->text();
    account.TrustedHost = trustedHost_;
    account.TrustedFingerprint = trustedFingerprint_;
    return account;
}

bool TFTPSetings::BtnTestConnectionClick() {
    TFtpAccount account = TypedAccount();
    const QString directory = EditHostDir->text();
    TFtpConnectionTest outcome;
    const auto runTest = [&] {
        setEnabled(false);
        RunOffUiThread([&] { outcome = TestFtpConnection(account, directory); });
        setEnabled(true);
    };
    runTest();
    if (!outcome.UntrustedFingerprint.isEmpty() &&
        AskToTrustServer(this, account.Host, outcome.UntrustedReason, outcome.UntrustedFingerprint)) {
        account.Trust(outcome.UntrustedFingerprint);
        trustedHost_ = account.TrustedHost;
        trustedFingerprint_ = account.TrustedFingerprint;
        runTest();
    }
    testPassed_ = outcome.Passed;
    MessageService().ShowMessageBox(this, outcome.Message, outcome.Passed ? mkInformation : mkError,
                                    QStringLiteral("Test Connection"), ProgramCaption());
    return testPassed_;
}

void TFTPSetings::OKBtnClick() {
    if (testOnOk_ && !BtnTestConnectionClick())
        return;
    settings_.SetFTPHost(EditHost->text());
    settings_.SetFTPlogin(EditLogin->text());
    settings_.SetFTPPassword(EditPassword->text());
    settings_.SetFTPDir(EditHostDir->text());
    settings_.SetFTPPort(SpinEditPort->value());
    settings_.SetFTPPassive(RadioButtonPassive->isChecked());
    settings_.SetFTPProtocol(FtpProtocolName(TypedProtocol()));
    settings_.SetFTPKeyFile(EditKeyFile->text());
    settings_.SetFTPTrustedHost(trustedHost_);
    settings_.SetFTPTrustedFingerprint(trustedFingerprint_);
    CloseWithOk();
}

void TFTPSetings::BtnFtpBrowseClick() {
    TFTPBrowser browser(this);
    TFTpTreeView* tree = browser.TreeView();
    tree->BeginSetup();
    tree->SetAccount(TypedAccount());
    browser.SetStartPath(EditHostDir->text());
    const int result = ShowModalDialog(browser);
    // A server trusted while browsing stays trusted, whatever the browser's outcome.
    trustedHost_ = tree->TrustedHost();
    trustedFingerprint_ = tree->TrustedFingerprint();
    if (result == 1)
        EditHostDir->setText(tree->SelectedPath());
}

TFtpAccount SavedFtpAccount(const TProgramData& settings) {
    TFtpAccount account;
    account.Host = settings.FTPHost();
    account.Port = settings.FTPPort();
    account.Login = settings.FTPlogin();
    account.Password = settings.FTPPassword();
    account.Passive = settings.FTPPassive();
    account.Protocol = FtpProtocolFromName(settings.FTPProtocol()).value_or(fpFtp);
    account.KeyFile = settings.FTPKeyFile();
    account.TrustedHost = settings.FTPTrustedHost();
    account.TrustedFingerprint = settings.FTPTrustedFingerprint();
    return account;
}

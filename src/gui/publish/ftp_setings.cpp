// Trovecart - FTP account dialog.
#include "gui/publish/ftp_setings.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/app_info.h"
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
    setFixedSize(554, 214);
    ShowModalDialog = [](QDialog& dialog) { return static_cast<TParentDialog&>(dialog).ShowModal(); };

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
    addRow(0, QStringLiteral("Host"), EditHost);
    addRow(1, QStringLiteral("Login"), EditLogin);
    addRow(2, QStringLiteral("Password"), EditPassword);
    addRow(3, QStringLiteral("Port"), SpinEditPort);
    auto* mode = new QWidget(this);
    mode->setAccessibleName(QStringLiteral("Transfer mode"));
    auto* modeLine = new QHBoxLayout(mode);
    modeLine->setContentsMargins(0, 0, 0, 0);
    modeLine->addWidget(RadioButtonActive);
    modeLine->addWidget(RadioButtonPassive);
    modeLine->addStretch(1);
    addRow(4, QStringLiteral("Transfer mode"), mode);
    addRow(5, QStringLiteral("Default host directory"), EditHostDir);

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
}

TFtpAccount TFTPSetings::TypedAccount() const {
    return {EditHost->text(), SpinEditPort->value(), EditLogin->text(), EditPassword->text(),
            RadioButtonPassive->isChecked()};
}

bool TFTPSetings::BtnTestConnectionClick() {
    const TFtpAccount account = TypedAccount();
    const QString directory = EditHostDir->text();
    TFtpConnectionTest outcome;
    setEnabled(false);
    RunOffUiThread([&] { outcome = TestFtpConnection(account, directory); });
    setEnabled(true);
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
    CloseWithOk();
}

void TFTPSetings::BtnFtpBrowseClick() {
    TFTPBrowser browser(this);
    TFTpTreeView* tree = browser.TreeView();
    tree->BeginSetup();
    tree->SetAccount(TypedAccount());
    browser.SetStartPath(EditHostDir->text());
    if (ShowModalDialog(browser) == 1)
        EditHostDir->setText(tree->SelectedPath());
}

TFtpAccount SavedFtpAccount(const TProgramData& settings) {
    return {settings.FTPHost(), settings.FTPPort(), settings.FTPlogin(), settings.FTPPassword(),
            settings.FTPPassive()};
}

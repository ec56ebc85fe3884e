// Trovecart - the FTP account dialog: protocol, server, login, password or key, port, transfer mode,
// directory.
#pragma once

#include <functional>

#include "gui/dialogs/parent_dialog.h"
#include "publish/ftp_account.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TProgramData;

// Shows and, on OK, stores the account values of the program settings. Nothing is stored before OK.
class TFTPSetings : public TParentDialog {
    Q_OBJECT
public:
    TFTPSetings(TProgramData& settings, QWidget* parent = nullptr);

    // When set, OK accepts only after a passed connection test.
    bool TestOnOK() const { return testOnOk_; }
    void SetTestOnOK(bool test) { testOnOk_ = test; }
    bool TestPassed() const { return testPassed_; }

    // Tests the account as typed in the dialog and tells the user the outcome.
    bool BtnTestConnectionClick();
    void OKBtnClick();
    void BtnFtpBrowseClick();
    void BtnKeyFileBrowseClick();
    // The port follows the protocol's default unless the user set another.
    void ComboBoxProtocolChange();

    // Shows the remote browser modally; tests replace it.
    std::function<int(QDialog&)> ShowModalDialog;

    QComboBox* ComboBoxProtocol;
    QLineEdit* EditHost;
    QLineEdit* EditLogin;
    QLineEdit* EditPassword;
    QSpinBox* SpinEditPort;
    QRadioButton* RadioButtonActive;
    QRadioButton* RadioButtonPassive;
    QLineEdit* EditKeyFile;
    QPushButton* BtnKeyFileBrowse;
    QLineEdit* EditHostDir;
    QPushButton* BtnTestConnection;
    QPushButton* btnFtpBrowse;
    QPushButton* OKBtn;
    QPushButton* PngSpeedButton1;

private:
    TFtpAccount TypedAccount() const;
    TFtpProtocol TypedProtocol() const;
    void EnableProtocolFields();

    TProgramData& settings_;
    bool testOnOk_ = false;
    bool testPassed_ = false;
    TFtpProtocol shownProtocol_ = fpFtp;
    // What the user chose to trust in this dialog or before; stored on OK.
    QString trustedHost_;
    QString trustedFingerprint_;
};

// The account saved in the program settings.
TFtpAccount SavedFtpAccount(const TProgramData& settings);

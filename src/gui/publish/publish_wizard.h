// Trovecart - the publish dialog: prepares the site, runs one publish worker and lists each file's
// result; afterwards it shows the published files and the embed code.
#pragma once

#include <functional>

#include <QPointer>
#include <QTimer>

#include "gui/dialogs/parent_dialog.h"
#include "publish/base_thread.h"
#include "publish/ftp_account.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TProgramData;
class TShop;

class TPublishWizard : public TParentDialog {
    Q_OBJECT
public:
    // The shop and the settings must outlive the dialog. The settings give the dialog's choices as
    // the user last left them, keep every change of them, and keep a server the user comes to trust.
    TPublishWizard(TShop& shop, TProgramData& settings, QWidget* parent = nullptr);
    ~TPublishWizard() override;

    // Set before showing.
    bool PublishToFTP = false;
    // A local folder, or the remote directory for FTP.
    QString PublishFolder;
    // Used only when PublishToFTP is set.
    TFtpAccount Account;

    qint64 ErrorCount() const { return errorCount_; }
    bool Finished() const { return finished_; }
    bool Cancelled() const { return cancelled_; }
    // Whether the total bar moves by itself, waiting for the first report.
    bool Marquee() const { return marquee_; }
    // The code for the base address the code page's controls give.
    QString EmbedCode() const;

    void BtnPublishClick();
    void btnCancelClick();
    void btnShowPublishClick();
    void btnShowEmbedCodeClick();
    void BtnCopyClick();
    // The worker's reports, handled in the UI thread.
    void OnPublishStatus(const QString& action, int percent, bool busy, bool failed,
                         const QString& errorText);
    void OnFileResult(const QString& action, int percent, TPublishResult result);
    void OnFileProgress(int percent, double speed);
    void ThreadTerminate();

    // Shows the remote browser modally; tests replace it.
    std::function<int(QDialog&)> ShowModalDialog;

    QStackedWidget* Pages;
    QWidget* MainPage;
    QWidget* Publishing;
    QWidget* CodeView;
    QLabel* lblPublishMode;
    QLabel* lblPublishFolder;
    QCheckBox* CheckBoxChangedOnly;
    QCheckBox* CheckBoxRemoveOld;
    QProgressBar* ProgressBarTotal;
    QProgressBar* ProgressBarCurrent;
    QLabel* LblCurrentAction;
    QLabel* lblSpeed;
    QTreeWidget* ListView;
    QPlainTextEdit* MemoEmbedCode;
    QPushButton* BtnCopy;
    QCheckBox* CheckBoxFullPath;
    QLineEdit* EditFullPath;
    QPushButton* BtnPublish;
    QPushButton* btnShowPublish;
    QPushButton* btnShowEmbedCode;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QWidget* BuildMainPage();
    QWidget* BuildProgressPage();
    QWidget* BuildCodePage();
    // Shows the remembered choices and remembers each change.
    void KeepChoices();
    // Asked by an FTP worker about a server that could not show it is the trusted one.
    bool TrustServer(const QString& host, const QString& reason, const QString& fingerprint);
    void FormShow();
    void UpdateEmbedCode();
    QString BaseAddress() const;
    bool Running() const;
    // 1 after a run without cancel and failures, else 2.
    int ResultCode() const;
    TBaseThread* CreateThread();
    void AddResultRow(const QString& fileName, bool failed, const QString& status);
    // Ends the marquee and shows the overall percent of a report.
    void TakeReportPercent(int percent);
    // Ends a run that could not start: the reason is shown and the dialog can be closed.
    void StartFailed(const QString& reason);
    void ShowRunEnded();
    void ScheduleProgress();
    void ShowProgress();
    void ShowPendingRows();

    TShop& shop_;
    TProgramData& settings_;
    QPointer<TBaseThread> thread_;
    qint64 errorCount_ = 0;
    bool cancelled_ = false;
    bool finished_ = false;
    bool marquee_ = false;
    bool shown_ = false;
    // What the progress controls are to show; applied by the progress timer.
    struct TShownProgress {
        int TotalPercent = 0;
        int FilePercent = 0;
        QString Action = QStringLiteral("Idel");
        double Speed = 0;
    };
    TShownProgress shownProgress_;
    // Result rows not yet in the list; owned until then.
    QList<QTreeWidgetItem*> pendingRows_;
    QTimer progressTimer_;
};

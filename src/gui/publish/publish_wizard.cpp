// Trovecart - publish dialog.
#include "gui/publish/publish_wizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/app_error.h"
#include "common/app_info.h"
#include "common/dialog_service.h"
#include "common/message_service.h"
#include "common/time_texts.h"
#include "gui/dialogs/web_copy_dialogs.h"
#include "gui/publish/ftp_browser.h"
#include "gui/publish/ftp_tree_view.h"
#include "publish/file_thread.h"
#include "publish/ftp_thread.h"
#include "shop/program_data.h"
#include "shop/shop_document.h"
#include "shop/site_build.h"
#include "shop/workspace.h"

namespace {

constexpr int kStatusColumnWidth = 150;
constexpr int kProgressIntervalMs = 100;

QLabel* BoldLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* NamedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QProgressBar* NamedBar(const QString& name, const QString& label, QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setAccessibleName(label);
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

QCheckBox* NamedCheckBox(const QString& name, const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(text);
    return box;
}

QPushButton* NamedButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TPublishWizard::TPublishWizard(TShop& shop, TProgramData& settings, QWidget* parent)
    : TParentDialog(parent), shop_(shop), settings_(settings) {
    setObjectName(QStringLiteral("PublishWizard"));
    setWindowTitle(QStringLiteral("Publish Wizard"));
    setWindowFlag(Qt::Tool);
    resize(588, 394);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    ShowModalDialog = [](QDialog& dialog) { return static_cast<TParentDialog&>(dialog).ShowModal(); };
    progressTimer_.setSingleShot(true);
    progressTimer_.setInterval(kProgressIntervalMs);
    connect(&progressTimer_, &QTimer::timeout, this, &TPublishWizard::ShowProgress);

    Pages = new QStackedWidget(this);
    MainPage = BuildMainPage();
    Publishing = BuildProgressPage();
    CodeView = BuildCodePage();
    Pages->addWidget(MainPage);
    Pages->addWidget(Publishing);
    Pages->addWidget(CodeView);
    KeepChoices();

    BtnPublish = NamedButton(QStringLiteral("BtnPublish"), QStringLiteral("Publish"), this);
    btnShowPublish =
        NamedButton(QStringLiteral("btnShowPublish"), QStringLiteral("Show Publish Folder"), this);
    btnShowEmbedCode =
        NamedButton(QStringLiteral("btnShowEmbedCode"), QStringLiteral("Show Embed Code"), this);
    btnCancel = NamedButton(QStringLiteral("btnCancel"), QStringLiteral("Cancel"), this);
    btnShowPublish->hide();
    btnShowEmbedCode->hide();
    connect(BtnPublish, &QPushButton::clicked, this, &TPublishWizard::BtnPublishClick);
    connect(btnShowPublish, &QPushButton::clicked, this, &TPublishWizard::btnShowPublishClick);
    connect(btnShowEmbedCode, &QPushButton::clicked, this, &TPublishWizard::btnShowEmbedCodeClick);
    connect(btnCancel, &QPushButton::clicked, this, &TPublishWizard::btnCancelClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnPublish);
    buttons->addWidget(btnShowPublish);
    buttons->addWidget(btnShowEmbedCode);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Pages, 1);
    layout->addLayout(buttons);
}

TPublishWizard::~TPublishWizard() {
    qDeleteAll(pendingRows_);
}

QWidget* TPublishWizard::BuildMainPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("MainPage"));
    auto* heading = BoldLabel(QStringLiteral("Publish Wizard"), page);
    QFont large = heading->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    heading->setFont(large);
    lblPublishMode = NamedLabel(QStringLiteral("lblPublishMode"), QString(), page);
    lblPublishFolder = NamedLabel(QStringLiteral("lblPublishFolder"), QString(), page);
    lblPublishFolder->setWordWrap(true);
    auto* grid = new QGridLayout;
    grid->addWidget(BoldLabel(QStringLiteral("Publish Mode"), page), 0, 0);
    grid->addWidget(lblPublishMode, 0, 1);
    grid->addWidget(BoldLabel(QStringLiteral("Publish Folder"), page), 1, 0, Qt::AlignTop);
    grid->addWidget(lblPublishFolder, 1, 1);
    grid->setColumnStretch(1, 1);
    CheckBoxChangedOnly =
        NamedCheckBox(QStringLiteral("CheckBoxChangedOnly"), QStringLiteral("Send only changed files"), page);
    CheckBoxRemoveOld = NamedCheckBox(QStringLiteral("CheckBoxRemoveOld"),
                                      QStringLiteral("Remove files no longer in the shop"), page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading);
    layout->addSpacing(16);
    layout->addLayout(grid);
    layout->addSpacing(16);
    layout->addWidget(CheckBoxChangedOnly);
    layout->addWidget(CheckBoxRemoveOld);
    layout->addStretch(1);
    return page;
}

QWidget* TPublishWizard::BuildProgressPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Publishing"));
    ProgressBarTotal = NamedBar(QStringLiteral("ProgressBarTotal"), QStringLiteral("Total Progress"), page);
    ProgressBarCurrent =
        NamedBar(QStringLiteral("ProgressBarCurrent"), QStringLiteral("Current Action"), page);
    LblCurrentAction = NamedLabel(QStringLiteral("LblCurrentAction"), QStringLiteral("Idel"), page);
    // Long remote paths must not widen the dialog.
    LblCurrentAction->setMinimumWidth(1);
    lblSpeed = NamedLabel(QStringLiteral("lblSpeed"), QStringLiteral("0.00Kbps"), page);
    lblSpeed->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ListView = new QTreeWidget(page);
    ListView->setObjectName(QStringLiteral("ListView"));
    ListView->setAccessibleName(QStringLiteral("Results"));
    ListView->setRootIsDecorated(false);
    ListView->setUniformRowHeights(true);
    ListView->setHeaderLabels({QStringLiteral("File Name"), QStringLiteral("Statues")});
    ListView->header()->setStretchLastSection(false);
    ListView->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ListView->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    ListView->header()->resizeSection(1, kStatusColumnWidth);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Total Progress"), page), 0, 0);
    grid->addWidget(ProgressBarTotal, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Current Action"), page), 1, 0);
    grid->addWidget(ProgressBarCurrent, 1, 1, 1, 2);
    grid->addWidget(LblCurrentAction, 2, 1);
    auto* speedLine = new QHBoxLayout;
    speedLine->addWidget(new QLabel(QStringLiteral("Speed"), page));
    speedLine->addWidget(lblSpeed);
    grid->addLayout(speedLine, 2, 2);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(ListView, 1);
    return page;
}

QWidget* TPublishWizard::BuildCodePage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("CodeView"));
    auto* explanation =
        new QLabel(QStringLiteral("To embed the shopping cart into one of your existing html based "
                                  "webpages, copy and paste the embed code below."),
                   page);
    explanation->setWordWrap(true);
    MemoEmbedCode = new QPlainTextEdit(page);
    MemoEmbedCode->setObjectName(QStringLiteral("MemoEmbedCode"));
    MemoEmbedCode->setAccessibleName(QStringLiteral("1). Copy and paste the embed code"));
    MemoEmbedCode->setReadOnly(true);
    MemoEmbedCode->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoEmbedCode->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoEmbedCode->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BtnCopy = NamedButton(QStringLiteral("BtnCopy"), QStringLiteral("Copy to clipboard"), page);
    CheckBoxFullPath = new QCheckBox(QStringLiteral("Use full path for embed code"), page);
    CheckBoxFullPath->setObjectName(QStringLiteral("CheckBoxFullPath"));
    EditFullPath = new QLineEdit(page);
    EditFullPath->setObjectName(QStringLiteral("EditFullPath"));
    EditFullPath->setAccessibleName(QStringLiteral("Use full path for embed code"));
    EditFullPath->setEnabled(false);
    connect(BtnCopy, &QPushButton::clicked, this, &TPublishWizard::BtnCopyClick);
    connect(CheckBoxFullPath, &QCheckBox::toggled, this, [this](bool checked) {
        EditFullPath->setEnabled(checked);
        UpdateEmbedCode();
    });
    connect(EditFullPath, &QLineEdit::textChanged, this, &TPublishWizard::UpdateEmbedCode);

    auto* fullPath = new QHBoxLayout;
    fullPath->addWidget(CheckBoxFullPath);
    fullPath->addWidget(EditFullPath, 1);
    auto* copyLine = new QHBoxLayout;
    copyLine->addWidget(BoldLabel(QStringLiteral("1). Copy and paste the embed code"), page), 1);
    copyLine->addWidget(BtnCopy);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(explanation);
    layout->addLayout(copyLine);
    layout->addWidget(MemoEmbedCode, 1);
    layout->addLayout(fullPath);
    layout->addWidget(BoldLabel(
        QStringLiteral("2). Upload the embeded page together with other shopping cart files."), page));
    return page;
}

void TPublishWizard::KeepChoices() {
    CheckBoxChangedOnly->setChecked(settings_.PublishChangedOnly());
    CheckBoxRemoveOld->setChecked(settings_.PublishRemoveOld());
    const TEmbedAddress embed = settings_.EmbedAddress(shop_.FileName());
    CheckBoxFullPath->setChecked(embed.FullPath);
    EditFullPath->setText(embed.Address);
    connect(CheckBoxChangedOnly, &QCheckBox::toggled, this,
            [this](bool checked) { settings_.SetPublishChangedOnly(checked); });
    connect(CheckBoxRemoveOld, &QCheckBox::toggled, this,
            [this](bool checked) { settings_.SetPublishRemoveOld(checked); });
    // Each shop keeps its own address: shops live at different sites.
    const auto keepEmbedAddress = [this] {
        settings_.SetEmbedAddress(shop_.FileName(), {CheckBoxFullPath->isChecked(), EditFullPath->text()});
    };
    connect(CheckBoxFullPath, &QCheckBox::toggled, this, keepEmbedAddress);
    connect(EditFullPath, &QLineEdit::textChanged, this, keepEmbedAddress);
}

void TPublishWizard::showEvent(QShowEvent* event) {
    TParentDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TPublishWizard::FormShow() {
    Pages->setCurrentWidget(MainPage);
    UpdateEmbedCode();
    if (PublishToFTP) {
        lblPublishMode->setText(QStringLiteral("FTP"));
        lblPublishFolder->setText(QStringLiteral("ftp://") + Account.Host + PublishFolder);
    } else {
        lblPublishMode->setText(QStringLiteral("Local Folder"));
        lblPublishFolder->setText(PublishFolder);
    }
    ProgressBarTotal->setRange(0, 0);
    marquee_ = true;
}

QString TPublishWizard::BaseAddress() const {
    return EmbedBaseAddress(CheckBoxFullPath->isChecked(), EditFullPath->text());
}

QString TPublishWizard::EmbedCode() const {
    const QString base = BaseAddress();
    QString code = shop_.GetEmbedCode(base);
    const QString storefront = StorefrontScriptLine(shop_, base);
    if (!storefront.isEmpty())
        code += storefront + QStringLiteral("\r\n");
    return code;
}

void TPublishWizard::UpdateEmbedCode() {
    MemoEmbedCode->setPlainText(QString(EmbedCode()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

bool TPublishWizard::Running() const {
    return Pages->currentWidget() != MainPage && !finished_;
}

int TPublishWizard::ResultCode() const {
    return cancelled_ || errorCount_ > 0 ? 2 : 1;
}

TBaseThread* TPublishWizard::CreateThread() {
    if (!PublishToFTP)
        return new TFileThread;
    auto* thread = new TFTPThread;
    thread->SetAccount(Account);
    thread->AskToTrust = [this](const QString& host, const QString& reason, const QString& fingerprint) {
        return TrustServer(host, reason, fingerprint);
    };
    return thread;
}

bool TPublishWizard::TrustServer(const QString& host, const QString& reason, const QString& fingerprint) {
    if (!AskToTrustServer(this, host, reason, fingerprint))
        return false;
    Account.Trust(fingerprint);
    settings_.SetFTPTrustedHost(Account.TrustedHost);
    settings_.SetFTPTrustedFingerprint(Account.TrustedFingerprint);
    return true;
}

void TPublishWizard::BtnPublishClick() {
    BtnPublish->setEnabled(false);
    Pages->setCurrentWidget(Publishing);
    try {
        PrepareSite(shop_, TSiteUse::Publish, BaseAddress(), DialogWebCopyMaker(this));
    } catch (const EAppError& error) {
        StartFailed(error.Message());
        return;
    }
    TBaseThread* thread = CreateThread();
    thread->SetSourceFolder(shop_.SiteFolder());
    thread->SetTargetFolder(PublishFolder);
    thread->SetEntryFilter(&TWorkspace::IsPublished);
    thread->SetChangedOnly(CheckBoxChangedOnly->isChecked());
    thread->SetRemoveOldFiles(CheckBoxRemoveOld->isChecked());
    connect(thread, &TBaseThread::OnPublishStatus, this,
            [this](TBaseThread*, const QString& action, int percent, bool busy, bool failed,
                   const QString& error) { OnPublishStatus(action, percent, busy, failed, error); });
    connect(thread, &TBaseThread::OnFileResult, this,
            [this](TBaseThread*, const QString& action, int percent, TPublishResult result) {
                OnFileResult(action, percent, result);
            });
    connect(thread, &TBaseThread::OnFileProgress, this,
            [this](TBaseThread*, int percent, double speed) { OnFileProgress(percent, speed); });
    connect(thread, &TBaseThread::OnTerminate, this, [this](TBaseThread*) { ThreadTerminate(); });
    thread_ = thread;
    thread->start();
}

void TPublishWizard::StartFailed(const QString& reason) {
    ++errorCount_;
    AddResultRow(QStringLiteral("Publish Action"), true, QStringLiteral("Error : ") + reason);
    finished_ = true;
    ShowRunEnded();
    btnShowPublish->hide();
    btnShowEmbedCode->hide();
    MessageService().ShowMessageBox(this, reason, mkError, QStringLiteral("Publish Project"),
                                    ProgramCaption());
}

void TPublishWizard::OnPublishStatus(const QString& action, int percent, bool busy, bool failed,
                                     const QString& errorText) {
    TakeReportPercent(percent);
    if (busy)
        shownProgress_.Action = action;
    else
        AddResultRow(action, failed,
                     failed ? QStringLiteral("Error : ") + errorText : QStringLiteral("Copied"));
    if (!busy && failed)
        ++errorCount_;
    ScheduleProgress();
}

void TPublishWizard::OnFileResult(const QString& action, int percent, TPublishResult result) {
    TakeReportPercent(percent);
    AddResultRow(action, false, PublishResultText(result));
    ScheduleProgress();
}

void TPublishWizard::TakeReportPercent(int percent) {
    if (marquee_) {
        ProgressBarTotal->setRange(0, 100);
        marquee_ = false;
    }
    shownProgress_.TotalPercent = percent;
}

void TPublishWizard::ScheduleProgress() {
    // A small file takes less time to send than the dialog takes to draw a new row and new texts:
    // they are shown a few times a second, which is all the eye can follow anyway.
    if (!progressTimer_.isActive())
        progressTimer_.start();
}

void TPublishWizard::ShowProgress() {
    ProgressBarTotal->setValue(shownProgress_.TotalPercent);
    ProgressBarCurrent->setValue(shownProgress_.FilePercent);
    LblCurrentAction->setText(shownProgress_.Action);
    lblSpeed->setText(FormatRate(shownProgress_.Speed));
    ShowPendingRows();
}

void TPublishWizard::ShowPendingRows() {
    if (pendingRows_.isEmpty())
        return;
    ListView->addTopLevelItems(pendingRows_);
    pendingRows_.clear();
    ListView->scrollToBottom();
}

void TPublishWizard::AddResultRow(const QString& fileName, bool failed, const QString& status) {
    static const QIcon copiedMark = QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton);
    static const QIcon failureMark = QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
    auto* row = new QTreeWidgetItem({fileName, status});
    row->setIcon(0, failed ? failureMark : copiedMark);
    row->setToolTip(1, row->text(1));
    pendingRows_.append(row);
}

void TPublishWizard::OnFileProgress(int percent, double speed) {
    shownProgress_.FilePercent = percent;
    shownProgress_.Speed = speed;
    ScheduleProgress();
}

void TPublishWizard::ShowRunEnded() {
    progressTimer_.stop();
    ShowPendingRows();
    btnCancel->setEnabled(true);
    btnCancel->setText(QStringLiteral("Close"));
    if (marquee_) {
        ProgressBarTotal->setRange(0, 100);
        marquee_ = false;
    }
    ProgressBarTotal->setValue(100);
    ProgressBarCurrent->setValue(0);
    LblCurrentAction->setText(QStringLiteral("Idel"));
    lblSpeed->setText(QStringLiteral("0.00Bps"));
    btnShowPublish->show();
    btnShowEmbedCode->show();
}

void TPublishWizard::ThreadTerminate() {
    ShowRunEnded();
    if (cancelled_ || errorCount_ > 0) {
        MessageService().ShowMessageBox(
            this,
            errorCount_ > 0 ? QStringLiteral("Publish operation did not completed successfully.")
                            : QStringLiteral("Publish operation canceled."),
            mkError, QStringLiteral("Publish Project"), ProgramCaption());
    } else {
        MessageService().ShowMessageBox(this, QStringLiteral("Publish operation completed successfully"),
                                        mkInformation, QStringLiteral("Publish Project"), ProgramCaption());
    }
    finished_ = true;
    try {
        FinishPublishRun(shop_);
    } catch (const EAppError& error) {
        MessageService().ShowMessageBox(this, error.Message(), mkError, QStringLiteral("Publish Project"),
                                        ProgramCaption());
    }
}

void TPublishWizard::btnCancelClick() {
    if (Pages->currentWidget() == MainPage) {
        done(2);
        return;
    }
    if (finished_) {
        done(ResultCode());
        return;
    }
    cancelled_ = true;
    if (thread_)
        thread_->Terminate();
    shownProgress_.Action = QStringLiteral("Canceling...");
    LblCurrentAction->setText(shownProgress_.Action);
    btnCancel->setEnabled(false);
}

void TPublishWizard::btnShowPublishClick() {
    if (!PublishToFTP) {
        DialogService().OpenWithShell(PublishFolder);
        return;
    }
    TFTPBrowser browser(this);
    TFTpTreeView* tree = browser.TreeView();
    tree->BeginSetup();
    tree->SetAccount(Account);
    tree->SetRootPath(PublishFolder);
    browser.ShowAsPublishedFiles();
    ShowModalDialog(browser);
}

void TPublishWizard::btnShowEmbedCodeClick() {
    Pages->setCurrentWidget(CodeView);
}

void TPublishWizard::BtnCopyClick() {
    QGuiApplication::clipboard()->setText(MemoEmbedCode->toPlainText());
}

void TPublishWizard::closeEvent(QCloseEvent* event) {
    if (Running()) {
        event->ignore();
        return;
    }
    TParentDialog::closeEvent(event);
}

void TPublishWizard::reject() {
    if (Running())
        return;
    done(finished_ ? ResultCode() : 2);
}

// Trovecart - conversion dialog.
#include "gui/dialogs/convert_video_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "common/message_service.h"
#include "gui/widgets/control_names.h"

namespace {

const QString kMessageTitle = QStringLiteral("Media Import Wizard");

} // namespace

TConvertVideoDlg::TConvertVideoDlg(QWidget* parent) : TParentDialog(parent) {
    // No title-bar buttons: the run ends the dialog, or Cancel does.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* image = new QLabel(this);
    image->setPixmap(style()->standardIcon(QStyle::SP_MediaPlay).pixmap(48, 48));
    image->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    LabelTitle = new QLabel(QStringLiteral("Encoding Files"), this);
    QFont larger = LabelTitle->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.4);
    larger.setBold(true);
    LabelTitle->setFont(larger);
    LabelTitle->setStyleSheet(QStringLiteral("color: #1f4e9c;"));
    LabelText = new QLabel(
        QStringLiteral("We are encoding the file you selected. This will take few minutes to complete."),
        this);
    LabelText->setWordWrap(true);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    NameControl(LabelTitle, "LabelTitle");
    NameControl(LabelText, "LabelText");
    NameControl(ProgressBar1, "ProgressBar1", QStringLiteral("Encoding progress"));
    NameControl(CancelBtn, "CancelBtn");

    auto* texts = new QVBoxLayout;
    texts->addWidget(LabelTitle);
    texts->addWidget(LabelText);
    texts->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1, 1);
    bottom->addWidget(CancelBtn);
    texts->addLayout(bottom);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(image);
    layout->addLayout(texts, 1);
    setFixedSize(488, 119);

    Convertor.SetPreview(false);
    Convertor.OnProgress = [this](const TProgressInfo& info) { ConvertorProgress(info); };
    Convertor.OnTerminate = [this](int index, bool, bool exception, const QString& message) {
        ConvertorTerminate(index, exception, message);
    };
    Convertor.OnError = [this](const QString& lastError) { ConvertorError(lastError); };
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
}

TConvertVideoDlg::~TConvertVideoDlg() {
    // A run still going reports nothing more to a dialog that is gone.
    Convertor.OnProgress = nullptr;
    Convertor.OnTerminate = nullptr;
    Convertor.OnError = nullptr;
    Convertor.Stop(true);
}

int TConvertVideoDlg::ProgressPercent(int64_t currentUs, int64_t totalUs) {
    if (totalUs <= 0)
        return 0;
    return static_cast<int>(std::clamp<int64_t>(currentUs * 100 / totalUs, 0, 100));
}

void TConvertVideoDlg::showEvent(QShowEvent* event) {
    TParentDialog::showEvent(event);
    if (started_)
        return;
    started_ = true;
    // Ended from the event loop: done() inside the show would not end exec().
    if (Convertor.QueuedCount() < 1) {
        // Queueing failed and was reported before the dialog showed.
        QTimer::singleShot(0, this, [this] { done(mrCancel); });
        return;
    }
    Convertor.Start(1);
}

void TConvertVideoDlg::ConvertorProgress(const TProgressInfo& info) {
    ProgressBar1->setValue(ProgressPercent(info.CurrentDuration, info.TotalDuration));
}

void TConvertVideoDlg::ConvertorTerminate(int index, bool exception, const QString& message) {
    if (index == -1)
        return;
    QString text;
    int result = mrOk;
    if (cancelled_) {
        text = QStringLiteral("Task cancalled by user.");
        result = mrCancel;
    } else if (exception) {
        text = QStringLiteral("Tasks Did Not Complete Correctly. Error : ") + message;
        result = mrNo;
    }
    if (!text.isEmpty())
        MessageService().ShowMessageBox(this, text, mkError, QStringLiteral("Finish Encode"), kMessageTitle);
    done(result);
}

void TConvertVideoDlg::ConvertorError(const QString& lastError) {
    MessageService().ShowMessageBox(this, lastError, mkError, QStringLiteral("Error during encoding"),
                                    kMessageTitle);
    done(mrCancel);
}

void TConvertVideoDlg::reject() {
    if (CancelBtn->isEnabled())
        CancelBtnClick();
}

void TConvertVideoDlg::CancelBtnClick() {
    if (MessageService().AskQuestion(
            this, QStringLiteral("Are you sure you want to cancel the Current process ?"), false,
            mkInformation, QStringLiteral("Cancel Process ?"), kMessageTitle) != mrYes)
        return;
    cancelled_ = true;
    Convertor.Stop(true);
    CancelBtn->setEnabled(false);
}

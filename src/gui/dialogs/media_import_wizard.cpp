// Trovecart - media import dialog.
#include "gui/dialogs/media_import_wizard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/app_error.h"
#include "common/app_info.h"
#include "common/dialog_service.h"
#include "common/time_texts.h"
#include "gui/dialogs/convert_video_dlg.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/duration_edit.h"
#include "gui/widgets/player_controls.h"
#include "gui/widgets/ql_track_bar_ex.h"
#include "gui/widgets/video_panel.h"
#include "media/av_libraries.h"

namespace {

QLineEdit* NewTimeBox(QWidget* parent) {
    auto* box = new QLineEdit(QStringLiteral("00:00:00"), parent);
    box->setReadOnly(true);
    return box;
}

} // namespace

TMediaImportWizard::TMediaImportWizard(QWidget* parent) : TParentDialog(parent) {
    EnsureLibrariesLoaded();
    player_.SetSeekByFrame(true);
    player_.SetSeekToAny(true);

    Display = new TVideoPanel(this);
    Display->setMinimumHeight(200);
    NameControl(Display, "Display", QStringLiteral("Video"));
    Controls = new TPlayerControls(player_, *Display, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Display, 1);
    layout->addWidget(Controls);
    layout->addWidget(BuildOptions());
    setMinimumSize(606, 511);
    resize(640, 540);
    SetLoaded(false);
    SetMediaKind(TMediaKind::Video);
}

TMediaImportWizard::~TMediaImportWizard() {
    player_.Stop(true);
}

QWidget* TMediaImportWizard::BuildOptions() {
    auto* options = new QWidget(this);
    EditFileName = new QLineEdit(options);
    btnBrowse = new QPushButton(QStringLiteral("Browse..."), options);
    EditStart = NewTimeBox(options);
    btnSetStart = new QPushButton(QStringLiteral("Set Start"), options);
    EditEnd = NewTimeBox(options);
    btnSetend = new QPushButton(QStringLiteral("Set End"), options);
    EditDuration = NewDurationEdit(options);
    btnSShot = new QPushButton(QStringLiteral("Capture \nScreenshot "), options);
    btnSShot->setMinimumHeight(56);
    LabelShotTime = new QLabel(QStringLiteral("N/A"), options);
    BtnOK = new QPushButton(QStringLiteral("OK"), options);
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("Cancel"), options);

    NameControl(EditFileName, "EditFileName", QStringLiteral("File Name"));
    NameControl(btnBrowse, "btnBrowse");
    NameControl(EditStart, "EditStart", QStringLiteral("Preview Start"));
    NameControl(btnSetStart, "btnSetStart");
    NameControl(EditEnd, "EditEnd", QStringLiteral("Preview End"));
    NameControl(btnSetend, "btnSetend");
    NameControl(EditDuration, "EditDuration", QStringLiteral("Duration"));
    NameControl(btnSShot, "btnSShot", QStringLiteral("Capture Screenshot"));
    NameControl(LabelShotTime, "LabelShotTime", QStringLiteral("Screen shot frame"));
    NameControl(BtnOK, "BtnOK");
    NameControl(BtnCancel, "BtnCancel");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("File Name"), options), 0, 0);
    grid->addWidget(EditFileName, 0, 1, 1, 3);
    grid->addWidget(btnBrowse, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Preview Start"), options), 1, 0);
    grid->addWidget(EditStart, 1, 1);
    grid->addWidget(btnSetStart, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Preview End"), options), 2, 0);
    grid->addWidget(EditEnd, 2, 1);
    grid->addWidget(btnSetend, 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Duration"), options), 3, 0);
    grid->addWidget(EditDuration, 3, 1, Qt::AlignLeft);
    grid->addWidget(btnSShot, 1, 3, 2, 2);
    auto* shot = new QHBoxLayout;
    shot->addWidget(new QLabel(QStringLiteral("Screen shot frame"), options));
    shot->addWidget(LabelShotTime, 1);
    grid->addLayout(shot, 3, 3, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* column = new QVBoxLayout(options);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(grid);
    column->addLayout(buttons);

    connect(btnBrowse, &QPushButton::clicked, this, [this] { btnBrowseClick(); });
    connect(EditFileName, &QLineEdit::returnPressed, this, [this] { LoadFile(EditFileName->text()); });
    connect(btnSetStart, &QPushButton::clicked, this, [this] { btnSetStartClick(); });
    connect(btnSetend, &QPushButton::clicked, this, [this] { btnSetendClick(); });
    connect(btnSShot, &QPushButton::clicked, this, [this] { btnSShotClick(); });
    connect(BtnOK, &QPushButton::clicked, this, [this] { BtnOKClick(); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { BtnCancelClick(); });
    return options;
}

void TMediaImportWizard::SetMediaKind(TMediaKind kind) {
    kind_ = kind;
    const bool video = kind == TMediaKind::Video;
    setWindowTitle(video ? QStringLiteral("Import Video Preview") : QStringLiteral("Import Audio Preview"));
    btnSShot->setVisible(video);
}

void TMediaImportWizard::SetDurationText(const QString& duration) {
    EditDuration->setText(duration);
}

void TMediaImportWizard::SetLoaded(bool loaded) {
    for (QWidget* control :
         {static_cast<QWidget*>(btnSetStart), static_cast<QWidget*>(btnSetend),
          static_cast<QWidget*>(btnSShot), static_cast<QWidget*>(BtnOK), static_cast<QWidget*>(EditDuration)})
        control->setEnabled(loaded);
    Controls->SetButtonsEnabled(loaded);
    Controls->SetSlidersEnabled(loaded);
}

void TMediaImportWizard::ShowClip() {
    EditStart->setText(FormatTimeCode(clip_.Start));
    EditEnd->setText(FormatTimeCode(clip_.End));
}

bool TMediaImportWizard::LoadFile(const QString& fileName) {
    Controls->StopPlayer();
    QString message;
    if (!probe_.Open(fileName, message)) {
        MessageService().ShowMessageBox(this, message, mkError, QStringLiteral("File Load Error"),
                                        QStringLiteral("Video Convertor"));
        clip_ = TClip();
        fileName_.clear();
        SetLoaded(false);
        EditDuration->setText(QStringLiteral("00:00:00"));
        return false;
    }
    TFileStreamInfo info;
    probe_.GetFileInfo(info);
    snapshot_ = QImage();
    LabelShotTime->setText(QStringLiteral("N/A"));
    Controls->SetMedia(fileName, info.Duration, probe_.StreamCount());
    fileName_ = fileName;
    EditFileName->setText(fileName);
    SetLoaded(true);
    Controls->Play();
    SetMediaKind(MediaKindOfFile(fileName));
    EditDuration->setText(DurationText(info.Duration));
    clip_ = {0, std::max<int64_t>(0, info.Duration)};
    ShowClip();
    Controls->TrackBar1->SetSelStart(0);
    Controls->TrackBar1->SetSelEnd(Controls->TrackBar1->maximum());
    return true;
}

void TMediaImportWizard::btnBrowseClick() {
    if (const std::optional<QString> chosen =
            DialogService().OpenFileName(this, FileFilter, QString(), QString()))
        LoadFile(*chosen);
}

void TMediaImportWizard::btnSetStartClick() {
    clip_.Start = player_.CurrentPosition();
    EditStart->setText(FormatTimeCode(clip_.Start));
    Controls->TrackBar1->SetSelStart(Controls->TrackBar1->value());
}

void TMediaImportWizard::btnSetendClick() {
    clip_.End = player_.CurrentPosition();
    EditEnd->setText(FormatTimeCode(clip_.End));
    Controls->TrackBar1->SetSelEnd(Controls->TrackBar1->value());
}

void TMediaImportWizard::btnSShotClick() {
    snapshot_ = player_.CurrentFrame().copy();
    LabelShotTime->setText(FormatTimeCode(player_.CurrentPosition()));
}

void TMediaImportWizard::BtnOKClick() {
    if (!clip_.IsValid()) {
        MessageService().ShowMessageBox(this, kClipOrderMessage, mkError, QStringLiteral("Invalid Input"),
                                        QStringLiteral("Media Import Wizard"));
        return;
    }
    Controls->StopPlayer();
    const int result = Convert();
    if (result != mrNone)
        done(result);
}

int TMediaImportWizard::Convert() {
    TMediaImport import(*Shop, *Item, {fileName_, kind_, clip_, snapshot_, EditDuration->text()});
    TConvertVideoDlg converter(this);
    try {
        import.Queue(converter.Convertor);
    } catch (const EAppError& error) {
        // The source went away since it was loaded: the dialog stays open.
        MessageService().ShowMessageBox(this, error.Message(), mkError, ProgramCaption(), ProgramCaption());
        return mrNone;
    }
    int result = converter.ShowModal();
    try {
        import.Finish(result);
    } catch (const EAppError& error) {
        MessageService().ShowMessageBox(this, error.Message(), mkError, ProgramCaption(), ProgramCaption());
        result = mrCancel;
    }
    return result;
}

// Trovecart - music and video product frame.
#include "gui/frames/av_item_frame.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/message_service.h"
#include "gui/dialogs/media_import_wizard.h"
#include "gui/file_filter.h"
#include "gui/frames/picture_dialog.h"
#include "gui/general_error.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/duration_edit.h"
#include "gui/widgets/player_controls.h"
#include "gui/widgets/video_panel.h"
#include "media/av_libraries.h"
#include "shop/media_files.h"
#include "shop/shop_document.h"

namespace {

const QString kNoPreviewFile = QStringLiteral("No preview file");
const QString kAudioPatterns = QStringLiteral(
    "*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.FLAC;*.M4A;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;"
    "*.AC3;*.DTS;");

QString SourceFilter(bool video) {
    return video ? QStringLiteral("Video Files|") + kVideoPatterns + QStringLiteral("|All Files|*.*")
                 : QStringLiteral("Audio Files|") + kAudioPatterns + QStringLiteral("|All Files|*.*");
}

} // namespace

TAVItemFrame::TAVItemFrame(QWidget* parent) : TItemBaseFrame(parent) {
    EnsureLibrariesLoaded();
    player_.SetSeekByFrame(true);
    player_.SetSeekToAny(true);

    Display = new TVideoPanel(this);
    Display->setMinimumSize(160, 120);
    Display->SetCaption(kNoPreviewFile);
    Controls = new TPlayerControls(player_, *Display, this);
    BtnChangePic = new QPushButton(QStringLiteral("Change Thumbnail"), this);
    BtnChangePreview = new QPushButton(QStringLiteral("Load Video"), this);
    EditDuration = NewDurationEdit(this);
    auto* durationLabel = new QLabel(QStringLiteral("File Duration:"), this);
    durationLabel->setBuddy(EditDuration);
    NameControl(Display, "Display", QStringLiteral("Preview"));
    NameControl(BtnChangePic, "BtnChangePic");
    NameControl(BtnChangePreview, "BtnChangePreview");
    NameControl(EditDuration, "EditDuration", QStringLiteral("File Duration:"));

    auto* duration = new QWidget(this);
    auto* durationRow = new QHBoxLayout(duration);
    durationRow->setContentsMargins(0, 0, 0, 0);
    durationRow->addWidget(durationLabel);
    durationRow->addWidget(EditDuration);
    durationRow->addStretch();
    // One above the other: side by side they make the frame too wide for a 1024-pixel window.
    auto* buttons = new QWidget(this);
    auto* buttonColumn = new QVBoxLayout(buttons);
    buttonColumn->setContentsMargins(0, 0, 0, 0);
    buttonColumn->addWidget(BtnChangePic);
    buttonColumn->addWidget(BtnChangePreview);
    AddToMediaColumn(Display, 1);
    AddToMediaColumn(Controls);
    AddToMediaColumn(duration);
    AddToMediaColumn(buttons);

    connect(BtnChangePic, &QPushButton::clicked, this,
            [this] { RunReportingErrors([this] { BtnChangePicClick(); }); });
    connect(BtnChangePreview, &QPushButton::clicked, this,
            [this] { RunReportingErrors([this] { BtnChangePreviewClick(); }); });
    connect(EditDuration, &QLineEdit::textChanged, this, [this] { EditDurationChange(); });
}

TAVItemFrame::~TAVItemFrame() {
    ReleasePreview();
}

void TAVItemFrame::LoadFromData() {
    TItemBaseFrame::LoadFromData();
    const TLoadingScope loading(*this);
    EditDuration->setText(Item()->Duration());
    const bool video = Item()->ItemType() == citVideo;
    BtnChangePreview->setText(video ? QStringLiteral("Load Video") : QStringLiteral("Load Audio"));
    BtnChangePreview->setIcon(style()->standardIcon(video ? QStyle::SP_MediaPlay : QStyle::SP_MediaVolume));
    Controls->StopPlayer();

    const QString preview = Shop()->Workspace().MediaFolder(TWorkspace::TMedia::Preview) + Item()->Preview();
    QString message;
    const bool opened = !Item()->Preview().isEmpty() && probe_.Open(preview, message);
    if (opened) {
        TFileStreamInfo info;
        probe_.GetFileInfo(info);
        Controls->SetMedia(preview, info.Duration, probe_.StreamCount());
    } else {
        probe_.Close();
    }
    Display->SetCaption(opened ? QString() : kNoPreviewFile);
    Controls->SetSlidersEnabled(opened);
    Controls->SetButtonsEnabled(opened);
}

void TAVItemFrame::LeaveFrame() {
    TItemBaseFrame::LeaveFrame();
    ReleasePreview();
}

void TAVItemFrame::ReleasePreview() {
    probe_.Close();
    Controls->StopPlayer();
}

void TAVItemFrame::EditDurationChange() {
    if (Loading() || !Item())
        return;
    Item()->SetDuration(EditDuration->text());
    MarkModified();
}

void TAVItemFrame::BtnChangePicClick() {
    const std::optional<TChosenPicture> chosen = ChoosePicture(window());
    if (!chosen)
        return;
    const TShopConfig& config = Shop()->ShopConfig();
    // Made before the old thumbnail goes, so that a failure leaves the product as it was.
    const QString thumb = CreateThumbnailFile(chosen->Picture, config.ThumbWidth(), config.ThumbHeight(),
                                              Shop()->WorkFolder(), chosen->Png);
    Item()->SetImage(QString());
    if (!Item()->Thumb().isEmpty())
        QFile::remove(Shop()->Workspace().MediaFolder(TWorkspace::TMedia::Thumb) + Item()->Thumb());
    Item()->SetThumb(thumb);
    MarkModified();
}

void TAVItemFrame::BtnChangePreviewClick() {
    ReleasePreview();
    TMediaImportWizard wizard(window());
    wizard.Item = Item();
    wizard.Shop = Shop();
    wizard.SetDurationText(Item()->Duration());
    const bool video = Item()->ItemType() == citVideo;
    wizard.SetMediaKind(video ? TMediaKind::Video : TMediaKind::Audio);
    wizard.FileFilter = QtNameFilters(SourceFilter(video));
    if (wizard.ShowModal() == mrOk)
        LoadFromData();
}

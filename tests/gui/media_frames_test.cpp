// Trovecart tests - music and video products: their frame with its player, and the media import
// dialog converting real clips into the product.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "editor_fixture.h"
#include "gui/dialogs/media_import_wizard.h"
#include "gui/frames/av_item_frame.h"
#include "gui/widgets/image_button_ex.h"
#include "gui/widgets/player_controls.h"
#include "gui/widgets/ql_track_bar_ex.h"
#include "gui/widgets/video_panel.h"
#include "media/av_probe.h"
#include "support/media_fixtures.h"

namespace {

constexpr int64_t kFrameUs = 40000;

// First: A (general), B (music); Second: C (video), D (general).
class MediaFrames : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        NewProject();
        console->Shop()->SetModified(false);
    }
    QString WorkFile(const QString& relative) const { return console->Shop()->WorkFolder() + relative; }
    TCartItem* Video() const { return Product(1, 0); }
    // Pauses and drags the position slider of the wizard to the millisecond, as a user does, and
    // waits until the player shows that moment.
    static bool DragTo(TMediaImportWizard& wizard, int milliseconds) {
        wizard.Player().Pause();
        TPlayerControls& controls = *wizard.Controls;
        controls.TrackBar1MouseDown(Qt::LeftButton);
        controls.TrackBar1->setValue(milliseconds);
        controls.TrackBar1MouseUp(Qt::LeftButton);
        const int64_t target = int64_t{milliseconds} * 1000;
        return WaitFor([&] { return std::llabs(wizard.Player().CurrentPosition() - target) < kFrameUs; },
                       10000);
    }
    static int64_t ProbedDuration(const QString& file, QString* format = nullptr) {
        TAVProbe probe;
        QString message;
        if (!probe.Open(file, message))
            return -1;
        TFileStreamInfo info;
        probe.GetFileInfo(info);
        if (format)
            *format = probe.FormatName();
        return info.Duration;
    }
    std::unique_ptr<TMediaImportWizard> NewWizard(TCartItem* item) {
        auto wizard = std::make_unique<TMediaImportWizard>(console.get());
        wizard->Item = item;
        wizard->Shop = console->Shop();
        wizard->SetMediaKind(item->ItemType() == citVideo ? TMediaKind::Video : TMediaKind::Audio);
        wizard->SetDurationText(item->Duration());
        return wizard;
    }
};

TEST_F(MediaFrames, MediaProductsGetTheMediaFrameWithItsPlayerIdleWithoutAPreview) {
    EXPECT_EQ(ShowFrame<TAVItemFrame>(ProductNode(0, 0)), nullptr)
        << "a general product keeps the image frame";
    auto* music = ShowFrame<TAVItemFrame>(ProductNode(0, 1));
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->BtnChangePreview->text(), "Load Audio");
    auto* video = ShowFrame<TAVItemFrame>(ProductNode(1, 0));
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->BtnChangePreview->text(), "Load Video");
    EXPECT_EQ(video->BtnChangePic->text(), "Change Thumbnail");
    EXPECT_EQ(video->Display->Caption(), "No preview file");
    for (QWidget* control :
         {static_cast<QWidget*>(video->Controls->btnPlay), static_cast<QWidget*>(video->Controls->BtnPause),
          static_cast<QWidget*>(video->Controls->TrackBar1),
          static_cast<QWidget*>(video->Controls->TrackBarValume)})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_EQ(video->Controls->TrackBarValume->value(), 191);
    EXPECT_EQ(video->Controls->TrackBarValume->toolTip(), "Volume 75%");

    EXPECT_FALSE(console->Shop()->Modified()) << "loading changes nothing";
    video->EditDuration->setText("00:03:00");
    EXPECT_EQ(Video()->Duration(), "00:03:00");
    EXPECT_TRUE(console->Shop()->Modified());
}

TEST_F(MediaFrames, PreviewPlaysToItsEndReturnsToTheStartAndStopsWhenLeft) {
    QDir().mkpath(WorkFile("preview"));
    ASSERT_TRUE(QFile::copy(TMediaFiles::Get().Video(), WorkFile("preview/clip.mp4")));
    Video()->SetPreview("clip.mp4");
    auto* frame = ShowFrame<TAVItemFrame>(ProductNode(1, 0));
    ASSERT_NE(frame, nullptr);
    TPlayerControls& controls = *frame->Controls;
    EXPECT_EQ(frame->Display->Caption(), "");
    EXPECT_TRUE(controls.btnPlay->isEnabled());
    EXPECT_TRUE(controls.TrackBar1->isEnabled());
    EXPECT_NEAR(controls.TrackBar1->maximum(), 2000, 50) << "milliseconds of the preview";

    EXPECT_EQ(frame->Player().AudioVolume(), 128) << "the player's own volume until the slider moves";
    controls.TrackBarValume->setValue(255);
    EXPECT_EQ(frame->Player().AudioVolume(), 255);
    EXPECT_EQ(controls.TrackBarValume->toolTip(), "Volume 100%");

    QList<TPlayState> states;
    QObject::connect(&frame->Player(), &TFFPlayer::OnState, frame, [&states](TPlayState s) { states << s; });
    controls.btnPlay->click();
    ASSERT_TRUE(WaitFor([&] { return controls.TrackBar1->value() > 0; }, 10000));
    EXPECT_TRUE(controls.btnPlay->Latched());
    ASSERT_TRUE(WaitFor([&] { return states.contains(psEnd) && controls.State() == psPause; }, 10000));
    EXPECT_EQ(controls.TrackBar1->value(), 0);
    EXPECT_TRUE(controls.BtnPause->Latched());
    controls.btnPlay->click();
    ASSERT_TRUE(WaitFor([&] { return controls.State() == psResume; }, 5000));
    EXPECT_LT(frame->Player().CurrentPosition(), 1000000) << "the next play starts from the beginning";

    ShowFrame<TBaseFrame>(ProductNode(0, 0));
    EXPECT_FALSE(frame->Player().IsOpen()) << "leaving the frame frees the preview file";
}

TEST_F(MediaFrames, ImportDialogRefusesWhatItCannotUseAndConvertsTheMarkedClip) {
    QDir().mkpath(WorkFile("thumb"));
    WriteFile(WorkFile("thumb/old_Thumb.png"), "png");
    Video()->SetThumb("old_Thumb.png");
    auto wizard = NewWizard(Video());
    EXPECT_EQ(wizard->windowTitle(), "Import Video Preview");
    EXPECT_FALSE(wizard->BtnOK->isEnabled());
    EXPECT_FALSE(wizard->btnSetStart->isEnabled());
    EXPECT_TRUE(wizard->btnBrowse->isEnabled());
    EXPECT_EQ(wizard->minimumSize(), QSize(606, 511));

    EXPECT_FALSE(wizard->LoadFile(TMediaFiles::Get().Garbage()));
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_TRUE(messages.Calls()[0].text.endsWith(": Unknown format"));
    EXPECT_EQ(messages.Calls()[0].heading, "File Load Error");
    EXPECT_EQ(messages.Calls()[0].title, "Video Convertor");
    EXPECT_FALSE(wizard->BtnOK->isEnabled());
    EXPECT_FALSE(wizard->EditDuration->isEnabled());

    ASSERT_TRUE(wizard->LoadFile(TMediaFiles::Get().Video()));
    EXPECT_TRUE(wizard->BtnOK->isEnabled());
    EXPECT_EQ(wizard->EditDuration->text(), "00:00:02");
    EXPECT_EQ(wizard->Clip().Start, 0);
    EXPECT_NEAR(wizard->Clip().End, 2000000, kFrameUs) << "the whole source until the user marks a clip";
    EXPECT_TRUE(wizard->btnSShot->isVisibleTo(wizard.get()));
    ASSERT_TRUE(WaitFor([&] { return !wizard->Player().CurrentFrame().isNull(); }, 10000))
        << "it plays at once";

    // Start after end is refused and the dialog stays.
    ASSERT_TRUE(DragTo(*wizard, 1500));
    wizard->btnSetStartClick();
    ASSERT_TRUE(DragTo(*wizard, 500));
    wizard->btnSetendClick();
    wizard->BtnOKClick();
    ASSERT_EQ(messages.Calls().size(), 2u);
    EXPECT_EQ(messages.Calls()[1].text, "End time must be grater then start time.");
    EXPECT_EQ(messages.Calls()[1].heading, "Invalid Input");
    EXPECT_EQ(messages.Calls()[1].title, "Media Import Wizard");
    EXPECT_EQ(wizard->result(), 0);

    ASSERT_TRUE(DragTo(*wizard, 1000));
    wizard->btnSetStartClick();
    EXPECT_EQ(wizard->EditStart->text(), "00:00:01.000");
    wizard->btnSShotClick();
    EXPECT_FALSE(wizard->Snapshot().isNull());
    EXPECT_EQ(wizard->LabelShotTime->text(), "00:00:01.000");
    ASSERT_TRUE(DragTo(*wizard, 1500));
    wizard->btnSetendClick();
    EXPECT_LT(wizard->Controls->TrackBar1->SelStart(), wizard->Controls->TrackBar1->SelEnd());
    wizard->EditDuration->setText("00:03:00");
    wizard->BtnOKClick();
    EXPECT_EQ(wizard->result(), mrOk);

    QString format;
    ProbedDuration(WorkFile("preview/") + Video()->Preview(), &format);
    EXPECT_EQ(format, "flv");
    EXPECT_NEAR(VideoFrameCount(WorkFile("preview/") + Video()->Preview()), 13, 1) << "0.5 s at 25 fps";
    EXPECT_TRUE(Video()->Thumb().endsWith("_Thumb.png"));
    EXPECT_FALSE(QFile::exists(WorkFile("thumb/old_Thumb.png")));
    EXPECT_EQ(Video()->Duration(), "00:03:00");
    EXPECT_TRUE(console->Shop()->Modified());
    EXPECT_EQ(QDir(WorkFile("preview")).entryList(QDir::Files),
              (QStringList{Video()->Preview(), Video()->Preview().chopped(4) + ".mp4"}))
        << "the preview and its web copy";
}

TEST_F(MediaFrames, SoundChosenForAVideoProductMakesAnMp3PreviewWithoutThumbnail) {
    const QString song = WorkFile("../song.mp3");
    ASSERT_TRUE(QFile::copy(TMediaFiles::Get().Mono(), song));
    Video()->SetThumb("kept_Thumb.png");
    auto wizard = NewWizard(Video());
    ASSERT_TRUE(wizard->LoadFile(song));
    EXPECT_EQ(wizard->windowTitle(), "Import Audio Preview");
    EXPECT_FALSE(wizard->btnSShot->isVisibleTo(wizard.get()));
    wizard->BtnOKClick();
    EXPECT_EQ(wizard->result(), mrOk);
    EXPECT_TRUE(Video()->Preview().endsWith(".mp3"));
    QString format;
    EXPECT_NEAR(ProbedDuration(WorkFile("preview/") + Video()->Preview(), &format), 2000000, 60000);
    EXPECT_EQ(format, "mp3");
    EXPECT_EQ(Video()->Thumb(), "kept_Thumb.png");
    EXPECT_EQ(Video()->Image(), "");

    // The frame shows the new preview after the dialog said OK.
    auto* frame = ShowFrame<TAVItemFrame>(ProductNode(1, 0));
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->Controls->btnPlay->isEnabled());
}

} // namespace

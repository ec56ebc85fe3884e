// Trovecart tests - the conversion dialog on real conversions: results, messages and cancelling.
#include <QDir>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "gui/dialogs/convert_video_dlg.h"
#include "gui_application.h"
#include "media/preview_options.h"
#include "support/media_fixtures.h"
#include "support/scripted_message_service.h"

namespace {

class ConvertVideoDlg : public ::testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }
    // Queues a video preview of the source on the dialog; the target's name.
    QString Queue(TConvertVideoDlg& dialog, const QString& source, const QString& folder) {
        TInputOptions input;
        TOutputOptions output;
        BuildPreviewOptions(source, TMediaKind::Video, {0, 60000000}, folder + "preview.flv", input, output);
        EXPECT_EQ(dialog.Convertor.AddConversion(input, output, true), 0);
        return output.FileName;
    }
    // Runs `action` once the dialog shows and runs.
    static void AfterShow(const std::function<void()>& action) { QTimer::singleShot(0, action); }

    TScriptedMessageService messages;
    TTempFolder out;
};

TEST_F(ConvertVideoDlg, FinishedConversionClosesWithOkAndNoMessage) {
    TConvertVideoDlg dialog;
    EXPECT_EQ(dialog.size(), QSize(488, 119));
    const QString target = Queue(dialog, TMediaFiles::Get().Video(), out.Path());
    // Answering No to the cancel question lets the conversion go on.
    messages.QueueAnswer(mrNo);
    AfterShow([&dialog] { dialog.CancelBtnClick(); });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_TRUE(messages.Calls()[0].question);
    EXPECT_TRUE(dialog.CancelBtn->isEnabled());
    EXPECT_TRUE(QFile::exists(target));
}

TEST_F(ConvertVideoDlg, ConfirmedCancelStopsWithinASecond) {
    TConvertVideoDlg dialog;
    const QString target = Queue(dialog, TMediaFiles::Get().LongVideo(), out.Path());
    messages.QueueAnswer(mrYes);
    QElapsedTimer sinceCancel;
    dialog.Convertor.Engine().SetProgressInterval(100);
    QObject::connect(dialog.ProgressBar1, &QProgressBar::valueChanged, &dialog, [&] {
        if (!sinceCancel.isValid()) {
            sinceCancel.start();
            dialog.CancelBtnClick();
        }
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    ASSERT_TRUE(sinceCancel.isValid()) << "the conversion reported progress";
    EXPECT_LT(sinceCancel.elapsed(), 1000);
    const auto calls = messages.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, "Are you sure you want to cancel the Current process ?");
    EXPECT_EQ(calls[0].heading, "Cancel Process ?");
    EXPECT_EQ(calls[0].title, "Media Import Wizard");
    EXPECT_EQ(calls[0].kind, mkInformation);
    EXPECT_EQ(calls[1].text, "Task cancalled by user.");
    EXPECT_EQ(calls[1].heading, "Finish Encode");
    EXPECT_EQ(calls[1].kind, mkError);
    EXPECT_FALSE(dialog.CancelBtn->isEnabled());
}

TEST_F(ConvertVideoDlg, EngineErrorShowsBothMessagesAndEndsWithCancel) {
    TConvertVideoDlg dialog;
    QDir().mkpath(out.File("gone"));
    const QString target = Queue(dialog, TMediaFiles::Get().Video(), out.File("gone/"));
    // The target's folder disappears before the run can write into it.
    QDir(out.File("gone")).removeRecursively();
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    const auto calls = messages.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0].text.startsWith("Tasks Did Not Complete Correctly. Error : "))
        << calls[0].text.toStdString();
    EXPECT_EQ(calls[0].heading, "Finish Encode");
    EXPECT_TRUE(calls[1].text.startsWith("Time Stamp : \t"));
    EXPECT_EQ(calls[1].heading, "Error during encoding");
    EXPECT_EQ(calls[1].title, "Media Import Wizard");
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(ConvertVideoDlg, ConversionRefusedBeforeShowEndsWithCancelAtOnce) {
    TConvertVideoDlg dialog;
    TInputOptions input;
    input.FileName = TMediaFiles::Get().Garbage();
    TOutputOptions output;
    output.FileName = out.File("never.flv");
    EXPECT_EQ(dialog.Convertor.AddConversion(input, output, true), -1);
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].heading, "Error during encoding");
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(messages.Calls().size(), 1u) << "nothing more is said";
}

} // namespace

// Trovecart - runs one queued conversion and shows its progress.
#pragma once

#include <cstdint>

#include "gui/dialogs/parent_dialog.h"
#include "media/video_convertor.h"

class QLabel;
class QProgressBar;
class QPushButton;

// The creator queues the conversion on Convertor and shows the dialog modally; the run starts
// when the dialog shows and closes it: OK (1) finished, Cancel (2) cancelled or an error
// recorded, No (7) an engine error.
class TConvertVideoDlg : public TParentDialog {
    Q_OBJECT
public:
    explicit TConvertVideoDlg(QWidget* parent = nullptr);
    ~TConvertVideoDlg() override;

    TVideoConvertor Convertor;

    // Percent of the expected output written, in 64-bit arithmetic.
    static int ProgressPercent(int64_t currentUs, int64_t totalUs);

    void CancelBtnClick();

    QLabel* LabelTitle;
    QLabel* LabelText;
    QProgressBar* ProgressBar1;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;
    // Escape asks as Cancel does: the run, not the key, ends the dialog.
    void reject() override;

private:
    void ConvertorProgress(const TProgressInfo& info);
    void ConvertorTerminate(int index, bool exception, const QString& message);
    void ConvertorError(const QString& lastError);

    bool cancelled_ = false;
    bool started_ = false;
};

// Trovecart - the dialog through which a music or video product gets its preview clip.
#pragma once

#include <QImage>

#include "gui/dialogs/parent_dialog.h"
#include "import/media_import.h"
#include "media/av_probe.h"
#include "media/ff_player.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TCartItem;
class TPlayerControls;
class TShop;
class TVideoPanel;

// Picks and plays a source, marks the clip, captures a thumbnail and converts the clip into the
// product's preview. Returns OK (1) once the product is updated, Cancel (2) or No (7) otherwise.
class TMediaImportWizard : public TParentDialog {
    Q_OBJECT
public:
    // Raises EMediaError when the media engine's libraries cannot be loaded.
    explicit TMediaImportWizard(QWidget* parent = nullptr);
    ~TMediaImportWizard() override;

    TCartItem* Item = nullptr;
    TShop* Shop = nullptr;
    // Qt name filters for the open dialog.
    QString FileFilter;
    // Sets the caption and whether a screenshot can be taken.
    void SetMediaKind(TMediaKind kind);
    TMediaKind MediaKind() const { return kind_; }
    void SetDurationText(const QString& duration);

    // Probes the file and plays it; reports a file that cannot be read and returns false.
    bool LoadFile(const QString& fileName);
    void btnBrowseClick();
    void btnSetStartClick();
    void btnSetendClick();
    void btnSShotClick();
    void BtnOKClick();
    void BtnCancelClick() { CloseWithCancel(); }

    const TClip& Clip() const { return clip_; }
    const QImage& Snapshot() const { return snapshot_; }
    TFFPlayer& Player() { return player_; }

    TVideoPanel* Display;
    TPlayerControls* Controls;
    QLineEdit* EditFileName;
    QPushButton* btnBrowse;
    QLineEdit* EditStart;
    QPushButton* btnSetStart;
    QLineEdit* EditEnd;
    QPushButton* btnSetend;
    QLineEdit* EditDuration;
    QPushButton* btnSShot;
    QLabel* LabelShotTime;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

private:
    QWidget* BuildOptions();
    void SetLoaded(bool loaded);
    void ShowClip();
    // The conversion dialog's result; the product is updated only with OK.
    int Convert();

    TFFPlayer player_;
    TAVProbe probe_;
    TMediaKind kind_ = TMediaKind::Video;
    QString fileName_;
    TClip clip_;
    QImage snapshot_;
};

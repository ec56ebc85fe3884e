// Trovecart - the frame of a music or video product: the base product frame, the thumbnail, the
// preview clip with a player, and the clip's duration.
#pragma once

#include "gui/frames/item_base_frame.h"
#include "media/av_probe.h"
#include "media/ff_player.h"

class TPlayerControls;
class TVideoPanel;

class TAVItemFrame : public TItemBaseFrame {
    Q_OBJECT
public:
    // Raises EMediaError when the media engine's libraries cannot be loaded.
    explicit TAVItemFrame(QWidget* parent = nullptr);
    ~TAVItemFrame() override;

    void LoadFromData() override;
    // Lets go of the preview file: the player stops and the probe closes it.
    void LeaveFrame() override;
    void BtnChangePicClick();
    // Opens the media import dialog; reloads the product when it updated it.
    void BtnChangePreviewClick();

    QPushButton* BtnChangePic;
    QPushButton* BtnChangePreview;
    QLineEdit* EditDuration;
    TVideoPanel* Display;
    TPlayerControls* Controls;
    TFFPlayer& Player() { return player_; }

private:
    void ReleasePreview();
    void EditDurationChange();

    TFFPlayer player_;
    TAVProbe probe_;
};

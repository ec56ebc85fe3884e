// Trovecart - the frame of a general product: the base product frame and the product's picture.
#pragma once

#include "gui/frames/item_base_frame.h"

class TPicturePanel;

class TImageItemFrame : public TItemBaseFrame {
    Q_OBJECT
public:
    explicit TImageItemFrame(QWidget* parent = nullptr);

    void LoadFromData() override;
    // A hidden frame lets go of its picture; the next LoadFromData reads it again.
    void LeaveFrame() override;
    // Asks for a picture and makes it the product's, with a new thumbnail.
    void BtnChangePicClick();

    TPicturePanel* PanelImage;
    QPushButton* BtnChangePic;

private:
    void ShowPicture();
};

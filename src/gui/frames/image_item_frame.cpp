// Trovecart - image product frame.
#include "gui/frames/image_item_frame.h"

#include <QFile>
#include <QPushButton>

#include "common/app_error.h"
#include "gui/frames/picture_dialog.h"
#include "gui/general_error.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/picture_panel.h"
#include "shop/media_files.h"
#include "shop/shop_document.h"
#include "shop/workspace.h"

namespace {

const QString kNoPreviewFile = QStringLiteral("No preview file");

} // namespace

TImageItemFrame::TImageItemFrame(QWidget* parent) : TItemBaseFrame(parent) {
    PanelImage = new TPicturePanel(this);
    PanelImage->setMinimumSize(160, 120);
    PanelImage->SetCaption(kNoPreviewFile);
    BtnChangePic = new QPushButton(QStringLiteral("Change Image"), this);
    NameControl(PanelImage, "PanelImage", QStringLiteral("Product picture"));
    NameControl(BtnChangePic, "BtnChangePic");
    AddToMediaColumn(PanelImage, 1);
    AddToMediaColumn(BtnChangePic, 0, Qt::AlignRight);
    connect(BtnChangePic, &QPushButton::clicked, this,
            [this] { RunReportingErrors([this] { BtnChangePicClick(); }); });
}

void TImageItemFrame::LoadFromData() {
    TItemBaseFrame::LoadFromData();
    ShowPicture();
}

void TImageItemFrame::LeaveFrame() {
    TItemBaseFrame::LeaveFrame();
    PanelImage->SetPicture(QImage());
}

void TImageItemFrame::ShowPicture() {
    const QString image = Item()->Image();
    const QImage picture =
        image.isEmpty() ? QImage() : QImage(Shop()->WorkFolder() + QStringLiteral("image/") + image);
    PanelImage->SetPicture(picture);
    PanelImage->SetCaption(picture.isNull() ? kNoPreviewFile : QString());
}

void TImageItemFrame::BtnChangePicClick() {
    const std::optional<TChosenPicture> chosen = ChoosePicture(window());
    if (!chosen)
        return;
    const QString work = Shop()->WorkFolder();
    const TWorkspace& workspace = Shop()->Workspace();
    const QString imageFolder = workspace.MediaFolder(TWorkspace::TMedia::Image);
    const TShopConfig& config = Shop()->ShopConfig();
    // The new files are made before the old ones go, so that a failure leaves the product as it
    // was; failures are not reported.
    QString image;
    QString thumb;
    try {
        image = ImportPictureFile(chosen->File, work);
        thumb = CreateThumbnailFile(chosen->Picture, config.ThumbWidth(), config.ThumbHeight(), work,
                                    chosen->Png);
    } catch (const EAppError&) {
        if (!image.isEmpty())
            QFile::remove(imageFolder + image);
        return;
    }
    if (!Item()->Image().isEmpty())
        QFile::remove(imageFolder + Item()->Image());
    if (!Item()->Thumb().isEmpty())
        QFile::remove(workspace.MediaFolder(TWorkspace::TMedia::Thumb) + Item()->Thumb());
    Item()->SetImage(image);
    Item()->SetThumb(thumb);
    ShowPicture();
    MarkModified();
}

// Trovecart - pictures of the main window showing a general product with its picture and both
// option groups, a category with its thumbnails and a music product, at 1024 x 700, at full screen
// and with a large font; the settings page at 1024 x 700 and 800 x 600, a message box and the
// wizard's template grid; given a video, also a video product playing its preview, the media import
// dialog with a clip marked and the conversion dialog during a run. Run under an X server:
// tc_frame_screenshots OUTDIR [VIDEO]
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include "common/dialog_service.h"
#include "common/message_service.h"
#include "gui/dialogs/convert_video_dlg.h"
#include "gui/dialogs/media_import_wizard.h"
#include "gui/frames/av_item_frame.h"
#include "gui/frames/image_item_frame.h"
#include "gui/main_console.h"
#include "gui/qt_message_service.h"
#include "gui/shop_tree.h"
#include "gui/widgets/image_button_ex.h"
#include "gui/widgets/player_controls.h"
#include "gui/wizard/shoping_cart_wizard.h"
#include "media/preview_options.h"
#include "shop/media_files.h"
#include "shop/program_data.h"
#include "shop/shop_data_module.h"
#include "shop/shop_document.h"

namespace {

// Every question is answered No; the picture dialog picks the prepared picture.
class TUnattended : public TMessageService, public TDialogService {
public:
    explicit TUnattended(QString picture) : picture_(std::move(picture)) {}
    using TMessageService::ShowMessageBox;
    int ShowMessageBox(TMessageOwner, const QString&, int, const QString&, const QString&) override {
        return mrOk;
    }
    int AskQuestion(TMessageOwner, const QString&, bool, int, const QString&, const QString&) override {
        return mrNo;
    }
    std::optional<QString> OpenFileName(TMessageOwner, const QString&, const QString&,
                                        const QString&) override {
        return picture_;
    }
    std::optional<QString> SaveFileName(TMessageOwner, const QString&, const QString&,
                                        const QString&) override {
        return std::nullopt;
    }
    bool SelectFolder(const QString&, const QString&, QString&) override { return false; }
    void OpenWithShell(const QString&) override {}

private:
    QString picture_;
};

// A navy T-shirt on a light background, as a shop owner's product photo.
QString DrawProductPhoto(const QString& folder) {
    QImage photo(640, 480, QImage::Format_RGB32);
    photo.fill(QColor(236, 240, 244));
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shirt;
    shirt.moveTo(250, 90);
    shirt.lineTo(170, 130);
    shirt.lineTo(120, 210);
    shirt.lineTo(180, 240);
    shirt.lineTo(215, 200);
    shirt.lineTo(215, 420);
    shirt.lineTo(425, 420);
    shirt.lineTo(425, 200);
    shirt.lineTo(460, 240);
    shirt.lineTo(520, 210);
    shirt.lineTo(470, 130);
    shirt.lineTo(390, 90);
    shirt.quadTo(320, 140, 250, 90);
    p.setPen(QPen(QColor(20, 30, 60), 3));
    p.setBrush(QColor(32, 52, 110));
    p.drawPath(shirt);
    p.setBrush(QColor(255, 190, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(320, 240), 42, 42);
    p.end();
    const QString file = folder + QStringLiteral("/tshirt-photo.jpg");
    photo.save(file, "JPG", 92);
    return file;
}

void Settle(int milliseconds = 400) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

void Shoot(TMainConsole& console, QTreeWidgetItem* node, const QString& file) {
    console.TreeShop()->setCurrentItem(node);
    Settle();
    console.grab().save(file);
    std::printf("%s\n", qPrintable(file));
}

// The first product of that type, and its node.
TCartItem* FirstProductOfType(TMainConsole& console, TCartItemType type, QTreeWidgetItem*& node) {
    TShop& shop = *console.Shop();
    for (int c = 0; c < shop.Categories().Count(); ++c) {
        for (int p = 0; p < shop.Categories().Items(c)->Items().Count(); ++p) {
            TCartItem* product = shop.Categories().Items(c)->Items().Items(p);
            if (product->ItemType() == type) {
                node = console.TreeShop()->NodeAt(TEntryPosition::Product(c, p));
                return product;
            }
        }
    }
    return nullptr;
}

// The import dialog playing the video with a clip marked, then the conversion dialog at work.
void ShootImport(TMainConsole& console, TCartItem& product, const QString& video, const QString& out) {
    TMediaImportWizard wizard(&console);
    wizard.Item = &product;
    wizard.Shop = console.Shop();
    wizard.show();
    wizard.LoadFile(video);
    Settle(2000);
    wizard.btnSetStartClick();
    Settle(3000);
    wizard.btnSetendClick();
    wizard.btnSShotClick();
    Settle(500);
    wizard.grab().save(out + QStringLiteral("media-import.png"));
    wizard.setGeometry(wizard.screen()->availableGeometry());
    Settle(800);
    wizard.grab().save(out + QStringLiteral("media-import-full.png"));
    wizard.Player().Stop(true);

    QTemporaryDir target;
    TConvertVideoDlg converter(&wizard);
    TInputOptions input;
    TOutputOptions output;
    BuildPreviewOptions(video, TMediaKind::Video, {0, 30000000}, target.path() + QStringLiteral("/p.flv"),
                        input, output);
    converter.Convertor.AddConversion(input, output, true);
    converter.show();
    QElapsedTimer timer;
    timer.start();
    while (converter.ProgressBar1->value() < 30 && timer.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    converter.grab().save(out + QStringLiteral("convert-video.png"));
    converter.Convertor.Stop(true);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tc_frame_screenshots OUTDIR\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    QDir().mkpath(out);
    QTemporaryDir work;
    TUnattended services(DrawProductPhoto(work.path()));
    SetMessageService(&services);
    SetDialogService(&services);

    const QString programFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString workFolder = work.path() + QLatin1Char('/');
    TDataModuleShopCart data(true, std::make_unique<TProgramData>(programFolder, workFolder,
                                                                  workFolder + QStringLiteral("settings/")));
    data.DataModuleCreate();
    TMainConsole console(data);
    if (!console.NewProjectFromTemplate(data.ProgramData().TemplateFolder() + QStringLiteral("ClassicBlue/")))
        return 1;
    console.show();
    Settle();

    // The first category gets more products, so that its view shows a row of thumbnails.
    TShop& shop = *console.Shop();
    TCategory* clothing = shop.Categories().Items(0);
    const QStringList colours = {"red", "green", "grey", "sand"};
    for (int i = 0; i < colours.size(); ++i) {
        TCartItem* copy = clothing->Items().Add();
        copy->Assign(*clothing->Items().Items(i % 2));
        copy->SetName(clothing->Items().Items(i % 2)->Name() + QStringLiteral(" (") + colours.at(i) + ')');
        // Each product has files of its own.
        const QString thumbs = shop.WorkFolder() + QStringLiteral("thumb/");
        copy->SetThumb(NewThumbFileName());
        QFile::copy(thumbs + clothing->Items().Items(i % 2)->Thumb(), thumbs + copy->Thumb());
    }
    console.TreeShop()->Mirror(shop);

    QTreeWidgetItem* categoryNode = console.TreeShop()->NodeAt(TEntryPosition::Category(0));
    QTreeWidgetItem* generalNode = console.TreeShop()->NodeAt(TEntryPosition::Product(0, 0));
    QTreeWidgetItem* musicNode = nullptr;
    for (int c = 0; c < shop.Categories().Count() && !musicNode; ++c) {
        for (int p = 0; p < shop.Categories().Items(c)->Items().Count(); ++p) {
            if (shop.Categories().Items(c)->Items().Items(p)->ItemType() == citAudio) {
                musicNode = console.TreeShop()->NodeAt(TEntryPosition::Product(c, p));
                break;
            }
        }
    }
    if (!musicNode)
        return 1;
    const QString video = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QTreeWidgetItem* videoNode = nullptr;
    TCartItem* videoProduct = video.isEmpty() ? nullptr : FirstProductOfType(console, citVideo, videoNode);
    if (videoProduct) {
        QDir().mkpath(shop.WorkFolder() + QStringLiteral("preview"));
        QFile::copy(video, shop.WorkFolder() + QStringLiteral("preview/clip.mp4"));
        videoProduct->SetPreview(QStringLiteral("clip.mp4"));
    }

    console.TreeShop()->setCurrentItem(generalNode);
    auto* general = dynamic_cast<TImageItemFrame*>(console.CurrentFrame());
    if (!general)
        return 1;
    general->BtnChangePicClick();

    const auto shootAll = [&](const QString& suffix) {
        Shoot(console, generalNode,
              out + QStringLiteral("frame-general-product") + suffix + QStringLiteral(".png"));
        Shoot(console, categoryNode,
              out + QStringLiteral("frame-category") + suffix + QStringLiteral(".png"));
        Shoot(console, musicNode,
              out + QStringLiteral("frame-music-product") + suffix + QStringLiteral(".png"));
        if (!videoProduct)
            return;
        console.TreeShop()->setCurrentItem(videoNode);
        if (auto* frame = dynamic_cast<TAVItemFrame*>(console.CurrentFrame())) {
            frame->Controls->btnPlay->click();
            Settle(1500);
            Shoot(console, videoNode,
                  out + QStringLiteral("frame-video-product") + suffix + QStringLiteral(".png"));
            frame->LeaveFrame();
        }
    };
    console.showNormal();
    console.resize(1024, 700);
    shootAll(QStringLiteral("-1024x700"));
    console.setGeometry(console.screen()->availableGeometry());
    shootAll(QStringLiteral("-full"));
    QFont large = console.font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    console.setFont(large);
    console.resize(1024, 700);
    shootAll(QStringLiteral("-1024x700-large-font"));
    console.setFont(QFont());

    // The settings page, also on a screen too small for it, where the page scrolls.
    console.BtnShopSetingsClick();
    for (const QSize size : {QSize(1024, 700), QSize(800, 600)}) {
        console.setMinimumSize(size.boundedTo(console.minimumSize()));
        console.resize(size);
        Shoot(console, console.TreeShop()->Root(),
              out + QStringLiteral("frame-settings-%1x%2.png").arg(size.width()).arg(size.height()));
    }
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(
        &console,
        QStringLiteral(
            "Payment settings you entered appear to be invalid.\r\nPlease correct them and try again."),
        mkError, QStringLiteral("Error In Input"), console.windowTitle(), QMessageBox::Ok);
    box->show();
    Settle();
    box->grab().save(out + QStringLiteral("message-box.png"));
    box->hide();
    TShopingCartWizard wizard(console, data.ProgramData(), &console);
    wizard.ShowTemplatePage();
    wizard.show();
    Settle();
    wizard.grab().save(out + QStringLiteral("wizard-template-grid.png"));
    wizard.hide();
    if (videoProduct)
        ShootImport(console, *videoProduct, video, out);
    shop.SetModified(false);
    return 0;
}

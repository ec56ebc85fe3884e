// Trovecart benchmark - switching between the nodes of a project of 1,000 products, each frame
// shown (made on the first visit, kept on the second), and showing a category of 200 products
// with their thumbnails, which is rebuilt on every selection. Runs on the offscreen platform in a
// 1024 x 700 main window. No other tool edits these shops, so the figures stand alone against
// their goals (a frame under 50 ms, the category under 200 ms, medians).
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include "bench_support.h"
#include "common/file_utils.h"
#include "gui/main_console.h"
#include "gui/shop_tree.h"
#include "shop/program_data.h"
#include "shop/shop_data_module.h"
#include "shop/shop_document.h"

namespace {

constexpr int kCategories = 20;
constexpr int kProductsPerCategory = 50;
constexpr int kLargeCategory = 200;
constexpr int kCategoryRuns = 9;

void WriteText(const QString& path, const QByteArray& text) {
    ForceFolders(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
}

TCartItem* AddProduct(TCategory& category, int index) {
    TCartItem* item = category.Items().Add();
    item->SetName(QStringLiteral("Product %1").arg(index));
    item->SetDescription(QStringLiteral("A product of the benchmark shop."));
    item->SetPrice(10 + index);
    item->SetShipping(2.5);
    TOptionItem* size = item->Options().Add();
    size->SetName(QStringLiteral("Size"));
    size->SetEnabled(true);
    size->Items() = QStringList({"S", "M", "L", "XL"});
    return item;
}

// 1,000 products in 20 categories, a third of each kind, the general ones with a picture; then a
// category of 200 products, each with a thumbnail of its own.
QString MakeProject(const QString& root, TDataModuleShopCart& data) {
    const QString templateFolder = data.ProgramData().TemplateFolder() + QStringLiteral("Bench/");
    WriteText(templateFolder + QStringLiteral("shop.xml"), "<shop id='Bench'><config/><product/></shop>");
    WriteText(templateFolder + QStringLiteral("index.swf"), "FWS");
    TShop shop;
    shop.NewFromTemplate(templateFolder, data.ProgramData().TempFolder());
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(QColor(40, 90, 160));
    picture.save(shop.WorkFolder() + QStringLiteral("image/picture.jpg"), "JPG");
    for (int c = 0; c < kCategories; ++c) {
        TCategory* category = shop.Categories().Add();
        category->SetName(QStringLiteral("Category %1").arg(c));
        for (int p = 0; p < kProductsPerCategory; ++p) {
            TCartItem* item = AddProduct(*category, p);
            item->SetItemType(static_cast<TCartItemType>(p % 3));
            if (item->ItemType() == citImage)
                item->SetImage(QStringLiteral("picture.jpg"));
        }
    }
    TCategory* large = shop.Categories().Add();
    large->SetName(QStringLiteral("Large"));
    QImage thumbnail(100, 75, QImage::Format_ARGB32);
    for (int p = 0; p < kLargeCategory; ++p) {
        TCartItem* item = AddProduct(*large, p);
        item->SetThumb(QStringLiteral("%1_Thumb.png").arg(p));
        thumbnail.fill(QColor::fromHsv(p * 7 % 360, 160, 220));
        thumbnail.save(shop.WorkFolder() + QStringLiteral("thumb/") + item->Thumb(), "PNG");
    }
    const QString project = root + QStringLiteral("/bench.scp");
    shop.SaveProject(project);
    return project;
}

double ShowNode(TMainConsole& console, QTreeWidgetItem* node) {
    QElapsedTimer timer;
    timer.start();
    console.TreeShop()->setCurrentItem(node);
    // Layout and painting of the shown frame.
    QApplication::processEvents();
    console.repaint();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    PrintLoadAverage();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir programFolder;
    QTemporaryDir dataFolder;
    QTemporaryDir settingsFolder;
    TDataModuleShopCart data(
        true, std::make_unique<TProgramData>(programFolder.path(), dataFolder.path(), settingsFolder.path()));
    data.DataModuleCreate();
    TMainConsole console(data);
    console.resize(1024, 700);
    console.show();
    if (!console.OpenProjectFile(MakeProject(programFolder.path(), data)))
        return 1;
    QApplication::processEvents();

    std::vector<QTreeWidgetItem*> products;
    QTreeWidgetItem* root = console.TreeShop()->Root();
    for (int c = 0; c < kCategories; ++c) {
        for (int p = 0; p < root->child(c)->childCount(); ++p)
            products.push_back(root->child(c)->child(p));
    }
    std::vector<double> first;
    std::vector<double> again;
    for (QTreeWidgetItem* node : products)
        first.push_back(ShowNode(console, node));
    for (QTreeWidgetItem* node : products)
        again.push_back(ShowNode(console, node));

    QTreeWidgetItem* large = root->child(kCategories);
    std::vector<double> category;
    for (int run = 0; run < kCategoryRuns; ++run) {
        ShowNode(console, products.front());
        category.push_back(ShowNode(console, large));
    }

    std::printf("product frame, first visit (made): median %.1f ms, slowest %.1f ms (goal < 50 ms)\n",
                Median(first), *std::max_element(first.begin(), first.end()));
    std::printf("product frame, next visit (kept): median %.1f ms, slowest %.1f ms (goal < 50 ms)\n",
                Median(again), *std::max_element(again.begin(), again.end()));
    std::printf("category of %d products with thumbnails: median %.1f ms (goal < 200 ms)\n", kLargeCategory,
                Median(category));
    console.Shop()->SetModified(false);
    return 0;
}

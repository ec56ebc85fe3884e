// Trovecart - category frame.
#include "gui/frames/category_frame.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/picture_fit.h"
#include "gui/general_error.h"
#include "gui/shop_tree.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/doc_error.h"
#include "shop/category.h"
#include "shop/shop_document.h"

namespace {

constexpr int kProductIndexRole = Qt::UserRole;

QPixmap BlankTile() {
    QPixmap tile(TCategoryFrame::kTileSize, TCategoryFrame::kTileSize);
    tile.fill(Qt::white);
    return tile;
}

QPixmap PlaceholderTile() {
    QPixmap tile = BlankTile();
    const QPixmap placeholder = DocError(TCategoryFrame::kTileSize / 2);
    QPainter painter(&tile);
    painter.drawPixmap((tile.width() - placeholder.width()) / 2, (tile.height() - placeholder.height()) / 2,
                       placeholder);
    return tile;
}

// The thumbnail fitted into the tile and centred on white; null when it cannot be read.
QPixmap ThumbnailTile(const QString& file) {
    const QImage thumbnail(file, "PNG");
    if (thumbnail.isNull())
        return QPixmap();
    QImage fitted;
    FitPicture(thumbnail, fitted, TCategoryFrame::kTileSize, TCategoryFrame::kTileSize, true);
    if (fitted.isNull())
        return QPixmap();
    QPixmap tile = BlankTile();
    QPainter painter(&tile);
    painter.drawImage((tile.width() - fitted.width()) / 2, (tile.height() - fitted.height()) / 2, fitted);
    return tile;
}

} // namespace

TCategoryFrame::TCategoryFrame(QWidget* parent) : TBaseFrame(parent) {
    auto* page = new QWidget;
    EditCategoryname = new QLineEdit(page);
    NameControl(EditCategoryname, "EditCategoryname", QStringLiteral("Category name"));
    ListViewItems = new QListWidget(page);
    ListViewItems->setViewMode(QListView::IconMode);
    ListViewItems->setIconSize(QSize(kTileSize, kTileSize));
    ListViewItems->setResizeMode(QListView::Adjust);
    ListViewItems->setMovement(QListView::Static);
    ListViewItems->setWrapping(true);
    ListViewItems->setWordWrap(true);
    ListViewItems->setUniformItemSizes(true);
    ListViewItems->setSpacing(6);
    ListViewItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewItems->setSelectionMode(QAbstractItemView::SingleSelection);
    NameControl(ListViewItems, "ListViewItems", QStringLiteral("Category items"));

    auto* nameLabel = new QLabel(QStringLiteral("Category name"), page);
    nameLabel->setBuddy(EditCategoryname);
    auto* itemsLabel = new QLabel(QStringLiteral("Category items"), page);
    itemsLabel->setBuddy(ListViewItems);
    auto* pageLayout = new QGridLayout(page);
    pageLayout->addWidget(nameLabel, 0, 0);
    pageLayout->addWidget(EditCategoryname, 0, 1);
    pageLayout->addWidget(itemsLabel, 1, 0, 1, 2);
    pageLayout->addWidget(ListViewItems, 2, 0, 1, 2);
    pageLayout->setRowStretch(2, 1);
    pageLayout->setColumnStretch(1, 1);

    auto* pages = new QTabWidget(this);
    pages->addTab(page, QStringLiteral("Category Settings"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages);

    connect(EditCategoryname, &QLineEdit::textChanged, this,
            [this](const QString& text) { StoreEntryName(*category_, text); });
    connect(ListViewItems, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        RunReportingErrors([this, item] { ListViewItemsDblClick(item); });
    });
}

void TCategoryFrame::LoadFromData() {
    {
        TLoadingScope loading(*this);
        EditCategoryname->setText(category_->Name());
    }
    FillProducts();
}

void TCategoryFrame::FillProducts() {
    ListViewItems->setUpdatesEnabled(false);
    ListViewItems->clear();
    const QIcon placeholder(PlaceholderTile());
    const QString thumbs = Shop()->WorkFolder() + QStringLiteral("thumb/");
    const TCartItems& products = category_->Items();
    for (int i = 0; i < products.Count(); ++i) {
        const TCartItem* product = products.Items(i);
        const QPixmap tile =
            product->Thumb().isEmpty() ? QPixmap() : ThumbnailTile(thumbs + product->Thumb());
        auto* item = new QListWidgetItem(tile.isNull() ? placeholder : QIcon(tile), product->Name());
        item->setData(kProductIndexRole, i);
        ListViewItems->addItem(item);
    }
    ListViewItems->setUpdatesEnabled(true);
}

void TCategoryFrame::ListViewItemsDblClick(QListWidgetItem* item) {
    if (!item || !item->isSelected())
        return;
    const TEntryPosition category = TShopTree::PositionOf(Node());
    Commands()->SelectEntry(
        TEntryPosition::Product(category.category, item->data(kProductIndexRole).toInt()));
}

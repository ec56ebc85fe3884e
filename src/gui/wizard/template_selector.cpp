// Trovecart - template selector.
#include "gui/wizard/template_selector.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>

#include "common/file_utils.h"
#include "gui/widgets/control_names.h"
#include "gui/widgets/doc_error.h"
#include "shop/program_data.h"
#include "shop/workspace.h"

namespace {

constexpr int kPlaceholderRole = Qt::UserRole;
const QSize kHostCell(130, 93);

// The picture on white, fitted into the cell.
QPixmap CellPicture(const QImage& picture, const QSize& cell) {
    QPixmap pixmap(cell);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QImage scaled = picture.scaled(cell, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.drawImage((cell.width() - scaled.width()) / 2, (cell.height() - scaled.height()) / 2, scaled);
    return pixmap;
}

} // namespace

TTemplateSelector::TTemplateSelector(const TProgramData& programData, QWidget* parent)
    : QWidget(parent), programData_(programData) {
    ThemeList = new QComboBox(this);
    ThemeList->addItem(QStringLiteral("All templates"));
    for (int i = 0; i < programData.Themes().Count(); ++i)
        ThemeList->addItem(programData.Themes().Items(i).ThemeName());

    ListViewThemplates = new QListWidget(this);
    ListViewThemplates->setViewMode(QListView::IconMode);
    ListViewThemplates->setResizeMode(QListView::Adjust);
    ListViewThemplates->setMovement(QListView::Static);
    ListViewThemplates->setIconSize(QSize(64, 64));
    ListViewThemplates->setMinimumWidth(200);
    ListViewThemplates->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewThemplates->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* labelPreview = new QLabel(QStringLiteral("Preview"), this);
    ImagePreview = new QLabel(this);
    ImagePreview->setAlignment(Qt::AlignCenter);
    ImagePreview->setMinimumSize(240, 180);
    ImagePreview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    ImagePreview->setStyleSheet(QStringLiteral("background: white; border: 1px solid #c0c0c0;"));

    labelPreview->setBuddy(ImagePreview);
    NameControl(ThemeList, "ThemeList", QStringLiteral("Theme"));
    NameControl(ListViewThemplates, "ListViewThemplates", QStringLiteral("Templates"));
    NameControl(ImagePreview, "ImagePreview", QStringLiteral("Preview"));

    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(labelPreview);
    previewColumn->addWidget(ImagePreview, 1);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(ThemeList);
    listColumn->addWidget(ListViewThemplates, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 2);
    layout->addLayout(previewColumn, 3);

    connect(ThemeList, &QComboBox::currentIndexChanged, this, &TTemplateSelector::ThemeListChange);
    connect(ListViewThemplates, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* current) { ListViewThemplatesSelectItem(current); });
    ShowPlaceholder();
}

void TTemplateSelector::SetHostLayout() {
    ThemeList->hide();
    ListViewThemplates->setIconSize(kHostCell);
    ListViewThemplates->setGridSize(kHostCell + QSize(10, 28));
    // The cells flow in rows; the list gets the wider share, so that a row holds several of them.
    ListViewThemplates->setFlow(QListView::LeftToRight);
    ListViewThemplates->setWrapping(true);
    auto* columns = static_cast<QHBoxLayout*>(layout());
    columns->setStretch(0, 2);
    columns->setStretch(1, 1);
}

void TTemplateSelector::ThemeListChange() {
    ListViewThemplates->setUpdatesEnabled(false);
    ListViewThemplates->clear();
    const TThemes& themes = programData_.Themes();
    const int entry = ThemeList->currentIndex();
    const QStringList names = entry <= 0 ? AllTemplateNames(themes) : themes.Items(entry - 1).Carts();
    const QSize cell = ListViewThemplates->iconSize();
    const QPixmap placeholder = DocError(std::min(cell.width(), cell.height()));
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, ListViewThemplates);
        QImageReader reader(TWorkspace::TemplatePictureIn(programData_.TemplatePath(name)), "png");
        const QImage picture = reader.read();
        item->setData(kPlaceholderRole, picture.isNull());
        item->setIcon(picture.isNull() ? QIcon(placeholder) : QIcon(CellPicture(picture, cell)));
    }
    ListViewThemplates->setUpdatesEnabled(true);
}

QString TTemplateSelector::SelectedTemplate() const {
    const QList<QListWidgetItem*> selected = ListViewThemplates->selectedItems();
    return selected.isEmpty() ? QString() : selected.constFirst()->text();
}

void TTemplateSelector::SelectTemplate(const QString& name) {
    const QList<QListWidgetItem*> found = ListViewThemplates->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty())
        ListViewThemplates->setCurrentItem(found.constFirst());
}

void TTemplateSelector::ShowPlaceholder() {
    previewPath_.clear();
    ImagePreview->setPixmap(DocError(256));
}

void TTemplateSelector::ListViewThemplatesSelectItem(QListWidgetItem* item) {
    if (!item)
        return;
    const QString folder = programData_.TemplatePath(item->text());
    const QString frontEnd = TWorkspace::FrontEndIn(folder);
    if (item->data(kPlaceholderRole).toBool() || !FileExistsStrict(frontEnd)) {
        ShowPlaceholder();
        return;
    }
    // The chosen template keeps its preview; it is not made again.
    if (previewPath_ == frontEnd)
        return;
    previewPath_ = frontEnd;
    const QImage picture(TWorkspace::TemplatePictureIn(folder));
    ImagePreview->setPixmap(QPixmap::fromImage(picture.scaled(
        ImagePreview->size().expandedTo(QSize(240, 180)), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

// Trovecart - remote folder content list.
#include "gui/publish/ftp_list_view.h"

#include <vector>

#include <QAbstractTableModel>
#include <QKeyEvent>
#include <QLocale>

#include "common/time_texts.h"
#include "gui/publish/ftp_icon_table.h"

class TFtpListModel : public QAbstractTableModel {
    struct TRow {
        TFtpListItem Entry;
        // Entry of the icon table.
        int Image;
    };

public:
    enum TColumn { colName, colSize, colType, colModified, colCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetEntries(const TFtpListing& listing) {
        beginResetModel();
        rows_.clear();
        rows_.reserve(listing.size());
        TFtpIconTable& icons = TFtpIconTable::Shared();
        for (const TFtpListItem& entry : listing) {
            const int image =
                entry.IsFolder ? TFtpIconTable::kFolder : icons.IndexOfExtension(FileExtension(entry.Name));
            rows_.push_back({entry, image});
        }
        endResetModel();
    }

    const TFtpListItem& Entry(int row) const { return rows_.at(static_cast<size_t>(row)).Entry; }
    int Image(int row) const { return rows_.at(static_cast<size_t>(row)).Image; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : colCount;
    }

    // Texts are made when a view asks for them: a folder of thousands of entries shows only a few.
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const TRow& row = rows_.at(static_cast<size_t>(index.row()));
        if (role == Qt::DisplayRole)
            return Text(row, index.column());
        if (role == Qt::DecorationRole && index.column() == colName)
            return TFtpIconTable::Shared().Icon(row.Image);
        if (role == Qt::TextAlignmentRole && index.column() == colSize)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const QStringList titles = {QStringLiteral("Name"), QStringLiteral("Size"),
                                           QStringLiteral("Type"), QStringLiteral("Date modified")};
        return titles.value(section);
    }

private:
    static QString Text(const TRow& row, int column) {
        const TFtpListItem& entry = row.Entry;
        switch (column) {
        case colName:
            return entry.Name;
        case colSize:
            return entry.IsFolder ? QString() : FormatFileSize(entry.Size);
        case colType:
            if (entry.IsFolder)
                return TFtpIconTable::Shared().TypeName(TFtpIconTable::kFolder);
            // A file without extension reads " File".
            if (FileExtension(entry.Name).isEmpty())
                return QStringLiteral(" File");
            return TFtpIconTable::Shared().TypeName(row.Image);
        case colModified:
            return QLocale().toString(entry.Modified, QLocale::ShortFormat);
        default:
            return QString();
        }
    }

    std::vector<TRow> rows_;
};

TFtpListView::TFtpListView(QWidget* parent) : QListView(parent), model_(new TFtpListModel(this)) {
    setModel(model_);
    setViewMode(QListView::IconMode);
    setIconSize(QSize(32, 32));
    setGridSize(QSize(96, 72));
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWordWrap(true);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListView::doubleClicked, this, [this] {
        if (OnDblClick)
            OnDblClick();
    });
}

void TFtpListView::ShowListing(const TFtpListing& listing, const QString& path, bool force) {
    if (path == currentPath_ && !force)
        return;
    currentPath_ = path;
    model_->SetEntries(listing);
}

int TFtpListView::RowCount() const {
    return model_->rowCount();
}

QString TFtpListView::CellText(int row, int column) const {
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
}

int TFtpListView::ImageIndex(int row) const {
    return model_->Image(row);
}

const TFtpListItem* TFtpListView::SelectedEntry() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? &model_->Entry(current.row()) : nullptr;
}

void TFtpListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5 && OnRefresh) {
        OnRefresh();
        return;
    }
    QListView::keyPressEvent(event);
}

// Trovecart - the content of one remote folder: its folders and files with size, type and date.
#pragma once

#include <functional>

#include <QListView>

#include "publish/ftp_listing.h"

class TFtpListModel;

// Shown as large icons. The model's columns ("Name", "Size", "Type", "Date modified") carry the
// texts a detailed view shows; each row keeps a copy of its entry.
class TFtpListView : public QListView {
    Q_OBJECT
public:
    explicit TFtpListView(QWidget* parent = nullptr);

    // Shows the entries under the path, when the path differs from the one shown or when forced.
    void ShowListing(const TFtpListing& listing, const QString& path, bool force);
    const QString& CurrentPath() const { return currentPath_; }
    int RowCount() const;
    // The texts of a row's column (0 name, 1 size, 2 type, 3 date modified) and its icon entry.
    QString CellText(int row, int column) const;
    int ImageIndex(int row) const;
    // The entry of the current row, or none.
    const TFtpListItem* SelectedEntry() const;

    // Set by the tree the list is attached to.
    std::function<void()> OnDblClick;
    std::function<void()> OnRefresh;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TFtpListModel* model_;
    QString currentPath_;
};

// Trovecart - editing frame base.
#include "gui/frames/base_frame.h"

#include <QTreeWidgetItem>

#include "shop/shop_document.h"

TBaseFrame::TBaseFrame(QWidget* parent) : QWidget(parent) {}

QSize TBaseFrame::minimumSizeHint() const {
    return QWidget::minimumSizeHint().expandedTo(QSize(600, 450));
}

void TBaseFrame::MarkModified() {
    if (shop_ && !loading_)
        shop_->SetModified(true);
}

void TBaseFrame::StoreEntryName(TXMLCollectionItem& entry, const QString& name) {
    if (loading_)
        return;
    entry.SetName(name);
    if (node_)
        node_->setText(0, name);
    MarkModified();
}

void TBaseFrame::Retire() {
    loading_ = true;
    hide();
    deleteLater();
}

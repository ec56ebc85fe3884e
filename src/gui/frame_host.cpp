// Trovecart - frame host.
#include "gui/frame_host.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "gui/frames/base_frame.h"
#include "shop/category.h"
#include "shop/shop_document.h"

TFrameKind FrameKindOf(const TXMLCollectionItem* entry) {
    if (!entry)
        return TFrameKind::Shop;
    if (const auto* product = dynamic_cast<const TCartItem*>(entry)) {
        switch (product->ItemType()) {
        case citImage:
            return TFrameKind::ImageProduct;
        case citVideo:
        case citAudio:
            return TFrameKind::MediaProduct;
        }
        return TFrameKind::BaseProduct;
    }
    return TFrameKind::Category;
}

TFrameHost::TFrameHost(TFrameCommands& commands, QWidget* parent)
    : QWidget(parent), commands_(commands), scroll_(new QScrollArea(this)) {
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
}

void TFrameHost::SetMaker(TFrameKind kind, TFrameMaker maker) {
    makers_.at(static_cast<size_t>(kind)) = std::move(maker);
}

TBaseFrame* TFrameHost::FrameOf(TShop& shop, TXMLCollectionItem* entry, QTreeWidgetItem* node) {
    auto* product = dynamic_cast<TCartItem*>(entry);
    TEditorView* view = entry ? entry->EditorView() : shop.EditorView();
    if (product && !product->EditorValid() && view) {
        DestroyFrameOf(*product);
        view = nullptr;
    }
    if (view)
        return dynamic_cast<TBaseFrame*>(view);

    const TFrameMaker& maker = makers_.at(static_cast<size_t>(FrameKindOf(entry)));
    if (!maker)
        return nullptr;
    std::unique_ptr<TBaseFrame> made = maker(TFrameRequest{shop, entry, node});
    made->SetCommands(&commands_);
    made->hide();
    made->setParent(this);
    TBaseFrame* frame = made.release();
    if (entry)
        entry->SetEditorView(frame);
    else
        shop.SetEditorView(frame);
    if (product)
        product->SetEditorValid(true);
    return frame;
}

TBaseFrame* TFrameHost::ShowFrameOf(TShop& shop, TXMLCollectionItem* entry, QTreeWidgetItem* node) {
    if (current_) {
        try {
            current_->LeaveFrame();
        } catch (...) {
            // Leaving a frame never keeps the user from going on.
        }
        Detach();
    }
    current_ = FrameOf(shop, entry, node);
    if (current_) {
        scroll_->setWidget(current_);
        current_->show();
    }
    return current_;
}

void TFrameHost::LeaveCurrent() {
    if (current_)
        current_->LeaveFrame();
}

void TFrameHost::Detach() {
    scroll_->takeWidget();
    current_->setParent(this);
    current_->hide();
    current_ = nullptr;
}

void TFrameHost::Destroy(TBaseFrame* frame) {
    if (!frame)
        return;
    if (frame == current_)
        Detach();
    frame->Retire();
}

void TFrameHost::DestroyFrameOf(TXMLCollectionItem& entry) {
    TEditorView* view = entry.EditorView();
    entry.SetEditorView(nullptr);
    Destroy(dynamic_cast<TBaseFrame*>(view));
}

void TFrameHost::DestroyAll(TShop& shop) {
    Destroy(dynamic_cast<TBaseFrame*>(shop.EditorView()));
    shop.SetEditorView(nullptr);
    TCategories& categories = shop.Categories();
    for (int c = 0; c < categories.Count(); ++c) {
        TCategory* category = categories.Items(c);
        DestroyFrameOf(*category);
        for (int p = 0; p < category->Items().Count(); ++p)
            DestroyFrameOf(*category->Items().Items(p));
    }
}

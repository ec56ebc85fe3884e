// Trovecart - frame host.
#include "gui/frame_host.h"

#include <QEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "gui/frames/base_frame.h"
#include "shop/category.h"
#include "shop/shop_document.h"

// Holds every frame from its making to its end and shows one of them, filling the area; its size
// hints are the shown frame's, so that the scroll area around it scrolls by that frame alone.
// Frames never change parents while the user switches between them: moving a widget out of a
// window walks the window's whole focus chain, which grows with every frame kept.
class TFrameHost::TFrameStack : public QWidget {
public:
    using QWidget::QWidget;

    void Show(QWidget* frame) {
        shown_ = frame;
        if (shown_) {
            shown_->setGeometry(rect());
            shown_->show();
        }
        updateGeometry();
    }
    QSize sizeHint() const override { return shown_ ? shown_->sizeHint() : QSize(); }
    QSize minimumSizeHint() const override { return shown_ ? shown_->minimumSizeHint() : QSize(); }

protected:
    void resizeEvent(QResizeEvent*) override {
        if (shown_)
            shown_->setGeometry(rect());
    }
    bool event(QEvent* event) override {
        // The shown frame's layout changed (a larger font, say): its hints travel on.
        if (event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QWidget::event(event);
    }

private:
    QWidget* shown_ = nullptr;
};

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
    : QWidget(parent), commands_(commands), stack_(new TFrameStack) {
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(stack_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
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
    made->setParent(stack_);
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
        stack_->Show(current_);
    }
    return current_;
}

void TFrameHost::LeaveCurrent() {
    if (current_)
        current_->LeaveFrame();
}

void TFrameHost::Detach() {
    current_->hide();
    stack_->Show(nullptr);
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

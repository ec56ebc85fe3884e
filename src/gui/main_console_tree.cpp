// Trovecart - main window: the shop tree's commands and the choice of the editing frame.
#include <QMenu>
#include <QVBoxLayout>

#include "common/app_info.h"
#include "common/message_service.h"
#include "gui/frames/base_frame.h"
#include "gui/frames/shop_frame.h"
#include "gui/general_error.h"
#include "gui/main_console.h"
#include "gui/shop_tree.h"
#include "shop/shop_document.h"

TShopFrame* TMainConsole::ShopFrame() {
    if (!shop_->EditorView()) {
        auto frame = std::make_unique<TShopFrame>();
        frame->SetShop(shop_.get());
        frame->SetData(&shop_->ShopConfig());
        frame->SetNode(tree_->Root());
        shop_->SetEditorView(std::move(frame));
    }
    return static_cast<TShopFrame*>(shop_->EditorView());
}

void TMainConsole::TreeShopChange() {
    UpdateNodeButtons();
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node || !shop_)
        return;
    if (currentFrame_) {
        try {
            currentFrame_->LeaveFrame();
        } catch (...) {
            // Leaving a frame never keeps the user from going on.
        }
        frameLayout_->removeWidget(currentFrame_);
        currentFrame_->hide();
        currentFrame_ = nullptr;
    }
    // Category, product and option frames come with their editors; until then their nodes show
    // an empty frame area.
    TBaseFrame* frame = node == tree_->Root() ? ShopFrame() : nullptr;
    ShowFrame(frame);
    if (currentFrame_)
        currentFrame_->LoadFromData();
}

void TMainConsole::ForgetCurrentFrameOf(const TXMLCollectionItem* object) {
    if (!currentFrame_ || !object)
        return;
    if (currentFrame_ == dynamic_cast<TBaseFrame*>(object->EditorView())) {
        frameLayout_->removeWidget(currentFrame_);
        currentFrame_ = nullptr;
    }
}

void TMainConsole::Category1Click() {
    TCategory* category = shop_->Categories().Add();
    category->SetName(QStringLiteral("New category"));
    QTreeWidgetItem* node = tree_->AddCategoryNode(category);
    tree_->setCurrentItem(node);
    shop_->SetModified(true);
}

void TMainConsole::AddProduct(int kind) {
    QTreeWidgetItem* selected = tree_->currentItem();
    if (!selected || selected == tree_->Root())
        return;
    QTreeWidgetItem* categoryNode = TShopTree::CategoryOf(selected) ? selected : selected->parent();
    TCategory* category = TShopTree::CategoryOf(categoryNode);
    TCartItem* item = category->Items().Add();
    item->SetName(QStringLiteral("New product"));
    item->SetItemType(kind == 0 ? citImage : kind == 1 ? citAudio : citVideo);
    QTreeWidgetItem* node = tree_->AddProductNode(categoryNode, item);
    categoryNode->setExpanded(true);
    tree_->setCurrentItem(node);
    shop_->SetModified(true);
}

void TMainConsole::BtnRemoveClick() {
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node || node == tree_->Root())
        return;
    const int answer = MessageService().AskQuestion(
        this, QStringLiteral("Are you sure you want to permanently delete the selected item?"), false,
        mkInformation2, QStringLiteral("Delete Cart Item"), ProgramCaption());
    if (answer != mrYes)
        return;
    if (TCartItem* product = TShopTree::ProductOf(node)) {
        if (currentFrame_)
            currentFrame_->LeaveFrame();
        product->DeleteMediaFiles(shop_->WorkFolder());
        ForgetCurrentFrameOf(product);
        TXMLItemCollection* owner = product->Collection();
        const int index = product->Index();
        tree_->DeleteNode(node);
        owner->Delete(index);
    } else if (TCategory* category = TShopTree::CategoryOf(node)) {
        for (int i = 0; i < category->Items().Count(); ++i) {
            category->Items().Items(i)->DeleteMediaFiles(shop_->WorkFolder());
            ForgetCurrentFrameOf(category->Items().Items(i));
        }
        ForgetCurrentFrameOf(category);
        const int index = category->Index();
        tree_->DeleteNode(node);
        shop_->Categories().Delete(index);
    }
    shop_->SetModified(true);
    TreeShopChange();
}

void TMainConsole::MoveItemClick(bool up) {
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node || node == tree_->Root())
        return;
    if (TCartItem* product = TShopTree::ProductOf(node)) {
        const int categoryIndex = TShopTree::CategoryOf(node->parent())->Index();
        if (up && product->Index() == 0) {
            if (categoryIndex > 0)
                MoveItemToCategory(categoryIndex - 1, false);
            return;
        }
        if (!up && TXMLItemCollection::IsLast(product)) {
            if (categoryIndex + 1 < shop_->Categories().Count())
                MoveItemToCategory(categoryIndex + 1, true);
            return;
        }
    }
    TXMLCollectionItem* object = TShopTree::ObjectOf(node);
    const int from = object->Index();
    const int to = up ? from - 1 : from + 1;
    if (to < 0 || to >= object->Collection()->Count())
        return;
    object->Collection()->Move(from, to);
    tree_->SortChildren(node->parent());
    TreeShopChange();
    shop_->SetModified(true);
}

void TMainConsole::MoveItemToCategory(int categoryIndex, bool atStart) {
    QTreeWidgetItem* node = tree_->currentItem();
    TCartItem* product = TShopTree::ProductOf(node);
    if (!product || categoryIndex < 0 || categoryIndex >= shop_->Categories().Count())
        return;
    TCategory* target = shop_->Categories().Items(categoryIndex);
    TCartItem* moved = atStart ? target->Items().Insert(0) : target->Items().Add();
    moved->Assign(*product);

    ForgetCurrentFrameOf(product);
    TXMLItemCollection* owner = product->Collection();
    const int index = product->Index();
    tree_->DeleteNode(node);
    owner->Delete(index);

    QTreeWidgetItem* targetNode = tree_->NodeOf(target);
    QTreeWidgetItem* movedNode = tree_->AddProductNode(targetNode, moved);
    tree_->SortChildren(targetNode);
    targetNode->setExpanded(true);
    tree_->setCurrentItem(movedNode);
    shop_->SetModified(true);
}

void TMainConsole::TreeShopEdited(QTreeWidgetItem* node, const QString& text) {
    if (!shop_ || !node)
        return;
    if (node == tree_->Root()) {
        if (text == shop_->GetPlainTitle())
            return;
        shop_->SetPlainTitle(text);
        shop_->SetModified(true);
    } else if (TXMLCollectionItem* object = TShopTree::ObjectOf(node)) {
        if (text == object->Name())
            return;
        object->SetName(text);
        shop_->SetModified(true);
    }
    if (currentFrame_)
        currentFrame_->LoadFromData();
}

void TMainConsole::TreeShopDragDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
    if (!dragged || dragged == tree_->Root())
        return;
    // The commands below act on the selected node, which is the dragged one.
    tree_->setCurrentItem(dragged);
    if (!target) {
        const TCategories& categories = shop_->Categories();
        if (categories.Count() == 0)
            return;
        const TCategory* last = categories.Last();
        // With no product in the last category, the category itself takes the drop.
        target = last->Items().Count() ? tree_->NodeOf(last->Items().Last()) : tree_->NodeOf(last);
    }
    QTreeWidgetItem* targetCategoryNode = TShopTree::CategoryOf(target) ? target : target->parent();
    TCategory* targetCategory = TShopTree::CategoryOf(targetCategoryNode);
    if (!targetCategory)
        return;

    if (TCategory* category = TShopTree::CategoryOf(dragged)) {
        shop_->Categories().Move(category->Index(), targetCategory->Index());
        tree_->SortChildren(tree_->Root());
        TreeShopChange();
        shop_->SetModified(true);
        return;
    }
    TCartItem* product = TShopTree::ProductOf(dragged);
    if (!product)
        return;
    if (dragged->parent() != target->parent()) {
        const int ownIndex = TShopTree::CategoryOf(dragged->parent())->Index();
        if (target == targetCategoryNode) {
            MoveItemToCategory(targetCategory->Index(), targetCategory->Index() >= ownIndex);
            return;
        }
        MoveItemToCategory(targetCategory->Index(), false);
        dragged = tree_->currentItem();
        product = TShopTree::ProductOf(dragged);
    }
    const TCartItem* targetProduct = TShopTree::ProductOf(target);
    if (!targetProduct)
        return;
    product->Collection()->Move(product->Index(), targetProduct->Index());
    tree_->SortChildren(targetCategoryNode);
    TreeShopChange();
    shop_->SetModified(true);
}

void TMainConsole::PopupMenuTreePopup(const QPoint& position) {
    if (!shop_)
        return;
    QTreeWidgetItem* node = tree_->currentItem();
    if (TShopTree::ProductOf(node)) {
        moveToMenu_->clear();
        const TCategory* own = TShopTree::CategoryOf(node->parent());
        for (int i = 0; i < shop_->Categories().Count(); ++i) {
            const TCategory* category = shop_->Categories().Items(i);
            if (category == own)
                continue;
            moveToMenu_->addAction(category->Name(), this, [this, i] {
                RunReportingErrors([this, i] { MoveItemToCategory(i, false); });
            });
        }
        moveToMenu_->setEnabled(!moveToMenu_->isEmpty());
    }
    treeMenu_->clear();
    QMenu* add = treeMenu_->addMenu(QStringLiteral("Add..."));
    add->addActions(addMenu_->actions());
    treeMenu_->addAction(Action("Delete"));
    treeMenu_->addAction(Action("Rename"));
    treeMenu_->addAction(Action("MoveUp"));
    treeMenu_->addAction(Action("MoveDown"));
    treeMenu_->addMenu(moveToMenu_);
    treeMenu_->popup(tree_->viewport()->mapToGlobal(position));
}

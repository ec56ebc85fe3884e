// Trovecart - main window: the shop tree's commands and the choice of the editing frame.
#include <QMenu>

#include "common/app_info.h"
#include "common/message_service.h"
#include "gui/frame_host.h"
#include "gui/frames/base_frame.h"
#include "gui/frames/shop_frame.h"
#include "gui/general_error.h"
#include "gui/main_console.h"
#include "gui/shop_tree.h"
#include "gui/widgets/menu_text.h"
#include "shop/catalogue_editor.h"
#include "shop/shop_document.h"

TShopFrame* TMainConsole::ShownShopFrame() const {
    return dynamic_cast<TShopFrame*>(frames_->Current());
}

void TMainConsole::TreeShopChange() {
    UpdateNodeButtons();
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node || !shop_)
        return;
    TBaseFrame* frame = frames_->ShowFrameOf(*shop_, catalogue_->Entry(TShopTree::PositionOf(node)), node);
    if (frame)
        frame->LoadFromData();
}

void TMainConsole::ShowCatalogueChange(TEntryPosition selected) {
    tree_->Mirror(*shop_);
    QTreeWidgetItem* node = tree_->NodeAt(selected);
    if (!node)
        return;
    if (node->parent())
        node->parent()->setExpanded(true);
    if (tree_->currentItem() == node)
        TreeShopChange();
    else
        tree_->setCurrentItem(node);
}

void TMainConsole::SelectEntry(TEntryPosition position) {
    if (QTreeWidgetItem* node = tree_->NodeAt(position))
        tree_->setCurrentItem(node);
}

const TCatalogueEditor& TMainConsole::Catalogue() const {
    return *catalogue_;
}

std::optional<TEntryPosition> TMainConsole::SelectedEntry() const {
    const std::optional<TEntryPosition> selected = tree_->SelectedPosition();
    if (!shop_ || !selected || selected->IsRoot())
        return std::nullopt;
    return selected;
}

void TMainConsole::Category1Click() {
    ShowCatalogueChange(catalogue_->AddCategory());
}

void TMainConsole::AddProduct(TCartItemType type) {
    if (const std::optional<TEntryPosition> selected = SelectedEntry())
        ShowCatalogueChange(catalogue_->AddProduct(*selected, type));
}

void TMainConsole::BtnRemoveClick() {
    const std::optional<TEntryPosition> selected = SelectedEntry();
    if (!selected)
        return;
    const int answer = MessageService().AskQuestion(
        this, QStringLiteral("Are you sure you want to permanently delete the selected item?"), false,
        mkInformation2, QStringLiteral("Delete Cart Item"), ProgramCaption());
    if (answer != mrYes)
        return;
    // A playing preview lets go of its file before the file is deleted.
    if (selected->IsProduct())
        frames_->LeaveCurrent();
    ShowCatalogueChange(catalogue_->Delete(*selected));
}

void TMainConsole::MoveItemClick(bool up) {
    if (const std::optional<TEntryPosition> selected = SelectedEntry())
        ShowCatalogueChange(up ? catalogue_->MoveUp(*selected) : catalogue_->MoveDown(*selected));
}

void TMainConsole::MoveItemToCategory(int categoryIndex, bool atStart) {
    if (const std::optional<TEntryPosition> selected = SelectedEntry())
        ShowCatalogueChange(catalogue_->MoveToCategory(*selected, categoryIndex, atStart));
}

void TMainConsole::MoveToClick(int categoryIndex) {
    MoveItemToCategory(categoryIndex, false);
}

void TMainConsole::TreeShopEdited(QTreeWidgetItem* node, const QString& text) {
    if (!shop_ || !node || !catalogue_->Rename(TShopTree::PositionOf(node), text))
        return;
    if (TBaseFrame* frame = frames_->Current())
        frame->LoadFromData();
}

void TMainConsole::TreeShopDragDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
    if (!shop_ || !dragged)
        return;
    const std::optional<TEntryPosition> over =
        target ? std::optional(TShopTree::PositionOf(target)) : std::nullopt;
    ShowCatalogueChange(catalogue_->Drop(TShopTree::PositionOf(dragged), over));
}

void TMainConsole::PopupMenuTreePopup(const QPoint& position) {
    if (!shop_)
        return;
    const std::optional<TEntryPosition> selected = SelectedEntry();
    if (selected && selected->IsProduct()) {
        moveToMenu_->clear();
        for (const int index : catalogue_->MoveTargets(*selected)) {
            moveToMenu_->addAction(MenuText(shop_->Categories().Items(index)->Name()), this, [this, index] {
                RunReportingErrors([this, index] { MoveToClick(index); });
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

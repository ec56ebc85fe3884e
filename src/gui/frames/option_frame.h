// Trovecart - the editor of one option group of a product: whether it is used, its name and its
// ordered values.
#pragma once

#include <optional>

#include "gui/frames/base_frame.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QToolButton;
class TOptionItem;
enum class TListGlyph;

class TOptionFrame : public TBaseFrame {
    Q_OBJECT
public:
    explicit TOptionFrame(QWidget* parent = nullptr);

    void SetData(TOptionItem* option) { option_ = option; }
    void LoadFromData() override;
    // An option frame sits inside a product frame and needs only what its layout needs.
    QSize minimumSizeHint() const override { return QWidget::minimumSizeHint(); }

    // The list commands, from the buttons, the context menu and double-click.
    void BtnAddClick();
    void BtnRemoveClick();
    void BtnRenameClick();
    void MoveItemClick(bool up);

    QCheckBox* CheckBoxEnable;
    QLabel* lblName;
    QLineEdit* EditName;
    QListWidget* ListBoxItems;
    QToolButton* BtnAdd;
    QToolButton* BtnRemove;
    QToolButton* BtnUp;
    QToolButton* BtnDown;
    QToolButton* BtnRename;
    // The list's context menu and its entries.
    QMenu* PopupMenuItems;
    QAction* MenuAdd;
    QAction* MenuDelete;
    QAction* MenuRename;
    QAction* MenuMoveUp;
    QAction* MenuMoveDown;

private:
    QToolButton* NewListButton(TListGlyph glyph, const char* name, const QString& spoken);
    void BuildMenu();
    void CheckBoxEnableClick();
    void ShowEnabled();
    void UpdateListButtons();
    // The index of the selected value, -1 for none.
    int SelectedIndex() const;
    void SelectIndex(int index);
    // Copies the list into the option and marks the change.
    void StoreItems();
    // Shows the input box; the entered text after OK.
    std::optional<QString> AskItemText(const QString& title, const QString& prompt, const QString& text);

    TOptionItem* option_ = nullptr;
};

// Trovecart - the frame of a product: what every product has (name, type, description, prices,
// two option groups) and its place in the tree. The picture and media frames derive from it.
#pragma once

#include "gui/frames/base_frame.h"
#include "shop/cart_item.h"

class QBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TMoneyEdit;
class TOptionFrame;

class TItemBaseFrame : public TBaseFrame {
    Q_OBJECT
public:
    explicit TItemBaseFrame(QWidget* parent = nullptr);

    void SetData(TCartItem* item) { item_ = item; }
    void LoadFromData() override;
    bool ValidateInput() override;

    // Asks for the new type; a change deletes the preview and picture files and replaces this
    // frame by one of the new type once the running handler has returned.
    void ChangeProductTypeClick();
    void BtnPreviousClick();
    void BtnNextClick();

    QPushButton* BtnPrevious;
    QPushButton* BtnMoveTo;
    QMenu* PopupMenumoveto;
    QPushButton* BtnNext;
    QLineEdit* EditProductName;
    QLabel* lblItemType;
    QPushButton* BtnChangeType;
    QPlainTextEdit* Memodescription;
    TMoneyEdit* NumEditOriginalPrice;
    TMoneyEdit* NumEditDiscount;
    TMoneyEdit* NumEditShipping;
    TOptionFrame* OptionFrameA;
    TOptionFrame* OptionFrameB;

protected:
    TCartItem* Item() const { return item_; }
    // Adds a control to the column beside the product's texts, where derived frames show their
    // media; the column takes room only once it holds something.
    void AddToMediaColumn(QWidget* control, int stretch = 0, Qt::Alignment alignment = {});

private:
    QWidget* BuildSettingsPage();
    QLayout* BuildBottomRow();
    void ConnectHandlers();
    void ConnectMoney(TMoneyEdit* edit, void (TCartItem::*store)(double));
    // Called from the change handler, never inside it: GCC 12's vptr sanitizer miscompiles a call
    // through a member pointer made in a lambda that captured this.
    void MoneyChange(const TMoneyEdit& edit, void (TCartItem::*store)(double));
    void BindOption(TOptionFrame* frame, int index);
    // The Move To menu and the Previous and Next buttons, from the product's place in the tree.
    void ShowPlace();
    TEntryPosition Position() const;

    TCartItem* item_ = nullptr;
    QTabWidget* pages_;
    QBoxLayout* upper_;
    QBoxLayout* mediaColumn_;
};

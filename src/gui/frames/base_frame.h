// Trovecart - the base of every editing frame: shop, node, and the loading flag.
#pragma once

#include <QWidget>

#include "gui/frames/frame_commands.h"
#include "shop/editor_view.h"

class QTreeWidgetItem;
class TShop;
class TXMLCollectionItem;

class TBaseFrame : public QWidget, public TEditorView {
    Q_OBJECT
public:
    explicit TBaseFrame(QWidget* parent = nullptr);

    virtual void SetShop(TShop* shop) { shop_ = shop; }
    virtual void SetNode(QTreeWidgetItem* node) { node_ = node; }
    // The main window's commands, set by the frame host.
    void SetCommands(TFrameCommands* commands) { commands_ = commands; }
    // Copies the model into the controls; change handlers leave the model alone meanwhile.
    virtual void LoadFromData() = 0;
    // Called before the frame is taken off the window.
    virtual void LeaveFrame() {}
    // Whether the input is acceptable; a refusing frame shows its own message.
    virtual bool ValidateInput() { return true; }

    bool CanLeave() override { return ValidateInput(); }
    // At least 600 x 450 pixels, more when the layout needs it; the frame host scrolls a frame
    // that does not fit.
    QSize minimumSizeHint() const override;
    // The entry is gone: the change handlers leave the model alone from now on, and the frame is
    // deleted once control is back in the event loop, never inside a handler of its own.
    void Retire();

    TShop* Shop() const { return shop_; }
    QTreeWidgetItem* Node() const { return node_; }
    TFrameCommands* Commands() const { return commands_; }
    bool Loading() const { return loading_; }

protected:
    // Marks the shop changed, unless the frame is loading.
    void MarkModified();
    // Unless the frame is loading: the entry takes the name, its tree node the caption, and the
    // shop is marked changed.
    void StoreEntryName(TXMLCollectionItem& entry, const QString& name);

    // Sets the loading flag for the lifetime of the object.
    class TLoadingScope {
    public:
        explicit TLoadingScope(TBaseFrame& frame) : frame_(frame), was_(frame.loading_) {
            frame_.loading_ = true;
        }
        ~TLoadingScope() { frame_.loading_ = was_; }

    private:
        TBaseFrame& frame_;
        bool was_;
    };

private:
    TShop* shop_ = nullptr;
    QTreeWidgetItem* node_ = nullptr;
    TFrameCommands* commands_ = nullptr;
    bool loading_ = false;
};

// Trovecart - the owner of the editing frames and the area that shows the current one.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QWidget>

class QTreeWidgetItem;
class TBaseFrame;
class TFrameCommands;
class TShop;
class TXMLCollectionItem;

// The kinds of frame, one maker each.
enum class TFrameKind { Shop, Category, ImageProduct, MediaProduct, BaseProduct, Count };

// The kind of frame that edits an entry; the root (no entry) has the shop's.
TFrameKind FrameKindOf(const TXMLCollectionItem* entry);

// What a maker gets: the open shop, the entry (null for the root) and the entry's tree node.
struct TFrameRequest {
    TShop& shop;
    TXMLCollectionItem* entry;
    QTreeWidgetItem* node;
};
// Makes a frame for a request and hands it its shop, data and node, in that order.
using TFrameMaker = std::function<std::unique_ptr<TBaseFrame>(const TFrameRequest& request)>;

// Every frame lives inside the host from its making to its end; the model points at its frame
// (EditorView) and the host clears that link before it lets the frame go. A frame is made on the
// first selection of its entry, kept hidden while other entries are selected, and destroyed with
// its entry, with the shop, or when a product's type change has cleared its editor-valid flag.
// The frame shown fills the host, and scrolls when the host is smaller than its layout.
class TFrameHost : public QWidget {
    Q_OBJECT
public:
    explicit TFrameHost(TFrameCommands& commands, QWidget* parent = nullptr);

    // A kind without a maker shows no frame.
    void SetMaker(TFrameKind kind, TFrameMaker maker);

    // The frame now shown, or null.
    TBaseFrame* Current() const { return current_; }
    // Leaves and takes off the current frame, then shows the frame of the root (entry null) or of
    // the entry, made when it has none; returns it, or null when its kind has no maker.
    TBaseFrame* ShowFrameOf(TShop& shop, TXMLCollectionItem* entry, QTreeWidgetItem* node);
    // Lets the current frame release what it runs (a playing preview) before its entry's files go.
    void LeaveCurrent();
    // For an entry about to be deleted.
    void DestroyFrameOf(TXMLCollectionItem& entry);
    // Every frame of the shop, before the shop goes.
    void DestroyAll(TShop& shop);

private:
    TBaseFrame* FrameOf(TShop& shop, TXMLCollectionItem* entry, QTreeWidgetItem* node);
    void Detach();
    void Destroy(TBaseFrame* frame);

    TFrameCommands& commands_;
    std::array<TFrameMaker, static_cast<size_t>(TFrameKind::Count)> makers_;
    class TFrameStack;
    // Inside the scroll area; holds every frame.
    TFrameStack* stack_;
    TBaseFrame* current_ = nullptr;
};

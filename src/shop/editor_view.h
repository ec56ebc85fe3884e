// Trovecart - the link from a model entry to the view that edits it.
#pragma once

#include <memory>

// Implemented by the editing frames of the GUI. The model owns the view it is given.
class TEditorView {
public:
    virtual ~TEditorView() = default;

    // Stops what the view runs (a playing preview) before it is freed. May raise; the owner
    // swallows such errors and frees the view all the same.
    virtual void ReleaseView() {}

    // Whether the user may leave the entry now (its input is acceptable).
    virtual bool CanLeave() = 0;
};

// Owning holder that frees its view without letting an error escape.
class TEditorViewHolder {
public:
    TEditorViewHolder() = default;
    TEditorViewHolder(const TEditorViewHolder&) = delete;
    TEditorViewHolder& operator=(const TEditorViewHolder&) = delete;
    ~TEditorViewHolder() { Free(); }

    TEditorView* Get() const { return view_; }
    void Set(std::unique_ptr<TEditorView> view) {
        Free();
        view_ = view.release();
    }
    void Free() noexcept {
        TEditorView* view = view_;
        view_ = nullptr;
        if (!view)
            return;
        try {
            view->ReleaseView();
        } catch (...) {
            // A view that fails while going away must not take the model with it.
        }
        delete view;
    }
    bool CanLeave() const { return view_ ? view_->CanLeave() : true; }

private:
    TEditorView* view_ = nullptr;
};

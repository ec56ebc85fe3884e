// Trovecart - the link from a model entry to the view that edits it.
#pragma once

// Implemented by the editing frames of the GUI. The GUI owns its views; an entry only points at
// the one made for it, and the GUI forgets that link before it destroys the view.
class TEditorView {
public:
    virtual ~TEditorView() = default;

    // Whether the user may leave the entry now (its input is acceptable).
    virtual bool CanLeave() = 0;
};

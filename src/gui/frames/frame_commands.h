// Trovecart - what an editing frame may ask of the main window.
#pragma once

class TFrameCommands {
public:
    virtual ~TFrameCommands() = default;

    // Chooses the selected node's frame again once the running handler has returned; a product
    // frame asks for it after a type change, which replaces the frame itself.
    virtual void PostRerunSelection() = 0;
    // Moves the selected product to the end of the category with that index.
    virtual void MoveToClick(int categoryIndex) = 0;
    // Asks, then deletes the selected entry.
    virtual void BtnRemoveClick() = 0;
};

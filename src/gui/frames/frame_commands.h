// Trovecart - what an editing frame may ask of the main window.
#pragma once

#include "shop/entry_position.h"

class QDialog;
class TCatalogueEditor;

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
    // Selects the tree node of the entry at that position, which shows its frame.
    virtual void SelectEntry(TEntryPosition position) = 0;
    // The rules of the open shop's catalogue (move targets, tree order).
    virtual const TCatalogueEditor& Catalogue() const = 0;
    // Shows a dialog modally, owned by the main window, and returns its result.
    virtual int ShowModal(QDialog& dialog) = 0;
};

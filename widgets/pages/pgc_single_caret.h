// The caret of one text control: binds a caret type to the control's window
// and character cell and keeps the thread's system caret in line with it;
// the caret pair switches between an insert and an overwrite caret type.
#pragma once

#include "widgets/pages/pgc_caret.h"

#include "platform/canvas/graphics_types.h"
#include "platform/objects/persistent.h"

namespace plat {
class TWinControl;
}

namespace qel {

// Unlinked until Linked is set while the owner's window exists; then the
// system caret exists for that window and follows every change of the caret
// type, the cell, the position and the visibility. A control links its
// caret when it takes the focus and unlinks it when it loses it.
class TPgcSingleCaret : public plat::TPersistent {
    PLAT_CLASS(TPgcSingleCaret, plat::TPersistent)
public:
    // A cell of 10 x 10 pixels and a caret type of its own.
    explicit TPgcSingleCaret(plat::TWinControl* AOwner);
    ~TPgcSingleCaret() override;

    // The caret type in use (registered while held).
    TPgcCaret* CaretType() const { return FCaretType; }
    void SetCaretType(TPgcCaret* Value);
    int CellHeight() const { return FHeight; }
    int CellWidth() const { return FWidth; }
    // Values below 1 are ignored.
    void SetCellHeight(int Value);
    void SetCellWidth(int Value);
    bool Linked() const { return FLinked; }
    // Stays false while the owner has no window.
    void SetLinked(bool Value);
    // The cell's top-left corner in client pixels; a negative coordinate
    // parks the caret at 2147483647, outside any window.
    plat::TPoint Position() const { return FPos; }
    void SetPosition(plat::TPoint Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // The caret's offset inside the cell.
    int XOffset() const { return FXOffset; }
    int YOffset() const { return FYOffset; }

    static constexpr int ParkedCoordinate = 2147483647;

protected:
    // Recreates a linked system caret after the caret type or cell changed.
    void CaretTypeHasChanged(plat::TObject* Sender);

private:
    // Sizes the caret type to the cell and places it inside (caret type's
    // notification held meanwhile).
    void AdjustToCell();
    void HookCaretType();
    void UnhookCaretType();
    bool OwnerWindowExists() const;
    void CreateSystemCaret();
    void MoveSystemCaret() const;

    TPgcCaret* FCaretType = nullptr;
    int FHeight = 10;                       // character cell
    int FWidth = 10;
    bool FLinked = false;                   // the system caret exists for the owner
    plat::TPoint FPos;
    bool FVisible = false;
    unsigned FOrigBlinkTime = 0;            // system blink time before linking
    plat::TWinControl* FOwner;              // not owned
    int FXOffset = 0;                       // caret inside the cell
    int FYOffset = 0;
};

// Shows the insert caret type in insert mode and the overwrite caret type
// (a block at first) otherwise.
class TPgcCaretPair : public TPgcSingleCaret {
    PLAT_CLASS(TPgcCaretPair, TPgcSingleCaret)
public:
    explicit TPgcCaretPair(plat::TWinControl* AOwner);
    ~TPgcCaretPair() override;

    bool InsertMode() const { return FInsMode; }
    void SetInsertMode(bool Value);
    TPgcCaret* InsCaretType() const { return FInsCaretType; }
    TPgcCaret* OvrCaretType() const { return FOvrCaretType; }
    // A different caret type replaces the held one; it becomes current when
    // its mode is on.
    void SetInsCaretType(TPgcCaret* Value);
    void SetOvrCaretType(TPgcCaret* Value);

private:
    void ReplaceType(TPgcCaret*& Held, TPgcCaret* Value, bool Current);

    bool FInsMode = true;
    TPgcCaret* FInsCaretType;               // registered
    TPgcCaret* FOvrCaretType;               // registered
};

} // namespace qel

// A caret type of the library's text controls: the shape, size, place in a
// character cell, blink time and picture of a caret, shared by the carets
// that show it and freed by the last of them.
#pragma once

#include "platform/objects/events.h"
#include "platform/objects/persistent.h"

#include <cstdint>
#include <memory>

namespace plat {
class TBitmap;
}

namespace qel {

enum TPgcCaretShape { csBlock, csHalfBlock, csVertLine, csHorzLine, csCustom, csBitmap };
enum TPgcCaretAlign { caLeft, caTop, caRight, caBottom, caCenter };

// Reference-counted: every holder registers the types it keeps and
// deregisters them when it lets them go; the last Deregister frees the type.
// Nobody deletes a caret type directly.
class TPgcCaret : public plat::TPersistent {
    PLAT_CLASS(TPgcCaret, plat::TPersistent)
public:
    // A 2 x 10 vertical line at the left of the cell, no picture, count 0.
    TPgcCaret();
    ~TPgcCaret() override;

    void Register() { ++FRefCount; }
    // Frees the caret type when the last holder lets it go.
    void Deregister();
    std::uint16_t RefCount() const { return FRefCount; }

    TPgcCaretAlign Align() const { return FAlign; }
    void SetAlign(TPgcCaretAlign Value);
    // The owned picture of a csBitmap caret.
    plat::TBitmap* Bitmap() const { return FBitmap.get(); }
    // Copies the given picture (none: nothing happens).
    void SetBitmap(plat::TBitmap* Value);
    int BitmapHotSpotX() const { return FBitmapX; }
    int BitmapHotSpotY() const { return FBitmapY; }
    // OnChange fires only for a csBitmap caret.
    void SetBitmapHotSpotX(int Value);
    void SetBitmapHotSpotY(int Value);
    // Milliseconds; 0 keeps the system's blink time.
    std::uint16_t BlinkTime() const { return FBlinkTime; }
    void SetBlinkTime(std::uint16_t Value);
    int CaretHeight() const { return FCaretHt; }
    int CaretWidth() const { return FCaretWd; }
    // Values below 1 are ignored.
    void SetCaretHeight(int Value);
    void SetCaretWidth(int Value);
    bool IsGray() const { return FIsGray; }
    void SetIsGray(bool Value);
    TPgcCaretShape Shape() const { return FShape; }
    // Adjusts the alignment and size the shape implies, then fires once.
    void SetShape(TPgcCaretShape Value);

    // After every effective change.
    plat::TNotifyEvent OnChange;

private:
    void Changed() { OnChange(this); }

    TPgcCaretAlign FAlign = caLeft;
    std::unique_ptr<plat::TBitmap> FBitmap;
    int FBitmapX = 0;                   // hot spot of the picture
    int FBitmapY = 0;
    std::uint16_t FBlinkTime = 0;
    int FCaretHt = 10;                  // pixels, at least 1
    int FCaretWd = 2;
    bool FIsGray = false;
    TPgcCaretShape FShape = csVertLine;
    std::uint16_t FRefCount = 0;        // holders that registered it
};

} // namespace qel

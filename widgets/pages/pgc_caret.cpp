// The caret type: its settings and their change notifications.
#include "widgets/pages/pgc_caret.h"

#include "platform/canvas/bitmap.h"

#include <cassert>

namespace qel {

PLAT_DEFINE_CLASS(TPgcCaret, plat::TPersistent,
    plat::Published("Align", &TPgcCaret::Align, &TPgcCaret::SetAlign,
        {"caLeft", "caTop", "caRight", "caBottom", "caCenter"}).Default(caLeft),
    plat::Published("BitmapHotSpotX", &TPgcCaret::BitmapHotSpotX, &TPgcCaret::SetBitmapHotSpotX).Default(0),
    plat::Published("BitmapHotSpotY", &TPgcCaret::BitmapHotSpotY, &TPgcCaret::SetBitmapHotSpotY).Default(0),
    plat::Published("BlinkTime", &TPgcCaret::BlinkTime, &TPgcCaret::SetBlinkTime).Default(0),
    plat::Published("CaretHeight", &TPgcCaret::CaretHeight, &TPgcCaret::SetCaretHeight).Default(10),
    plat::Published("CaretWidth", &TPgcCaret::CaretWidth, &TPgcCaret::SetCaretWidth).Default(2),
    plat::Published("IsGray", &TPgcCaret::IsGray, &TPgcCaret::SetIsGray).Default(false),
    plat::Published("Shape", &TPgcCaret::Shape, &TPgcCaret::SetShape,
        {"csBlock", "csHalfBlock", "csVertLine", "csHorzLine", "csCustom", "csBitmap"}).Default(csVertLine))

TPgcCaret::TPgcCaret() : FBitmap(std::make_unique<plat::TBitmap>()) {}

TPgcCaret::~TPgcCaret() = default;

void TPgcCaret::Deregister()
{
    assert(FRefCount > 0);
    if (--FRefCount == 0) {
        delete this;
    }
}

void TPgcCaret::SetAlign(TPgcCaretAlign Value)
{
    if (Value != FAlign) {
        FAlign = Value;
        Changed();
    }
}

void TPgcCaret::SetBitmap(plat::TBitmap* Value)
{
    if (Value != nullptr) {
        FBitmap->Assign(Value);
        Changed();
    }
}

void TPgcCaret::SetBitmapHotSpotX(int Value)
{
    if (Value != FBitmapX) {
        FBitmapX = Value;
        if (FShape == csBitmap) {
            Changed();
        }
    }
}

void TPgcCaret::SetBitmapHotSpotY(int Value)
{
    if (Value != FBitmapY) {
        FBitmapY = Value;
        if (FShape == csBitmap) {
            Changed();
        }
    }
}

void TPgcCaret::SetBlinkTime(std::uint16_t Value)
{
    if (Value != FBlinkTime) {
        FBlinkTime = Value;
        Changed();
    }
}

void TPgcCaret::SetCaretHeight(int Value)
{
    if (Value > 0 && Value != FCaretHt) {
        FCaretHt = Value;
        Changed();
    }
}

void TPgcCaret::SetCaretWidth(int Value)
{
    if (Value > 0 && Value != FCaretWd) {
        FCaretWd = Value;
        Changed();
    }
}

void TPgcCaret::SetIsGray(bool Value)
{
    if (Value != FIsGray) {
        FIsGray = Value;
        Changed();
    }
}

void TPgcCaret::SetShape(TPgcCaretShape Value)
{
    if (Value == FShape) {
        return;
    }
    FShape = Value;
    switch (Value) {
    case csBlock:
        FAlign = caLeft;
        break;
    case csHalfBlock:
        FAlign = caBottom;
        break;
    case csVertLine:
        FAlign = caLeft;
        FCaretWd = 2;
        break;
    case csHorzLine:
        FAlign = caBottom;
        FCaretHt = 2;
        break;
    case csBitmap:
        if (FBitmap->Height() > 0) {
            FCaretHt = FBitmap->Height();
        }
        if (FBitmap->Width() > 0) {
            FCaretWd = FBitmap->Width();
        }
        break;
    case csCustom:
        break;
    }
    Changed();
}

} // namespace qel

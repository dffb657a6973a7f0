// A control's caret on the thread's system caret, and the insert/overwrite pair.
#include "widgets/pages/pgc_single_caret.h"

#include "platform/canvas/bitmap.h"
#include "platform/controls/caret.h"
#include "platform/controls/win_control.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcSingleCaret, plat::TPersistent)
PLAT_DEFINE_CLASS(TPgcCaretPair, TPgcSingleCaret)

namespace {

// A parked coordinate stays parked; any other is moved into the cell.
int CaretCoordinate(int Cell, int Offset)
{
    return Cell == TPgcSingleCaret::ParkedCoordinate ? Cell : Cell + Offset;
}

} // namespace

// ---- TPgcSingleCaret ----

TPgcSingleCaret::TPgcSingleCaret(plat::TWinControl* AOwner) : FCaretType(new TPgcCaret), FOwner(AOwner)
{
    FCaretType->Register();
    AdjustToCell();
}

TPgcSingleCaret::~TPgcSingleCaret()
{
    SetVisible(false);
    SetLinked(false);
    UnhookCaretType();
    FCaretType->Deregister();
}

void TPgcSingleCaret::HookCaretType()
{
    FCaretType->OnChange = plat::TNotifyEvent(this, &TPgcSingleCaret::CaretTypeHasChanged);
}

// A caret type outlives the holders it was shared with: it must not call
// back into one that let it go.
void TPgcSingleCaret::UnhookCaretType()
{
    if (FCaretType->OnChange.Data() == this) {
        FCaretType->OnChange = nullptr;
    }
}

void TPgcSingleCaret::SetCaretType(TPgcCaret* Value)
{
    if (Value == nullptr || Value == FCaretType) {
        return;
    }
    UnhookCaretType();
    FCaretType->Deregister();
    FCaretType = Value;
    FCaretType->Register();
    HookCaretType();
    CaretTypeHasChanged(FCaretType);
}

void TPgcSingleCaret::CaretTypeHasChanged(plat::TObject*)
{
    const bool wasLinked = FLinked;
    SetLinked(false);
    AdjustToCell();
    SetLinked(wasLinked);
}

void TPgcSingleCaret::AdjustToCell()
{
    TPgcCaret& type = *FCaretType;
    type.OnChange = nullptr;
    switch (type.Shape()) {
    case csBlock:
        type.SetCaretHeight(FHeight);
        type.SetCaretWidth(FWidth);
        break;
    case csHalfBlock:
        type.SetCaretHeight(FHeight / 2);
        type.SetCaretWidth(FWidth);
        break;
    case csVertLine:
        type.SetCaretHeight(FHeight);
        break;
    case csHorzLine:
        type.SetCaretWidth(FWidth);
        break;
    case csCustom:
    case csBitmap:
        break;
    }
    HookCaretType();

    const int freeX = FWidth - type.CaretWidth();
    const int freeY = FHeight - type.CaretHeight();
    int x = 0;
    int y = 0;
    switch (type.Align()) {
    case caLeft:
        y = freeY / 2;
        break;
    case caTop:
        x = freeX / 2;
        break;
    case caRight:
        x = freeX;
        y = freeY / 2;
        break;
    case caBottom:
        x = freeX / 2;
        y = freeY;
        break;
    case caCenter:
        x = freeX / 2;
        y = freeY / 2;
        break;
    }
    if (type.Shape() == csBitmap) {
        x -= type.BitmapHotSpotX();
        y -= type.BitmapHotSpotY();
    }
    if (x != FXOffset || y != FYOffset) {
        FXOffset = x;
        FYOffset = y;
        if (FLinked) {
            MoveSystemCaret();
        }
    }
}

void TPgcSingleCaret::SetCellHeight(int Value)
{
    if (Value > 0 && Value != FHeight) {
        FHeight = Value;
        CaretTypeHasChanged(this);
    }
}

void TPgcSingleCaret::SetCellWidth(int Value)
{
    if (Value > 0 && Value != FWidth) {
        FWidth = Value;
        CaretTypeHasChanged(this);
    }
}

bool TPgcSingleCaret::OwnerWindowExists() const
{
    return FOwner != nullptr && FOwner->HandleAllocated();
}

void TPgcSingleCaret::SetLinked(bool Value)
{
    if (Value == FLinked) {
        return;
    }
    FLinked = Value;
    if (!OwnerWindowExists()) {
        FLinked = false;
        return;
    }
    if (Value) {
        FOrigBlinkTime = plat::GetCaretBlinkTime();
        CreateSystemCaret();
        if (FVisible) {
            plat::ShowCaret(FOwner->Handle());
        }
        MoveSystemCaret();
        const unsigned blink = FCaretType->BlinkTime();
        if (blink != 0 && blink != FOrigBlinkTime) {
            plat::SetCaretBlinkTime(blink);
        }
    } else {
        plat::SetCaretBlinkTime(FOrigBlinkTime);
        plat::DestroyCaret();
    }
}

void TPgcSingleCaret::CreateSystemCaret()
{
    const TPgcCaret& type = *FCaretType;
    const plat::HWND window = FOwner->Handle();
    plat::TBitmap* picture = type.Bitmap();
    if (type.Shape() == csBitmap && !picture->Empty()) {
        plat::CreateBitmapCaret(window, *picture->PixelSurface());
    } else {
        plat::CreateCaret(window, type.CaretWidth(), type.CaretHeight(), type.IsGray());
    }
}

void TPgcSingleCaret::MoveSystemCaret() const
{
    plat::SetCaretPos(CaretCoordinate(FPos.X, FXOffset), CaretCoordinate(FPos.Y, FYOffset));
}

void TPgcSingleCaret::SetPosition(plat::TPoint Value)
{
    if (Value.X < 0) {
        Value.X = ParkedCoordinate;
    }
    if (Value.Y < 0) {
        Value.Y = ParkedCoordinate;
    }
    if (Value == FPos) {
        return;
    }
    FPos = Value;
    if (FLinked) {
        MoveSystemCaret();
    }
}

void TPgcSingleCaret::SetVisible(bool Value)
{
    if (Value == FVisible) {
        return;
    }
    FVisible = Value;
    if (FLinked && OwnerWindowExists()) {
        if (Value) {
            plat::ShowCaret(FOwner->Handle());
        } else {
            plat::HideCaret(FOwner->Handle());
        }
    }
}

// ---- TPgcCaretPair ----

TPgcCaretPair::TPgcCaretPair(plat::TWinControl* AOwner)
    : TPgcSingleCaret(AOwner), FInsCaretType(new TPgcCaret), FOvrCaretType(new TPgcCaret)
{
    FInsCaretType->Register();
    FOvrCaretType->Register();
    FOvrCaretType->SetShape(csBlock);
    SetCaretType(FInsCaretType);
}

TPgcCaretPair::~TPgcCaretPair()
{
    FInsCaretType->Deregister();
    FOvrCaretType->Deregister();
}

void TPgcCaretPair::SetInsertMode(bool Value)
{
    if (Value != FInsMode) {
        FInsMode = Value;
        SetCaretType(Value ? FInsCaretType : FOvrCaretType);
    }
}

void TPgcCaretPair::SetInsCaretType(TPgcCaret* Value)
{
    ReplaceType(FInsCaretType, Value, FInsMode);
}

void TPgcCaretPair::SetOvrCaretType(TPgcCaret* Value)
{
    ReplaceType(FOvrCaretType, Value, !FInsMode);
}

void TPgcCaretPair::ReplaceType(TPgcCaret*& Held, TPgcCaret* Value, bool Current)
{
    if (Value == nullptr || Value == Held) {
        return;
    }
    Value->Register();
    TPgcCaret* old = Held;
    Held = Value;
    if (Current) {
        SetCaretType(Value);
    }
    old->Deregister();
}

} // namespace qel

// TLabel: measuring, painting and the accelerator that focuses another control.
#include "platform/controls/standard/label.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/controls/win_control.h"

namespace plat {

PLAT_DEFINE_CLASS(TCustomLabel, TGraphicControl,
    Published("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment,
              {"taLeftJustify", "taRightJustify", "taCenter"}).Default(taLeftJustify),
    Published("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true),
    Published("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout, {"tlTop", "tlCenter", "tlBottom"})
        .Default(tlTop),
    Published("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true),
    Published("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default(false),
    Published("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false))
PLAT_DEFINE_CLASS(TLabel, TCustomLabel)

PLAT_BEGIN_MESSAGES(TCustomLabel, TGraphicControl)
    PLAT_MESSAGE(CM_TEXTCHANGED, CMTextChanged)
    PLAT_MESSAGE(CM_FONTCHANGED, CMFontChanged)
    PLAT_MESSAGE(CM_DIALOGCHAR, CMDialogChar)
PLAT_END_MESSAGES

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner)
{
    FControlStyle += TControlStyle{csOpaque, csReplicatable};
    FParentColor = true;
    FWidth = 65;
    FHeight = 17;
}

void TCustomLabel::SetAlignment(TAlignment value)
{
    if (value != FAlignment) {
        FAlignment = value;
        Invalidate();
    }
}

void TCustomLabel::SetLayout(TTextLayout value)
{
    if (value != FLayout) {
        FLayout = value;
        Invalidate();
    }
}

void TCustomLabel::SetAutoSize(bool value)
{
    if (value != FAutoSize) {
        FAutoSize = value;
        AdjustBounds();
    }
}

void TCustomLabel::SetWordWrap(bool value)
{
    if (value != FWordWrap) {
        FWordWrap = value;
        AdjustBounds();
        Invalidate();
    }
}

void TCustomLabel::SetShowAccelChar(bool value)
{
    if (value != FShowAccelChar) {
        FShowAccelChar = value;
        AdjustBounds();
        Invalidate();
    }
}

void TCustomLabel::SetTransparent(bool value)
{
    if (value == FTransparent) {
        return;
    }
    FTransparent = value;
    if (value) {
        FControlStyle.Exclude(csOpaque);
    } else {
        FControlStyle.Include(csOpaque);
    }
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value)
{
    if (value == FFocusControl) {
        return;
    }
    if (FFocusControl != nullptr) {
        FFocusControl->RemoveFreeNotification(this);
    }
    FFocusControl = value;
    if (value != nullptr) {
        value->FreeNotification(this);
    }
}

void TCustomLabel::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl) {
        FFocusControl = nullptr;
    }
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

std::uint32_t TCustomLabel::TextFormat() const
{
    std::uint32_t format = DT_EXPANDTABS;
    format |= FWordWrap ? DT_WORDBREAK : 0u;
    format |= FShowAccelChar ? 0u : DT_NOPREFIX;
    format |= FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
    return format;
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize || ComponentState().Contains(csLoading)) {
        return;
    }
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    canvas.RequireState();
    if (canvas.Handle() == nullptr) {
        return;
    }
    TRect text = Rect(0, 0, FWordWrap ? FWidth : 0, 0);
    // An empty caption still takes a line's height.
    const std::string shown = FText.empty() ? std::string(" ") : FText;
    canvas.Handle()->DrawText(shown, text, TextFormat() | DT_CALCRECT);
    const int width = FWordWrap ? FWidth : static_cast<int>(text.Width());
    const int height = static_cast<int>(text.Height());
    const int left = FAlignment == taRightJustify && !FWordWrap ? FLeft + FWidth - width : FLeft;
    SetBounds(left, FTop, width, height);
}

void TCustomLabel::Paint()
{
    TCanvas& canvas = *Canvas();
    const TRect client = ClientRect();
    if (!FTransparent) {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(FColor);
        canvas.FillRect(client);
    }
    canvas.Font()->Assign(Font());
    canvas.RequireState();
    if (canvas.Handle() == nullptr) {
        return;
    }
    TRect text = client;
    if (FLayout != tlTop) {
        TRect measured = client;
        canvas.Handle()->DrawText(FText, measured, TextFormat() | DT_CALCRECT);
        const std::int64_t free = client.Height() - measured.Height();
        text.Top = SaturateInt(client.Top + (FLayout == tlCenter ? free / 2 : free));
    }
    DrawCaption(canvas, FText, text, TextFormat(), Enabled(), Font()->Color());
}

void TCustomLabel::CMTextChanged(TMessage& message)
{
    Inherited(message);
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& message)
{
    Inherited(message);
    AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& message)
{
    if (FFocusControl == nullptr || !Enabled() || !FShowAccelChar ||
        !IsAccelerator(static_cast<char16_t>(message.WParam), FText) || !FFocusControl->CanFocus()) {
        return;
    }
    FFocusControl->SetFocus();
    message.Result = 1;
}

} // namespace plat

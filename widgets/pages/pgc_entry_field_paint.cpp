// The entry field's pixels: the display text (control characters shown as
// letters, zero values hidden), the off-screen paint with selection, error,
// disabled and control-character colours, left, right and numeric
// alignment, the drawn border sides, the text's top margin and the height
// that follows the font.
#include "widgets/pages/pgc_base_entry_field.h"

#include "widgets/pages/pgc_font_helpers.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/window_messages.h"
#include "platform/text_encoding.h"

#include <algorithm>

namespace qel {

namespace {

int WidthOn(plat::TDeviceContext& DC, std::u16string_view Text)
{
    if (Text.empty()) {
        return 0;
    }
    return static_cast<std::uint16_t>(DC.GetTextExtent(plat::Utf16ToUtf8(Text)).cx);
}

int PenOf(const TPgcBorder* Side)
{
    return Side->Enabled() ? Side->PenWidth() : 0;
}

// One paint of the text: where the next character goes, what is left to
// draw and the selection relative to the drawing position.
struct TTextPainter {
    plat::TDeviceContext& DC;
    plat::TRect R;
    std::u16string_view Display;   // what is drawn
    std::u16string_view Edit;      // what decides the runs
    int X = 0;
    int Y = 0;
    int SelStart = 0;
    int SelEnd = 0;
    plat::COLORREF TextColor = 0;
    plat::COLORREF BackColor = 0;
    plat::COLORREF HighlightText = 0;
    plat::COLORREF HighlightBack = 0;

    void DrawRun(int N, plat::COLORREF Text, plat::COLORREF Back)
    {
        N = std::min<int>(N, static_cast<int>(Display.size()));
        if (N <= 0) {
            return;
        }
        const std::u16string_view run = Display.substr(0, static_cast<std::size_t>(N));
        if (X < R.Right) {
            DC.SetTextColor(Text);
            DC.SetBkColor(Back);
            DC.ExtTextOut(X, Y, plat::ETO_CLIPPED, &R, plat::Utf16ToUtf8(run), nullptr);
        }
        X += WidthOn(DC, run);
        Display.remove_prefix(static_cast<std::size_t>(N));
        Edit.remove_prefix(std::min<std::size_t>(static_cast<std::size_t>(N), Edit.size()));
        SelStart = std::max(SelStart - N, 0);
        SelEnd -= N;
        if (SelStart >= SelEnd) {
            SelEnd = 0;
        }
    }

    void DrawSegment(int Count, plat::COLORREF Text, plat::COLORREF SelectedText)
    {
        while (Count > 0 && !Display.empty()) {
            int n;
            if (SelStart > 0 || SelEnd <= 0) {
                n = SelStart <= 0 ? Count : std::min(Count, SelStart);
                DrawRun(n, Text, BackColor);
            } else {
                n = std::min(Count, SelEnd - SelStart);
                const int mode = DC.SetBkMode(plat::OPAQUE);
                DrawRun(n, SelectedText, HighlightBack);
                DC.SetBkMode(mode);
            }
            Count -= n;
        }
    }

    // The printable run and the control-character run after it.
    std::pair<int, int> CountTextRuns() const
    {
        std::size_t i = 0;
        while (i < Edit.size() && Edit[i] >= u' ') {
            ++i;
        }
        const std::size_t printable = i;
        while (i < Edit.size() && Edit[i] < u' ') {
            ++i;
        }
        return {static_cast<int>(printable), static_cast<int>(i - printable)};
    }
};

} // namespace

std::u16string TPgcBaseEntryField::BuildDisplayText(std::uint16_t Size)
{
    std::u16string text(efEditSt.data(), std::min<std::size_t>(EditLength(), Size));
    for (char16_t& c : text) {
        if (c < u' ') {
            c = static_cast<char16_t>(c + 64);
        }
    }
    const std::uint8_t type = DataType();
    const bool hide = FZeroDisplay == zdHide || (FZeroDisplay == zdHideUntilModified && !EverModified());
    if (type >= EfLongInt && type <= EfComp && !HaveFocus() && hide) {
        const std::u16string stripped = GetStrippedEditString();
        const std::size_t first = stripped.find_first_not_of(u' ');
        const std::size_t last = stripped.find_last_not_of(u' ');
        const std::u16string_view trimmed = first == std::u16string::npos
            ? std::u16string_view()
            : std::u16string_view(stripped).substr(first, last - first + 1);
        const std::optional<double> value = DecimalTextToDouble(trimmed, FIntlSup->DecimalChar);
        if (value && *value == FZeroDisplayValue) {
            std::fill(text.begin(), text.end(), u' ');
        }
    }
    return text;
}

std::u16string TPgcBaseEntryField::BuildSampleText()
{
    if (efFieldClass == EfClassSimple) {
        return std::u16string(FMaxLength, efPicture[0]);
    }
    return std::u16string(efPicture.data(), std::min<std::size_t>(efPicLen, FMaxLength));
}

int TPgcBaseEntryField::TextWidth(std::u16string_view Text)
{
    return WidthOn(MeasuringDC(), Text);
}

void TPgcBaseEntryField::Paint()
{
    TPgcCustomControlEx::Paint();
    PaintOffscreen();
    PaintBorders();
}

void TPgcBaseEntryField::PaintOffscreen()
{
    const int width = std::max(Width(), 1);
    const int height = std::max(Height(), 1);
    plat::TBitmap bitmap(width, height);
    plat::TDeviceContext& memory = *bitmap.DeviceContext();
    plat::TDeviceContext& target = *Canvas()->Handle();
    memory.SetTextAlign(plat::TA_LEFT | plat::TA_TOP);
    PaintText(memory, plat::TRect{0, 0, width, height}, efHOffset);
    target.BitBlt(0, 0, width, height, &memory, 0, 0, plat::SRCCOPY);
}

void TPgcBaseEntryField::PaintText(plat::TDeviceContext& DC, const plat::TRect& R, int Offset)
{
    DC.SelectFont(Font()->Handle());
    const bool designing = Designing();
    const std::u16string display = designing ? BuildSampleText() : BuildDisplayText(kMaxLength);
    const std::size_t from = designing ? 0 : std::min<std::size_t>(static_cast<std::size_t>(std::max(Offset, 0)),
                                                                    display.size());
    const std::u16string edit(efEditSt.data(), std::min<std::size_t>(EditLength(), kMaxLength));
    TTextPainter painter{DC, R, std::u16string_view(display).substr(from),
                         designing ? std::u16string_view(display)
                                   : std::u16string_view(edit).substr(std::min(from, edit.size()))};
    if (HaveFocus()) {
        painter.SelStart = std::max(efSelStart - Offset, 0);
        painter.SelEnd = efSelEnd - Offset;
        if (painter.SelEnd <= painter.SelStart) {
            painter.SelEnd = 0;
        }
    }
    const bool valid = IsValid();
    painter.TextColor = plat::ToColorRef(valid ? Font()->Color() : FEFColors->Error()->TextColor());
    painter.BackColor = plat::ToColorRef(valid ? Color() : FEFColors->Error()->BackColor());
    const plat::TColor fill = !Enabled() ? FEFColors->Disabled()->BackColor()
                              : valid    ? Color()
                                         : FEFColors->Error()->BackColor();
    plat::TLogBrush brush;
    brush.Color = plat::ToColorRef(fill);
    DC.FillRect(R, brush);
    if (designing || !Enabled()) {
        painter.SelStart = 0;
        painter.SelEnd = 0;
    }
    if (!Enabled()) {
        painter.TextColor = plat::ToColorRef(FEFColors->Disabled()->TextColor());
        painter.BackColor = plat::ToColorRef(FEFColors->Disabled()->BackColor());
    }
    DC.SetBkMode(plat::OPAQUE);
    int margin = FTextMargin;
    const int clientWidth = ClientWidth();
    const bool numeric = efFieldClass == EfClassNumeric;
    if (numeric) {
        margin += PenOf(FBorders->RightBorder());
        painter.X = clientWidth - margin - 1;
    } else {
        efRightAlignActive = FOptions.Contains(efoRightAlign);
        if (!efRightAlignActive) {
            margin += PenOf(FBorders->LeftBorder());
            painter.X = margin - 1;
        } else {
            margin += PenOf(FBorders->RightBorder());
            const int textWidth = WidthOn(DC, painter.Display);
            painter.X = textWidth < clientWidth - margin - 1 ? clientWidth - textWidth - margin - 1 : margin - 1;
        }
    }
    painter.Y = efTopMargin;
    painter.HighlightText = plat::ToColorRef(FEFColors->Highlight()->TextColor());
    painter.HighlightBack = plat::ToColorRef(FEFColors->Highlight()->BackColor());
    const plat::COLORREF controlColor = plat::ToColorRef(FCtrlColor);
    if (numeric) {
        // The whole text at once, right-aligned, selected or not.
        std::u16string rest(painter.Display);
        const std::size_t first = rest.find_first_not_of(u' ');
        rest = first == std::u16string::npos ? std::u16string() : rest.substr(first, rest.find_last_not_of(u' ') - first + 1);
        const bool selected = painter.SelStart < painter.SelEnd;
        const std::uint32_t align = DC.SetTextAlign(plat::TA_RIGHT | plat::TA_TOP);
        DC.SetTextColor(selected ? painter.HighlightText : painter.TextColor);
        DC.SetBkColor(selected ? painter.HighlightBack : painter.BackColor);
        if (!rest.empty()) {
            DC.ExtTextOut(painter.X, painter.Y, plat::ETO_CLIPPED, &R, plat::Utf16ToUtf8(rest), nullptr);
        }
        DC.SetTextAlign(align);
        return;
    }
    if (designing) {
        painter.DrawSegment(static_cast<int>(painter.Display.size()), painter.TextColor, painter.HighlightText);
        return;
    }
    for (;;) {
        const auto [printable, control] = painter.CountTextRuns();
        if (printable == 0 && control == 0) {
            break;
        }
        painter.DrawSegment(printable, painter.TextColor, painter.HighlightText);
        painter.DrawSegment(control, controlColor, controlColor);
        if (control == 0) {
            break;
        }
    }
}

void TPgcBaseEntryField::PaintBorders()
{
    plat::TCanvas* canvas = Canvas();
    const int width = Width();
    const int height = Height();
    const auto draw = [&](const TPgcBorder* Side, int X1, int Y1, int X2, int Y2) {
        canvas->Pen()->SetColor(Side->PenColor());
        canvas->Pen()->SetWidth(Side->PenWidth());
        canvas->Pen()->SetStyle(Side->PenStyle());
        canvas->MoveTo(X1, Y1);
        canvas->LineTo(X2, Y2);
    };
    const auto farEdge = [](int Extent, int W) { return W % 2 != 0 ? Extent - W / 2 - 1 : Extent - W / 2; };
    if (const TPgcBorder* left = FBorders->LeftBorder(); left->Enabled()) {
        draw(left, left->PenWidth() / 2, 0, left->PenWidth() / 2, height);
    }
    if (const TPgcBorder* right = FBorders->RightBorder(); right->Enabled()) {
        const int x = farEdge(width, right->PenWidth());
        draw(right, x, 0, x, height);
    }
    if (const TPgcBorder* top = FBorders->TopBorder(); top->Enabled()) {
        draw(top, 0, top->PenWidth() / 2, width, top->PenWidth() / 2);
    }
    if (const TPgcBorder* bottom = FBorders->BottomBorder(); bottom->Enabled()) {
        const int y = farEdge(height, bottom->PenWidth());
        draw(bottom, 0, y, width, y);
    }
}

// ---- sizing ----

void TPgcBaseEntryField::SetAutoSize(bool Value)
{
    if (Value == FAutoSize) {
        return;
    }
    FAutoSize = Value;
    if (!ComponentState().Contains(plat::csLoading)) {
        AdjustHeightToFont();
    }
}

void TPgcBaseEntryField::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FAutoSize && AHeight != Height() && !ComponentState().Contains(plat::csLoading)) {
        FAutoSize = false;
    }
    TPgcCustomControlEx::SetBounds(ALeft, ATop, AWidth, AHeight);
    ComputeTopMargin();
    if (HandleAllocated() && HaveFocus()) {
        UpdateCaretAndScroll(false);
    }
    Refresh();
}

void TPgcBaseEntryField::AdjustHeightToFont()
{
    if (!FAutoSize) {
        return;
    }
    const int fontHeight = MeasuringDC().GetTextMetrics().Height;
    const int allowance = (FCtl3D ? 8 : 6) * plat::GetSystemMetrics(plat::SM_CYBORDER);
    TPgcCustomControlEx::SetBounds(Left(), Top(), Width(), fontHeight + allowance);
    ComputeTopMargin();
}

void TPgcBaseEntryField::ComputeTopMargin()
{
    efTopMargin = 0;
    if (HandleAllocated()) {
        efTopMargin = GetTopTextMargin(*Font(), FBorderStyle == bsSingle ? TTextFieldBorder::Single
                                                                          : TTextFieldBorder::None,
                                       Height(), FCtl3D);
    }
    efTopMargin += PenOf(FBorders->TopBorder());
}

void TPgcBaseEntryField::BordersChanged(plat::TObject*)
{
    const bool any = FBorders->LeftBorder()->Enabled() || FBorders->RightBorder()->Enabled()
        || FBorders->TopBorder()->Enabled() || FBorders->BottomBorder()->Enabled();
    FBorderStyle = any ? bsNone : bsSingle;
    FCtl3D = !any;
    RecreateWnd();
    ComputeTopMargin();
}

void TPgcBaseEntryField::ColorsChanged(plat::TObject*)
{
    Invalidate();
}

// ---- messages ----

void TPgcBaseEntryField::WMEraseBkgnd(plat::TMessage& Msg)
{
    Msg.Result = 1;
}

void TPgcBaseEntryField::WMSize(plat::TMessage& Msg)
{
    Inherited(Msg);
    Refresh();
}

void TPgcBaseEntryField::CMFontChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (ComponentState().Contains(plat::csLoading) || !HandleAllocated()) {
        return;
    }
    Canvas()->Font()->Assign(Font());
    AdjustHeightToFont();
    ComputeTopMargin();
    if (Focused()) {
        UpdateCaretAndScroll(false);
    }
}

void TPgcBaseEntryField::CMCtl3DChanged(plat::TMessage& Msg)
{
    if (!HandleAllocated()) {
        return;
    }
    if (FBorderStyle == bsSingle) {
        RecreateWnd();
        if (!ComponentState().Contains(plat::csLoading)) {
            AdjustHeightToFont();
        }
    }
    ComputeTopMargin();
    Inherited(Msg);
}

void TPgcBaseEntryField::CMEnabledChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    Invalidate();
}

void TPgcBaseEntryField::WMSetFont(plat::TMessage& Msg)
{
    DefaultHandler(Msg);
    Canvas()->Font()->Assign(Font());
}

} // namespace qel

// The window side of the data tree's painting: the erase message that
// never erases, the print message with the header, the frame, and the
// background picture behind the rows, fixed at an offset or tiled.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/graphic.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/gdi_objects.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/drag_drop.h"
#include "platform/controls/window_paint.h"
#include "platform/controls/window.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_styles.h"
#include "platform/timers.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>

namespace qel {

namespace {

int PositiveModulo(std::int64_t value, int modulus)
{
    const std::int64_t rest = value % modulus;
    return static_cast<int>(rest < 0 ? rest + modulus : rest);
}

} // namespace

// ---- messages ----

void TBaseDataTree::WMEraseBkgnd(plat::TMessage& message)
{
    // Every pixel of the client comes from PaintTree.
    message.Result = 1;
}

void TBaseDataTree::WMPrint(plat::TMessage& message)
{
    auto* dc = reinterpret_cast<plat::HDC>(message.WParam);
    const bool checkVisible = (message.LParam & plat::PRF_CHECKVISIBLE) != 0;
    if (dc != nullptr && FHeader->Options().Contains(hoVisible) && !FHeaderRect.IsEmpty() &&
        !(checkVisible && !Visible())) {
        FHeader->Columns().PaintHeader(dc, FHeaderRect, -FEffectiveOffsetX);
    }
    Inherited(message);
}

void TBaseDataTree::WMPaint(plat::TMessage& message)
{
    if (!plat::DragImageShown()) {
        Inherited(message);
        return;
    }
    plat::DragShowNolock(false);
    TryFinally([&] { Inherited(message); }, [&] { plat::DragShowNolock(true); });
}

void TBaseDataTree::CMColorChanged(plat::TMessage& message)
{
    Inherited(message);
    if (!Loading()) {
        PrepareBitmaps(true, false);
        if (HandleAllocated()) {
            Invalidate();
        }
    }
}

void TBaseDataTree::CMSysColorChange(plat::TMessage& message)
{
    Inherited(message);
    plat::TMessage systemColors{plat::WM_SYSCOLORCHANGE, message.WParam, message.LParam, 0};
    DefaultHandler(systemColors);
}

void TBaseDataTree::CMCtl3DChanged(plat::TMessage& message)
{
    Inherited(message);
    if (FBorderStyle == bsSingle && HandleAllocated()) {
        RecreateWnd();
    }
}

void TBaseDataTree::WMThemeChanged(plat::TMessage& message)
{
    Inherited(message);
    // The platform draws no visual styles: themes are never enabled.
    constexpr bool themesEnabled = false;
    if (themesEnabled && FOptions->PaintOptions().Contains(toThemeAware)) {
        DoStateChange({tsUseThemes});
    } else {
        DoStateChange({}, {tsUseThemes});
    }
    if (!FChangingTheme && HandleAllocated()) {
        plat::SetTimer(Handle(), ThemeChangedTimer, 500);
    }
    FChangingTheme = false;
}

void TBaseDataTree::SetWindowTheme(const std::string& theme)
{
    FChangingTheme = true;
    FWindowTheme = theme;
    if (HandleAllocated()) {
        Perform(plat::WM_THEMECHANGED, 0, 0);
    }
}

void TBaseDataTree::SetCtl3D(bool value)
{
    if (value != FCtl3D) {
        FCtl3D = value;
        Perform(plat::CM_CTL3DCHANGED, 0, 0);
    }
}

// ---- the frame's bevels and border ----

int TBaseDataTree::BevelSize(TBevelEdge edge) const
{
    if (FBevelKind == bkNone || !FBevelEdges.Contains(edge)) {
        return 0;
    }
    return (FBevelInner != bvNone ? FBevelWidth : 0) + (FBevelOuter != bvNone ? FBevelWidth : 0);
}

void TBaseDataTree::FrameChanged()
{
    if (!HandleAllocated()) {
        return;
    }
    // The frame is measured anew (WM_NCCALCSIZE) and painted.
    plat::SetWindowPos(Handle(), 0, 0, 0, 0, 0,
                       plat::SWP_NOSIZE | plat::SWP_NOMOVE | plat::SWP_NOZORDER | plat::SWP_NOACTIVATE |
                           plat::SWP_FRAMECHANGED);
    UpdateHeaderRect();
    const plat::TRect none{};
    plat::RedrawWindow(Handle(), &none, nullptr, plat::RDW_INVALIDATE | plat::RDW_FRAME | plat::RDW_NOERASE);
    Invalidate();
}

template <class T>
void TBaseDataTree::ChangeFrame(T& field, T value)
{
    if (value != field) {
        field = value;
        FrameChanged();
    }
}

void TBaseDataTree::SetBevelKind(TBevelKind value)
{
    ChangeFrame(FBevelKind, value);
}

void TBaseDataTree::SetBevelInner(TBevelCut value)
{
    ChangeFrame(FBevelInner, value);
}

void TBaseDataTree::SetBevelOuter(TBevelCut value)
{
    ChangeFrame(FBevelOuter, value);
}

void TBaseDataTree::SetBevelEdges(TBevelEdges value)
{
    ChangeFrame(FBevelEdges, value);
}

void TBaseDataTree::SetBevelWidth(int value)
{
    ChangeFrame(FBevelWidth, std::max(value, 1));
}

void TBaseDataTree::SetBorderWidth(int value)
{
    ChangeFrame(FBorderWidth, std::max(value, 0));
}

void TBaseDataTree::PaintBorder(plat::HDC dc)
{
    if (FBevelKind == bkNone && FBorderWidth == 0) {
        return;
    }
    const plat::TSize border = GetBorderDimensions();
    plat::TRect r = plat::InflateRect(plat::Rect(0, 0, Width(), Height()), border.cx, border.cy);
    const int saved = dc->SaveDC();
    TryFinally(
        [&] {
            if (FBevelKind != bkNone) {
                std::uint32_t edge = 0;
                edge |= FBevelInner == bvLowered ? plat::BDR_SUNKENINNER
                                                 : FBevelInner == bvRaised ? plat::BDR_RAISEDINNER : 0u;
                edge |= FBevelOuter == bvLowered ? plat::BDR_SUNKENOUTER
                                                 : FBevelOuter == bvRaised ? plat::BDR_RAISEDOUTER : 0u;
                std::uint32_t flags = 0;
                flags |= FBevelEdges.Contains(beLeft) ? plat::BF_LEFT : 0u;
                flags |= FBevelEdges.Contains(beTop) ? plat::BF_TOP : 0u;
                flags |= FBevelEdges.Contains(beRight) ? plat::BF_RIGHT : 0u;
                flags |= FBevelEdges.Contains(beBottom) ? plat::BF_BOTTOM : 0u;
                flags |= FBevelKind == bkSoft ? plat::BF_SOFT : FBevelKind == bkFlat ? plat::BF_FLAT : 0u;
                plat::TRect bevel = r;
                if (edge != 0) {
                    dc->DrawEdge(bevel, edge, flags);
                }
                r.Left += BevelSize(beLeft);
                r.Top += BevelSize(beTop);
                r.Right -= BevelSize(beRight);
                r.Bottom -= BevelSize(beBottom);
            }
            // The border is the frame between r and r less the border width.
            dc->IntersectClipRect(static_cast<int>(r.Left), static_cast<int>(r.Top), static_cast<int>(r.Right),
                                  static_cast<int>(r.Bottom));
            const plat::TRect inner = plat::InflateRect(r, -FBorderWidth, -FBorderWidth);
            dc->ExcludeClipRect(static_cast<int>(inner.Left), static_cast<int>(inner.Top),
                                static_cast<int>(inner.Right), static_cast<int>(inner.Bottom));
            plat::TLogBrush brush;
            brush.Color = plat::ToColorRef(plat::ColorToRGB(FColors->BorderColor()));
            dc->FillRect(r, brush);
        },
        [&] { dc->RestoreDC(saved); });
}

// ---- window creation ----

void TBaseDataTree::CreateParams(plat::TCreateParams& params)
{
    plat::TCustomControl::CreateParams(params);
    params.Style |= plat::WS_CLIPCHILDREN | plat::WS_CLIPSIBLINGS;
    const TScrollStyle bars = FScrollBarOptions->ScrollBars();
    if (bars == ssHorizontal || bars == ssBoth) {
        params.Style |= plat::WS_HSCROLL;
    }
    if (bars == ssVertical || bars == ssBoth) {
        params.Style |= plat::WS_VSCROLL;
    }
    if (FOptions->MiscOptions().Contains(toFullRepaintOnResize)) {
        params.ClassStyle |= plat::CS_HREDRAW | plat::CS_VREDRAW;
    } else {
        params.ClassStyle &= ~(plat::CS_HREDRAW | plat::CS_VREDRAW);
    }
    params.Style &= ~plat::WS_BORDER;
    params.ExStyle &= ~plat::WS_EX_CLIENTEDGE;
    if (FBorderStyle == bsSingle) {
        if (FCtl3D) {
            params.ExStyle |= plat::WS_EX_CLIENTEDGE;
        } else {
            params.Style |= plat::WS_BORDER;
        }
    }
}

void TBaseDataTree::SetBorderStyle(TBorderStyle value)
{
    if (value != FBorderStyle) {
        FBorderStyle = value;
        if (HandleAllocated()) {
            RecreateWnd();
        }
    }
}

// ---- background picture ----

void TBaseDataTree::SetBackground(const plat::TPicture* value)
{
    FBackground->Assign(value);
    if (HandleAllocated() && !Loading()) {
        Invalidate();
    }
}

int TBaseDataTree::BackgroundOffset(int index) const
{
    switch (index) {
    case 0:
        return FBackgroundOffsetX;
    case 1:
        return FBackgroundOffsetY;
    default:
        throw EDataTreeError("Unknown index in TBaseDataTree.IsStored_BackgroundOffsetXY", 0);
    }
}

void TBaseDataTree::SetBackgroundOffset(int index, int value)
{
    int& field = index == 0 ? FBackgroundOffsetX : FBackgroundOffsetY;
    if (index != 0 && index != 1) {
        throw EDataTreeError("Unknown index in TBaseDataTree.IsStored_BackgroundOffsetXY", 0);
    }
    if (value != field) {
        field = value;
        if (HandleAllocated()) {
            Invalidate();
        }
    }
}

void TBaseDataTree::SetBackGroundImageTransparent(bool value)
{
    if (value != FBackgroundImageTransparent) {
        FBackgroundImageTransparent = value;
        if (HandleAllocated()) {
            Invalidate();
        }
    }
}

bool TBaseDataTree::UsesBackground(TDTInternalPaintOptions paintOptions) const
{
    return FOptions->PaintOptions().Contains(toShowBackground) && paintOptions.Contains(poBackground) &&
           FBackground->Graphic() != nullptr && !FBackground->Graphic()->Empty();
}

void TBaseDataTree::PrepareBackgroundPicture(plat::TBitmap& target, plat::TColor color) const
{
    plat::TGraphic* source = FBackground->Graphic();
    target.SetSize(source->Width(), source->Height());
    plat::TCanvas& canvas = *target.Canvas();
    const auto* bitmap = dynamic_cast<const plat::TBitmap*>(source);
    const bool masked = bitmap != nullptr && (FBackgroundImageTransparent || bitmap->Transparent());
    if (masked || FBackgroundImageTransparent) {
        canvas.Brush()->SetStyle(plat::bsSolid);
        canvas.Brush()->SetColor(color);
        canvas.FillRect(plat::Rect(0, 0, source->Width(), source->Height()));
    }
    if (masked) {
        // The transparent colour's pixels keep the fill.
        plat::TBitmap copy;
        copy.Assign(bitmap);
        copy.SetTransparent(true);
        canvas.Draw(0, 0, &copy);
        return;
    }
    canvas.Draw(0, 0, source);
}

void TBaseDataTree::StaticBackground(plat::TCanvas& canvas, plat::TPoint offset, const plat::TRect& r,
                                     plat::TColor color)
{
    canvas.Brush()->SetStyle(plat::bsSolid);
    canvas.Brush()->SetColor(color);
    canvas.FillRect(r);
    plat::TBitmap picture;
    PrepareBackgroundPicture(picture, color);
    const plat::TRect pictureRect = plat::Rect(FBackgroundOffsetX, FBackgroundOffsetY,
                                               FBackgroundOffsetX + picture.Width(),
                                               FBackgroundOffsetY + picture.Height());
    const plat::TRect area = plat::OffsetRect(r, offset.X, offset.Y);
    const plat::TRect both = plat::IntersectRect(area, pictureRect);
    if (both.IsEmpty()) {
        return;
    }
    const plat::TRect source = plat::OffsetRect(both, -pictureRect.Left, -pictureRect.Top);
    canvas.CopyRect(plat::OffsetRect(both, -offset.X, -offset.Y), picture.Canvas(), source);
}

void TBaseDataTree::TileBackground(plat::TCanvas& canvas, plat::TPoint offset, const plat::TRect& r,
                                   plat::TColor color)
{
    plat::TBitmap picture;
    PrepareBackgroundPicture(picture, color);
    const int w = picture.Width();
    const int h = picture.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    int sourceY = PositiveModulo(std::int64_t{r.Top} + offset.Y + FBackgroundOffsetY, h);
    for (int y = r.Top; y < r.Bottom;) {
        const int bandHeight = std::min(r.Bottom - y, h - sourceY);
        int sourceX = PositiveModulo(std::int64_t{offset.X} + r.Left + FBackgroundOffsetX, w);
        for (int x = r.Left; x < r.Right;) {
            const int pieceWidth = std::min(r.Right - x, w - sourceX);
            canvas.CopyRect(plat::Rect(x, y, x + pieceWidth, y + bandHeight), picture.Canvas(),
                            plat::Rect(sourceX, sourceY, sourceX + pieceWidth, sourceY + bandHeight));
            x += w - sourceX;
            sourceX = 0;
        }
        y += h - sourceY;
        sourceY = 0;
    }
}

} // namespace qel

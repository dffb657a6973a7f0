// The tree's hint window: the rectangle a hint or tooltip needs (empty when
// a tooltip's text fits its cell), its painting in the info colours, and
// the messages that leave it open. Also where the tree names this class.
#include "widgets/tree/tree_hint_window.h"

#include "platform/canvas/canvas.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/controls/application.h"
#include "platform/controls/screen.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_styles.h"
#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/data_tree_column.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/string_data_tree.h"
#include "widgets/tree/tree_options.h"

namespace qel {

PLAT_DEFINE_CLASS(TDataTreeHintWindow, plat::THintWindow)

TDTHintWindowClass TBaseDataTree::GetHintWindowClass()
{
    return [](plat::TComponent* owner) -> plat::THintWindow* { return new TDataTreeHintWindow(owner); };
}

TDTHintKind TBaseDataTree::DoGetHintKind(PDataNode node, TColumnIndex column)
{
    TDTHintKind kind = GetDefaultHintKind();
    if (OnGetHintKind) {
        kind = vhkText;
        OnGetHintKind(this, node, column, kind);
    }
    return kind;
}

void TBaseDataTree::DoGetHintSize(PDataNode node, TColumnIndex column, plat::TRect& r)
{
    if (OnGetHintSize) {
        OnGetHintSize(this, node, column, r);
    }
}

void TBaseDataTree::DoDrawHint(plat::TCanvas* canvas, PDataNode node, const plat::TRect& r, TColumnIndex column)
{
    if (OnDrawHint) {
        OnDrawHint(this, canvas, node, r, column);
    }
}

TDataTreeHintWindow::TDataTreeHintWindow(plat::TComponent* owner) : plat::THintWindow(owner) {}

void TDataTreeHintWindow::CreateParams(plat::TCreateParams& params)
{
    plat::THintWindow::CreateParams(params);
    params.Style = plat::WS_POPUP;
    params.ExStyle &= ~plat::WS_EX_CLIENTEDGE;
}

bool TDataTreeHintWindow::Tooltip() const
{
    return FHintData.Node != nullptr && FHintData.Tree != nullptr && FHintData.Tree->HintMode() == hmTooltip;
}

void TDataTreeHintWindow::PrepareFont(plat::TCanvas* canvas)
{
    TBaseDataTree* tree = FHintData.Tree;
    if (Tooltip()) {
        canvas->Font()->Assign(tree->Font());
        tree->DoPaintText(FHintData.Node, canvas, FHintData.Column, ttNormal);
    } else {
        canvas->Font()->Assign(Font());
        if (tree != nullptr) {
            const int ppi = plat::Screen != nullptr ? plat::Screen->PixelsPerInch() : 96;
            canvas->Font()->SetHeight(plat::MulDiv(Font()->Height(), tree->ScaledPixels(96), ppi));
        }
    }
    canvas->RequireState();
}

plat::TRect TDataTreeHintWindow::CalcHintRect(int maxWidth, const std::string& hint, void* data)
{
    plat::TRect r;
    if (data == nullptr) {
        return r;
    }
    try {
        FHintData = *static_cast<const TDTHintData*>(data);
        if (FHintData.HintText.empty()) {
            FHintData.HintText = hint;
        }
        TBaseDataTree* tree = FHintData.Tree;
        if (FHintData.Node != nullptr && !FHintData.HintRect.IsEmpty()) {
            return FHintData.HintRect;
        }
        if (tree == nullptr) {
            return r;
        }
        const TDataTreeColumns& columns = tree->Header()->Columns();
        const bool hasColumn = FHintData.Column >= 0 && columns.IsValidColumn(FHintData.Column);
        FHintData.BidiMode = hasColumn ? columns.Items(FHintData.Column)->BiDiMode() : tree->BiDiMode();
        FHintData.Alignment = hasColumn ? columns.Items(FHintData.Column)->Alignment() : tree->Alignment();
        if (FHintData.BidiMode != bdLeftToRight) {
            FHintData.Alignment = MirroredAlignment(FHintData.Alignment);
        }
        plat::TCanvas* canvas = Canvas();
        PrepareFont(canvas);
        FTextHeight = canvas->Handle()->GetTextMetrics().Height;
        const std::string& text = FHintData.HintText;
        if (text.empty()) {
            return r;
        }
        const int extra = tree->TextMargin() + tree->Margin() + tree->ScaledPixels(4);
        if (!Tooltip()) {
            r = plat::Rect(0, 0, maxWidth, FTextHeight);
            canvas->Handle()->DrawText(text, r, plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX);
            r.Bottom += tree->ScaledPixels(6) - 4;
            r.Right += extra;
            return r;
        }
        PDataNode node = FHintData.Node;
        if (FHintData.LineBreakStyle == hlbDefault) {
            FHintData.LineBreakStyle = node->States.Contains(vsMultiline) || text.find('\r') != std::string::npos
                                           ? hlbForceMultiLine
                                           : hlbForceSingleLine;
        }
        if (FHintData.LineBreakStyle == hlbForceMultiLine) {
            r = tree->GetDisplayRect(node, FHintData.Column, true);
            plat::TRect measured = r;
            canvas->Handle()->DrawText(text, measured, plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX);
            if (FHintData.BidiMode != bdLeftToRight) {
                r.Left = measured.Left - tree->TextMargin() + 1;
            } else {
                r.Right = measured.Right + tree->TextMargin();
            }
            r.Bottom = measured.Bottom;
            r.Right += 1;
            // A text that fits its cell and the window needs no tooltip.
            if (columns.Count() > 0 && hasColumn &&
                tree->GetNodeHeight(node) + 2 >= r.Height() &&
                columns.Items(FHintData.Column)->Width() + 2 >= r.Width() && r.Left >= 0 && r.Top >= 0 &&
                r.Right <= tree->ClientWidth() + 3 && r.Bottom <= tree->ClientHeight() + 3) {
                return plat::TRect{};
            }
        } else {
            r = tree->LastHintRect();
            plat::TRect measured = plat::Rect(0, 0, maxWidth, FTextHeight);
            canvas->Handle()->DrawText(text, measured, plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX);
            if (measured.Width() != r.Width()) {
                r.Right = r.Left + measured.Width() + extra;
            }
            if (tree->TreeOptions()->PaintOptions().Contains(toShowHorzGridLines)) {
                --r.Bottom;
            }
        }
        r = plat::InflateRect(r, 1, 1);
        r = plat::OffsetRect(r, static_cast<int>(-r.Left - 1), static_cast<int>(-r.Top - 1));
    } catch (...) {
        if (plat::Application != nullptr) {
            plat::Application->HandleException(this);
        }
    }
    return r;
}

void TDataTreeHintWindow::Paint()
{
    plat::TCanvas* canvas = Canvas();
    TBaseDataTree* tree = FHintData.Tree;
    const bool multiLine = FHintData.LineBreakStyle == hlbForceMultiLine;
    int textTop = 2;
    std::string text = FHintData.HintText.empty() ? Text() : FHintData.HintText;
    if (Tooltip()) {
        plat::TRect textRect;
        std::string cellText;
        if (auto* stringTree = dynamic_cast<TCustomDataStringTree*>(tree)) {
            stringTree->GetTextInfo(FHintData.Node, FHintData.Column, canvas->Font(), textRect, cellText);
        } else {
            PrepareFont(canvas);
            textRect = tree->GetDisplayRect(FHintData.Node, FHintData.Column, true);
        }
        textTop = multiLine ? 1 : (Height() - static_cast<int>(textRect.Height())) / 2;
    } else {
        PrepareFont(canvas);
    }
    plat::TRect r = ClientRect();
    if (tree != nullptr && FHintData.Node != nullptr &&
        tree->DoGetHintKind(FHintData.Node, FHintData.Column) == vhkOwnerDraw) {
        tree->DoDrawHint(canvas, FHintData.Node, r, FHintData.Column);
        return;
    }
    canvas->Font()->SetColor(plat::clInfoText);
    canvas->Pen()->SetColor(plat::clBlack);
    canvas->Brush()->SetColor(plat::clInfoBk);
    canvas->Brush()->SetStyle(plat::bsSolid);
    canvas->Rectangle(r);
    r = plat::InflateRect(r, -1, -1);
    canvas->Brush()->SetStyle(plat::bsClear);
    r.Top = textTop;
    r.Left += 3;
    canvas->RequireState();
    canvas->Handle()->DrawText(text, r, plat::DT_NOPREFIX | (Tooltip() && multiLine ? plat::DT_WORDBREAK : 0u));
}

bool TDataTreeHintWindow::IsHintMsg(const plat::TMsg& msg)
{
    if (!plat::THintWindow::IsHintMsg(msg) || !HandleAllocated() || !Shown()) {
        return false;
    }
    const bool key = msg.message == plat::WM_KEYDOWN || msg.message == plat::WM_SYSKEYDOWN;
    const auto code = static_cast<std::uint16_t>(msg.wParam);
    return !(key && (code == plat::VK_LEFT || code == plat::VK_UP || code == plat::VK_RIGHT || code == plat::VK_DOWN));
}

} // namespace qel

// The edit links and the string tree's editor: preparing an editor over a
// cell, the stop flag that makes end and cancel happen once, writing the
// text back, the editor's key table and its size that follows the text.
#include "widgets/tree/tree_edit_links.h"

#include "platform/controls/control_messages.h"
#include "platform/controls/standard/edit_messages.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_styles.h"
#include "widgets/tree/data_tree_column.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/string_data_tree.h"
#include "widgets/tree/tree_options.h"

#include <algorithm>
#include <stdexcept>

namespace qel {

// ---- TBaseEditLink ----

TBaseEditLink::~TBaseEditLink()
{
    if (FEdit != nullptr) {
        plat::TControl* edit = FEdit;
        FEdit = nullptr;
        ReleaseEdit(edit);
    }
}

void TBaseEditLink::ReleaseEdit(plat::TControl* edit)
{
    if (auto* dtEdit = dynamic_cast<TDTEdit*>(edit)) {
        if (dtEdit->FLink == this) {
            dtEdit->FLink = nullptr;
        }
        dtEdit->Release();
        return;
    }
    delete edit;
}

void TBaseEditLink::SetEdit(plat::TControl* edit)
{
    if (edit == FEdit) {
        return;
    }
    plat::TControl* old = FEdit;
    FEdit = edit;
    if (old != nullptr) {
        ReleaseEdit(old);
    }
}

bool TBaseEditLink::BeginEdit()
{
    bool result = !FStopping;
    if (result) {
        DoBeginEdit(result);
    }
    return result;
}

bool TBaseEditLink::EndEdit()
{
    bool result = !FStopping;
    if (result) {
        DoEndEdit(result);
        if (result) {
            FStopping = true;
        }
    }
    return result;
}

bool TBaseEditLink::CancelEdit()
{
    bool result = !FStopping;
    if (result) {
        DoCancelEdit(result);
        if (result) {
            FStopping = true;
            // An edit cancelled from this side ends on the tree's side too;
            // the nested call finds the link stopping.
            if (FTree != nullptr) {
                FTree->CancelEditNode();
            }
        }
    }
    return result;
}

bool TBaseEditLink::PrepareEdit(TBaseDataTree* tree, PDataNode node, TColumnIndex column)
{
    auto* stringTree = dynamic_cast<TCustomDataStringTree*>(tree);
    if (stringTree == nullptr) {
        return false;
    }
    FTree = stringTree;
    FNode = node;
    FColumn = column;
    const TDataTreeColumns& columns = tree->Header()->Columns();
    if (column >= 0 && columns.IsValidColumn(column)) {
        FBiDiMode = columns.Items(column)->BiDiMode();
        FAlignment = columns.Items(column)->Alignment();
    } else {
        FBiDiMode = tree->BiDiMode();
        FAlignment = tree->Alignment();
    }
    SetEdit(nullptr);
    bool result = true;
    DoPrepareEdit(result);
    return result;
}

void TBaseEditLink::DoBeginEdit(bool& result)
{
    if (OnBeginEdit) {
        OnBeginEdit(this, result);
    }
}

void TBaseEditLink::DoCancelEdit(bool& result)
{
    if (OnCancelEdit) {
        OnCancelEdit(this, result);
    }
}

void TBaseEditLink::DoEndEdit(bool& result)
{
    if (OnEndEdit) {
        OnEndEdit(this, result);
    }
}

void TBaseEditLink::DoPrepareEdit(bool& result)
{
    if (OnPrepareEdit) {
        plat::TControl* edit = FEdit;
        OnPrepareEdit(this, edit, result);
        SetEdit(edit);
    }
}

// ---- TWinControlEditLink ----

plat::TWinControl* TWinControlEditLink::Edit() const
{
    return dynamic_cast<plat::TWinControl*>(FEdit);
}

bool TWinControlEditLink::BeginEdit()
{
    const bool result = TBaseEditLink::BeginEdit();
    if (result && Edit() != nullptr) {
        Edit()->Show();
        if (Edit()->CanFocus()) {
            Edit()->SetFocus();
        }
    }
    return result;
}

bool TWinControlEditLink::EndEdit()
{
    const bool result = TBaseEditLink::EndEdit();
    if (result && FEdit != nullptr) {
        FEdit->Hide();
    }
    return result;
}

bool TWinControlEditLink::CancelEdit()
{
    const bool result = TBaseEditLink::CancelEdit();
    if (result && FEdit != nullptr) {
        FEdit->Hide();
    }
    return result;
}

plat::TRect TWinControlEditLink::GetBounds() const
{
    return FEdit != nullptr ? FEdit->BoundsRect() : plat::TRect{};
}

void TWinControlEditLink::ProcessMessage(plat::TMessage& message)
{
    if (FEdit != nullptr) {
        FEdit->WndProc(message);
    }
}

// ---- TStringEditLink ----

TDTEdit* TStringEditLink::Edit() const
{
    return dynamic_cast<TDTEdit*>(FEdit);
}

bool TStringEditLink::PrepareEdit(TBaseDataTree* tree, PDataNode node, TColumnIndex column)
{
    if (!TBaseEditLink::PrepareEdit(tree, node, column)) {
        return false;
    }
    // The editor asks the link for the node's kind when its window is made,
    // so the link knows the cell before the editor exists.
    auto* edit = new TDTEdit(this);
    TWinControlEditLink::SetEdit(edit);
    edit->SetVisible(false);
    edit->SetBorderStyle(plat::bsSingle);
    edit->SetAutoSize(true);
    edit->SetParent(tree);
    std::string text;
    FTree->GetTextInfo(node, column, edit->Font(), FTextBounds, text);
    edit->Font()->SetColor(plat::clWindowText);
    // The window is made anew now that the editor knows its cell (its
    // style depends on the node), so its frame is there to place it by.
    edit->RecreateWnd();
    if (tree->HandleAllocated()) {
        edit->HandleNeeded();
    }
    edit->SetAutoSize(false);
    edit->SetText(text);
    if (FBiDiMode != bdLeftToRight) {
        FAlignment = MirroredAlignment(FAlignment);
    }
    return true;
}

void TStringEditLink::SelectAll()
{
    if (TDTEdit* edit = Edit()) {
        edit->SelectAll();
    }
}

bool TStringEditLink::BeginEdit()
{
    const bool result = TWinControlEditLink::BeginEdit();
    if (result) {
        SelectAll();
        if (TDTEdit* edit = Edit()) {
            edit->AutoAdjustSize();
        }
    }
    return result;
}

bool TStringEditLink::EndEdit()
{
    // The editor keeps this link alive; once it forgets it, the tree's
    // reference may be the last one.
    const std::shared_ptr<TBaseEditLink> self = weak_from_this().lock();
    const bool result = TWinControlEditLink::EndEdit();
    if (!result) {
        return false;
    }
    TDTEdit* edit = Edit();
    if (edit != nullptr) {
        if (edit->Modified() && FTree != nullptr) {
            try {
                FTree->SetText(FNode, FColumn, edit->Text());
            } catch (...) {
                FStopping = false;
                throw;
            }
        }
        edit->ForgetLink();
    }
    return true;
}

bool TStringEditLink::CancelEdit()
{
    const std::shared_ptr<TBaseEditLink> self = weak_from_this().lock();
    const bool result = TWinControlEditLink::CancelEdit();
    if (result) {
        if (TDTEdit* edit = Edit()) {
            edit->ForgetLink();
        }
    }
    return result;
}

void TStringEditLink::SetBounds(plat::TRect r)
{
    TDTEdit* edit = Edit();
    if (FStopping || edit == nullptr || FTree == nullptr) {
        return;
    }
    if (r.Height() < edit->ClientHeight()) {
        const int grow = edit->CalcMinHeight() - static_cast<int>(r.Height());
        if (grow > 0) {
            r.Bottom += grow;
        }
    }
    r.Left = std::max<decltype(r.Left)>(r.Left, 0);
    constexpr int MinEditWidth = 30;
    if (r.Width() < MinEditWidth) {
        if (FAlignment == taRightJustify) {
            r.Left = r.Right - MinEditWidth;
        } else {
            r.Right = r.Left + MinEditWidth;
        }
    }
    r.Right = std::min<decltype(r.Right)>(r.Right, FTree->ClientWidth());
    edit->SetBounds(static_cast<int>(r.Left), static_cast<int>(r.Top), static_cast<int>(r.Width()),
                    static_cast<int>(r.Height()));
    SetFormattingRect(*edit);
}

void TStringEditLink::SetFormattingRect(TDTEdit& edit)
{
    // The text inside the editor stands where the cell showed it.
    plat::TRect r = edit.ClientRect();
    const bool leftToRight = FBiDiMode == bdLeftToRight;
    const bool multiline = FNode->States.Contains(vsMultiline);
    if (FTree->TreeOptions()->MiscOptions().Contains(toGridExtensions) &&
        ((FAlignment == taLeftJustify && leftToRight) || (FAlignment == taRightJustify && !leftToRight))) {
        TDTOffsets offsets{};
        FTree->GetOffsets(FNode, offsets, ofsText, FColumn);
        int offset = 0;
        if (FColumn == FTree->Header()->MainColumn()) {
            offset = offsets[ofsToggleButton] < 0 ? -(offsets[ofsToggleButton] + 2) : 0;
        } else {
            offset = offsets[ofsText] - offsets[ofsMargin] + 1;
        }
        if (leftToRight) {
            r.Left += offset;
        } else {
            r.Right -= offset;
        }
    }
    const int d = (multiline ? 0 : 2) + (FTree->TreeStates().Contains(tsUseThemes) ? 1 : 0);
    r = plat::InflateRect(r, d - FTree->TextMargin(), d);
    if (!multiline && FTextBounds.Top > edit.Top()) {
        r = plat::OffsetRect(r, 0, static_cast<int>(FTextBounds.Top) - edit.Top());
    }
    r.Top = std::max<decltype(r.Top)>(r.Top, -1);
    r.Left = std::max<decltype(r.Left)>(r.Left, -1);
    if (!FTree->HandleAllocated()) {
        return;
    }
    plat::SendMessage(edit.Handle(), plat::EM_SETRECTNP, 0, reinterpret_cast<plat::LPARAM>(&r));
}

// ---- TDTEdit ----

PLAT_DEFINE_CLASS(TDTEdit, plat::TCustomEdit)

TDTEdit::TDTEdit(TStringEditLink* link) : plat::TCustomEdit(nullptr), FLink(link)
{
    if (link == nullptr) {
        throw std::invalid_argument("Parameter Link must not be nil.");
    }
    FRefLink = link->weak_from_this().lock();
    SetParentShowHint(false);
    SetShowHint(false);
}

TDTEdit::~TDTEdit()
{
    if (FLink != nullptr && FLink->FEdit == this) {
        FLink->FEdit = nullptr;
    }
    FLink = nullptr;
    FRefLink.reset();
}

void TDTEdit::Release()
{
    if (HandleAllocated()) {
        plat::PostMessage(Handle(), plat::CM_RELEASE, 0, 0);
    } else {
        delete this;
    }
}

bool TDTEdit::NodeIsMultiline() const
{
    return FLink != nullptr && FLink->Node() != nullptr && FLink->Node()->States.Contains(vsMultiline);
}

void TDTEdit::CreateParams(plat::TCreateParams& params)
{
    plat::TCustomEdit::CreateParams(params);
    params.Style |= plat::ES_MULTILINE;
    if (NodeIsMultiline()) {
        params.Style |= plat::WS_VSCROLL | plat::ES_AUTOVSCROLL;
        params.Style &= ~(plat::WS_HSCROLL | plat::ES_AUTOHSCROLL);
    }
    // A sunken edge in themed trees, else a plain line.
    const TCustomDataStringTree* tree = FLink != nullptr ? FLink->Tree() : nullptr;
    if (tree != nullptr && tree->TreeStates().Contains(tsUseThemes)) {
        params.Style &= ~plat::WS_BORDER;
        params.ExStyle |= plat::WS_EX_CLIENTEDGE;
    } else {
        params.Style |= plat::WS_BORDER;
        params.ExStyle &= ~plat::WS_EX_CLIENTEDGE;
    }
}

void TDTEdit::ForgetLink()
{
    FLink = nullptr;
    // The counted reference may be the link's last: this ends it.
    const std::shared_ptr<TBaseEditLink> last = std::move(FRefLink);
}

void TDTEdit::AcceptChange()
{
    if (FLink == nullptr || FLink->Stopping() || FLink->Tree() == nullptr) {
        return;
    }
    TCustomDataStringTree* tree = FLink->Tree();
    if (tree->TreeOptions()->StringOptions().Contains(toAutoAcceptEditChange) && Modified()) {
        tree->SetText(FLink->Node(), FLink->Column(), Text());
    }
}

void TDTEdit::KeyPress(char16_t& key)
{
    if (key == u'\r' && !NodeIsMultiline()) {
        key = 0;
    }
    plat::TCustomEdit::KeyPress(key);
}

void TDTEdit::Change()
{
    plat::TCustomEdit::Change();
    if (FLink != nullptr && FLink->Tree() != nullptr && !NodeIsMultiline()) {
        AutoAdjustSize();
        // The editor grew after the text scrolled for the old width: show
        // from the start again when the text now fits.
        ScrollIntoView(0);
        ScrollIntoView(CaretPosition());
        UpdateCaret();
        Invalidate();
    }
}

void TDTEdit::WndProc(plat::TMessage& message)
{
    switch (message.Msg) {
    case plat::WM_GETDLGCODE:
        plat::TCustomEdit::WndProc(message);
        message.Result |= plat::DLGC_WANTARROWS | plat::DLGC_WANTTAB | plat::DLGC_WANTALLKEYS;
        return;
    case plat::WM_KEYDOWN: {
        auto key = static_cast<std::uint16_t>(message.WParam);
        if (TreeKey(key, plat::GetShiftState())) {
            message.Result = 0;
            return;
        }
        message.WParam = key;
        break;
    }
    case plat::WM_CHAR:
        if (message.WParam == plat::VK_TAB || message.WParam == plat::VK_ESCAPE) {
            return;
        }
        break;
    case plat::CM_EXIT:
        if (FLink != nullptr && !FLink->Stopping() && FLink->Tree() != nullptr) {
            TCustomDataStringTree* tree = FLink->Tree();
            if (tree->TreeOptions()->StringOptions().Contains(toAutoAcceptEditChange)) {
                tree->DoEndEdit(false);
            } else {
                tree->DoCancelEdit();
            }
        }
        break;
    case plat::WM_DESTROY:
        if (FLink != nullptr && !FLink->Stopping()) {
            AcceptChange();
            ForgetLink();
        }
        break;
    case plat::CM_RELEASE:
        delete this;
        return;
    default:
        break;
    }
    plat::TCustomEdit::WndProc(message);
}

bool TDTEdit::TreeKey(std::uint16_t& key, plat::TShiftState shift)
{
    TCustomDataStringTree* tree = FLink != nullptr ? FLink->Tree() : nullptr;
    const bool multiline = NodeIsMultiline();
    switch (key) {
    case plat::VK_TAB: {
        if (tree == nullptr || !tree->IsEditing()) {
            return true;
        }
        PDataNode node = FLink->Node();
        tree->InvalidateNode(node);
        node = shift.Contains(plat::ssShift) ? tree->GetPreviousVisible(node) : tree->GetNextVisible(node);
        tree->EndEditNode();
        if (node != nullptr) {
            tree->ClearSelection();
            tree->SetSelected(node, true);
            // With multi-select the selection leaves the focus where it
            // was; the next edit follows the selected node all the same.
            tree->SetFocusedNode(node);
            if (tree->FocusedNode() == node) {
                tree->EditNode(node, tree->FocusedColumn());
            }
        }
        return true;
    }
    case plat::VK_RETURN: {
        if (multiline && !shift.Contains(plat::ssCtrl)) {
            return false;
        }
        if (tree == nullptr) {
            return true;
        }
        tree->InvalidateNode(FLink->Node());
        PDataNode next = tree->GetNextVisible(FLink->Node());
        tree->DoEndEdit(false);
        TDTEditOptions mode = tree->TreeOptions()->EditOptions();
        TColumnIndex nextColumn = NoColumn;
        TDataTreeColumns& columns = tree->Header()->Columns();
        const TColumnIndex focused = tree->FocusedColumn();
        if (columns.Count() > 0 && columns.IsValidColumn(focused)) {
            const TDataTreeColumn* column = columns.Items(focused);
            if (column->EditOptions() != toDefaultEdit) {
                mode = column->EditOptions();
            }
            nextColumn = column->EditNextColumn();
        }
        switch (mode) {
        case toDefaultEdit:
            if (tree->Visible() && tree->CanFocus()) {
                tree->SetFocus();
            }
            break;
        case toVerticalEdit:
            if (next != nullptr) {
                tree->SetFocusedNode(next);
                if (nextColumn != NoColumn) {
                    tree->SetFocusedColumn(nextColumn);
                }
                if (tree->FocusedNode() != nullptr) {
                    tree->EditNode(tree->FocusedNode(), tree->FocusedColumn());
                }
            }
            break;
        case toHorizontalEdit: {
            PDataNode node = tree->FocusedNode();
            TColumnIndex found = InvalidColumn;
            if (node != nullptr) {
                if (nextColumn == NoColumn) {
                    for (TColumnIndex c = columns.GetNextVisibleColumn(focused); c >= 0;
                         c = columns.GetNextVisibleColumn(c)) {
                        if (tree->CanEdit(node, c)) {
                            found = c;
                            break;
                        }
                    }
                } else if (tree->CanEdit(node, nextColumn)) {
                    found = nextColumn;
                }
            }
            if (found != InvalidColumn) {
                tree->SetFocusedColumn(found);
                tree->FEditColumn = found;
                tree->DoEdit();
            }
            break;
        }
        }
        return true;
    }
    case plat::VK_ESCAPE:
        if (tree != nullptr) {
            tree->DoCancelEdit();
        }
        return true;
    case plat::VK_UP:
        if (!multiline) {
            key = plat::VK_LEFT;
        }
        return false;
    case plat::VK_DOWN:
        if (!multiline) {
            key = plat::VK_RIGHT;
        }
        return false;
    case 'A':
        if (tree != nullptr && tree->IsEditing() && shift == plat::TShiftState{plat::ssCtrl}) {
            SelectAll();
        }
        return true;
    default:
        return false;
    }
}

plat::TSize TDTEdit::GetTextSize()
{
    plat::TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    return canvas->TextExtent(Text() + "yG");
}

int TDTEdit::CalcMinHeight()
{
    const int textHeight = static_cast<int>(GetTextSize().cy);
    return textHeight + (Height() - ClientHeight()) + static_cast<int>(textHeight * 0.05);
}

void TDTEdit::AutoAdjustSize()
{
    if (FLink == nullptr || FLink->Tree() == nullptr || NodeIsMultiline() ||
        FLink->Tree()->TreeOptions()->MiscOptions().Contains(toGridExtensions)) {
        return;
    }
    TCustomDataStringTree* tree = FLink->Tree();
    const plat::TSize size = GetTextSize();
    const int width = 2 * tree->TextMargin() + static_cast<int>(size.cx);
    if (width < Width()) {
        tree->Invalidate();
    }
    const int height = std::max(Height(), static_cast<int>(size.cy));
    if (FLink->Alignment() == taRightJustify) {
        FLink->SetBounds(plat::Rect(Left() + Width() - width, Top(), Left() + Width(), Top() + height));
    } else {
        FLink->SetBounds(plat::Rect(Left(), Top(), Left() + width, Top() + height));
    }
}

} // namespace qel

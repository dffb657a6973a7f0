// The data tree's keys: moving the focus from node to node and cell to
// cell, extending the selection with Shift, expanding and collapsing,
// paging and scrolling, Space on check boxes, select all, the context-menu
// key, help, starting an edit, and incremental search on the search timer.
#include "widgets/tree/base_data_tree.h"

#include "platform/controls/application.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "platform/timers.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <climits>

namespace qel {

namespace {

bool IsNavigationKey(std::uint16_t key)
{
    switch (key) {
    case plat::VK_BACK:
    case plat::VK_TAB:
    case plat::VK_PRIOR:
    case plat::VK_NEXT:
    case plat::VK_END:
    case plat::VK_HOME:
    case plat::VK_LEFT:
    case plat::VK_UP:
    case plat::VK_RIGHT:
    case plat::VK_DOWN:
        return true;
    default:
        return false;
    }
}

// The numeric-pad key a character key stands for: '*', '+', '-' and '/'
// typed on the main keys act like their pad keys.
std::uint16_t PadKeyOf(std::uint16_t key, bool shift)
{
    if (key == plat::VK_OEM_PLUS && shift) {
        return plat::VK_ADD;
    }
    if (key == plat::VK_OEM_MINUS && !shift) {
        return plat::VK_SUBTRACT;
    }
    if (key == plat::VK_OEM_2 && !shift) {
        return plat::VK_DIVIDE;
    }
    if (key == '8' && shift) {
        return plat::VK_MULTIPLY;
    }
    return key;
}

// The UTF-8 text of one UTF-16 unit (a single unit of the basic plane).
std::string Utf8Of(std::uint32_t unit)
{
    std::string text;
    if (unit < 0x80) {
        text.push_back(static_cast<char>(unit));
    } else if (unit < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (unit >> 6)));
        text.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xE0 | (unit >> 12)));
        text.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    }
    return text;
}

// The text less its last UTF-8 character.
std::string WithoutLastCharacter(const std::string& text)
{
    std::size_t end = text.size();
    while (end > 0) {
        --end;
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80) {
            break;
        }
    }
    return text.substr(0, end);
}

} // namespace

void TBaseDataTree::WMGetDlgCode(plat::TMessage& message)
{
    message.Result = plat::DLGC_WANTARROWS | plat::DLGC_WANTCHARS | (FWantTabs ? plat::DLGC_WANTTAB : 0);
}

void TBaseDataTree::WMKeyUp(plat::TMessage& message)
{
    Inherited(message);
    if (message.WParam == plat::VK_TAB) {
        EnsureNodeFocused();
    }
}

void TBaseDataTree::WMChar(plat::TMessage& message)
{
    if (FStates.Contains(tsIncrementalSearchPending)) {
        DoSearch(static_cast<std::uint32_t>(message.WParam));
        DoStateChange({}, {tsIncrementalSearchPending});
    }
    Inherited(message);
}

bool TBaseDataTree::DoKeyAction(std::uint16_t& charCode, plat::TShiftState& shift)
{
    bool doDefault = true;
    if (OnKeyAction) {
        OnKeyAction(this, charCode, shift, doDefault);
    }
    return doDefault;
}

void TBaseDataTree::WMKeyDown(plat::TMessage& message)
{
    Inherited(message);
    std::uint16_t key = static_cast<std::uint16_t>(message.WParam);
    if (key == 0) {
        return;   // an OnKeyDown handler took the key
    }
    plat::TShiftState shift = plat::KeyDataToShiftState(message.LParam);
    if (!DoKeyAction(key, shift)) {
        return;
    }
    if (IsNavigationKey(key) && FRoot->fChildCount > 0) {
        HandleNavigationKey(key, shift);
        return;
    }
    HandleOtherKey(key, shift);
}

bool TBaseDataTree::IsCellCovered(PDataNode node, TColumnIndex column)
{
    if (node == nullptr || column < 0 || !FHeader->UseColumns() ||
        !FOptions->AutoOptions().Contains(toAutoSpanColumns) || !DoGetCellIsEmpty(node, column)) {
        return false;
    }
    const TDataTreeColumns& columns = FHeader->Columns();
    for (TColumnIndex run = columns.GetPreviousVisibleColumn(column); run >= 0;
         run = columns.GetPreviousVisibleColumn(run)) {
        if (!DoGetCellIsEmpty(node, run)) {
            return true;
        }
    }
    return false;
}

bool TBaseDataTree::HandleNavigationKey(std::uint16_t key, plat::TShiftState shift)
{
    const TDTSelectionOptions selection = FOptions->SelectionOptions();
    const TDTMiscOptions misc = FOptions->MiscOptions();
    const bool hasShift = shift.Contains(plat::ssShift);
    const bool hasCtrl = shift.Contains(plat::ssCtrl);
    const bool hasAlt = shift.Contains(plat::ssAlt);
    const bool extendSelection = hasShift && selection.Contains(toMultiSelect) && !FStates.Contains(tsEditing);
    bool performMultiSelect = extendSelection && (key == plat::VK_PRIOR || key == plat::VK_NEXT ||
                                                  key == plat::VK_END || key == plat::VK_HOME);
    const bool repaintAfter = performMultiSelect || FSelectionCount > 1;
    const bool clearSelectionFirst = shift.Empty() || (misc.Contains(toGridExtensions) && !hasShift) ||
                                     !selection.Contains(toMultiSelect) || key == plat::VK_BACK ||
                                     key == plat::VK_TAB;
    PDataNode lastFocused = FFocusedNode;
    if (lastFocused == nullptr && !shift.Empty()) {
        lastFocused = GetFirstVisible();
    }
    if (FRangeAnchor == nullptr) {
        FRangeAnchor = GetFirstSelected() != nullptr ? GetFirstSelected() : GetFirst();
    }
    const int dir = UseRightToLeftAlignment() ? -1 : 1;
    const TDataTreeColumns& columns = FHeader->Columns();
    const int clientHeight = ClientHeight();
    const int clientWidth = ClientWidth();
    bool cleared = false;

    const auto focusTo = [&](PDataNode node) {
        if (node != nullptr) {
            SetFocusedNode(node);
        }
    };

    switch (key) {
    case plat::VK_BACK:
        if (FStates.Contains(tsIncrementalSearching)) {
            DoStateChange({tsIncrementalSearchPending});
        } else if (FFocusedNode != nullptr && FFocusedNode->fParent != FRoot) {
            focusTo(FFocusedNode->fParent);
        }
        break;
    case plat::VK_TAB:
        if (selection.Contains(toExtendedFocus) && FHeader->UseColumns()) {
            PDataNode node = FFocusedNode != nullptr ? FFocusedNode : GetFirstVisible();
            const auto step = [&](TColumnIndex c) {
                return hasShift ? columns.GetPreviousVisibleColumn(c, true) : columns.GetNextVisibleColumn(c, true);
            };
            const auto usable = [&](TColumnIndex c) { return FHeader->AllowFocus(c) && !IsCellCovered(node, c); };
            TColumnIndex next = step(FFocusedColumn);
            while (next >= 0 && !usable(next)) {
                next = step(next);
            }
            if (next < 0) {
                node = hasShift ? GetPreviousVisible(node) : GetNextVisible(node);
                next = hasShift ? columns.GetLastVisibleColumn(true) : columns.GetFirstVisibleColumn(true);
                while (node != nullptr && next >= 0 && !usable(next)) {
                    next = step(next);
                }
            }
            if (node != nullptr && next >= 0 && DoFocusChanging(FFocusedNode, node, FFocusedColumn, next)) {
                SetFocusedNodeAndColumn(node, next);
            }
        }
        break;
    case plat::VK_PRIOR:
    case plat::VK_NEXT: {
        const bool up = key == plat::VK_PRIOR;
        if (hasCtrl && hasShift) {
            SetOffsetX(FOffsetX + (up ? clientWidth : -clientWidth));
        } else if (hasShift && hasAlt) {
            TColumnIndex column = FFocusedColumn;
            if (column < 0) {
                column = columns.GetFirstVisibleColumn();
            } else {
                int width = columns.GetVisibleFixedWidth();
                for (;;) {
                    const TColumnIndex next =
                        up ? columns.GetPreviousVisibleColumn(column) : columns.GetNextVisibleColumn(column);
                    if (next < 0 || columns.Items(next)->IsFixed()) {
                        break;
                    }
                    width += columns.Items(next)->Width();
                    if (width >= clientWidth) {
                        break;
                    }
                    column = next;
                }
            }
            if (column >= 0) {
                SetFocusedColumn(column);
            }
        } else if (hasCtrl) {
            SetOffsetY(FOffsetY + (up ? clientHeight : -clientHeight));
        } else {
            PDataNode node = FFocusedNode;
            if (node == nullptr) {
                node = up ? GetFirstVisible() : GetLastVisible();
            } else if (up) {
                // Up while the rows stepped onto and the current one fit the client.
                std::int64_t height = 0;
                for (PDataNode previous = GetPreviousVisible(node);
                     previous != nullptr && height + GetNodeHeight(previous) + GetNodeHeight(node) < clientHeight;
                     previous = GetPreviousVisible(node)) {
                    height += GetNodeHeight(previous);
                    node = previous;
                }
            } else {
                // Down while the rows left behind fit the client.
                std::int64_t height = 0;
                for (PDataNode next = GetNextVisible(node);
                     next != nullptr && height + GetNodeHeight(node) < clientHeight; next = GetNextVisible(node)) {
                    height += GetNodeHeight(node);
                    node = next;
                }
            }
            focusTo(node);
        }
        break;
    }
    case plat::VK_HOME:
    case plat::VK_END: {
        bool first = key == plat::VK_HOME;
        if (UseRightToLeftAlignment()) {
            first = !first;
        }
        PDataNode target = first ? GetFirstVisible() : GetLastVisible();
        TColumnIndex targetColumn = NoColumn;
        if (FHeader->UseColumns()) {
            targetColumn = first ? columns.GetFirstVisibleColumn(true) : columns.GetLastVisibleColumn(true);
            while (targetColumn >= 0 && !DoFocusChanging(FFocusedNode, target, FFocusedColumn, targetColumn)) {
                targetColumn = first ? columns.GetNextVisibleColumn(targetColumn, true)
                                     : columns.GetPreviousVisibleColumn(targetColumn, true);
            }
            if (targetColumn < 0) {
                break;
            }
            // The last column may show the text of an earlier one.
            while (!first && misc.Contains(toGridExtensions) && IsCellCovered(target, targetColumn)) {
                const TColumnIndex previous = columns.GetPreviousVisibleColumn(targetColumn, true);
                if (previous < 0) {
                    break;
                }
                targetColumn = previous;
            }
        }
        const bool onlyCtrl = shift == plat::TShiftState{plat::ssCtrl};
        if (!onlyCtrl || misc.Contains(toGridExtensions)) {
            focusTo(target);
            if (misc.Contains(toGridExtensions) && !selection.Contains(toFullRowSelect) && targetColumn >= 0) {
                SetFocusedColumn(targetColumn);
            }
        } else if (target != nullptr) {
            ScrollIntoView(target, selection.Contains(toCenterScrollIntoView),
                           !FOptions->AutoOptions().Contains(toDisableAutoscrollOnFocus));
            const bool farEnd = !first || UseRightToLeftAlignment();
            SetOffsetX(farEnd ? -INT_MAX : 0);
        }
        break;
    }
    case plat::VK_LEFT:
    case plat::VK_RIGHT: {
        const bool left = key == plat::VK_LEFT;
        bool scroll = hasCtrl;
        if (!hasCtrl) {
            if (selection.Contains(toExtendedFocus) && misc.Contains(toGridExtensions) && FHeader->UseColumns()) {
                const auto step = [&](TColumnIndex c) {
                    return left ? columns.GetPreviousVisibleColumn(c, true) : columns.GetNextVisibleColumn(c, true);
                };
                TColumnIndex next = step(FFocusedColumn);
                while (next >= 0 && IsCellCovered(FFocusedNode, next)) {
                    next = step(next);
                }
                if (next >= 0) {
                    SetFocusedColumn(next);
                }
                break;
            }
            if (FFocusedNode == nullptr) {
                focusTo(GetFirstVisible());
            } else if (left) {
                if (FFocusedNode->States.Contains(vsExpanded) && FFocusedNode->FirstChild != nullptr && shift.Empty()) {
                    ToggleNode(FFocusedNode);
                } else if (FFocusedNode->fParent != FRoot) {
                    if (extendSelection) {
                        if (FFocusedNode->fPrevSibling != nullptr) {
                            performMultiSelect = true;
                        } else if (CompareNodePositions(FFocusedNode->fParent, FRangeAnchor) > 0) {
                            RemoveFromSelection(FFocusedNode);
                        }
                    }
                    focusTo(FFocusedNode->fParent);
                } else {
                    scroll = true;
                }
            } else {
                if (!FFocusedNode->States.Contains(vsExpanded) && FFocusedNode->States.Contains(vsHasChildren) &&
                    shift.Empty()) {
                    ToggleNode(FFocusedNode);
                } else {
                    const PDataNode child = GetFirstVisibleChild(FFocusedNode);
                    if (child != nullptr) {
                        if (extendSelection && CompareNodePositions(child, FRangeAnchor) < 0) {
                            RemoveFromSelection(FFocusedNode);
                        }
                        focusTo(child);
                    } else {
                        scroll = true;
                    }
                }
            }
        }
        if (scroll) {
            const int step = dir * columns.GetScrollWidth();
            SetOffsetX(FOffsetX + (left ? step : -step));
        }
        break;
    }
    case plat::VK_UP:
    case plat::VK_DOWN: {
        const bool up = key == plat::VK_UP;
        if (hasCtrl) {
            SetOffsetY(FOffsetY + (up ? FDefaultNodeHeight : -FDefaultNodeHeight));
            break;
        }
        PDataNode target = FFocusedNode != nullptr ? (up ? GetPreviousVisible(FFocusedNode) : GetNextVisible(FFocusedNode))
                                                   : (up ? GetLastVisible() : GetFirstVisible());
        if (target == nullptr) {
            if (FFocusedNode != nullptr) {
                InvalidateNode(FFocusedNode);
            }
            break;
        }
        if (FStates.Contains(tsEditing) && !EndEditNode()) {
            return true;
        }
        if (FFocusedNode != nullptr) {
            const int comparison = lastFocused != nullptr ? CompareNodePositions(lastFocused, target) : 0;
            if (!extendSelection || (up ? comparison < -1 : comparison > 1)) {
                InternalClearSelection();
                cleared = true;
            }
        }
        if (FFocusedColumn < 0) {
            FFocusedColumn = HeaderMainColumn();
        }
        focusTo(target);
        break;
    }
    default:
        break;
    }

    if (clearSelectionFirst && (FFocusedNode != lastFocused || FSelectionCount != 1)) {
        ClearSelection(FFocusedNode == nullptr);
        cleared = true;
    }
    if (shift.Empty()) {
        FRangeAnchor = FFocusedNode;
        FLastSelectionLevel = GetNodeLevelForSelectConstraint(FFocusedNode);
    }
    if (FFocusedNode != nullptr) {
        if (performMultiSelect) {
            ToggleSelection(lastFocused, FFocusedNode);
        } else if (FFocusedNode != lastFocused) {
            if (cleared || lastFocused == nullptr) {
                AddToSelection(FFocusedNode, false);
            } else {
                ToggleSelection(lastFocused, FFocusedNode);
            }
        } else if (cleared && !FFocusedNode->States.Contains(vsSelected)) {
            AddToSelection(FFocusedNode, false);
        }
        if (repaintAfter) {
            Invalidate();
        }
    }
    return true;
}

void TBaseDataTree::HandleOtherKey(std::uint16_t key, plat::TShiftState shift)
{
    const std::uint16_t padKey = PadKeyOf(key, shift.Contains(plat::ssShift));
    if (padKey != key && (padKey == plat::VK_ADD || padKey == plat::VK_MULTIPLY)) {
        shift.Exclude(plat::ssShift);   // the Shift that makes the character
    }
    key = padKey;
    const bool hasCtrl = shift.Contains(plat::ssCtrl);
    const bool hasShift = shift.Contains(plat::ssShift);
    const bool hasAlt = shift.Contains(plat::ssAlt);
    const bool searching = FStates.Contains(tsIncrementalSearching);
    const auto toSearch = [&] { DoStateChange({tsIncrementalSearchPending}); };
    switch (key) {
    case plat::VK_ESCAPE:
        if (IsMouseSelecting()) {
            DoStateChange({}, {tsDrawSelPending, tsDrawSelecting});
            Invalidate();
        } else if (FStates.Contains(tsEditing)) {
            CancelEditNode();
        }
        return;
    case plat::VK_SPACE:
        if (FOptions->MiscOptions().Contains(toCheckSupport) && FFocusedNode != nullptr &&
            FFocusedNode->CheckType != ctNone) {
            TCheckState state = DetermineNextCheckState(FFocusedNode->CheckType, GetCheckState(FFocusedNode));
            if (DoChecking(FFocusedNode, state)) {
                if (FSelectionCount < 2) {
                    ApplyCheckState(FFocusedNode, state);
                } else {
                    SetCheckStateForAll(state, true, true);
                }
            }
            return;
        }
        toSearch();
        return;
    case 'A':
        if (hasCtrl) {
            SelectAll(true);
            return;
        }
        toSearch();
        return;
    case plat::VK_APPS:
        if (FFocusedNode != nullptr) {
            plat::TRect r = GetDisplayRect(FFocusedNode, FFocusedColumn, true);
            int width = static_cast<int>(r.Width());
            const int nodeWidth = DoGetNodeWidth(FFocusedNode, FFocusedColumn);
            width = std::min(width, nodeWidth);
            if (FHeader->UseColumns() && FHeader->Columns().IsValidColumn(FFocusedColumn)) {
                width = std::min(width, FHeader->Columns().Items(FFocusedColumn)->Width());
            } else {
                width = std::min(width, ClientWidth());
            }
            const plat::TPoint p =
                plat::Point(r.Left + width / 2, static_cast<int>((r.Top + r.Bottom) / 2));
            DoPopupMenu(FFocusedNode, FFocusedColumn, p);
        } else {
            DoPopupMenu(nullptr, FFocusedColumn, plat::Point(-1, -1));
        }
        return;
    case plat::VK_MULTIPLY:
        if (searching) {
            toSearch();
        } else if (FFocusedNode != nullptr) {
            FullExpand(FFocusedNode);
        }
        return;
    case plat::VK_ADD:
        if (searching) {
            return;
        }
        if (hasCtrl) {
            const bool onlyCtrl = shift == plat::TShiftState{plat::ssCtrl};
            const bool ctrlShift = shift == plat::TShiftState{plat::ssCtrl, plat::ssShift};
            const bool reverse = FOptions->MiscOptions().Contains(toReverseFullExpandHotKey);
            if ((reverse && onlyCtrl) != ctrlShift) {
                FullExpand();
            } else if (onlyCtrl) {
                FHeader->AutoFitColumns();
            }
        } else if (shift.Empty()) {
            if (FFocusedNode != nullptr && !FFocusedNode->States.Contains(vsExpanded)) {
                ToggleNode(FFocusedNode);
            }
        } else {
            toSearch();
        }
        return;
    case plat::VK_SUBTRACT:
        if (searching) {
            toSearch();
        } else if (hasCtrl) {
            if (FOptions->MiscOptions().Contains(toReverseFullExpandHotKey) != hasShift) {
                FullCollapse();
            } else {
                FHeader->RestoreColumns();
            }
        } else if (FFocusedNode != nullptr && FFocusedNode->States.Contains(vsExpanded)) {
            ToggleNode(FFocusedNode);
        }
        return;
    case plat::VK_DIVIDE:
        if (searching) {
            toSearch();
        } else if (FFocusedNode != nullptr) {
            FullCollapse(FFocusedNode);
        }
        return;
    case plat::VK_F1:
        DoHelp();
        return;
    case plat::VK_F2:
        if (shift.Empty() && FFocusedNode != nullptr && CanEdit(FFocusedNode, FFocusedColumn)) {
            FEditColumn = FFocusedColumn;
            DoEdit();
        }
        return;
    default:
        if (hasAlt != hasCtrl || key < 32) {
            return;
        }
        toSearch();
        return;
    }
}

void TBaseDataTree::DoHelp()
{
    if (!OnGetHelpContext) {
        return;
    }
    int context = 0;
    const TColumnIndex column = std::max(FFocusedColumn, 0);
    for (PDataNode node = FFocusedNode; node != nullptr && node != FRoot && context == 0; node = node->fParent) {
        OnGetHelpContext(this, node, column, context);
    }
    // Then the tree's own topic, or the nearest parent control's.
    for (const plat::TControl* control = this; control != nullptr && context == 0; control = control->Parent()) {
        context = control->HelpContext();
    }
    if (context != 0 && OnHelp) {
        OnHelp(this, context);
    }
}

// ---- incremental search ----

void TBaseDataTree::SetIncrementalSearch(TDTIncrementalSearch value)
{
    FIncrementalSearch = value;
    if (value == isNone) {
        StopTimer(SearchTimer);
        FSearchBuffer.clear();
        FLastSearchNode = nullptr;
    }
}

int TBaseDataTree::DoIncrementalSearch(PDataNode node, const std::string& text)
{
    int result = 0;
    if (OnIncrementalSearch) {
        OnIncrementalSearch(this, node, text, result);
    }
    return result;
}

void TBaseDataTree::DoSearch(std::uint32_t charCode)
{
    StopTimer(SearchTimer);
    if (FIncrementalSearch == isNone) {
        return;
    }
    const auto restartTimer = [this] {
        if (HandleAllocated()) {
            plat::SetTimer(Handle(), SearchTimer, FIncrementalSearchTimeout);
        }
    };
    if (charCode == 0) {
        restartTimer();
        return;
    }
    DoStateChange({tsIncrementalSearching});
    const bool isBackspace = charCode == 8;
    if (isBackspace && FSearchBuffer.empty()) {
        restartTimer();
        return;
    }
    PDataNode startNode = nullptr;
    switch (FSearchStart) {
    case ssLastHit:
        startNode = FLastSearchNode;
        break;
    case ssFocusedNode:
        startNode = FFocusedNode;
        break;
    default:
        break;
    }
    if (startNode != nullptr) {
        if (FIncrementalSearch == isInitializedOnly && !startNode->States.Contains(vsInitialized)) {
            startNode = nullptr;
        } else if (FIncrementalSearch == isVisibleOnly &&
                   (!GetFullyVisible(startNode) || GetEffectivelyFiltered(startNode))) {
            startNode = nullptr;
        }
    }
    PDataNode lastNode = startNode;
    const bool forward = (FSearchDirection == sdForward) != isBackspace;
    const std::string character = Utf8Of(charCode);
    bool repeatedChar = !isBackspace && FSearchBuffer == character;
    if (repeatedChar && startNode != nullptr && DoIncrementalSearch(startNode, FSearchBuffer + character) == 0) {
        repeatedChar = false;
    }
    const auto step = [&](PDataNode node) -> PDataNode {
        switch (FIncrementalSearch) {
        case isInitializedOnly:
            return forward ? GetNextNoInit(node) : GetPreviousNoInit(node);
        case isVisibleOnly:
            return forward ? GetNextVisible(node, true) : GetPreviousVisible(node, true);
        default:
            return forward ? GetNext(node) : GetPrevious(node);
        }
    };
    const auto first = [&]() -> PDataNode {
        switch (FIncrementalSearch) {
        case isInitializedOnly:
            return forward ? GetFirstNoInit() : GetLastNoInit();
        case isVisibleOnly:
            return forward ? GetFirstVisible(nullptr, true) : GetLastVisible(nullptr, true);
        default:
            return forward ? GetFirst() : GetLast();
        }
    };
    if (FSearchBuffer.empty() || startNode == nullptr || repeatedChar || isBackspace) {
        startNode = startNode != nullptr ? step(startNode) : nullptr;
        if (startNode == nullptr) {
            startNode = first();
        }
    }
    if (startNode != nullptr) {
        std::string searchText;
        if (repeatedChar) {
            searchText = FSearchBuffer;
        } else if (isBackspace) {
            FSearchBuffer = WithoutLastCharacter(FSearchBuffer);
            searchText = FSearchBuffer;
        } else {
            searchText = FSearchBuffer + character;
        }
        // Coming back to the node the search set out from ends it without a
        // hit; without such a node, coming back to the first node compared.
        PDataNode hit = nullptr;
        PDataNode run = startNode;
        do {
            if (DoIncrementalSearch(run, searchText) == 0) {
                hit = run;
                break;
            }
            run = step(run);
            if (run == nullptr) {
                run = first();
            }
        } while (run != nullptr && run != lastNode && run != startNode);
        if (hit != nullptr) {
            ClearSelection();
            FSearchBuffer = searchText;
            FLastSearchNode = hit;
            SetFocusedNode(hit);
            AddToSelection(hit, false);
        } else {
            plat::MessageBeep(0);
        }
    }
    restartTimer();
}

} // namespace qel

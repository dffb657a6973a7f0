// The paragraph editor's mouse: the line-selection cursor over the left
// margin, clicks and drags that place the caret and select (a stream, a
// column block with Alt, or whole lines from the margin), scrolling while
// the pointer is past an edge, and double clicks that select a word or a
// paragraph.
//
// A drag runs as steps: the button press captures the mouse and takes the
// first step, each pointer move and each tick of a timer takes another, and
// the release ends it. A step acts only once D - G ms have passed since the
// last one (D: three scroll-bar heights, G: how far the pointer is past the
// top or bottom edge), so the text scrolls faster the farther out it is.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"
#include "widgets/pages/pgc_controller.h"
#include "widgets/pages/pgc_resources.h"

#include "platform/clock.h"
#include "platform/controls/cursors.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "platform/timers.h"

#include <algorithm>

namespace qel {

namespace {

constexpr plat::UINT_PTR TrackTimerId = 0x7E01;
constexpr int EdgeScrollBars = 3;                 // D in scroll-bar heights

plat::TPoint PointOf(const plat::TMessage& Msg)
{
    return plat::Point(plat::GET_X_LPARAM(Msg.LParam), plat::GET_Y_LPARAM(Msg.LParam));
}

} // namespace

void TPgcCustomEditor::GetMousePos(int& L, int& C, bool Existing)
{
    plat::TPoint pointer;
    plat::GetCursorPos(pointer);
    pointer = ScreenToClient(pointer);
    if (Existing && !ClientRect().Contains(pointer.X, pointer.Y)) {
        L = C = -1;
        return;
    }
    XYToLineCol(pointer.X, pointer.Y, L, C);
}

// ---- cursor ----

void TPgcCustomEditor::WMSetCursor(plat::TMessage& Msg)
{
    edSelCursorOn = false;
    const auto hit = static_cast<std::int16_t>(plat::LOWORD(static_cast<std::uintptr_t>(Msg.LParam)));
    if (!Designing() && hit == plat::HTCLIENT && edSelCursor != 0) {
        plat::TPoint pointer;
        plat::GetCursorPos(pointer);
        if (ScreenToClient(pointer).X <= LeftMargin()) {
            plat::SetCursor(edSelCursor);
            edSelCursorOn = true;
            Msg.Result = 1;
            return;
        }
    }
    Inherited(Msg);
}

// ---- press, drag and release ----

void TPgcCustomEditor::WMLButtonDown(plat::TMessage& Msg)
{
    const auto life = Life();
    Inherited(Msg);
    if (!life->Alive()) {
        return;
    }
    if (!Focused() && CanFocus()) {
        SetFocus();
        if (!life->Alive()) {
            return;
        }
    }
    if (TextLength() == 0) {
        return;
    }
    const bool shift = (Msg.WParam & plat::MK_SHIFT) != 0;
    edRectSelect = plat::GetKeyState(plat::VK_MENU) < 0 && !FWordWrap;
    plat::SetCapture(Handle());
    edCapture = true;
    edTrack = TMouseTrack{};
    edTrack.LineMode = edSelCursorOn;
    edTrack.Extend = shift;
    edTrack.EdgeMs = EdgeScrollBars * plat::GetSystemMetrics(plat::SM_CYHSCROLL);
    edTrack.Pointer = PointOf(Msg);
    if (edTrack.LineMode) {
        int line = 0;
        int col = 0;
        XYToLineCol(edTrack.Pointer.X, edTrack.Pointer.Y, line, col);
        const TPgcTextPos anchor = !shift ? TPgcTextPos{line, 1} : line < edHltBgnL.Line ? edHltEndL : edHltBgnL;
        edTrack.AnchorLine = anchor.Line;
        edTrack.AnchorCol = anchor.Col;
    }
    TrackMouse(false);
}

void TPgcCustomEditor::WMMouseMove(plat::TMessage& Msg)
{
    if (edCapture) {
        edTrack.Pointer = PointOf(Msg);
        TrackMouse(false);
    }
    Inherited(Msg);
}

void TPgcCustomEditor::WMTimer(plat::TMessage& Msg)
{
    if (Msg.WParam == TrackTimerId && edCapture) {
        TrackMouse(true);
        return;
    }
    Inherited(Msg);
}

void TPgcCustomEditor::WMLButtonUp(plat::TMessage& Msg)
{
    if (edCapture) {
        EndMouseTracking();
        plat::ReleaseCapture();
    }
    Inherited(Msg);
}

void TPgcCustomEditor::WMCaptureChanged(plat::TMessage& Msg)
{
    EndMouseTracking();
    Inherited(Msg);
}

void TPgcCustomEditor::EndMouseTracking()
{
    if (edCapture && HandleAllocated()) {
        plat::KillTimer(Handle(), TrackTimerId);
    }
    edCapture = false;
}

int TPgcCustomEditor::TrackingInterval(int Y) const
{
    int beyond = edTrack.EdgeMs;           // G: D while inside
    if (Y < 0) {
        beyond = -Y;
    } else if (Y >= ClientHeight()) {
        beyond = Y - ClientHeight() + 1;
    }
    return edTrack.EdgeMs - beyond;
}

// Inside the window every pointer move takes a step; past an edge the
// timer takes one every D - G ms.
void TPgcCustomEditor::TrackMouse(bool FromTimer)
{
    const int interval = TrackingInterval(edTrack.Pointer.Y);
    const std::int64_t now = plat::Clock().NowMs();
    if (interval > 0) {
        plat::SetTimer(Handle(), TrackTimerId, static_cast<plat::UINT>(interval));
    } else if (edTrack.Pointer.Y >= 0 && edTrack.Pointer.Y < ClientHeight()) {
        plat::KillTimer(Handle(), TrackTimerId);
    } else {
        plat::SetTimer(Handle(), TrackTimerId, 1);
    }
    if (!FromTimer && now - edTrack.LastTimeMs < interval) {
        return;
    }
    int line = 0;
    int col = 0;
    XYToLineCol(edTrack.Pointer.X, edTrack.Pointer.Y, line, col);
    if (line != edTrack.LastLine || (!edTrack.LineMode && col != edTrack.LastCol)) {
        if (edTrack.LineMode) {
            SelectLinesTo(line);
        } else {
            edMoveCaretTo(line, col, edTrack.Extend);
            Update();
        }
    }
    edTrack.LastLine = line;
    edTrack.LastCol = col;
    edTrack.LastTimeMs = now;
    edTrack.Extend = true;
}

// Whole lines from the fixed end to line L; the view is painted once.
void TPgcCustomEditor::SelectLinesTo(int L)
{
    const bool offView = L < edTopLine || L >= edTopLine + edRows;
    if (offView) {
        BeginUpdate();
    }
    if (L < edTrack.AnchorLine || edTrack.Pointer.Y < 0) {
        SetSelection(L, 1, edTrack.AnchorLine, edTrack.AnchorCol, false);
    } else if (L < LineCount()) {
        SetSelection(edTrack.AnchorLine, edTrack.AnchorCol, L + 1, 1, true);
    } else {
        SetSelection(edTrack.AnchorLine, edTrack.AnchorCol, L, edParas->LineLength(L) + 1, true);
    }
    if (offView) {
        plat::SendMessage(Handle(), plat::WM_SETREDRAW, 1, 0);
        edRedrawPending = false;
        edRedraw(true);
    }
}

// ---- double click ----

void TPgcCustomEditor::WMLButtonDblClk(plat::TMessage& Msg)
{
    const auto life = Life();
    Inherited(Msg);
    if (!life->Alive() || TextLength() == 0) {
        return;
    }
    const bool shift = (Msg.WParam & plat::MK_SHIFT) != 0;
    const plat::TPoint at = PointOf(Msg);
    int line = 0;
    int col = 0;
    XYToLineCol(at.X, at.Y, line, col);
    if (edSelCursorOn) {
        SelectParagraphAt(line, shift);
    } else {
        SelectWordAt(line, col, shift);
    }
}

// With Shift past the selection's first paragraph the selection ends at
// the end of the clicked paragraph.
void TPgcCustomEditor::SelectParagraphAt(int L, bool Shift)
{
    std::int32_t linePos = 0;
    const int para = edParas->FindParaByLine(L, linePos);
    const int length = edParas->ParaLength(para);
    edRectSelect = false;
    if (!Shift || (edHltBgn.Para == para && edHltEnd.Para == para)) {
        edSetSelectionPos(para, 1, para, length + 1, true);
    } else if (para <= edHltBgn.Para) {
        edSetSelectionPos(para, 1, edHltEnd.Para, edHltEnd.Pos, false);
    } else {
        edSetSelectionPos(edHltBgn.Para, edHltBgn.Pos, para, length + 1, true);
    }
}

// The word at or left of the click with the blanks after it.
void TPgcCustomEditor::SelectWordAt(int L, int C, bool Shift)
{
    std::int32_t linePos = 0;
    const int para = edParas->FindParaByLine(L, linePos);
    const std::u16string_view text = ParaText(para);
    const auto length = static_cast<int>(text.size());
    const auto at = [&](int Pos) { return text[static_cast<std::size_t>(Pos - 1)]; };
    int start = linePos + std::max(std::min(C, edParas->LineLength(L)), 1);
    if (start > 1 && length > 0) {
        start = std::min(start, length);
        while (start >= 1 && IsWordDelimiter(at(start))) {
            --start;
        }
        while (start >= 1 && !IsWordDelimiter(at(start))) {
            --start;
        }
        ++start;
    }
    int end = start;
    while (end <= length && !IsWordDelimiter(at(end))) {
        ++end;
    }
    while (end <= length && IsBlankUnit(at(end))) {
        ++end;
    }
    edRectSelect = false;
    if (!Shift) {
        edSetSelectionPos(para, start, para, end, true);
    } else if (edHltBgn < TMarker{para, start}) {
        edSetSelectionPos(edHltBgn.Para, edHltBgn.Pos, para, end, true);
    } else {
        edSetSelectionPos(para, start, edHltEnd.Para, edHltEnd.Pos, false);
    }
}

} // namespace qel

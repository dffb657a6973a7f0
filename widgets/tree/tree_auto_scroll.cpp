// Automatic scrolling of the data tree near its edges and wheel panning
// with the middle button: the scroll timer (id 4) that waits
// AutoScrollDelay, then steps every AutoScrollInterval (every 20 ms while
// panning), and the panning mark and cursors.
#include "widgets/tree/base_data_tree.h"

#include "platform/controls/cursors.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_paint.h"

#include <algorithm>
#include <cstdlib>

namespace qel {

namespace {

constexpr unsigned PanningInterval = 20;
// How far the mouse may stray from the panning centre before it scrolls.
constexpr int PanningDeadZone = 8;

// The window system's cursor shape for each panning mark.
struct TPanningCursor {
    const char* Name;
    const char* Shape;
};
constexpr TPanningCursor PanningCursors[] = {
    {"DT_MOVEALL", "move"},     {"DT_MOVEEW", "ew-resize"},   {"DT_MOVENS", "ns-resize"},
    {"DT_MOVEN", "n-resize"},   {"DT_MOVES", "s-resize"},     {"DT_MOVEE", "e-resize"},
    {"DT_MOVEW", "w-resize"},   {"DT_MOVENE", "ne-resize"},   {"DT_MOVENW", "nw-resize"},
    {"DT_MOVESE", "se-resize"}, {"DT_MOVESW", "sw-resize"},
};

// The shape of a panning cursor; the all-directions mark where the window
// system has no shape of that name.
plat::HCURSOR PanningCursor(const std::string& name)
{
    for (const TPanningCursor& cursor : PanningCursors) {
        if (name == cursor.Name) {
            const plat::HCURSOR shaped = plat::LoadCursorByShape(cursor.Shape);
            return shaped != 0 ? shaped : plat::LoadCursorByShape("move");
        }
    }
    return plat::LoadCursorByShape("move");
}

} // namespace

TScrollDirections TBaseDataTree::DetermineScrollDirections(int x, int y) const
{
    TScrollDirections directions;
    if (FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling)) {
        const int dx = x - FLastClickPos.X;
        const int dy = y - FLastClickPos.Y;
        if (dx < -PanningDeadZone) {
            directions.Include(sdLeft);
        } else if (dx > PanningDeadZone) {
            directions.Include(sdRight);
        }
        if (dy < -PanningDeadZone) {
            directions.Include(sdUp);
        } else if (dy > PanningDeadZone) {
            directions.Include(sdDown);
        }
        return directions;
    }
    const int edge = DefaultNodeHeight();
    if (x < edge && FEffectiveOffsetX != 0) {
        directions.Include(sdLeft);
    }
    if (ClientWidth() + std::int64_t{FEffectiveOffsetX} < FRangeX && x > ClientWidth() - edge) {
        directions.Include(sdRight);
    }
    if (y < edge && FOffsetY != 0) {
        directions.Include(sdUp);
    }
    if (ClientHeight() - std::int64_t{FOffsetY} < FRangeY && y > ClientHeight() - edge) {
        directions.Include(sdDown);
    }
    // A drag over the tree scrolls only AutoScrollDelay after it first wished to.
    if (!directions.Empty() && DragScrollWaits(x, y)) {
        return {};
    }
    return directions;
}

void TBaseDataTree::DoAutoScroll(int x, int y)
{
    FScrollDirections = DetermineScrollDirections(x, y);
    if (FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling) || !HandleAllocated()) {
        return;
    }
    const bool running = FStates.Contains(tsScrolling) || FStates.Contains(tsScrollPending);
    if (!FScrollDirections.Empty()) {
        if (!running) {
            DoStateChange({tsScrollPending});
            plat::SetTimer(Handle(), ScrollTimer, FAutoScrollDelay);
        }
    } else if (running) {
        KillTreeTimer(ScrollTimer);
        DoStateChange({}, {tsScrolling, tsScrollPending});
    }
}

void TBaseDataTree::ScrollTimerFired()
{
    if (FStates.Contains(tsScrollPending)) {
        plat::SetTimer(Handle(), ScrollTimer, FAutoScrollInterval);
        DoStateChange({tsScrolling}, {tsScrollPending});
    }
    DoTimerScroll();
}

void TBaseDataTree::DoTimerScroll()
{
    plat::TPoint cursor;
    plat::GetCursorPos(cursor);
    const plat::TPoint p = ScreenToClient(cursor);
    const plat::TRect client = ClientRect();
    const bool inside = client.Contains(p.X, p.Y);
    const bool panning = FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling);
    if (!(FStates.Contains(tsDrawSelecting) || inside || panning)) {
        return;
    }
    const int clientHeight = ClientHeight();
    const int clientWidth = ClientWidth();
    const int incrementY = std::min<int>(FScrollBarOptions->VerticalIncrement(), clientHeight);
    const int incrementX = FScrollBarOptions->HorizontalIncrement();
    int deltaX = 0;
    int deltaY = 0;
    if (FScrollDirections.Contains(sdUp)) {
        if (panning) {
            deltaY = FLastClickPos.Y - p.Y - PanningDeadZone;
        } else {
            deltaY = inside ? incrementY : incrementY * std::max(client.Top - p.Y, 1);
        }
        if (FOffsetY == 0) {
            FScrollDirections.Exclude(sdUp);
        }
    }
    if (FScrollDirections.Contains(sdDown)) {
        if (panning) {
            deltaY = FLastClickPos.Y - p.Y + PanningDeadZone;
        } else {
            deltaY = inside ? -incrementY : -incrementY * std::max(p.Y - client.Bottom + 1, 1);
        }
        if (clientHeight - std::int64_t{FOffsetY} >= FRangeY) {
            FScrollDirections.Exclude(sdDown);
        }
    }
    if (FScrollDirections.Contains(sdLeft)) {
        if (panning) {
            deltaX = FLastClickPos.X - p.X - PanningDeadZone;
        } else {
            deltaX = inside ? incrementX : incrementX * std::max(client.Left - p.X, 1);
        }
        if (FEffectiveOffsetX == 0) {
            FScrollDirections.Exclude(sdLeft);
        }
    }
    if (FScrollDirections.Contains(sdRight)) {
        if (panning) {
            deltaX = FLastClickPos.X - p.X + PanningDeadZone;
        } else {
            deltaX = inside ? -incrementX : -incrementX * std::max(p.X - client.Right + 1, 1);
        }
        if (clientWidth + std::int64_t{FEffectiveOffsetX} >= FRangeX) {
            FScrollDirections.Exclude(sdRight);
        }
    }
    if (UseRightToLeftAlignment()) {
        deltaX = -deltaX;
    }
    if (deltaX != 0 || deltaY != 0) {
        DoSetOffsetXY(plat::Point(FOffsetX + deltaX, FOffsetY + deltaY), DefaultScrollUpdateFlags);
    }
    // Draw selection: the band's moving corner stays under the mouse while
    // the tree scrolls beneath it, so rows scrolled in are taken.
    if (FStates.Contains(tsDrawSelecting) && UpdateDrawSelectionRect(p.X, p.Y)) {
        HandleDrawSelection();
        Invalidate();
    }
    plat::UpdateWindow(Handle());
    if (FScrollDirections.Empty() && !panning) {
        KillTreeTimer(ScrollTimer);
        DoStateChange({}, {tsScrolling, tsScrollPending});
    }
}

void TBaseDataTree::StartWheelPanning(plat::TPoint position)
{
    KillTreeTimer(ScrollTimer);
    DoStateChange({tsWheelPanning, tsWheelScrolling});
    FLastClickPos = position;
    FScrollDirections = {};
    // The mark is drawn over the tree's own surface at the panning centre;
    // the cursor follows the mouse's direction from it.
    AdjustPanningCursor(position.X, position.Y);
    if (Visible() && CanFocus()) {
        try {
            SetFocus();
        } catch (...) {
        }
    }
    SetMouseCapture(true);
    plat::SetTimer(Handle(), ScrollTimer, PanningInterval);
    Invalidate();
}

void TBaseDataTree::StopWheelPanning()
{
    if (!FStates.Contains(tsWheelPanning) && !FStates.Contains(tsWheelScrolling)) {
        return;
    }
    KillTreeTimer(ScrollTimer);
    SetMouseCapture(false);
    DoStateChange({}, {tsWheelPanning, tsWheelScrolling, tsScrolling, tsScrollPending});
    FScrollDirections = {};
    FPanningCursorName.clear();
    plat::SetCursor(plat::LoadCursor(plat::IDC_ARROW));
    Invalidate();
}

void TBaseDataTree::AdjustPanningCursor(int x, int y)
{
    const bool spanX = ClientWidth() < FRangeX;
    const bool spanY = ClientHeight() < FRangeY;
    const int dx = x - FLastClickPos.X;
    const int dy = y - FLastClickPos.Y;
    const char* name = nullptr;
    if (std::abs(dx) > 7 || std::abs(dy) > 7) {
        if (spanX && spanY) {
            if (dx < -PanningDeadZone) {
                name = dy < -PanningDeadZone ? "DT_MOVENW" : dy < 9 ? "DT_MOVEW" : "DT_MOVESW";
            } else if (dx < 9) {
                name = y < FLastClickPos.Y ? "DT_MOVEN" : "DT_MOVES";
            } else {
                name = dy < -PanningDeadZone ? "DT_MOVENE" : dy < 9 ? "DT_MOVEE" : "DT_MOVESE";
            }
        } else if (spanX) {
            name = x < FLastClickPos.X ? "DT_MOVEW" : "DT_MOVEE";
        } else {
            name = y < FLastClickPos.Y ? "DT_MOVEN" : "DT_MOVES";
        }
    } else {
        name = !spanX ? "DT_MOVENS" : spanY ? "DT_MOVEALL" : "DT_MOVEEW";
    }
    if (FPanningCursorName != name) {
        FPanningCursorName = name;
        plat::SetCursor(PanningCursor(FPanningCursorName));
    }
}

void TBaseDataTree::WMMButtonDown(plat::TMessage& message)
{
    DoStateChange({tsMiddleButtonDown});
    if (!FHeader->States().Empty()) {
        return;
    }
    Inherited(message);
    const plat::TPoint point = plat::Point(plat::GET_X_LPARAM(message.LParam), plat::GET_Y_LPARAM(message.LParam));
    const bool panning = FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling);
    const bool scrollable = ClientWidth() < FRangeX || ClientHeight() < FRangeY;
    if (FOptions->MiscOptions().Contains(toWheelPanning) && !panning && scrollable) {
        StartWheelPanning(point);
        return;
    }
    StopWheelPanning();
    if (FOptions->SelectionOptions().Contains(toMiddleClickSelect)) {
        THitInfo hitInfo = HitTestMessage(message);
        HandleMouseDown(message, hitInfo);
    }
}

void TBaseDataTree::WMMButtonUp(plat::TMessage& message)
{
    DoStateChange({}, {tsMiddleButtonDown});
    if (FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling)) {
        if (FStates.Contains(tsWheelScrolling)) {
            // Released before moving: panning goes on until the next click.
            DoStateChange({}, {tsWheelPanning});
        } else {
            StopWheelPanning();
        }
        return;
    }
    if (!FHeader->States().Empty()) {
        return;
    }
    Inherited(message);
    if (FOptions->SelectionOptions().Contains(toMiddleClickSelect)) {
        const THitInfo hitInfo = HitTestMessage(message);
        HandleMouseUp(static_cast<std::uint32_t>(message.WParam), hitInfo);
    }
}

} // namespace qel

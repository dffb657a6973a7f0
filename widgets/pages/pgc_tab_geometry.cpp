// The notebook's tab arithmetic: lengths, rows, places and rectangles.
#include "widgets/pages/pgc_tab_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace qel {
namespace {

// Every taking-part tab gets the length of its own caption, or (old style)
// all of them the length of the widest; the others get none.
void AssignTabWidths(std::vector<TTabSlot>& Slots, bool OldStyle)
{
    int common = kMinTabLength;
    for (const TTabSlot& slot : Slots) {
        if (slot.TakesPart) {
            common = std::max(common, slot.CaptionWidth + kTabCaptionMargin);
        }
    }
    for (TTabSlot& slot : Slots) {
        const int own = std::max(slot.CaptionWidth + kTabCaptionMargin, kMinTabLength);
        slot.TabWidth = !slot.TakesPart ? 0 : OldStyle ? common : own;
    }
}

// Rows filled in page order while the next tab still fits; a row takes at
// least one page. Pages that take no part pass through (their length is 0).
int FillRows(std::vector<TTabSlot>& Slots, int Available)
{
    int total = 0;
    std::size_t next = 0;
    while (next < Slots.size()) {
        const int row = total++;
        int used = 0;
        bool first = true;
        while (next < Slots.size() && (first || used + Slots[next].TabWidth <= Available)) {
            if (Slots[next].TakesPart) {
                Slots[next].Row = row;
                used += Slots[next].TabWidth;
            }
            first = false;
            ++next;
        }
    }
    return total;
}

// Count div RowCount tabs to each of RowCount rows (the quota counts every
// page, only taking-part ones are placed); the pages left over go to the
// rows in turn, always within the row count.
int DealRows(std::vector<TTabSlot>& Slots, int RowCount)
{
    const int perRow = static_cast<int>(Slots.size()) / RowCount;
    std::size_t next = 0;
    int row = 0;
    int inRow = 0;
    while (perRow > 0 && next < Slots.size() && row < RowCount) {
        TTabSlot& slot = Slots[next++];
        if (!slot.TakesPart) {
            continue;
        }
        slot.Row = row;
        if (++inRow == perRow) {
            ++row;
            inRow = 0;
        }
    }
    int turn = 0;
    for (; next < Slots.size(); ++next) {
        if (Slots[next].TakesPart) {
            Slots[next].Row = turn++ % RowCount;
        }
    }
    return RowCount;
}

// Old style: empty rows go (the rows behind them move up, so every tab
// keeps a row below the total), and each row's tabs share out what the row
// lacks of (or has beyond) the available length, the first tabs of the row
// one pixel more, so that every row fills it exactly.
int JustifyRows(std::vector<TTabSlot>& Slots, int Total, int Available)
{
    std::vector<int> renumbered(static_cast<std::size_t>(Total), -1);
    int kept = 0;
    for (int row = 0; row < Total; ++row) {
        if (TabsInRow(Slots, row) > 0) {
            renumbered[static_cast<std::size_t>(row)] = kept++;
        }
    }
    for (TTabSlot& slot : Slots) {
        if (slot.TakesPart) {
            slot.Row = renumbered[static_cast<std::size_t>(slot.Row)];
        }
    }
    for (int row = 0; row < kept; ++row) {
        int used = 0;
        for (const TTabSlot& slot : Slots) {
            used += slot.TakesPart && slot.Row == row ? slot.TabWidth : 0;
        }
        const int count = TabsInRow(Slots, row);
        const int difference = Available - used;
        const int sign = difference > 0 ? 1 : -1;
        const int share = std::abs(difference) / count;
        int remainder = std::abs(difference) % count;
        for (TTabSlot& slot : Slots) {
            if (!slot.TakesPart || slot.Row != row) {
                continue;
            }
            slot.TabWidth += sign * (share + (remainder > 0 ? 1 : 0));
            remainder = std::max(remainder - 1, 0);
        }
    }
    return kept;
}

} // namespace

TTabRows LayoutTabRows(std::vector<TTabSlot>& Slots, int Available, int RowCount, bool OldStyle, int ActiveIndex)
{
    AssignTabWidths(Slots, OldStyle);
    TTabRows rows;
    rows.Total = RowCount > 0 ? DealRows(Slots, RowCount) : FillRows(Slots, Available);
    if (OldStyle) {
        rows.Total = JustifyRows(Slots, rows.Total, Available);
    }
    if (ActiveIndex >= 0 && ActiveIndex < static_cast<int>(Slots.size())) {
        rows.Focused = Slots[static_cast<std::size_t>(ActiveIndex)].Row;
    }
    return rows;
}

int TabsInRow(const std::vector<TTabSlot>& Slots, int Row)
{
    return static_cast<int>(
        std::count_if(Slots.begin(), Slots.end(), [Row](const TTabSlot& slot) { return slot.TakesPart && slot.Row == Row; }));
}

plat::TRect PageBounds(TPgcTabOrientation Orientation, int TabHeight, int RowsHeight, int Width, int Height)
{
    if (TabHeight == 0) {
        return plat::Rect(0, 0, Width, Height);
    }
    const int rows = RowsHeight;
    switch (Orientation) {
    case toTop:
        return plat::Bounds(1, rows + 3, Width - 3, Height - rows - 5);
    case toRight:
        return plat::Bounds(1, 1, Width - rows - 4, Height - 3);
    case toBottom:
        return plat::Bounds(1, 1, Width - 3, Height - rows - 5);
    case toLeft:
        return plat::Bounds(rows + 3, 1, Width - rows - 5, Height - 3);
    }
    return plat::Rect(0, 0, Width, Height);
}

std::vector<TTabPlacement> PlaceTabs(const std::vector<TTabSlot>& Slots, TPgcTabOrientation Orientation,
                                     int TabHeight, TTabRows Rows, int Width, int Height)
{
    std::vector<TTabPlacement> placed;
    if (Rows.Total <= 0) {
        return placed;
    }
    for (int painted = 0; painted < Rows.Total; ++painted) {
        const int row = (Rows.Focused + 1 + painted) % Rows.Total;
        const int depth = painted * TabHeight;   // how far the row lies from the first one
        int along = Orientation == toLeft ? Height - 2 : 2;
        bool first = true;
        for (std::size_t index = 0; index < Slots.size(); ++index) {
            const TTabSlot& slot = Slots[index];
            if (!slot.TakesPart || slot.Row != row) {
                continue;
            }
            const int length = slot.TabWidth;
            TTabPlacement tab;
            tab.Index = static_cast<int>(index);
            tab.FirstInRow = first;
            tab.FirstPaintedRow = painted == 0;
            switch (Orientation) {
            case toTop:
                tab.Area = plat::Rect(along, 2 + depth, along + length, 2 + depth + TabHeight);
                along += length;
                break;
            case toBottom:
                tab.Area = plat::Rect(along, Height - 3 - depth - TabHeight, along + length, Height - 3 - depth);
                along += length;
                break;
            case toLeft:
                tab.Area = plat::Rect(2 + depth, along - length, 2 + depth + TabHeight, along);
                along -= length;
                break;
            case toRight:
                tab.Area = plat::Rect(Width - 2 - depth - TabHeight, along, Width - 2 - depth, along + length);
                along += length;
                break;
            }
            placed.push_back(tab);
            first = false;
        }
    }
    return placed;
}

std::vector<plat::TRect> TabBand(TPgcTabOrientation Orientation, int RowsHeight, int Width, int Height, bool OldStyle)
{
    const int band = RowsHeight + 2;
    switch (Orientation) {
    case toTop:
        if (OldStyle) {
            return {plat::Rect(0, 0, 2, band), plat::Rect(Width - 2, 0, Width, band), plat::Rect(0, 0, Width, 2)};
        }
        return {plat::Rect(0, 2, Width, band), plat::Rect(0, 0, Width, 2)};
    case toBottom:
        if (OldStyle) {
            // Bottom tabs end one row above the 2-pixel strip; the strip
            // takes that row too, or it would keep stale pixels.
            return {plat::Rect(0, Height - band, 2, Height), plat::Rect(Width - 2, Height - band, Width, Height),
                    plat::Rect(0, Height - 3, Width, Height)};
        }
        return {plat::Rect(0, Height - band, Width, Height), plat::Rect(0, Height - 2, Width, Height)};
    case toLeft:
        if (OldStyle) {
            return {plat::Rect(0, 0, band, 2), plat::Rect(0, Height - 2, band, Height), plat::Rect(0, 0, 2, Height)};
        }
        return {plat::Rect(0, 0, band, Height), plat::Rect(0, 0, 2, Height)};
    case toRight:
        if (OldStyle) {
            return {plat::Rect(Width - band, 0, Width, 2), plat::Rect(Width - band, Height - 2, Width, Height),
                    plat::Rect(Width - 2, 0, Width, Height)};
        }
        return {plat::Rect(Width - band, 0, Width, Height), plat::Rect(Width - 2, 0, Width, Height)};
    }
    return {};
}

plat::TRect EnlargedTab(TPgcTabOrientation Orientation, const plat::TRect& Area)
{
    plat::TRect r = plat::InflateRect(Area, 2, 2);
    switch (Orientation) {
    case toTop:
        r.Bottom -= 2;
        break;
    case toBottom:
        r.Top += 2;
        break;
    case toLeft:
        r.Right -= 2;
        r.Bottom -= 1;
        break;
    case toRight:
        r.Left += 2;
        break;
    }
    return r;
}

plat::TRect TabTextRect(TPgcTabOrientation Orientation, int TabHeight, const plat::TRect& Area)
{
    if (TabHeight == 0) {
        return plat::TRect{};
    }
    const plat::TRect& a = Area;
    switch (Orientation) {
    case toTop:
        return plat::Rect(a.Left + 6 - 1, a.Top + 3, a.Right - 6, a.Bottom);
    case toBottom:
        return plat::Rect(a.Left + 6 - 1, a.Top, a.Right - 6, a.Bottom + 3);
    case toRight:
        return plat::Rect(a.Left, a.Top + 6 - 1, a.Right - 3, a.Bottom - 6);
    case toLeft:
        return plat::Rect(a.Left - 3, a.Top + 6 - 1, a.Right, a.Bottom - 6);
    }
    return plat::TRect{};
}

plat::TRect TabFocusRect(TPgcTabOrientation Orientation, int TabHeight, const plat::TRect& Area)
{
    const plat::TRect t = TabTextRect(Orientation, TabHeight, Area);
    switch (Orientation) {
    case toTop:
        return plat::Rect(t.Left - 4, t.Top - 2, t.Right + 4, t.Bottom - 2);
    case toRight:
        return plat::Rect(t.Left + 1, t.Top - 4, t.Right + 2, t.Bottom + 4);
    case toBottom:
        return plat::Rect(t.Left - 4, t.Top + 2, t.Right + 4, t.Bottom - 3);
    case toLeft:
        return plat::Rect(t.Left + 4, t.Top - 4, t.Right - 1, t.Bottom + 4);
    }
    return t;
}

plat::TRect TabRepaintRect(TPgcTabOrientation Orientation, const plat::TRect& Area)
{
    plat::TRect r = Area;
    switch (Orientation) {
    case toTop:
        r.Bottom += 5;
        break;
    case toRight:
        r.Left -= 5;
        break;
    case toBottom:
        r.Top -= 5;
        break;
    case toLeft:
        r.Right += 5;
        break;
    }
    return r;
}

plat::TPoint RowChangePoint(TPgcTabOrientation Orientation, int TabHeight, int TabWidth, const plat::TRect& Area)
{
    switch (Orientation) {
    case toTop:
        return plat::Point(Area.Left + TabWidth / 2, Area.Top - TabHeight / 2);
    case toBottom:
        return plat::Point(Area.Left + TabWidth / 2, Area.Bottom + TabHeight / 2);
    case toRight:
        return plat::Point(Area.Right + TabHeight / 2, Area.Top + TabWidth / 2);
    case toLeft:
        return plat::Point(Area.Left - TabHeight / 2, Area.Top + TabWidth / 2);
    }
    return plat::Point(Area.Left, Area.Top);
}

} // namespace qel

// The scrolling animation of expanding and collapsing a data tree node:
// which bands of the window move, which way and how far, worked out from
// the node's row, the client height, the scroll offset and the height the
// children add or take away. Each step moves the driving band by the step
// size and the other band by its share.
#pragma once

#include <cstdint>

namespace qel {

enum TToggleDirection : std::uint8_t { tdUp, tdDown, tdNone };

// A band of the row's width from Top to Bottom (client coordinates).
struct TToggleRegion {
    int Top = 0;
    int Bottom = 0;
    TToggleDirection Direction = tdNone;
    int Amount = 0;          // pixels in all
};

// What one toggle knows of the window and the node.
struct TToggleGeometry {
    int RowLeft = 0;         // the node's row, client coordinates
    int RowRight = 0;
    int RowTop = 0;
    int RowBottom = 0;
    int NodeHeight = 0;
    int ClientHeight = 0;
    int OffsetY = 0;         // 0 or negative
    std::int64_t Range = 0;  // height of the virtual area before the toggle
    std::int64_t Delta = 0;  // height the children add (negative when collapsing)
    bool ChildrenAbove = false;
    bool Advanced = false;   // toAdvancedAnimatedToggle
    bool AutoScrollOnExpand = false;
};

class TToggleAnimation {
public:
    static TToggleAnimation ForCollapse(const TToggleGeometry& geometry);
    static TToggleAnimation ForExpand(const TToggleGeometry& geometry);

    // Whether there is anything on screen to move.
    bool Runs() const { return FRuns; }
    // Steps of the whole animation: the driving band's amount.
    int Steps() const { return First.Amount; }
    // The window is repainted whole after the toggle.
    bool RepaintAfter() const { return FRepaintAfter; }
    // Pixels the second band moves in a step of stepSize (the first moves
    // stepSize); the rounding error is carried to the next step.
    int SecondStep(int stepSize);

    int Left = 0;            // both bands span the row's width
    int Right = 0;
    TToggleRegion First;     // the driving band
    TToggleRegion Second;
    double Ratio = 0;        // second amount per first amount
    double Remainder = 0;

private:
    // The band that moves further drives; a band that does not move never does.
    void Prepare();

    bool FRuns = false;
    bool FRepaintAfter = false;
};

} // namespace qel

// The small types controls share: alignment, control style and state
// flags, mouse buttons, the shift state and its conversions, the numbered
// cursors of the screen's cursor table, and the event types.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/messages.h"
#include "platform/objects/events.h"
#include "platform/objects/set.h"

#include <cstdint>

namespace plat {

class TObject;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

enum TControlStyleFlag {
    csAcceptsControls,   // children can be placed on it
    csCaptureMouse,      // a left button press captures the mouse until release
    csDesignInteractive,
    csClickEvents,       // a press and release on it is a click
    csFramed,
    csSetCaption,        // its name becomes its caption when named
    csOpaque,            // it paints its whole area
    csDoubleClicks,      // takes double clicks; without, they arrive as presses
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,       // no OnMouse... events
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
    csNeedsBorderPaint,
    csParentBackground,
};
using TControlStyle = TSet<TControlStyleFlag>;

enum TControlStateFlag {
    csLButtonDown,       // the left button went down on it
    csClicked,           // the press was on it: the release clicks
    csPalette,
    csReadingState,
    csAlignmentNeeded,   // an alignment was asked for while alignment was held
    csFocusing,          // it is taking the focus
    csCreating,          // its window is being made
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking,
};
using TControlState = TSet<TControlStateFlag>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

// The shift state of a mouse message's MK_ key flags.
TShiftState KeysToShiftState(std::uint32_t keys);
// The shift state a keyboard message's key data and the key state give.
TShiftState KeyDataToShiftState(LPARAM keyData);
// The shift state of the keyboard and buttons now.
TShiftState GetShiftState();

// Numbers of the screen's cursor table (TScreen::Cursors).
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = crSizeAll;

using TMouseEvent = TEvent<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = TEvent<void(TObject* sender, TShiftState shift, int x, int y)>;
using TMouseWheelEvent = TEvent<void(TObject* sender, TShiftState shift, int wheelDelta, TPoint mousePos, bool& handled)>;
using TMouseWheelUpDownEvent = TEvent<void(TObject* sender, TShiftState shift, TPoint mousePos, bool& handled)>;
using TKeyEvent = TEvent<void(TObject* sender, std::uint16_t& key, TShiftState shift)>;
using TKeyPressEvent = TEvent<void(TObject* sender, char16_t& key)>;
using TContextPopupEvent = TEvent<void(TObject* sender, TPoint mousePos, bool& handled)>;

} // namespace plat

// Mouse cursors: the standard shapes by their customary numbers, cursors
// made from pictures or loaded by resource name, and the cursor now shown.
// Hosts turn a cursor into their own by its shape name or picture.
#pragma once

#include "platform/canvas/graphics_types.h"

#include <cstdint>
#include <memory>
#include <string>

namespace plat {

class TPixelSurface;
using HCURSOR = std::intptr_t;

constexpr int IDC_ARROW = 32512;
constexpr int IDC_IBEAM = 32513;
constexpr int IDC_WAIT = 32514;
constexpr int IDC_CROSS = 32515;
constexpr int IDC_UPARROW = 32516;
constexpr int IDC_SIZENWSE = 32642;
constexpr int IDC_SIZENESW = 32643;
constexpr int IDC_SIZEWE = 32644;
constexpr int IDC_SIZENS = 32645;
constexpr int IDC_SIZEALL = 32646;
constexpr int IDC_NO = 32648;
constexpr int IDC_HAND = 32649;
constexpr int IDC_APPSTARTING = 32650;
constexpr int IDC_HELP = 32651;

// A cursor picture: 32-bit pixels with alpha, and the point that aims.
struct TCursorImage {
    std::shared_ptr<const TPixelSurface> Pixels;
    TPoint HotSpot;
};

// A standard cursor by its number; 0 for an unknown one.
HCURSOR LoadCursor(int id);
// A standard cursor by its shape name ("default", "text", "wait",
// "crosshair", "ew-resize", "pointer", ...); 0 for an unknown name.
HCURSOR LoadCursorByShape(const std::string& shape);
HCURSOR CreateCursorFromImage(const TCursorImage& image);
// Cursor resources of the program: registered once by name (case ignored),
// loaded as often as wanted; 0 for an unknown name.
void RegisterCursorResource(const std::string& name, const TCursorImage& image);
HCURSOR LoadCursorResource(const std::string& name);
// Frees a cursor made from a picture; standard cursors stay.
bool DestroyCursor(HCURSOR cursor);

// Shows the cursor over the program's windows; answers the one before.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// Counts the cursor's showings up (show) or down; the cursor shows while the
// count is 0 or more. Answers the new count.
int ShowCursor(bool show);

constexpr std::uint32_t CURSOR_SHOWING = 0x00000001;
struct TCursorInfo {
    std::uint32_t flags = 0;   // CURSOR_SHOWING while the cursor shows
    HCURSOR hCursor = 0;
    TPoint ptScreenPos;
};
// The cursor now shown, whether it shows and where; false without a window
// manager.
bool GetCursorInfo(TCursorInfo& info);

// For hosts: the shape name of a standard cursor ("default" for 0), empty
// for a picture cursor; the picture of a picture cursor, nullptr otherwise.
std::string CursorShapeName(HCURSOR cursor);
const TCursorImage* CursorPicture(HCURSOR cursor);

} // namespace plat

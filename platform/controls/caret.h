// The caret: one per user-interface thread, owned by a window, with a show
// count, a position in the owner's client area and a blink of 530 ms. It is
// not part of the window's pixels: the composed picture inverts it over the
// owner (solid, grey or through a bitmap).
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/messages.h"

#include <memory>

namespace plat {

class TPixelSurface;
class TWindowManager;

// Replaces any caret; the new one is hidden (ShowCaret shows it). A gray
// caret inverts with grey instead of white.
bool CreateCaret(HWND hwnd, int width, int height, bool gray = false);
// A caret of the bitmap's size whose pixels are inverted with the bitmap's.
bool CreateBitmapCaret(HWND hwnd, const TPixelSurface& bitmap, int deviceScale = 1);
bool DestroyCaret();
// ShowCaret undoes one HideCaret; the caret shows at count 0. Both answer
// false when hwnd does not own the caret (0: whoever owns it).
bool ShowCaret(HWND hwnd);
bool HideCaret(HWND hwnd);
// Client coordinates of the owner; shows the caret at once (blink restarts).
bool SetCaretPos(int x, int y);
bool GetCaretPos(TPoint& point);
unsigned GetCaretBlinkTime();
bool SetCaretBlinkTime(unsigned ms);

class TCaretState {
public:
    TCaretState();
    ~TCaretState();

    HWND Owner = 0;
    int Width = 0;
    int Height = 0;
    bool Gray = false;
    std::unique_ptr<TPixelSurface> Bitmap;  // device pixels of a bitmap caret
    TPoint Position;                        // owner client coordinates
    int HideCount = 1;                      // shows at 0
    bool BlinkOn = true;                    // the visible half of the blink
    unsigned BlinkTimeMs;

    bool Showing() const { return Owner != 0 && HideCount == 0 && BlinkOn; }
    // Inverts the caret over a composed top-level window when it shows there.
    void DrawOver(TWindowManager& manager, HWND topLevel, TPixelSurface& pixels, int scale) const;
    void WindowDestroyed(HWND hwnd);
};

} // namespace plat

// The caret of the user-interface thread: its state, the blink timer, and
// its inversion over the owner in the composed picture.
#include "platform/controls/caret.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/window_manager.h"

#include <algorithm>

namespace plat {

namespace {

constexpr std::uintptr_t BlinkTimerId = 1;

TWindowManager* Manager()
{
    return TWindowManager::Instance();
}

// The caret's rectangle in its top-level window's coordinates.
TRect CaretRectInTop(TWindowManager& manager, const TCaretState& caret)
{
    const TRect client = manager.ClientRectInTop(caret.Owner);
    return Bounds(SaturateInt(std::int64_t{client.Left} + caret.Position.X),
                  SaturateInt(std::int64_t{client.Top} + caret.Position.Y), caret.Width, caret.Height);
}

void Repaint(TWindowManager& manager)
{
    TCaretState& caret = manager.Caret();
    if (caret.Owner != 0) {
        manager.PixelsChanged(GetTopLevelWindow(caret.Owner), CaretRectInTop(manager, caret));
    }
}

void Blink()
{
    TWindowManager* manager = Manager();
    if (manager == nullptr) {
        return;
    }
    manager->Caret().BlinkOn = !manager->Caret().BlinkOn;
    Repaint(*manager);
}

// Starts the blink anew with the caret visible.
void RestartBlink(TWindowManager& manager)
{
    TCaretState& caret = manager.Caret();
    caret.BlinkOn = true;
    if (caret.Owner != 0 && caret.HideCount == 0) {
        manager.SetServiceTimer(BlinkTimerId, caret.BlinkTimeMs, Blink);
    } else {
        manager.KillServiceTimer(BlinkTimerId);
    }
    Repaint(manager);
}

bool Owns(const TCaretState& caret, HWND hwnd)
{
    return caret.Owner != 0 && (hwnd == 0 || hwnd == caret.Owner);
}

} // namespace

TCaretState::TCaretState() : BlinkTimeMs(CaretBlinkTimeMs) {}

TCaretState::~TCaretState() = default;

void TCaretState::DrawOver(TWindowManager& manager, HWND topLevel, TPixelSurface& pixels, int scale) const
{
    if (!Showing() || GetTopLevelWindow(Owner) != topLevel || !IsWindowVisible(Owner)) {
        return;
    }
    TRegion visible = manager.VisibleClientRegion(Owner);
    const TRect client = manager.ClientRectInTop(Owner);
    visible.Offset(client.Left, client.Top);
    visible.Combine(visible, TRegion(CaretRectInTop(manager, *this)), RGN_AND);
    const TRect caret = CaretRectInTop(manager, *this);
    const std::uint8_t mask = Gray ? 0x80 : 0xFF;
    for (const TRect& rect : visible.Rects()) {
        const int left = std::max(rect.Left * scale, 0);
        const int right = std::min(static_cast<int>(std::int64_t{rect.Right} * scale), pixels.Width());
        const int top = std::max(rect.Top * scale, 0);
        const int bottom = std::min(static_cast<int>(std::int64_t{rect.Bottom} * scale), pixels.Height());
        for (int y = top; y < bottom; ++y) {
            std::uint8_t* row = pixels.ScanLine(y);
            for (int x = left; x < right; ++x) {
                std::uint8_t* pixel = row + std::size_t{4} * x;
                if (Bitmap) {
                    const std::int64_t bx = x - std::int64_t{caret.Left} * scale;
                    const std::int64_t by = y - std::int64_t{caret.Top} * scale;
                    if (bx < 0 || by < 0 || bx >= Bitmap->Width() || by >= Bitmap->Height()) {
                        continue;
                    }
                    const std::uint8_t* source = Bitmap->ScanLine(static_cast<int>(by)) + 4 * bx;
                    for (int channel = 0; channel < 3; ++channel) {
                        pixel[channel] ^= source[channel];
                    }
                } else {
                    for (int channel = 0; channel < 3; ++channel) {
                        pixel[channel] ^= mask;
                    }
                }
            }
        }
    }
}

void TCaretState::WindowDestroyed(HWND hwnd)
{
    if (Owner == hwnd) {
        Owner = 0;
        Bitmap.reset();
        if (TWindowManager* manager = Manager()) {
            manager->KillServiceTimer(BlinkTimerId);
        }
    }
}

bool CreateCaret(HWND hwnd, int width, int height, bool gray)
{
    TWindowManager& manager = TWindowManager::Current();
    if (manager.Find(hwnd) == nullptr) {
        return false;
    }
    DestroyCaret();
    TCaretState& caret = manager.Caret();
    caret.Owner = hwnd;
    caret.Width = std::max(width, 1);
    caret.Height = std::max(height, 1);
    caret.Gray = gray;
    caret.Bitmap.reset();
    caret.Position = Point(0, 0);
    caret.HideCount = 1;
    caret.BlinkOn = true;
    return true;
}

bool CreateBitmapCaret(HWND hwnd, const TPixelSurface& bitmap, int deviceScale)
{
    deviceScale = std::max(deviceScale, 1);
    if (!CreateCaret(hwnd, bitmap.Width() / deviceScale, bitmap.Height() / deviceScale)) {
        return false;
    }
    TCaretState& caret = TWindowManager::Current().Caret();
    caret.Bitmap = std::make_unique<TPixelSurface>(bitmap.Width(), bitmap.Height(), 32);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t* source = const_cast<TPixelSurface&>(bitmap).ScanLine(y);
        std::uint8_t* target = caret.Bitmap->ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const int step = bitmap.BitsPerPixel() / 8;
            target[4 * x] = source[step * x];
            target[4 * x + 1] = source[step * x + 1];
            target[4 * x + 2] = source[step * x + 2];
            target[4 * x + 3] = 0xFF;
        }
    }
    return true;
}

bool DestroyCaret()
{
    TWindowManager* manager = Manager();
    if (manager == nullptr || manager->Caret().Owner == 0) {
        return false;
    }
    Repaint(*manager);
    manager->Caret().WindowDestroyed(manager->Caret().Owner);
    return true;
}

bool ShowCaret(HWND hwnd)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr || !Owns(manager->Caret(), hwnd) || manager->Caret().HideCount == 0) {
        return false;
    }
    if (--manager->Caret().HideCount == 0) {
        RestartBlink(*manager);
    }
    return true;
}

bool HideCaret(HWND hwnd)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr || !Owns(manager->Caret(), hwnd)) {
        return false;
    }
    if (manager->Caret().HideCount++ == 0) {
        Repaint(*manager);
        manager->KillServiceTimer(BlinkTimerId);
    }
    return true;
}

bool SetCaretPos(int x, int y)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr || manager->Caret().Owner == 0) {
        return false;
    }
    Repaint(*manager);
    manager->Caret().Position = Point(x, y);
    RestartBlink(*manager);
    return true;
}

bool GetCaretPos(TPoint& point)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr || manager->Caret().Owner == 0) {
        return false;
    }
    point = manager->Caret().Position;
    return true;
}

unsigned GetCaretBlinkTime()
{
    TWindowManager* manager = Manager();
    return manager ? manager->Caret().BlinkTimeMs : CaretBlinkTimeMs;
}

bool SetCaretBlinkTime(unsigned ms)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr || ms == 0) {
        return false;
    }
    manager->Caret().BlinkTimeMs = ms;
    RestartBlink(*manager);
    return true;
}

} // namespace plat

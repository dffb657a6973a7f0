// The input method manager of the user-interface thread. Each window has an
// input context: the text the user's input method composes for it until it
// is committed, the cursor in that text, where the composition window
// stands and in which font it shows, and whether the input method is open.
// Hosts report the input method's work (PostHostComposition...); it reaches
// the focus window as WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION and
// WM_IME_ENDCOMPOSITION, a committed text as WM_IME_CHAR and then WM_CHAR
// through the default window procedure. The composed picture shows a
// running composition in its composition window over the program's pixels.
#pragma once

#include "platform/canvas/gdi_objects.h"
#include "platform/canvas/graphics_types.h"
#include "platform/controls/window_messages.h"
#include "platform/messages.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

namespace plat {

class TPixelSurface;
class TWindowManager;

// WM_IME_NOTIFY's wParam.
constexpr WPARAM IMN_SETOPENSTATUS = 0x0008;
constexpr WPARAM IMN_SETCOMPOSITIONFONT = 0x000A;
constexpr WPARAM IMN_SETCOMPOSITIONWINDOW = 0x000B;

// ImmNotifyIME's action and index.
constexpr std::uint32_t NI_COMPOSITIONSTR = 0x0015;
constexpr std::uint32_t CPS_COMPLETE = 0x0001;
constexpr std::uint32_t CPS_CANCEL = 0x0004;

// What WM_IME_COMPOSITION's lParam says changed; the parts of a context's
// strings ImmGetCompositionString reads.
constexpr std::uint32_t GCS_COMPSTR = 0x0008;
constexpr std::uint32_t GCS_CURSORPOS = 0x0080;
constexpr std::uint32_t GCS_RESULTSTR = 0x0800;

// Where the composition window stands: CFS_DEFAULT at the caret of the
// context's window, CFS_POINT and CFS_FORCE_POSITION at ptCurrentPos (client
// coordinates of that window).
constexpr std::uint32_t CFS_DEFAULT = 0x0000;
constexpr std::uint32_t CFS_POINT = 0x0002;
constexpr std::uint32_t CFS_FORCE_POSITION = 0x0020;

struct TCompositionForm {
    std::uint32_t dwStyle = CFS_DEFAULT;
    TPoint ptCurrentPos;
    TRect rcArea;
};

// A window's input context; 0 for none.
using HIMC = std::uintptr_t;

// The input context of a window that exists (made on first request), else 0.
HIMC ImmGetContext(HWND hwnd);
bool ImmReleaseContext(HWND hwnd, HIMC context);
// NI_COMPOSITIONSTR with CPS_COMPLETE commits a running composition to the
// context's window (its text as the result, then the end), with CPS_CANCEL
// drops it; either way the host's input method starts afresh. False for
// another action or no composition to finish.
bool ImmNotifyIME(HIMC context, std::uint32_t action, std::uint32_t index, std::uint32_t value);
bool ImmSetCompositionWindow(HIMC context, const TCompositionForm& form);
bool ImmGetCompositionWindow(HIMC context, TCompositionForm& form);
bool ImmSetCompositionFont(HIMC context, const TLogFont& font);
bool ImmGetCompositionFont(HIMC context, TLogFont& font);
// A change sends the context's window WM_IME_NOTIFY with IMN_SETOPENSTATUS.
bool ImmSetOpenStatus(HIMC context, bool open);
bool ImmGetOpenStatus(HIMC context);
// GCS_COMPSTR: the running composition; GCS_RESULTSTR: the last text
// committed; anything else: empty.
std::u16string ImmGetCompositionString(HIMC context, std::uint32_t index);
// The cursor in the running composition (GCS_CURSORPOS), in UTF-16 units.
int ImmGetCompositionCursor(HIMC context);

// Whether the input locale is East Asian: from the locale's language
// (Chinese, Japanese, Korean), or as a test sets it (nullopt: the locale).
bool SysLocaleFarEast();
void SetSysLocaleFarEast(std::optional<bool> farEast);

// ---- for hosts ----
// The input method's composition for the keyboard window of topLevel
// changed: the text so far and the cursor in it (UTF-16 units; -1 at the
// end). Posted with the other input, in order.
bool PostHostComposition(HWND topLevel, const std::u16string& text, int cursor = -1);
// The input method committed text while composing.
bool PostHostCompositionResult(HWND topLevel, const std::u16string& text);
// The input method ended its composition without committing.
bool PostHostCompositionEnd(HWND topLevel);
// Where the focus window's composition shows (the composition window, else
// the caret), in topLevel's logical coordinates; false when the focus is
// not in topLevel.
bool InputMethodSpot(HWND topLevel, TRect& spot);

// For the window manager: the contexts and the input method's pending
// reports, queued input of kind Composition, the composition drawn over
// a composed top-level window, and the default handling of the results.
class TInputMethodState {
public:
    struct TContext {
        std::u16string Composition;   // running composition
        int Cursor = 0;               // in Composition, UTF-16 units
        bool Composing = false;       // between WM_IME_STARTCOMPOSITION and WM_IME_ENDCOMPOSITION
        std::u16string Result;        // the last text committed
        bool Open = false;            // the input method is on for the window
        std::optional<TLogFont> Font; // the composition font; the default font when unset
        TCompositionForm Form;
    };
    enum class TReport : std::uint8_t { Changed, Result, Ended };
    struct TPending {
        TReport Kind = TReport::Changed;
        std::u16string Text;
        int Cursor = -1;
    };

    TContext* Find(HWND hwnd);
    TContext& Context(HWND hwnd) { return FContexts[hwnd]; }
    // Queues a host report; answers its number for the queued input.
    std::int32_t Queue(TPending pending);
    // Applies a queued report to the focus window (WM_QUEUED_INPUT of kind
    // Composition).
    void Apply(std::int32_t number);
    void DrawOver(TWindowManager& manager, HWND topLevel, TPixelSurface& pixels, int scale) const;
    void WindowDestroyed(HWND hwnd);

private:
    std::map<HWND, TContext> FContexts;
    std::deque<std::pair<std::int32_t, TPending>> FPending;
    std::int32_t FNextNumber = 1;
};

// Default window procedure: a result of WM_IME_COMPOSITION becomes one
// WM_IME_CHAR per UTF-16 unit, and WM_IME_CHAR becomes WM_CHAR.
LRESULT DefaultImeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace plat

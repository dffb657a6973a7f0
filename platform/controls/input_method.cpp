// The input method manager: input contexts by window, the host's reports
// queued with the other input and applied to the focus window, the Imm
// calls, and the composition window drawn over the composed picture.
#include "platform/controls/input_method.h"

#include "platform/canvas/colors.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/caret.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_manager.h"
#include "platform/locale.h"
#include "platform/text_encoding.h"

#include <algorithm>

namespace plat {

namespace {

std::optional<bool> FarEastOverride;

constexpr int CompositionPadding = 1;   // pixels between the box's edge and its text

TWindowManager* Manager()
{
    return TWindowManager::Instance();
}

// A context is the window it belongs to.
HWND WindowOf(HIMC context)
{
    return static_cast<HWND>(context);
}

TInputMethodState::TContext* ContextOf(HIMC context)
{
    TWindowManager* manager = Manager();
    return manager != nullptr ? manager->InputMethod().Find(WindowOf(context)) : nullptr;
}

void Repaint(HWND hwnd)
{
    TWindowManager* manager = Manager();
    const HWND top = GetTopLevelWindow(hwnd);
    if (manager == nullptr || top == 0) {
        return;
    }
    if (const TWindowRecord* record = manager->Find(top)) {
        manager->PixelsChanged(top, Bounds(0, 0, record->Bounds.Width(), record->Bounds.Height()));
    }
}

// The last unit of a text, as WM_IME_COMPOSITION's wParam carries it.
WPARAM LastUnit(const std::u16string& text)
{
    return text.empty() ? 0 : static_cast<WPARAM>(text.back());
}

void Open(HWND hwnd, TInputMethodState::TContext& context)
{
    if (!context.Open) {
        context.Open = true;
        SendMessage(hwnd, WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
    }
}

// Each step looks the context up again: a message handler may destroy the
// window and with it the context.
void StartComposition(HWND hwnd)
{
    TInputMethodState::TContext* context = Manager()->InputMethod().Find(hwnd);
    if (context == nullptr || context->Composing) {
        return;
    }
    Open(hwnd, *context);
    if ((context = Manager()->InputMethod().Find(hwnd)) == nullptr) {
        return;
    }
    context->Composing = true;
    SendMessage(hwnd, WM_IME_STARTCOMPOSITION, 0, 0);
}

// An empty composition before any started (what an input method reports
// after its commit) starts none.
void ShowComposition(HWND hwnd, const std::u16string& text, int cursor)
{
    const TInputMethodState::TContext* running = Manager()->InputMethod().Find(hwnd);
    if (text.empty() && (running == nullptr || !running->Composing)) {
        return;
    }
    StartComposition(hwnd);
    TInputMethodState::TContext* context = Manager()->InputMethod().Find(hwnd);
    if (context == nullptr) {
        return;
    }
    context->Composition = text;
    const int length = static_cast<int>(text.size());
    context->Cursor = cursor < 0 ? length : std::min(cursor, length);
    Repaint(hwnd);
    SendMessage(hwnd, WM_IME_COMPOSITION, LastUnit(text), GCS_COMPSTR | GCS_CURSORPOS);
}

void EndComposition(HWND hwnd)
{
    TInputMethodState::TContext* context = Manager()->InputMethod().Find(hwnd);
    if (context == nullptr || !context->Composing) {
        return;
    }
    const bool shown = !context->Composition.empty();
    context->Composition.clear();
    context->Cursor = 0;
    if (shown) {
        Repaint(hwnd);
        SendMessage(hwnd, WM_IME_COMPOSITION, 0, 0);
        if ((context = Manager()->InputMethod().Find(hwnd)) == nullptr) {
            return;
        }
    }
    context->Composing = false;
    SendMessage(hwnd, WM_IME_ENDCOMPOSITION, 0, 0);
}

// The text is a copy: a caller may commit the running composition, which
// this clears.
void CommitComposition(HWND hwnd, const std::u16string text)
{
    StartComposition(hwnd);
    TInputMethodState::TContext* context = Manager()->InputMethod().Find(hwnd);
    if (context == nullptr) {
        return;
    }
    context->Result = text;
    context->Composition.clear();
    context->Cursor = 0;
    Repaint(hwnd);
    SendMessage(hwnd, WM_IME_COMPOSITION, LastUnit(text), GCS_RESULTSTR);
    EndComposition(hwnd);
}

bool PostReport(HWND topLevel, TInputMethodState::TPending pending)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr || manager->Find(topLevel) == nullptr) {
        return false;
    }
    const std::int32_t number = manager->InputMethod().Queue(std::move(pending));
    return PostHostInput(topLevel, TQueuedInput{THostInputKind::Composition, THostButton::Left, 0, number, 0, 0});
}

// Where the window's composition window stands, in its client area.
TPoint CompositionOrigin(TWindowManager& manager, HWND hwnd, const TInputMethodState::TContext& context)
{
    if ((context.Form.dwStyle & (CFS_POINT | CFS_FORCE_POSITION)) != 0) {
        return context.Form.ptCurrentPos;
    }
    const TCaretState& caret = manager.Caret();
    return caret.Owner == hwnd ? caret.Position : Point(0, 0);
}

TLogFont CompositionFont(const TInputMethodState::TContext& context)
{
    return context.Font ? *context.Font : TLogFont{};
}

} // namespace

// ---- contexts ----

TInputMethodState::TContext* TInputMethodState::Find(HWND hwnd)
{
    const auto at = FContexts.find(hwnd);
    return at != FContexts.end() ? &at->second : nullptr;
}

std::int32_t TInputMethodState::Queue(TPending pending)
{
    const std::int32_t number = FNextNumber++;
    FPending.emplace_back(number, std::move(pending));
    return number;
}

void TInputMethodState::Apply(std::int32_t number)
{
    // Reports arrive in the order they were queued; older ones left behind
    // (their input was dropped) go.
    while (!FPending.empty() && FPending.front().first != number) {
        FPending.pop_front();
    }
    if (FPending.empty()) {
        return;
    }
    const TPending pending = std::move(FPending.front().second);
    FPending.pop_front();
    const HWND focus = GetFocus();
    if (focus == 0) {
        return;
    }
    Context(focus);
    switch (pending.Kind) {
    case TReport::Changed:
        ShowComposition(focus, pending.Text, pending.Cursor);
        break;
    case TReport::Result:
        CommitComposition(focus, pending.Text);
        break;
    case TReport::Ended:
        EndComposition(focus);
        break;
    }
}

void TInputMethodState::WindowDestroyed(HWND hwnd)
{
    FContexts.erase(hwnd);
}

// The composition window: the text on a white box with a line under it and
// the input method's cursor as a bar, in the composition font.
void TInputMethodState::DrawOver(TWindowManager& manager, HWND topLevel, TPixelSurface& pixels, int scale) const
{
    for (const auto& [hwnd, context] : FContexts) {
        if (!context.Composing || context.Composition.empty() || GetTopLevelWindow(hwnd) != topLevel ||
            !IsWindowVisible(hwnd)) {
            continue;
        }
        const TRect client = manager.ClientRectInTop(hwnd);
        const TPoint origin = CompositionOrigin(manager, hwnd, context);
        const int x = client.Left + origin.X;
        const int y = client.Top + origin.Y;
        TSurfaceDC dc(pixels, scale);
        dc.SelectFont(CompositionFont(context));
        const std::string text = Utf16ToUtf8(context.Composition);
        const TSize extent = dc.GetTextExtent(text);
        const TSize before = dc.GetTextExtent(Utf16ToUtf8(context.Composition.substr(0, context.Cursor)));
        const TRect box = Bounds(x, y, extent.cx + 2 * CompositionPadding, extent.cy + 2 * CompositionPadding);
        dc.SetTextColor(ToColorRef(clWindowText));
        dc.SetBkColor(ToColorRef(clWindow));
        dc.ExtTextOut(x + CompositionPadding, y + CompositionPadding, ETO_OPAQUE, &box, text, nullptr);
        const TLogBrush ink = CreateSolidBrush(ToColorRef(clWindowText));
        const int underline = y + CompositionPadding + extent.cy - 1;
        dc.FillRect(Rect(x + CompositionPadding, underline, x + CompositionPadding + extent.cx, underline + 1), ink);
        const int cursorX = x + CompositionPadding + before.cx;
        dc.FillRect(Rect(cursorX, y + CompositionPadding, cursorX + 1, underline), ink);
    }
}

// ---- Imm calls ----

HIMC ImmGetContext(HWND hwnd)
{
    TWindowManager* manager = Manager();
    if (manager == nullptr || manager->Find(hwnd) == nullptr) {
        return 0;
    }
    manager->InputMethod().Context(hwnd);
    return static_cast<HIMC>(hwnd);
}

bool ImmReleaseContext(HWND hwnd, HIMC context)
{
    return context != 0 && WindowOf(context) == hwnd;
}

bool ImmNotifyIME(HIMC context, std::uint32_t action, std::uint32_t index, std::uint32_t value)
{
    (void)value;
    TInputMethodState::TContext* state = ContextOf(context);
    if (state == nullptr || action != NI_COMPOSITIONSTR || (index != CPS_COMPLETE && index != CPS_CANCEL) ||
        !state->Composing) {
        return false;
    }
    const HWND hwnd = WindowOf(context);
    if (index == CPS_COMPLETE && !state->Composition.empty()) {
        CommitComposition(hwnd, state->Composition);
    } else {
        EndComposition(hwnd);
    }
    if (TWindowManager* manager = Manager(); manager != nullptr && manager->Find(hwnd) != nullptr) {
        manager->Host().ResetHostInputMethod(GetTopLevelWindow(hwnd));
    }
    return true;
}

bool ImmSetCompositionWindow(HIMC context, const TCompositionForm& form)
{
    TInputMethodState::TContext* state = ContextOf(context);
    if (state == nullptr) {
        return false;
    }
    state->Form = form;
    if (state->Composing) {
        Repaint(WindowOf(context));
    }
    return true;
}

bool ImmGetCompositionWindow(HIMC context, TCompositionForm& form)
{
    const TInputMethodState::TContext* state = ContextOf(context);
    if (state == nullptr) {
        return false;
    }
    form = state->Form;
    return true;
}

bool ImmSetCompositionFont(HIMC context, const TLogFont& font)
{
    TInputMethodState::TContext* state = ContextOf(context);
    if (state == nullptr) {
        return false;
    }
    state->Font = font;
    if (state->Composing) {
        Repaint(WindowOf(context));
    }
    return true;
}

bool ImmGetCompositionFont(HIMC context, TLogFont& font)
{
    const TInputMethodState::TContext* state = ContextOf(context);
    if (state == nullptr) {
        return false;
    }
    font = CompositionFont(*state);
    return true;
}

bool ImmSetOpenStatus(HIMC context, bool open)
{
    TInputMethodState::TContext* state = ContextOf(context);
    if (state == nullptr) {
        return false;
    }
    if (state->Open != open) {
        state->Open = open;
        SendMessage(WindowOf(context), WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
    }
    return true;
}

bool ImmGetOpenStatus(HIMC context)
{
    const TInputMethodState::TContext* state = ContextOf(context);
    return state != nullptr && state->Open;
}

std::u16string ImmGetCompositionString(HIMC context, std::uint32_t index)
{
    const TInputMethodState::TContext* state = ContextOf(context);
    if (state == nullptr) {
        return {};
    }
    if (index == GCS_COMPSTR) {
        return state->Composition;
    }
    return index == GCS_RESULTSTR ? state->Result : std::u16string();
}

int ImmGetCompositionCursor(HIMC context)
{
    const TInputMethodState::TContext* state = ContextOf(context);
    return state != nullptr ? state->Cursor : 0;
}

bool SysLocaleFarEast()
{
    if (FarEastOverride) {
        return *FarEastOverride;
    }
    const LANGID language = CurrentLocaleProvider().UserDefaultLanguage();
    return language == LANG_CHINESE || language == LANG_JAPANESE || language == LANG_KOREAN;
}

void SetSysLocaleFarEast(std::optional<bool> farEast)
{
    FarEastOverride = farEast;
}

// ---- hosts ----

bool PostHostComposition(HWND topLevel, const std::u16string& text, int cursor)
{
    return PostReport(topLevel, {TInputMethodState::TReport::Changed, text, cursor});
}

bool PostHostCompositionResult(HWND topLevel, const std::u16string& text)
{
    return PostReport(topLevel, {TInputMethodState::TReport::Result, text, -1});
}

bool PostHostCompositionEnd(HWND topLevel)
{
    return PostReport(topLevel, {TInputMethodState::TReport::Ended, {}, -1});
}

bool InputMethodSpot(HWND topLevel, TRect& spot)
{
    TWindowManager* manager = Manager();
    const HWND focus = GetFocus();
    if (manager == nullptr || focus == 0 || GetTopLevelWindow(focus) != topLevel) {
        return false;
    }
    const TInputMethodState::TContext* context = manager->InputMethod().Find(focus);
    const TCaretState& caret = manager->Caret();
    TPoint origin = caret.Owner == focus ? caret.Position : Point(0, 0);
    int height = caret.Owner == focus ? caret.Height : 0;
    if (context != nullptr) {
        origin = CompositionOrigin(*manager, focus, *context);
    }
    if (height <= 0) {
        TPixelSurface scratch(1, 1, 32);
        TSurfaceDC dc(scratch);
        dc.SelectFont(context != nullptr ? CompositionFont(*context) : TLogFont{});
        height = dc.GetTextMetrics().Height;
    }
    const TRect client = manager->ClientRectInTop(focus);
    spot = Bounds(client.Left + origin.X, client.Top + origin.Y, 1, height);
    return true;
}

// ---- default handling ----

LRESULT DefaultImeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_IME_CHAR) {
        return SendMessage(hwnd, WM_CHAR, wParam, lParam);
    }
    if (message == WM_IME_COMPOSITION && (static_cast<std::uint32_t>(lParam) & GCS_RESULTSTR) != 0) {
        const std::u16string result = ImmGetCompositionString(static_cast<HIMC>(hwnd), GCS_RESULTSTR);
        for (const char16_t unit : result) {
            SendMessage(hwnd, WM_IME_CHAR, unit, 1);
        }
    }
    return 0;
}

} // namespace plat

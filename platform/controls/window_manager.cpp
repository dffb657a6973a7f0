// The window manager: window records, creation and destruction, the
// geometry of windows inside their top-level window, and the functions of
// window.h that move, show, enable and convert.
#include "platform/controls/window_manager.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/caret.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/drag_drop.h"
#include "platform/controls/input_method.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_paint.h"
#include "platform/timers.h"

#include <algorithm>
#include <cassert>

namespace plat {

namespace {

TWindowManager* CurrentManager = nullptr;

// A field of hwnd's record; the field's empty value for no window.
template <typename T>
T FieldOf(HWND hwnd, T TWindowRecord::*field)
{
    const TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    return record ? record->*field : T{};
}

} // namespace

TWindowRecord::TWindowRecord() = default;
TWindowRecord::~TWindowRecord() = default;

TWindowManager::TWindowManager(TMessageQueue& queue, IHost& host)
    : FQueue(queue),
      FHost(host),
      FCaret(std::make_unique<TCaretState>()),
      FClipboard(std::make_unique<TClipboardStore>()),
      FDragDrop(std::make_unique<TDragDropState>()),
      FInputMethod(std::make_unique<TInputMethodState>()),
      FPaint(std::make_unique<TPaintState>(*this)),
      FPrevious(CurrentManager)
{
    CurrentManager = this;
    FQueue.SetMessageSource(FPaint.get());
    FServiceWindow = CreateWindowHandle(FQueue, [this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_TIMER) {
            if (const auto at = FServiceTimers.find(wParam); at != FServiceTimers.end()) {
                const std::function<void()> callback = at->second;
                callback();
            }
        }
        return 0;
    }, false);
}

void TWindowManager::SetServiceTimer(std::uintptr_t id, unsigned ms, std::function<void()> callback)
{
    FServiceTimers[id] = std::move(callback);
    SetTimer(FServiceWindow, id, ms);
}

void TWindowManager::KillServiceTimer(std::uintptr_t id)
{
    KillTimer(FServiceWindow, id);
    FServiceTimers.erase(id);
}

TWindowManager::~TWindowManager()
{
    FQueue.SetMessageSource(nullptr);
    DestroyWindowHandle(FServiceWindow);
    // Windows left now belong to nobody: free them without messages.
    std::vector<HWND> handles;
    handles.reserve(FWindows.size());
    for (const auto& [handle, record] : FWindows) {
        handles.push_back(handle);
    }
    for (HWND handle : handles) {
        if (const auto at = FWindows.find(handle); at != FWindows.end() && at->second->IsTopLevel()) {
            FHost.DestroyHostWindow(handle);
        }
        DestroyWindowHandle(handle);
    }
    FWindows.clear();
    CurrentManager = FPrevious;
}

TWindowManager& TWindowManager::Current()
{
    if (CurrentManager == nullptr) {
        throw EWindowError("no application runs on this thread");
    }
    return *CurrentManager;
}

TWindowManager* TWindowManager::Instance()
{
    return CurrentManager;
}

TWindowRecord* TWindowManager::RecordOf(HWND hwnd)
{
    return CurrentManager != nullptr ? CurrentManager->Find(hwnd) : nullptr;
}

TWindowRecord* TWindowManager::Find(HWND hwnd)
{
    const auto at = FWindows.find(hwnd);
    return at == FWindows.end() ? nullptr : at->second.get();
}

TWindowRecord& TWindowManager::Get(HWND hwnd)
{
    TWindowRecord* record = Find(hwnd);
    if (record == nullptr) {
        throw EWindowError("invalid window handle");
    }
    return *record;
}

HWND TWindowManager::Create(const TCreateParams& params, TWindowProcedure procedure)
{
    const bool child = (params.Style & WS_CHILD) != 0;
    TWindowRecord* parent = child ? Find(params.WndParent) : nullptr;
    if (child && parent == nullptr) {
        throw EWindowError("a child window needs an existing parent window");
    }
    auto self = std::make_shared<HWND>(0);
    const HWND handle = CreateWindowHandle(
        FQueue, [self](UINT message, WPARAM wParam, LPARAM lParam) {
            return CallWindowProcedure(*self, message, wParam, lParam);
        },
        !child, params.Caption);
    *self = handle;

    auto record = std::make_unique<TWindowRecord>();
    record->Handle = handle;
    record->Parent = child ? params.WndParent : 0;
    record->Owner = child ? 0 : (Find(params.WndParent) ? GetTopLevelWindow(params.WndParent) : 0);
    record->Procedure = std::move(procedure);
    record->Style = params.Style & ~WS_VISIBLE;
    record->ExStyle = params.ExStyle;
    record->ClassStyle = params.ClassStyle;
    record->Cursor = params.Cursor;
    record->Text = params.Caption;
    record->Bounds = Bounds(params.X, params.Y, std::max(params.Width, 0), std::max(params.Height, 0));
    record->ClientInWindow = Rect(0, 0, std::max(params.Width, 0), std::max(params.Height, 0));
    record->DeviceScale = child ? parent->DeviceScale : std::max(FHost.DeviceScale(), 1);
    TWindowRecord& added = *record;
    FWindows.emplace(handle, std::move(record));
    if (child) {
        parent->Children.insert(parent->Children.begin(), handle);
    } else {
        FTopLevel.insert(FTopLevel.begin(), handle);
        ResizeTopLevelPixels(added);
        THostWindowInfo info;
        info.Caption = params.Caption;
        info.Bounds = added.Bounds;
        info.Owner = added.Owner;
        info.Popup = (params.ExStyle & WS_EX_NOACTIVATE) != 0;
        info.Decorated = (params.Style & WS_CAPTION) == WS_CAPTION;
        info.Resizable = (params.Style & WS_THICKFRAME) != 0;
        info.ToolWindow = (params.ExStyle & WS_EX_TOOLWINDOW) != 0;
        FHost.CreateHostWindow(handle, info);
    }

    TCreateParams copy = params;
    if (SendMessage(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&copy)) == 0 && IsWindow(handle)) {
        Destroy(handle);
        throw EWindowError("window creation refused");
    }
    if (Find(handle) == nullptr) {
        throw EWindowError("window destroyed while it was created");
    }
    RecalcClient(handle);
    if (SendMessage(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&copy)) == -1) {
        Destroy(handle);
        throw EWindowError("window creation refused");
    }
    if (!child) {
        UpdateWindowSizeLimits(handle);
    }
    if (Find(handle) != nullptr && (params.Style & WS_VISIBLE) != 0) {
        ShowWindow(handle, IsTopLevel(handle) ? SW_SHOW : SW_SHOWNA);
    }
    return handle;
}

void TWindowManager::ResizeTopLevelPixels(TWindowRecord& record)
{
    const int scale = record.DeviceScale;
    const int width = static_cast<int>(std::clamp<std::int64_t>(record.Bounds.Width(), 1, TPixelSurface::MaxSide / scale));
    const int height = static_cast<int>(std::clamp<std::int64_t>(record.Bounds.Height(), 1, TPixelSurface::MaxSide / scale));
    if (record.Pixels && record.Pixels->Width() == width * scale && record.Pixels->Height() == height * scale) {
        return;
    }
    FPaint->SettleContexts(record.Handle);
    if (std::int64_t{width} * scale * height * scale > TPixelSurface::MaxPixels) {
        record.Pixels.reset(); // too large to show; paints go nowhere
        return;
    }
    auto pixels = std::make_unique<TPixelSurface>(width * scale, height * scale, 32);
    FillBackground(*pixels);
    record.Pixels = std::move(pixels);
}

void TWindowManager::RemoveFromParent(TWindowRecord& record)
{
    if (TWindowRecord* parent = Find(record.Parent)) {
        std::erase(parent->Children, record.Handle);
    } else {
        std::erase(FTopLevel, record.Handle);
    }
}

void TWindowManager::Destroy(HWND hwnd)
{
    TWindowRecord* record = Find(hwnd);
    if (record == nullptr || record->Destroying) {
        return;
    }
    // Owned top-level windows go first.
    if (record->IsTopLevel()) {
        const std::vector<HWND> order = FTopLevel;
        for (HWND other : order) {
            if (TWindowRecord* owned = Find(other); owned != nullptr && owned->Owner == hwnd) {
                Destroy(other);
            }
        }
        record = Find(hwnd);
        if (record == nullptr || record->Destroying) {
            return;
        }
    }
    record->Destroying = true;
    if ((record->Style & WS_VISIBLE) != 0) {
        ShowWindow(hwnd, SW_HIDE);
    }
    std::vector<HWND> family{hwnd};
    for (HWND descendant : Descendants(hwnd)) {
        family.push_back(descendant);
    }
    for (HWND member : family) {
        if (TWindowRecord* each = Find(member)) {
            each->Destroying = true;
        }
    }
    if (Focus != 0 && (Focus == hwnd || IsChild(hwnd, Focus))) {
        const HWND old = Focus;
        Focus = 0;
        SendMessage(old, WM_KILLFOCUS, 0, 0);
    }
    if (Capture != 0 && (Capture == hwnd || IsChild(hwnd, Capture))) {
        ReleaseCapture();
    }
    for (HWND member : family) {
        if (Find(member) != nullptr) {
            SendMessage(member, WM_DESTROY, 0, 0);
        }
    }
    for (auto member = family.rbegin(); member != family.rend(); ++member) {
        if (Find(*member) != nullptr) {
            SendMessage(*member, WM_NCDESTROY, 0, 0);
        }
    }
    for (auto member = family.rbegin(); member != family.rend(); ++member) {
        FreeRecord(*member);
    }
}

void TWindowManager::FreeRecord(HWND hwnd)
{
    const auto at = FWindows.find(hwnd);
    if (at == FWindows.end()) {
        return;
    }
    TWindowRecord& record = *at->second;
    RemoveFromParent(record);
    if (Focus == hwnd) {
        Focus = 0;
    }
    if (Active == hwnd) {
        Active = 0;
    }
    if (Capture == hwnd) {
        Capture = 0;
        FHost.SetHostPointerGrab(0);
    }
    if (MouseWindow == hwnd) {
        MouseWindow = 0;
    }
    if (LastClick.Window == hwnd) {
        LastClick = TLastClick();
    }
    FCaret->WindowDestroyed(hwnd);
    FDragDrop->WindowDestroyed(hwnd);
    FInputMethod->WindowDestroyed(hwnd);
    const bool topLevel = record.IsTopLevel();
    if (topLevel) {
        FPaint->SettleContexts(hwnd);
    }
    std::unique_ptr<TWindowRecord> freed = std::move(at->second);
    FWindows.erase(at);
    DestroyWindowHandle(hwnd);
    if (topLevel) {
        FHost.DestroyHostWindow(hwnd);
    }
}

std::vector<HWND> TWindowManager::Descendants(HWND hwnd)
{
    std::vector<HWND> result;
    TWindowRecord* record = Find(hwnd);
    if (record == nullptr) {
        return result;
    }
    for (HWND child : record->Children) {
        result.push_back(child);
        for (HWND below : Descendants(child)) {
            result.push_back(below);
        }
    }
    return result;
}

TRect TWindowManager::WindowRectInTop(HWND hwnd)
{
    TWindowRecord* record = Find(hwnd);
    if (record == nullptr) {
        return {};
    }
    if (record->IsTopLevel()) {
        return Rect(0, 0, SaturateInt(record->Bounds.Width()), SaturateInt(record->Bounds.Height()));
    }
    const TRect parentClient = ClientRectInTop(record->Parent);
    return OffsetRect(record->Bounds, parentClient.Left, parentClient.Top);
}

TRect TWindowManager::ClientRectInTop(HWND hwnd)
{
    TWindowRecord* record = Find(hwnd);
    if (record == nullptr) {
        return {};
    }
    const TRect window = WindowRectInTop(hwnd);
    return OffsetRect(record->ClientInWindow, window.Left, window.Top);
}

TPoint TWindowManager::ScreenOrigin(HWND hwnd)
{
    const HWND top = GetTopLevelWindow(hwnd);
    TWindowRecord* topRecord = Find(top);
    if (topRecord == nullptr) {
        return {};
    }
    const TRect inTop = WindowRectInTop(hwnd);
    return Point(SaturateInt(std::int64_t{topRecord->Bounds.Left} + inTop.Left),
                 SaturateInt(std::int64_t{topRecord->Bounds.Top} + inTop.Top));
}

TPoint TWindowManager::ClientScreenOrigin(HWND hwnd)
{
    TWindowRecord* record = Find(hwnd);
    if (record == nullptr) {
        return {};
    }
    const TPoint origin = ScreenOrigin(hwnd);
    return Point(SaturateInt(std::int64_t{origin.X} + record->ClientInWindow.Left),
                 SaturateInt(std::int64_t{origin.Y} + record->ClientInWindow.Top));
}

namespace {

// Removes from region (top-level coordinates) what the visible siblings
// above hwnd cover.
void ExcludeSiblingsAbove(TWindowManager& manager, TWindowRecord& parent, HWND hwnd, TRegion& region)
{
    for (HWND sibling : parent.Children) {
        if (sibling == hwnd) {
            break;
        }
        TWindowRecord* record = manager.Find(sibling);
        if (record != nullptr && (record->Style & WS_VISIBLE) != 0) {
            region.Combine(region, TRegion(manager.WindowRectInTop(sibling)), RGN_DIFF);
        }
    }
}

} // namespace

TRegion TWindowManager::VisibleWindowRegion(HWND hwnd)
{
    const TRect window = WindowRectInTop(hwnd);
    TRegion region(window);
    for (HWND current = hwnd;;) {
        TWindowRecord* record = Find(current);
        if (record == nullptr || (record->Style & WS_VISIBLE) == 0) {
            return TRegion();
        }
        TWindowRecord* parent = Find(record->Parent);
        if (parent == nullptr) {
            region.Combine(region, TRegion(WindowRectInTop(current)), RGN_AND);
            break;
        }
        region.Combine(region, TRegion(ClientRectInTop(record->Parent)), RGN_AND);
        ExcludeSiblingsAbove(*this, *parent, current, region);
        current = record->Parent;
    }
    region.Offset(Negated(window.Left), Negated(window.Top));
    return region;
}

TRegion TWindowManager::VisibleClientRegion(HWND hwnd, bool clipChildren)
{
    TWindowRecord* record = Find(hwnd);
    if (record == nullptr) {
        return TRegion();
    }
    const TRect window = WindowRectInTop(hwnd);
    const TRect client = ClientRectInTop(hwnd);
    TRegion region = VisibleWindowRegion(hwnd);
    region.Offset(window.Left, window.Top);
    region.Combine(region, TRegion(client), RGN_AND);
    if (clipChildren) {
        for (HWND child : record->Children) {
            TWindowRecord* each = Find(child);
            if (each != nullptr && (each->Style & WS_VISIBLE) != 0) {
                region.Combine(region, TRegion(WindowRectInTop(child)), RGN_DIFF);
            }
        }
    }
    region.Offset(Negated(client.Left), Negated(client.Top));
    return region;
}

void TWindowManager::RecalcClient(HWND hwnd)
{
    TWindowRecord* record = Find(hwnd);
    if (record == nullptr) {
        return;
    }
    TRect proposed = record->Bounds;
    const TRect bounds = record->Bounds;
    SendMessage(hwnd, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&proposed));
    record = Find(hwnd);
    if (record == nullptr) {
        return;
    }
    TRect client = OffsetRect(proposed, Negated(bounds.Left), Negated(bounds.Top));
    const TRect whole = Rect(0, 0, SaturateInt(bounds.Width()), SaturateInt(bounds.Height()));
    client.Left = std::clamp(client.Left, 0, whole.Right);
    client.Top = std::clamp(client.Top, 0, whole.Bottom);
    client.Right = std::clamp(client.Right, client.Left, whole.Right);
    client.Bottom = std::clamp(client.Bottom, client.Top, whole.Bottom);
    record->ClientInWindow = client;
}

void TWindowManager::PixelsChanged(HWND topLevel, const TRect& area)
{
    if (!area.IsEmpty()) {
        FHost.HostWindowPixelsChanged(topLevel, area);
    }
}

// ---- window.h ----

HWND CreateWindowEx(const TCreateParams& params, TWindowProcedure procedure)
{
    return TWindowManager::Current().Create(params, std::move(procedure));
}

bool DestroyWindow(HWND hwnd)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr || manager->Find(hwnd) == nullptr) {
        return false;
    }
    manager->Destroy(hwnd);
    return true;
}

LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    if (record == nullptr) {
        return 0;
    }
    // A copy: the procedure may destroy its window (and the record) while it runs.
    const TWindowProcedure procedure = record->Procedure;
    return procedure ? procedure(hwnd, message, wParam, lParam) : DefWindowProc(hwnd, message, wParam, lParam);
}

HWND GetParent(HWND hwnd)
{
    return FieldOf(hwnd, &TWindowRecord::Parent);
}

HWND GetWindowOwner(HWND hwnd)
{
    return FieldOf(hwnd, &TWindowRecord::Owner);
}

HWND SetParent(HWND hwnd, HWND newParent)
{
    TWindowManager& manager = TWindowManager::Current();
    TWindowRecord* record = manager.Find(hwnd);
    TWindowRecord* parent = manager.Find(newParent);
    if (record == nullptr || parent == nullptr || record->IsTopLevel() || newParent == hwnd ||
        IsChild(hwnd, newParent)) {
        return 0;
    }
    const HWND old = record->Parent;
    const bool visible = (record->Style & WS_VISIBLE) != 0;
    if (visible) {
        ShowWindow(hwnd, SW_HIDE);
    }
    if (TWindowRecord* oldParent = manager.Find(old)) {
        std::erase(oldParent->Children, hwnd);
    }
    record->Parent = newParent;
    parent->Children.insert(parent->Children.begin(), hwnd);
    record->DeviceScale = parent->DeviceScale;
    for (HWND below : manager.Descendants(hwnd)) {
        manager.Get(below).DeviceScale = parent->DeviceScale;
    }
    if (visible) {
        ShowWindow(hwnd, SW_SHOWNA);
    }
    return old;
}

HWND GetWindow(HWND hwnd, unsigned relation)
{
    TWindowManager* manager = TWindowManager::Instance();
    TWindowRecord* record = manager ? manager->Find(hwnd) : nullptr;
    if (record == nullptr) {
        return 0;
    }
    if (relation == GW_CHILD) {
        return record->Children.empty() ? 0 : record->Children.front();
    }
    if (relation == GW_OWNER) {
        return record->Owner;
    }
    TWindowRecord* parent = manager->Find(record->Parent);
    const std::vector<HWND>& siblings = parent ? parent->Children : manager->TopLevelOrder();
    const auto at = std::find(siblings.begin(), siblings.end(), hwnd);
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.front();
    case GW_HWNDLAST:
        return siblings.back();
    case GW_HWNDNEXT:
        return (at == siblings.end() || at + 1 == siblings.end()) ? 0 : *(at + 1);
    case GW_HWNDPREV:
        return (at == siblings.begin() || at == siblings.end()) ? 0 : *(at - 1);
    default:
        return 0;
    }
}

HWND GetTopLevelWindow(HWND hwnd)
{
    TWindowManager* manager = TWindowManager::Instance();
    TWindowRecord* record = manager ? manager->Find(hwnd) : nullptr;
    while (record != nullptr && !record->IsTopLevel()) {
        hwnd = record->Parent;
        record = manager->Find(hwnd);
    }
    return record ? hwnd : 0;
}

bool IsChild(HWND parent, HWND hwnd)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return false;
    }
    for (TWindowRecord* record = manager->Find(hwnd); record != nullptr && record->Parent != 0;
         record = manager->Find(record->Parent)) {
        if (record->Parent == parent) {
            return true;
        }
    }
    return false;
}

bool IsTopLevel(HWND hwnd)
{
    TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    return record != nullptr && record->IsTopLevel();
}

DWORD GetWindowStyle(HWND hwnd)
{
    return FieldOf(hwnd, &TWindowRecord::Style);
}

DWORD GetWindowExStyle(HWND hwnd)
{
    return FieldOf(hwnd, &TWindowRecord::ExStyle);
}

void SetWindowStyle(HWND hwnd, DWORD style)
{
    TWindowManager& manager = TWindowManager::Current();
    if (TWindowRecord* record = manager.Find(hwnd)) {
        const DWORD kept = record->Style & (WS_VISIBLE | WS_DISABLED | WS_CHILD);
        record->Style = (style & ~(WS_VISIBLE | WS_DISABLED | WS_CHILD)) | kept;
    }
}

void SetWindowExStyle(HWND hwnd, DWORD exStyle)
{
    TWindowManager& manager = TWindowManager::Current();
    if (TWindowRecord* record = manager.Find(hwnd)) {
        record->ExStyle = exStyle;
    }
}

namespace {

void MoveInZOrder(TWindowManager& manager, TWindowRecord& record, HWND insertAfter)
{
    std::vector<HWND>* siblings = &manager.TopLevelOrder();
    if (TWindowRecord* parent = manager.Find(record.Parent)) {
        siblings = &parent->Children;
    }
    std::erase(*siblings, record.Handle);
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        siblings->insert(siblings->begin(), record.Handle);
        return;
    }
    if (insertAfter == HWND_BOTTOM) {
        siblings->push_back(record.Handle);
        return;
    }
    const auto at = std::find(siblings->begin(), siblings->end(), insertAfter);
    siblings->insert(at == siblings->end() ? siblings->begin() : at + 1, record.Handle);
}

// Marks what a window covered or covers now as needing paint: its parent's
// area (with the siblings there) and the whole of the window itself.
void InvalidateMoved(TWindowManager& manager, HWND hwnd, const TRect& oldInParent, bool wasVisible)
{
    TWindowRecord* record = manager.Find(hwnd);
    if (record == nullptr) {
        return;
    }
    if (record->Parent != 0 && wasVisible) {
        RedrawWindow(record->Parent, &oldInParent, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    if ((record->Style & WS_VISIBLE) != 0) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

} // namespace

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, std::uint32_t flags)
{
    TWindowManager& manager = TWindowManager::Current();
    TWindowRecord* record = manager.Find(hwnd);
    if (record == nullptr) {
        return false;
    }
    const TRect oldBounds = record->Bounds;
    const bool wasVisible = (record->Style & WS_VISIBLE) != 0;
    TRect bounds = oldBounds;
    if ((flags & SWP_NOMOVE) == 0) {
        bounds = OffsetRect(bounds, SaturateInt(std::int64_t{x} - bounds.Left), SaturateInt(std::int64_t{y} - bounds.Top));
    }
    if ((flags & SWP_NOSIZE) == 0) {
        bounds.Right = SaturateInt(std::int64_t{bounds.Left} + std::max(cx, 0));
        bounds.Bottom = SaturateInt(std::int64_t{bounds.Top} + std::max(cy, 0));
    }
    const bool moved = bounds.Left != oldBounds.Left || bounds.Top != oldBounds.Top;
    const bool sized = bounds.Width() != oldBounds.Width() || bounds.Height() != oldBounds.Height();
    record->Bounds = bounds;
    if ((flags & SWP_NOZORDER) == 0) {
        MoveInZOrder(manager, *record, insertAfter);
    }
    if (sized || (flags & SWP_FRAMECHANGED) != 0) {
        if (record->IsTopLevel()) {
            manager.ResizeTopLevelPixels(*record);
        }
        manager.RecalcClient(hwnd);
        record = manager.Find(hwnd);
        if (record == nullptr) {
            return false;
        }
    }
    if (record->IsTopLevel() && (moved || sized) && (flags & SWP_NOSENDCHANGING) == 0) {
        manager.Host().MoveHostWindow(hwnd, record->Bounds);
    }
    if ((flags & SWP_SHOWWINDOW) != 0 && !wasVisible) {
        ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    } else if ((flags & SWP_HIDEWINDOW) != 0 && wasVisible) {
        ShowWindow(hwnd, SW_HIDE);
    }
    if ((flags & SWP_NOREDRAW) == 0 && (moved || sized || (flags & (SWP_FRAMECHANGED | SWP_NOZORDER)) != SWP_NOZORDER)) {
        InvalidateMoved(manager, hwnd, oldBounds, wasVisible);
    }
    TWindowPos position{hwnd, insertAfter, bounds.Left, bounds.Top, SaturateInt(bounds.Width()),
                        SaturateInt(bounds.Height()), flags | (moved ? 0u : SWP_NOMOVE) | (sized ? 0u : SWP_NOSIZE)};
    if (moved || sized || (flags & SWP_FRAMECHANGED) != 0) {
        SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    }
    return true;
}

TMinMaxInfo GetWindowSizeLimits(HWND hwnd)
{
    // X11 takes no larger window.
    constexpr int LargestSide = 32767;
    TMinMaxInfo info;
    info.ptMaxTrackSize = Point(LargestSide, LargestSide);
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr || manager->Find(hwnd) == nullptr) {
        return info;
    }
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    info.ptMinTrackSize = Point(std::clamp(info.ptMinTrackSize.X, 0, LargestSide),
                                std::clamp(info.ptMinTrackSize.Y, 0, LargestSide));
    info.ptMaxTrackSize = Point(std::clamp(info.ptMaxTrackSize.X, info.ptMinTrackSize.X, LargestSide),
                                std::clamp(info.ptMaxTrackSize.Y, info.ptMinTrackSize.Y, LargestSide));
    return info;
}

void UpdateWindowSizeLimits(HWND hwnd)
{
    TWindowManager* manager = TWindowManager::Instance();
    TWindowRecord* record = manager != nullptr ? manager->Find(hwnd) : nullptr;
    if (record == nullptr || !record->IsTopLevel()) {
        return;
    }
    const TMinMaxInfo limits = GetWindowSizeLimits(hwnd);
    manager->Host().SetHostWindowSizeLimits(hwnd, TSize{limits.ptMinTrackSize.X, limits.ptMinTrackSize.Y},
                                            TSize{limits.ptMaxTrackSize.X, limits.ptMaxTrackSize.Y});
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint)
{
    return SetWindowPos(hwnd, 0, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

bool ShowWindow(HWND hwnd, int command)
{
    TWindowManager& manager = TWindowManager::Current();
    TWindowRecord* record = manager.Find(hwnd);
    if (record == nullptr) {
        return false;
    }
    const bool wasVisible = (record->Style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (show == wasVisible) {
        if (show && record->IsTopLevel() && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE) {
            SetActiveWindow(hwnd);
        }
        return wasVisible;
    }
    SendMessage(hwnd, WM_SHOWWINDOW, show ? 1 : 0, 0);
    record = manager.Find(hwnd);
    if (record == nullptr) {
        return wasVisible;
    }
    if (show) {
        record->Style |= WS_VISIBLE;
    } else {
        record->Style &= ~WS_VISIBLE;
    }
    if (record->IsTopLevel()) {
        manager.Host().ShowHostWindow(hwnd, show);
        if (show) {
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            if (command != SW_SHOWNA && command != SW_SHOWNOACTIVATE) {
                SetActiveWindow(hwnd);
            }
        } else {
            HideTopLevelWindow(hwnd);
        }
    } else {
        InvalidateMoved(manager, hwnd, record->Bounds, wasVisible);
        if (!show) {
            WindowHidden(hwnd);
        }
    }
    return wasVisible;
}

bool IsWindowVisible(HWND hwnd)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return false;
    }
    TWindowRecord* record = manager->Find(hwnd);
    if (record == nullptr) {
        return false;
    }
    for (; record != nullptr; record = manager->Find(record->Parent)) {
        if ((record->Style & WS_VISIBLE) == 0) {
            return false;
        }
        if (record->IsTopLevel()) {
            break;
        }
    }
    return true;
}

bool EnableWindow(HWND hwnd, bool enable)
{
    TWindowManager& manager = TWindowManager::Current();
    TWindowRecord* record = manager.Find(hwnd);
    if (record == nullptr) {
        return false;
    }
    const bool wasDisabled = (record->Style & WS_DISABLED) != 0;
    if (wasDisabled != enable) {
        return wasDisabled;
    }
    if (!enable) {
        SendMessage(hwnd, WM_CANCELMODE, 0, 0);
        record = manager.Find(hwnd);
        if (record == nullptr) {
            return wasDisabled;
        }
        record->Style |= WS_DISABLED;
        if (manager.Capture != 0 && (manager.Capture == hwnd || IsChild(hwnd, manager.Capture))) {
            ReleaseCapture();
        }
    } else {
        record->Style &= ~WS_DISABLED;
    }
    SendMessage(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

bool IsWindowEnabled(HWND hwnd)
{
    TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    return record != nullptr && (record->Style & WS_DISABLED) == 0;
}

bool SetWindowText(HWND hwnd, const std::string& text)
{
    if (TWindowManager::Instance() == nullptr || !IsWindow(hwnd)) {
        return false;
    }
    SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return true;
}

std::string GetWindowText(HWND hwnd)
{
    const LRESULT length = SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessage(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

bool GetWindowRect(HWND hwnd, TRect& rect)
{
    TWindowManager* manager = TWindowManager::Instance();
    TWindowRecord* record = manager ? manager->Find(hwnd) : nullptr;
    if (record == nullptr) {
        return false;
    }
    const TPoint origin = manager->ScreenOrigin(hwnd);
    rect = OffsetRect(Rect(0, 0, SaturateInt(record->Bounds.Width()), SaturateInt(record->Bounds.Height())), origin.X,
                      origin.Y);
    return true;
}

bool GetClientRect(HWND hwnd, TRect& rect)
{
    TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    if (record == nullptr) {
        return false;
    }
    rect = record->ClientSize();
    return true;
}

TRect GetClientAreaInWindow(HWND hwnd)
{
    return FieldOf(hwnd, &TWindowRecord::ClientInWindow);
}

bool ClientToScreen(HWND hwnd, TPoint& point)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr || manager->Find(hwnd) == nullptr) {
        return false;
    }
    const TPoint origin = manager->ClientScreenOrigin(hwnd);
    point = Point(SaturateInt(std::int64_t{point.X} + origin.X), SaturateInt(std::int64_t{point.Y} + origin.Y));
    return true;
}

bool ScreenToClient(HWND hwnd, TPoint& point)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr || manager->Find(hwnd) == nullptr) {
        return false;
    }
    const TPoint origin = manager->ClientScreenOrigin(hwnd);
    point = Point(SaturateInt(std::int64_t{point.X} - origin.X), SaturateInt(std::int64_t{point.Y} - origin.Y));
    return true;
}

void MapWindowPoints(HWND from, HWND to, TPoint* points, int count)
{
    for (int i = 0; i < count; ++i) {
        if (from != 0) {
            ClientToScreen(from, points[i]);
        }
        if (to != 0) {
            ScreenToClient(to, points[i]);
        }
    }
}

namespace {

// The deepest window under a point of parent's client area whose hit test
// is not transparent; parent itself when no child takes the point. A
// transparent window's own surface lets the point through to the windows
// beneath it, its children still take theirs.
HWND DeepestAt(TWindowManager& manager, HWND parent, TPoint screenPoint, bool skipDisabled)
{
    TWindowRecord* record = manager.Find(parent);
    if (record == nullptr) {
        return 0;
    }
    const std::vector<HWND> children = record->Children;
    for (HWND child : children) {
        TWindowRecord* each = manager.Find(child);
        if (each == nullptr || (each->Style & WS_VISIBLE) == 0 || (skipDisabled && (each->Style & WS_DISABLED))) {
            continue;
        }
        TRect rect;
        GetWindowRect(child, rect);
        if (!rect.Contains(screenPoint.X, screenPoint.Y)) {
            continue;
        }
        const HWND deepest = DeepestAt(manager, child, screenPoint, skipDisabled);
        if (deepest != child) {
            return deepest;
        }
        if (SendMessage(child, WM_NCHITTEST, 0, PointToLParam(screenPoint.X, screenPoint.Y)) == HTTRANSPARENT) {
            continue;
        }
        return child;
    }
    return parent;
}

} // namespace

HWND WindowFromPoint(TPoint screenPoint)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return 0;
    }
    const std::vector<HWND> order = manager->TopLevelOrder();
    for (HWND top : order) {
        TWindowRecord* record = manager->Find(top);
        if (record != nullptr && (record->Style & WS_VISIBLE) != 0 &&
            record->Bounds.Contains(screenPoint.X, screenPoint.Y)) {
            return DeepestAt(*manager, top, screenPoint, true);
        }
    }
    return 0;
}

HWND ChildWindowFromPoint(HWND parent, TPoint clientPoint)
{
    TWindowManager* manager = TWindowManager::Instance();
    TWindowRecord* record = manager ? manager->Find(parent) : nullptr;
    if (record == nullptr || !record->ClientSize().Contains(clientPoint.X, clientPoint.Y)) {
        return 0;
    }
    for (HWND child : record->Children) {
        TWindowRecord* each = manager->Find(child);
        if (each != nullptr && (each->Style & WS_VISIBLE) != 0 && each->Bounds.Contains(clientPoint.X, clientPoint.Y)) {
            return child;
        }
    }
    return parent;
}

std::vector<HWND> TopLevelWindows()
{
    TWindowManager* manager = TWindowManager::Instance();
    return manager ? manager->TopLevelOrder() : std::vector<HWND>{};
}

} // namespace plat

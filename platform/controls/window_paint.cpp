// Painting of windows: update regions, WM_PAINT from the queue, device
// contexts that draw into a copy of a window's part of its top-level pixels
// and write back what shows, window scrolling and composition.
#include "platform/controls/window_paint.h"

#include "platform/canvas/colors.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/caret.h"
#include "platform/controls/drag_drop.h"
#include "platform/controls/input_method.h"
#include "platform/controls/window_dc.h"
#include "platform/controls/window_manager.h"

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

constexpr COLORREF DesktopColor = 0x808080;

// Copies the region (logical coordinates of the destination) from source,
// placed at offset (logical) in the destination.
void CopyRegion(TPixelSurface& from, TPoint fromOrigin, TPixelSurface& to, TPoint toOrigin, const TRegion& region,
                int scale)
{
    for (const TRect& rect : region.Rects()) {
        CopyPixels(from, (std::int64_t{rect.Left} - fromOrigin.X) * scale, (std::int64_t{rect.Top} - fromOrigin.Y) * scale,
                   to, (std::int64_t{rect.Left} - toOrigin.X) * scale, (std::int64_t{rect.Top} - toOrigin.Y) * scale,
                   rect.Width() * scale, rect.Height() * scale);
    }
}

void FillSurface(TPixelSurface& pixels, COLORREF color)
{
    for (int y = 0; y < pixels.Height(); ++y) {
        std::uint8_t* row = pixels.ScanLine(y);
        for (int x = 0; x < pixels.Width(); ++x) {
            row[4 * x] = GetBValue(color);
            row[4 * x + 1] = GetGValue(color);
            row[4 * x + 2] = GetRValue(color);
            row[4 * x + 3] = 0xFF;
        }
    }
}

int LogicalSide(std::int64_t side, int scale)
{
    return static_cast<int>(std::clamp<std::int64_t>(side, 1, TPixelSurface::MaxSide / scale));
}

} // namespace

TPaintState::TPaintState(TWindowManager& manager) : FManager(manager) {}

TPaintState::~TPaintState() = default;

namespace {

bool Paintable(TWindowManager& manager, const TWindowRecord& record)
{
    if (record.Destroying) {
        return false;
    }
    for (const TWindowRecord* each = &record; each != nullptr; each = manager.Find(each->Parent)) {
        if ((each->Style & WS_VISIBLE) == 0 || each->RedrawOff) {
            return false;
        }
    }
    return true;
}

bool NeedsPaint(const TWindowRecord& record)
{
    return !record.Update.IsEmpty() || record.InternalPaint || record.FrameInvalid;
}

// The first window, parents before children, that has something to paint.
HWND FirstToPaint(TWindowManager& manager, const std::vector<HWND>& windows)
{
    for (HWND hwnd : windows) {
        TWindowRecord* record = manager.Find(hwnd);
        if (record == nullptr || (record->Style & WS_VISIBLE) == 0 || record->RedrawOff) {
            continue;
        }
        if (NeedsPaint(*record) && Paintable(manager, *record)) {
            return hwnd;
        }
        if (const HWND below = FirstToPaint(manager, record->Children)) {
            return below;
        }
    }
    return 0;
}

} // namespace

bool TPaintState::HasMessage() const
{
    return FirstToPaint(FManager, FManager.TopLevelOrder()) != 0;
}

bool TPaintState::TakeMessage(TMsg& msg)
{
    const HWND hwnd = FirstToPaint(FManager, FManager.TopLevelOrder());
    if (hwnd == 0) {
        return false;
    }
    msg = TMsg{hwnd, WM_PAINT, 0, 0};
    return true;
}

HDC TPaintState::Open(std::unique_ptr<TWindowDC> dc)
{
    HDC handle = dc->Handle();
    FOpen.push_back(std::move(dc));
    return handle;
}

void TPaintState::SettleContexts(HWND top, const TRect* changed)
{
    if (top == 0) {
        return;
    }
    for (const auto& dc : FOpen) {
        if (dc->Top != top) {
            continue;
        }
        if (changed == nullptr) {
            dc->LoadRest();
        } else {
            dc->BeforeChange(*changed);
        }
    }
}

bool TPaintState::Release(HDC handle)
{
    const auto at = std::find_if(FOpen.begin(), FOpen.end(), [&](const auto& dc) { return dc->Handle() == handle; });
    if (at == FOpen.end()) {
        return false;
    }
    std::unique_ptr<TWindowDC> dc = std::move(*at);
    FOpen.erase(at);
    const TPoint areaOrigin{dc->Area.Left, dc->Area.Top};
    if (dc->Top == 0) {
        // The screen: each visible top-level window takes back what shows of it.
        TRegion covered;
        for (HWND top : FManager.TopLevelOrder()) {
            TWindowRecord* record = FManager.Find(top);
            if (record == nullptr || (record->Style & WS_VISIBLE) == 0 || !record->Pixels) {
                continue;
            }
            TRegion shows(record->Bounds);
            shows.Combine(shows, covered, RGN_DIFF);
            TRegion mask = dc->Mask;
            mask.Offset(areaOrigin.X, areaOrigin.Y);
            shows.Combine(shows, mask, RGN_AND);
            covered.Combine(covered, TRegion(record->Bounds), RGN_OR);
            if (shows.IsEmpty() || record->DeviceScale != dc->Scale) {
                continue;
            }
            shows.Offset(Negated(record->Bounds.Left), Negated(record->Bounds.Top));
            const TRect changed = shows.Box();
            SettleContexts(top, &changed);
            dc->WriteChanged(*record->Pixels,
                             Point(areaOrigin.X - record->Bounds.Left, areaOrigin.Y - record->Bounds.Top), shows);
            FManager.PixelsChanged(top, changed);
        }
        return true;
    }
    TWindowRecord* top = FManager.Find(dc->Top);
    if (top == nullptr || !top->Pixels || top->DeviceScale != dc->Scale) {
        return true; // the window went away while the context was out
    }
    TRegion mask = dc->Mask;
    mask.Offset(areaOrigin.X, areaOrigin.Y);
    const TRect changed = mask.Box();
    SettleContexts(dc->Top, &changed);
    dc->WriteChanged(*top->Pixels, areaOrigin, mask);
    FManager.PixelsChanged(dc->Top, changed);
    return true;
}

namespace {

// The logical size a context's copy needs: from the area's top-left corner
// to where the area or the pixels end, whichever comes first. An area that
// reaches from its corner further than any surface may be paints nothing.
bool CopySize(const TRect& area, const TRect& pixels, int scale, int& width, int& height)
{
    const std::int64_t needWidth = std::min<std::int64_t>(area.Right, pixels.Right) - area.Left;
    const std::int64_t needHeight = std::min<std::int64_t>(area.Bottom, pixels.Bottom) - area.Top;
    if (needWidth <= 0 || needHeight <= 0 || needWidth * scale > TPixelSurface::MaxSide ||
        needHeight * scale > TPixelSurface::MaxSide ||
        needWidth * needHeight * scale * scale > TPixelSurface::MaxPixels) {
        width = 1;
        height = 1;
        return false;
    }
    width = static_cast<int>(needWidth);
    height = static_cast<int>(needHeight);
    return true;
}

// A context on area (top-level coordinates) of the window's top-level
// pixels, writing back mask (area coordinates). A context given a clip
// copies in only the mask's box until its drawing can reach further.
HDC OpenWindowContext(TWindowManager& manager, HWND hwnd, const TRect& area, TRegion mask, const TRegion* clip)
{
    const HWND top = GetTopLevelWindow(hwnd);
    TWindowRecord* topRecord = manager.Find(top);
    if (topRecord == nullptr) {
        return nullptr;
    }
    const int scale = topRecord->DeviceScale;
    const TRect pixels = topRecord->Pixels ? Rect(0, 0, topRecord->Pixels->Width() / scale,
                                                  topRecord->Pixels->Height() / scale)
                                           : TRect{};
    int width = 1;
    int height = 1;
    if (!CopySize(area, pixels, scale, width, height)) {
        mask = TRegion();
    }
    auto dc = std::make_unique<TWindowDC>(manager, top, area, std::move(mask), scale, width, height);
    dc->Load(topRecord->Pixels.get(), Point(area.Left, area.Top), clip);
    return manager.Paint().Open(std::move(dc));
}

HDC OpenScreenContext(TWindowManager& manager)
{
    const int scale = std::max(manager.Host().DeviceScale(), 1);
    const TRect screen = manager.Host().ScreenRect();
    auto composed = ComposeScreen(scale, false);
    auto dc = std::make_unique<TWindowDC>(manager, 0, screen,
                                          TRegion(Rect(0, 0, static_cast<int>(screen.Width()),
                                                       static_cast<int>(screen.Height()))),
                                          scale, composed->Width() / scale, composed->Height() / scale);
    dc->Load(composed.get(), Point(0, 0), nullptr);
    return manager.Paint().Open(std::move(dc));
}

void MarkUpdate(TWindowRecord& record, const TRegion& region, bool erase)
{
    if (region.IsEmpty()) {
        return;
    }
    record.Update.Combine(record.Update, region, RGN_OR);
    record.EraseNeeded = record.EraseNeeded || erase;
}

} // namespace

bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase)
{
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0u));
}

bool InvalidateRgn(HWND hwnd, const TRegion* region, bool erase)
{
    return RedrawWindow(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0u));
}

bool ValidateRect(HWND hwnd, const TRect* rect)
{
    return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE);
}

bool ValidateRgn(HWND hwnd, const TRegion* region)
{
    return RedrawWindow(hwnd, nullptr, region, RDW_VALIDATE);
}

bool RedrawWindow(HWND hwnd, const TRect* update, const TRegion* updateRegion, std::uint32_t flags)
{
    TWindowManager* manager = TWindowManager::Instance();
    TWindowRecord* record = manager ? manager->Find(hwnd) : nullptr;
    if (record == nullptr) {
        return false;
    }
    const TRect client = record->ClientSize();
    TRegion region(client);
    if (updateRegion != nullptr) {
        region.Combine(*updateRegion, region, RGN_AND);
    } else if (update != nullptr) {
        region = TRegion(IntersectRect(NormalizedRect(*update), client));
    }
    if (flags & RDW_INVALIDATE) {
        MarkUpdate(*record, region, (flags & RDW_ERASE) != 0);
        if (flags & RDW_FRAME) {
            record->FrameInvalid = true;
        }
    }
    if (flags & RDW_INTERNALPAINT) {
        record->InternalPaint = true;
    }
    if (flags & RDW_VALIDATE) {
        record->Update.Combine(record->Update, region, RGN_DIFF);
        if (flags & RDW_NOFRAME) {
            record->FrameInvalid = false;
        }
    }
    if (flags & RDW_NOERASE) {
        record->EraseNeeded = false;
    }
    if (flags & RDW_NOINTERNALPAINT) {
        record->InternalPaint = false;
    }
    if ((flags & RDW_ALLCHILDREN) != 0 && (flags & RDW_NOCHILDREN) == 0) {
        const std::vector<HWND> children = record->Children;
        for (HWND child : children) {
            TWindowRecord* each = manager->Find(child);
            if (each == nullptr) {
                continue;
            }
            if (!region.Intersects(each->Bounds)) {
                continue;
            }
            TRegion inChild = region;
            inChild.Offset(SaturateInt(-std::int64_t{each->Bounds.Left} - each->ClientInWindow.Left),
                           SaturateInt(-std::int64_t{each->Bounds.Top} - each->ClientInWindow.Top));
            RedrawWindow(child, nullptr, &inChild, flags & ~RDW_UPDATENOW & ~RDW_ERASENOW);
        }
    }
    if (flags & RDW_UPDATENOW) {
        UpdateWindow(hwnd);
        if (flags & RDW_ALLCHILDREN) {
            for (HWND child : manager->Descendants(hwnd)) {
                UpdateWindow(child);
            }
        }
    }
    return true;
}

bool UpdateWindow(HWND hwnd)
{
    TWindowManager* manager = TWindowManager::Instance();
    TWindowRecord* record = manager ? manager->Find(hwnd) : nullptr;
    if (record == nullptr) {
        return false;
    }
    if (NeedsPaint(*record) && Paintable(*manager, *record)) {
        SendMessage(hwnd, WM_PAINT, 0, 0);
    }
    return true;
}

bool GetUpdateRect(HWND hwnd, TRect* rect, bool)
{
    TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    if (record == nullptr) {
        return false;
    }
    if (rect != nullptr) {
        *rect = record->Update.Box();
    }
    return !record->Update.IsEmpty();
}

int GetUpdateRgn(HWND hwnd, TRegion& region, bool)
{
    TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    if (record == nullptr) {
        return RGN_ERROR;
    }
    region = record->Update;
    return region.Kind();
}

int GetWindowVisibleRegion(HWND hwnd, TRegion& region)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr || manager->Find(hwnd) == nullptr) {
        return RGN_ERROR;
    }
    region = manager->VisibleWindowRegion(hwnd);
    const TPoint origin = manager->ScreenOrigin(hwnd);
    region.Offset(origin.X, origin.Y);
    return region.Kind();
}

bool IsRedrawOff(HWND hwnd)
{
    TWindowRecord* record = TWindowManager::RecordOf(hwnd);
    return record != nullptr && record->RedrawOff;
}

HDC BeginPaint(HWND hwnd, TPaintStruct& paint)
{
    paint = TPaintStruct();
    TWindowManager& manager = TWindowManager::Current();
    TWindowRecord* record = manager.Find(hwnd);
    if (record == nullptr) {
        return nullptr;
    }
    if (record->FrameInvalid) {
        record->FrameInvalid = false;
        SendMessage(hwnd, WM_NCPAINT, 1, 0);
        record = manager.Find(hwnd);
        if (record == nullptr) {
            return nullptr;
        }
    }
    TRegion update = record->Update;
    const bool erase = record->EraseNeeded;
    record->Update = TRegion();
    record->EraseNeeded = false;
    record->InternalPaint = false;
    update.Combine(update, manager.VisibleClientRegion(hwnd), RGN_AND);
    HDC dc = OpenWindowContext(manager, hwnd, manager.ClientRectInTop(hwnd), update, &update);
    if (dc == nullptr) {
        return nullptr;
    }
    paint.hdc = dc;
    paint.rcPaint = update.Box();
    paint.fErase = erase && SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    return dc;
}

bool EndPaint(HWND, const TPaintStruct& paint)
{
    TWindowManager* manager = TWindowManager::Instance();
    return manager != nullptr && paint.hdc != nullptr && manager->Paint().Release(paint.hdc);
}

HDC GetDC(HWND hwnd)
{
    return GetDCEx(hwnd, nullptr, 0);
}

HDC GetWindowDC(HWND hwnd)
{
    return GetDCEx(hwnd, nullptr, DCX_WINDOW);
}

HDC GetDCEx(HWND hwnd, const TRegion* clip, std::uint32_t flags)
{
    TWindowManager& manager = TWindowManager::Current();
    if (hwnd == 0) {
        return OpenScreenContext(manager);
    }
    if (manager.Find(hwnd) == nullptr) {
        return nullptr;
    }
    const bool whole = (flags & DCX_WINDOW) != 0;
    const TRect area = whole ? manager.WindowRectInTop(hwnd) : manager.ClientRectInTop(hwnd);
    TRegion mask = whole ? manager.VisibleWindowRegion(hwnd) : manager.VisibleClientRegion(hwnd);
    if (clip != nullptr && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) != 0) {
        mask.Combine(mask, *clip, (flags & DCX_INTERSECTRGN) ? RGN_AND : RGN_DIFF);
    }
    HDC dc = OpenWindowContext(manager, hwnd, area, mask, nullptr);
    if (dc != nullptr && (flags & DCX_VALIDATE) != 0) {
        ValidateRect(hwnd, nullptr);
    }
    return dc;
}

HDC GetDCAt(HWND hwnd, const TRect& clientArea, const TRegion* clip)
{
    TWindowManager& manager = TWindowManager::Current();
    if (manager.Find(hwnd) == nullptr) {
        return nullptr;
    }
    TRegion mask = manager.VisibleClientRegion(hwnd);
    mask.Combine(mask, TRegion(clientArea), RGN_AND);
    if (clip != nullptr) {
        mask.Combine(mask, *clip, RGN_AND);
    }
    mask.Offset(Negated(clientArea.Left), Negated(clientArea.Top));
    const TRect client = manager.ClientRectInTop(hwnd);
    return OpenWindowContext(manager, hwnd, OffsetRect(clientArea, client.Left, client.Top), mask, &mask);
}

int ReleaseDC(HWND, HDC dc)
{
    TWindowManager* manager = TWindowManager::Instance();
    return manager != nullptr && manager->Paint().Release(dc) ? 1 : 0;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip, TRegion* update,
                   TRect* updateRect, std::uint32_t flags)
{
    TWindowManager& manager = TWindowManager::Current();
    TWindowRecord* record = manager.Find(hwnd);
    if (record == nullptr) {
        return RGN_ERROR;
    }
    const TRect client = record->ClientSize();
    const TRect area = scroll ? IntersectRect(NormalizedRect(*scroll), client) : client;
    const TRect clipArea = clip ? IntersectRect(NormalizedRect(*clip), client) : client;
    const bool moveChildren = (flags & SW_SCROLLCHILDREN) != 0;

    // Pixels that show inside area, and where they land.
    TRegion shows = manager.VisibleClientRegion(hwnd, !moveChildren);
    shows.Combine(shows, TRegion(area), RGN_AND);
    TRegion landed = shows;
    landed.Offset(dx, dy);
    landed.Combine(landed, shows, RGN_AND);
    landed.Combine(landed, TRegion(clipArea), RGN_AND);
    TRegion uncovered(IntersectRect(area, clipArea));
    uncovered.Combine(uncovered, landed, RGN_DIFF);

    const HWND top = GetTopLevelWindow(hwnd);
    TWindowRecord* topRecord = manager.Find(top);
    if (topRecord != nullptr && topRecord->Pixels && !landed.IsEmpty()) {
        const int scale = topRecord->DeviceScale;
        const TRect clientInTop = manager.ClientRectInTop(hwnd);
        const TRect changed = OffsetRect(landed.Box(), clientInTop.Left, clientInTop.Top);
        manager.Paint().SettleContexts(top, &changed);
        TPixelSurface& pixels = *topRecord->Pixels;
        // Through a copy of the moved block, so that overlapping moves read old pixels.
        const TRect box = OffsetRect(landed.Box(), Negated(dx), Negated(dy));
        TPixelSurface copy(LogicalSide(box.Width(), scale) * scale, LogicalSide(box.Height(), scale) * scale, 32);
        CopyPixels(pixels, (std::int64_t{clientInTop.Left} + box.Left) * scale,
                   (std::int64_t{clientInTop.Top} + box.Top) * scale, copy, 0, 0, copy.Width(), copy.Height());
        TRegion target = landed;
        target.Offset(clientInTop.Left, clientInTop.Top);
        CopyRegion(copy, Point(clientInTop.Left + box.Left + dx, clientInTop.Top + box.Top + dy), pixels, Point(0, 0),
                   target, scale);
        manager.PixelsChanged(top, target.Box());
    }

    // The update region moves with the pixels inside the scrolled area.
    TRegion moving = record->Update;
    moving.Combine(moving, TRegion(area), RGN_AND);
    if (!moving.IsEmpty()) {
        record->Update.Combine(record->Update, moving, RGN_DIFF);
        moving.Offset(dx, dy);
        moving.Combine(moving, TRegion(clipArea), RGN_AND);
        record->Update.Combine(record->Update, moving, RGN_OR);
    }
    if (moveChildren) {
        const std::vector<HWND> children = record->Children;
        for (HWND child : children) {
            TWindowRecord* each = manager.Find(child);
            if (each != nullptr && (scroll == nullptr || !IntersectRect(each->Bounds, area).IsEmpty())) {
                SetWindowPos(child, 0, Plus(each->Bounds.Left, dx), Plus(each->Bounds.Top, dy), 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
            }
        }
        record = manager.Find(hwnd);
        if (record == nullptr) {
            return RGN_ERROR;
        }
    }
    if (flags & SW_INVALIDATE) {
        MarkUpdate(*record, uncovered, (flags & SW_ERASE) != 0);
    }
    if (update != nullptr) {
        *update = uncovered;
    }
    if (updateRect != nullptr) {
        *updateRect = uncovered.Box();
    }
    return uncovered.Kind();
}

bool ScrollWindow(HWND hwnd, int dx, int dy, const TRect* rect, const TRect* clip)
{
    const std::uint32_t flags = SW_INVALIDATE | SW_ERASE | (rect == nullptr ? SW_SCROLLCHILDREN : 0u);
    return ScrollWindowEx(hwnd, dx, dy, rect, clip, nullptr, nullptr, flags) != RGN_ERROR;
}

std::unique_ptr<TPixelSurface> ComposeTopLevelWindow(HWND topLevel)
{
    TWindowManager& manager = TWindowManager::Current();
    TWindowRecord* record = manager.Find(topLevel);
    if (record == nullptr || !record->IsTopLevel() || !record->Pixels) {
        return nullptr;
    }
    auto composed = std::make_unique<TPixelSurface>(record->Pixels->Width(), record->Pixels->Height(), 32);
    CopyPixels(*record->Pixels, 0, 0, *composed, 0, 0, composed->Width(), composed->Height());
    manager.Caret().DrawOver(manager, topLevel, *composed, record->DeviceScale);
    manager.InputMethod().DrawOver(manager, topLevel, *composed, record->DeviceScale);
    manager.DragDrop().DrawOver(manager, topLevel, *composed, record->DeviceScale);
    return composed;
}

std::unique_ptr<TPixelSurface> ComposeScreen(int scale, bool overlays)
{
    TWindowManager& manager = TWindowManager::Current();
    scale = std::max(scale, 1);
    const TRect screen = manager.Host().ScreenRect();
    auto composed = std::make_unique<TPixelSurface>(LogicalSide(screen.Width(), scale) * scale,
                                                    LogicalSide(screen.Height(), scale) * scale, 32);
    FillSurface(*composed, DesktopColor);
    const std::vector<HWND> order = manager.TopLevelOrder();
    for (auto at = order.rbegin(); at != order.rend(); ++at) {
        TWindowRecord* record = manager.Find(*at);
        if (record == nullptr || (record->Style & WS_VISIBLE) == 0 || record->DeviceScale != scale) {
            continue;
        }
        std::unique_ptr<TPixelSurface> composedWindow;
        TPixelSurface* window = record->Pixels.get();
        if (overlays) {
            composedWindow = ComposeTopLevelWindow(*at);
            window = composedWindow.get();
        }
        if (window != nullptr) {
            CopyPixels(*window, 0, 0, *composed, (std::int64_t{record->Bounds.Left} - screen.Left) * scale,
                       (std::int64_t{record->Bounds.Top} - screen.Top) * scale, window->Width(), window->Height());
        }
    }
    return composed;
}

void FillBackground(TPixelSurface& pixels)
{
    FillSurface(pixels, ToColorRef(clBtnFace));
}

} // namespace plat

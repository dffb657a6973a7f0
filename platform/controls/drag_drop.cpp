// Drag and drop: drop target registration, the nested drag loop driven by
// the input hook, and the drag picture.
#include "platform/controls/drag_drop.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/cursors.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_manager.h"

#include <algorithm>
#include <functional>

namespace plat {

namespace {

// The window under the point, or its nearest parent, with a drop target.
HWND DropTargetWindow(TDragDropState& state, TPoint point)
{
    for (HWND hwnd = WindowFromPoint(point); hwnd != 0; hwnd = GetParent(hwnd)) {
        if (state.Targets.count(hwnd) != 0) {
            return hwnd;
        }
    }
    return 0;
}

DWORD DragKeyState()
{
    return CurrentKeyFlags() | ((GetKeyState(VK_MENU) & KEYSTATE_DOWN) ? MK_ALT : 0u);
}

HCURSOR EffectCursor(DWORD effect)
{
    if ((effect & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK)) == 0) {
        return LoadCursor(IDC_NO);
    }
    return LoadCursor(IDC_ARROW);
}

TRect PictureRect(const TDragDropState& state)
{
    if (!state.Picture.Bitmap) {
        return {};
    }
    return Bounds(state.Pointer.X - state.Picture.Offset.X, state.Pointer.Y - state.Picture.Offset.Y,
                  state.Picture.Bitmap->Width(), state.Picture.Bitmap->Height());
}

void PictureMoved(TWindowManager& manager, const TRect& old, const TRect& now)
{
    for (HWND top : manager.TopLevelOrder()) {
        TWindowRecord* record = manager.Find(top);
        if (record == nullptr) {
            continue;
        }
        for (const TRect& rect : {old, now}) {
            const TRect inTop = IntersectRect(OffsetRect(rect, Negated(record->Bounds.Left), Negated(record->Bounds.Top)),
                                              Rect(0, 0, static_cast<int>(record->Bounds.Width()),
                                                   static_cast<int>(record->Bounds.Height())));
            manager.PixelsChanged(top, inTop);
        }
    }
}

// One drag in progress: the data, the source, the target under the pointer.
class TDragLoop {
public:
    TDragLoop(TWindowManager& manager, std::shared_ptr<IDataObject> data, std::shared_ptr<IDropSource> source,
              DWORD allowed)
        : FManager(manager), FData(std::move(data)), FSource(std::move(source)), FAllowed(allowed)
    {
    }

    bool Done() const { return FDone; }
    HRESULT Result() const { return FResult; }
    DWORD Effect() const { return FEffect; }

    // Answers true for the input the drag uses.
    bool Input(const TQueuedInput& input)
    {
        switch (input.Kind) {
        case THostInputKind::MouseMove:
            MoveTo(Point(input.X, input.Y));
            return true;
        case THostInputKind::ButtonDown:
        case THostInputKind::ButtonUp:
            FManager.CursorPos = Point(input.X, input.Y);
            Ask(false);
            return true;
        case THostInputKind::KeyDown:
            Ask(input.Value == VK_ESCAPE);
            return true;
        case THostInputKind::KeyUp:
            Ask(false);
            return true;
        case THostInputKind::Wheel:
        case THostInputKind::HorizontalWheel:
        case THostInputKind::Char:
            return true;
        default:
            return false;
        }
    }

    void MoveTo(TPoint point)
    {
        FManager.CursorPos = point;
        if (!Ask(false)) {
            return;
        }
        const TRect oldPicture = PictureRect(FManager.DragDrop());
        FManager.DragDrop().Pointer = point;
        PictureMoved(FManager, oldPicture, PictureRect(FManager.DragDrop()));
        const DWORD keys = DragKeyState();
        const HWND under = DropTargetWindow(FManager.DragDrop(), point);
        DWORD effect = FAllowed;
        if (under != FTargetWindow) {
            Leave();
            FTargetWindow = under;
            if (under != 0) {
                FTarget = FManager.DragDrop().Targets[under];
                if (FAILED(FTarget->DragEnter(FData, keys, point, effect))) {
                    FTarget.reset();
                    effect = DROPEFFECT_NONE;
                }
            } else {
                effect = DROPEFFECT_NONE;
            }
        } else if (FTarget) {
            if (FAILED(FTarget->DragOver(keys, point, effect))) {
                effect = DROPEFFECT_NONE;
            }
        } else {
            effect = DROPEFFECT_NONE;
        }
        FEffect = effect & (FAllowed | DROPEFFECT_SCROLL);
        if (FSource->GiveFeedback(FEffect) == DRAGDROP_S_USEDEFAULTCURSORS) {
            SetCursor(EffectCursor(FEffect));
        }
    }

    // Asks the source whether the drag goes on; false once it has ended.
    bool Ask(bool escape)
    {
        if (FDone) {
            return false;
        }
        const HRESULT answer = FSource->QueryContinueDrag(escape, DragKeyState());
        if (answer == DRAGDROP_S_DROP) {
            DropHere();
            return false;
        }
        if (answer == DRAGDROP_S_CANCEL || FAILED(answer)) {
            Leave();
            Finish(DRAGDROP_S_CANCEL, DROPEFFECT_NONE);
            return false;
        }
        return true;
    }

    void Cancel()
    {
        Leave();
        Finish(DRAGDROP_S_CANCEL, DROPEFFECT_NONE);
    }

private:
    void DropHere()
    {
        DWORD effect = FAllowed;
        const std::shared_ptr<IDropTarget> target = FTarget;
        FTarget.reset();
        FTargetWindow = 0;
        if (target && (FEffect & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK)) != 0) {
            if (FAILED(target->Drop(FData, DragKeyState(), FManager.CursorPos, effect))) {
                effect = DROPEFFECT_NONE;
            }
        } else {
            if (target) {
                target->DragLeave();
            }
            effect = DROPEFFECT_NONE;
        }
        Finish(DRAGDROP_S_DROP, effect & FAllowed);
    }

    void Leave()
    {
        const std::shared_ptr<IDropTarget> target = FTarget;
        FTarget.reset();
        FTargetWindow = 0;
        if (target) {
            target->DragLeave();
        }
    }

    void Finish(HRESULT result, DWORD effect)
    {
        FDone = true;
        FResult = result;
        FEffect = effect;
    }

    TWindowManager& FManager;
    std::shared_ptr<IDataObject> FData;
    std::shared_ptr<IDropSource> FSource;
    DWORD FAllowed;
    HWND FTargetWindow = 0;
    std::shared_ptr<IDropTarget> FTarget;
    DWORD FEffect = DROPEFFECT_NONE;
    bool FDone = false;
    HRESULT FResult = DRAGDROP_S_CANCEL;
};

} // namespace

HRESULT TDefaultDropSource::QueryContinueDrag(bool escapePressed, DWORD keyState)
{
    if (escapePressed || ((keyState & MK_LBUTTON) && (keyState & MK_RBUTTON))) {
        return DRAGDROP_S_CANCEL;
    }
    return (keyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) ? S_OK : DRAGDROP_S_DROP;
}

HRESULT TDefaultDropSource::GiveFeedback(DWORD)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

TDragDropState::TDragDropState() = default;
TDragDropState::~TDragDropState() = default;

void TDragDropState::WindowDestroyed(HWND hwnd)
{
    Targets.erase(hwnd);
    if (HostTargetWindow == hwnd) {
        HostTargetWindow = 0;
        HostTarget.reset();
    }
}

void TDragDropState::DrawOver(TWindowManager& manager, HWND topLevel, TPixelSurface& pixels, int scale) const
{
    TWindowRecord* record = manager.Find(topLevel);
    if (!Active || !Picture.Bitmap || PictureHidden || record == nullptr) {
        return;
    }
    const TRect picture = PictureRect(*this);
    const TPixelSurface& bitmap = *Picture.Bitmap;
    const std::int64_t left = (std::int64_t{picture.Left} - record->Bounds.Left) * scale;
    const std::int64_t top = (std::int64_t{picture.Top} - record->Bounds.Top) * scale;
    const int step = bitmap.BitsPerPixel() / 8;
    for (int y = 0; y < bitmap.Height() * scale; ++y) {
        const std::int64_t ty = top + y;
        if (ty < 0 || ty >= pixels.Height()) {
            continue;
        }
        const std::uint8_t* source = const_cast<TPixelSurface&>(bitmap).ScanLine(y / scale);
        std::uint8_t* target = pixels.ScanLine(static_cast<int>(ty));
        for (int x = 0; x < bitmap.Width() * scale; ++x) {
            const std::int64_t tx = left + x;
            if (tx < 0 || tx >= pixels.Width()) {
                continue;
            }
            const std::uint8_t* from = source + static_cast<std::size_t>(step) * (x / scale);
            if (Picture.ColorKey != CLR_INVALID && RGB(from[2], from[1], from[0]) == (Picture.ColorKey & 0xFFFFFF)) {
                continue;
            }
            const unsigned alpha = step == 4 ? from[3] : 255;
            std::uint8_t* to = target + std::size_t{4} * tx;
            for (int channel = 0; channel < 3; ++channel) {
                to[channel] = static_cast<std::uint8_t>((from[channel] * alpha + to[channel] * (255 - alpha) + 127) / 255);
            }
        }
    }
}

HRESULT RegisterDragDrop(HWND hwnd, std::shared_ptr<IDropTarget> target)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr || manager->Find(hwnd) == nullptr) {
        return DRAGDROP_E_INVALIDHWND;
    }
    if (!target) {
        return E_INVALIDARG;
    }
    auto& targets = manager->DragDrop().Targets;
    if (targets.count(hwnd) != 0) {
        return DRAGDROP_E_ALREADYREGISTERED;
    }
    targets.emplace(hwnd, std::move(target));
    return S_OK;
}

HRESULT RevokeDragDrop(HWND hwnd)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return DRAGDROP_E_INVALIDHWND;
    }
    return manager->DragDrop().Targets.erase(hwnd) > 0 ? S_OK : DRAGDROP_E_NOTREGISTERED;
}

HRESULT InitializeDragImageFromBitmap(const TDragImage& image, const std::shared_ptr<IDataObject>& data)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr || !data || !image.Bitmap) {
        return E_INVALIDARG;
    }
    manager->DragDrop().Pictures[data.get()] = image;
    return S_OK;
}

bool DragImageShown()
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return false;
    }
    const TDragDropState& state = manager->DragDrop();
    return state.Active && state.Picture.Bitmap && !state.PictureHidden;
}

bool DragShowNolock(bool show)
{
    const bool shown = DragImageShown();
    if (TWindowManager* manager = TWindowManager::Instance()) {
        manager->DragDrop().PictureHidden = !show;
    }
    return shown;
}

bool DataObjectFormats(IDataObject& data, std::vector<CLIPFORMAT>& formats)
{
    formats.clear();
    std::shared_ptr<IEnumFORMATETC> enumerator;
    if (data.EnumFormatEtc(DATADIR_GET, enumerator) != S_OK || !enumerator) {
        return false;
    }
    TFormatEtc format;
    unsigned fetched = 0;
    while (enumerator->Next(1, &format, &fetched) == S_OK && fetched == 1) {
        formats.push_back(format.cfFormat);
    }
    return true;
}

namespace {

// The formats a data object offers to other programs, as the back end
// announces them; formats kept in the process stay out.
std::vector<std::uint16_t> OfferedFormats(IDataObject& data)
{
    std::vector<CLIPFORMAT> formats;
    DataObjectFormats(data, formats);
    std::erase_if(formats, [](CLIPFORMAT format) { return IsClipboardFormatInProcess(format); });
    return formats;
}

// Handles messages until done() holds; false when the program quits (its
// WM_QUIT is left for the outer loop).
bool RunMessagesUntil(TWindowManager& manager, const std::function<bool()>& done)
{
    TMessageQueue& queue = manager.Queue();
    while (!done()) {
        TMsg msg;
        if (!queue.PeekMessage(msg)) {
            manager.Host().WaitForWork(queue);
            continue;
        }
        if (msg.message == WM_QUIT) {
            queue.PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (msg.message == WM_QUEUED_INPUT && !TranslateQueuedInput(msg)) {
            continue;
        }
        TMessageQueue::DispatchMessage(msg);
    }
    return true;
}

// Runs messages until the back end reports the end of our drag.
HRESULT RunHostDrag(TWindowManager& manager, DWORD& effect)
{
    TDragDropState& state = manager.DragDrop();
    RunMessagesUntil(manager, [&] { return state.HostEnded; });
    effect = state.HostDropped ? state.HostEffect : DROPEFFECT_NONE;
    return state.HostDropped ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
}

} // namespace

DWORD HostDragOver(const std::shared_ptr<IDataObject>& data, TPoint screenPoint, DWORD keyState, DWORD allowed)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr || !data) {
        return DROPEFFECT_NONE;
    }
    TDragDropState& state = manager->DragDrop();
    manager->CursorPos = screenPoint;
    const HWND under = DropTargetWindow(state, screenPoint);
    DWORD effect = allowed;
    if (under != state.HostTargetWindow) {
        HostDragLeave();
        state.HostTargetWindow = under;
        if (under == 0) {
            return DROPEFFECT_NONE;
        }
        state.HostTarget = state.Targets[under];
        if (FAILED(state.HostTarget->DragEnter(data, keyState, screenPoint, effect))) {
            state.HostTarget.reset();
            return DROPEFFECT_NONE;
        }
    } else if (state.HostTarget) {
        if (FAILED(state.HostTarget->DragOver(keyState, screenPoint, effect))) {
            return DROPEFFECT_NONE;
        }
    } else {
        return DROPEFFECT_NONE;
    }
    return effect & (allowed | DROPEFFECT_SCROLL);
}

void HostDragLeave()
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return;
    }
    TDragDropState& state = manager->DragDrop();
    const std::shared_ptr<IDropTarget> target = std::move(state.HostTarget);
    state.HostTarget.reset();
    state.HostTargetWindow = 0;
    if (target) {
        target->DragLeave();
    }
}

DWORD HostDragDrop(const std::shared_ptr<IDataObject>& data, TPoint screenPoint, DWORD keyState, DWORD allowed)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return DROPEFFECT_NONE;
    }
    if (HostDragOver(data, screenPoint, keyState, allowed) == DROPEFFECT_NONE) {
        HostDragLeave();
        return DROPEFFECT_NONE;
    }
    TDragDropState& state = manager->DragDrop();
    const std::shared_ptr<IDropTarget> target = std::move(state.HostTarget);
    state.HostTarget.reset();
    state.HostTargetWindow = 0;
    DWORD effect = allowed;
    if (!target || FAILED(target->Drop(data, keyState, screenPoint, effect))) {
        return DROPEFFECT_NONE;
    }
    return effect & allowed;
}

void HostDragEnded(DWORD effect, bool dropped)
{
    if (TWindowManager* manager = TWindowManager::Instance()) {
        TDragDropState& state = manager->DragDrop();
        state.HostEnded = true;
        state.HostDropped = dropped;
        state.HostEffect = effect;
    }
}

std::shared_ptr<IDataObject> CurrentDragData()
{
    TWindowManager* manager = TWindowManager::Instance();
    return manager != nullptr && manager->DragDrop().Active ? manager->DragDrop().Data : nullptr;
}

HRESULT DoDragDrop(std::shared_ptr<IDataObject> data, std::shared_ptr<IDropSource> source, DWORD allowedEffects,
                   DWORD& effect)
{
    effect = DROPEFFECT_NONE;
    TWindowManager& manager = TWindowManager::Current();
    TDragDropState& state = manager.DragDrop();
    if (!data || !source) {
        return E_INVALIDARG;
    }
    if (state.Active) {
        return E_UNEXPECTED;
    }
    state.HostEnded = false;
    state.HostDropped = false;
    if (manager.Host().BeginHostDrag(OfferedFormats(*data), allowedEffects)) {
        state.Active = true;
        state.Data = data;
        struct TEnd {
            TDragDropState& State;
            ~TEnd()
            {
                State.Active = false;
                State.Data.reset();
            }
        } end{state};
        return RunHostDrag(manager, effect);
    }
    TDragLoop loop(manager, data, std::move(source), allowedEffects);
    const auto hook = std::make_shared<const TInputHook>([&loop](const TQueuedInput& input) { return loop.Input(input); });
    const HCURSOR oldCursor = GetCursor();
    state.Active = true;
    state.PictureHidden = false;
    state.Data = data;
    state.Pointer = manager.CursorPos;
    if (const auto at = state.Pictures.find(data.get()); at != state.Pictures.end()) {
        state.Picture = at->second;
        state.Pictures.erase(at);
    }
    manager.InputHooks.push_back(hook);
    const auto cleanUp = [&] {
        std::erase(manager.InputHooks, hook);
        const TRect picture = PictureRect(state);
        state.Active = false;
        state.Data.reset();
        state.Picture = TDragImage();
        PictureMoved(manager, picture, TRect{});
        SetCursor(oldCursor);
    };
    try {
        loop.MoveTo(manager.CursorPos);
        if (!RunMessagesUntil(manager, [&] { return loop.Done(); })) {
            loop.Cancel();
        }
    } catch (...) {
        loop.Cancel();
        cleanUp();
        throw;
    }
    cleanUp();
    effect = loop.Effect();
    return loop.Result();
}

} // namespace plat

// Drag and drop: drop targets registered per window, the nested drag loop
// that follows the mouse and asks the source whether to go on, tells the
// target under the pointer of enter, over, leave and drop (screen point,
// MK_ key state, DROPEFFECT_ copy 1, move 2, link 4), and shows a 32-bit
// picture with its hot spot under the pointer while the drag runs.
#pragma once

#include "platform/canvas/colors.h"
#include "platform/canvas/graphics_types.h"
#include "platform/controls/data_object.h"
#include "platform/messages.h"

#include <map>
#include <memory>
#include <vector>

namespace plat {

class TPixelSurface;
class TWindowManager;

constexpr DWORD DROPEFFECT_NONE = 0;
constexpr DWORD DROPEFFECT_COPY = 1;
constexpr DWORD DROPEFFECT_MOVE = 2;
constexpr DWORD DROPEFFECT_LINK = 4;
constexpr DWORD DROPEFFECT_SCROLL = 0x80000000;

class IDropTarget {
public:
    virtual ~IDropTarget() = default;
    // effect comes in as the effects the source allows and goes out as the
    // one the target would do.
    virtual HRESULT DragEnter(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint screenPoint,
                              DWORD& effect) = 0;
    virtual HRESULT DragOver(DWORD keyState, TPoint screenPoint, DWORD& effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint screenPoint,
                         DWORD& effect) = 0;
};

class IDropSource {
public:
    virtual ~IDropSource() = default;
    // S_OK goes on, DRAGDROP_S_DROP drops, DRAGDROP_S_CANCEL cancels.
    virtual HRESULT QueryContinueDrag(bool escapePressed, DWORD keyState) = 0;
    // DRAGDROP_S_USEDEFAULTCURSORS lets the loop show the effect's cursor.
    virtual HRESULT GiveFeedback(DWORD effect) = 0;
};

// The source most programs want: Escape or both buttons cancel, releasing
// the buttons drops, the cursors show the effect.
class TDefaultDropSource final : public IDropSource {
public:
    HRESULT QueryContinueDrag(bool escapePressed, DWORD keyState) override;
    HRESULT GiveFeedback(DWORD effect) override;
};

HRESULT RegisterDragDrop(HWND hwnd, std::shared_ptr<IDropTarget> target);
HRESULT RevokeDragDrop(HWND hwnd);

// Runs the drag until the source drops or cancels; effect answers what the
// target did (DROPEFFECT_NONE when nothing was dropped). Messages, timers
// and painting go on while it runs; input goes to the drag.
HRESULT DoDragDrop(std::shared_ptr<IDataObject> data, std::shared_ptr<IDropSource> source, DWORD allowedEffects,
                   DWORD& effect);

// The formats a data object offers, in its order; false when it cannot
// list them.
bool DataObjectFormats(IDataObject& data, std::vector<CLIPFORMAT>& formats);

// The picture a drag shows: 32-bit pixels (raw B, G, R, A, alpha not
// premultiplied), the pointer's place in it, and a colour that shows nothing.
struct TDragImage {
    std::shared_ptr<const TPixelSurface> Bitmap;
    TPoint Offset;
    COLORREF ColorKey = CLR_INVALID;  // CLR_INVALID: no colour key
};

// The drag-image service: the picture goes with the data object's next drag.
HRESULT InitializeDragImageFromBitmap(const TDragImage& image, const std::shared_ptr<IDataObject>& data);
// Whether a running drag's picture shows now.
bool DragImageShown();
// Hides (false) or shows again (true) the running drag's picture, for a
// window that paints under it; answers whether it showed before.
bool DragShowNolock(bool show);

// For back ends that carry drags between programs. A drag (ours or another
// program's) over our windows: the target under the point hears of it and
// the answer is the effect it would do (DROPEFFECT_NONE without a target).
DWORD HostDragOver(const std::shared_ptr<IDataObject>& data, TPoint screenPoint, DWORD keyState, DWORD allowed);
void HostDragLeave();
DWORD HostDragDrop(const std::shared_ptr<IDataObject>& data, TPoint screenPoint, DWORD keyState, DWORD allowed);
// Our drag, taken over by the back end, has ended with the effect the
// target (ours or another program's) did; dropped false for a cancel.
void HostDragEnded(DWORD effect, bool dropped);
// The data of our drag that runs now; nullptr when none does.
std::shared_ptr<IDataObject> CurrentDragData();

// What the drag loop keeps: drop targets, pictures waiting for their drag,
// and the running drag.
class TDragDropState {
public:
    TDragDropState();
    ~TDragDropState();

    std::map<HWND, std::shared_ptr<IDropTarget>> Targets;
    std::map<const IDataObject*, TDragImage> Pictures;
    bool Active = false;
    TDragImage Picture;      // of the running drag
    bool PictureHidden = false;  // stepped aside while a window paints
    TPoint Pointer;          // screen
    std::shared_ptr<IDataObject> Data;  // of the running drag of ours
    // A drag the back end carries: the target it is over, and the end.
    HWND HostTargetWindow = 0;
    std::shared_ptr<IDropTarget> HostTarget;
    bool HostEnded = false;
    bool HostDropped = false;
    DWORD HostEffect = DROPEFFECT_NONE;

    void WindowDestroyed(HWND hwnd);
    // Blends the running drag's picture over a composed top-level window.
    void DrawOver(TWindowManager& manager, HWND topLevel, TPixelSurface& pixels, int scale) const;
};

} // namespace plat

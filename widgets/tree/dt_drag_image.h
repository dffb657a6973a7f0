// TDTDragImage: the translucent picture that follows the mouse while a
// header column (or, through the platform's drag picture service, a set of
// nodes) is dragged. Drawn by the tree itself it keeps a copy of the screen
// under it, so that it can move, hide and end leaving the screen as it was.
#pragma once

#include "platform/canvas/colors.h"
#include "platform/canvas/graphics_types.h"
#include "platform/objects/set.h"

#include <cstdint>
#include <memory>

namespace plat {
class IDataObject;
class TBitmap;
class TControl;
class TPixelSurface;
class TRegion;
}

namespace qel {

class TBaseDataTree;

enum TDTDragMoveRestriction : std::uint8_t { dmrNone, dmrHorizontalOnly, dmrVerticalOnly };
enum TDTDragImageState { disHidden, disInDrag, disPrepared, disSystemSupport };
using TDTDragImageStates = plat::TSet<TDTDragImageState>;
using TDTTransparency = std::uint8_t;   // 0 clear .. 255 opaque
using TDTBias = std::int8_t;            // -128 .. 127, added to every blended byte

class TDTDragImage {
public:
    explicit TDTDragImage(plat::TControl* owner);
    TDTDragImage(const TDTDragImage&) = delete;
    TDTDragImage& operator=(const TDTDragImage&) = delete;
    ~TDTDragImage();

    // Takes the picture (imagePosition: its top left on the screen; hotSpot:
    // the mouse there) and gives it its alpha channel: opaque at the centre,
    // fading towards the edges, the colour key fully transparent.
    void PrepareDrag(const plat::TBitmap& dragImage, plat::TPoint imagePosition, plat::TPoint hotSpot);
    // With a data object the picture goes to the platform's drag picture
    // service (disSystemSupport) when it takes it; else as above.
    void PrepareDrag(const plat::TBitmap& dragImage, plat::TPoint imagePosition, plat::TPoint hotSpot,
                     const std::shared_ptr<plat::IDataObject>& dataObject);
    // Moves with the mouse; true when it moved (or forceRepaint).
    bool DragTo(plat::TPoint p, bool forceRepaint);
    void ShowDragImage();
    void HideDragImage();
    // Hides the picture and frees it.
    void EndDrag();
    // The picture's screen rectangle while visible, else empty.
    plat::TRect GetDragImageRect() const;
    // Whether moving the mouse to p would move the picture.
    bool WillMove(plat::TPoint p) const;
    // The tree under the picture changed: the kept copy of the screen
    // takes the tree's part r (client coordinates) painted anew, within
    // visibleRegion (screen coordinates, nullptr: no limit), with
    // captureNCArea also the tree's frame and header; with reshowDragImage
    // the picture is drawn again.
    void RecaptureBackground(TBaseDataTree* tree, plat::TRect r, const plat::TRegion* visibleRegion,
                             bool captureNCArea, bool reshowDragImage);
    // Draws the picture over its kept copy again (nothing when not visible).
    void ReshowDragImage();

    bool Visible() const { return FStates == TDTDragImageStates{disInDrag, disPrepared}; }
    TDTDragImageStates States() const { return FStates; }
    plat::TPoint ImagePosition() const { return FImagePosition; }
    plat::TPoint LastPosition() const { return FLastPosition; }
    TDTTransparency Transparency() const { return FTransparency; }
    void SetTransparency(TDTTransparency value) { FTransparency = value; }
    TDTBias PreBlendBias() const { return FPreBlendBias; }
    void SetPreBlendBias(TDTBias value) { FPreBlendBias = value; }
    TDTBias PostBlendBias() const { return FPostBlendBias; }
    void SetPostBlendBias(TDTBias value) { FPostBlendBias = value; }
    bool Fade() const { return FFade; }
    void SetFade(bool value) { FFade = value; }
    TDTDragMoveRestriction MoveRestriction() const { return FRestriction; }
    void SetMoveRestriction(TDTDragMoveRestriction value) { FRestriction = value; }
    plat::TColor ColorKey() const { return FColorKey; }
    void SetColorKey(plat::TColor value) { FColorKey = value; }
    // The picture with its alpha channel (nullptr before PrepareDrag).
    plat::TBitmap* DragImage() const { return FDragImage.get(); }

private:
    // The kept screen copy blended with the picture, onto the screen.
    void InternalShowDragImage();
    // target's alpha from source's colours: the fade scaled by opacity
    // (0..255), the colour key clear.
    void MakeAlphaChannel(plat::TBitmap& source, plat::TPixelSurface& target, int opacity) const;

    plat::TControl* FOwner;
    std::unique_ptr<plat::TBitmap> FDragImage;   // the picture with its alpha channel
    std::unique_ptr<plat::TBitmap> FAlphaImage;  // composition buffer
    std::unique_ptr<plat::TBitmap> FBackImage;   // the screen under the picture
    plat::TPoint FImagePosition;                 // screen
    plat::TPoint FLastPosition;                  // the last mouse position given
    TDTTransparency FTransparency = 128;
    TDTBias FPreBlendBias = 0;
    TDTBias FPostBlendBias = 0;
    bool FFade = false;
    TDTDragMoveRestriction FRestriction = dmrNone;
    plat::TColor FColorKey = plat::clNone;
    TDTDragImageStates FStates;
};

} // namespace qel

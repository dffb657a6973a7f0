// Image lists: equal-sized images with transparency masks, drawn normal,
// blended with a colour when selected, greyed when disabled, with overlay
// images on top; change links tell their holders once per change.
#pragma once

#include "platform/canvas/canvas.h"
#include "platform/objects/component.h"

#include <cstdint>
#include <vector>

namespace plat {

class TBitmap;
class TCustomImageList;

// A holder's link to an image list: Change fires OnChange with the list.
class TChangeLink : public TObject {
public:
    TChangeLink() = default;
    // Leaves the list it is registered with.
    ~TChangeLink() override;

    TCustomImageList* Sender() const { return FSender; }
    virtual void Change();

    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* FSender = nullptr;
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList : public TComponent {
    PLAT_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new size empties the list.
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(FImages.size()); }

    // Adds the image (cut into Width-wide pieces when wider); mask pixels
    // that are white stay transparent. Answers the index of the first piece.
    int Add(TBitmap* image, TBitmap* mask);
    // Pixels of the mask colour stay transparent.
    int AddMasked(TBitmap* image, TColor maskColor);
    void Delete(int index);
    void Clear();
    // Makes image imageIndex the overlay number overlay (0 .. 14).
    bool Overlay(int imageIndex, int overlay);

    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value);
    TColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor value);
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle value);

    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    void Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type, bool enabled = true);
    // The image with the overlay image on top.
    void DrawOverlay(TCanvas* canvas, int x, int y, int index, int overlay, bool enabled = true);
    void DrawOverlay(TCanvas* canvas, int x, int y, int index, int overlay, TDrawingStyle style, bool enabled = true);

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);
    void BeginUpdate() { ++FUpdateCount; }
    // Ends an update; one change is announced if anything changed inside.
    void EndUpdate();

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    struct TImage {
        std::vector<std::uint32_t> Pixels; // 0x00RRGGBB, row by row
        std::vector<bool> Opaque;
    };
    // The image's pixels composed for the style, alpha 0 where transparent.
    std::vector<std::uint32_t> Compose(int index, TDrawingStyle style, TImageType type, bool enabled, int overlay) const;
    void Blit(TCanvas* canvas, int x, int y, const std::vector<std::uint32_t>& pixels);

    int FWidth = 16;
    int FHeight = 16;
    std::vector<TImage> FImages;
    int FOverlays[15];
    TColor FBkColor = clNone;
    TColor FBlendColor = clNone;
    TDrawingStyle FDrawingStyle = dsNormal;
    std::vector<TChangeLink*> FLinks;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

} // namespace plat

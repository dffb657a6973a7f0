// TChtFilter: the base of every chart bitmap filter. A filter changes the
// pixels of a bitmap, or of a rectangle of it, in place, reaching them
// through row tables; it may be limited to a region, switched off, and kept
// as an item of a picture's filter list.
#pragma once

#include "widgets/chart/filter_region.h"
#include "widgets/chart/pixel_rows.h"

#include "platform/canvas/graphics_types.h"
#include "platform/objects/collection.h"
#include "platform/objects/events.h"

#include <memory>
#include <string>

namespace plat {
class TBitmap;
} // namespace plat

namespace qel {

class IFormCreator;

// A class reference of TChtFilter or a descendant.
using TFilterClass = plat::TClass;

// R brought into a bitmap of Width x Height pixels, inclusive on all
// sides; Left > Right or Top > Bottom when nothing of R lies inside.
plat::TRect RectInside(const plat::TRect& R, int Width, int Height);

class TChtFilter : public plat::TCollectionItem {
    PLAT_CLASS(TChtFilter, plat::TCollectionItem)
public:
    // Joins Collection at its end when one is given.
    explicit TChtFilter(plat::TCollection* Collection);
    ~TChtFilter() override;

    bool Enabled() const { return FEnabled; }
    // A real change calls the editor's change event.
    void SetEnabled(bool Value);

    // Made on first read, all four values 0.
    TFilterRegion* Region() const;
    // nullptr frees the region; any other is copied into the own one.
    void SetRegion(const TFilterRegion* Value);

    // Filters the rectangle the region gives on Bitmap (the whole bitmap
    // without a region).
    void Apply(plat::TBitmap& Bitmap);
    // Filters the columns R.Left .. R.Right and rows R.Top .. R.Bottom. The
    // base prepares the row tables unless ReuseLines and brings R into the
    // prepared rows (Rect); a descendant calls it first.
    virtual void Apply(plat::TBitmap& Bitmap, const plat::TRect& R);

    // Builds a filter of FilterClass with its defaults and no region,
    // filters all of Bitmap with it and frees it again.
    static void ApplyTo(TFilterClass FilterClass, plat::TBitmap& Bitmap);

    // Adds the filter's controls to an editor; AChanged is told of changes
    // to Enabled. Overrides call the base first.
    virtual void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged);
    // The filter's display name; the base answers the class name.
    virtual std::string Description() const;
    // Sets values that make a good preview; the base sets none.
    virtual void PrepareForGallery();

    // Copies Enabled and Region of another filter; both then own a region.
    void Assign(const plat::TPersistent* Source) override;

    // Whether an editor may offer a region.
    bool AllowRegion = true;
    // Apply keeps the row tables prepared before (several passes on one bitmap).
    bool ReuseLines = false;
    // Work on 32-bit rows (LinesRGBA) instead of 24-bit ones (Lines).
    bool RGBA = false;
    TRGBArray Lines;
    TRGBAArray LinesRGBA;

protected:
    // Takes the row table of the pixel size RGBA selects, converting Bitmap
    // to it; the other table stays as it was.
    void PrepareLines(plat::TBitmap& Bitmap);
    // True when the active row table has no rows.
    bool LinesEmpty() const;
    // True when 24-bit rows were prepared and hold at least one row: the
    // filters that read 24-bit pixels only have work to do then.
    bool HasLines24() const { return !RGBA && !Lines.empty(); }
    // R of the last Apply brought into the prepared rows, inclusive on all
    // sides; Left > Right or Top > Bottom when nothing of R lies inside.
    // Filters work on Rect, so no rectangle reaches outside the bitmap.
    plat::TRect Rect;

private:
    bool FEnabled = true;
    mutable std::unique_ptr<TFilterRegion> FRegion;
    plat::TNotifyEvent FChanged;
    int FLinesWidth = 0;       // pixels in a row of Lines
    int FLinesRGBAWidth = 0;   // pixels in a row of LinesRGBA
};

} // namespace qel

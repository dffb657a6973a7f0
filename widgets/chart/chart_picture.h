// TChtPicture: a picture that keeps its graphic together with a list of
// filters and hands out the filtered image to paint; the list is stored
// with the picture as the property "FilterItems".
#pragma once

#include "widgets/chart/filter_items.h"

#include "platform/canvas/graphic.h"

#include <memory>

namespace plat {
class TBitmap;
class TReader;
class TWriter;
} // namespace plat

namespace qel {

class TChtPicture : public plat::TPicture {
    PLAT_CLASS(TChtPicture, plat::TPicture)
public:
    TChtPicture();
    ~TChtPicture() override;

    float Angle() const { return FAngle; }
    // A real change repaints.
    void SetAngle(float Value);

    // Made on first read.
    TFilterItems* Filters();
    // nullptr frees the list; any other list is copied into the own one.
    void SetFilters(const TFilterItems* Value);

    // The image to paint: the graphic itself while Angle is 0 and there
    // are no filters to run; otherwise the working bitmap, a copy of the
    // graphic with the filters applied.
    plat::TGraphic* Filtered();

    // Copies AGraphic into ABitmap: an icon is drawn at its own size, any
    // other graphic assigned; no graphic empties ABitmap.
    static void AssignGraphic(plat::TBitmap& ABitmap, plat::TGraphic* AGraphic);

    // Announces a change to the picture's listeners.
    void Repaint();
    // The picture holds a graphic.
    bool Valid() const { return Graphic() != nullptr; }

    // From another chart picture also its filter list (a source without
    // one frees this picture's); the graphic from any picture or graphic.
    // Angle is not copied.
    void Assign(const plat::TPersistent* Source) override;

    // The stored form of a filter list: a collection of items, each led by
    // its class name as "ItemClass", then the filter's stored properties.
    // Reading raises EClassNotFound for a name that is no registered filter
    // class; the filters read before it stay.
    static void ReadFilters(plat::TReader& Reader, TFilterItems& Filters);
    static void WriteFilters(plat::TWriter& Writer, const TFilterItems& Filters);

protected:
    void DefineProperties(plat::TFiler& Filer) override;

private:
    bool HasFilters() const { return FFilters && FFilters->Count() > 0; }

    float FAngle = 0;
    std::unique_ptr<TFilterItems> FFilters;
    std::unique_ptr<plat::TBitmap> IBitmap;   // working bitmap of Filtered
};

} // namespace qel

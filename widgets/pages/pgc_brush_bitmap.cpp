// The brush unit's start and end.
#include "widgets/pages/pgc_brush_bitmap.h"

#include "widgets/pages/pgc_resources.h"

#include "platform/canvas/bitmap.h"

#include <memory>

namespace qel {
namespace {

std::unique_ptr<plat::TBitmap> BrushBitmap;

} // namespace

plat::TBitmap* PgcBrushBitmap()
{
    return BrushBitmap.get();
}

void InitBrushBitmapUnit()
{
    BrushBitmap = LoadLibraryBitmap("PGOLBRUSH");
    if (!BrushBitmap) {
        BrushBitmap = std::make_unique<plat::TBitmap>();
    }
}

void FinalizeBrushBitmapUnit()
{
    BrushBitmap.reset();
}

} // namespace qel

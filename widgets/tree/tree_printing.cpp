// Printing the data tree: the whole tree (every row, with the header above
// the first page row when asked) is cut into printer pages. Each page is
// painted on its own through the row painter, a window one page high and
// one page wide, so a tall tree never needs a picture of itself as a whole.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/colors.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/printer.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/tree_drawing_utils.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace qel {

namespace {

// Pages needed for size pixels, page pixels a page: at least one, and no
// blank page after an exact multiple.
int PageCount(std::int64_t size, int page)
{
    return static_cast<int>(std::max<std::int64_t>(1, (size + page - 1) / page));
}

} // namespace

void TBaseDataTree::Print(plat::TCustomPrinter* printer, bool printHeader)
{
    if (printer == nullptr) {
        return;
    }
    BeginUpdate();
    // Restored in every case, also when a paint event raises: the live tree
    // keeps its colour and fonts.
    plat::TFont treeFont;
    treeFont.Assign(Font());
    plat::TFont headerFont;
    headerFont.Assign(FHeader->Font());
    const plat::TColor treeColor = Color();
    std::unique_ptr<plat::TBitmap> page;
    bool printing = false;
    TryFinally(
        [&] {
            const plat::TRect treeRect = GetTreeRect();
            const int width = static_cast<int>(treeRect.Width());
            const int headerHeight =
                printHeader && FHeader->Options().Contains(hoVisible) ? std::max(FHeader->Height(), 0) : 0;
            const std::int64_t height = std::int64_t{treeRect.Height()} + headerHeight;

            printer->BeginDoc();
            printing = true;
            // Page size in tree pixels: the printer's page scaled by how much
            // larger the tree's font comes out on it.
            plat::TCanvas* target = printer->Canvas();
            target->Font()->Assign(Font());
            plat::TBitmap measure(1, 1);
            measure.Canvas()->Font()->Assign(Font());
            const int screenText = measure.Canvas()->TextHeight("Tj");
            const int printerText = target->TextHeight("Tj");
            const double ratio = screenText > 0 && printerText > 0 ? double(printerText) / screenText : 1.0;
            const int pageWidth = std::max(1, static_cast<int>(std::lround(printer->PageWidth() / ratio)));
            const int pageHeight = std::max(1, static_cast<int>(std::lround(printer->PageHeight() / ratio)));
            const int columns = PageCount(width, pageWidth);
            const int rows = PageCount(height, pageHeight);

            SetColor(plat::clWhite);
            page = std::make_unique<plat::TBitmap>(pageWidth, pageHeight, plat::pf32bit);
            plat::TCanvas& canvas = *page->Canvas();
            for (int y = 0; y < rows; ++y) {
                for (int x = 0; x < columns; ++x) {
                    canvas.Brush()->SetStyle(plat::bsSolid);
                    canvas.Brush()->SetColor(plat::clWhite);
                    canvas.FillRect(plat::Rect(0, 0, pageWidth, pageHeight));
                    // The page's part of the picture of header and tree.
                    const int left = x * pageWidth;
                    const int right = std::min(left + pageWidth, width);
                    const std::int64_t top = std::int64_t{y} * pageHeight;
                    const std::int64_t bottom = std::min<std::int64_t>(top + pageHeight, height);
                    if (top < headerHeight) {
                        FHeader->Columns().PaintHeader(canvas, plat::Rect(left, 0, right, headerHeight),
                                                       plat::Point(0, static_cast<int>(-top)));
                        FHeader->Font()->Assign(&headerFont);
                    }
                    const std::int64_t treeTop = std::max<std::int64_t>(top, headerHeight) - headerHeight;
                    const std::int64_t treeBottom = bottom - headerHeight;
                    if (treeBottom > treeTop) {
                        PaintTree(canvas,
                                  plat::Rect(left, static_cast<int>(treeTop), right, static_cast<int>(treeBottom)),
                                  plat::Point(0, static_cast<int>(treeTop + headerHeight - top)), {poGridLines});
                    }
                    PrtStretchDrawDIB(*printer->Canvas(),
                                      plat::Rect(0, 0, printer->PageWidth(), printer->PageHeight() - 1), *page);
                    if (x + 1 < columns || y + 1 < rows) {
                        printer->NewPage();
                    }
                }
            }
            printing = false;
            printer->EndDoc();
        },
        [&] {
            page.reset();
            SetColor(treeColor);
            Font()->Assign(&treeFont);
            FHeader->Font()->Assign(&headerFont);
            if (printing) {
                printer->Abort();
            }
            EndUpdate();
        });
}

} // namespace qel

// Printing the data tree: the grid of pages for trees just narrower than,
// as wide as and just wider than a page (and the same in height), the
// header on the first page row only, every page matching its part of the
// tree as painted whole, the tree's colour and fonts back after a paint
// event raises, a tree taller than any single picture, and a PDF file.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/colors.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/graphics_errors.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/printer.h"
#include "tests/support/temp_dir.h"
#include "widgets/tree/data_tree_columns.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

// A printer that keeps every page as a bitmap (or, with KeepPages off,
// only the page being drawn) and remembers how the job ended.
class TPagePrinter : public plat::TCustomPrinter {
public:
    TPagePrinter(int width, int height) : FWidth(width), FHeight(height) {}

    int PageWidth() const override { return FWidth; }
    int PageHeight() const override { return FHeight; }
    plat::TCanvas* Canvas() override { return Pages.empty() ? nullptr : Pages.back()->Canvas(); }
    bool Printing() const override { return Running; }
    void BeginDoc() override
    {
        Pages.clear();
        PageCount = 0;
        Running = true;
        Ended = Aborted = false;
        AddPage();
    }
    void NewPage() override { AddPage(); }
    void EndDoc() override
    {
        Running = false;
        Ended = true;
    }
    void Abort() override
    {
        Running = false;
        Aborted = true;
    }

    std::vector<std::unique_ptr<plat::TBitmap>> Pages;
    int PageCount = 0;
    bool KeepPages = true;
    bool Running = false;
    bool Ended = false;
    bool Aborted = false;

private:
    void AddPage()
    {
        if (!KeepPages) {
            Pages.clear();
        }
        Pages.push_back(std::make_unique<plat::TBitmap>(FWidth, FHeight, plat::pf32bit));
        ++PageCount;
    }

    int FWidth;
    int FHeight;
};

constexpr int PageWidth = 100;
constexpr int PageHeight = 80;

class Printing : public TreeTest {
protected:
    Printing()
    {
        ShowForm();
        Tree->OnGetText = +[](plat::TObject*, PDataNode node, TColumnIndex, TDSTTextType, std::string& text) {
            text = "R" + std::to_string(node->fIndex);
        };
    }

    // Makes the tree's client area, and so its tree rectangle, width x
    // height (the rows must fit).
    void SizeTree(int width, int height)
    {
        Tree->SetBounds(0, 0, width + Tree->Width() - Tree->ClientWidth(),
                        height + Tree->Height() - Tree->ClientHeight());
        Host.PumpUntilIdle();
        ASSERT_EQ(Tree->GetTreeRect(), plat::Rect(0, 0, width, height));
    }

    // A shown header with one column of the given width.
    void AddHeader(int columnWidth)
    {
        TDataTreeColumn* column = Tree->Header()->Columns().Add();
        column->SetWidth(columnWidth);
        column->SetText("Name");
        Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
        Host.PumpUntilIdle();
    }

    // The whole tree painted as one picture the way a page sees it: white,
    // only grid lines, the header above when given.
    std::unique_ptr<plat::TBitmap> WholeTree(int headerHeight)
    {
        const plat::TRect r = Tree->GetTreeRect();
        auto whole = std::make_unique<plat::TBitmap>(static_cast<int>(r.Width()),
                                                     static_cast<int>(r.Height()) + headerHeight, plat::pf32bit);
        const plat::TColor color = Tree->Color();
        Tree->SetColor(plat::clWhite);
        if (headerHeight > 0) {
            Tree->Header()->Columns().PaintHeader(*whole->Canvas(), plat::Rect(0, 0, r.Width(), headerHeight),
                                                  plat::Point(0, 0));
        }
        Tree->PaintTree(*whole->Canvas(), r, plat::Point(0, headerHeight), {poGridLines});
        Tree->SetColor(color);
        return whole;
    }

    // Empty when page (column x, row y) shows its part of whole (white
    // beyond it) stretched over all but the page's last row, which stays
    // blank; else the first pixel that differs.
    static std::string CompareWithPart(plat::TBitmap& page, plat::TBitmap& whole, int x, int y)
    {
        const int w = page.Width();
        const int h = page.Height();
        plat::TBitmap part(w, h, plat::pf32bit);   // new pixels are white
        part.Canvas()->CopyRect(plat::Rect(0, 0, w, h), whole.Canvas(), plat::Rect(x * w, y * h, x * w + w, y * h + h));
        plat::TBitmap expected(w, h, plat::pf32bit);
        expected.DeviceContext()->StretchBlt(0, 0, w, h - 1, part.DeviceContext(), 0, 0, w, h, plat::SRCCOPY);
        for (int py = 0; py < h; ++py) {
            for (int px = 0; px < w; ++px) {
                if (page.Canvas()->Pixel(px, py) != expected.Canvas()->Pixel(px, py)) {
                    return "page " + std::to_string(x) + "," + std::to_string(y) + " pixel " + std::to_string(px) +
                           "," + std::to_string(py);
                }
            }
        }
        return "";
    }
};

// The pages form a grid of ceil(width / page width) columns and
// ceil(height / page height) rows: a tree exactly one page wide or high
// takes no blank column or row.
TEST_F(Printing, ThePageGridIsTheTreeSizeOverThePageSizeRoundedUp)
{
    struct TCase {
        int width;
        int height;
        int pages;
    };
    const std::vector<TCase> cases = {
        {PageWidth - 1, 60, 1},
        {PageWidth, 60, 1},
        {PageWidth + 1, 60, 2},
        {90, PageHeight - 1, 1},
        {90, PageHeight, 1},
        {90, PageHeight + 1, 2},
        {PageWidth + 1, PageHeight + 1, 4},
        {2 * PageWidth, 2 * PageHeight, 4},
    };
    Tree->SetRootNodeCount(2);
    for (const TCase& each : cases) {
        SCOPED_TRACE(std::to_string(each.width) + " x " + std::to_string(each.height));
        SizeTree(each.width, each.height);
        TPagePrinter printer(PageWidth, PageHeight);
        Tree->Print(&printer, true);
        EXPECT_TRUE(printer.Ended);
        ASSERT_EQ(printer.PageCount, each.pages);
        const std::unique_ptr<plat::TBitmap> whole = WholeTree(0);
        const int columns = (each.width + PageWidth - 1) / PageWidth;
        for (int page = 0; page < each.pages; ++page) {
            EXPECT_EQ(CompareWithPart(*printer.Pages[page], *whole, page % columns, page / columns), "");
        }
    }
}

// The header sits on top of the picture that is cut into pages, so only
// the first page row shows it; the rows go on where the page above ended.
TEST_F(Printing, TheHeaderIsOnTheFirstPageRowOnly)
{
    AddHeader(150);
    Tree->SetRootNodeCount(12);
    Tree->SetBounds(0, 0, 170, 140);
    Host.PumpUntilIdle();
    const int headerHeight = Tree->Header()->Height();
    ASSERT_GT(headerHeight, 0);
    const plat::TRect treeRect = Tree->GetTreeRect();
    ASSERT_EQ(treeRect.Width(), 150) << "the column is wider than the client";
    const int rows = static_cast<int>((treeRect.Height() + headerHeight + PageHeight - 1) / PageHeight);

    TPagePrinter printer(PageWidth, PageHeight);
    Tree->Print(&printer, true);
    ASSERT_EQ(printer.PageCount, 2 * rows);
    const std::unique_ptr<plat::TBitmap> whole = WholeTree(headerHeight);
    for (int page = 0; page < printer.PageCount; ++page) {
        EXPECT_EQ(CompareWithPart(*printer.Pages[page], *whole, page % 2, page / 2), "");
        SaveShot(*printer.Pages[page]->PixelSurface(), "tree_print_page" + std::to_string(page));
    }
    // The header's plate on the first row, tree rows below it.
    const plat::TColor plate = printer.Pages[0]->Canvas()->Pixel(60, headerHeight / 2);
    EXPECT_NE(plate, plat::clWhite);
    EXPECT_NE(printer.Pages[2]->Canvas()->Pixel(60, headerHeight / 2), plate) << "no header on the second row";

    // Without asking for it, no header at all.
    TPagePrinter plain(PageWidth, PageHeight);
    Tree->Print(&plain, false);
    const std::unique_ptr<plat::TBitmap> noHeader = WholeTree(0);
    ASSERT_EQ(plain.PageCount, 2 * static_cast<int>((treeRect.Height() + PageHeight - 1) / PageHeight));
    for (int page = 0; page < plain.PageCount; ++page) {
        EXPECT_EQ(CompareWithPart(*plain.Pages[page], *noHeader, page % 2, page / 2), "");
    }
}

// The tree prints white without selection or focus, and its own colour
// and fonts are back afterwards, also when a paint event raises halfway.
TEST_F(Printing, ColourAndFontsComeBackAlsoWhenPaintingFails)
{
    Tree->SetRootNodeCount(30);
    Tree->SetBounds(0, 0, 120, 100);
    Host.PumpUntilIdle();
    Tree->SetColor(0x80FFFF);
    Tree->SetFocusedNode(Tree->GetFirst());
    Tree->SetSelected(Tree->GetFirst(), true);
    const int fontHeight = Tree->Font()->Height();
    const plat::TColor headerColor = Tree->Header()->Font()->Color();

    Tree->Print(nullptr, true);
    EXPECT_EQ(Tree->UpdateCount(), 0u) << "nothing without a printer";

    std::vector<plat::TColor> colorsSeen;
    int painted = 0;
    Tree->OnBeforeItemPaint = [&](plat::TObject*, plat::TCanvas*, PDataNode, const plat::TRect&, bool&) {
        colorsSeen.push_back(Tree->Color());
        Tree->Font()->SetHeight(fontHeight * 2);
        Tree->Header()->Font()->SetColor(plat::clRed);
        if (++painted == 8) {
            throw std::runtime_error("paint failed");
        }
    };
    TPagePrinter printer(PageWidth, PageHeight);
    EXPECT_THROW(Tree->Print(&printer, true), std::runtime_error);
    EXPECT_EQ(colorsSeen.front(), plat::clWhite) << "printed in white";
    EXPECT_EQ(Tree->Color(), 0x80FFFFu) << "the live tree keeps its colour";
    EXPECT_EQ(Tree->Font()->Height(), fontHeight);
    EXPECT_EQ(Tree->Header()->Font()->Color(), headerColor);
    EXPECT_EQ(Tree->UpdateCount(), 0u);
    EXPECT_TRUE(printer.Aborted) << "the unfinished job is dropped";
    EXPECT_FALSE(printer.Ended);

    // A whole job: no selection or focus mark on paper.
    Tree->OnBeforeItemPaint = nullptr;
    TPagePrinter again(PageWidth, PageHeight);
    Tree->Print(&again, false);
    EXPECT_TRUE(again.Ended);
    EXPECT_EQ(Tree->Color(), 0x80FFFFu);
    const plat::TRect first = Tree->GetDisplayRect(Tree->GetFirst(), NoColumn, true);
    plat::TCanvas* page = again.Pages[0]->Canvas();
    EXPECT_EQ(page->Pixel(static_cast<int>(first.Right) - 1, static_cast<int>(first.Top) + 1), plat::clWhite)
        << "the selected row's text box is not filled";
}

// Each page is painted on its own, so a tree taller than the largest
// picture the canvas can hold prints all the same.
TEST_F(Printing, ATreeTallerThanAnyPicturePrints)
{
    Tree->SetDefaultNodeHeight(200);
    Tree->SetRootNodeCount(170);
    Tree->ValidateNode(nullptr, true);
    const plat::TRect r = Tree->GetTreeRect();
    ASSERT_GT(r.Height(), plat::TPixelSurface::MaxSide);
    constexpr int Width = 120;
    constexpr int Height = 1000;
    TPagePrinter printer(Width, Height);
    printer.KeepPages = false;
    Tree->Print(&printer, false);
    EXPECT_TRUE(printer.Ended);
    const int columns = static_cast<int>((r.Width() + Width - 1) / Width);
    EXPECT_EQ(printer.PageCount, columns * static_cast<int>((r.Height() + Height - 1) / Height));
    // The last page is the bottom right corner of the tree.
    plat::TBitmap corner(Width, Height, plat::pf32bit);
    const int left = (columns - 1) * Width;
    const int top = (printer.PageCount / columns - 1) * Height;
    Tree->SetColor(plat::clWhite);
    Tree->PaintTree(*corner.Canvas(),
                    plat::Rect(left, top, static_cast<int>(r.Width()), static_cast<int>(r.Height())),
                    plat::Point(0, 0), {poGridLines});
    EXPECT_EQ(CompareWithPart(*printer.Pages.back(), corner, 0, 0), "");
}

TEST_F(Printing, ToAPdfFile)
{
    qeltest::TempDir dir;
    Tree->SetRootNodeCount(20);
    Tree->SetBounds(0, 0, 200, 150);
    Host.PumpUntilIdle();
    const plat::TRect r = Tree->GetTreeRect();
    plat::TPrinter printer(300, 200, 1);
    // No file named: the job cannot start, and the tree is left as it was.
    EXPECT_THROW(Tree->Print(&printer, true), plat::EOutOfResources);
    EXPECT_EQ(Tree->UpdateCount(), 0u);

    printer.SetFileName(dir.File("tree.pdf"));
    Tree->Print(&printer, true);
    EXPECT_FALSE(printer.Printing());
    std::ifstream file(dir.File("tree.pdf"), std::ios::binary);
    const std::string pdf{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_GT(pdf.size(), 100u);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    const int pages = static_cast<int>((r.Height() + 199) / 200);
    ASSERT_GT(pages, 1);
    EXPECT_NE(pdf.find("/Count " + std::to_string(pages)), std::string::npos) << pages;
}

} // namespace
} // namespace qel::tree_test

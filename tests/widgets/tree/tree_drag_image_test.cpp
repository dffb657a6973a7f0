// The drag picture the tree draws itself: its alpha channel, moves it
// refuses, and the screen left exactly as it was after a drag of small
// steps has ended.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/pixel_surface.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/dt_drag_image.h"

#include <cmath>
#include <cstring>
#include <string>

namespace qel::tree_test {
namespace {

std::uint8_t AlphaAt(plat::TBitmap& bitmap, int x, int y)
{
    return bitmap.ScanLine(y)[4 * x + 3];
}

class DragImage : public TreeTest {
protected:
    DragImage() : TreeTest(plat::THeadlessOptions{plat::Rect(0, 0, 480, 360)})
    {
        Form->SetBounds(20, 20, 400, 300);
        ShowForm();
        Picture.Canvas()->Brush()->SetColor(plat::clNavy);
        Picture.Canvas()->FillRect(plat::Rect(0, 0, 40, 40));
        Picture.Canvas()->Brush()->SetColor(plat::clLime);
        Picture.Canvas()->FillRect(plat::Rect(0, 0, 4, 4));
    }

    plat::TBitmap Picture{40, 40, plat::pf32bit};
    TDTDragImage Image{Tree};
};

TEST_F(DragImage, AlphaFallsFromTheCentreAndTheColourKeyIsClear)
{
    Image.PrepareDrag(Picture, plat::Point(30, 30), plat::Point(50, 40));
    plat::TBitmap& made = *Image.DragImage();
    EXPECT_EQ(AlphaAt(made, 20, 20), 255) << "the centre";
    EXPECT_EQ(AlphaAt(made, 0, 20), 5) << "half the larger side away";
    EXPECT_EQ(AlphaAt(made, 20, 0), 5);
    EXPECT_EQ(AlphaAt(made, 30, 20), static_cast<std::uint8_t>(std::nearbyint(255 * std::exp(-8 * 0.25))));
    EXPECT_EQ(Image.States(), (TDTDragImageStates{disHidden, disInDrag, disPrepared}));
    ASSERT_EQ(Image.ColorKey(), plat::clNone);
    const double corner = std::sqrt(2.0 * (19.0 / 40) * (19.0 / 40));
    EXPECT_EQ(AlphaAt(made, 1, 1), static_cast<std::uint8_t>(std::nearbyint(255 * std::exp(-8 * corner))))
        << "without a colour key no pixel is cleared";
    EXPECT_GT(AlphaAt(made, 1, 1), 0);

    TDTDragImage keyed(Tree);
    keyed.SetColorKey(plat::clLime);
    keyed.PrepareDrag(Picture, plat::Point(30, 30), plat::Point(50, 40));
    EXPECT_EQ(AlphaAt(*keyed.DragImage(), 1, 1), 0) << "exactly the colour key";
    EXPECT_GT(AlphaAt(*keyed.DragImage(), 5, 5), 0);
}

TEST_F(DragImage, MovesItRefuses)
{
    Image.SetMoveRestriction(dmrHorizontalOnly);
    Image.PrepareDrag(Picture, plat::Point(60, 60), plat::Point(80, 70));
    Image.ShowDragImage();
    ASSERT_TRUE(Image.Visible());
    EXPECT_FALSE(Image.DragTo(plat::Point(80, 70), false)) << "the same place";
    EXPECT_FALSE(Image.WillMove(plat::Point(80, 90)));
    EXPECT_FALSE(Image.DragTo(plat::Point(80, 90), false)) << "vertical moves are restricted";
    EXPECT_EQ(Image.ImagePosition(), plat::Point(60, 60));
    EXPECT_TRUE(Image.WillMove(plat::Point(85, 90)));
    EXPECT_TRUE(Image.DragTo(plat::Point(85, 90), false));
    EXPECT_EQ(Image.ImagePosition(), plat::Point(65, 60));
    EXPECT_TRUE(Image.DragTo(plat::Point(85, 90), true)) << "forced";
    Image.EndDrag();
    EXPECT_FALSE(Image.Visible());
}

TEST_F(DragImage, TheScreenIsAsBeforeAfterADragOfSmallSteps)
{
    const auto before = Host.CaptureScreen();
    Image.PrepareDrag(Picture, plat::Point(60, 60), plat::Point(80, 70));
    Image.ShowDragImage();
    const auto during = Host.CaptureScreen();
    EXPECT_NE(std::memcmp(before->ScanLine(70), during->ScanLine(70), static_cast<std::size_t>(before->RowBytes())), 0)
        << "the picture shows";
    const plat::TPoint steps[] = {{81, 70}, {83, 71}, {86, 69}, {84, 74}, {79, 68}, {150, 150}, {148, 149}, {80, 70}};
    for (const plat::TPoint& p : steps) {
        Image.DragTo(p, false);
    }
    Image.EndDrag();
    const auto after = Host.CaptureScreen();
    ASSERT_EQ(before->Height(), after->Height());
    int differing = 0;
    for (int y = 0; y < before->Height(); ++y) {
        differing += std::memcmp(before->ScanLine(y), after->ScanLine(y), static_cast<std::size_t>(before->RowBytes())) != 0;
    }
    EXPECT_EQ(differing, 0) << "rows that differ";
}

// While the header's drag picture shows, the tree repaints what lies
// under it into the picture's kept copy (rows and header) and the rest on
// the screen: once the picture ends, the screen is the tree as painted
// anew.
TEST_F(DragImage, TheKeptCopyTakesTheTreePaintedAnewUnderThePicture)
{
    Tree->SetBounds(0, 0, 300, 200);
    for (const char* caption : {"First", "Second"}) {
        TDataTreeColumn* column = Tree->Header()->Columns().Add();
        column->SetText(caption);
        column->SetWidth(120);
    }
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
    std::string text = "old";
    Tree->OnGetText = [&text](plat::TObject*, PDataNode, TColumnIndex, TDSTTextType, std::string& cell) { cell = text; };
    Tree->SetRootNodeCount(5);
    Host.PumpUntilIdle();
    TDTDragImage& image = *Tree->Header()->DragImage();
    // The picture over the header and the first rows.
    const plat::TPoint corner = Tree->ClientToScreen(plat::Point(30, -Tree->Header()->Height()));
    image.PrepareDrag(Picture, corner, plat::Point(corner.X + 20, corner.Y + 20));
    image.ShowDragImage();
    ASSERT_TRUE(image.Visible());

    Tree->Header()->Columns()[0]->SetText("Renamed");   // marks the header; not painted yet
    text = "new";
    Tree->UpdateWindowAndDragImage(Tree, Tree->HeaderRect(), true, true);
    Tree->UpdateWindowAndDragImage(Tree, Tree->ClientRect(), false, true);
    EXPECT_TRUE(image.Visible()) << "shown again";
    image.EndDrag();
    const auto restored = Host.CaptureScreen();
    Tree->Header()->Invalidate();
    static_cast<TBaseDataTree*>(Tree)->Invalidate();
    Host.PumpUntilIdle();
    const auto repainted = Host.CaptureScreen();
    int differing = 0;
    for (int y = 0; y < restored->Height(); ++y) {
        differing +=
            std::memcmp(restored->ScanLine(y), repainted->ScanLine(y), static_cast<std::size_t>(restored->RowBytes())) != 0;
    }
    EXPECT_EQ(differing, 0) << "rows of the screen that differ";
}

} // namespace
} // namespace qel::tree_test

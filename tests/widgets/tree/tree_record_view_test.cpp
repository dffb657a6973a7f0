// The record tree as the record page shows it, end to end on the headless
// host: a form of 800 x 600 with the tree filled and its columns fitted,
// captured from the screen and saved as PNG; probes at computed positions
// find the checked radio button, the unchecked "Select all" box, the
// dotted tree lines and the captioned header plates.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/image_list.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/controls/window.h"

#include <filesystem>
#include <string>

namespace qel::tree_test {
namespace {

class RecordView : public RecordTreeTest {
protected:
    RecordView()
    {
        Form->SetBounds(0, 0, 800, 600);
        ShowForm();
        Tree->SetBounds(0, 0, 760, 560);
        TDataTreeColumns& columns = Tree->Header()->Columns();
        Tree->BeginUpdate();
        columns.Clear();
        const char* captions[] = {"Record", "Start time", "Pages", "Position"};
        const int minWidths[] = {200, 150, 80, 80};
        for (int i = 0; i < 4; ++i) {
            TDataTreeColumn* column = columns.Add();
            column->SetOptions(column->Options() - TDTColumnOptions{coAllowClick});
            column->SetText(captions[i]);
            column->SetMinWidth(minWidths[i]);
        }
        Tree->Header()->SetHeight(15);
        Tree->Header()->SetStyle(hsPlates);
        Tree->Header()->SetAutoSizeIndex(3);
        Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoAutoResize, hoColumnResize, hoVisible});
        Tree->OnGetText = [this](plat::TObject*, PDataNode node, TColumnIndex column, TDSTTextType, std::string& text) {
            const TRecordNodeData* data = Tree->GetNodeData<TRecordNodeData>(node);
            const std::string* texts[] = {&data->Caption, &data->Time, &data->Pages, &data->Pos};
            text = column >= 0 && column < 4 ? *texts[column] : data->Caption;
        };
        Tree->EndUpdate();
        Fill(SerialsABA);
        Tree->BeginUpdate();
        Tree->SetExpanded(Loggers[0], true);
        Tree->SetExpanded(SelectAll(0), true);
        Tree->Header()->AutoFitColumns();
        Tree->EndUpdate();
        Host.PumpUntilIdle();
        Screen = Host.Capture(Form->Handle());
        plat::TPoint origin = plat::Point(0, 0);
        plat::ClientToScreen(Tree->Handle(), origin);
        plat::TRect formBounds;
        plat::GetWindowRect(Form->Handle(), formBounds);
        Origin = plat::Point(origin.X - formBounds.Left, origin.Y - formBounds.Top);
    }

    // The screen's colour at a point of the tree's client area (negative y:
    // the header band).
    plat::COLORREF At(int x, int y) const
    {
        const int bytes = Screen->BitsPerPixel() / 8;
        const std::uint8_t* p = Screen->ScanLine(Origin.Y + y) + bytes * (Origin.X + x);
        return static_cast<plat::COLORREF>(p[2] | (p[1] << 8) | (p[0] << 16));
    }

    // Pixels of a node's check picture that differ from image index of the
    // tree's set drawn over the tree's background.
    int CheckPictureDiffers(PDataNode node, int index)
    {
        TDTOffsets offsets{};
        Tree->GetOffsets(node, offsets, ofsStateImage);
        const plat::TRect row = Tree->GetDisplayRect(node, NoColumn, false);
        const int height = static_cast<int>(row.Height());
        const int top = static_cast<int>(row.Top) + plat::MulDiv(height - 9, 50, 100) + 9 / 2 - 13 / 2;
        plat::TBitmap expected(13, 13, plat::pf32bit);
        expected.Canvas()->Brush()->SetColor(Tree->Color());
        expected.Canvas()->FillRect(plat::Rect(0, 0, 13, 13));
        Tree->CheckImages()->Draw(expected.Canvas(), 0, 0, index, plat::dsTransparent, plat::itImage);
        int differs = 0;
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                const plat::TColor c = expected.Canvas()->Pixel(x, y);
                differs += At(offsets[ofsCheckBox] + x, top + y) != (static_cast<plat::COLORREF>(c) & 0xFFFFFF) ? 1 : 0;
            }
        }
        return differs;
    }

    std::unique_ptr<plat::TPixelSurface> Screen;
    plat::TPoint Origin;
};

TEST_F(RecordView, TheRecordPageShowsChecksLinesAndCaptionedPlates)
{
    const std::filesystem::path png = std::filesystem::path(::testing::TempDir()) / "record_tree_800x600.png";
    Host.SaveScreenshot(Form->Handle(), png.string());
    EXPECT_TRUE(std::filesystem::exists(png));

    EXPECT_EQ(CheckPictureDiffers(Loggers[0], 5), 0) << "logger 1: a checked radio button";
    EXPECT_EQ(CheckPictureDiffers(Loggers[1], 1), 0) << "logger 2: an unchecked radio button";
    EXPECT_EQ(CheckPictureDiffers(SelectAll(0), 9), 0) << "\"Select all\": an unchecked box";
    EXPECT_EQ(CheckPictureDiffers(Records(0)[2], 9), 0);

    // Logger 1's line runs from its button down past its records, dotted.
    const int x = Tree->Margin() + Tree->Indent() / 2;
    const plat::TRect last = Tree->GetDisplayRect(Records(0)[2], NoColumn, false);
    const plat::COLORREF line = plat::ToColorRef(plat::ColorToRGB(Tree->Colors()->TreeLineColor())) & 0xFFFFFF;
    int dots = 0;
    for (int y = static_cast<int>(last.Top); y < last.Bottom; ++y) {
        dots += At(x, y) == line ? 1 : 0;
    }
    EXPECT_GE(dots, static_cast<int>(last.Height()) / 2 - 1);
    EXPECT_LE(dots, static_cast<int>(last.Height()) / 2 + 1);

    // Each plate: a raised edge (highlight above, shadow at its right end)
    // and caption ink inside.
    const int headerTop = -Tree->Header()->Height();
    const plat::COLORREF highlight = plat::ToColorRef(plat::ColorToRGB(plat::clBtnHighlight)) & 0xFFFFFF;
    const plat::COLORREF shadow = plat::ToColorRef(plat::ColorToRGB(plat::clBtnShadow)) & 0xFFFFFF;
    const plat::COLORREF face = plat::ToColorRef(plat::ColorToRGB(Tree->Header()->Background())) & 0xFFFFFF;
    for (TColumnIndex i = 0; i < 4; ++i) {
        const TDataTreeColumn* column = Tree->Header()->Columns()[i];
        const int left = column->AbsoluteLeft();
        EXPECT_EQ(At(left + 5, headerTop), highlight) << "plate " << i;
        EXPECT_EQ(At(left + column->Width() - 1, headerTop + 5), shadow) << "plate " << i;
        int ink = 0;
        for (int y = headerTop + 2; y < -2; ++y) {
            for (int cx = left + 6; cx < left + 40; ++cx) {
                ink += At(cx, y) != face ? 1 : 0;
            }
        }
        EXPECT_GT(ink, 20) << "caption of plate " << i;
    }
}

} // namespace
} // namespace qel::tree_test

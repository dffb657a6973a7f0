// Painting the data tree's header, recorded call by call: the record
// tree's plates with left-aligned captions, the edges of every style and
// look, the right edge decided by position, shortened, pressed and
// disabled captions, check-box glyphs, parts the application draws, and
// fixed columns staying while the others scroll.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/image_list.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/recording_dc.h"
#include "platform/controls/window.h"
#include "platform/controls/window_messages.h"

#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

class HeaderPaint : public RecordTreeTest {
protected:
    HeaderPaint()
    {
        ShowForm();
        Tree->SetBounds(0, 0, 600, 200);
        TDataTreeColumns& columns = Tree->Header()->Columns();
        columns.BeginUpdate();
        const char* captions[] = {"Record", "Start time", "Pages", "Position"};
        const int minWidths[] = {200, 150, 80, 80};
        for (int i = 0; i < 4; ++i) {
            TDataTreeColumn* column = columns.Add();
            column->SetOptions(column->Options() - TDTColumnOptions{coAllowClick});
            column->SetText(captions[i]);
            column->SetMinWidth(minWidths[i]);
        }
        columns.EndUpdate();
        Tree->Header()->SetHeight(15);
        Tree->Header()->SetStyle(hsPlates);
        Tree->Header()->SetAutoSizeIndex(3);
        Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoAutoResize, hoVisible});
        Host.PumpUntilIdle();
    }

    TDataTreeColumns& Columns() { return Tree->Header()->Columns(); }

    // The header painted onto a recording canvas from x = 0.
    void Record(int width = -1)
    {
        Recorder.Clear();
        plat::TCanvas canvas(&Recorder);
        if (width < 0) {
            width = Columns().TotalWidth();
        }
        Columns().PaintHeader(canvas, plat::Rect(0, 0, width, Tree->Header()->Height()), plat::Point(0, 0));
    }

    std::vector<const plat::TRecordedCall*> Edges() const { return Recorder.CallsNamed("DrawEdge"); }
    // The recorded captions, text drawing calls only (no measuring).
    std::vector<const plat::TRecordedCall*> Captions() const
    {
        std::vector<const plat::TRecordedCall*> captions;
        for (const plat::TRecordedCall* call : Recorder.CallsNamed("DrawText")) {
            if ((call->Args[4] & plat::DT_CALCRECT) == 0) {
                captions.push_back(call);
            }
        }
        return captions;
    }
    // (kind, flags) of the edge drawn at column's left.
    std::pair<std::int64_t, std::int64_t> EdgeOf(TColumnIndex column) const
    {
        const int left = Tree->Header()->Columns()[column]->AbsoluteLeft();
        for (const plat::TRecordedCall* call : Edges()) {
            if (call->Args[0] == left) {
                return {call->Args[4], call->Args[5]};
            }
        }
        return {-1, -1};
    }

    plat::TRecordingDC Recorder{nullptr, 800, 40};
};

TEST_F(HeaderPaint, TheRecordTreeShowsFourPlatesWithLeftAlignedCaptions)
{
    Record();
    ASSERT_EQ(Edges().size(), 4u);
    const std::vector<const plat::TRecordedCall*> captions = Captions();
    ASSERT_EQ(captions.size(), 4u);
    const char* texts[] = {"Record", "Start time", "Pages", "Position"};
    for (TColumnIndex i = 0; i < 4; ++i) {
        const TDataTreeColumn* column = Columns()[i];
        EXPECT_EQ(EdgeOf(i), (std::pair<std::int64_t, std::int64_t>{plat::BDR_RAISEDINNER, 0x380F})) << i;
        EXPECT_EQ(Edges()[static_cast<std::size_t>(i)]->Args[2], column->AbsoluteLeft() + column->Width());
        EXPECT_EQ(captions[static_cast<std::size_t>(i)]->Text, texts[i]);
        EXPECT_EQ(captions[static_cast<std::size_t>(i)]->Args[4], 0x0800) << "left, no prefix";
        EXPECT_EQ(captions[static_cast<std::size_t>(i)]->Args[0], column->AbsoluteLeft() + 2 + column->Margin());
    }
    EXPECT_EQ(Columns()[3]->Width(), 600 - 200 - 150 - 80 - Tree->Width() + Tree->ClientWidth())
        << "the auto-size column takes the rest of the client";
}

TEST_F(HeaderPaint, EdgesByStyleAndLook)
{
    using TEdge = std::pair<std::int64_t, std::int64_t>;
    struct TCase {
        const char* name;
        TDTHeaderStyle style;
        int hover;
        int down;
        bool allowClick;
        TEdge edge;
    };
    const std::vector<TCase> cases = {
        {"thick, normal", hsThickButtons, -1, -1, true, {plat::EDGE_RAISED, 0x380F}},
        {"thick, pressed", hsThickButtons, -1, 1, true, {plat::EDGE_RAISED, 0x780F}},
        {"thick, hot: normal", hsThickButtons, 1, -1, true, {plat::EDGE_RAISED, 0x380F}},
        {"flat, normal", hsFlatButtons, -1, -1, true, {plat::BDR_RAISEDINNER, 0x280F}},
        {"flat, pressed", hsFlatButtons, -1, 1, true, {plat::BDR_SUNKENOUTER, 0x280F}},
        {"plates, normal", hsPlates, -1, -1, true, {plat::BDR_RAISEDINNER, 0x380F}},
        {"plates, pressed", hsPlates, -1, 1, true, {plat::BDR_SUNKENOUTER, 0x280F}},
        {"plates, hot", hsPlates, 1, -1, true, {plat::BDR_RAISEDINNER, 0x280F}},
        {"plates, hot without coAllowClick", hsPlates, 1, -1, false, {plat::BDR_RAISEDINNER, 0x380F}},
    };
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoHotTrack});
    for (const TCase& c : cases) {
        Tree->Header()->SetStyle(c.style);
        TDataTreeColumn* column = Columns()[1];
        column->SetOptions(c.allowClick ? column->Options() + TDTColumnOptions{coAllowClick}
                                        : column->Options() - TDTColumnOptions{coAllowClick});
        Columns().SetHoverIndex(c.hover);
        Columns().SetDownIndex(c.down);
        Record();
        EXPECT_EQ(EdgeOf(1), c.edge) << c.name;
    }
}

// With a bevelled frame and hoAutoResize the last button leaves out its
// right edge; which one is last goes by position, so after a move no
// middle button loses its edge.
TEST_F(HeaderPaint, TheLastButtonByPositionLeavesOutItsRightEdge)
{
    Tree->Bevelled = true;
    Record();
    EXPECT_EQ(EdgeOf(3).second, 0x380B) << "no right side";
    EXPECT_EQ(EdgeOf(2).second, 0x380F);
    Columns()[3]->SetPosition(1);
    Record();
    EXPECT_EQ(EdgeOf(3).second, 0x380F) << "moved into the middle: keeps its edge";
    EXPECT_EQ(EdgeOf(2).second, 0x380B) << "now last";
    Tree->Header()->SetOptions(Tree->Header()->Options() - TDTHeaderOptions{hoAutoResize});
    Record();
    EXPECT_EQ(EdgeOf(2).second, 0x380F) << "without hoAutoResize every button has four sides";
}

TEST_F(HeaderPaint, CaptionsShortenMoveWhenPressedAndEmbossWhenDisabled)
{
    Columns()[1]->SetText("A caption far too long for its button");
    Record();
    const std::string shortened = Captions()[1]->Text;
    ASSERT_GT(shortened.size(), 3u);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), "...");
    const std::int64_t normalLeft = Captions()[1]->Args[0];
    const std::int64_t normalTop = Captions()[1]->Args[1];

    Columns().SetDownIndex(1);
    Record();
    EXPECT_EQ(Captions()[1]->Args[0], normalLeft + 1);
    EXPECT_EQ(Captions()[1]->Args[1], normalTop + 1);
    Columns().SetDownIndex(-1);

    Columns()[2]->SetOptions(Columns()[2]->Options() - TDTColumnOptions{coEnabled});
    Record();
    std::vector<const plat::TRecordedCall*> pages;
    for (const plat::TRecordedCall* call : Captions()) {
        if (call->Text == "Pages") {
            pages.push_back(call);
        }
    }
    ASSERT_EQ(pages.size(), 2u) << "drawn twice";
    EXPECT_EQ(pages[0]->State.TextColor, plat::ToColorRef(plat::clBtnHighlight));
    EXPECT_EQ(pages[1]->State.TextColor, plat::ToColorRef(plat::clBtnShadow));
    EXPECT_EQ(pages[0]->Args[0], pages[1]->Args[0] + 1);
    EXPECT_EQ(pages[0]->Args[1], pages[1]->Args[1] + 1);

    Columns()[1]->SetOptions(Columns()[1]->Options() + TDTColumnOptions{coWrapCaption});
    Record();
    for (const plat::TRecordedCall* call : Captions()) {
        EXPECT_EQ(call->Text.find("..."), std::string::npos) << "a wrapped caption is never shortened";
    }
}

TEST_F(HeaderPaint, ACheckBoxColumnKeepsWhereItsBoxWentAndASortArrowWins)
{
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoShowImages});
    TDataTreeColumn* column = Columns()[1];
    column->SetCheckBox(true);
    Record();
    ASSERT_TRUE(column->HasImage());
    const plat::TRect box = column->ImageRect();
    EXPECT_EQ(box.Width(), 13);
    EXPECT_EQ(box.Left, column->AbsoluteLeft() + 2 + column->Margin() - 2) << "glyphs sit two pixels left";
    const std::vector<const plat::TRecordedCall*> captions = Captions();
    EXPECT_GE(captions[1]->Args[0], box.Right) << "the caption after the box";

    // An image that would reach the sort arrow of a narrow column is left out.
    plat::TCustomImageList images(nullptr);
    images.SetSize(16, 16);
    plat::TBitmap picture(16, 16);
    images.Add(&picture, nullptr);
    Tree->Header()->SetImages(&images);
    TDataTreeColumn* pages = Columns()[2];
    pages->SetImageIndex(0);
    pages->SetText("");
    pages->SetMinWidth(10);
    pages->SetWidth(30);
    Tree->Header()->SetSortColumn(2);
    Record();
    EXPECT_FALSE(pages->HasImage());
    Tree->Header()->SetSortColumn(NoColumn);
    Record();
    EXPECT_TRUE(pages->HasImage()) << "without the arrow the image shows";
    Tree->Header()->SetImages(nullptr);
}

// The header follows its image list: a changed list repaints it, and a
// freed list is dropped (the next paint draws without it).
TEST_F(HeaderPaint, TheHeaderFollowsItsImageListAndDropsAFreedOne)
{
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoShowImages});
    auto* images = new plat::TCustomImageList(nullptr);
    images->SetSize(16, 16);
    const auto addFilled = [images](plat::TColor color) {
        plat::TBitmap picture(16, 16, plat::pf32bit);
        picture.Canvas()->Brush()->SetColor(color);
        picture.Canvas()->FillRect(plat::Rect(0, 0, 16, 16));
        images->Add(&picture, nullptr);
    };
    addFilled(plat::clBlue);
    Tree->Header()->SetImages(images);
    TDataTreeColumn* column = Columns()[1];
    column->SetImageIndex(0);
    Host.PumpUntilIdle();
    ASSERT_TRUE(column->HasImage());
    const plat::TRect box = column->ImageRect();   // window coordinates
    plat::TRect treeBounds;
    plat::TRect formBounds;
    plat::GetWindowRect(Tree->Handle(), treeBounds);
    plat::GetWindowRect(Form->Handle(), formBounds);
    const auto glyphPixel = [&] {
        const auto shot = Host.Capture(Form->Handle());
        return CapturePixel(*shot, plat::Point(treeBounds.Left - formBounds.Left, treeBounds.Top - formBounds.Top),
                            static_cast<int>(box.Left) + 8, static_cast<int>(box.Top) + 8);
    };
    EXPECT_EQ(glyphPixel(), 0xFF0000u) << "blue, as RGB";

    images->Clear();
    addFilled(plat::clRed);
    Host.PumpUntilIdle();
    EXPECT_EQ(glyphPixel(), 0x0000FFu) << "the changed list repainted the header";

    delete images;
    EXPECT_EQ(Tree->Header()->Images(), nullptr);
    Tree->Header()->Invalidate();
    Host.PumpUntilIdle();
    EXPECT_FALSE(column->HasImage()) << "painted without the list";
}

TEST_F(HeaderPaint, TheApplicationMayDrawTheCaptionItself)
{
    std::vector<std::pair<TDataTreeColumn*, THeaderPaintElements>> drawn;
    Tree->OnHeaderDrawQueryElements = +[](TDTHeader*, THeaderPaintInfo& info, THeaderPaintElements& elements) {
        if (info.Column != nullptr) {
            elements = {hpeText, hpeBackground};
        }
    };
    Tree->OnAdvancedHeaderDraw = [&drawn](TDTHeader*, THeaderPaintInfo& info, const THeaderPaintElements& elements) {
        drawn.emplace_back(info.Column, elements);
    };
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoOwnerDraw});
    Record();
    EXPECT_TRUE(Captions().empty());
    EXPECT_TRUE(Edges().empty()) << "the buttons' backgrounds are the application's too";
    ASSERT_EQ(drawn.size(), 8u) << "per column: the background, then the rest once";
    EXPECT_EQ(drawn[0].second, THeaderPaintElements{hpeBackground});
    EXPECT_EQ(drawn[1].second, THeaderPaintElements{hpeText});
    EXPECT_EQ(drawn[1].first, Columns()[0]);
}

// A header wider than its columns fills the rest with its background; a
// fixed column stays in place while the others move with the view.
TEST_F(HeaderPaint, TheBandBeyondTheColumnsAndFixedColumns)
{
    Tree->Header()->SetOptions(Tree->Header()->Options() - TDTHeaderOptions{hoAutoResize});
    Columns()[3]->SetWidth(80);
    Tree->Header()->SetBackground(plat::clTeal);
    Record(700);
    const std::vector<const plat::TRecordedCall*> fills = Recorder.CallsNamed("FillRect");
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0]->Args[2], 700) << "the whole band";
    EXPECT_EQ(fills[0]->Args[5], plat::ToColorRef(plat::clTeal));
    EXPECT_EQ(Edges().size(), 4u) << "buttons only where columns are";

    Columns()[0]->SetOptions(Columns()[0]->Options() + TDTColumnOptions{coFixed});
    const plat::TRect band = plat::Rect(0, 0, 600, 15);
    const auto paintBand = [&](int hOffset) {
        auto bitmap = std::make_unique<plat::TBitmap>(600, 15, plat::pf32bit);
        Columns().PaintHeader(bitmap->DeviceContext(), band, hOffset);
        return bitmap;
    };
    const auto still = paintBand(0);
    const auto scrolled = paintBand(-60);
    int fixedDiffers = 0;
    int movedDiffers = 0;
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 200; ++x) {
            fixedDiffers += still->Canvas()->Pixel(x, y) != scrolled->Canvas()->Pixel(x, y) ? 1 : 0;
        }
        for (int x = 200; x < 540; ++x) {
            movedDiffers += still->Canvas()->Pixel(x + 60, y) != scrolled->Canvas()->Pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(fixedDiffers, 0);
    EXPECT_EQ(movedDiffers, 0);
}

// The print message copies the header band, composed off screen, into the
// given device context; with PRF_CHECKVISIBLE a hidden tree prints nothing.
TEST_F(HeaderPaint, ThePrintMessageCopiesTheHeaderUnlessHiddenAndAskedToCheck)
{
    const auto print = [this](plat::LPARAM flags) {
        Recorder.Clear();
        plat::SendMessage(Tree->Handle(), plat::WM_PRINT,
                          reinterpret_cast<plat::WPARAM>(static_cast<plat::HDC>(&Recorder)), flags);
        return Recorder.CallsNamed("BitBlt");
    };
    const std::vector<const plat::TRecordedCall*> copies = print(plat::PRF_CLIENT | plat::PRF_CHECKVISIBLE);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0]->Args[2], Tree->HeaderRect().Width()) << "the band's width";
    EXPECT_EQ(copies[0]->Args[3], Tree->Header()->Height()) << "and its height";
    Tree->SetVisible(false);
    EXPECT_TRUE(print(plat::PRF_CLIENT | plat::PRF_CHECKVISIBLE).empty());
    EXPECT_EQ(print(plat::PRF_CLIENT).size(), 1u) << "without the check a hidden tree prints too";
    Tree->Header()->SetOptions(Tree->Header()->Options() - TDTHeaderOptions{hoVisible});
    EXPECT_TRUE(print(plat::PRF_CLIENT).empty()) << "no band, nothing to print";
}

TEST_F(HeaderPaint, CaptionWidthCountsTextGlyphAndSortArrow)
{
    TDataTreeColumn* column = Columns()[1];
    plat::TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(Tree->Header()->Font());
    const int text = measure.Canvas()->TextWidth("Start time") + 2;
    EXPECT_EQ(column->CaptionWidth(), text);
    Tree->Header()->SetSortColumn(1);
    EXPECT_EQ(column->CaptionWidth(), text + 16 + column->Spacing() + 2);
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoShowImages});
    column->SetCheckBox(true);
    EXPECT_EQ(column->CaptionWidth(), text + 13 + column->Spacing() + 16 + column->Spacing() + 2);
    column->SetText("");
    Tree->Header()->SetSortColumn(NoColumn);
    EXPECT_EQ(column->CaptionWidth(), 13 + column->Spacing());
}

} // namespace
} // namespace qel::tree_test

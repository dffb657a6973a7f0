// What the data tree draws in front of a node's text: the expand-button
// pictures by style and fill mode, the tree-line steps of a row and their
// dotted pixels across rows of odd height, the check and radio pictures of
// the tree's own set, the erase message, the frame and the background
// picture behind the rows.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/control_drawing.h"
#include "platform/canvas/graphic.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/image_list.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/printer.h"
#include "platform/controls/drag_drop.h"
#include "platform/controls/window.h"
#include "platform/controls/window_manager.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_paint.h"
#include "tests/support/temp_dir.h"

#include <map>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

plat::COLORREF Rgb(plat::TColor color)
{
    return static_cast<plat::COLORREF>(plat::ColorToRGB(color)) & 0xFFFFFF;
}

plat::COLORREF PixelOf(plat::TBitmap& bitmap, int x, int y)
{
    const std::uint8_t* p = bitmap.ScanLine(y) + 4 * x;
    return static_cast<plat::COLORREF>(p[2] | (p[1] << 8) | (p[0] << 16));
}

// ---- button pictures ----

using ButtonPictures = TreeTest;

// At 96 dpi: 9 x 9, a frame in the tree-line colour, the fill of the fill
// mode, and strokes over pixels 2 to 6 in the node font colour.
TEST_F(ButtonPictures, ClassicRectanglesByFillMode)
{
    ShowForm();   // the tree-line colour rebuilds the pictures of a tree with a window
    Tree->Colors()->SetByIndex(ciTreeLineColor, plat::clNavy);
    Tree->Font()->SetColor(plat::clMaroon);
    Tree->SetColor(plat::clYellow);
    struct TCase {
        TDTButtonFillMode mode;
        plat::TColor fill;
    };
    for (const TCase& c : {TCase{fmTreeColor, plat::clYellow}, TCase{fmWindowColor, plat::clWindow},
                           TCase{fmTransparent, plat::clFuchsia}}) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        Tree->SetButtonFillMode(c.mode);
        Tree->PrepareBitmaps(true, false);
        for (const bool plus : {true, false}) {
            plat::TBitmap& button = plus ? *Tree->FPlusBM : *Tree->FMinusBM;
            ASSERT_EQ(button.Width(), 9);
            ASSERT_EQ(button.Height(), 9);
            for (int y = 0; y < 9; ++y) {
                for (int x = 0; x < 9; ++x) {
                    plat::TColor expected = c.fill;
                    if (x == 0 || y == 0 || x == 8 || y == 8) {
                        expected = plat::clNavy;
                    } else if ((y == 4 && x >= 2 && x <= 6) || (plus && x == 4 && y >= 2 && y <= 6)) {
                        expected = plat::clMaroon;
                    }
                    ASSERT_EQ(PixelOf(button, x, y), Rgb(expected)) << (plus ? "plus " : "minus ") << x << "," << y;
                }
            }
        }
        EXPECT_EQ(PixelOf(*Tree->FHotPlusBM, 4, 4), PixelOf(*Tree->FPlusBM, 4, 4)) << "hot pictures are copies";
    }
}

// The triangle keeps its 9-pixel shape in the 14-pixel picture of 144 dpi.
TEST_F(ButtonPictures, TrianglesKeepTheirShapeAtHigherResolution)
{
    Tree->SetCurrentPPI(144);
    Tree->SetButtonStyle(bsTriangle);
    Tree->PrepareBitmaps(true, false);
    plat::TBitmap& minus = *Tree->FMinusBM;
    plat::TBitmap& plus = *Tree->FPlusBM;
    ASSERT_EQ(minus.Width(), 14);
    EXPECT_EQ(PixelOf(minus, 4, 3), Rgb(plat::clBlack)) << "inside (0,2) (8,2) (4,6)";
    EXPECT_EQ(PixelOf(minus, 4, 7), Rgb(plat::clFuchsia)) << "below the tip";
    EXPECT_EQ(PixelOf(plus, 3, 4), Rgb(plat::clBlack)) << "inside (2,0) (6,4) (2,8)";
    for (int y = 0; y < 14; ++y) {
        for (int x = 9; x < 14; ++x) {
            ASSERT_EQ(PixelOf(minus, x, y), Rgb(plat::clFuchsia)) << x << "," << y;
            ASSERT_EQ(PixelOf(plus, y, x), Rgb(plat::clFuchsia)) << y << "," << x;
        }
    }
}

// The application draws the pictures; the tree takes the size it answers.
TEST_F(ButtonPictures, TheApplicationMayDrawThem)
{
    int calls = 0;
    plat::TSize answer{9, 9};
    Tree->SetOnPrepareButtonBitmaps([&calls, &answer](plat::TObject*, plat::TBitmap* plus, plat::TBitmap*,
                                                      plat::TBitmap*, plat::TBitmap*, plat::TBitmap*, plat::TBitmap*,
                                                      plat::TSize& size) {
        ++calls;
        EXPECT_EQ(size.cx, 9);
        EXPECT_EQ(plus->Width(), 9);
        plus->Canvas()->SetPixel(1, 1, plat::clLime);
        size = answer;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(PixelOf(*Tree->FPlusBM, 1, 1), Rgb(plat::clLime));

    // A larger size: every picture takes it, the drawing stays and the new
    // part is transparent; the button moves in its indentation step.
    answer = plat::TSize{13, 13};
    Tree->PrepareBitmaps(true, false);
    for (plat::TBitmap* each : {Tree->FPlusBM.get(), Tree->FMinusBM.get(), Tree->FHotPlusBM.get(),
                                Tree->FSelectedHotMinusBM.get()}) {
        EXPECT_EQ(each->Width(), 13);
        EXPECT_EQ(each->Height(), 13);
    }
    EXPECT_EQ(PixelOf(*Tree->FPlusBM, 1, 1), Rgb(plat::clLime));
    EXPECT_EQ(PixelOf(*Tree->FPlusBM, 11, 11), Rgb(plat::clFuchsia));
    const PDataNode node = Tree->AddChild(nullptr);
    const int margin = Tree->Margin();
    const int indent = Tree->Indent();
    EXPECT_EQ(Tree->GetOffset(ofsToggleButton, node), margin + indent - (indent - 13) / 2 - 13 + 1);
    // A size of nothing is not taken.
    answer = plat::TSize{0, -4};
    Tree->PrepareBitmaps(true, false);
    EXPECT_EQ(Tree->FPlusBM->Width(), 9);
    Tree->SetOnPrepareButtonBitmaps(nullptr);
}

// ---- tree-line steps ----

class TreeLines : public RecordTreeTest {
protected:
    TreeLines() { Fill(SerialsABA); }

    TLineImage Steps(PDataNode node)
    {
        TLineImage image;
        Tree->DetermineLineImageAndSelectLevel(node, image);
        return image;
    }
    void SetPaint(TDTPaintOptions add, TDTPaintOptions remove = {})
    {
        Tree->TreeOptions()->SetPaintOptions(Tree->TreeOptions()->PaintOptions() + add - remove);
    }
};

TEST_F(TreeLines, StepsOfEachRow)
{
    ASSERT_TRUE(Tree->TreeOptions()->PaintOptions().Contains(toShowRoot));
    struct TCase {
        const char* name;
        PDataNode node;
        TLineImage withRoot;
        TLineImage withoutRoot;
    };
    const std::vector<TCase> cases = {
        {"first of several top-level nodes", Loggers[0], {ltBottomRight}, {}},
        {"middle top-level node", Loggers[1], {ltTopDownRight}, {}},
        {"last top-level node", Loggers[2], {ltTopRight}, {}},
        {"only child under a first logger", SelectAll(0), {ltTopDown, ltTopRight}, {ltTopRight}},
        {"first record", Records(0)[0], {ltTopDown, ltNone, ltTopDownRight}, {ltNone, ltTopDownRight}},
        {"last record", Records(0)[2], {ltTopDown, ltNone, ltTopRight}, {ltNone, ltTopRight}},
        {"record under the last logger", Records(2)[1], {ltNone, ltNone, ltTopRight}, {ltNone, ltTopRight}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Steps(c.node), c.withRoot) << c.name;
    }
    SetPaint({}, {toShowRoot});
    for (const TCase& c : cases) {
        EXPECT_EQ(Steps(c.node), c.withoutRoot) << c.name << ", without toShowRoot";
    }
    SetPaint({toShowRoot});
    Tree->SetVisible(Loggers[1], false);
    Tree->SetVisible(Loggers[2], false);
    EXPECT_EQ(Steps(Loggers[0]), TLineImage{ltRight}) << "the only visible top-level node";
    EXPECT_EQ(Steps(Records(0)[0]), (TLineImage{ltNone, ltNone, ltTopDownRight})) << "no visible logger after it";

    SetPaint({}, {toShowTreeLines});
    EXPECT_EQ(Steps(Records(0)[0]), (TLineImage{ltNone, ltNone, ltNone})) << "no lines, the same indentation";
}

TEST_F(TreeLines, ChildrenAboveTheirParentAndSelectedAncestors)
{
    SetPaint({toChildrenAbove});
    EXPECT_EQ(Steps(Loggers[0]), TLineImage{ltBottomRight});
    EXPECT_EQ(Steps(Loggers[1]), TLineImage{ltTopDownRight});
    EXPECT_EQ(Steps(Records(0)[0]), (TLineImage{ltNone, ltNone, ltBottomRight}));
    EXPECT_EQ(Steps(Records(0)[1]), (TLineImage{ltNone, ltNone, ltTopDownRight}));
    EXPECT_EQ(Steps(Records(1)[0]), (TLineImage{ltTopDown, ltNone, ltBottomRight}));

    Tree->TreeOptions()->SetSelectionOptions(Tree->TreeOptions()->SelectionOptions() + TDTSelectionOptions{toMultiSelect});
    Tree->AddToSelection(Loggers[0], false);
    Tree->AddToSelection(SelectAll(0), false);
    TLineImage image;
    EXPECT_EQ(Tree->DetermineLineImageAndSelectLevel(Records(0)[0], image), 2);
    EXPECT_EQ(Tree->DetermineLineImageAndSelectLevel(Loggers[0], image), 0) << "a node's own selection is not counted";
}

// The dotted lines are one-pixel checkerboards whose parity follows the
// virtual area, so a line runs on unbroken across rows of odd height.
TEST_F(TreeLines, DotsStayInStepAcrossRowsOfOddHeight)
{
    const int row = Tree->DefaultNodeHeight();
    ASSERT_EQ(row % 2, 1);
    Tree->FullExpand();
    Tree->Colors()->SetByIndex(ciTreeLineColor, plat::clRed);
    Tree->SetColor(plat::clWhite);
    constexpr int width = 200;
    const int height = 8 * row;
    plat::TBitmap target(width, height, plat::pf32bit);
    // Window rows 1 .. 8: the walk starts in the middle of the line.
    Tree->PaintTree(*target.Canvas(), plat::Rect(0, 1, width, 1 + height), plat::Point(0, 0), {});
    const int x = Tree->Margin() + Tree->Indent() / 2;   // logger 1's line through its subtree
    const int lastRowOfSubtree = 5 * row - 1;            // logger, "Select all", three records
    for (int y = row - 1; y < lastRowOfSubtree; ++y) {
        const bool dot = (x + y + 1) % 2 == 0;           // y + 1: the virtual row of the target row
        ASSERT_EQ(PixelOf(target, x, y), Rgb(dot ? plat::clRed : plat::clWhite)) << "y " << y;
    }
    Tree->SetLineStyle(lsSolid);
    Tree->PaintTree(*target.Canvas(), plat::Rect(0, 1, width, 1 + height), plat::Point(0, 0), {});
    for (int y = row - 1; y < lastRowOfSubtree; ++y) {
        ASSERT_EQ(PixelOf(target, x, y), Rgb(plat::clRed)) << "solid, y " << y;
    }
}

// ---- check pictures ----

TEST(CheckPictures, TheTreesOwnSetFollowsTheCheckImageOrder)
{
    TTestTree tree(nullptr);
    const std::unique_ptr<plat::TCustomImageList> images = tree.CreateSystemCheckImages();
    ASSERT_EQ(images->Count(), 21);
    ASSERT_EQ(images->Width(), 13);
    ASSERT_EQ(images->Height(), 13);
    for (int i = 0; i <= 20; ++i) {
        plat::TBitmap drawn(13, 13, plat::pf32bit);
        drawn.Canvas()->Brush()->SetColor(plat::clLime);
        drawn.Canvas()->FillRect(plat::Rect(0, 0, 13, 13));
        images->Draw(drawn.Canvas(), 0, 0, i, plat::dsTransparent, plat::itImage);
        if (i == 0) {
            for (int y = 0; y < 13; ++y) {
                for (int x = 0; x < 13; ++x) {
                    ASSERT_EQ(PixelOf(drawn, x, y), Rgb(plat::clLime)) << "image 0 is empty";
                }
            }
            continue;
        }
        const int n = i - 1;
        std::uint32_t state = n < 8 ? plat::DFCS_BUTTONRADIO : plat::DFCS_BUTTONCHECK;
        state |= n >= 16 ? plat::DFCS_BUTTON3STATE : 0u;
        state |= (n >= 4 && n <= 7) || n >= 12 ? plat::DFCS_CHECKED : 0u;
        const std::uint32_t looks[] = {0, plat::DFCS_HOT, plat::DFCS_PUSHED, plat::DFCS_INACTIVE};
        state |= looks[n % 4];
        const plat::TGlyph glyph = plat::FrameControlGlyph(state);
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                const std::optional<plat::COLORREF> expected = glyph.At(x, y);
                ASSERT_EQ(PixelOf(drawn, x, y), expected ? *expected & 0xFFFFFF : Rgb(plat::clLime))
                    << "image " << i << " at " << x << "," << y;
            }
        }
    }
    tree.SetCurrentPPI(192);
    EXPECT_EQ(tree.CreateSystemCheckImages()->Width(), 26);
}

class CheckPainting : public RecordTreeTest {
protected:
    CheckPainting()
    {
        ShowForm();
        Fill(SerialsABA);
        Tree->FullExpand();
    }

    // The painted check area of node against the set's image index.
    void ExpectCheckImage(PDataNode node, int index)
    {
        ASSERT_EQ(Tree->GetCheckImage(node), index);
        const int row = static_cast<int>(Tree->GetNodeHeight(node));
        plat::TBitmap target(300, row, plat::pf32bit);
        const int top = static_cast<int>(Tree->GetDisplayRect(node, NoColumn, false).Top) - Tree->OffsetY();
        Tree->PaintTree(*target.Canvas(), plat::Rect(0, top, 300, top + row), plat::Point(0, 0), {});
        TDTOffsets offsets{};
        Tree->GetOffsets(node, offsets, ofsStateImage);
        plat::TBitmap expected(13, 13, plat::pf32bit);
        expected.Canvas()->Brush()->SetColor(Tree->Color());
        expected.Canvas()->FillRect(plat::Rect(0, 0, 13, 13));
        Tree->CheckImages()->Draw(expected.Canvas(), 0, 0, index, plat::dsTransparent, plat::itImage);
        // The picture's centre on the row's centre line, which the 9-pixel
        // button gives.
        const int checkY = plat::MulDiv(row - 9, 50, 100) + 9 / 2 - 13 / 2;
        int differing = 0;
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                differing += PixelOf(target, offsets[ofsCheckBox] + x, checkY + y) != PixelOf(expected, x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(differing, 0) << "index " << index;
    }
};

TEST_F(CheckPainting, RowsShowThePictureOfTheirCheckState)
{
    ASSERT_NE(Tree->CheckImages(), nullptr) << "made with the window";
    Tree->FHotNode = Loggers[0];
    ExpectCheckImage(Loggers[0], 6);   // checked radio button, hot
    Tree->FHotNode = nullptr;
    Loggers[0]->CheckState = csCheckedPressed;
    ExpectCheckImage(Loggers[0], 7);
    Loggers[0]->CheckState = csCheckedDisabled;
    ExpectCheckImage(Loggers[0], 8);
    SelectAll(0)->CheckState = csMixedNormal;
    ExpectCheckImage(SelectAll(0), 17);
    ExpectCheckImage(Records(0)[0], 9);
}

TEST_F(CheckPainting, CustomPicturesReplaceTheTreesOwn)
{
    plat::TCustomImageList custom(nullptr);
    custom.SetSize(16, 16);
    Tree->SetCustomCheckImages(&custom);
    EXPECT_EQ(Tree->CheckImageKind(), ckCustom);
    EXPECT_EQ(Tree->CheckImages(), &custom);
    Tree->SetCustomCheckImages(nullptr);
    EXPECT_EQ(Tree->CheckImageKind(), ckSystemDefault);
    ASSERT_NE(Tree->CheckImages(), nullptr);
    EXPECT_EQ(Tree->CheckImages()->Count(), 21);
}

// ---- normal images ----

// A node's normal image with an overlay of the same list drawn over it; a
// selected node's image is blended half with the highlight colour, a
// ghosted one with the tree's colour.
using ImagePainting = TreeTest;

TEST_F(ImagePainting, NormalImagesWithOverlayAndBlending)
{
    Tree->SetDefaultText("");
    plat::TCustomImageList images(nullptr);
    images.SetSize(16, 16);
    plat::TBitmap blue(16, 16, plat::pf32bit);
    blue.Canvas()->Brush()->SetColor(plat::clBlue);
    blue.Canvas()->FillRect(plat::Rect(0, 0, 16, 16));
    images.Add(&blue, nullptr);
    plat::TBitmap mark(16, 16, plat::pf32bit);
    mark.Canvas()->Brush()->SetColor(plat::clFuchsia);
    mark.Canvas()->FillRect(plat::Rect(0, 0, 16, 16));
    mark.Canvas()->Brush()->SetColor(plat::clRed);
    mark.Canvas()->FillRect(plat::Rect(0, 0, 4, 4));
    images.AddMasked(&mark, plat::clFuchsia);
    ASSERT_TRUE(images.Overlay(1, 0));
    Tree->SetImages(&images);
    bool ghosted = false;
    Tree->OnGetImage = [&ghosted](plat::TObject*, PDataNode, TDTImageKind kind, TColumnIndex, bool& ghost,
                                       int& index) {
        if (kind == ikNormal || kind == ikSelected) {
            index = 0;
            ghost = ghosted;
        } else if (kind == ikOverlay) {
            index = 0;
        }
    };
    const PDataNode node = Tree->AddChild(nullptr);
    const int row = static_cast<int>(Tree->GetNodeHeight(node));
    plat::TBitmap target(200, row, plat::pf32bit);
    // How many pixels of the row have each colour.
    const auto count = [&](plat::COLORREF colour) {
        Tree->PaintTree(*target.Canvas(), plat::Rect(0, 0, 200, row), plat::Point(0, 0), {});
        int n = 0;
        for (int y = 0; y < row; ++y) {
            for (int x = 0; x < 200; ++x) {
                n += PixelOf(target, x, y) == colour ? 1 : 0;
            }
        }
        return n;
    };
    // The list's own half blend of blue with a colour.
    const auto blended = [&](plat::TColor with) {
        plat::TBitmap one(16, 16, plat::pf32bit);
        images.SetBlendColor(with);
        images.Draw(one.Canvas(), 0, 0, 0, plat::dsSelected, plat::itImage);
        images.SetBlendColor(plat::clNone);
        return PixelOf(one, 8, 8);
    };
    EXPECT_EQ(count(Rgb(plat::clBlue)), 16 * 16 - 4 * 4);
    EXPECT_EQ(count(Rgb(plat::clRed)), 4 * 4) << "the overlay over the image's corner";

    // Which images are blended: only ghosted, selected (outside the
    // full-row look) and cut images, and only in a tree that is focused or
    // ghosts when unfocused and blends images.
    Tree->OnGetImage = [&ghosted](plat::TObject*, PDataNode, TDTImageKind kind, TColumnIndex, bool& ghost,
                                  int& index) {
        if (kind == ikNormal || kind == ikSelected) {
            index = 0;
            ghost = ghosted;
        }
    };
    Tree->SetColor(plat::clYellow);
    const plat::COLORREF plain = Rgb(plat::clBlue);
    const plat::COLORREF highlighted = blended(plat::clHighlight);
    const plat::COLORREF yellowed = blended(plat::clYellow);
    ASSERT_NE(highlighted, plain);
    ASSERT_NE(yellowed, plain);
    const TDTPaintOptions ghostsUnfocused = DefaultPaintOptions + TDTPaintOptions{toGhostedIfUnfocused};
    const TDTPaintOptions notBlending = ghostsUnfocused - TDTPaintOptions{toUseBlendedImages};
    struct Case {
        const char* name;
        bool selected;
        bool ghost;
        bool cut;
        TDTPaintOptions paint;
        TDTSelectionOptions selection;
        plat::COLORREF expected;
    };
    const Case cases[] = {
        {"plain image", false, false, false, ghostsUnfocused, DefaultSelectionOptions, plain},
        {"selected", true, false, false, ghostsUnfocused, DefaultSelectionOptions, highlighted},
        {"selected, tree unfocused", true, false, false, DefaultPaintOptions, DefaultSelectionOptions, plain},
        {"selected, full row", true, false, false, ghostsUnfocused,
         DefaultSelectionOptions + TDTSelectionOptions{toFullRowSelect}, plain},
        {"ghosted", false, true, false, ghostsUnfocused, DefaultSelectionOptions, yellowed},
        {"ghosted, images not blended", false, true, false, notBlending, DefaultSelectionOptions, plain},
        {"cut", false, false, true, ghostsUnfocused, DefaultSelectionOptions, yellowed},
    };
    for (const Case& each : cases) {
        Tree->TreeOptions()->SetPaintOptions(each.paint);
        Tree->TreeOptions()->SetSelectionOptions(each.selection);
        Tree->SetSelected(node, each.selected);
        ghosted = each.ghost;
        if (each.cut) {
            node->States.Include(vsCutOrCopy);
            Tree->DoStateChange({tsCutPending});
        }
        EXPECT_EQ(count(each.expected), 16 * 16) << each.name;
        node->States.Exclude(vsCutOrCopy);
        Tree->DoStateChange({}, {tsCutPending});
        Tree->SetSelected(node, false);
    }

    // A same-list overlay takes the blend of its image.
    Tree->TreeOptions()->SetPaintOptions(ghostsUnfocused);
    Tree->OnGetImage = +[](plat::TObject*, PDataNode, TDTImageKind kind, TColumnIndex, bool& ghost, int& index) {
        index = kind == ikState ? -1 : 0;
        ghost = kind != ikOverlay;
    };
    images.SetBlendColor(plat::clYellow);
    plat::TBitmap one(16, 16, plat::pf32bit);
    images.Draw(one.Canvas(), 0, 0, 1, plat::dsSelected, plat::itImage);
    images.SetBlendColor(plat::clNone);
    EXPECT_EQ(count(PixelOf(one, 1, 1)), 4 * 4) << "the blended overlay";
    EXPECT_EQ(count(yellowed), 16 * 16 - 4 * 4);
    Tree->SetImages(nullptr);
}

// ---- the window: erase, frame, background ----

class TreeWindow : public RecordTreeTest {
protected:
    TreeWindow()
    {
        ShowForm();
        Tree->SetBounds(0, 0, 300, 160);
        Host.PumpUntilIdle();
    }
};

TEST_F(TreeWindow, EraseNeverErasesAndABorderColourOnlyRedrawsTheFrame)
{
    plat::HDC dc = plat::GetDC(Tree->Handle());
    EXPECT_EQ(plat::SendMessage(Tree->Handle(), plat::WM_ERASEBKGND, reinterpret_cast<plat::WPARAM>(dc), 0), 1);
    plat::ReleaseDC(Tree->Handle(), dc);

    int paints = 0;
    Tree->OnBeforePaint = [&paints](plat::TObject*, plat::TCanvas*) { ++paints; };
    Tree->Colors()->SetByIndex(ciBorderColor, plat::clRed);
    plat::TRect update;
    EXPECT_FALSE(plat::GetUpdateRect(Tree->Handle(), &update, false)) << "nothing of the client";
    Host.PumpUntilIdle();
    EXPECT_EQ(paints, 0);
}

// A frame of bevels and a border width lies between the window's own edge
// and the header and client area; the border takes the border colour.
TEST_F(TreeWindow, BevelsAndBorderWidthFrameHeaderAndClient)
{
    SetUpAsRecordPage();
    Host.PumpUntilIdle();
    const plat::TRect plainHeader = Tree->HeaderRect();
    const plat::TRect plainClient = plat::GetClientAreaInWindow(Tree->Handle());
    Tree->Colors()->SetByIndex(ciBorderColor, plat::clRed);
    Tree->SetBorderWidth(3);
    Tree->SetBevelKind(bkFlat);
    Tree->SetBevelEdges({beLeft, beTop});
    Host.PumpUntilIdle();
    // Inner and outer bevel, one pixel each, on the left and top edges only.
    const plat::TRect header = Tree->HeaderRect();
    EXPECT_EQ(header.Left, plainHeader.Left + 3 + 2);
    EXPECT_EQ(header.Top, plainHeader.Top + 3 + 2);
    EXPECT_EQ(header.Right, plainHeader.Right - 3 - 2) << "both sides as the left edge has it";
    EXPECT_EQ(header.Height(), Tree->Header()->Height());
    const plat::TRect client = plat::GetClientAreaInWindow(Tree->Handle());
    EXPECT_EQ(client.Left, plainClient.Left + 5);
    EXPECT_EQ(client.Top, plainClient.Top + 5);
    EXPECT_EQ(client.Right, plainClient.Right - 3);
    EXPECT_EQ(client.Bottom, plainClient.Bottom - 3);
    EXPECT_EQ(header.Bottom, client.Top) << "the header sits right above the client area";

    plat::TRect treeBounds;
    plat::TRect formBounds;
    plat::GetWindowRect(Tree->Handle(), treeBounds);
    plat::GetWindowRect(Form->Handle(), formBounds);
    const auto shot = Host.Capture(Form->Handle());
    const plat::TPoint origin = plat::Point(treeBounds.Left - formBounds.Left, treeBounds.Top - formBounds.Top);
    const int edge = static_cast<int>(plainClient.Left);   // the window's own edge
    EXPECT_EQ(CapturePixel(*shot, origin, edge + 2, 60), 0x0000FFu) << "border on the left, inside the bevels";
    EXPECT_EQ(CapturePixel(*shot, origin, static_cast<int>(treeBounds.Width()) - edge - 2, 60), 0x0000FFu)
        << "border on the right, no bevel there";
    EXPECT_NE(CapturePixel(*shot, origin, edge, 60), 0x0000FFu) << "the bevel, not the border";
    SaveShot(*shot, "tree_bevels_and_border");
}

// A colour change draws the button pictures anew (their fill is the
// tree's colour); printing in white leaves them in the tree's colour.
TEST_F(TreeWindow, AColourChangeDrawsTheButtonPicturesAnew)
{
    Tree->SetButtonFillMode(fmTreeColor);
    Tree->SetColor(plat::clYellow);
    EXPECT_EQ(PixelOf(*Tree->FPlusBM, 1, 1), Rgb(plat::clYellow));
    Tree->SetColor(plat::clAqua);
    EXPECT_EQ(PixelOf(*Tree->FPlusBM, 1, 1), Rgb(plat::clAqua));
    qeltest::TempDir dir;
    plat::TPrinter printer(200, 200, 1);
    printer.SetFileName(dir.File("buttons.pdf"));
    Tree->Print(&printer, false);
    EXPECT_EQ(PixelOf(*Tree->FPlusBM, 1, 1), Rgb(plat::clAqua)) << "back in the tree's colour after printing";
}

// A theme change of the desktop makes the window anew half a second later;
// one the tree makes itself (SetWindowTheme) does not. Themes stay off.
TEST_F(TreeWindow, AThemeChangeMakesTheWindowAnewUnlessTheTreeCausedIt)
{
    const int made = Tree->WindowsMade;
    Tree->SetWindowTheme("explorer");
    Host.AdvanceClock(600);
    EXPECT_EQ(Tree->WindowsMade, made) << "the tree's own change";
    plat::SendMessage(Tree->Handle(), plat::WM_THEMECHANGED, 0, 0);
    Host.AdvanceClock(499);
    EXPECT_EQ(Tree->WindowsMade, made);
    Host.AdvanceClock(1);
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->WindowsMade, made + 1);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsUseThemes));
}

// The platform's drag picture steps aside while the tree paints.
TEST_F(TreeWindow, APaintHidesTheDragPictureWhileItRuns)
{
    plat::TDragDropState& drag = plat::TWindowManager::Instance()->DragDrop();
    drag.Active = true;
    drag.Picture.Bitmap = std::make_shared<plat::TPixelSurface>(8, 8, 32);
    std::vector<bool> shownWhilePainting;
    Tree->OnBeforePaint = [&](plat::TObject*, plat::TCanvas*) { shownWhilePainting.push_back(plat::DragImageShown()); };
    ASSERT_TRUE(plat::DragImageShown());
    static_cast<TBaseDataTree*>(Tree)->Invalidate();
    Host.PumpUntilIdle();
    EXPECT_EQ(shownWhilePainting, std::vector<bool>{false});
    EXPECT_TRUE(plat::DragImageShown()) << "shown again after the paint";
    Tree->OnBeforePaint = nullptr;
    drag.Active = false;
    drag.Picture = plat::TDragImage();
}

class TreeBackground : public TreeTest {
protected:
    TreeBackground() { Tree->SetDefaultText(""); }

    // A picture ten pixels wide whose column i has red i * 20.
    void UseStripes(bool transparentMiddle = false)
    {
        plat::TBitmap stripes(10, 4, plat::pf32bit);
        for (int x = 0; x < 10; ++x) {
            for (int y = 0; y < 4; ++y) {
                stripes.Canvas()->SetPixel(x, y, static_cast<plat::TColor>(x * 20));
            }
        }
        if (transparentMiddle) {
            stripes.Canvas()->SetPixel(5, 1, plat::clFuchsia);
            stripes.SetTransparentColor(plat::clFuchsia);
            stripes.SetTransparent(true);
        }
        plat::TPicture picture;
        picture.SetGraphic(&stripes);
        Tree->SetBackground(&picture);
        Tree->TreeOptions()->SetPaintOptions(Tree->TreeOptions()->PaintOptions() + TDTPaintOptions{toShowBackground});
    }

    void Paint() { Tree->PaintTree(*Target.Canvas(), plat::Rect(0, 0, 60, 40), plat::Point(0, 0), {poBackground}); }

    plat::TBitmap Target{60, 40, plat::pf32bit};
};

TEST_F(TreeBackground, ATiledPictureStartsAtItsOffsetModuloItsWidth)
{
    Tree->AddChild(nullptr);                       // one row of 18 without text, then the strip below
    UseStripes();
    Tree->SetBackgroundOffset(0, -5);
    Paint();
    for (const int y : {2, 30}) {                  // above the row's tree line, and in the strip below
        for (int x = 0; x < 60; ++x) {
            const int column = ((x - 5) % 10 + 10) % 10;
            ASSERT_EQ(PixelOf(Target, x, y), static_cast<plat::COLORREF>(column * 20)) << x << "," << y;
        }
    }
    EXPECT_EQ(PixelOf(Target, 0, 30), static_cast<plat::COLORREF>(5 * 20)) << "source column W - 5 first";
    EXPECT_THROW(Tree->SetBackgroundOffset(2, 1), EDataTreeError);
}

TEST_F(TreeBackground, ATransparentPictureShowsTheBackgroundColour)
{
    Tree->SetColor(plat::clAqua);
    UseStripes(true);
    Paint();
    EXPECT_EQ(PixelOf(Target, 5, 1), Rgb(plat::clAqua));
    EXPECT_EQ(PixelOf(Target, 6, 1), static_cast<plat::COLORREF>(6 * 20));
    EXPECT_EQ(PixelOf(Target, 15, 1), Rgb(plat::clAqua)) << "every tile";
}

} // namespace
} // namespace qel::tree_test

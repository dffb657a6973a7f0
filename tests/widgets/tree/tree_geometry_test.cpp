// The data tree's row geometry: element offsets, image sizes and vertical
// alignment, row, cell and text rectangles in both reading directions, hit
// classification, drop modes and scaling with the resolution.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/image_list.h"

#include <memory>
#include <vector>

namespace qel::tree_test {
namespace {

class TreeGeometry : public TreeTest {
protected:
    TreeGeometry()
    {
        CheckImages = std::make_unique<plat::TCustomImageList>(nullptr);
        Images = std::make_unique<plat::TCustomImageList>(nullptr);
        Images->SetSize(16, 16);
        Tree->NodeWidth = [this](PDataNode, TColumnIndex) { return TextWidth; };
    }

    ~TreeGeometry() override
    {
        Tree->FCheckImages = nullptr;
        Tree->SetImages(nullptr);
    }

    void SetPaint(TDTPaintOptions add, TDTPaintOptions remove = {})
    {
        Tree->TreeOptions()->SetPaintOptions(Tree->TreeOptions()->PaintOptions() + add - remove);
    }

    // Check support with a check image list cw pixels wide.
    void UseCheckImages(int cw)
    {
        CheckImages->SetSize(cw, cw);
        Tree->FCheckImages = CheckImages.get();
        Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toCheckSupport});
    }

    PDataNode AddChecked(PDataNode parent)
    {
        const PDataNode node = Tree->AddChild(parent);
        node->CheckType = ctCheckBox;
        Tree->ValidateNode(node, false);
        return node;
    }

    void AddColumns(int count, int width)
    {
        for (int i = 0; i < count; ++i) {
            Tree->Header()->Columns().Add()->SetWidth(width);
        }
    }

    std::unique_ptr<plat::TCustomImageList> CheckImages;
    std::unique_ptr<plat::TCustomImageList> Images;
    int TextWidth = 40;
};

TEST_F(TreeGeometry, OffsetsOfARowFollowLevelRootCheckBoxAndFixedIndent)
{
    struct TCase {
        const char* name;
        bool showRoot;
        bool fixedIndent;
        int checkWidth; // 0: no check support
        int level;
        TDTOffsets expected; // margin .. text
    };
    // Margin 4, Indent 18, ImagesMargin 2, TextMargin 4, a 9-pixel button.
    const std::vector<TCase> cases = {
        {"top level, no root, no check box", false, false, 0, 0, {4, -8, 4, 4, 4, 4, 7}},
        {"the program's settings, check width 13", true, false, 13, 0, {4, 10, 24, 39, 39, 39, 42}},
        {"the same one level down", true, false, 13, 1, {4, 28, 42, 57, 57, 57, 60}},
        {"check width 16", true, false, 16, 0, {4, 10, 24, 42, 42, 42, 45}},
        {"fixed indent at level 2", true, true, 13, 2, {4, 28, 42, 57, 57, 57, 60}},
        {"fixed indent without root at level 3", false, true, 0, 3, {4, 10, 22, 22, 22, 22, 25}},
    };
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.name);
        Tree->Clear();
        SetPaint(each.showRoot ? TDTPaintOptions{toShowRoot} : TDTPaintOptions{},
                 each.showRoot ? TDTPaintOptions{} : TDTPaintOptions{toShowRoot});
        SetPaint(each.fixedIndent ? TDTPaintOptions{toFixedIndent} : TDTPaintOptions{},
                 each.fixedIndent ? TDTPaintOptions{} : TDTPaintOptions{toFixedIndent});
        if (each.checkWidth > 0) {
            UseCheckImages(each.checkWidth);
        } else {
            Tree->FCheckImages = nullptr;
        }
        PDataNode node = AddChecked(nullptr);
        for (int level = 0; level < each.level; ++level) {
            node = AddChecked(node);
        }
        TDTOffsets offsets{};
        Tree->GetOffsets(node, offsets, ofsRightOfText);
        for (int element = ofsMargin; element <= ofsText; ++element) {
            EXPECT_EQ(offsets[static_cast<std::size_t>(element)], each.expected[static_cast<std::size_t>(element)])
                << "element " << element;
        }
        EXPECT_EQ(offsets[ofsRightOfText], each.expected[ofsText] + TextWidth);
        EXPECT_EQ(Tree->GetOffset(ofsLabel, node), each.expected[ofsLabel]);
    }
}

TEST_F(TreeGeometry, OnlyTheAskedElementsAreWrittenAndImagesWidenTheRow)
{
    const PDataNode node = Tree->AddChild(nullptr);
    TDTOffsets offsets;
    offsets.fill(-1000);
    Tree->GetOffsets(node, offsets, ofsToggleButton);
    EXPECT_EQ(offsets[ofsStateImage], -1000) << "elements past the asked one keep their value";
    Tree->SetImages(Images.get());
    Tree->OnGetImage = +[](plat::TObject*, PDataNode, TDTImageKind kind, TColumnIndex, bool&, int& index) {
        if (kind == ikNormal) {
            index = 0;
        }
    };
    const plat::TSize size = Tree->GetImageSize(node, ikNormal, NoColumn);
    EXPECT_EQ(size.cx, 16 + Tree->ScaledPixels(2));
    EXPECT_EQ(size.cy, 16);
    EXPECT_EQ(Tree->GetImageSize(node, ikState, NoColumn).cx, 0) << "no state image";
    Tree->GetOffsets(node, offsets, ofsText);
    EXPECT_EQ(offsets[ofsLabel] - offsets[ofsImage], 18);
}

TEST_F(TreeGeometry, VerticalAlignmentOfImagesAndButton)
{
    const PDataNode node = Tree->AddChild(nullptr);
    Tree->SetVerticalAlignment(node, 50);
    Tree->SetNodeHeight(node, 18);
    TDTImageInfo none;
    TDTImageInfo normal;
    normal.Index = 0;
    normal.Images = Images.get();
    struct TCase {
        TDTNodeAlignment alignment;
        bool withImage;
        int vAlign;
    };
    const TCase cases[] = {
        {naProportional, false, 5 + 4},   // MulDiv(18 - 9, 50, 100) + 9 div 2
        {naProportional, true, 1 + 8},    // MulDiv(18 - 16, 50, 100) + 16 div 2
        {naFromTop, false, 50},
        {naFromBottom, false, 18 - 50},
    };
    for (const TCase& each : cases) {
        Tree->SetNodeAlignment(each.alignment);
        int buttonY = 0;
        EXPECT_EQ(Tree->DetermineVAlign(node, each.withImage ? normal : none, none, buttonY), each.vAlign)
            << each.alignment;
        EXPECT_EQ(buttonY, each.vAlign - 4 - 1);
    }
}

TEST_F(TreeGeometry, DisplayRectanglesOfRowsCellsAndTexts)
{
    ShowForm();
    AddColumns(2, 100);
    SetPaint({}, {toShowRoot});
    Tree->SetRootNodeCount(5);
    const PDataNode third = Tree->RootNode()->FirstChild->fNextSibling->fNextSibling;
    const int width = std::max<int>(static_cast<int>(Tree->RangeX()), Tree->ClientWidth());
    EXPECT_EQ(Tree->GetDisplayRect(third, NoColumn, false), plat::Rect(0, 36, width, 54));
    EXPECT_EQ(Tree->GetDisplayRect(third, 1, false), plat::Rect(100, 36, 199, 54)) << "the cell's right edge is excluded";

    struct TCase {
        const char* name;
        TAlignment alignment;
        TBiDiMode bidi;
        int textWidth;
        bool unclipped;
        int left;
        int right;
    };
    // Column 1 is not the main column: its label starts at the margin (4).
    const std::vector<TCase> cases = {
        {"left, clipped", taLeftJustify, bdLeftToRight, 40, false, 104, 144},
        {"left, unclipped", taLeftJustify, bdLeftToRight, 40, true, 104, 143},
        {"centred", taCenter, bdLeftToRight, 40, false, 131, 171},
        {"right", taRightJustify, bdLeftToRight, 40, false, 159, 199},
        {"one pixel too wide, clipped keeps the cell", taLeftJustify, bdLeftToRight, 96, false, 104, 199},
        {"wider, unclipped has the text's width", taRightJustify, bdLeftToRight, 300, true, 104, 403},
        {"right to left: left text from the right edge", taLeftJustify, bdRightToLeft, 40, false, 155, 195},
        {"right to left: right text from the left edge", taRightJustify, bdRightToLeft, 40, false, 100, 140},
    };
    TDataTreeColumn* column = Tree->Header()->Columns()[1];
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.name);
        TextWidth = each.textWidth;
        column->SetAlignment(each.alignment);
        column->SetBiDiMode(each.bidi);
        const plat::TRect r = Tree->GetDisplayRect(third, 1, true, each.unclipped);
        EXPECT_EQ(r.Left, each.left);
        EXPECT_EQ(r.Right, each.right);
        EXPECT_EQ(r.Top, 36);
    }

    // The content margins the application gives in OnBeforeCellPaint (3
    // left, 2 top, 5 right, 4 bottom) shrink the text's rectangle; an
    // unclipped one grows back to the font's height.
    Tree->OnBeforeCellPaint = +[](plat::TObject*, plat::TCanvas*, PDataNode, TColumnIndex, TDTCellPaintMode mode,
                                 const plat::TRect& cell, plat::TRect& content) {
        if (mode == cpmGetContentMargin) {
            content = plat::Rect(cell.Left + 3, cell.Top + 2, cell.Right - 5, cell.Bottom - 4);
        }
    };
    plat::TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(Tree->Font());
    const int fontHeight = measure.Canvas()->Handle()->GetTextMetrics().Height;
    const int grow = std::max(0, (std::min(fontHeight, 18) - 12 + 1) / 2);
    column->SetBiDiMode(bdLeftToRight);
    TextWidth = 40;
    struct TMarginCase {
        const char* name;
        TAlignment alignment;
        bool unclipped;
        plat::TRect expected;
    };
    for (const TMarginCase& each :
         {TMarginCase{"left", taLeftJustify, false, plat::Rect(107, 38, 147, 50)},
          TMarginCase{"right", taRightJustify, false, plat::Rect(154, 38, 194, 50)},
          TMarginCase{"left, unclipped", taLeftJustify, true, plat::Rect(107, 38 - grow, 146, 50 + grow)}}) {
        SCOPED_TRACE(each.name);
        column->SetAlignment(each.alignment);
        EXPECT_EQ(Tree->GetDisplayRect(third, 1, true, each.unclipped, true), each.expected);
        EXPECT_EQ(Tree->GetDisplayRect(third, 1, true, each.unclipped).Top, 36) << "margins only when asked for";
    }
    Tree->OnBeforeCellPaint = nullptr;

    Tree->SetVisible(third, false);
    EXPECT_EQ(Tree->GetDisplayRect(third, NoColumn, false), plat::TRect{}) << "a hidden node has no rectangle";
    EXPECT_THROW(Tree->GetDisplayRect(nullptr, NoColumn, false), EAssertionFailed);
    EXPECT_THROW(Tree->GetDisplayRect(Tree->RootNode(), NoColumn, false), EAssertionFailed);
    EXPECT_EQ(Tree->GetTreeRect(), plat::Rect(0, 0, width, std::max(4 * 18, Tree->ClientHeight())));
}

TEST_F(TreeGeometry, HitPositionsLeftToRight)
{
    SetPaint({toShowRoot, toShowButtons});
    UseCheckImages(13);
    const PDataNode parent = AddChecked(nullptr);
    AddChecked(parent);
    const PDataNode leaf = parent->FirstChild;
    // Button 10, check box 24, state image / label 39, text 42, 40 wide.
    struct TCase {
        PDataNode node;
        int offset;
        TAlignment alignment;
        THitPositions expected;
    };
    const std::vector<TCase> cases = {
        {parent, 2, taLeftJustify, {hiOnItemIndent}},
        {parent, 8, taLeftJustify, {hiOnItemButton}},
        {parent, 12, taLeftJustify, {hiOnItemButton, hiOnItemButtonExact}},
        {leaf, 26, taLeftJustify, {hiOnItemIndent}},
        {parent, 30, taLeftJustify, {hiOnItem, hiOnItemCheckbox}},
        {parent, 50, taLeftJustify, {hiOnItemLabel}},
        {parent, 100, taLeftJustify, {hiOnItemRight}},
        {parent, 150, taRightJustify, {hiOnItemLeft}},
        {parent, 170, taRightJustify, {hiOnItemLabel}},
        {parent, 90, taCenter, {hiOnItemLeft}},
        {parent, 120, taCenter, {hiOnItemLabel}},
        {parent, 150, taCenter, {hiOnItemRight}},
    };
    for (const TCase& each : cases) {
        THitInfo hit;
        hit.HitNode = each.node;
        hit.HitColumn = NoColumn;
        Tree->DetermineHitPositionLTR(hit, each.offset, 200, each.alignment);
        EXPECT_EQ(hit.HitPositions, each.expected) << "offset " << each.offset << " alignment " << each.alignment;
    }
    TextWidth = 500;
    THitInfo wide;
    wide.HitNode = parent;
    Tree->DetermineHitPositionLTR(wide, 190, 200, taLeftJustify);
    EXPECT_EQ(wide.HitPositions, THitPositions{hiOnItemLabel}) << "text wider than the cell";
}

TEST_F(TreeGeometry, HitPositionsRightToLeft)
{
    SetPaint({toShowRoot, toShowButtons});
    UseCheckImages(13);
    const PDataNode parent = AddChecked(nullptr);
    AddChecked(parent);
    // Cell 200 wide: indentation 182..200, check box 163..178, text 40 wide.
    struct TCase {
        int offset;
        TAlignment alignment;
        THitPositions expected;
    };
    const std::vector<TCase> cases = {
        {190, taLeftJustify, {hiOnItemButton, hiOnItemButtonExact}},
        {195, taLeftJustify, {hiOnItemButton}},
        {170, taLeftJustify, {hiOnItem, hiOnItemCheckbox}},
        {150, taLeftJustify, {hiOnItemLabel}},
        {100, taLeftJustify, {hiOnItemLeft}},
        {30, taRightJustify, {hiOnItemLabel}},
        {100, taRightJustify, {hiOnItemRight}},
    };
    for (const TCase& each : cases) {
        THitInfo hit;
        hit.HitNode = parent;
        hit.HitColumn = NoColumn;
        Tree->DetermineHitPositionRTL(hit, each.offset, 200, each.alignment);
        EXPECT_EQ(hit.HitPositions, each.expected) << "offset " << each.offset << " alignment " << each.alignment;
    }
}

TEST_F(TreeGeometry, DropModes)
{
    AddColumns(2, 100);
    const PDataNode node = Tree->AddChild(nullptr);
    const plat::TRect rect = plat::Rect(0, 18, 200, 36);
    struct TCase {
        const char* name;
        PDataNode node;
        THitPositions positions;
        TColumnIndex column;
        bool dropMark;
        bool reportMode;
        plat::TPoint point;
        TDropMode expected;
    };
    const std::vector<TCase> cases = {
        {"no node", nullptr, {}, 0, true, false, {5, 20}, dmNowhere},
        {"on the label", node, {hiOnItemLabel}, 0, true, false, {5, 20}, dmOnNode},
        {"on an icon", node, {hiOnNormalIcon}, 0, true, false, {5, 20}, dmOnNode},
        {"upper half", node, {hiOnItemRight}, 0, true, false, {5, 26}, dmAbove},
        {"lower half", node, {hiOnItemRight}, 0, true, false, {5, 27}, dmBelow},
        {"without drop mark", node, {hiOnItemRight}, 0, false, false, {5, 20}, dmOnNode},
        {"report mode, label of another column", node, {hiOnItemLabel}, 1, true, true, {5, 20}, dmNowhere},
        {"report mode, label of the main column", node, {hiOnItemLabel}, 0, true, true, {5, 20}, dmOnNode},
    };
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.name);
        SetPaint(each.dropMark ? TDTPaintOptions{toShowDropmark} : TDTPaintOptions{},
                 each.dropMark ? TDTPaintOptions{} : TDTPaintOptions{toShowDropmark});
        const TDTMiscOptions misc = Tree->TreeOptions()->MiscOptions();
        Tree->TreeOptions()->SetMiscOptions(each.reportMode ? misc + TDTMiscOptions{toReportMode}
                                                            : misc - TDTMiscOptions{toReportMode});
        THitInfo hit;
        hit.HitNode = each.node;
        hit.HitPositions = each.positions;
        hit.HitColumn = each.column;
        EXPECT_EQ(Tree->DetermineDropMode(each.point, hit, rect), each.expected);
    }
}

TEST_F(TreeGeometry, ResolutionChangeScalesEveryMetric)
{
    Tree->SetRootNodeCount(2);
    EXPECT_EQ(Tree->ScaledPixels(2), 2);
    Tree->ChangeScale(144, 96, true);
    EXPECT_EQ(Tree->DefaultNodeHeight(), 27);
    EXPECT_EQ(Tree->Indent(), 27);
    EXPECT_EQ(Tree->Margin(), 6);
    EXPECT_EQ(Tree->TextMargin(), 6);
    EXPECT_EQ(Tree->ImagesMargin(), 3);
    EXPECT_EQ(Tree->CurrentPPI(), 144);
    EXPECT_EQ(Tree->ScaledPixels(2), 3);
    EXPECT_EQ(Tree->GetNodeHeight(Tree->RootNode()->FirstChild), 27);
    EXPECT_EQ(Tree->RangeY(), 54);
}

} // namespace
} // namespace qel::tree_test

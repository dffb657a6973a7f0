// What the data tree tests share: a string tree whose protected operations
// the tests reach, a headless application with a form to show it on, and
// helpers that list nodes and record events.
#pragma once

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/controls/window.h"
#include "platform/hosts/headless/headless_host.h"
#include "widgets/tree/string_data_tree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qel::tree_test {

// Unassigns every event of the tree.
inline void DropHandlers(TBaseDataTree& tree)
{
    tree.OnGetNodeDataSize = nullptr;
    tree.OnFreeNode = nullptr;
    tree.OnInitNode = nullptr;
    tree.OnInitChildren = nullptr;
    tree.OnResetNode = nullptr;
    tree.OnExpanding = nullptr;
    tree.OnCollapsing = nullptr;
    tree.OnExpanded = nullptr;
    tree.OnCollapsed = nullptr;
    tree.OnChecking = nullptr;
    tree.OnChecked = nullptr;
    tree.OnBeforeGetCheckState = nullptr;
    tree.OnChange = nullptr;
    tree.OnStructureChange = nullptr;
    tree.OnStateChange = nullptr;
    tree.OnUpdating = nullptr;
    tree.OnStartOperation = nullptr;
    tree.OnEndOperation = nullptr;
    tree.OnMeasureItem = nullptr;
    tree.OnAddToSelection = nullptr;
    tree.OnRemoveFromSelection = nullptr;
    tree.OnFocusChanging = nullptr;
    tree.OnFocusChanged = nullptr;
}

class TTestTree : public TDataStringTree {
public:
    using TDataStringTree::TDataStringTree;
    using TBaseDataTree::AddToTempCache;
    using TBaseDataTree::AdjustTotalHeight;
    using TBaseDataTree::AllocateInternalDataArea;
    using TBaseDataTree::Animate;
    using TBaseDataTree::Change;
    using TBaseDataTree::ClearTempCache;
    using TBaseDataTree::CompareNodePositions;
    using TBaseDataTree::DoStateChange;
    using TBaseDataTree::FCheckImages;
    using TBaseDataTree::FHeightTrackNode;
    using TBaseDataTree::FDropTargetNode;
    using TBaseDataTree::FHotNode;
    using TBaseDataTree::FLastDropMode;
    using TBaseDataTree::FLastDragTarget;
    using TBaseDataTree::FLastSearchNode;
    using TBaseDataTree::FNextNodeToSelect;
    using TBaseDataTree::FPositionCache;
    using TBaseDataTree::FRangeAnchor;
    using TBaseDataTree::FTempNodeCache;
    using TBaseDataTree::GetCheckImage;
    using TBaseDataTree::HandleCheckClick;
    using TBaseDataTree::HandleClickSelection;
    using TBaseDataTree::InterruptValidation;
    using TBaseDataTree::InvalidateCache;
    using TBaseDataTree::SelectNodes;
    using TBaseDataTree::StructureChange;
    using TBaseDataTree::ToggleSelection;
    using TBaseDataTree::UnselectNodes;
    using TBaseDataTree::ValidateCache;
    using TBaseDataTree::AdjustPanningCursor;
    using TBaseDataTree::DetermineDropMode;
    using TBaseDataTree::DetermineHitPositionLTR;
    using TBaseDataTree::DetermineHitPositionRTL;
    using TBaseDataTree::DetermineVAlign;
    using TBaseDataTree::DoAutoScroll;
    using TBaseDataTree::DoSetOffsetXY;
    using TBaseDataTree::GetImageSize;
    using TBaseDataTree::SetCurrentPPI;
    using TBaseDataTree::StartWheelPanning;
    using TBaseDataTree::StopWheelPanning;
    using TCustomDataStringTree::InternalDataOffset;
    using TBaseDataTree::CreateSystemCheckImages;
    using TBaseDataTree::DetermineLineImageAndSelectLevel;
    using TBaseDataTree::FMinusBM;
    using TBaseDataTree::FPlusBM;
    using TBaseDataTree::FHotPlusBM;
    using TBaseDataTree::FSelectedHotMinusBM;
    using TBaseDataTree::FHotNodeButtonHit;

    int WindowsMade = 0;
    int Invalidations = 0;
    // The accessibility events, in order.
    std::vector<std::uint32_t> AccessibleEvents;
    // What the in-place editor answers when asked to end.
    bool EditEnds = true;
    bool EndEditNode() override { return EditEnds && TDataStringTree::EndEditNode(); }
    bool CheckBoxHit = false;
    // Whether the frame counts as bevelled (header buttons then lose the
    // last column's right edge under hoAutoResize).
    bool Bevelled = false;
    // The width of a node's text as the geometry sees it; unset: the tree's own.
    std::function<int(PDataNode, TColumnIndex)> NodeWidth;
    // The draw format of the last text drawn in each cell, and how often
    // each cell's text was measured.
    std::map<std::pair<PDataNode, TColumnIndex>, std::uint32_t> DrawFormats;
    std::map<std::pair<PDataNode, TColumnIndex>, int> Measures;
    // How often each node's row was invalidated.
    std::map<PDataNode, int> NodeInvalidations;

    plat::TRect InvalidateNode(PDataNode node) override
    {
        ++NodeInvalidations[node];
        return TDataStringTree::InvalidateNode(node);
    }

protected:
    int DoGetNodeWidth(PDataNode node, TColumnIndex column, plat::TCanvas* canvas) override
    {
        return NodeWidth ? NodeWidth(node, column) : TDataStringTree::DoGetNodeWidth(node, column, canvas);
    }
    void DoDrawText(TDTPaintInfo& paintInfo, const std::string& text, const plat::TRect& cellRect,
                    std::uint32_t drawFormat) override
    {
        DrawFormats[{paintInfo.Node, paintInfo.Column}] = drawFormat;
        TDataStringTree::DoDrawText(paintInfo, text, cellRect, drawFormat);
    }
    plat::TSize DoMeasureText(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                              const std::string& text) override
    {
        ++Measures[{node, column}];
        return TDataStringTree::DoMeasureText(canvas, node, column, text);
    }
    void CreateWnd() override
    {
        ++WindowsMade;
        TDataStringTree::CreateWnd();
    }
    void Invalidate() override
    {
        ++Invalidations;
        TDataStringTree::Invalidate();
    }
    void NotifyAccessibleEvent(std::uint32_t event) override { AccessibleEvents.push_back(event); }
    bool LastMouseDownOnCheckBox() const override { return CheckBoxHit; }
    bool HasBevel() const override { return Bevelled; }
};

// A headless application with one shown form.
class TreeTest : public ::testing::Test {
protected:
    // A small screen keeps tests that read it (drag pictures) quick.
    explicit TreeTest(plat::THeadlessOptions options = {}) : Host(options)
    {
        Form = App.CreateForm<plat::TForm>();
        Form->SetBounds(50, 50, 400, 300);
        Tree = new TTestTree(Form);
        Tree->SetParent(Form);
    }

    // Handlers set by a test may refer to its locals, which are gone before
    // the form frees the tree: they go first.
    void TearDown() override
    {
        if (Tree != nullptr) {
            DropHandlers(*Tree);
        }
    }

    // Shows the form, so the tree has a window.
    void ShowForm()
    {
        Form->Show();
        Host.PumpUntilIdle();
    }

    plat::THeadlessHost Host;
    plat::TApplication App{Host};
    plat::TForm* Form = nullptr;
    TTestTree* Tree = nullptr;
};

// Reading a capture of a form: where the tree's client area starts in it,
// and the colour of a pixel of that client area.
inline plat::TPoint ClientOriginInCapture(TBaseDataTree& tree, plat::TCustomForm& form)
{
    plat::TPoint origin = plat::Point(0, 0);
    plat::ClientToScreen(tree.Handle(), origin);
    plat::TRect formBounds;
    plat::GetWindowRect(form.Handle(), formBounds);
    return plat::Point(origin.X - formBounds.Left, origin.Y - formBounds.Top);
}

// The folder named by QEL_SCREENSHOT_DIR, nullptr when none is named; a
// picture is saved there as name.png.
inline const char* ShotFolder()
{
    const char* folder = std::getenv("QEL_SCREENSHOT_DIR");
    return folder != nullptr && *folder != '\0' ? folder : nullptr;
}

inline void SaveShot(const plat::TPixelSurface& shot, const std::string& name)
{
    if (const char* folder = ShotFolder()) {
        plat::THeadlessHost::SavePng(shot, std::string(folder) + "/" + name + ".png");
    }
}

inline plat::COLORREF CapturePixel(plat::TPixelSurface& shot, plat::TPoint origin, int x, int y)
{
    const int bytes = shot.BitsPerPixel() / 8;
    const std::uint8_t* p = shot.ScanLine(origin.Y + y) + bytes * (origin.X + x);
    return static_cast<plat::COLORREF>(p[2] | (p[1] << 8) | (p[0] << 16));
}

// The children of node (the root for nullptr) in sibling order.
inline std::vector<PDataNode> Children(TBaseDataTree& tree, PDataNode node = nullptr)
{
    std::vector<PDataNode> children;
    for (PDataNode child = (node != nullptr ? node : tree.RootNode())->FirstChild; child != nullptr;
         child = child->fNextSibling) {
        children.push_back(child);
    }
    return children;
}

// Every node below the root, in tree order.
inline std::vector<PDataNode> AllNodes(TBaseDataTree& tree)
{
    std::vector<PDataNode> nodes;
    std::vector<PDataNode> pending{tree.RootNode()};
    while (!pending.empty()) {
        const PDataNode node = pending.back();
        pending.pop_back();
        if (node != tree.RootNode()) {
            nodes.push_back(node);
        }
        const std::vector<PDataNode> children = Children(tree, node);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return nodes;
}

// Every node below the root with its children before it.
std::vector<PDataNode> AllNodesChildrenFirst(TBaseDataTree& tree);

// Empty when every aggregate and link of the tree agrees with a recount
// from scratch; else what differs first.
std::string CheckInvariants(TBaseDataTree& tree);

// Whether a node takes a row, worked out from its states and its
// ancestors' without the tree's help.
bool TakesRow(TBaseDataTree& tree, PDataNode node);

} // namespace qel::tree_test

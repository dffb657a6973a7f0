// The data tree's option objects: their defaults, what each setter does
// beyond storing the value, assignment between option objects, and the
// scroll-bar options.
#include "widgets/tree/tree_options.h"

#include "platform/controls/window.h"
#include "platform/controls/window_paint.h"
#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>

namespace qel {

namespace {

template <class E>
bool Changed(plat::TSet<E> a, plat::TSet<E> b, E item)
{
    return a.Contains(item) != b.Contains(item);
}

} // namespace

PLAT_DEFINE_CLASS(TCustomDataTreeOptions, plat::TPersistent)
PLAT_DEFINE_CLASS(TCustomStringTreeOptions, TCustomDataTreeOptions)
PLAT_DEFINE_CLASS(TStringTreeOptions, TCustomStringTreeOptions,
    plat::Published("AnimationOptions", &TStringTreeOptions::AnimationOptions, &TStringTreeOptions::SetAnimationOptions,
                    {"toAnimatedToggle", "toAdvancedAnimatedToggle"})
        .Default(TDTAnimationOptions{}),
    plat::Published("AutoOptions", &TStringTreeOptions::AutoOptions, &TStringTreeOptions::SetAutoOptions,
                    {"toAutoDropExpand", "toAutoExpand", "toAutoScroll", "toAutoScrollOnExpand", "toAutoSort",
                     "toAutoSpanColumns", "toAutoTristateTracking", "toAutoHideButtons", "toAutoDeleteMovedNodes",
                     "toDisableAutoscrollOnFocus", "toAutoChangeScale", "toAutoFreeOnCollapse",
                     "toDisableAutoscrollOnEdit", "toAutoBidiColumnOrdering"})
        .Default(DefaultAutoOptions),
    plat::Published("ExportMode", &TStringTreeOptions::ExportMode, &TStringTreeOptions::SetExportMode,
                    {"emAll", "emChecked", "emUnchecked", "emVisibleDueToExpansion", "emSelected"})
        .Default(emAll),
    plat::Published("MiscOptions", &TStringTreeOptions::MiscOptions, &TStringTreeOptions::SetMiscOptions,
                    {"toAcceptOLEDrop", "toCheckSupport", "toEditable", "toFullRepaintOnResize", "toGridExtensions",
                     "toInitOnSave", "toReportMode", "toToggleOnDblClick", "toWheelPanning", "toReadOnly",
                     "toVariableNodeHeight", "toFullRowDrag", "toNodeHeightResize", "toNodeHeightDblClickResize",
                     "toEditOnClick", "toEditOnDblClick", "toReverseFullExpandHotKey"})
        .Default(DefaultMiscOptions),
    plat::Published("PaintOptions", &TStringTreeOptions::PaintOptions, &TStringTreeOptions::SetPaintOptions,
                    {"toHideFocusRect", "toHideSelection", "toHotTrack", "toPopupMode", "toShowBackground",
                     "toShowButtons", "toShowDropmark", "toShowHorzGridLines", "toShowRoot", "toShowTreeLines",
                     "toShowVertGridLines", "toThemeAware", "toUseBlendedImages", "toGhostedIfUnfocused",
                     "toFullVertGridLines", "toAlwaysHideSelection", "toUseBlendedSelection", "toStaticBackground",
                     "toChildrenAbove", "toFixedIndent", "toUseExplorerTheme", "toHideTreeLinesIfThemed",
                     "toShowFilteredNodes"})
        .Default(DefaultPaintOptions),
    plat::Published("SelectionOptions", &TStringTreeOptions::SelectionOptions,
                    &TStringTreeOptions::SetSelectionOptions,
                    {"toDisableDrawSelection", "toExtendedFocus", "toFullRowSelect", "toLevelSelectConstraint",
                     "toMiddleClickSelect", "toMultiSelect", "toRightClickSelect", "toSiblingSelectConstraint",
                     "toCenterScrollIntoView", "toSimpleDrawSelection", "toAlwaysSelectNode", "toRestoreSelection",
                     "toSyncCheckboxesWithSelection", "toSelectNextNodeOnRemoval"})
        .Default(DefaultSelectionOptions),
    plat::Published("StringOptions", &TStringTreeOptions::StringOptions, &TStringTreeOptions::SetStringOptions,
                    {"toSaveCaptions", "toShowStaticText", "toAutoAcceptEditChange"})
        .Default(DefaultStringOptions),
    plat::Published("EditOptions", &TStringTreeOptions::EditOptions, &TStringTreeOptions::SetEditOptions,
                    {"toDefaultEdit", "toVerticalEdit", "toHorizontalEdit"})
        .Default(toDefaultEdit))

PLAT_DEFINE_CLASS(TScrollBarOptions, plat::TPersistent,
    plat::Published("AlwaysVisible", &TScrollBarOptions::AlwaysVisible, &TScrollBarOptions::SetAlwaysVisible)
        .Default(false),
    plat::Published("HorizontalIncrement", &TScrollBarOptions::HorizontalIncrement,
                    &TScrollBarOptions::SetHorizontalIncrement)
        .Default(20),
    plat::Published("ScrollBars", &TScrollBarOptions::ScrollBars, &TScrollBarOptions::SetScrollBars,
                    {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"})
        .Default(ssBoth),
    plat::Published("ScrollBarStyle", &TScrollBarOptions::ScrollBarStyle, &TScrollBarOptions::SetScrollBarStyle,
                    {"sbmRegular", "sbm3D"})
        .Default(sbmRegular),
    plat::Published("VerticalIncrement", &TScrollBarOptions::VerticalIncrement,
                    &TScrollBarOptions::SetVerticalIncrement)
        .Default(20))

TCustomDataTreeOptions::TCustomDataTreeOptions(TBaseDataTree* owner) : FOwner(owner)
{
}

plat::TPersistent* TCustomDataTreeOptions::GetOwner() const
{
    return FOwner;
}

bool TCustomDataTreeOptions::OwnerCanReact() const
{
    return FOwner != nullptr && FOwner->CanReactToOptions();
}

void TCustomDataTreeOptions::SetAutoOptions(TDTAutoOptions value)
{
    if (value == FAutoOptions) {
        return;
    }
    const TDTAutoOptions old = FAutoOptions;
    FAutoOptions = value;
    if (Changed(old, value, toAutoSpanColumns) && OwnerCanReact()) {
        FOwner->Invalidate();
    }
}

void TCustomDataTreeOptions::SetSelectionOptions(TDTSelectionOptions value)
{
    if (value == FSelectionOptions) {
        return;
    }
    const TDTSelectionOptions toBeSet = value - FSelectionOptions;
    const TDTSelectionOptions toBeCleared = FSelectionOptions - value;
    FSelectionOptions = value;
    if (FOwner == nullptr) {
        return;
    }
    TBaseDataTree& tree = *FOwner;
    // A selection made under other rules does not stay.
    if ((toBeSet + toBeCleared).Contains(toMultiSelect) || toBeSet.Contains(toLevelSelectConstraint) ||
        toBeSet.Contains(toSiblingSelectConstraint)) {
        tree.ClearSelection(true);
    }
    if (toBeCleared.Contains(toExtendedFocus) && tree.FocusedColumn() > 0 && tree.HandleAllocated()) {
        tree.SetFocusedColumn(tree.HeaderMainColumn());
        tree.Invalidate();
    }
    if (!value.Contains(toExtendedFocus)) {
        tree.SetFocusedColumn(tree.HeaderMainColumn());
    }
}

void TCustomDataTreeOptions::SetMiscOptions(TDTMiscOptions value)
{
    if (value == FMiscOptions) {
        return;
    }
    const TDTMiscOptions toBeSet = value - FMiscOptions;
    const TDTMiscOptions toBeCleared = FMiscOptions - value;
    // The validation worker reads how node heights are found.
    if ((toBeSet + toBeCleared).Contains(toVariableNodeHeight) && FOwner != nullptr) {
        FOwner->InterruptValidation();
    }
    FMiscOptions = value;
    if (!OwnerCanReact()) {
        return;
    }
    TBaseDataTree& tree = *FOwner;
    if ((toBeSet + toBeCleared).Contains(toCheckSupport)) {
        tree.Invalidate();
    }
    if (toBeSet.Contains(toEditOnDblClick)) {
        FMiscOptions.Exclude(toToggleOnDblClick);
    }
    if (tree.Designing()) {
        return;
    }
    if ((toBeSet + toBeCleared).Contains(toFullRepaintOnResize)) {
        tree.RecreateWnd();
    }
    if ((toBeSet + toBeCleared).Contains(toAcceptOLEDrop)) {
        tree.UpdateDropTarget();
    }
    if (toBeSet.Contains(toVariableNodeHeight)) {
        tree.BeginUpdate();
        TryFinally([&] { tree.ReinitNode(nullptr, true, false); }, [&] { tree.EndUpdate(); });
    }
}

void TCustomDataTreeOptions::SetPaintOptions(TDTPaintOptions value)
{
    if (value == FPaintOptions) {
        return;
    }
    // The validation worker reads the paint options.
    if (FOwner != nullptr) {
        FOwner->InterruptValidation();
    }
    TDTPaintOptions toBeSet = value - FPaintOptions;
    const TDTPaintOptions toBeCleared = FPaintOptions - value;
    FPaintOptions = value;
    if (toBeSet.Contains(toFixedIndent)) {
        FPaintOptions.Include(toShowRoot);
        toBeSet.Include(toShowRoot);
    }
    if (FOwner == nullptr) {
        return;
    }
    const TDTPaintOptions changed = toBeSet + toBeCleared;
    TBaseDataTree& tree = *FOwner;
    const bool hadHandle = tree.HandleAllocated();
    if (!tree.Loading() && changed.Contains(toShowFilteredNodes)) {
        if (hadHandle) {
            tree.BeginUpdate();
        }
        TryFinally(
            [&] {
                tree.InterruptValidation();
                tree.ShowFilteredNodes(FPaintOptions.Contains(toShowFilteredNodes));
            },
            [&] {
                if (hadHandle) {
                    tree.EndUpdate();
                }
            });
    }
    if (!tree.HandleAllocated()) {
        return;
    }
    // The platform has no visual styles: only a tree that uses themes
    // switches its explorer look.
    if (tree.FStates.Contains(tsUseThemes) && changed.Contains(toUseExplorerTheme)) {
        if (toBeSet.Contains(toUseExplorerTheme)) {
            tree.DoStateChange({tsUseExplorerTheme});
        } else {
            tree.DoStateChange({}, {tsUseExplorerTheme});
        }
    }
    if (tree.Loading()) {
        return;
    }
    if (changed.Contains(toThemeAware) || changed.Contains(toUseExplorerTheme)) {
        if (toBeCleared.Contains(toThemeAware)) {
            tree.DoStateChange({}, {tsUseThemes});
        }
        tree.PrepareBitmaps(true, false);
        plat::RedrawWindow(tree.Handle(), nullptr, nullptr,
                           plat::RDW_INVALIDATE | plat::RDW_VALIDATE | plat::RDW_FRAME);
    }
    if (changed.Contains(toChildrenAbove)) {
        tree.InvalidateCache();
        if (!tree.IsUpdating()) {
            tree.ValidateCache();
            tree.Invalidate();
        }
    }
    tree.Invalidate();
}

void TCustomDataTreeOptions::AssignTo(plat::TPersistent* dest) const
{
    auto* options = dynamic_cast<TCustomDataTreeOptions*>(dest);
    if (options == nullptr) {
        plat::TPersistent::AssignTo(dest);
        return;
    }
    options->SetPaintOptions(FPaintOptions);
    options->SetAnimationOptions(FAnimationOptions);
    options->SetAutoOptions(FAutoOptions);
    options->SetSelectionOptions(FSelectionOptions);
    options->SetMiscOptions(FMiscOptions);
}

void TCustomStringTreeOptions::SetStringOptions(TDTStringOptions value)
{
    const TDTStringOptions old = FStringOptions;
    FStringOptions = value;
    if (Changed(old, value, toShowStaticText) && OwnerCanReact()) {
        Owner()->Invalidate();
    }
}

void TCustomStringTreeOptions::AssignTo(plat::TPersistent* dest) const
{
    if (auto* options = dynamic_cast<TCustomStringTreeOptions*>(dest)) {
        options->SetStringOptions(FStringOptions);
        options->SetEditOptions(EditOptions());
    }
    TCustomDataTreeOptions::AssignTo(dest);
}

plat::TPersistent* TScrollBarOptions::GetOwner() const
{
    return FOwner;
}

void TScrollBarOptions::Assign(const plat::TPersistent* source)
{
    const auto* options = dynamic_cast<const TScrollBarOptions*>(source);
    if (options == nullptr) {
        plat::TPersistent::Assign(source);
        return;
    }
    SetAlwaysVisible(options->AlwaysVisible());
    SetHorizontalIncrement(options->HorizontalIncrement());
    SetScrollBars(options->ScrollBars());
    SetScrollBarStyle(options->ScrollBarStyle());
    SetVerticalIncrement(options->VerticalIncrement());
}

void TScrollBarOptions::SetAlwaysVisible(bool value)
{
    if (value != FAlwaysVisible) {
        FAlwaysVisible = value;
        OwnerWindowStyleChanged();
    }
}

void TScrollBarOptions::SetScrollBars(TScrollStyle value)
{
    if (value != FScrollBars) {
        FScrollBars = value;
        OwnerWindowStyleChanged();
    }
}

void TScrollBarOptions::OwnerWindowStyleChanged()
{
    // The scroll-bar styles are fixed when the window is made.
    if (FOwner != nullptr && FOwner->CanReactToOptions()) {
        FOwner->RecreateWnd();
    }
}

void TScrollBarOptions::SetHorizontalIncrement(TDTScrollIncrement value)
{
    FIncrementX = std::clamp(value, MinScrollIncrement, MaxScrollIncrement);
}

void TScrollBarOptions::SetVerticalIncrement(TDTScrollIncrement value)
{
    FIncrementY = std::clamp(value, MinScrollIncrement, MaxScrollIncrement);
}

} // namespace qel

// The data tree's behaviour switches: the option sets with their ordinals
// and defaults, the options object each tree owns (the string tree's adds
// its string options) and the scroll-bar options. Setters store a changed
// value and let the owning tree react once it is loaded and has a window.
#pragma once

#include "platform/objects/persistent.h"
#include "platform/objects/set.h"

#include <cstdint>

namespace qel {

class TBaseDataTree;

enum TDTPaintOption {
    toHideFocusRect,
    toHideSelection,
    toHotTrack,
    toPopupMode,
    toShowBackground,
    toShowButtons,
    toShowDropmark,
    toShowHorzGridLines,
    toShowRoot,
    toShowTreeLines,
    toShowVertGridLines,
    toThemeAware,
    toUseBlendedImages,
    toGhostedIfUnfocused,
    toFullVertGridLines,
    toAlwaysHideSelection,
    toUseBlendedSelection,
    toStaticBackground,
    toChildrenAbove,
    toFixedIndent,
    toUseExplorerTheme,
    toHideTreeLinesIfThemed,
    toShowFilteredNodes,
};
using TDTPaintOptions = plat::TSet<TDTPaintOption>;

enum TDTAnimationOption { toAnimatedToggle, toAdvancedAnimatedToggle };
using TDTAnimationOptions = plat::TSet<TDTAnimationOption>;

enum TDTAutoOption {
    toAutoDropExpand,
    toAutoExpand,
    toAutoScroll,
    toAutoScrollOnExpand,
    toAutoSort,
    toAutoSpanColumns,
    toAutoTristateTracking,
    toAutoHideButtons,
    toAutoDeleteMovedNodes,
    toDisableAutoscrollOnFocus,
    toAutoChangeScale,
    toAutoFreeOnCollapse,
    toDisableAutoscrollOnEdit,
    toAutoBidiColumnOrdering,
};
using TDTAutoOptions = plat::TSet<TDTAutoOption>;

enum TDTSelectionOption {
    toDisableDrawSelection,
    toExtendedFocus,
    toFullRowSelect,
    toLevelSelectConstraint,
    toMiddleClickSelect,
    toMultiSelect,
    toRightClickSelect,
    toSiblingSelectConstraint,
    toCenterScrollIntoView,
    toSimpleDrawSelection,
    toAlwaysSelectNode,
    toRestoreSelection,
    toSyncCheckboxesWithSelection,
    toSelectNextNodeOnRemoval,
};
using TDTSelectionOptions = plat::TSet<TDTSelectionOption>;

enum TDTMiscOption {
    toAcceptOLEDrop,
    toCheckSupport,
    toEditable,
    toFullRepaintOnResize,
    toGridExtensions,
    toInitOnSave,
    toReportMode,
    toToggleOnDblClick,
    toWheelPanning,
    toReadOnly,
    toVariableNodeHeight,
    toFullRowDrag,
    toNodeHeightResize,
    toNodeHeightDblClickResize,
    toEditOnClick,
    toEditOnDblClick,
    toReverseFullExpandHotKey,
};
using TDTMiscOptions = plat::TSet<TDTMiscOption>;

enum TDTStringOption { toSaveCaptions, toShowStaticText, toAutoAcceptEditChange };
using TDTStringOptions = plat::TSet<TDTStringOption>;

enum TDTExportMode : std::uint8_t { emAll, emChecked, emUnchecked, emVisibleDueToExpansion, emSelected };
enum TDTEditOptions : std::uint8_t { toDefaultEdit, toVerticalEdit, toHorizontalEdit };

constexpr TDTPaintOptions DefaultPaintOptions = TDTPaintOptions::FromBits(23392);
constexpr TDTAutoOptions DefaultAutoOptions = TDTAutoOptions::FromBits(1497);
constexpr TDTSelectionOptions DefaultSelectionOptions = TDTSelectionOptions::FromBits(8192);
constexpr TDTMiscOptions DefaultMiscOptions = TDTMiscOptions::FromBits(16809);
constexpr TDTStringOptions DefaultStringOptions = TDTStringOptions::FromBits(5);

class TCustomDataTreeOptions : public plat::TPersistent {
    PLAT_CLASS(TCustomDataTreeOptions, plat::TPersistent)
public:
    using TOwnerType = TBaseDataTree;

    explicit TCustomDataTreeOptions(TBaseDataTree* owner);

    TDTPaintOptions PaintOptions() const { return FPaintOptions; }
    void SetPaintOptions(TDTPaintOptions value);
    TDTAnimationOptions AnimationOptions() const { return FAnimationOptions; }
    void SetAnimationOptions(TDTAnimationOptions value) { FAnimationOptions = value; }
    TDTAutoOptions AutoOptions() const { return FAutoOptions; }
    void SetAutoOptions(TDTAutoOptions value);
    TDTSelectionOptions SelectionOptions() const { return FSelectionOptions; }
    void SetSelectionOptions(TDTSelectionOptions value);
    TDTMiscOptions MiscOptions() const { return FMiscOptions; }
    void SetMiscOptions(TDTMiscOptions value);
    // Stores MiscOptions without any side effect.
    void InternalSetMiscOptions(TDTMiscOptions value) { FMiscOptions = value; }
    TDTExportMode ExportMode() const { return FExportMode; }
    void SetExportMode(TDTExportMode value) { FExportMode = value; }
    TDTEditOptions EditOptions() const { return FEditOptions; }
    void SetEditOptions(TDTEditOptions value) { FEditOptions = value; }
    // The string tree's own options; none for other trees.
    virtual TDTStringOptions StringOptions() const { return {}; }

    TBaseDataTree* Owner() const { return FOwner; }
    plat::TPersistent* GetOwner() const override;

protected:
    // Into another options object, through its setters (so its owner
    // reacts): paint, animation, auto, selection and misc options.
    void AssignTo(plat::TPersistent* dest) const override;
    // The owner reacts to a change once it is loaded and has a window.
    bool OwnerCanReact() const;

private:
    TBaseDataTree* FOwner;
    TDTPaintOptions FPaintOptions = DefaultPaintOptions;
    TDTAnimationOptions FAnimationOptions;
    TDTAutoOptions FAutoOptions = DefaultAutoOptions;
    TDTSelectionOptions FSelectionOptions = DefaultSelectionOptions;
    TDTMiscOptions FMiscOptions = DefaultMiscOptions;
    TDTExportMode FExportMode = emAll;
    TDTEditOptions FEditOptions = toDefaultEdit;
};

class TCustomStringTreeOptions : public TCustomDataTreeOptions {
    PLAT_CLASS(TCustomStringTreeOptions, TCustomDataTreeOptions)
public:
    explicit TCustomStringTreeOptions(TBaseDataTree* owner) : TCustomDataTreeOptions(owner) {}

    TDTStringOptions StringOptions() const override { return FStringOptions; }
    void SetStringOptions(TDTStringOptions value);

protected:
    // String and edit options first, then the base sets.
    void AssignTo(plat::TPersistent* dest) const override;

private:
    TDTStringOptions FStringOptions = DefaultStringOptions;
};

// The string tree's options as the form description streams them.
class TStringTreeOptions : public TCustomStringTreeOptions {
    PLAT_CLASS(TStringTreeOptions, TCustomStringTreeOptions)
public:
    explicit TStringTreeOptions(TBaseDataTree* owner) : TCustomStringTreeOptions(owner) {}
};

enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollBarStyle : std::uint8_t { sbmRegular, sbm3D };

// Scroll increments lie in 1 .. 10000 pixels.
using TDTScrollIncrement = std::uint16_t;
constexpr TDTScrollIncrement MinScrollIncrement = 1;
constexpr TDTScrollIncrement MaxScrollIncrement = 10000;

class TScrollBarOptions : public plat::TPersistent {
    PLAT_CLASS(TScrollBarOptions, plat::TPersistent)
public:
    using TOwnerType = TBaseDataTree;

    explicit TScrollBarOptions(TBaseDataTree* owner) : FOwner(owner) {}

    // Takes another TScrollBarOptions through the setters (the owner's
    // window is made anew for each changed value that needs it).
    void Assign(const plat::TPersistent* source) override;

    bool AlwaysVisible() const { return FAlwaysVisible; }
    void SetAlwaysVisible(bool value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    TScrollBarStyle ScrollBarStyle() const { return FScrollBarStyle; }
    void SetScrollBarStyle(TScrollBarStyle value) { FScrollBarStyle = value; }
    TDTScrollIncrement HorizontalIncrement() const { return FIncrementX; }
    // Values outside 1 .. 10000 are brought to the nearer end.
    void SetHorizontalIncrement(TDTScrollIncrement value);
    TDTScrollIncrement VerticalIncrement() const { return FIncrementY; }
    void SetVerticalIncrement(TDTScrollIncrement value);

    plat::TPersistent* GetOwner() const override;

private:
    void OwnerWindowStyleChanged();

    bool FAlwaysVisible = false;
    TBaseDataTree* FOwner;
    TScrollStyle FScrollBars = ssBoth;
    TScrollBarStyle FScrollBarStyle = sbmRegular;
    TDTScrollIncrement FIncrementX = 20;
    TDTScrollIncrement FIncrementY = 20;
};

} // namespace qel

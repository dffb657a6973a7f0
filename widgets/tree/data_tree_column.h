// TDataTreeColumn: one column of the data tree's header. A column has an
// index (its place in the collection, used by every cell and event) and a
// position (its place on screen); its width stays within its limits and,
// for fixed columns, within the header's fixed-area percentages.
#pragma once

#include "platform/canvas/colors.h"
#include "platform/canvas/graphics_types.h"
#include "platform/objects/collection.h"
#include "platform/objects/set.h"
#include "widgets/tree/check_state.h"
#include "widgets/tree/data_tree_types.h"
#include "widgets/tree/tree_geometry_types.h"

#include <cstdint>
#include <string>

namespace plat {
class TStream;
}

namespace qel {

enum TDTEditOptions : std::uint8_t;

struct THeaderPaintInfo;
class TDataTreeColumns;
class TDTHeader;
class TBaseDataTree;

// Display position of a column, compared unsigned.
using TColumnPosition = std::uint32_t;

// The largest width limit, margin or spacing (either sign) a column takes, so
// that sums over the columns and the header's layout stay within an int.
inline constexpr int MaxColumnExtent = 1 << 16;

enum TDTColumnOption {
    coAllowClick,
    coDraggable,
    coEnabled,
    coParentBidiMode,
    coParentColor,
    coResizable,
    coShowDropMark,
    coVisible,
    coAutoSpring,
    coFixed,
    coSmartResize,
    coAllowFocus,
    coDisableAnimatedResize,
    coWrapCaption,
    coUseCaptionAlignment,
    coEditable,
    coStyleColor,
};
using TDTColumnOptions = plat::TSet<TDTColumnOption>;

// The options of a new column (0x188FF).
inline const TDTColumnOptions DefaultColumnOptions{coAllowClick,    coDraggable,  coEnabled,    coParentBidiMode,
                                                   coParentColor,   coResizable,  coShowDropMark, coVisible,
                                                   coAllowFocus,    coEditable,   coStyleColor};

enum TDataTreeColumnStyle : std::uint8_t { vsText, vsOwnerDraw };
enum TDTHeaderColumnLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TDataTreeColumn : public plat::TCollectionItem {
    PLAT_CLASS(TDataTreeColumn, plat::TCollectionItem)
public:
    // Takes the defaults, then joins collection (when given) at its end.
    explicit TDataTreeColumn(plat::TCollection* collection);
    // Leaves the collection while its fields still stand (Notify reads them).
    ~TDataTreeColumn() override;

    TDataTreeColumns* Owner() const { return FOwner; }
    TColumnIndex Index() const { return FIndex; }
    void SetCollection(plat::TCollection* collection) override;

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    int Width() const { return FWidth; }
    // Clamped to MinWidth .. MaxWidth (and, for a visible fixed column, to
    // the fixed-area percentages); fires OnColumnResize outside updates.
    void SetWidth(int value);
    TColumnPosition Position() const { return FPosition; }
    // Values at or above Count move the column to the last position.
    void SetPosition(TColumnPosition value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    TDTColumnOptions Options() const { return FOptions; }
    void SetOptions(TDTColumnOptions value);
    TDataTreeColumnStyle Style() const { return FStyle; }
    void SetStyle(TDataTreeColumnStyle value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    TDTHeaderColumnLayout Layout() const { return FLayout; }
    void SetLayout(TDTHeaderColumnLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // The caption's alignment: CaptionAlignment with coUseCaptionAlignment, else Alignment.
    TAlignment CaptionAlignment() const;
    void SetCaptionAlignment(TAlignment value);
    plat::TColor Color() const { return FColor; }
    void SetColor(plat::TColor value);
    bool CheckBox() const { return FCheckBox; }
    void SetCheckBox(bool value);
    TCheckType CheckType() const { return FCheckType; }
    void SetCheckType(TCheckType value);
    TCheckState CheckState() const { return FCheckState; }
    void SetCheckState(TCheckState value);
    TSortDirection DefaultSortDirection() const { return FDefaultSortDirection; }
    void SetDefaultSortDirection(TSortDirection value) { FDefaultSortDirection = value; }
    int EditNextColumn() const { return FEditNextColumn; }
    void SetEditNextColumn(int value) { FEditNextColumn = value; }
    // Where Return moves an edit in this column; toDefaultEdit: as the tree says.
    TDTEditOptions EditOptions() const { return FEditOptions; }
    void SetEditOptions(TDTEditOptions value) { FEditOptions = value; }
    std::int64_t Tag() const { return FTag; }
    void SetTag(std::int64_t value) { FTag = value; }

    int LastWidth() const { return FLastWidth; }
    bool BonusPixel() const { return FBonusPixel; }
    void SetBonusPixel(bool value) { FBonusPixel = value; }
    float SpringRest() const { return FSpringRest; }
    void SetSpringRest(float value) { FSpringRest = value; }
    const std::string& CaptionText() const { return FCaptionText; }
    void SetCaptionText(const std::string& value) { FCaptionText = value; }
    const plat::TRect& ImageRect() const { return FImageRect; }
    void SetImageRect(const plat::TRect& value) { FImageRect = value; }
    bool HasImage() const { return FHasImage; }
    void SetHasImage(bool value) { FHasImage = value; }

    // Texts, sizes, kinds, options, tag and colours (not the position).
    void SaveToStream(plat::TStream& stream);
    void LoadFromStream(plat::TStream& stream, int version);

    bool IsVisible() const { return FOptions.Contains(coVisible); }
    bool IsFixed() const { return FOptions.Contains(coFixed); }
    // FLeft for a visible fixed column, else FLeft less the tree's effective
    // horizontal offset.
    int Left() const;
    // Left border in unscrolled header coordinates.
    int AbsoluteLeft() const { return FLeft; }
    void GetAbsoluteBounds(int& left, int& right) const;
    // The header rectangle of the column in window coordinates (unscrolled).
    virtual plat::TRect GetRect() const;
    // The tree's background for parent-coloured columns, else Color.
    plat::TColor GetEffectiveColor() const;
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
    std::string DisplayName() const override { return FText; }
    // Places glyph, sort arrow and caption in paintInfo.PaintRectangle.
    void ComputeHeaderLayout(THeaderPaintInfo& paintInfo, std::uint32_t drawFormat);
    // The width caption, glyph and sort arrow need.
    int CaptionWidth() const;
    void ParentBiDiModeChanged();
    void ParentColorChanged();
    void RestoreLastWidth();
    virtual void ChangeScale(int m, int d);
    void Assign(const TDataTreeColumn& source);
    void Assign(const plat::TPersistent* source) override;
    bool Equals(const TDataTreeColumn& other) const;

protected:
    // Older forms store the caption and hint as "WideText" and "WideHint".
    void DefineProperties(plat::TFiler& filer) override;

private:
    friend class TDataTreeColumns;
    friend class TDTHeader;

    // The column has joined owner at its end: its default width, the last
    // position and the tree's bidirectional mode and colour.
    void JoinedCollection(TDataTreeColumns* owner);
    TDTHeader* Header() const;
    TBaseDataTree* Tree() const;
    // What the form stores: the mode and colour only when not the tree's,
    // the caption alignment only when it is the column's own.
    bool BiDiModeStored() const { return !FOptions.Contains(coParentBidiMode); }
    bool ColorStored() const { return !FOptions.Contains(coParentColor); }
    bool CaptionAlignmentStored() const { return FOptions.Contains(coUseCaptionAlignment); }
    // Tells the collection the column changed (its Update with this item).
    void Changed();
    plat::TSize HeaderGlyphSize(bool showGlyph) const;
    plat::TSize SortGlyphSize(bool showSortGlyph) const;
    // The width rule of a visible fixed column (fixed-area percentages).
    int LimitFixedWidth(int value) const;

    TDataTreeColumns* FOwner = nullptr;
    TColumnIndex FIndex = NoColumn;   // kept by the collection as columns come and go
    std::string FText;
    std::string FHint;
    int FWidth = 50;
    TColumnPosition FPosition = 0;
    int FMinWidth = 10;
    int FMaxWidth = 10000;          // never below FMinWidth
    TDataTreeColumnStyle FStyle = vsText;
    int FImageIndex = -1;
    TBiDiMode FBiDiMode = bdLeftToRight;
    TDTHeaderColumnLayout FLayout = blGlyphLeft;
    int FMargin = 4;
    int FSpacing = 3;
    TDTColumnOptions FOptions = DefaultColumnOptions;
    int FEditNextColumn = -1;
    TDTEditOptions FEditOptions{};  // toDefaultEdit
    std::int64_t FTag = 0;
    TAlignment FAlignment = taLeftJustify;
    TAlignment FCaptionAlignment = taLeftJustify;
    int FLastWidth = 50;            // width before the last change
    plat::TColor FColor = plat::clWindow;
    bool FBonusPixel = false;
    float FSpringRest = 0;
    std::string FCaptionText;
    bool FCheckBox = false;
    TCheckType FCheckType = ctCheckBox;
    TCheckState FCheckState = csUncheckedNormal;
    plat::TRect FImageRect;
    bool FHasImage = false;
    TSortDirection FDefaultSortDirection = sdAscending;
    int FLeft = 0;                  // sum of the widths of the visible columns at smaller positions
};

} // namespace qel

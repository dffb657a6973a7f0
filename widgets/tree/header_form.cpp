// The header and its columns in the tree's form description: their
// published properties with the defaults left out, the columns' older
// "WideText" and "WideHint", and the column collection the tree stores as
// its own "Columns".
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/image_list.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"
#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/try_finally.h"

#include <string>

namespace qel {

PLAT_DEFINE_CLASS(TDataTreeColumn, plat::TCollectionItem,
    plat::Published("Alignment", &TDataTreeColumn::Alignment, &TDataTreeColumn::SetAlignment,
                    {"taLeftJustify", "taRightJustify", "taCenter"})
        .Default(plat::taLeftJustify),
    plat::Published("BiDiMode", &TDataTreeColumn::BiDiMode, &TDataTreeColumn::SetBiDiMode,
                    {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"})
        .StoredIf(&TDataTreeColumn::BiDiModeStored),
    plat::Published("CaptionAlignment", &TDataTreeColumn::CaptionAlignment, &TDataTreeColumn::SetCaptionAlignment,
                    {"taLeftJustify", "taRightJustify", "taCenter"})
        .Default(plat::taLeftJustify)
        .StoredIf(&TDataTreeColumn::CaptionAlignmentStored),
    plat::Published("CaptionWidth", &TDataTreeColumn::CaptionWidth, nullptr).Stored(false),
    plat::Published("CheckType", &TDataTreeColumn::CheckType, &TDataTreeColumn::SetCheckType,
                    {"ctNone", "ctTriStateCheckBox", "ctCheckBox", "ctRadioButton", "ctButton"})
        .Default(ctCheckBox),
    plat::Published("CheckState", &TDataTreeColumn::CheckState, &TDataTreeColumn::SetCheckState,
                    {"csUncheckedNormal", "csUncheckedPressed", "csCheckedNormal", "csCheckedPressed",
                     "csMixedNormal", "csMixedPressed", "csUncheckedDisabled", "csCheckedDisabled",
                     "csMixedDisabled"})
        .Default(csUncheckedNormal),
    plat::Published("CheckBox", &TDataTreeColumn::CheckBox, &TDataTreeColumn::SetCheckBox).Default(false),
    plat::Published("Color", &TDataTreeColumn::Color, &TDataTreeColumn::SetColor)
        .StoredIf(&TDataTreeColumn::ColorStored),
    plat::Published("DefaultSortDirection", &TDataTreeColumn::DefaultSortDirection,
                    &TDataTreeColumn::SetDefaultSortDirection, {"sdAscending", "sdDescending"})
        .Default(sdAscending),
    plat::Published("Hint", &TDataTreeColumn::Hint, &TDataTreeColumn::SetHint),
    plat::Published("ImageIndex", &TDataTreeColumn::ImageIndex, &TDataTreeColumn::SetImageIndex).Default(-1),
    plat::Published("Layout", &TDataTreeColumn::Layout, &TDataTreeColumn::SetLayout,
                    {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"})
        .Default(blGlyphLeft),
    plat::Published("Margin", &TDataTreeColumn::Margin, &TDataTreeColumn::SetMargin).Default(4),
    plat::Published("MaxWidth", &TDataTreeColumn::MaxWidth, &TDataTreeColumn::SetMaxWidth).Default(10000),
    plat::Published("MinWidth", &TDataTreeColumn::MinWidth, &TDataTreeColumn::SetMinWidth).Default(10),
    plat::Published("Options", &TDataTreeColumn::Options, &TDataTreeColumn::SetOptions,
                    {"coAllowClick", "coDraggable", "coEnabled", "coParentBidiMode", "coParentColor", "coResizable",
                     "coShowDropMark", "coVisible", "coAutoSpring", "coFixed", "coSmartResize", "coAllowFocus",
                     "coDisableAnimatedResize", "coWrapCaption", "coUseCaptionAlignment", "coEditable",
                     "coStyleColor"})
        .Default(DefaultColumnOptions),
    plat::Published("EditOptions", &TDataTreeColumn::EditOptions, &TDataTreeColumn::SetEditOptions,
                    {"toDefaultEdit", "toVerticalEdit", "toHorizontalEdit"}),
    plat::Published("EditNextColumn", &TDataTreeColumn::EditNextColumn, &TDataTreeColumn::SetEditNextColumn)
        .Default(-1),
    plat::Published("Position", &TDataTreeColumn::Position, &TDataTreeColumn::SetPosition),
    plat::Published("Spacing", &TDataTreeColumn::Spacing, &TDataTreeColumn::SetSpacing).Default(3),
    plat::Published("Style", &TDataTreeColumn::Style, &TDataTreeColumn::SetStyle, {"vsText", "vsOwnerDraw"})
        .Default(vsText),
    plat::Published("Tag", &TDataTreeColumn::Tag, &TDataTreeColumn::SetTag),
    plat::Published("Text", &TDataTreeColumn::Text, &TDataTreeColumn::SetText),
    plat::Published("Width", &TDataTreeColumn::Width, &TDataTreeColumn::SetWidth).Default(50))

PLAT_DEFINE_CLASS(TDataTreeColumns, plat::TOwnedCollection)

PLAT_DEFINE_CLASS(TDTFixedAreaConstraints, plat::TPersistent,
    plat::Published("MaxHeightPercent", &TDTFixedAreaConstraints::MaxHeightPercent,
                    &TDTFixedAreaConstraints::SetMaxHeightPercent)
        .Default(0),
    plat::Published("MaxWidthPercent", &TDTFixedAreaConstraints::MaxWidthPercent,
                    &TDTFixedAreaConstraints::SetMaxWidthPercent)
        .Default(95),
    plat::Published("MinHeightPercent", &TDTFixedAreaConstraints::MinHeightPercent,
                    &TDTFixedAreaConstraints::SetMinHeightPercent)
        .Default(0),
    plat::Published("MinWidthPercent", &TDTFixedAreaConstraints::MinWidthPercent,
                    &TDTFixedAreaConstraints::SetMinWidthPercent)
        .Default(0))

PLAT_DEFINE_CLASS(TDTHeader, plat::TPersistent,
    plat::Published("AutoSizeIndex", &TDTHeader::AutoSizeIndex, &TDTHeader::SetAutoSizeIndex),
    plat::Published("Background", &TDTHeader::Background, &TDTHeader::SetBackground).Default(plat::clBtnFace),
    plat::Published("Columns", &TDTHeader::ColumnsObject, &TDTHeader::SetColumns)
        .StoredIf(&TDTHeader::ColumnsStored),
    plat::Published("DefaultHeight", &TDTHeader::DefaultHeight, &TDTHeader::SetDefaultHeight).Default(19),
    plat::Published("Font", &TDTHeader::Font, &TDTHeader::SetFont).StoredIf(&TDTHeader::FontStored),
    plat::Published("FixedAreaConstraints", &TDTHeader::FixedAreaConstraintsObject,
                    &TDTHeader::SetFixedAreaConstraints),
    plat::Published("Height", &TDTHeader::Height, &TDTHeader::SetHeight).Default(19),
    plat::Published("Images", &TDTHeader::Images, &TDTHeader::SetImages),
    plat::Published("MainColumn", &TDTHeader::MainColumn, &TDTHeader::SetMainColumn).Default(0),
    plat::Published("MaxHeight", &TDTHeader::MaxHeight, &TDTHeader::SetMaxHeight).Default(10000),
    plat::Published("MinHeight", &TDTHeader::MinHeight, &TDTHeader::SetMinHeight).Default(10),
    plat::Published("Options", &TDTHeader::Options, &TDTHeader::SetOptions,
                    {"hoAutoResize", "hoColumnResize", "hoDblClickResize", "hoDrag", "hoHotTrack", "hoOwnerDraw",
                     "hoRestrictDrag", "hoShowHint", "hoShowImages", "hoShowSortGlyphs", "hoVisible", "hoAutoSpring",
                     "hoFullRepaintOnResize", "hoDisableAnimatedResize", "hoHeightResize", "hoHeightDblClickResize",
                     "hoHeaderClickAutoSort", "hoAutoColumnPopupMenu", "hoAutoResizeInclCaption"})
        .Default(DefaultHeaderOptions),
    plat::Published("ParentFont", &TDTHeader::ParentFont, &TDTHeader::SetParentFont).Default(true),
    plat::Published("PopupMenu", &TDTHeader::PopupMenu, &TDTHeader::SetPopupMenu),
    plat::Published("SortColumn", &TDTHeader::SortColumn, &TDTHeader::SetSortColumn).Default(-1),
    plat::Published("SortDirection", &TDTHeader::SortDirection, &TDTHeader::SetSortDirection,
                    {"sdAscending", "sdDescending"})
        .Default(sdAscending),
    plat::Published("SplitterHitTolerance", &TDTHeader::SplitterHitTolerance, &TDTHeader::SetSplitterHitTolerance)
        .Default(8),
    plat::Published("Style", &TDTHeader::Style, &TDTHeader::SetStyle, {"hsThickButtons", "hsFlatButtons", "hsPlates"})
        .Default(hsThickButtons))

void TDataTreeColumn::DefineProperties(plat::TFiler& filer)
{
    plat::TCollectionItem::DefineProperties(filer);
    filer.DefineProperty("WideText", [this](plat::TReader& reader) { SetText(reader.ReadString()); }, {}, false);
    filer.DefineProperty("WideHint", [this](plat::TReader& reader) { FHint = reader.ReadString(); }, {}, false);
}

plat::TClass TDTHeader::GetColumnsClass() const
{
    return TDataTreeColumns::StaticClass();
}

void TDTHeader::ReadColumns(plat::TReader& reader)
{
    FStates.Include(hsLoading);
    TryFinally(
        [&] {
            FColumns->Clear();
            reader.ReadCollection(FColumns.get());
        },
        [&] { FStates.Exclude(hsLoading); });
}

void TDTHeader::WriteColumns(plat::TWriter& writer) const
{
    const std::string path = writer.PropPathPrefix();
    writer.SetPropPathPrefix({});
    TryFinally([&] { writer.WriteCollection(FColumns.get()); }, [&] { writer.SetPropPathPrefix(path); });
}

} // namespace qel

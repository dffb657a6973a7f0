// The header's stream: a marker of -1 and a version, the columns with their
// position map, then the header's own fields; older versions and the old
// layout without a marker are read too. Values go through the setters, the
// limits before the sizes they limit; counts, lengths, kinds and the
// position map are checked against what a stream can hold.
#include "widgets/tree/dt_header.h"

#include "platform/canvas/graphics_objects.h"
#include "platform/streams.h"
#include "platform/text_encoding.h"
#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <vector>

namespace qel {

namespace {

constexpr std::int32_t HeaderVersion = 6;
constexpr std::uint64_t ColumnOptionsMask = (1u << 17) - 1;
constexpr std::uint64_t HeaderOptionsMask = (1u << 19) - 1;
// The fewest bytes a column takes in any version: two string lengths, ten
// numbers, and its entry in the position map.
constexpr std::int64_t SmallestColumn = 4 + 4 + 10 * 4 + 4;

void WriteInt(plat::TStream& stream, std::int32_t value)
{
    stream.WriteBuffer(&value, 4);
}

std::int32_t ReadInt(plat::TStream& stream)
{
    std::int32_t value = 0;
    stream.ReadBuffer(&value, 4);
    return value;
}

[[noreturn]] void HeaderStreamError(const char* what)
{
    throw EDataTreeError(std::string("Unable to load the header: ") + what, 2002);
}

// An enumeration's value, refused outside 0 .. last.
template <class E>
E ReadKind(plat::TStream& stream, int last)
{
    const std::int32_t value = ReadInt(stream) & 0xFF;
    if (value > last) {
        HeaderStreamError("a kind is out of range.");
    }
    return static_cast<E>(value);
}

void WriteText(plat::TStream& stream, const std::string& text)
{
    const std::u16string units = plat::Utf8ToUtf16(text);
    WriteInt(stream, static_cast<std::int32_t>(units.size()));
    stream.WriteBuffer(units.data(), static_cast<std::int64_t>(2 * units.size()));
}

std::string ReadText(plat::TStream& stream)
{
    const std::int32_t length = ReadInt(stream);
    if (length < 0 || 2 * std::int64_t{length} > stream.Size() - stream.Position()) {
        HeaderStreamError("a text is longer than the stream.");
    }
    std::u16string units(static_cast<std::size_t>(length), u'\0');
    stream.ReadBuffer(units.data(), 2 * std::int64_t{length});
    return plat::Utf16ToUtf8(units);
}

} // namespace

// ---- column ----

void TDataTreeColumn::SaveToStream(plat::TStream& stream)
{
    WriteText(stream, FText);
    WriteText(stream, FHint);
    for (const std::int32_t value :
         {FWidth, FMinWidth, FMaxWidth, static_cast<std::int32_t>(FStyle), FImageIndex, static_cast<std::int32_t>(FLayout),
          FMargin, FSpacing, static_cast<std::int32_t>(FBiDiMode), static_cast<std::int32_t>(FOptions.Bits()),
          static_cast<std::int32_t>(static_cast<std::uint32_t>(FTag)), static_cast<std::int32_t>(FAlignment),
          static_cast<std::int32_t>(FColor)}) {
        WriteInt(stream, value);
    }
    if (FOptions.Contains(coUseCaptionAlignment)) {
        WriteInt(stream, static_cast<std::int32_t>(FCaptionAlignment));
    }
}

void TDataTreeColumn::LoadFromStream(plat::TStream& stream, int version)
{
    SetText(ReadText(stream));
    FHint = ReadText(stream);
    const std::int32_t width = ReadInt(stream);
    const std::int32_t minWidth = ReadInt(stream);
    const std::int32_t maxWidth = ReadInt(stream);
    // The limits first, so that they cannot cut the width they come with.
    SetMaxWidth(std::max(maxWidth, 0));
    SetMinWidth(std::max(minWidth, 0));
    SetMaxWidth(std::max(maxWidth, 0));
    SetWidth(width);
    SetStyle(ReadKind<TDataTreeColumnStyle>(stream, vsOwnerDraw));
    SetImageIndex(ReadInt(stream));
    SetLayout(ReadKind<TDTHeaderColumnLayout>(stream, blGlyphBottom));
    SetMargin(ReadInt(stream));
    SetSpacing(ReadInt(stream));
    SetBiDiMode(ReadKind<TBiDiMode>(stream, bdRightToLeftReadingOnly));
    const std::int32_t options = ReadInt(stream);
    if (version >= 3) {
        SetOptions(TDTColumnOptions::FromBits(static_cast<std::uint32_t>(options) & ColumnOptionsMask));
    }
    if (version > 0) {
        FTag = ReadInt(stream);
        SetAlignment(ReadKind<TAlignment>(stream, taCenter));
    }
    if (version > 1) {
        SetColor(static_cast<plat::TColor>(ReadInt(stream)));
    }
    if (version > 5 && FOptions.Contains(coUseCaptionAlignment)) {
        SetCaptionAlignment(ReadKind<TAlignment>(stream, taCenter));
    }
}

// ---- columns ----

void TDataTreeColumns::SaveToStream(plat::TStream& stream)
{
    WriteInt(stream, Count());
    if (Count() > 0) {
        for (TColumnIndex i = 0; i < Count(); ++i) {
            Items(i)->SaveToStream(stream);
        }
        for (const TColumnIndex index : FPositionToIndex) {
            WriteInt(stream, index);
        }
    }
    WriteInt(stream, FDefaultWidth);
}

void TDataTreeColumns::LoadFromStream(plat::TStream& stream, int version)
{
    Clear();
    const std::int32_t count = ReadInt(stream);
    if (count < 0 || SmallestColumn * count > stream.Size() - stream.Position()) {
        HeaderStreamError("more columns than the stream can hold.");
    }
    if (count > 0) {
        BeginUpdate();
        TryFinally(
            [&] {
                for (std::int32_t i = 0; i < count; ++i) {
                    Add()->LoadFromStream(stream, version);
                }
                // The map must name every column once.
                std::vector<TColumnIndex> map(static_cast<std::size_t>(count));
                std::vector<bool> seen(map.size(), false);
                for (TColumnIndex& index : map) {
                    index = ReadInt(stream);
                    if (index < 0 || index >= count || seen[static_cast<std::size_t>(index)]) {
                        HeaderStreamError("the column order is damaged.");
                    }
                    seen[static_cast<std::size_t>(index)] = true;
                }
                FPositionToIndex = map;
                for (std::size_t slot = 0; slot < map.size(); ++slot) {
                    Items(map[slot])->FPosition = static_cast<TColumnPosition>(slot);
                }
                UpdatePositions(true);
            },
            [&] { EndUpdate(); });
    }
    if (version > 4) {
        FDefaultWidth = std::clamp(ReadInt(stream), 0, MaxColumnExtent);
    }
}

// ---- header ----

void TDTHeader::SaveToStream(plat::TStream& stream)
{
    WriteInt(stream, -1);
    WriteInt(stream, HeaderVersion);
    FColumns->SaveToStream(stream);
    WriteInt(stream, FAutoSizeIndex);
    WriteInt(stream, static_cast<std::int32_t>(FBackgroundColor));
    WriteInt(stream, FHeight);
    WriteInt(stream, static_cast<std::int32_t>(FOptions.Bits()));
    WriteInt(stream, static_cast<std::int32_t>(FStyle));
    WriteInt(stream, static_cast<std::int32_t>(FFont->Color()));
    WriteInt(stream, FFont->Height());
    WriteInt(stream, static_cast<std::int32_t>(FFont->Name().size()));
    stream.WriteBuffer(FFont->Name().data(), static_cast<std::int64_t>(FFont->Name().size()));
    WriteInt(stream, static_cast<std::int32_t>(FFont->Pitch()));
    WriteInt(stream, static_cast<std::int32_t>(FFont->Style().Bits()));
    WriteInt(stream, FMainColumn);
    WriteInt(stream, FSortColumn);
    WriteInt(stream, static_cast<std::int32_t>(FSortDirection));
    WriteInt(stream, FParentFont ? 1 : 0);
    WriteInt(stream, FMaxHeight);
    WriteInt(stream, FMinHeight);
    WriteInt(stream, FDefaultHeight);
    WriteInt(stream, FFixedAreaConstraints.MaxHeightPercent());
    WriteInt(stream, FFixedAreaConstraints.MaxWidthPercent());
    WriteInt(stream, FFixedAreaConstraints.MinHeightPercent());
    WriteInt(stream, FFixedAreaConstraints.MinWidthPercent());
}

namespace {

// What a column keeps that the stream does not carry.
struct TUnstoredColumnFields {
    bool CheckBox;
    TCheckType CheckType;
    TCheckState CheckState;
    TSortDirection DefaultSortDirection;
    TDTEditOptions EditOptions;
    int EditNextColumn;
    std::int64_t Tag;
};

} // namespace

void TDTHeader::LoadFromStream(plat::TStream& stream)
{
    // A stream that fails changes nothing: the header is read back from
    // what it was, and its columns get back what the stream does not carry.
    plat::TMemoryStream before;
    SaveToStream(before);
    std::vector<TUnstoredColumnFields> unstored;
    for (int i = 0; i < FColumns->Count(); ++i) {
        const TDataTreeColumn* column = FColumns->Items(i);
        unstored.push_back({column->CheckBox(), column->CheckType(), column->CheckState(),
                            column->DefaultSortDirection(), column->EditOptions(), column->EditNextColumn(),
                            column->Tag()});
    }
    const bool parentFont = FParentFont;
    const TColumnIndex mainColumn = FMainColumn;
    const TColumnIndex sortColumn = FSortColumn;
    try {
        ReadFromStream(stream);
    } catch (...) {
        // The flag as it was, so that reading it back keeps the font read
        // with it rather than taking the tree's.
        FParentFont = parentFont;
        before.SetPosition(0);
        ReadFromStream(before);
        // A stream of the old layout leaves these as they were, even beyond
        // the columns; their setters would have fitted them to the columns.
        FMainColumn = mainColumn;
        FSortColumn = sortColumn;
        for (int i = 0; i < FColumns->Count() && i < static_cast<int>(unstored.size()); ++i) {
            TDataTreeColumn* column = FColumns->Items(i);
            const TUnstoredColumnFields& fields = unstored[static_cast<std::size_t>(i)];
            column->SetCheckBox(fields.CheckBox);
            column->SetCheckType(fields.CheckType);
            column->SetCheckState(fields.CheckState);
            column->SetDefaultSortDirection(fields.DefaultSortDirection);
            column->SetEditOptions(fields.EditOptions);
            column->SetEditNextColumn(fields.EditNextColumn);
            column->SetTag(fields.Tag);
        }
        throw;
    }
}

void TDTHeader::ReadFromStream(plat::TStream& stream)
{
    // No option is in force while the columns load, so that neither auto
    // sizing nor invalidation runs; a load that fails puts them back.
    const TDTHeaderOptions oldOptions = FOptions;
    FStates.Include(hsLoading);
    FOptions = {};
    bool loaded = false;
    TryFinally(
        [&] {
            std::int32_t version = ReadInt(stream);
            if (version < 0) {
                version = ReadInt(stream);
                if (version < 0 || version > HeaderVersion) {
                    HeaderStreamError("the version is unknown.");
                }
            } else {
                // The old layout: the value is the column count.
                stream.Seek(-4, plat::soCurrent);
                version = -1;
            }
            FColumns->LoadFromStream(stream, version);
            SetAutoSizeIndex(ReadInt(stream));
            SetBackground(static_cast<plat::TColor>(ReadInt(stream)));
            const std::int32_t height = ReadInt(stream);
            SetHeight(height);
            const std::int32_t options = ReadInt(stream);
            FOptions = oldOptions;
            SetOptions(TDTHeaderOptions::FromBits(static_cast<std::uint32_t>(options) & HeaderOptionsMask));
            SetStyle(ReadKind<TDTHeaderStyle>(stream, hsPlates));
            FFont->SetColor(static_cast<plat::TColor>(ReadInt(stream)));
            FFont->SetHeight(ReadInt(stream));
            const std::int32_t nameLength = ReadInt(stream);
            if (nameLength < 0 || nameLength > stream.Size() - stream.Position()) {
                HeaderStreamError("the font name is longer than the stream.");
            }
            std::string name(static_cast<std::size_t>(nameLength), '\0');
            stream.ReadBuffer(name.data(), nameLength);
            FFont->SetName(plat::Utf16ToUtf8(plat::Utf8ToUtf16(name)));
            FFont->SetPitch(ReadKind<plat::TFontPitch>(stream, plat::fpFixed));
            FFont->SetStyle(plat::TFontStyles::FromBits(static_cast<std::uint32_t>(ReadInt(stream)) & 0x0F));
            if (version > 0) {
                SetMainColumn(ReadInt(stream));
                SetSortColumn(ReadInt(stream));
                SetSortDirection(ReadKind<TSortDirection>(stream, sdDescending));
            }
            if (version > 4) {
                SetParentFont((ReadInt(stream) & 0xFF) != 0);
                const std::int32_t maxHeight = ReadInt(stream);
                const std::int32_t minHeight = ReadInt(stream);
                const std::int32_t defaultHeight = ReadInt(stream);
                const auto percent = [&] { return static_cast<TDTConstraintPercent>(std::clamp(ReadInt(stream), 0, 100)); };
                const TDTConstraintPercent maxHeightPercent = percent();
                const TDTConstraintPercent maxWidthPercent = percent();
                const TDTConstraintPercent minHeightPercent = percent();
                const TDTConstraintPercent minWidthPercent = percent();
                // The limits as stored, made consistent, then the height
                // within them: the height was applied before they arrived.
                FMinHeight = std::max(minHeight, 0);
                FMaxHeight = std::max(maxHeight, FMinHeight);
                FDefaultHeight = std::clamp(defaultHeight, FMinHeight, FMaxHeight);
                FFixedAreaConstraints.FMaxHeightPercent = maxHeightPercent;
                FFixedAreaConstraints.FMaxWidthPercent = maxWidthPercent;
                FFixedAreaConstraints.FMinHeightPercent = minHeightPercent;
                FFixedAreaConstraints.FMinWidthPercent = minWidthPercent;
                SetHeight(height);
            }
            loaded = true;
        },
        [&] {
            if (!loaded) {
                FOptions = oldOptions;
            }
            FStates.Exclude(hsLoading);
            UpdateNonClientArea();
            FOwner->DoColumnResize(NoColumn);
        });
}

} // namespace qel

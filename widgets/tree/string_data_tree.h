// The string tree: the data tree whose cells show texts the owner supplies
// on demand. Its nodes carry a 4-byte internal area of the class (the cached
// width of the node's text); TDataStringTree publishes the control's
// properties for the form description.
#pragma once

#include "widgets/tree/base_data_tree.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace plat {
class TBitmap;
class TReader;
}

namespace qel {

enum TDTExportType : std::uint8_t { etNone, etRTF, etHTML, etText, etExcel, etWord, etPDF, etPrinter, etCSV, etCustom };

// What a cell's text request carries in and out.
struct TDSTGetCellTextEventArgs {
    TDSTGetCellTextEventArgs(PDataNode node, TColumnIndex column, TDTExportType exportType = etNone)
        : Node(node), Column(column), ExportType(exportType)
    {
    }
    PDataNode Node;
    TColumnIndex Column;
    std::string CellText;
    std::string StaticText;
    TAlignment StaticTextAlignment = taLeftJustify;
    TDTExportType ExportType;
};

using TDSTGetTextEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column,
                                           TDSTTextType textType, std::string& cellText)>;
using TDSTGetCellTextEvent = plat::TEvent<void(plat::TObject* sender, TDSTGetCellTextEventArgs& e)>;
using TDSTGetHintEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column,
                                           TDTTooltipLineBreakStyle& lineBreakStyle, std::string& hintText)>;
using TDSTNewTextEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column, const std::string& newText)>;
using TDSTShortenStringEvent =
    plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                      const std::string& s, TDimension textSpace, std::string& result, bool& done)>;
using TDTMeasureTextEvent = plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, PDataNode node,
                                              TColumnIndex column, const std::string& text, TDimension& extent)>;
using TDTDrawTextEvent =
    plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                      const std::string& text, const plat::TRect& cellRect, bool& defaultDraw)>;

// Which nodes an export or clipboard rendering visits.
enum TDSTTextSourceType : std::uint8_t { tstAll, tstInitialized, tstSelected, tstCutCopySet, tstVisible, tstChecked };

using TDTTreeExportEvent = plat::TEvent<void(plat::TObject* sender, TDTExportType exportType)>;
using TDTColumnExportEvent =
    plat::TEvent<void(plat::TObject* sender, TDTExportType exportType, TColumnIndex column)>;
using TDTNodeExportEvent = plat::TEvent<void(plat::TObject* sender, TDTExportType exportType, PDataNode node)>;

// The default of DefaultText.
inline constexpr const char* DefaultNodeText = "Node";

class TCustomDataStringTree : public TBaseDataTree {
    PLAT_CLASS(TCustomDataStringTree, TBaseDataTree)
public:
    explicit TCustomDataStringTree(plat::TComponent* owner);
    ~TCustomDataStringTree() override;

    // The text of a cell when the application sets none ("Node").
    const std::string& DefaultText() const { return FDefaultText; }
    void SetDefaultText(const std::string& value);
    // The cell's text: DefaultText unless OnGetCellText or OnGetText says otherwise.
    std::string GetText(PDataNode node, TColumnIndex column);
    // The static text after the normal one (only with toShowStaticText).
    std::string GetStaticText(PDataNode node, TColumnIndex column);
    // The text standing for the image of kind in a cell (OnGetImageText;
    // empty without a handler).
    std::string GetImageText(PDataNode node, TDTImageKind kind, TColumnIndex column);
    // Hands a new text to OnNewText and repaints the node.
    void SetText(PDataNode node, TColumnIndex column, const std::string& value);
    // The texts of column from the top level down to node, each followed by delimiter.
    std::string Path(PDataNode node, TColumnIndex column, char delimiter);
    // The height of a cell's text (s, or the cell's own text when empty).
    virtual int ComputeNodeHeight(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                  const std::string& s = {});
    // The rectangle and font of a cell's text, for hints and editors.
    virtual void GetTextInfo(PDataNode node, TColumnIndex column, plat::TFont* font, plat::TRect& r,
                             std::string& text);
    plat::TRect InvalidateNode(PDataNode node) override;
    void ReinitNode(PDataNode node, bool recursive, bool forceReinit = false) override;
    void SetChildCount(PDataNode node, std::uint32_t newChildCount) override;
    using TBaseDataTree::AddChild;
    PDataNode AddChild(PDataNode parent, void* userData = nullptr) override;
    void RemoveFromSelection(PDataNode node) override;
    // The node's cached main-column text width; 0 when not measured.
    std::int32_t CachedTextWidth(PDataNode node) const;
    int TextHeight() const { return FTextHeight; }

    TDSTGetTextEvent OnGetText;
    TDSTGetCellTextEvent OnGetCellText;
    TDSTNewTextEvent OnNewText;
    TDSTShortenStringEvent OnShortenString;
    TDTMeasureTextEvent OnMeasureTextWidth;
    TDTMeasureTextEvent OnMeasureTextHeight;
    TDTDrawTextEvent OnDrawText;
    // The hint or tooltip of a cell (line-break style and text in and out).
    TDSTGetHintEvent OnGetHint;

    // ---- export ----
    // An HTML fragment (a table) of the source's nodes; texts are escaped.
    std::string ContentToHTML(TDSTTextSourceType source, const std::string& caption = {});
    // RTF bytes (Windows-1252) of the source's nodes.
    std::string ContentToRTF(TDSTTextSourceType source);
    // Lines of cells joined by separator; a cell holding the separator, a
    // quote or a line break is quoted.
    std::string ContentToText(TDSTTextSourceType source, const std::string& separator);
    std::string ContentToUnicode(TDSTTextSourceType source, char separator)
    {
        return ContentToText(source, std::string(1, separator));
    }
    // Only the export events, for the application to write what it wants.
    void ContentToCustom(TDSTTextSourceType source);
    // The block of a clipboard format (text, Unicode text, CSV, RTF, HTML
    // in its clipboard envelope), ending in a zero; nullptr for others.
    plat::HGLOBAL ContentToClipboard(plat::CLIPFORMAT format, TDSTTextSourceType source);
    // The top-level nodes, a line each, every column's text quoted and
    // joined by ","; UTF-8. False for an empty file name.
    bool SaveToCSVFile(const std::string& fileNameWithPath, bool includeHeading);
    // Whether ExportMode lets a node into an HTML, RTF or custom export.
    bool CanExportNode(PDataNode node);
    // Text, HTML, RTF and CSV of the cut or copied (clipboard) or selected
    // (drag) nodes when the base tree renders nothing.
    plat::HRESULT RenderOLEData(const plat::TFormatEtc& formatEtcIn, plat::TStgMedium& medium,
                                bool forClipboard) override;

    TDTTreeExportEvent OnBeforeTreeExport;
    TDTTreeExportEvent OnAfterTreeExport;
    TDTTreeExportEvent OnBeforeHeaderExport;
    TDTTreeExportEvent OnAfterHeaderExport;
    TDTColumnExportEvent OnBeforeColumnExport;
    TDTColumnExportEvent OnColumnExport;
    TDTColumnExportEvent OnAfterColumnExport;
    TDTNodeExportEvent OnBeforeNodeExport;
    TDTNodeExportEvent OnNodeExport;
    TDTNodeExportEvent OnAfterNodeExport;

protected:
    plat::TClass GetOptionsClass() const override;
    // "WideDefaultText" and "StringOptions" of older form descriptions are
    // read; "DefaultText" is written when it is not "Node".
    void DefineProperties(plat::TFiler& filer) override;
    // Offset of the class's internal area in a node block, less NodeDataSize.
    std::uint32_t InternalDataOffset() const { return FInternalDataOffset; }

    virtual void DoGetText(TDSTGetCellTextEventArgs& e);
    virtual void DoNewText(PDataNode node, TColumnIndex column, const std::string& text);
    virtual std::string DoShortenString(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                        const std::string& s, int width, int ellipsisWidth);
    virtual void DoDrawText(TDTPaintInfo& paintInfo, const std::string& text, const plat::TRect& cellRect,
                            std::uint32_t drawFormat);
    virtual plat::TSize DoMeasureText(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                      const std::string& text);
    virtual int CalculateTextWidth(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                   const std::string& text);
    virtual int CalculateStaticTextWidth(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                         const std::string& text);
    virtual void PaintNormalText(TDTPaintInfo& paintInfo, std::uint32_t textOutFlags, std::string text);
    virtual void PaintStaticText(TDTPaintInfo& paintInfo, TAlignment textAlignment, const std::string& text);
    int DoGetNodeWidth(PDataNode node, TColumnIndex column, plat::TCanvas* canvas = nullptr) override;
    int DoGetNodeExtraWidth(PDataNode node, TColumnIndex column, plat::TCanvas* canvas = nullptr) override;
    void DoPaintNode(TDTPaintInfo& paintInfo) override;
    // With toAutoSpanColumns a left-to-right cell grows over the empty
    // visible cells after it; nextNonEmpty is the first one that is not.
    void AdjustPaintCellRect(TDTPaintInfo& paintInfo, TColumnIndex& nextNonEmpty) override;
    // 0 when the cell's text in the focused column starts with text, case
    // ignored (OnIncrementalSearch answers instead when assigned).
    int DoIncrementalSearch(PDataNode node, const std::string& text) override;
    std::string DoGetNodeHint(PDataNode node, TColumnIndex column, TDTTooltipLineBreakStyle& lineBreakStyle) override;
    // The cell's whole text, or what OnGetHint makes of the hint.
    std::string DoGetNodeTooltip(PDataNode node, TColumnIndex column,
                                 TDTTooltipLineBreakStyle& lineBreakStyle) override;
    bool DoGetCellIsEmpty(PDataNode node, TColumnIndex column) override;
    void DoAddToSelection(PDataNode node) override;
    void MainColumnChanged() override;
    void FontSet() override;
    // In-place editing: OnCreateEditor's link, else a TStringEditLink.
    PDTEditLink DoCreateEditor(PDataNode node, TColumnIndex column) override;
    // With toSaveCaptions an initialised node's main-column text follows
    // its chunks as a caption chunk (type 3, UTF-16); reading one sets the
    // text through SetText.
    void WriteChunks(plat::TStream& stream, PDataNode node) override;
    bool ReadChunk(plat::TStream& stream, int version, PDataNode node, std::int32_t chunkType,
                   std::int32_t chunkSize) override;

private:
    // The old set of string options: soSaveCaptions and soShowStaticText
    // become toSaveCaptions and toShowStaticText; other names are dropped.
    void ReadLegacyStringOptions(plat::TReader& reader);
    TDTStringOptions StringOptions() const;
    std::int32_t* WidthCache(PDataNode node) const;
    void ClearWidthCaches();
    // A canvas in the tree font for measuring outside painting.
    plat::TCanvas* MeasureCanvas();
    // The font colour a cell's normal text takes.
    void ApplyTextColours(TDTPaintInfo& paintInfo);
    // The restore-selection key of a node: its normal text in the header's
    // restore column, straight from OnGetText.
    std::string SelectionKey(PDataNode node);
    bool RestoresSelection() const;

    struct TNoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    std::uint32_t FInternalDataOffset = 0;
    std::string FDefaultText = DefaultNodeText;
    int FTextHeight = 0;             // a text line's height in the tree font
    int FEllipsisWidth = 0;          // "..." in the tree font; 0: measure when needed
    std::unique_ptr<plat::TBitmap> FMeasureBitmap;
    std::unique_ptr<std::set<std::string, TNoCaseLess>> FPreviouslySelected;
    // Extents come from the canvas, whose font keeps every glyph's advance:
    // a cache of whole strings here cost more than it saved.
    // The text a paint fetched to measure a cell, handed on to the cell's
    // painting so that each cell's text is asked for once per paint.
    struct TCellTextMemo {
        PDataNode Node = nullptr;
        TColumnIndex Column = InvalidColumn;
        std::string Text;
    };
    TCellTextMemo FMeasuredCell;
    // The cell's text, remembered for its painting while a paint runs.
    std::string MeasuredText(PDataNode node, TColumnIndex column);

    // ---- export ----
    PDataNode ExportFirst(TDSTTextSourceType source);
    PDataNode ExportNext(PDataNode node, TDSTTextSourceType source);
    // The normal text (and the static one after a space with toShowStaticText).
    std::string ExportCellText(PDataNode node, TColumnIndex column, TDTExportType exportType);
    // The export's columns: the visible ones in display order, or NoColumn.
    std::vector<TColumnIndex> ExportColumns() const;
    // Lets OnPaintText set the canvas font for a cell; true when it changed it.
    bool ExportCellFont(plat::TCanvas* canvas, PDataNode node, TColumnIndex column, TDSTTextType textType);
};

class TDataStringTree : public TCustomDataStringTree {
    PLAT_CLASS(TDataStringTree, TCustomDataStringTree)
public:
    explicit TDataStringTree(plat::TComponent* owner);

    TStringTreeOptions* TreeOptions() const;
    void SetTreeOptions(const TStringTreeOptions* value) { TBaseDataTree::SetTreeOptions(value); }

protected:
    plat::TClass GetOptionsClass() const override;
};

} // namespace qel

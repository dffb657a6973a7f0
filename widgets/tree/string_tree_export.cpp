// The string tree's content as HTML, RTF, separated text, CSV file and
// clipboard blocks, and the custom export through events. Every export runs
// as a cancellable tree operation.
#include "widgets/tree/string_data_tree.h"

#include "platform/atomic_file.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/colors.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/format_settings.h"
#include "platform/locale.h"
#include "platform/streams.h"
#include "platform/text_encoding.h"
#include "widgets/tree/tree_drawing_utils.h"
#include "widgets/tree/try_finally.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace qel {

namespace {

std::string HtmlColor(plat::TColor color)
{
    const auto rgb = static_cast<plat::COLORREF>(plat::ColorToRGB(color));
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", plat::GetRValue(rgb), plat::GetGValue(rgb),
                  plat::GetBValue(rgb));
    return text;
}

// The characters HTML gives a meaning of its own.
std::string HtmlEscaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string HtmlFontStyle(const std::string& className, const plat::TFont& font)
{
    std::string style = className.empty() ? " style=\"" : "." + className + "{";
    style += "font-family: '" + HtmlEscaped(font.Name()) + "'; ";
    if (font.Height() < 0) {
        style += "font-size: " + std::to_string(-font.Height()) + "px; ";
    } else {
        style += "font-size: " + std::to_string(font.Size()) + "pt; ";
    }
    style += std::string("font-style: ") + (font.Style().Contains(plat::fsItalic) ? "italic" : "normal") + "; ";
    style += std::string("font-weight: ") + (font.Style().Contains(plat::fsBold) ? "bold" : "normal") + "; ";
    style += std::string("text-decoration: ") + (font.Style().Contains(plat::fsUnderline) ? "underline" : "none") +
             "; ";
    style += "color: " + HtmlColor(font.Color()) + ";";
    style += className.empty() ? "\"" : "}";
    return style;
}

const char* HtmlAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return " align=right";
    case taCenter:
        return " align=center";
    default:
        return " align=left";
    }
}

TAlignment Mirrored(TAlignment alignment, bool rtl)
{
    if (!rtl || alignment == taCenter) {
        return alignment;
    }
    return alignment == taLeftJustify ? taRightJustify : taLeftJustify;
}

// Whether the user's locale measures in metric units (all but a few countries).
bool LocaleIsMetric()
{
    const std::string& name = plat::CurrentLocaleProvider().UserDefaultLocale().Name;
    const std::size_t underscore = name.find('_');
    const std::string country = underscore == std::string::npos ? "" : name.substr(underscore + 1, 2);
    return country != "US" && country != "LR" && country != "MM";
}

// A cell quoted for separated text: inner quotes doubled.
std::string Quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

// The RTF side: fonts and colours numbered as they are first used.
class TRtfWriter {
public:
    explicit TRtfWriter(std::string& buffer) : FBuffer(buffer) {}

    void Text(const std::string& text, const plat::TFont& font)
    {
        if (text.empty()) {
            return;
        }
        const plat::TFontStyles style = font.Style();
        if (style.Contains(plat::fsUnderline)) {
            FBuffer.append("\\ul");
        }
        if (style.Contains(plat::fsItalic)) {
            FBuffer.append("\\i");
        }
        if (style.Contains(plat::fsBold)) {
            FBuffer.append("\\b");
        }
        const int fontIndex = IndexOf(FFonts, font.Name());
        if (fontIndex != FCurrentFont) {
            FCurrentFont = fontIndex;
            FBuffer.append("\\f" + std::to_string(fontIndex));
        }
        const plat::COLORREF rgb = static_cast<plat::COLORREF>(plat::ColorToRGB(font.Color())) & 0xFFFFFF;
        const int colorIndex = IndexOf(FColors, rgb);
        if (colorIndex != FCurrentColor) {
            FCurrentColor = colorIndex;
            FBuffer.append("\\cf" + std::to_string(colorIndex + 1));
        }
        if (font.Size() != FCurrentSize) {
            FCurrentSize = font.Size();
            FBuffer.append("\\fs" + std::to_string(FCurrentSize * 2));
        }
        FBuffer.append(" ");
        for (const char16_t unit : plat::Utf8ToUtf16(text)) {
            if (unit == u'\n') {
                FBuffer.append("{\\par}");
            } else if (unit != u'\r') {
                FBuffer.append("\\u" + std::to_string(static_cast<std::int16_t>(unit)) + "\\'3f");
            }
        }
        if (style.Contains(plat::fsUnderline)) {
            FBuffer.append("\\ul0");
        }
        if (style.Contains(plat::fsItalic)) {
            FBuffer.append("\\i0");
        }
        if (style.Contains(plat::fsBold)) {
            FBuffer.append("\\b0");
        }
    }

    std::string FontTable() const
    {
        std::string table;
        for (std::size_t i = 0; i < FFonts.size(); ++i) {
            table += "{\\f" + std::to_string(i) + " " + plat::Utf8ToAnsi(FFonts[i]) + ";}";
        }
        return table;
    }

    std::string ColorTable() const
    {
        std::string table;
        for (const plat::COLORREF rgb : FColors) {
            table += "\\red" + std::to_string(plat::GetRValue(rgb)) + "\\green" + std::to_string(plat::GetGValue(rgb)) +
                     "\\blue" + std::to_string(plat::GetBValue(rgb)) + ";";
        }
        return table;
    }

private:
    template <class T>
    static int IndexOf(std::vector<T>& list, const T& value)
    {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i] == value) {
                return static_cast<int>(i);
            }
        }
        list.push_back(value);
        return static_cast<int>(list.size() - 1);
    }

    std::string& FBuffer;
    std::vector<std::string> FFonts;
    std::vector<plat::COLORREF> FColors;
    int FCurrentFont = -1;
    int FCurrentColor = -1;
    int FCurrentSize = -1;
};

} // namespace

// ---- what an export visits ----

PDataNode TCustomDataStringTree::ExportFirst(TDSTTextSourceType source)
{
    switch (source) {
    case tstInitialized:
        return GetFirstInitialized();
    case tstSelected:
        return GetFirstSelected();
    case tstCutCopySet:
        return GetFirstCutCopy();
    case tstVisible:
        return GetFirstVisible(nullptr, true);
    case tstChecked:
        return GetFirstChecked(csCheckedNormal);
    default:
        return GetFirst();
    }
}

PDataNode TCustomDataStringTree::ExportNext(PDataNode node, TDSTTextSourceType source)
{
    switch (source) {
    case tstInitialized:
        return GetNextInitialized(node);
    case tstSelected:
        return GetNextSelected(node);
    case tstCutCopySet:
        return GetNextCutCopy(node);
    case tstVisible:
        return GetNextVisible(node, true);
    case tstChecked:
        return GetNextChecked(node, csCheckedNormal);
    default:
        return GetNext(node);
    }
}

bool TCustomDataStringTree::CanExportNode(PDataNode node)
{
    switch (TreeOptions()->ExportMode()) {
    case emChecked:
        return GetCheckState(node) == csCheckedNormal;
    case emUnchecked:
        return GetCheckState(node) == csUncheckedNormal;
    case emVisibleDueToExpansion:
        return node->fParent == RootNode() || GetExpanded(node->fParent);
    case emSelected:
        return GetSelected(node);
    default:
        return true;
    }
}

std::string TCustomDataStringTree::ExportCellText(PDataNode node, TColumnIndex column, TDTExportType exportType)
{
    TDSTGetCellTextEventArgs e(node, column, exportType);
    e.CellText = DefaultText();
    DoGetText(e);
    if (StringOptions().Contains(toShowStaticText) && !e.StaticText.empty()) {
        return e.CellText + " " + e.StaticText;
    }
    return e.CellText;
}

std::vector<TColumnIndex> TCustomDataStringTree::ExportColumns() const
{
    std::vector<TColumnIndex> columns;
    if (Header()->UseColumns()) {
        for (const TDataTreeColumn* column : Header()->Columns().GetVisibleColumns()) {
            columns.push_back(column->Index());
        }
    } else {
        columns.push_back(NoColumn);
    }
    return columns;
}

bool TCustomDataStringTree::ExportCellFont(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                           TDSTTextType textType)
{
    if (textType == ttNormal) {
        TakeFont(*canvas->Font(), *Font());
    }
    FFontChanged = false;
    DoPaintText(node, canvas, column, textType);
    return FFontChanged;
}

// ---- HTML ----

std::string TCustomDataStringTree::ContentToHTML(TDSTTextSourceType source, const std::string& caption)
{
    std::string buffer;
    plat::TCanvas* canvas = MeasureCanvas();
    const bool useColumns = Header()->UseColumns();
    const std::vector<TColumnIndex> columns = ExportColumns();
    const TColumnIndex mainColumn = useColumns ? Header()->MainColumn() : NoColumn;
    const TDTPaintOptions paintOptions = TreeOptions()->PaintOptions();
    BeginOperation(okExport);
    RedirectFontChangeEvent(canvas);
    TryFinally(
        [&] {
            const std::string cellPadding =
                "padding-left: " + std::to_string(Margin()) + "px; padding-right: " + std::to_string(Margin()) + "px;";
            const std::string indentWidth = std::to_string(Indent());
            std::string tableAttributes = " ";
            if (!caption.empty()) {
                tableAttributes += "caption=\"" + HtmlEscaped(caption) + "\"";
            }
            if (BorderStyle() == bsSingle) {
                tableAttributes += " border=\"1\" frame=box";
            }
            buffer.append("<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">");
            buffer.append("<style type=\"text/css\">");
            buffer += "\r\n";
            buffer.append(HtmlFontStyle("default", *Font()));
            buffer += "\r\n";
            buffer.append(HtmlFontStyle("header", *Header()->Font()));
            buffer += "\r\n";
            const std::string lineStyle = LineStyle() == lsSolid ? "solid;" : "dotted;";
            if (paintOptions.Contains(toShowHorzGridLines)) {
                buffer.append(".noborder{");
                buffer.append(" border-bottom:1px; border-left: 0px; border-right: 0px; border-top: 1px;");
                buffer.append("border-style:");
                buffer.append(lineStyle);
            } else {
                buffer.append(".noborder{border-style: none;");
            }
            buffer.append(cellPadding);
            buffer.append("}");
            buffer += "\r\n";
            buffer.append(".normalborder {vertical-align: top; ");
            buffer.append(paintOptions.Contains(toShowVertGridLines) ? "border-right: 1px; border-left: 1px; "
                                                                      : "border-right: none; border-left:none; ");
            buffer.append(paintOptions.Contains(toShowHorzGridLines) ? "border-top: 1px; border-bottom: 1px; "
                                                                      : "border-top:none; border-bottom: none;");
            buffer.append("border-width: thin; border-style: ");
            buffer.append(lineStyle);
            buffer.append(cellPadding);
            buffer.append("}");
            buffer += "\r\n";
            buffer.append("</style>");
            buffer += "\r\n";
            buffer.append("<table class=\"default\" style=\"border-collapse: collapse;\" bgcolor=");
            buffer.append(HtmlColor(Colors()->BackGroundColor()));
            buffer.append(tableAttributes);
            buffer.append(" cellspacing=\"0\">");
            buffer += "\r\n";

            std::uint32_t maxLevel = 0;
            for (PDataNode node = ExportFirst(source); node != nullptr; node = ExportNext(node, source)) {
                if (CanExportNode(node)) {
                    maxLevel = std::max(maxLevel, GetNodeLevel(node));
                }
            }

            if (useColumns) {
                if (OnBeforeHeaderExport) {
                    OnBeforeHeaderExport(this, etHTML);
                }
                buffer.append("<tr class=\"header\" style=\"");
                buffer.append(cellPadding);
                buffer.append("\">");
                buffer += "\r\n";
                for (const TColumnIndex index : columns) {
                    const TDataTreeColumn* column = Header()->Columns()[index];
                    if (OnBeforeColumnExport) {
                        OnBeforeColumnExport(this, etHTML, index);
                    }
                    buffer.append("<th height=\"" + std::to_string(Header()->Height()) + "px\"");
                    const bool rtl = column->BiDiMode() != bdLeftToRight;
                    const TAlignment alignment = Mirrored(column->CaptionAlignment(), rtl);
                    if (rtl) {
                        buffer.append(" dir=\"rtl\"");
                    }
                    buffer.append(HtmlAlignment(alignment));
                    if (maxLevel > 0 && index == mainColumn) {
                        buffer.append(" colspan=\"" + std::to_string(maxLevel + 1) + "\"");
                    }
                    buffer.append(" bgcolor=" + HtmlColor(plat::clBtnFace));
                    buffer.append(" width=\"" + std::to_string(column->Width()) + "px\">");
                    buffer.append(HtmlEscaped(column->Text()));
                    buffer.append("</th>");
                    if (OnAfterColumnExport) {
                        OnAfterColumnExport(this, etHTML, index);
                    }
                }
                buffer.append("</tr>");
                buffer += "\r\n";
                if (OnAfterHeaderExport) {
                    OnAfterHeaderExport(this, etHTML);
                }
            }

            for (PDataNode node = ExportFirst(source); node != nullptr && !OperationCanceled();
                 node = ExportNext(node, source)) {
                if (!CanExportNode(node)) {
                    continue;
                }
                if (OnBeforeNodeExport) {
                    OnBeforeNodeExport(this, etHTML, node);
                }
                const std::uint32_t level = GetNodeLevel(node);
                const std::string height = std::to_string(node->fNodeHeight);
                buffer.append(" <tr class=\"default\">");
                buffer += "\r\n";
                for (const TColumnIndex index : columns) {
                    const TDataTreeColumn* column = useColumns ? Header()->Columns()[index] : nullptr;
                    const bool fontChanged = ExportCellFont(canvas, node, index, ttNormal);
                    const bool parentColor = column == nullptr || column->Options().Contains(coParentColor);
                    if (index == mainColumn) {
                        for (std::uint32_t i = 0; i < level; ++i) {
                            if (parentColor) {
                                buffer.append(i == 0 ? " <td height=\"" + height +
                                                           "px\" class=\"normalborder\">&nbsp;</td>"
                                                     : std::string(" <td>&nbsp;</td>"));
                            } else {
                                buffer.append("<td class=\"noborder\" width=\"" + indentWidth + "\" height=\"" +
                                              height + "px\" bgcolor=" + HtmlColor(column->Color()) + ">&nbsp;</td>");
                            }
                        }
                    }
                    if (fontChanged) {
                        buffer.append(" <td class=\"normalborder\" " + HtmlFontStyle("", *canvas->Font()) +
                                      " height=\"" + height);
                    } else {
                        buffer.append(" <td class=\"normalborder\"  height=\"" + height);
                    }
                    buffer.append("px\"");
                    const bool rtl = (column != nullptr ? column->BiDiMode() : BiDiMode()) != bdLeftToRight;
                    buffer.append(HtmlAlignment(Mirrored(column != nullptr ? column->Alignment() : Alignment(), rtl)));
                    if (rtl) {
                        buffer.append(" dir=\"rtl\"");
                    }
                    if (index == mainColumn && maxLevel > 0 && level < maxLevel) {
                        buffer.append(" colspan=\"" + std::to_string(maxLevel - level + 1) + "\"");
                    }
                    if (useColumns && !parentColor) {
                        buffer.append(" bgcolor=" + HtmlColor(column->Color()));
                    }
                    buffer.append(">");
                    buffer.append(HtmlEscaped(ExportCellText(node, index, etHTML)));
                    buffer.append("</td>");
                }
                if (OnAfterNodeExport) {
                    OnAfterNodeExport(this, etHTML, node);
                }
                buffer.append(" </tr>");
                buffer += "\r\n";
            }
            buffer.append("</table>");
        },
        [&] {
            RestoreFontChangeEvent(canvas);
            EndOperation(okExport);
        });
    return buffer;
}

// ---- RTF ----

std::string TCustomDataStringTree::ContentToRTF(TDSTTextSourceType source)
{
    std::string buffer;
    TRtfWriter writer(buffer);
    plat::TCanvas* canvas = MeasureCanvas();
    const bool useColumns = Header()->UseColumns();
    const std::vector<TColumnIndex> columns = ExportColumns();
    const TColumnIndex mainColumn = useColumns ? Header()->MainColumn() : NoColumn;
    const int ppi = CurrentPPI() > 0 ? CurrentPPI() : 96;
    const auto twips = [ppi](long long pixels) { return std::llround(static_cast<double>(pixels) * 1440 / ppi); };
    BeginOperation(okExport);
    RedirectFontChangeEvent(canvas);
    TryFinally(
        [&] {
            buffer.append("\\uc1\\trowd\\trgaph70");
            if (useColumns) {
                long long sum = 0;
                for (const TColumnIndex index : columns) {
                    sum += Header()->Columns()[index]->Width();
                    buffer.append("\\cellx" + std::to_string(twips(sum)));
                }
                if (OnBeforeHeaderExport) {
                    OnBeforeHeaderExport(this, etRTF);
                }
                buffer.append("\\pard\\intbl");
                for (const TColumnIndex index : columns) {
                    const TDataTreeColumn* column = Header()->Columns()[index];
                    if (OnBeforeColumnExport) {
                        OnBeforeColumnExport(this, etRTF, index);
                    }
                    const TAlignment alignment =
                        Mirrored(column->CaptionAlignment(), column->BiDiMode() != bdLeftToRight);
                    buffer.append(alignment == taRightJustify ? "\\qr" : alignment == taCenter ? "\\qc" : "\\ql");
                    writer.Text(column->Text(), *Header()->Font());
                    buffer.append("\\cell");
                    if (OnAfterColumnExport) {
                        OnAfterColumnExport(this, etRTF, index);
                    }
                }
                buffer.append("\\row");
                if (OnAfterHeaderExport) {
                    OnAfterHeaderExport(this, etRTF);
                }
            } else {
                buffer.append("\\cellx" + std::to_string(twips(ClientWidth())));
            }

            int lastLevel = -1;
            std::string indent;
            for (PDataNode node = ExportFirst(source); node != nullptr && !OperationCanceled();
                 node = ExportNext(node, source)) {
                if (!CanExportNode(node)) {
                    continue;
                }
                if (OnBeforeNodeExport) {
                    OnBeforeNodeExport(this, etRTF, node);
                }
                for (const TColumnIndex index : columns) {
                    const TDataTreeColumn* column = useColumns ? Header()->Columns()[index] : nullptr;
                    TDSTGetCellTextEventArgs e(node, index, etRTF);
                    e.CellText = DefaultText();
                    DoGetText(e);
                    buffer.append("\\pard\\intbl");
                    const bool rtl = (column != nullptr ? column->BiDiMode() : BiDiMode()) != bdLeftToRight;
                    const TAlignment alignment = Mirrored(column != nullptr ? column->Alignment() : Alignment(), rtl);
                    if (alignment == taRightJustify) {
                        buffer.append("\\qr");
                    } else if (alignment == taCenter) {
                        buffer.append("\\qc");
                    }
                    ExportCellFont(canvas, node, index, ttNormal);
                    if (index == mainColumn) {
                        const int level = static_cast<int>(GetNodeLevel(node));
                        if (level != lastLevel) {
                            lastLevel = level;
                            indent.clear();
                            for (int i = 0; i < level; ++i) {
                                indent += "\\tab";
                            }
                        }
                        if (level >= 1) {
                            buffer.append(indent);
                            buffer.append(" ");
                        }
                    }
                    writer.Text(e.CellText, *canvas->Font());
                    if (StringOptions().Contains(toShowStaticText) && !e.StaticText.empty()) {
                        ExportCellFont(canvas, node, index, ttStatic);
                        writer.Text(" " + e.StaticText, *canvas->Font());
                    }
                    buffer.append("\\cell");
                }
                buffer.append("\\row");
                buffer += "\r\n";
                if (OnAfterNodeExport) {
                    OnAfterNodeExport(this, etRTF, node);
                }
            }
            buffer.append("\\pard\\par");
        },
        [&] {
            RestoreFontChangeEvent(canvas);
            EndOperation(okExport);
        });
    std::string result = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl";
    result += writer.FontTable();
    result += "}{\\colortbl;";
    result += writer.ColorTable();
    result += "}";
    result += LocaleIsMetric() ? "\\paperw16840\\paperh11907" : "\\paperw15840\\paperh12240";
    result += "\\margl720\\margr720\\margt720\\margb720";
    result += buffer;
    result += "}";
    return result;
}

// ---- separated text ----

std::string TCustomDataStringTree::ContentToText(TDSTTextSourceType source, const std::string& separator)
{
    std::string buffer;
    const bool useColumns = Header()->UseColumns();
    const std::vector<TColumnIndex> columns = ExportColumns();
    const TColumnIndex mainColumn = useColumns ? Header()->MainColumn() : NoColumn;
    // A cell holding the separator, a quote or a line break is quoted, so
    // that the text reads back into the same cells.
    const auto cell = [&](const std::string& text) {
        const bool needsQuotes = (!separator.empty() && text.find(separator) != std::string::npos) ||
                                 text.find_first_of("\"\r\n") != std::string::npos;
        return needsQuotes ? Quoted(text) : text;
    };
    BeginOperation(okExport);
    TryFinally(
        [&] {
            std::uint32_t maxLevel = 0;
            for (PDataNode node = ExportFirst(source); node != nullptr; node = ExportNext(node, source)) {
                maxLevel = std::max(maxLevel, GetNodeLevel(node));
            }
            std::string levelPad;
            for (std::uint32_t i = 0; i < maxLevel; ++i) {
                levelPad += separator;
            }
            if (useColumns) {
                for (std::size_t i = 0; i < columns.size(); ++i) {
                    buffer.append(cell(Header()->Columns()[columns[i]]->Text()));
                    if (i + 1 < columns.size()) {
                        if (columns[i] == mainColumn) {
                            buffer.append(levelPad);
                        }
                        buffer.append(separator);
                    }
                }
                buffer += "\r\n";
            }
            for (PDataNode node = ExportFirst(source); node != nullptr && !OperationCanceled();
                 node = ExportNext(node, source)) {
                const std::uint32_t level = GetNodeLevel(node);
                if (!useColumns) {
                    for (std::uint32_t i = 0; i < level; ++i) {
                        buffer.append(separator);
                    }
                    buffer.append(GetText(node, NoColumn));
                    buffer += "\r\n";
                    continue;
                }
                for (std::size_t i = 0; i < columns.size(); ++i) {
                    if (columns[i] == mainColumn) {
                        buffer.append(levelPad.substr(0, level * separator.size()));
                    }
                    buffer.append(cell(ExportCellText(node, columns[i], etText)));
                    if (columns[i] == mainColumn) {
                        for (std::uint32_t j = level; j < maxLevel; ++j) {
                            buffer.append(separator);
                        }
                    }
                    if (i + 1 < columns.size()) {
                        buffer.append(separator);
                    }
                }
                buffer += "\r\n";
            }
        },
        [&] { EndOperation(okExport); });
    return buffer;
}

// ---- custom ----

void TCustomDataStringTree::ContentToCustom(TDSTTextSourceType source)
{
    BeginOperation(okExport);
    TryFinally(
        [&] {
            if (OnBeforeTreeExport) {
                OnBeforeTreeExport(this, etCustom);
            }
            if (Header()->UseColumns() && Header()->Options().Contains(hoVisible)) {
                if (OnBeforeHeaderExport) {
                    OnBeforeHeaderExport(this, etCustom);
                }
                for (const TColumnIndex index : ExportColumns()) {
                    if (OnBeforeColumnExport) {
                        OnBeforeColumnExport(this, etCustom, index);
                    }
                    if (OnColumnExport) {
                        OnColumnExport(this, etCustom, index);
                    }
                    if (OnAfterColumnExport) {
                        OnAfterColumnExport(this, etCustom, index);
                    }
                }
                if (OnAfterHeaderExport) {
                    OnAfterHeaderExport(this, etCustom);
                }
            }
            for (PDataNode node = ExportFirst(source); node != nullptr && !OperationCanceled();
                 node = ExportNext(node, source)) {
                if (!CanExportNode(node)) {
                    continue;
                }
                if (OnBeforeNodeExport) {
                    OnBeforeNodeExport(this, etCustom, node);
                }
                if (OnNodeExport) {
                    OnNodeExport(this, etCustom, node);
                }
                if (OnAfterNodeExport) {
                    OnAfterNodeExport(this, etCustom, node);
                }
            }
            if (OnAfterTreeExport) {
                OnAfterTreeExport(this, etCustom);
            }
        },
        [&] { EndOperation(okExport); });
}

// ---- clipboard blocks ----

namespace {

plat::HGLOBAL BytesBlock(const std::string& bytes)
{
    plat::HGLOBAL block = plat::GlobalAlloc(plat::GHND | plat::GMEM_SHARE, bytes.size() + 1);
    if (block) {
        std::memcpy(block->Data(), bytes.data(), bytes.size());
    }
    return block;
}

// The clipboard's HTML envelope: a description with byte offsets, then the
// fragment inside a whole document. The offsets are counted from the parts
// written; every number takes 8 digits, so the description's length is
// known before them.
std::string HtmlEnvelope(const std::string& fragment)
{
    const auto line = [](const char* name, std::size_t value) {
        char text[48];
        std::snprintf(text, sizeof text, "%s%.8zu\r\n", name, value);
        return std::string(text);
    };
    static const std::string documentStart =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
        "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head><body>"
        "<!--StartFragment-->";
    static const std::string documentEnd = "<!--EndFragment--></body></html>";
    const std::string version = "Version:1.0\r\n";
    const std::size_t startHtml =
        version.size() + line("StartHTML:", 0).size() + line("EndHTML:", 0).size() +
        line("StartFragment:", 0).size() + line("EndFragment:", 0).size();
    const std::size_t startFragment = startHtml + documentStart.size();
    const std::size_t endFragment = startFragment + fragment.size();
    std::string html = version;
    html += line("StartHTML:", startHtml);
    html += line("EndHTML:", endFragment + documentEnd.size());
    html += line("StartFragment:", startFragment);
    html += line("EndFragment:", endFragment);
    html += documentStart;
    html += fragment;
    html += documentEnd;
    return html;
}

} // namespace

plat::HGLOBAL TCustomDataStringTree::ContentToClipboard(plat::CLIPFORMAT format, TDSTTextSourceType source)
{
    const TTreeClipboardFormats& formats = TreeClipboardFormats();
    if (format == plat::CF_TEXT) {
        return plat::TextToAnsiBlock(ContentToText(source, "\t"));
    }
    if (format == plat::CF_UNICODETEXT) {
        return plat::TextToUnicodeBlock(ContentToText(source, "\t"));
    }
    if (format == 0) {
        return nullptr;
    }
    if (format == formats.Csv) {
        return plat::TextToAnsiBlock(ContentToText(source, std::string(1, plat::FormatSettings().ListSeparator)));
    }
    if (format == formats.Rtf || format == formats.RtfNoObjects) {
        return BytesBlock(ContentToRTF(source));
    }
    if (format == formats.Html) {
        return BytesBlock(HtmlEnvelope(ContentToHTML(source)));
    }
    return nullptr;
}

plat::HRESULT TCustomDataStringTree::RenderOLEData(const plat::TFormatEtc& formatEtcIn, plat::TStgMedium& medium,
                                                   bool forClipboard)
{
    plat::HRESULT result = TBaseDataTree::RenderOLEData(formatEtcIn, medium, forClipboard);
    if (plat::SUCCEEDED(result)) {
        return result;
    }
    try {
        plat::HGLOBAL block = ContentToClipboard(formatEtcIn.cfFormat, forClipboard ? tstCutCopySet : tstSelected);
        if (block) {
            medium = plat::TStgMedium();
            medium.tymed = plat::TYMED_HGLOBAL;
            medium.hGlobal = std::move(block);
            result = plat::S_OK;
        }
    } catch (...) {
        return plat::E_FAIL;
    }
    return result;
}

// ---- CSV file ----

bool TCustomDataStringTree::SaveToCSVFile(const std::string& fileNameWithPath, bool includeHeading)
{
    if (fileNameWithPath.empty()) {
        return false;
    }
    const int columnCount = Header()->Columns().Count();
    std::string text;
    if (includeHeading && columnCount > 0) {
        for (int i = 0; i < columnCount; ++i) {
            if (i > 0) {
                text += ',';
            }
            text += Quoted(Header()->Columns()[i]->Text());
        }
        text += "\n";
    }
    for (PDataNode node = RootNode()->FirstChild; node != nullptr; node = node->fNextSibling) {
        // Without columns the node's one text makes the line.
        for (int i = 0; i < std::max(columnCount, 1); ++i) {
            const std::string cellText = GetText(node, columnCount > 0 ? i : NoColumn);
            if (i > 0) {
                text += ',';
            }
            // An empty cell is written as one space.
            text += Quoted(cellText.empty() ? std::string_view(" ") : std::string_view(cellText));
        }
        text += "\n";
    }
    // An existing file is replaced only once the new one is whole.
    plat::TAtomicFileStream file(fileNameWithPath);
    file.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    file.Commit();
    return true;
}

} // namespace qel

// Invariant checks of the paragraph text model against plain walks and fresh
// re-wraps, and a byte-driven interpreter of edit scripts. Header-only: the
// tests and the fuzz target both use it.
#pragma once

#include "widgets/pages/para_list.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

inline void PrintTo(const TMarker& marker, std::ostream* out)
{
    *out << "(" << marker.Para << ", " << marker.Pos << ")";
}

} // namespace qel

namespace qeltest {

using qel::TParaNode;
using qel::TPgcParaList;
using qel::TPgcParaListObserver;

inline std::u16string NodeText(const TParaNode& node)
{
    return std::u16string(node.GetS(), node.SLen());
}

inline std::vector<std::u16string> ListTexts(const TPgcParaList& list)
{
    std::vector<std::u16string> texts;
    for (const TParaNode* node = list.Head(); node != nullptr; node = node->Next) {
        texts.push_back(NodeText(*node));
    }
    return texts;
}

inline std::vector<std::uint16_t> LineStarts(const TParaNode& node)
{
    std::vector<std::uint16_t> starts;
    for (std::int32_t line = 1; line <= node.LineCount(); ++line) {
        starts.push_back(node.LineStart(line));
    }
    return starts;
}

// The line starts a fresh full re-wrap of the text gives.
inline std::vector<std::uint16_t> FreshLineStarts(std::u16string_view text, std::int32_t wrapColumn,
    std::uint8_t tabSize)
{
    const TParaNode fresh(text.data(), static_cast<std::uint16_t>(text.size()), wrapColumn, tabSize);
    return LineStarts(fresh);
}

inline std::uint16_t AppendText(TPgcParaList& list, std::u16string_view text, bool trim = false)
{
    return list.AppendParaEof(text.data(), static_cast<std::int32_t>(text.size()), trim);
}

inline void UndoOnce(TPgcParaList& list, TPgcParaListObserver* editor = nullptr)
{
    std::int32_t p = 0;
    std::int32_t pos = 0;
    list.Undo(editor, p, pos);
}

inline void RedoOnce(TPgcParaList& list, TPgcParaListObserver* editor = nullptr)
{
    std::int32_t p = 0;
    std::int32_t pos = 0;
    list.Redo(editor, p, pos);
}

// Display width of a line without its trailing blanks, tabs expanded.
inline std::int32_t VisibleWidth(std::u16string_view line, std::uint8_t tabSize)
{
    while (!line.empty() && (line.back() == u' ' || line.back() == u'\t')) {
        line.remove_suffix(1);
    }
    std::int32_t column = 0;
    for (const char16_t ch : line) {
        column = ch == u'\t' ? (column / tabSize + 1) * tabSize : column + 1;
    }
    return column;
}

// Display widths of the first 0, 1, ..., length units of a line.
inline std::vector<std::int32_t> PrefixWidths(const char16_t* s, std::int32_t length, std::uint8_t tabSize)
{
    std::vector<std::int32_t> widths(static_cast<std::size_t>(length) + 1, 0);
    for (std::int32_t i = 0; i < length; ++i) {
        const std::int32_t column = widths[static_cast<std::size_t>(i)];
        widths[static_cast<std::size_t>(i) + 1] = s[i] == u'\t' ? (column / tabSize + 1) * tabSize : column + 1;
    }
    return widths;
}

inline bool Wraps(std::int32_t wrapColumn)
{
    return wrapColumn > 0 && wrapColumn != qel::NoWrapColumn;
}

// First broken rule of one paragraph's text, buffer and line map, or "".
inline std::string CheckParaNode(const TParaNode& node, std::int32_t wrapColumn, std::uint8_t tabSize)
{
    const std::u16string text = NodeText(node);
    if (node.GetS()[node.SLen()] != 0 || (node.BufSize() != 0 && node.SLen() >= node.BufSize())) {
        return "text not terminated within its buffer";
    }
    if (text.find(u'\0') != std::u16string::npos) {
        return "zero unit inside the text";
    }
    if (LineStarts(node) != FreshLineStarts(text, wrapColumn, tabSize)) {
        return "line map differs from a fresh re-wrap";
    }
    for (std::int32_t line = 1; Wraps(wrapColumn) && line <= node.LineCount(); ++line) {
        std::uint16_t length = 0;
        const char16_t* start = node.NthLine(line, length);
        // A hyphen just past the limit ends its line, one column beyond it.
        std::u16string_view shown(start, length);
        while (!shown.empty() && (shown.back() == u' ' || shown.back() == u'\t')) {
            shown.remove_suffix(1);
        }
        if (!shown.empty() && shown.back() == u'-') {
            shown.remove_suffix(1);
        }
        if (VisibleWidth(shown, tabSize) > wrapColumn) {
            return "line " + std::to_string(line) + " exceeds the wrap column";
        }
    }
    return "";
}

// Nodes that undo or redo records own (they must be out of the list, each
// owned once); "" or the broken rule of the record block.
inline std::string CollectOwnedNodes(qel::TPgcUndoBuffer& buffer, std::multiset<const TParaNode*>& owned)
{
    std::uint32_t undoBytes = 0;
    const std::uint32_t records = static_cast<std::uint32_t>(buffer.Undos()) + buffer.Redos();
    for (std::uint32_t n = 1; n <= records; ++n) {
        const qel::TUndoRecView rec = buffer.NthRec(static_cast<std::uint16_t>(n));
        if (rec.UndoType > qel::utReplace) {
            return "record of an unknown kind";
        }
        const bool isRedo = n > buffer.Undos();
        if (!isRedo) {
            undoBytes += qel::TUndoNode::HeaderSize + 2u * rec.DSize;
        }
        const bool nodeKind = rec.UndoType == qel::utInsPara || rec.UndoType == qel::utPlacePara
            || rec.UndoType == qel::utDelPara;
        const bool owns = isRedo ? rec.UndoType != qel::utDelPara : rec.UndoType == qel::utDelPara;
        if (nodeKind && owns) {
            owned.insert(qel::TUndoNode::NodeOf(rec.Data));
        }
    }
    if (undoBytes + buffer.BufAvail() != buffer.BufSize()) {
        return "BufAvail does not match the undo records";
    }
    return "";
}

// First broken invariant of the list, or "".
inline std::string CheckParaList(TPgcParaList& list)
{
    std::int32_t paras = 0;
    std::int64_t chars = 0;
    std::int32_t lines = 0;
    std::set<const TParaNode*> inList;
    const TParaNode* prev = nullptr;
    const TParaNode* cached = nullptr;
    std::int32_t cachedFirst = 0;
    for (const TParaNode* node = list.Head(); node != nullptr; prev = node, node = node->Next) {
        ++paras;
        if (node->Prev != prev) {
            return "broken back link";
        }
        if (node == list.LastNode()) {
            cached = node;
            cachedFirst = lines + 1;
            if (paras != list.LastP()) {
                return "position cache: wrong paragraph number";
            }
        }
        inList.insert(node);
        chars += node->SLen();
        lines += node->LineCount();
        const std::string nodeFault = CheckParaNode(*node, list.GetWrapColumn(), list.TabSize());
        if (!nodeFault.empty()) {
            return "paragraph " + std::to_string(paras) + ": " + nodeFault;
        }
    }
    if (prev != list.Tail() || paras < 1) {
        return "tail or paragraph count broken";
    }
    if (paras != list.ParaCount() || chars + 2 * (paras - 1) != list.CharCount() || lines != list.LineCount()) {
        return "counts (list/walk): paras " + std::to_string(list.ParaCount()) + "/" + std::to_string(paras)
            + ", chars " + std::to_string(list.CharCount()) + "/" + std::to_string(chars + 2 * (paras - 1))
            + ", lines " + std::to_string(list.LineCount()) + "/" + std::to_string(lines);
    }
    if (cached == nullptr || list.LastN() - list.LastO() + 1 != cachedFirst || list.LastO() < 1
        || list.LastO() > cached->LineCount()) {
        return "position cache names no line of the list";
    }
    std::multiset<const TParaNode*> owned;
    const std::string undoFault = CollectOwnedNodes(list.UndoBuffer(), owned);
    if (!undoFault.empty()) {
        return undoFault;
    }
    for (const TParaNode* node : owned) {
        if (owned.count(node) > 1 || inList.count(node) > 0) {
            return "a paragraph node is owned twice";
        }
    }
    return "";
}

// Display column of character column col of a line, from its prefix widths.
inline std::int32_t ExpectedEffCol(const std::vector<std::int32_t>& widths, std::int32_t col)
{
    const auto length = static_cast<std::int32_t>(widths.size()) - 1;
    if (length == 0) {
        return col;
    }
    return col <= length ? widths[static_cast<std::size_t>(col) - 1] + 1 : widths.back() + col - length;
}

// Character column shown at display column col of a line: the unit whose
// columns hold col; past the start of the last unit the columns count on one
// by one.
inline std::int32_t ExpectedActualCol(const std::vector<std::int32_t>& widths, bool tabs, std::int32_t col)
{
    const auto length = static_cast<std::int32_t>(widths.size()) - 1;
    if (col <= 1 || length == 0) {
        return col;
    }
    const std::int32_t lastStart = tabs ? widths[static_cast<std::size_t>(length) - 1] + 1 : length;
    if (col > lastStart) {
        return length + col - lastStart;
    }
    return static_cast<std::int32_t>(std::lower_bound(widths.begin() + 1, widths.end(), col) - widths.begin());
}

// First disagreement of the list's lookups with a plain walk over every line,
// visited in a shuffled order (so the position cache is reached from every
// side), or "".
inline std::string CheckLookups(TPgcParaList& list, std::uint32_t seed)
{
    struct TLine {
        const TParaNode* node;
        std::int32_t para;
        std::int32_t lineInPara;
    };
    std::vector<TLine> walk;
    std::int32_t para = 0;
    for (const TParaNode* node = list.Head(); node != nullptr; node = node->Next) {
        ++para;
        for (std::int32_t line = 1; line <= node->LineCount(); ++line) {
            walk.push_back({node, para, line});
        }
    }
    std::vector<std::int32_t> order(walk.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::int32_t>(i + 1);
    }
    std::shuffle(order.begin(), order.end(), std::minstd_rand(seed + 1));
    std::string fault;
    for (const std::int32_t n : order) {
        const TLine& expected = walk[static_cast<std::size_t>(n - 1)];
        const std::uint16_t start = expected.node->LineStart(expected.lineInPara);
        std::uint16_t length = 0;
        const char16_t* text = expected.node->NthLine(expected.lineInPara, length);
        const char16_t* s = nullptr;
        std::uint16_t len = 0;
        std::int32_t linePos = -1;
        if (list.NthLine(n, s, len) != expected.node || s != text || len != length) {
            fault = "NthLine(" + std::to_string(n) + ")";
        } else if (list.NthPara(expected.para) != expected.node) {
            fault = "NthPara(" + std::to_string(expected.para) + ")";
        } else if (list.FindParaByLine(n, linePos) != (list.WordWrap() ? expected.para : n)
            || linePos != (list.WordWrap() ? start : 0)) {
            fault = "FindParaByLine(" + std::to_string(n) + ")";
        }
        const bool lastLine = expected.lineInPara == expected.node->LineCount();
        for (std::int32_t k = 0; fault.empty() && k < length + (lastLine ? 1 : 0); ++k) {
            std::int32_t column = 0;
            if (list.FindLineByPara(expected.para, start + k + 1, column) != n || column != k + 1) {
                fault = "FindLineByPara(" + std::to_string(expected.para) + ", " + std::to_string(start + k + 1) + ")";
            }
        }
        const std::vector<std::int32_t> widths = PrefixWidths(s, len, list.TabSize());
        const bool tabs = std::find(s, s + len, u'\t') != s + len;
        for (std::int32_t col = 1; fault.empty() && col <= length + 2; ++col) {
            if (list.EffCol(s, len, col) != ExpectedEffCol(widths, col)) {
                fault = "EffCol(line " + std::to_string(n) + ", " + std::to_string(col) + ")";
            }
        }
        for (std::int32_t col = 1; fault.empty() && col <= widths.back() + 2; ++col) {
            if (list.ActualCol(s, len, col) != ExpectedActualCol(widths, tabs, col)) {
                fault = "ActualCol(line " + std::to_string(n) + ", " + std::to_string(col) + ")";
            }
        }
        if (!fault.empty()) {
            return fault;
        }
    }
    return "";
}

// Reads an edit script byte by byte; 0 once it is used up.
class TScriptReader {
public:
    explicit TScriptReader(std::basic_string_view<std::uint8_t> bytes) : FBytes(bytes) {}
    bool AtEnd() const { return FPos >= FBytes.size(); }
    std::uint8_t Byte() { return AtEnd() ? 0 : FBytes[FPos++]; }
    // A number in 0..count-1.
    std::int32_t Below(std::int32_t count) { return count <= 0 ? 0 : Byte() % count; }

private:
    std::basic_string_view<std::uint8_t> FBytes;
    std::size_t FPos = 0;
};

// A short text of letters, blanks, hyphens and tabs; with line breaks (LF,
// CR LF) for blocks. A byte 255 gives a zero unit, which ends a text.
inline std::u16string ScriptText(TScriptReader& in, bool lineBreaks)
{
    static constexpr char16_t plain[] = {u'a', u'b', u'c', u'w', u' ', u' ', u'-', u'\t', u'\u00e9', u'x'};
    const std::int32_t length = in.Below(13);
    std::u16string text;
    for (std::int32_t i = 0; i < length; ++i) {
        const std::uint8_t byte = in.Byte();
        const std::int32_t pick = byte % (lineBreaks ? 12 : 10);
        if (byte == 255) {
            text += u'\0';
        } else if (pick == 10) {
            text += u'\n';
        } else if (pick == 11) {
            text += u"\r\n";
        } else {
            text += plain[pick];
        }
    }
    return text;
}

// The editing operations of the undo history.
enum class TScriptOp {
    InsertText,
    DeleteText,
    ReplaceText,
    BreakPara,
    JoinWithNext,
    InsertBlock,
    DeleteBlock,
    InsertPara,
    DeletePara,
};
constexpr std::int32_t ScriptOpCount = 9;

// Runs one editing operation read from the script on the list. Paragraph
// numbers and positions reach a little past the text on both sides.
inline void RunScriptOp(TPgcParaList& list, TScriptReader& in, TPgcParaListObserver* editor)
{
    const auto op = static_cast<TScriptOp>(in.Below(ScriptOpCount));
    const std::int32_t p = in.Below(list.ParaCount() + 2);
    const std::int32_t length = list.ParaLength(p);
    const std::int32_t pos = in.Below(length + 4);
    switch (op) {
    case TScriptOp::InsertText: {
        const std::u16string text = ScriptText(in, false);
        list.InsertTextPrim(editor, p, pos, text.data(), static_cast<std::int32_t>(text.size()));
        break;
    }
    case TScriptOp::DeleteText:
        list.DeleteText(editor, p, pos, in.Below(length + 3) - 1);
        break;
    case TScriptOp::ReplaceText: {
        const std::u16string text = ScriptText(in, false);
        list.ReplaceText(editor, p, pos, in.Below(6), text.data(), static_cast<std::int32_t>(text.size()));
        break;
    }
    case TScriptOp::BreakPara: {
        std::int32_t indent = in.Below(12);
        list.BreakPara(editor, p, pos, static_cast<std::uint8_t>(in.Below(5)), indent, in.Below(2) == 1);
        break;
    }
    case TScriptOp::JoinWithNext:
        list.JoinWithNext(editor, p, in.Below(4) == 0 ? pos : length + 1);
        break;
    case TScriptOp::InsertBlock: {
        const std::u16string text = ScriptText(in, true);
        std::int32_t para = p;
        std::int32_t at = pos;
        list.InsertBlock(editor, para, at, text);
        break;
    }
    case TScriptOp::DeleteBlock: {
        const std::int32_t para2 = p + in.Below(3);
        list.DeleteBlock(editor, p, pos, para2, in.Below(list.ParaLength(para2) + 2));
        break;
    }
    case TScriptOp::InsertPara: {
        const std::u16string text = ScriptText(in, false);
        list.InsertParaPrim(editor, p, text.data(), static_cast<std::int32_t>(text.size()));
        break;
    }
    case TScriptOp::DeletePara:
        list.DeletePara(editor, p);
        break;
    }
}

} // namespace qeltest

// The paragraph editor's search and replace: a shift-table scan paragraph by
// paragraph (matches never span paragraphs), forward or backward, with or
// without case, whole words only, within the selection or from the text's
// edge, selecting the next match or replacing one or all of them.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"
#include "widgets/pages/pgc_strings.h"

#include "platform/controls/screen.h"

#include <algorithm>

namespace qel {

namespace {

constexpr std::size_t LongestSearchText = 255;

// The hourglass shows while a scan runs, and goes however it ends.
class TBusyCursor {
public:
    TBusyCursor() { SetCursor(plat::crHourGlass); }
    ~TBusyCursor() { SetCursor(plat::crDefault); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    static void SetCursor(plat::TCursor Cursor)
    {
        if (plat::Screen != nullptr) {
            plat::Screen->SetCursor(Cursor);
        }
    }
};

// What one scan looks for and how it compares.
struct TPattern {
    std::u16string Units;       // upper-cased unless case matters
    TShiftTable Table{};
    bool MatchCase = false;

    TPattern(std::u16string_view S, bool Case) : Units(S), MatchCase(Case)
    {
        if (!MatchCase) {
            std::transform(Units.begin(), Units.end(), Units.begin(), UpCaseWideChar);
        }
        BuildShiftTable(Units.c_str(), Table);
    }
    int Length() const { return static_cast<int>(Units.size()); }
    // The offset of the first match within Count units of Text, or -1.
    int Find(const char16_t* Text, int Count) const
    {
        std::uint32_t at = 0;
        const bool found = MatchCase
            ? ShiftTableSearch(Text, static_cast<std::uint32_t>(Count), Table, Units.c_str(), at)
            : ShiftTableSearchNoCase(Text, static_cast<std::uint32_t>(Count), Table, Units.c_str(), at);
        return found ? static_cast<int>(at) : -1;
    }
};

// The bounds [Begin, End) a match must lie in, and the replacement's
// effect on them.
struct TSearchBounds {
    TMarker Begin;
    TMarker End;
    TMarker Caret;

    bool Holds(int Para, int Pos, int Length) const
    {
        return TMarker{Para, Pos} >= Begin && TMarker{Para, Pos + Length - 1} < End;
    }
    // A match at (Para, Pos) of Old units became New units.
    void Replaced(int Para, int Pos, int Old, int New)
    {
        for (TMarker* marker : {&Begin, &End, &Caret}) {
            if (New > Old) {
                TPgcParaList::FixMarkerInsertedText(*marker, Para, Pos + Old, New - Old);
            } else if (New < Old) {
                TPgcParaList::FixMarkDeletedText(*marker, Para, Pos + New, Old - New);
            }
        }
    }
};

} // namespace

bool TPgcCustomEditor::Search(std::u16string_view S, TSearchOptionSet Options)
{
    return edSearchReplace(S.substr(0, LongestSearchText), u"", Options) == 0;
}

int TPgcCustomEditor::Replace(std::u16string_view S, const char16_t* R, TSearchOptionSet Options)
{
    if (R == nullptr) {
        return edSearchReplace(S.substr(0, LongestSearchText), nullptr, Options);
    }
    const std::u16string replacement = std::u16string(std::u16string_view(R).substr(0, LongestSearchText));
    return edSearchReplace(S.substr(0, LongestSearchText), replacement.c_str(), Options);
}

bool TPgcCustomEditor::edSelectionMatches(std::u16string_view S, bool MatchCase)
{
    if (edHltBgn.Para != edHltEnd.Para || edHltEnd.Pos - edHltBgn.Pos != static_cast<int>(S.size())) {
        return false;
    }
    const std::u16string_view text = ParaText(edHltBgn.Para);
    if (edHltEnd.Pos - 1 > static_cast<int>(text.size())) {
        return false;
    }
    const std::u16string_view selected = text.substr(static_cast<std::size_t>(edHltBgn.Pos - 1), S.size());
    return MatchCase ? selected == S
                     : std::equal(selected.begin(), selected.end(), S.begin(),
                           [](char16_t A, char16_t B) { return UpCaseWideChar(A) == UpCaseWideChar(B); });
}

bool TPgcCustomEditor::IsWholeWord(std::u16string_view Para, int Offset, int Length) const
{
    const auto end = static_cast<std::size_t>(Offset + Length);
    return (Offset == 0 || IsWordDelimiter(Para[static_cast<std::size_t>(Offset - 1)])) &&
           (end >= Para.size() || IsWordDelimiter(Para[end]));
}

int TPgcCustomEditor::edSearchReplace(std::u16string_view S, const char16_t* R, TSearchOptionSet Options)
{
    const bool replaceAll = Options.Contains(soReplaceAll);
    const bool replacing = replaceAll || Options.Contains(soReplace);
    if (S.empty() || (replacing && R == nullptr)) {
        return 0;
    }
    const bool backward = Options.Contains(soBackward);
    const bool matchCase = Options.Contains(soMatchCase);
    const bool inSelection = Options.Contains(soSelText);
    const bool global = Options.Contains(soGlobal);
    const std::u16string_view replacement = R != nullptr ? std::u16string_view(R) : std::u16string_view();

    int count = 0;
    if (replacing && edSelectionMatches(S, matchCase)) {
        const std::uint16_t code = edReplaceSelection(replacement);
        if (code != 0) {
            DoOnError(code);
            return code;
        }
        count = 1;
    }

    const int paraCount = edParas->ParaCount();
    const TMarker textEnd{paraCount, edParas->ParaLength(paraCount) + 1};
    TMarker start = CaretMarker();
    if (inSelection) {
        start = backward ? edHltEnd : edHltBgn;
    } else if (global) {
        start = backward ? textEnd : TMarker{1, 1};
    }
    TSearchBounds bounds{{1, 1}, {paraCount + 1, 1}, CaretMarker()};
    if (inSelection) {
        bounds.Begin = edHltBgn;
        bounds.End = edHltEnd;
    } else if (!global) {
        (backward ? bounds.End : bounds.Begin) = start;
    }
    const bool caretAtSelectionEnd = edAnchor == edHltEnd;

    const TPattern pattern(S, matchCase);
    const int length = pattern.Length();
    const auto replaceLength = static_cast<int>(replacement.size());
    std::uint16_t error = 0;
    bool selected = false;
    // Takes a match at (Para, Pos): true when the scan goes on after it.
    const auto take = [&](int Para, int Pos) {
        if (!replaceAll) {
            if (backward) {
                edSetSelectionPos(Para, Pos + length, Para, Pos, true);
            } else {
                edSetSelectionPos(Para, Pos, Para, Pos + length, true);
            }
            selected = true;
            return false;
        }
        error = edParas->ReplaceText(this, Para, Pos, length, replacement.data(), replaceLength);
        if (error != 0) {
            return false;
        }
        ++count;
        bounds.Replaced(Para, Pos, length, replaceLength);
        return true;
    };
    const auto acceptable = [&](std::u16string_view Text, int Para, int Offset) {
        return bounds.Holds(Para, Offset + 1, length) &&
               (!Options.Contains(soWholeWord) || IsWholeWord(Text, Offset, length));
    };
    {
        const TBusyCursor busy;
        if (!backward) {
            int para = start.Para;
            int x = std::max(start.Pos, 1);             // 1-based position the scan starts at
            TParaNode* node = edParas->NthPara(para);
            while (node != nullptr && para <= bounds.End.Para) {
                const std::u16string_view text(node->GetS(), node->SLen());
                const int left = static_cast<int>(text.size()) - (x - 1);
                const int offset = left >= length ? pattern.Find(text.data() + x - 1, left) : -1;
                if (offset < 0) {
                    node = node->Next;
                    ++para;
                    x = 1;
                    continue;
                }
                const int at = x - 1 + offset;          // 0-based offset of the match
                if (!acceptable(text, para, at)) {
                    x = at + 2;
                    continue;
                }
                if (!take(para, at + 1)) {
                    break;
                }
                x = at + 1 + replaceLength;
            }
        } else {
            int para = start.Para;
            int x = start.Pos - 1;                      // a match ends at or before position x
            TParaNode* node = edParas->NthPara(para);
            while (node != nullptr && para >= bounds.Begin.Para) {
                const std::u16string_view text(node->GetS(), node->SLen());
                x = std::min(x, static_cast<int>(text.size()));
                int last = -1;
                for (int from = 0, found; x - from >= length && (found = pattern.Find(text.data() + from, x - from)) >= 0;
                     from += found + 1) {
                    last = from + found;
                }
                if (last < 0) {
                    node = node->Prev;
                    --para;
                    x = node != nullptr ? node->SLen() : 0;
                    continue;
                }
                if (!acceptable(text, para, last)) {
                    x = last + length - 1;
                    continue;
                }
                if (!take(para, last + 1)) {
                    break;
                }
                x = last;
            }
        }
    }

    if (error != 0) {
        DoOnError(error);
        return error;
    }
    if (replaceAll && count > 0) {
        if (inSelection) {
            edSetHighlight(bounds.Begin.Para, bounds.Begin.Pos, bounds.End.Para, bounds.End.Pos);
            const TMarker caret = caretAtSelectionEnd ? bounds.End : bounds.Begin;
            PlaceCaretAt(caret);
            edAnchor = caret;
        } else {
            const int caretLength = edParas->ParaLength(bounds.Caret.Para);
            PlaceCaretAt({bounds.Caret.Para, std::min(bounds.Caret.Pos, caretLength + 1)});
            edCollapseSelection(false);
        }
        edRedraw(true);
    }
    if (count > 0) {
        return count;
    }
    return selected ? 0 : -1;
}

} // namespace qel

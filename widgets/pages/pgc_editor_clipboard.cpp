// The paragraph editor's clipboard: the selection copied as UTF-16 text (a
// stream as paragraphs joined by CR LF, a column block as rows of equal
// length joined by a lone CR), cut, and pasted at the caret.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"

#include "platform/controls/clipboard.h"

#include <algorithm>
#include <cstring>

namespace qel {

namespace {

constexpr char16_t Blank = u' ';
constexpr char16_t CR = u'\r';
constexpr char16_t HighestKeepable = 255;   // ClipboardChars holds 8-bit characters only

// The clipboard is closed again however the work in between ends.
class TOpenClipboard {
public:
    explicit TOpenClipboard(plat::HWND Owner) : FOpen(plat::OpenClipboard(Owner)) {}
    ~TOpenClipboard()
    {
        if (FOpen) {
            plat::CloseClipboard();
        }
    }
    TOpenClipboard(const TOpenClipboard&) = delete;
    TOpenClipboard& operator=(const TOpenClipboard&) = delete;
    bool IsOpen() const { return FOpen; }

private:
    bool FOpen;
};

// The units of a text block up to its first zero, never past the block's end.
std::u16string BlockText(const plat::HGLOBAL& Block)
{
    const std::size_t units = plat::GlobalSize(Block) / sizeof(char16_t);
    const auto* bytes = static_cast<const std::uint8_t*>(plat::GlobalLock(Block));
    std::u16string text;
    if (bytes != nullptr) {
        text.resize(units);
        std::memcpy(text.data(), bytes, units * sizeof(char16_t));
        text.resize(std::min(text.find(u'\0'), units));
    }
    plat::GlobalUnlock(Block);
    return text;
}

} // namespace

// ---- the copied text ----

std::u16string TPgcCustomEditor::StreamClipboardText()
{
    std::u16string text;
    for (int para = edHltBgn.Para; para <= edHltEnd.Para; ++para) {
        const std::u16string_view units = ParaText(para);
        const auto length = static_cast<int>(units.size());
        const int from = para == edHltBgn.Para ? std::min(edHltBgn.Pos, length + 1) : 1;
        const int to = para == edHltEnd.Para ? std::min(edHltEnd.Pos, length + 1) : length + 1;
        if (to > from) {
            text.append(units.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from)));
        }
        if (para != edHltEnd.Para) {
            text.append(u"\r\n");
        }
    }
    FilterClipboardChars(text);
    return text;
}

// Empty when the two ends stand in the same screen column.
std::u16string TPgcCustomEditor::ColumnBlockClipboardText()
{
    int left = ScreenColumn(edHltBgnL.Line, edHltBgnL.Col);
    int right = ScreenColumn(edHltEndL.Line, edHltEndL.Col);
    if (left > right) {
        std::swap(left, right);
    }
    std::u16string text;
    if (left == right) {
        return text;
    }
    const auto width = static_cast<std::size_t>(right - left);
    for (int para = edHltBgn.Para; para <= edHltEnd.Para; ++para) {
        if (para != edHltBgn.Para) {
            text.push_back(CR);
        }
        const std::u16string expanded = para <= LineCount() ? ExpandedLine(para) : std::u16string();
        const std::size_t first = static_cast<std::size_t>(left - 1);
        const std::u16string_view shown = first < expanded.size()
            ? std::u16string_view(expanded).substr(first, width)
            : std::u16string_view();
        text.append(shown);
        text.append(width - shown.size(), Blank);
    }
    return text;
}

void TPgcCustomEditor::FilterClipboardChars(std::u16string& Text) const
{
    for (char16_t& ch : Text) {
        if (FKeepClipboardChars) {
            const bool kept = ch <= HighestKeepable && FClipboardChars.Contains(static_cast<std::uint8_t>(ch));
            if (ch <= Blank && !kept) {
                ch = Blank;
            }
        } else if (ch < u'\t') {
            ch = Blank;
        }
    }
}

// ---- copy, cut and paste ----

void TPgcCustomEditor::CopyToClipboard()
{
    if (!HasSelection()) {
        return;
    }
    const std::u16string text = edRectSelect ? ColumnBlockClipboardText() : StreamClipboardText();
    if (edRectSelect && text.empty()) {
        return;
    }
    const plat::HGLOBAL block = plat::GlobalAlloc(plat::GHND, (text.size() + 1) * sizeof(char16_t));
    if (!block) {
        DoOnError(EditErrOutOfMemory);
        return;
    }
    std::memcpy(plat::GlobalLock(block), text.data(), text.size() * sizeof(char16_t));
    plat::GlobalUnlock(block);
    const TOpenClipboard clipboard(HandleAllocated() ? Handle() : 0);
    if (clipboard.IsOpen()) {
        plat::EmptyClipboard();
        plat::SetClipboardData(plat::CF_UNICODETEXT, block);
    }
}

void TPgcCustomEditor::CutToClipboard()
{
    if (HasSelection() && !ReadOnly()) {
        CopyToClipboard();
        edDeleteChar();
    }
    edSetVScrollRange();
    edScrollPrim(0, 0);
}

void TPgcCustomEditor::PasteFromClipboard()
{
    if (ReadOnly()) {
        return;
    }
    std::uint16_t code = 0;
    {
        const TOpenClipboard clipboard(HandleAllocated() ? Handle() : 0);
        if (clipboard.IsOpen() && plat::IsClipboardFormatAvailable(plat::CF_UNICODETEXT)) {
            if (const plat::HGLOBAL block = plat::GetClipboardData(plat::CF_UNICODETEXT)) {
                code = edReplaceSelection(BlockText(block));
            }
        }
    }
    DoOnError(code);
    edSetVScrollRange();
    edScrollPrim(0, 0);
}

} // namespace qel

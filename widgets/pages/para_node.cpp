// One paragraph of the editor's text: buffer, line map, full and incremental
// re-wrap, insert, delete, replace and trim (see para_node.h).
#include "widgets/pages/para_node.h"

#include "widgets/pages/edit_text_routines.h"
#include "widgets/pages/pgc_exceptions.h"
#include "widgets/pages/pgc_messages.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace qel {

namespace {

bool Wraps(std::int32_t WrapCol)
{
    return WrapCol > 0 && WrapCol != NoWrapColumn;
}

constexpr std::uint16_t InsufficientMemoryMessage = 30197;

[[noreturn]] void RaiseOutOfMemory()
{
    throw EOutOfMemory(MessageTextByNumber(InsufficientMemoryMessage));
}

// Len as a paragraph length: no buffer can hold a longer text.
std::uint16_t ParagraphLength(std::size_t Len)
{
    if (Len > MaxParaNodeLength) {
        RaiseOutOfMemory();
    }
    return static_cast<std::uint16_t>(Len);
}

// Capacities grow in steps: 8 units at creation, multiples of 16 afterwards,
// map entries in multiples of 8; none exceeds 65,520 (a multiple of 16).
constexpr std::uint32_t MaxCapacity = 65520;

std::uint32_t RoundUp(std::uint32_t Value, std::uint32_t Step)
{
    return (Value + Step - 1) / Step * Step;
}

} // namespace

TParaNode::TParaNode(const char16_t* P, std::int32_t WrapCol, std::uint8_t TabSize)
    : TParaNode(P, ParagraphLength(std::char_traits<char16_t>::length(P)), WrapCol, TabSize)
{
}

TParaNode::TParaNode(const char16_t* P, std::uint16_t Len, std::int32_t WrapCol, std::uint8_t TabSize)
    : FSLen(ParagraphLength(Len))
{
    if (Len > 0) {
        FBufSize = static_cast<std::uint16_t>(RoundUp(Len + 1u, 8));
        FS.reset(new (std::nothrow) char16_t[FBufSize]);
        if (!FS) {
            RaiseOutOfMemory();
        }
        std::memcpy(FS.get(), P, Len * sizeof(char16_t));
        FS[Len] = 0;
    }
    Recalc(WrapCol, TabSize);
}

TParaNode::~TParaNode() = default;

std::uint16_t TParaNode::EstimateMapSize(std::uint16_t Len, std::int32_t WrapCol)
{
    if (!Wraps(WrapCol)) {
        return 1;
    }
    const std::uint32_t lines = Len / static_cast<std::uint32_t>(WrapCol);
    return static_cast<std::uint16_t>(std::clamp(RoundUp(lines + lines / 5, 8), 8u, MaxCapacity));
}

bool TParaNode::ExpandToLength(std::uint32_t NBS)
{
    if (NBS <= FBufSize) {
        return true;
    }
    if (NBS > MaxCapacity) {
        return false;
    }
    const std::uint32_t capacity = RoundUp(NBS, 16);
    std::unique_ptr<char16_t[]> buffer(new (std::nothrow) char16_t[capacity]);
    if (!buffer) {
        return false;
    }
    if (FS) {
        std::memcpy(buffer.get(), FS.get(), (FSLen + 1u) * sizeof(char16_t));
    } else {
        buffer[0] = 0;
    }
    FS = std::move(buffer);
    FBufSize = static_cast<std::uint16_t>(capacity);
    return true;
}

void TParaNode::ExpandLineMap(std::uint32_t NMS)
{
    const std::uint32_t capacity = std::clamp(RoundUp(NMS, 8), 8u, MaxCapacity);
    if (FMapSize >= capacity) {
        return;
    }
    std::unique_ptr<std::uint16_t[]> map(new (std::nothrow) std::uint16_t[capacity]());
    if (!map) {
        RaiseOutOfMemory();
    }
    if (FMap) {
        std::memcpy(map.get(), FMap.get(), FMapSize * sizeof(std::uint16_t));
    }
    FMap = std::move(map);
    FMapSize = static_cast<std::uint16_t>(capacity);
}

std::uint16_t TParaNode::LineLimit(std::uint16_t From, std::uint16_t Remaining, bool Tabs, std::int32_t WrapCol,
    std::uint8_t TabSize) const
{
    const auto width = static_cast<std::uint16_t>(std::min<std::int32_t>(WrapCol, 65535));
    if (Tabs) {
        return CharsInWidth(FS.get() + From, width, TabSize);
    }
    return std::min(Remaining, width);
}

void TParaNode::Recalc(std::int32_t WrapCol, std::uint8_t TabSize)
{
    FLineCount = 1;
    if (!Wraps(WrapCol) || !FS) {
        return;
    }
    const char16_t* s = FS.get();
    const bool tabs = HasTabs(s, FSLen);
    std::uint16_t from = 0;
    std::uint16_t remaining = FSLen;
    std::uint16_t limit = LineLimit(from, remaining, tabs, WrapCol, TabSize);
    while (remaining > limit) {
        const auto next = static_cast<std::uint16_t>(FindBreakPoint(s + from, limit) - s);
        remaining = static_cast<std::uint16_t>(remaining - (next - from));
        if (remaining == 0) {
            break;
        }
        ++FLineCount;
        if (FLineCount > FMapSize) {
            ExpandLineMap(std::max<std::uint32_t>(FLineCount, EstimateMapSize(FSLen, WrapCol)));
        }
        FMap[FLineCount - 1] = next;
        from = next;
        limit = LineLimit(from, remaining, tabs, WrapCol, TabSize);
    }
}

// The change may let the line before it take text back, so wrapping restarts
// one line before the changed one. New line starts are collected apart until
// one of them equals an old start (within the old line count) shifted by the
// change and lies after the changed span: the text from there on is the old
// text shifted, so the old lines follow unchanged and the walk stops. The
// text after old offset OldSpanEnd is the old text moved by Count.
void TParaNode::RecalcAfterInsDel(std::int32_t WrapCol, std::uint8_t TabSize, std::int32_t Pos, std::int32_t RplLen,
    std::int32_t Count, std::int32_t& FL, std::int32_t& LL)
{
    std::int32_t column = 0;
    const std::int32_t origLine = PosToLine(Pos + 1, column);
    if (!Wraps(WrapCol) || !FS) {
        FL = LL = origLine;
        return;
    }
    const std::int32_t oldCount = FLineCount;
    const std::int32_t first = std::max(1, origLine - 1);
    const std::int32_t oldSpanEnd = Pos + RplLen + std::max(-Count, 0);

    static thread_local std::vector<std::uint16_t> newStarts;   // starts of lines first + 1, ...
    newStarts.clear();
    const char16_t* s = FS.get();
    std::uint16_t from = LineStart(first);
    auto remaining = static_cast<std::uint16_t>(FSLen - from);
    const bool tabs = HasTabs(s + from, remaining);
    std::uint16_t limit = LineLimit(from, remaining, tabs, WrapCol, TabSize);
    std::int32_t oldLine = first + 1;   // first old line not yet passed
    std::int32_t resumeNew = 0;         // new number of the line where the old lines resume
    while (remaining > limit) {
        const auto next = static_cast<std::uint16_t>(FindBreakPoint(s + from, limit) - s);
        remaining = static_cast<std::uint16_t>(remaining - (next - from));
        if (remaining == 0) {
            break;
        }
        while (oldLine <= oldCount && LineStart(oldLine) + Count < next) {
            ++oldLine;
        }
        if (oldLine <= oldCount && LineStart(oldLine) + Count == next && LineStart(oldLine) >= oldSpanEnd) {
            resumeNew = first + static_cast<std::int32_t>(newStarts.size()) + 1;
            break;
        }
        newStarts.push_back(next);
        from = next;
        limit = LineLimit(from, remaining, tabs, WrapCol, TabSize);
    }

    // Line origLine - 1 ends where line origLine begins; its text lies before
    // the change, so it changed only when that start moved.
    FL = origLine;
    if (origLine > 1) {
        std::int32_t newOrigStart = -1;
        if (!newStarts.empty()) {
            newOrigStart = newStarts.front();
        } else if (resumeNew == origLine) {
            newOrigStart = LineStart(oldLine) + Count;
        }
        if (newOrigStart != LineStart(origLine)) {
            FL = origLine - 1;
        }
    }

    std::int32_t newCount = first + static_cast<std::int32_t>(newStarts.size());
    if (resumeNew != 0) {
        const std::int32_t tail = oldCount - oldLine;   // old lines after the resumed one
        newCount = resumeNew + tail;
        ExpandLineMap(static_cast<std::uint32_t>(newCount));
        std::memmove(&FMap[resumeNew - 1], &FMap[oldLine - 1], (tail + 1u) * sizeof(std::uint16_t));
        for (std::int32_t i = resumeNew - 1; i < newCount; ++i) {
            FMap[i] = static_cast<std::uint16_t>(FMap[i] + Count);
        }
    } else if (newCount > 1) {
        ExpandLineMap(static_cast<std::uint32_t>(newCount));
    }
    if (!newStarts.empty()) {
        std::copy(newStarts.begin(), newStarts.end(), FMap.get() + first);
    }
    FLineCount = newCount;

    LL = newCount != oldCount || resumeNew == 0 ? newCount : resumeNew - 1;
    LL = std::max(LL, FL);
}

const char16_t* TParaNode::NthLine(std::int32_t N, std::uint16_t& Len) const
{
    if (N < 1 || N > FLineCount) {
        Len = 0;
        return EmptyText;
    }
    if (FLineCount == 1) {
        Len = FSLen;
        return GetS();
    }
    const std::uint16_t start = LineStart(N);
    const std::uint16_t end = N < FLineCount ? LineStart(N + 1) : FSLen;
    Len = static_cast<std::uint16_t>(end - start);
    return FS.get() + start;
}

std::int32_t TParaNode::PosToLine(std::int32_t Pos, std::int32_t& Col) const
{
    if (FLineCount == 1 || Pos < 1) {
        Col = Pos;
        return 1;
    }
    // Line starts are below 65,520, so every later position lies on the last line.
    const auto pos = static_cast<std::uint16_t>(std::min(Pos, 65535));
    auto start = static_cast<std::uint16_t>(FLineCount);
    if (FLineCount > 20) {
        const std::int32_t half = FLineCount / 2;
        if (pos > LineStart(half)) {
            start = static_cast<std::uint16_t>(pos <= LineStart(FLineCount - half) ? FLineCount - half : FLineCount);
        } else {
            start = static_cast<std::uint16_t>(pos > LineStart(half / 2) ? half : half / 2);
        }
    }
    const std::int32_t line = FindLineOfPos(FMap.get(), start, pos);
    Col = Pos - LineStart(line);
    return line;
}

std::uint16_t TParaNode::InsertTextPrim(const char16_t* St, std::uint16_t StLen, std::int32_t Pos, std::int32_t WrapCol,
    std::uint8_t TabSize, std::int32_t& FL, std::int32_t& LL)
{
    if (Pos < 1) {
        return 0;
    }
    const std::int32_t at = Pos - 1;
    const std::int32_t base = std::max<std::int32_t>(FSLen, at);
    if (base + StLen > MaxParaNodeLength || !ExpandToLength(static_cast<std::uint32_t>(base + StLen + 1))) {
        return EditErrOutOfMemory;
    }
    const std::uint16_t oldLen = FSLen;
    if (at > FSLen) {
        PadWithSpaces(FS.get(), static_cast<std::uint16_t>(at));
        FSLen = static_cast<std::uint16_t>(at);
    }
    InsertChars(FS.get(), St, FSLen, StLen, static_cast<std::uint16_t>(at));
    FSLen = static_cast<std::uint16_t>(FSLen + StLen);
    // Padding starts at the old end, so the change does too.
    RecalcAfterInsDel(WrapCol, TabSize, std::min<std::int32_t>(at, oldLen), 0, FSLen - oldLen, FL, LL);
    return 0;
}

std::uint16_t TParaNode::InsertText(const char16_t* St, std::int32_t Pos, std::int32_t WrapCol, std::uint8_t TabSize,
    std::int32_t& FL, std::int32_t& LL)
{
    const std::size_t length = std::char_traits<char16_t>::length(St);
    if (length > MaxParaNodeLength) {
        return EditErrOutOfMemory;
    }
    return InsertTextPrim(St, static_cast<std::uint16_t>(length), Pos, WrapCol, TabSize, FL, LL);
}

void TParaNode::DeleteText(std::int32_t Pos, std::int32_t Count, std::int32_t WrapCol, std::uint8_t TabSize,
    std::int32_t& FL, std::int32_t& LL)
{
    if (!FS || Pos < 1 || Pos > FSLen || Count < 0) {
        return;
    }
    const std::int32_t at = Pos - 1;
    const std::int32_t removed = std::min<std::int32_t>(Count, FSLen - at);
    DeleteChars(FS.get(), FSLen, removed, at);
    FSLen = static_cast<std::uint16_t>(FSLen - removed);
    RecalcAfterInsDel(WrapCol, TabSize, at, 0, -removed, FL, LL);
}

std::uint16_t TParaNode::ReplaceText(std::int32_t Pos, std::int32_t Count, std::int32_t WrapCol, std::uint8_t TabSize,
    const char16_t* St, std::uint16_t StLen, std::int32_t& FL, std::int32_t& LL)
{
    if (Pos < 1 || Pos - 1 > FSLen) {
        return 0;
    }
    const std::int32_t at = Pos - 1;
    Count = std::clamp<std::int32_t>(Count, 0, FSLen - at);
    if (Count == 0 && StLen == 0) {
        return 0;
    }
    const std::int32_t diff = StLen - Count;
    if (FSLen + diff > MaxParaNodeLength
        || !ExpandToLength(static_cast<std::uint32_t>(FSLen + std::max(diff, 0) + 1))) {
        return EditErrOutOfMemory;
    }
    const std::int32_t overwritten = std::min<std::int32_t>(StLen, Count);
    std::memcpy(FS.get() + at, St, static_cast<std::size_t>(overwritten) * sizeof(char16_t));
    if (diff < 0) {
        DeleteChars(FS.get(), FSLen, -diff, at + StLen);
    } else if (diff > 0) {
        InsertChars(FS.get(), St + Count, FSLen, static_cast<std::uint16_t>(diff), static_cast<std::uint16_t>(at + Count));
    }
    FSLen = static_cast<std::uint16_t>(FSLen + diff);
    RecalcAfterInsDel(WrapCol, TabSize, at, overwritten, diff, FL, LL);
    return 0;
}

std::uint16_t TParaNode::TrimWhiteSpace()
{
    if (!FS) {
        return 0;
    }
    std::uint16_t trimmed = 0;
    while (FSLen > 0 && IsWhiteSpace(FS[FSLen - 1])) {
        --FSLen;
        ++trimmed;
    }
    FS[FSLen] = 0;
    // No line but the first begins with a blank, so only the last line got
    // shorter and the line map still holds.
    return trimmed;
}

std::uint16_t TParaNode::CountWhiteSpace(std::int32_t Pos) const
{
    if (!FS) {
        return 0;
    }
    std::uint16_t blanks = 0;
    for (std::int32_t k = std::min<std::int32_t>(Pos - 1, FSLen) - 1; k >= 0 && IsWhiteSpace(FS[k]); --k) {
        ++blanks;
    }
    return blanks;
}

} // namespace qel

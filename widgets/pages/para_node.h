// One paragraph of the paragraph editor's text: a growable UTF-16 buffer
// without line breaks, its links in the paragraph list, and the line map that
// says where each wrapped display line begins.
#pragma once

#include <cstdint>
#include <memory>

namespace qel {

// Result codes of the text model's edits.
constexpr std::uint16_t EditErrOutOfMemory = 263;
constexpr std::uint16_t EditErrRegionTooLarge = 264;
constexpr std::uint16_t EditErrTooManyParas = 265;
constexpr std::uint16_t EditErrJoinTooLong = 266;
constexpr std::uint16_t EditErrTextTooLong = 267;
constexpr std::uint16_t EditErrParaTooLong = 268;

// Wrap column that means "not wrapped" (0 means the same).
constexpr std::int32_t NoWrapColumn = 32767;

// Longest text a paragraph can hold: lengths, capacities and line starts are
// 16-bit, and a buffer of this many units plus terminator rounds up to 65,520.
constexpr std::uint16_t MaxParaNodeLength = 65519;

// A paragraph. Positions given to its operations are 1-based; offsets in the
// line map are 0-based. The text always ends in a zero unit once a buffer
// exists. Line i (i < LineCount) holds LineStart(i + 1) - LineStart(i) units;
// the last line runs to the end of the text.
//
// Wrap rule: a line holds at most a limit of units: the wrap column, or with
// tabs in the rest of the paragraph, the units that fill the wrap column in
// display columns. The next line begins after the last blank or hyphen at or
// before the unit just past the limit (never the line's first), and after the blanks
// that follow it, so that no line but the first begins with a blank; without
// one the line is cut at the limit.
class TParaNode {
public:
    // Init: the zero-terminated text P.
    TParaNode(const char16_t* P, std::int32_t WrapCol, std::uint8_t TabSize);
    // InitLen: Len units of P. Raises EOutOfMemory with message 30197 when
    // the buffer or map cannot be had (a text longer than MaxParaNodeLength
    // fits no buffer).
    TParaNode(const char16_t* P, std::uint16_t Len, std::int32_t WrapCol, std::uint8_t TabSize);
    ~TParaNode();
    TParaNode(const TParaNode&) = delete;
    TParaNode& operator=(const TParaNode&) = delete;

    // The text, zero-terminated; an empty text when the paragraph never had a buffer.
    const char16_t* GetS() const { return FS ? FS.get() : EmptyText; }
    std::uint16_t SLen() const { return FSLen; }
    std::uint16_t BufSize() const { return FBufSize; }
    std::int32_t LineCount() const { return FLineCount; }
    std::uint16_t MapSize() const { return FMapSize; }
    // 0-based offset at which wrapped line Line (1..LineCount) begins.
    std::uint16_t LineStart(std::int32_t Line) const { return Line <= 1 ? 0 : FMap[Line - 1]; }

    // Full re-wrap.
    void Recalc(std::int32_t WrapCol, std::uint8_t TabSize);

    // Start of wrapped line N and its length; an empty line outside 1..LineCount.
    const char16_t* NthLine(std::int32_t N, std::uint16_t& Len) const;
    // The wrapped line holding 1-based position Pos, and Pos's 1-based column
    // in it. Positions before the text lie on line 1, past it on the last line.
    std::int32_t PosToLine(std::int32_t Pos, std::int32_t& Col) const;

    // Editing. FL and LL receive the first and last wrapped line whose start or
    // text changed (lines within the paragraph); they are left alone when
    // nothing changes. The codes are 0 or EditErrOutOfMemory (nothing changed).
    //
    // Inserts StLen units before Pos; a Pos past the end pads with spaces first.
    std::uint16_t InsertTextPrim(const char16_t* St, std::uint16_t StLen, std::int32_t Pos, std::int32_t WrapCol,
        std::uint8_t TabSize, std::int32_t& FL, std::int32_t& LL);
    // InsertTextPrim with the zero-terminated St.
    std::uint16_t InsertText(const char16_t* St, std::int32_t Pos, std::int32_t WrapCol, std::uint8_t TabSize,
        std::int32_t& FL, std::int32_t& LL);
    // Deletes Count units from Pos; a count past the end cuts the text at Pos.
    void DeleteText(std::int32_t Pos, std::int32_t Count, std::int32_t WrapCol, std::uint8_t TabSize,
        std::int32_t& FL, std::int32_t& LL);
    // Replaces Count units at Pos (cut to the text) by StLen units of St.
    std::uint16_t ReplaceText(std::int32_t Pos, std::int32_t Count, std::int32_t WrapCol, std::uint8_t TabSize,
        const char16_t* St, std::uint16_t StLen, std::int32_t& FL, std::int32_t& LL);
    // Removes trailing blanks; returns how many.
    std::uint16_t TrimWhiteSpace();
    // Number of blanks immediately before position Pos.
    std::uint16_t CountWhiteSpace(std::int32_t Pos) const;

    TParaNode* Next = nullptr;   // next paragraph of the list, or none
    TParaNode* Prev = nullptr;   // previous paragraph of the list, or none

private:
    static constexpr char16_t EmptyText[1] = {};   // the text of a paragraph without buffer

    static std::uint16_t EstimateMapSize(std::uint16_t Len, std::int32_t WrapCol);
    // Room for NBS units (terminator included); the buffer never shrinks.
    bool ExpandToLength(std::uint32_t NBS);
    // Room for NMS map entries; the map never shrinks.
    void ExpandLineMap(std::uint32_t NMS);
    // Limit of the line starting at From (see the wrap rule).
    std::uint16_t LineLimit(std::uint16_t From, std::uint16_t Remaining, bool Tabs, std::int32_t WrapCol,
        std::uint8_t TabSize) const;
    // Incremental re-wrap after the text changed at offset Pos: RplLen units
    // overwritten in place, then the length changed by Count.
    void RecalcAfterInsDel(std::int32_t WrapCol, std::uint8_t TabSize, std::int32_t Pos, std::int32_t RplLen,
        std::int32_t Count, std::int32_t& FL, std::int32_t& LL);

    std::unique_ptr<char16_t[]> FS;         // the text and its terminator; none while never filled
    std::unique_ptr<std::uint16_t[]> FMap;  // FMap[i - 1]: offset of line i; none while one line
    std::uint16_t FBufSize = 0;             // units allocated in FS
    std::uint16_t FSLen = 0;                // units of text
    std::uint16_t FMapSize = 0;             // entries allocated in FMap
    std::int32_t FLineCount = 1;            // wrapped lines, at least 1
};

} // namespace qel

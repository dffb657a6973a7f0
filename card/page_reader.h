// Bounds-checked reading of a page view for the page decoders: a decoder asks
// whether a whole record fits before it reads it, and a record that does not fit ends the page.
#pragma once

#include <cstdint>

namespace qel {

// Little-endian words of a record that Take handed out.
inline std::uint16_t WordAt(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}
inline std::int16_t SmallIntAt(const std::uint8_t* at)
{
    return static_cast<std::int16_t>(WordAt(at));
}

// Reads the view [memory, memory + size) at a position that the reader shares
// with its decoder (the decoder's FPosition), so header questions and the
// decoder's own reads stay in step. Usage in a decoder's page loop:
//
//     TPageReader in(FMemory, FSize, FPosition);
//     while (in.Fits(4)) { ... in.Byte() ... }
//     if (!in.Fits(recordSize)) return;   // the record does not fit: the page ends
//
// Reads are checked as well: past the end they give 0 and the position stays
// at the end, so even a missing Fits never reads outside the view.
class TPageReader {
public:
    TPageReader(const std::uint8_t* memory, std::int32_t size, std::int32_t& position)
        : FMemory(memory), FSize(size < 0 ? 0 : size), FPosition(position)
    {
    }

    // count more bytes lie in the view from the position.
    bool Fits(std::int32_t count) const
    {
        return count >= 0 && FPosition >= 0 && FPosition <= FSize && count <= FSize - FPosition;
    }
    std::int32_t Remaining() const { return FPosition >= 0 && FPosition <= FSize ? FSize - FPosition : 0; }
    std::int32_t Position() const { return FPosition; }
    std::int32_t Size() const { return FSize; }
    // False, leaving the position, when the new position lies outside 0 ... Size.
    bool Seek(std::int32_t position)
    {
        if (position < 0 || position > FSize) {
            return false;
        }
        FPosition = position;
        return true;
    }
    // False, leaving the position, when count bytes do not fit.
    bool Skip(std::int32_t count)
    {
        if (!Fits(count)) {
            return false;
        }
        FPosition += count;
        return true;
    }

    // The next count bytes, the position moving past them; nullptr, the
    // position going to the end, when they do not fit. One check serves a
    // whole record, so the decoders' record loops read through this.
    const std::uint8_t* Take(std::int32_t count)
    {
        if (!Fits(count)) {
            FPosition = FSize;
            return nullptr;
        }
        const std::uint8_t* at = FMemory + FPosition;
        FPosition += count;
        return at;
    }

    // Calls visit (bytes) with each whole record of size bytes from the
    // position on, until visit answers False or no whole record is left; the
    // position then stands after the last record visited. The record loops
    // of the busiest decoders run through this: one bound for the page, not
    // one test per record.
    template <class TVisit>
    void ForEachRecord(std::int32_t size, TVisit visit)
    {
        if (size <= 0 || !Fits(size)) {
            return;
        }
        const std::uint8_t* at = FMemory + FPosition;
        const std::uint8_t* const end = at + (FSize - FPosition) / size * size;
        while (at != end) {
            const std::uint8_t* record = at;
            at += size;
            if (!visit(record)) {
                break;
            }
        }
        FPosition = static_cast<std::int32_t>(at - FMemory);
    }

    std::uint8_t Byte()
    {
        if (!Fits(1)) {
            FPosition = FSize;
            return 0;
        }
        return FMemory[FPosition++];
    }
    // Little endian.
    std::uint16_t Word()
    {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | Byte() << 8);
    }
    std::int16_t SmallInt() { return static_cast<std::int16_t>(Word()); }
    std::uint32_t LongWord()
    {
        const std::uint32_t low = Word();
        return low | static_cast<std::uint32_t>(Word()) << 16;
    }

private:
    const std::uint8_t* FMemory;   // first byte of the view
    std::int32_t FSize;            // bytes in the view
    std::int32_t& FPosition;       // the decoder's read position
};

} // namespace qel

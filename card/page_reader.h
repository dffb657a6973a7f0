// Bounds-checked reading of a page view for the page decoders: a decoder asks
// whether a whole record fits before it reads it, and a record that does not fit ends the page.
#pragma once

#include <cstdint>

namespace qel {

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

// Level-5 MAT-file elements on a stream: the 128-byte file header, tags and
// small elements padded to 8 bytes, and double, char and cell variables.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {
class TStream;
}

namespace qel {

// Data types and array classes of the format. Every number is little endian.
constexpr std::uint32_t miINT8 = 1;
constexpr std::uint32_t miUINT16 = 4;
constexpr std::uint32_t miINT32 = 5;
constexpr std::uint32_t miUINT32 = 6;
constexpr std::uint32_t miDOUBLE = 9;
constexpr std::uint32_t miMATRIX = 14;

constexpr std::uint32_t mxCELL_CLASS = 1;
constexpr std::uint32_t mxCHAR_CLASS = 4;
constexpr std::uint32_t mxDOUBLE_CLASS = 6;

// File header: the descriptive text filled with spaces to 124 bytes, then
// version 0x0100 and the endian mark "IM" as one UInt32.
constexpr std::size_t MTL_HEADER_TEXT_SIZE = 124;
constexpr std::uint32_t MTL_VERSION_AND_ENDIAN = 0x4D490100;

// A tag completed while no tag is open.
class EMtlHeaderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Dimensions of a variable; the writer always writes two.
using TMtlDims = std::array<std::int32_t, 2>;

// [1, n] for a row, [n, 1] otherwise.
TMtlDims MtlVectorDims(bool isRow, std::int32_t n);
// [rows, columns].
TMtlDims MtlMatrixDims(std::int32_t columns, std::int32_t rows);

// Writes elements at the stream's position. Sizes that are known only at the
// end (a variable with its columns streamed) are written as 0 by PrimeMtlTag
// and patched by CompleteMtlTag; primed tags nest.
class TMtlWriter {
public:
    explicit TMtlWriter(plat::TStream& Stream) : FStream(Stream) {}

    // The header: "MATLAB 5.0 MAT-file, Platform: PCWIN, Created on: " time,
    // " ", date (now by the wall clock, in the program's format settings),
    // " by " the program file name; Windows-1252, filled with spaces to
    // MTL_HEADER_TEXT_SIZE bytes (a longer text, from a long program name,
    // is cut there).
    void WriteMtlHeader();

    void WriteMtlTag(std::uint32_t type, std::uint32_t size);
    // Type + count * 65536 in one UInt32, then the count (at most 4) data
    // bytes and zeros up to 4.
    void WriteMtlSmallElement(std::uint32_t type, std::uint32_t count, const void* data);
    void WriteMtlArrayFlags(std::uint32_t mxClass);
    // 8 - count mod 8 zero bytes, unless count is a multiple of 8.
    void WriteMtlAlign8(std::uint64_t count);
    void WriteMtlDimensions(const TMtlDims& dims);
    // 8-bit characters; a name of at most 4 bytes as a small element.
    void WriteMtlName(const std::string& name);
    void WriteMtlDoubles(const double* values, std::size_t count);
    // The text's Windows-1252 characters, each as the UInt16 of its code
    // point; data of at most 4 bytes as a small element.
    void WriteMtlChars(const std::string& text);

    // Writes the tag with size 0 and remembers it as the innermost open tag.
    void PrimeMtlTag(std::uint32_t type);
    // Patches the innermost open tag's size to the bytes written after it
    // and closes it; the stream stays at its end. Raises EMtlHeaderError
    // when no tag is open.
    void CompleteMtlTag();

    void WriteMtlDoubleVar(const std::string& name, double x);
    // A double vector: [1, count] when isRow, else [count, 1].
    void WriteMtlDoubleArray(bool isRow, const std::string& name, const std::vector<double>& values);
    void WriteMtlStringVar(const std::string& name, const std::string& text);
    // A cell [count, 1] of char variables [1, length] with empty names.
    void WriteMtlStringCell(const std::string& name, const std::vector<std::string>& texts);

private:
    struct TOpenTag {
        std::int64_t Position;   // of the tag in the stream
        std::uint32_t Type;
    };

    // The characters of a text as WriteMtlChars writes them.
    static std::u16string MtlChars(const std::string& text);
    void WriteChars(const std::u16string& chars);
    void WriteUInt32(std::uint32_t value);
    // Array flags, dimensions and name of a variable whose tag is open.
    void BeginVariable(std::uint32_t mxClass, const TMtlDims& dims, const std::string& name);

    plat::TStream& FStream;
    std::vector<TOpenTag> FOpenTags;   // innermost last
};

} // namespace qel

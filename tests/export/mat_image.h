// Test-side builder of level-5 MAT-file bytes from the element rules, to
// compare the MATLAB saver's files with byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qeltest::mat {

std::string U32(std::uint32_t value);
std::string I32(std::int32_t value);
std::string F64(double value);
std::string F64Bits(std::uint64_t bits);
// UTF-16 code units, little endian.
std::string Utf16(const std::u16string& text);

// Tag (type, byte count), the data, zeros up to a multiple of 8.
std::string Tagged(std::uint32_t type, const std::string& data);
// Data of at most 4 bytes as a small element (type | count << 16, data,
// zeros up to 4); longer data as Tagged.
std::string Packed(std::uint32_t type, const std::string& data);

// A matrix element: array flags of the class, dimensions [d0, d1], the name
// (Packed), then the class data (already encoded).
std::string Variable(std::uint32_t mxClass, std::int32_t d0, std::int32_t d1, const std::string& name,
                     const std::string& classData);
std::string CharVar(const std::string& name, const std::u16string& text);
std::string CellVar(const std::string& name, const std::vector<std::u16string>& texts);
std::string DoubleVar(const std::string& name, double x);
// A double matrix [rows, columns]; the values column by column, encoded.
std::string DoubleMatrix(const std::string& name, std::int32_t rows, std::int32_t columns, const std::string& values);

// The 128-byte header: the text, spaces up to 124 bytes, 00 01 'I' 'M'.
std::string Header(const std::string& text);

// A whole part of the MATLAB saver.
struct SaverChannel {
    std::uint32_t sn;
    std::u16string name;
    std::u16string unit;
};
struct SaverPart {
    std::string headerText;
    std::u16string creator;
    std::u16string startTime;          // InfoStartTime
    double startDays;                  // InfoStartTime_2000_01_01
    std::vector<SaverChannel> channels;
    std::int32_t columns;
    std::string values;                // encoded doubles, column by column
};
std::string SaverFile(const SaverPart& part);

} // namespace qeltest::mat

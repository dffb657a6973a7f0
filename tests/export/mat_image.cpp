// Test-side MAT-file bytes, built from the format's element rules.
#include "tests/export/mat_image.h"

#include <bit>
#include <cstring>

namespace qeltest::mat {

namespace {

constexpr std::uint32_t INT8 = 1, UINT16 = 4, INT32 = 5, UINT32 = 6, DOUBLE = 9, MATRIX = 14;
constexpr std::uint32_t CELL_CLASS = 1, CHAR_CLASS = 4, DOUBLE_CLASS = 6;

template <class T>
std::string LittleEndian(T value)
{
    std::string bytes(sizeof value, '\0');
    auto bits = std::bit_cast<std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>(value);
    for (std::size_t i = 0; i < sizeof value; ++i) {
        bytes[i] = static_cast<char>(bits >> (8 * i) & 0xFF);
    }
    return bytes;
}

std::u16string Decimal(std::uint32_t value)
{
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

} // namespace

std::string U32(std::uint32_t value) { return LittleEndian(value); }
std::string I32(std::int32_t value) { return LittleEndian(value); }
std::string F64(double value) { return LittleEndian(value); }
std::string F64Bits(std::uint64_t bits) { return LittleEndian(bits); }

std::string Utf16(const std::u16string& text)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string Tagged(std::uint32_t type, const std::string& data)
{
    std::string element = U32(type) + U32(static_cast<std::uint32_t>(data.size())) + data;
    element.append((8 - data.size() % 8) % 8, '\0');
    return element;
}

std::string Packed(std::uint32_t type, const std::string& data)
{
    if (data.size() > 4) {
        return Tagged(type, data);
    }
    std::string element = U32(type | static_cast<std::uint32_t>(data.size()) << 16) + data;
    element.append(4 - data.size(), '\0');
    return element;
}

std::string Variable(std::uint32_t mxClass, std::int32_t d0, std::int32_t d1, const std::string& name,
                     const std::string& classData)
{
    return Tagged(MATRIX, Tagged(UINT32, U32(mxClass) + U32(0)) + Tagged(INT32, I32(d0) + I32(d1)) +
                              Packed(INT8, name) + classData);
}

std::string CharVar(const std::string& name, const std::u16string& text)
{
    return Variable(CHAR_CLASS, 1, static_cast<std::int32_t>(text.size()), name, Packed(UINT16, Utf16(text)));
}

std::string CellVar(const std::string& name, const std::vector<std::u16string>& texts)
{
    std::string cells;
    for (const std::u16string& text : texts) {
        cells += CharVar("", text);
    }
    return Variable(CELL_CLASS, static_cast<std::int32_t>(texts.size()), 1, name, cells);
}

std::string DoubleVar(const std::string& name, double x)
{
    return Variable(DOUBLE_CLASS, 1, 1, name, Tagged(DOUBLE, F64(x)));
}

std::string DoubleMatrix(const std::string& name, std::int32_t rows, std::int32_t columns, const std::string& values)
{
    return Variable(DOUBLE_CLASS, rows, columns, name, Tagged(DOUBLE, values));
}

std::string Header(const std::string& text)
{
    std::string header = text;
    header.resize(124, ' ');
    return header + std::string("\x00\x01IM", 4);
}

std::string SaverFile(const SaverPart& part)
{
    std::vector<std::u16string> modules;
    std::vector<std::u16string> serials{u""};
    std::vector<std::u16string> names{u"time"};
    std::vector<std::u16string> units{u"s"};
    for (const SaverChannel& channel : part.channels) {
        modules.push_back(Decimal(channel.sn));
        serials.push_back(Decimal(channel.sn));
        names.push_back(channel.name);
        units.push_back(channel.unit);
    }
    return Header(part.headerText) + CharVar("InfoCreator", part.creator) +
           CharVar("InfoStartTime", part.startTime) + DoubleVar("InfoStartTime_2000_01_01", part.startDays) +
           CellVar("InfoModuls", modules) + CellVar("InfoSN", serials) + CellVar("InfoChannelNames", names) +
           CellVar("InfoChannelUnits", units) +
           DoubleMatrix("QEL", static_cast<std::int32_t>(part.channels.size()) + 1, part.columns, part.values);
}

} // namespace qeltest::mat

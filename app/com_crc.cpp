// The checksums of the loggers' serial frames.
#include "app/com_crc.h"

#include <array>

namespace qel {

namespace {

constexpr std::uint16_t CRC16_POLYNOMIAL = 0xA001;   // 0x8005 reflected
constexpr std::uint8_t CRC8_POLYNOMIAL = 0x8C;       // 0x31 reflected

// Entry i is the register after eight reflected steps from i.
constexpr std::array<std::uint8_t, 256> MakeCrc8Table()
{
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        auto reg = static_cast<std::uint8_t>(i);
        for (int bit = 0; bit < 8; ++bit) {
            reg = static_cast<std::uint8_t>((reg & 1) != 0 ? (reg >> 1) ^ CRC8_POLYNOMIAL : reg >> 1);
        }
        table[static_cast<std::size_t>(i)] = reg;
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> CRC8_TABLE = MakeCrc8Table();

} // namespace

std::uint16_t CalcCRC16(const std::uint8_t* Data, std::uint16_t Length)
{
    std::uint16_t reg = 0xFFFF;
    for (std::uint16_t i = 0; i < Length; ++i) {
        reg ^= Data[i];
        for (int bit = 0; bit < 8; ++bit) {
            reg = static_cast<std::uint16_t>((reg & 1) != 0 ? (reg >> 1) ^ CRC16_POLYNOMIAL : reg >> 1);
        }
    }
    return reg;
}

std::uint8_t CalcCRC8(const std::uint8_t* Data, std::uint16_t Length)
{
    std::uint8_t reg = 0;
    for (std::uint16_t i = 0; i < Length; ++i) {
        reg = CRC8_TABLE[reg ^ Data[i]];
    }
    return reg;
}

} // namespace qel

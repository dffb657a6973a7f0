// The two checksums of the loggers' serial frames: the CRC-16 of the
// 115200 Bd protocol and the table-driven CRC-8 of the 9600 Bd protocol.
#pragma once

#include <cstdint>

namespace qel {

// CRC-16/MODBUS: register 0xFFFF, reflected polynomial 0xA001, no final
// exclusive-or; 0xFFFF for Length 0. Frames carry it high byte first.
std::uint16_t CalcCRC16(const std::uint8_t* Data, std::uint16_t Length);

// CRC-8/MAXIM (1-Wire): register 0, reflected polynomial 0x8C, no final
// exclusive-or; 0 for Length 0. A block followed by its own CRC-8 gives 0.
std::uint8_t CalcCRC8(const std::uint8_t* Data, std::uint16_t Length);

} // namespace qel

// Record signatures and field values of the zip format that the archive's
// writer and reader share.
#pragma once

#include <cstdint>

namespace plat::zipformat {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t kZip64EndSignature = 0x06064B50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint16_t kZip64ExtraId = 0x0001;
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflate = 8;
constexpr std::uint32_t kMax32 = 0xFFFFFFFFu;   // a 32-bit field whose value stands in a Zip64 field
constexpr std::uint16_t kMax16 = 0xFFFF;

} // namespace plat::zipformat

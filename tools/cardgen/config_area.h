// Logger configuration copies for generated clusters (cluster bytes 78 on):
// the layouts of the QEL629, QEL649 and QEL629c families, field by field.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qel::cardgen {

// A user-scaled analog input: name and unit of 4 characters, offset and gain
// stored as 3-byte singles (the low 8 bits of the single are dropped).
struct TUserInputDescription {
    std::string Name;
    std::string Unit;
    float Offset = 0.0f;
    float Gain = 0.0f;
};

// Fields the QEL629 and QEL649 layouts share (bytes 78 to 189).
struct TFixedConfigDescription {
    std::uint16_t Mask1 = 0xFFFF;          // a channel is on when its bit is set in both masks
    std::uint16_t Mask2 = 0;
    std::array<TUserInputDescription, 4> UserInputs;
    std::array<float, 6> Acc2G{};          // X offset, X gain, Y offset, Y gain, Z offset, Z gain
    std::string Name;                      // 6 characters
    std::array<std::uint8_t, 3> CalDate{}; // year - 2000, month - 1, day - 1
    std::uint8_t CalFlags = 0;             // bit 0 humidity, bit 1 temperature, bit 2 humidity sensor's temperature
    std::string CalInfo;                   // 2 characters
    std::array<std::int16_t, 4> Humidity{};     // set low, actual low, set high, actual high
    std::array<std::int16_t, 4> Temperature{};
};

struct TQel629ConfigDescription : TFixedConfigDescription {
    std::uint16_t Features = 0;            // bits 0 to 11
    std::uint8_t AccOptions = 0;           // bit 0 high-g range, bit 1 fast or peak
    std::array<float, 6> Acc10G{};
    std::uint8_t PSensorFlags = 0;         // bit 0 valid
    std::uint8_t PSensorInt = 0;
    std::uint8_t PSensorExt = 0;
};

struct TQel649ConfigDescription : TFixedConfigDescription {
    std::uint8_t Features = 0;             // byte 82
    std::uint8_t Features2 = 0;            // byte 83
    std::uint8_t PSensorFlags = 0;         // bytes 190 to 192
    std::uint8_t PSensorInt = 0;
    std::uint8_t PSensorExt = 0;
};

struct TQel629cChannelDescription {
    std::uint16_t ChannelId = 0;
    float Gain = 1.0f;                     // IEEE single, little endian
    float Offset = 0.0f;
    std::string Name;                      // 6 characters, only with texts
    std::string Unit;                      // 6 characters, only with texts
};

struct TQel629cConfigDescription {
    std::string Name;                      // 12 characters
    bool WithTexts = false;                // entries of 22 bytes with name and unit, else 10
    std::vector<TQel629cChannelDescription> Channels;
    int CountOverride = -1;                // the count byte, when not the number of channels
};

// The bytes from cluster byte 78 on. The fixed layouts are 396 bytes; the
// QEL629c entries may run past the configuration area, as the logger writes them.
std::vector<std::uint8_t> BuildQel629Config(const TQel629ConfigDescription& desc);
std::vector<std::uint8_t> BuildQel649Config(const TQel649ConfigDescription& desc);
std::vector<std::uint8_t> BuildQel629cConfig(const TQel629cConfigDescription& desc);

} // namespace qel::cardgen

// Logger configuration copies for generated clusters.
#include "tools/cardgen/config_area.h"

#include "tools/cardgen/cluster_writer.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace qel::cardgen {

namespace {

// Writes at cluster offsets; the area starts at cluster byte 78.
class TConfigWriter {
public:
    explicit TConfigWriter(std::size_t size) : FBytes(size, 0) {}
    void Byte(std::size_t at, std::uint8_t value) { FBytes.at(at - kConfigOffset) = value; }
    void Word(std::size_t at, std::uint16_t value)
    {
        Byte(at, static_cast<std::uint8_t>(value));
        Byte(at + 1, static_cast<std::uint8_t>(value >> 8));
    }
    void Single4(std::size_t at, float value)
    {
        const auto bits = std::bit_cast<std::uint32_t>(value);
        Word(at, static_cast<std::uint16_t>(bits));
        Word(at + 2, static_cast<std::uint16_t>(bits >> 16));
    }
    // Bits 8 to 31 of the single, low byte first.
    void Single3(std::size_t at, float value)
    {
        const auto bits = std::bit_cast<std::uint32_t>(value);
        Byte(at, static_cast<std::uint8_t>(bits >> 8));
        Byte(at + 1, static_cast<std::uint8_t>(bits >> 16));
        Byte(at + 2, static_cast<std::uint8_t>(bits >> 24));
    }
    // Exactly `length` characters, padded with blanks.
    void Text(std::size_t at, const std::string& text, std::size_t length)
    {
        if (text.size() > length) {
            throw std::invalid_argument("configuration text longer than its field: " + text);
        }
        for (std::size_t i = 0; i < length; ++i) {
            Byte(at + i, static_cast<std::uint8_t>(i < text.size() ? text[i] : ' '));
        }
    }
    std::vector<std::uint8_t> Take() { return std::move(FBytes); }

private:
    std::vector<std::uint8_t> FBytes;
};

void WriteShared(TConfigWriter& out, const TFixedConfigDescription& desc)
{
    out.Word(78, desc.Mask1);
    out.Word(80, desc.Mask2);
    const std::size_t inputAt[4] = {84, 99, 114, 129};
    for (std::size_t i = 0; i < 4; ++i) {
        const TUserInputDescription& input = desc.UserInputs[i];
        out.Text(inputAt[i], input.Name, 4);
        out.Text(inputAt[i] + 4, input.Unit, 4);
        out.Single3(inputAt[i] + 8, input.Offset);
        out.Single3(inputAt[i] + 11, input.Gain);
    }
    for (std::size_t i = 0; i < 6; ++i) {
        out.Single3(144 + 3 * i, desc.Acc2G[i]);
    }
    out.Text(162, desc.Name, 6);
    for (std::size_t i = 0; i < 3; ++i) {
        out.Byte(168 + i, desc.CalDate[i]);
    }
    out.Byte(171, desc.CalFlags);
    out.Text(172, desc.CalInfo, 2);
    for (std::size_t i = 0; i < 4; ++i) {
        out.Word(174 + 2 * i, static_cast<std::uint16_t>(desc.Humidity[i]));
        out.Word(182 + 2 * i, static_cast<std::uint16_t>(desc.Temperature[i]));
    }
}

} // namespace

std::vector<std::uint8_t> BuildQel629Config(const TQel629ConfigDescription& desc)
{
    TConfigWriter out(kConfigSize);
    WriteShared(out, desc);
    out.Word(82, desc.Features);
    out.Byte(190, desc.AccOptions);
    for (std::size_t i = 0; i < 6; ++i) {
        out.Single3(192 + 3 * i, desc.Acc10G[i]);
    }
    out.Byte(210, desc.PSensorFlags);
    out.Byte(211, desc.PSensorInt);
    out.Byte(212, desc.PSensorExt);
    return out.Take();
}

std::vector<std::uint8_t> BuildQel649Config(const TQel649ConfigDescription& desc)
{
    TConfigWriter out(kConfigSize);
    WriteShared(out, desc);
    out.Byte(82, desc.Features);
    out.Byte(83, desc.Features2);
    out.Byte(190, desc.PSensorFlags);
    out.Byte(191, desc.PSensorInt);
    out.Byte(192, desc.PSensorExt);
    return out.Take();
}

std::vector<std::uint8_t> BuildQel629cConfig(const TQel629cConfigDescription& desc)
{
    const std::size_t entrySize = desc.WithTexts ? 22 : 10;
    TConfigWriter out(std::max(kConfigSize, 14 + desc.Channels.size() * entrySize));
    out.Text(78, desc.Name, 12);
    out.Byte(90, desc.WithTexts ? 1 : 0);
    out.Byte(91, static_cast<std::uint8_t>(desc.CountOverride >= 0 ? desc.CountOverride : static_cast<int>(desc.Channels.size())));
    std::size_t at = 92;
    for (const TQel629cChannelDescription& channel : desc.Channels) {
        out.Word(at, channel.ChannelId);
        out.Single4(at + 2, channel.Gain);
        out.Single4(at + 6, channel.Offset);
        if (desc.WithTexts) {
            out.Text(at + 10, channel.Name, 6);
            out.Text(at + 16, channel.Unit, 6);
        }
        at += entrySize;
    }
    return out.Take();
}

} // namespace qel::cardgen

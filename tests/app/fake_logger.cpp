// The probe tests' fake logger.
#include "tests/app/fake_logger.h"

#include "app/com_crc.h"

#include <sstream>

namespace qeltest {

namespace {

std::uint8_t Hi(std::uint16_t word)
{
    return static_cast<std::uint8_t>(word >> 8);
}

std::uint8_t Lo(std::uint16_t word)
{
    return static_cast<std::uint8_t>(word);
}

std::uint8_t SerialByte(std::uint32_t serial, int index)
{
    return static_cast<std::uint8_t>(serial >> (8 * index));
}

// Where the blocks of area 5 lie in the name memory, by request position.
int Area5Offset(std::uint8_t position)
{
    switch (position) {
    case 0: return 0;
    case 1: return 6;
    case 10: return 12;
    case 11: return 18;
    case 12: return 24;
    default: return -1;
    }
}

constexpr std::uint8_t BABBLE_BYTE = 0xAA;   // bit 7 set: never a 115200 Bd answer; its CRC-8 is not 0

} // namespace

TBytes Hex(const std::string& text)
{
    TBytes bytes;
    std::istringstream in(text);
    unsigned value = 0;
    while (in >> std::hex >> value) {
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return bytes;
}

TBytes Crc8Frame(const std::array<std::uint8_t, 7>& bytes)
{
    TBytes frame(bytes.begin(), bytes.end());
    frame.push_back(qel::CalcCRC8(frame.data(), 7));
    return frame;
}

TBytes Crc16Frame(const std::array<std::uint8_t, 6>& bytes)
{
    TBytes frame(bytes.begin(), bytes.end());
    const std::uint16_t crc = qel::CalcCRC16(frame.data(), 6);
    frame.push_back(Hi(crc));
    frame.push_back(Lo(crc));
    return frame;
}

TBytes Babble(std::size_t count)
{
    return TBytes(count, BABBLE_BYTE);
}

TBytes TFakeLogger::Answer(const TBytes& frame)
{
    if (FProfile.Behaviour == TBehaviour::Silent || FProfile.Behaviour == TBehaviour::Babbling ||
        frame.size() != 8 || (frame[0] & 0x80) == 0) {
        return {};
    }
    const auto command = static_cast<std::uint8_t>(frame[0] & 0x3F);
    if (FProfile.Protocol == TProtocol::Crc8) {
        return qel::CalcCRC8(frame.data(), 8) == 0 ? AnswerCrc8(command, frame) : TBytes{};
    }
    const bool crcRight = qel::CalcCRC16(frame.data(), 6) == (frame[6] << 8 | frame[7]);
    return crcRight ? AnswerCrc16(command, frame) : TBytes{};
}

std::uint8_t TFakeLogger::NameByte(std::size_t index) const
{
    return index < FProfile.Name.size() ? static_cast<std::uint8_t>(FProfile.Name[index]) : ' ';
}

TBytes TFakeLogger::AnswerCrc8(std::uint8_t command, const TBytes& frame) const
{
    const TLoggerProfile& p = FProfile;
    switch (command) {
    case 0:
        return Crc8Frame({0x00, 0x06, 2, 12, 0, 0, 0});
    case 1:
        if (frame[1] == 1) {
            return Crc8Frame({0x01, 0, Hi(p.ModelCode), Lo(p.ModelCode), Hi(p.VersionPc), Lo(p.VersionPc), 0});
        }
        return Crc8Frame({0x01, SerialByte(p.Serial, 0), SerialByte(p.Serial, 1), SerialByte(p.Serial, 2),
                          SerialByte(p.Serial, 3), Lo(p.AppWord), Hi(p.AppWord)});
    case 3: {
        const int offset = frame[1] == 5 ? Area5Offset(frame[2]) : frame[1] == 13 ? frame[2] : -1;
        std::array<std::uint8_t, 7> bytes{0x03};
        for (std::size_t i = 0; i < 6; ++i) {
            bytes[i + 1] = offset < 0 ? ' ' : NameByte(static_cast<std::size_t>(offset) + i);
        }
        return Crc8Frame(bytes);
    }
    case 6:
        return Crc8Frame({0x06, 0, 0, SerialByte(p.Serial, 0), SerialByte(p.Serial, 1), SerialByte(p.Serial, 2),
                          SerialByte(p.Serial, 3)});
    default:
        return {};
    }
}

TBytes TFakeLogger::AnswerCrc16(std::uint8_t command, const TBytes& frame)
{
    const TLoggerProfile& p = FProfile;
    switch (command) {
    case 0:
        return Crc16Frame({0x00, 2, 12, 0, 0, 0});
    case 1:
        return Crc16Frame({0x01, 0, Hi(p.ModelCode), Lo(p.ModelCode), 0, 0});
    case 0x27: {
        if (p.Behaviour == TBehaviour::Refusing) {
            return Crc16Frame({0x40 | 0x27, 0, 0, 0, 0, 0});
        }
        const std::uint8_t address = frame[2];
        if (address == 5) {
            FPollData = {SerialByte(p.Serial, 2), SerialByte(p.Serial, 1), SerialByte(p.Serial, 0), 0};
        } else {
            for (std::size_t i = 0; i < 4; ++i) {
                FPollData[i] = address >= 0x50 ? NameByte(address - 0x50u + i) : ' ';
            }
        }
        return Crc16Frame({0x27, 0, 0, 0, 0, 0});
    }
    case 10:
        return Crc16Frame({0x0A, 0, FPollData[0], FPollData[1], FPollData[2], FPollData[3]});
    default:
        return {};
    }
}

} // namespace qeltest

// A logger as the probe tests imagine it: it answers the requests of one of
// the two serial protocols from a profile (model code, PC version word,
// serial number, name), or stays silent, refuses its reads, or babbles.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qeltest {

using TBytes = std::vector<std::uint8_t>;

enum class TProtocol { Crc8, Crc16 };

enum class TBehaviour {
    Answering,
    Silent,     // answers nothing
    Refusing,   // 115200 Bd: refuses every read command
    Babbling,   // sends an endless stream of bytes that never form a valid answer
};

struct TLoggerProfile {
    TProtocol Protocol = TProtocol::Crc8;
    TBehaviour Behaviour = TBehaviour::Answering;
    std::uint16_t ModelCode = 0x6602;
    std::uint16_t VersionPc = 0x0100;
    std::uint32_t Serial = 0;
    std::uint16_t AppWord = 0;
    // The name memory: 9600 Bd area 5 holds its blocks 0, 1, 10, 11, 12 at
    // 0, 6, 12, 18, 24, area 13 is addressed by byte, 115200 Bd addresses
    // 0x50 on. Bytes beyond it read as blanks.
    std::string Name;
};

// Bytes written as hexadecimal pairs separated by blanks: "80 06 01".
TBytes Hex(const std::string& text);

// An answer frame: the bytes and their CRC-8 (9600 Bd) or CRC-16, high byte first.
TBytes Crc8Frame(const std::array<std::uint8_t, 7>& bytes);
TBytes Crc16Frame(const std::array<std::uint8_t, 6>& bytes);

// count bytes of the babble; no eight of them in a row pass either protocol's checks.
TBytes Babble(std::size_t count);

class TFakeLogger {
public:
    explicit TFakeLogger(TLoggerProfile profile) : FProfile(std::move(profile)) {}

    const TLoggerProfile& Profile() const { return FProfile; }
    // The answer to one written frame; empty for none (resync frames, frames
    // of the other protocol, unknown commands, a silent or babbling logger).
    TBytes Answer(const TBytes& frame);

private:
    TBytes AnswerCrc8(std::uint8_t command, const TBytes& frame) const;
    TBytes AnswerCrc16(std::uint8_t command, const TBytes& frame);
    std::uint8_t NameByte(std::size_t index) const;

    TLoggerProfile FProfile;
    std::array<std::uint8_t, 4> FPollData{};   // 115200 Bd: what the next status poll carries
};

} // namespace qeltest

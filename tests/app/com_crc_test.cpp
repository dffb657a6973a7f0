// The checksums of the serial frames: check values, the initial value for no
// data, the CRC-8 zero rule, and the CRC bytes of the probes' fixed requests.
#include "app/com_crc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Text(const std::string& text)
{
    return TBytes(text.begin(), text.end());
}

std::uint16_t Crc16(const TBytes& bytes)
{
    return qel::CalcCRC16(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
}

std::uint8_t Crc8(const TBytes& bytes)
{
    return qel::CalcCRC8(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
}

TEST(ComCrc, ValuesOfKnownBlocks)
{
    struct TCase {
        const char* Name;
        TBytes Data;
        int Crc16;   // -1: not checked
        int Crc8;
    };
    const TCase cases[] = {
        {"check string", Text("123456789"), 0x4B37, 0xA1},
        {"no data", {}, 0xFFFF, 0x00},
        {"one zero byte", {0x00}, 0x40BF, 0x00},
        {"handshake 9600", {0x80, 0x06, 0x01, 0x0B, 0x15, 0x1F, 0x29}, -1, 0x48},
        {"identity 9600", {0x81, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01}, -1, 0xC3},
        {"serial 9600 (0x6400 kind)", {0x86, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00}, -1, 0x21},
        {"serial 9600", {0x81, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00}, -1, 0xF3},
        {"name 5/0", {0x83, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00}, -1, 0x3B},
        {"name 5/1", {0x83, 0x05, 0x01, 0x00, 0x00, 0x00, 0x00}, -1, 0xF6},
        {"name 13/0", {0x83, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00}, -1, 0x9A},
        {"name 13/6", {0x83, 0x0D, 0x06, 0x00, 0x00, 0x00, 0x00}, -1, 0x06},
        {"handshake 115200", {0x80, 0x01, 0x0B, 0x15, 0x1F, 0x29}, 0x15F8, -1},
        {"identity 115200", {0x81, 0x00, 0x00, 0x00, 0x00, 0x01}, 0xCADF, -1},
        {"status poll", {0x8A, 0x00, 0x00, 0x00, 0x00, 0x00}, 0x711F, -1},
        {"serial 115200", {0xA7, 0x00, 0x05, 0x00, 0x00, 0x00}, 0xC019, -1},
        {"name 0x50", {0xA7, 0x00, 0x50, 0x00, 0x00, 0x00}, 0x0C08, -1},
        {"name 0x54", {0xA7, 0x00, 0x54, 0x00, 0x00, 0x00}, 0x3C09, -1},
        {"name 0x58", {0xA7, 0x00, 0x58, 0x00, 0x00, 0x00}, 0x6C0A, -1},
        {"name 0x5C", {0xA7, 0x00, 0x5C, 0x00, 0x00, 0x00}, 0x5C0B, -1},
    };
    for (const TCase& c : cases) {
        if (c.Crc16 >= 0) {
            EXPECT_EQ(Crc16(c.Data), c.Crc16) << c.Name;
        }
        if (c.Crc8 >= 0) {
            EXPECT_EQ(Crc8(c.Data), c.Crc8) << c.Name;
        }
    }
}

TEST(ComCrc, ABlockFollowedByItsCrc8GivesZero)
{
    for (const TBytes& block : {Text("123456789"), TBytes{0xFF}, TBytes{0x80, 0x06, 0x01, 0x0B, 0x15, 0x1F, 0x29},
                                TBytes(300, 0xA5), Text("logger")}) {
        TBytes framed = block;
        framed.push_back(Crc8(block));
        EXPECT_EQ(Crc8(framed), 0) << block.size();
    }
}

TEST(ComCrc, OnlyTheGivenLengthCounts)
{
    const TBytes data = Text("123456789xyz");
    EXPECT_EQ(qel::CalcCRC16(data.data(), 9), 0x4B37);
    EXPECT_EQ(qel::CalcCRC8(data.data(), 9), 0xA1);
    EXPECT_EQ(qel::CalcCRC16(data.data(), 0), 0xFFFF);
    EXPECT_EQ(qel::CalcCRC8(data.data(), 0), 0);
}

} // namespace

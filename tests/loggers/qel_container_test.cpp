// Tests of the device-data container: capacity, typed access and the frames
// to and from a logger.
#include "loggers/qel_container.h"

#include <gtest/gtest.h>

#include <vector>

namespace qel {
namespace {

TEST(QelContainer, DefaultCapacityAndByteLimit)
{
    TQelContainer container;
    container.Init(0);
    EXPECT_EQ(container.FMax, 500);
    for (int i = 0; i < 499; ++i) {
        ASSERT_TRUE(container.addByte(static_cast<std::uint8_t>(i))) << i;
    }
    EXPECT_FALSE(container.addByte(1));
    EXPECT_EQ(container.Size(), 499);
    container.Init(-3);
    EXPECT_EQ(container.FMax, 500);
    container.Init(20);
    EXPECT_EQ(container.FMax, 20);
}

TEST(QelContainer, WritesStopBeforeTheCapacity)
{
    TQelContainer container;
    container.Init(10);
    EXPECT_TRUE(container.addSingle(1.0f));  // position 0: 4 < 10
    EXPECT_TRUE(container.addSingle(2.0f));  // position 4: 8 < 10
    EXPECT_FALSE(container.addSingle(3.0f)); // position 8: 12 >= 10
    EXPECT_FALSE(container.addString("a"));  // 8 + 1 + 1 >= 10
    EXPECT_TRUE(container.addByte(7));       // 9 < 10
    EXPECT_EQ(container.Size(), 9);
}

TEST(QelContainer, StringsUpTo255Bytes)
{
    TQelContainer container;
    container.Init(1000);
    EXPECT_FALSE(container.addString(std::string(256, 'x')));
    EXPECT_EQ(container.Size(), 0);
    EXPECT_TRUE(container.addString(std::string(255, 'x')));
    EXPECT_FALSE(container.addString("äöü" + std::string(250, 'y'))); // 256 bytes of UTF-8
}

TEST(QelContainer, TypedValuesReadBack)
{
    TQelContainer container;
    container.Init(0);
    ASSERT_TRUE(container.addByte(0x42));
    ASSERT_TRUE(container.addSingle(-2.5f));
    ASSERT_TRUE(container.addString("abc "));
    ASSERT_TRUE(container.addString("Grüße\t\r\n"));
    ASSERT_TRUE(container.addString(""));
    container.resetPosition();
    std::uint8_t b = 0;
    float f = 0.0f;
    std::string s;
    EXPECT_TRUE(container.getByte(b));
    EXPECT_EQ(b, 0x42);
    EXPECT_TRUE(container.getSingle(f));
    EXPECT_EQ(f, -2.5f);
    EXPECT_TRUE(container.getString(s));
    EXPECT_EQ(s, "abc");
    EXPECT_TRUE(container.getString(s));
    EXPECT_EQ(s, "Grüße");
    s = "old";
    EXPECT_TRUE(container.getString(s));
    EXPECT_EQ(s, "");
    EXPECT_FALSE(container.getByte(b));
    EXPECT_EQ(b, 0);
    EXPECT_FALSE(container.getString(s));
}

TEST(QelContainer, SingleIsLittleEndian)
{
    TQelContainer container;
    container.Init(0);
    container.addSingle(1.0f);
    const std::uint8_t* bytes = container.Memory();
    EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + 4), (std::vector<std::uint8_t>{0x00, 0x00, 0x80, 0x3F}));
}

TEST(QelContainer, ShortContentFailsCleanly)
{
    TQelContainer container;
    container.Init(0);
    container.addByte(5);  // a string length of 5 ...
    container.addByte('a'); // ... with one byte behind it
    container.addByte('b');
    container.resetPosition();
    std::string s = "old";
    EXPECT_FALSE(container.getString(s));
    EXPECT_EQ(s, "");
    container.resetPosition();
    float f = 9.0f;
    EXPECT_FALSE(container.getSingle(f));
    EXPECT_EQ(f, 0.0f);
}

TEST(QelContainer, FramesToTheLogger)
{
    TQelContainer container;
    container.Init(1000);
    for (int i = 0; i < 300; ++i) {
        container.addByte(static_cast<std::uint8_t>(i));
    }
    std::uint8_t b[4] = {};
    EXPECT_TRUE(container.ToQEL(0, b[0], b[1], b[2], b[3]));
    EXPECT_EQ(std::vector<std::uint8_t>(b, b + 4), (std::vector<std::uint8_t>{1, 44, 1, 0}));
    EXPECT_TRUE(container.ToQEL(1, b[0], b[1], b[2], b[3]));
    EXPECT_EQ(std::vector<std::uint8_t>(b, b + 4), (std::vector<std::uint8_t>{0, 1, 2, 3}));
    for (std::uint8_t idx = 2; idx <= 75; ++idx) {
        EXPECT_TRUE(container.ToQEL(idx, b[0], b[1], b[2], b[3]));
    }
    EXPECT_EQ(b[3], 43); // byte 299
    EXPECT_FALSE(container.ToQEL(76, b[0], b[1], b[2], b[3]));
    EXPECT_EQ(std::vector<std::uint8_t>(b, b + 4), (std::vector<std::uint8_t>{255, 255, 255, 255}));
}

TEST(QelContainer, LastFrameToTheLoggerPadsWith255)
{
    TQelContainer container;
    container.Init(0);
    for (std::uint8_t v : {10, 11, 12, 13, 14, 15}) {
        container.addByte(v);
    }
    std::uint8_t b[4] = {};
    container.ToQEL(0, b[0], b[1], b[2], b[3]);
    container.ToQEL(1, b[0], b[1], b[2], b[3]);
    EXPECT_TRUE(container.ToQEL(2, b[0], b[1], b[2], b[3]));
    EXPECT_EQ(std::vector<std::uint8_t>(b, b + 4), (std::vector<std::uint8_t>{14, 15, 255, 255}));
}

TEST(QelContainer, FramesFromTheLogger)
{
    TQelContainer container;
    container.Init(0);
    container.addByte(99); // emptied by the header frame
    EXPECT_TRUE(container.FromQEL(0, 1, 3, 0, 0, 'a', 'b'));
    EXPECT_FALSE(container.FromQEL(1, 'c', 'd', 'e', 'f', 'g', 'h'));
    EXPECT_EQ(container.Size(), 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(container.Memory()), 3), "abc");
    EXPECT_EQ(container.FBytesToRead, 0);
}

TEST(QelContainer, FromLoggerRefusesBadHeaderAndOversizedContent)
{
    TQelContainer container;
    container.Init(10);
    EXPECT_FALSE(container.FromQEL(0, 2, 3, 0, 0, 'a', 'b'));
    // 0x0100 bytes exceed the capacity: nothing is expected, nothing taken.
    EXPECT_FALSE(container.FromQEL(0, 1, 0, 1, 0, 'a', 'b'));
    EXPECT_EQ(container.Size(), 0);
    EXPECT_FALSE(container.FromQEL(1, 'c', 'd', 'e', 'f', 'g', 'h'));
    EXPECT_EQ(container.Size(), 0);
}

TEST(QelContainer, FromLoggerTakesSixBytesPerFrame)
{
    TQelContainer container;
    container.Init(0);
    EXPECT_TRUE(container.FromQEL(0, 1, 10, 0, 0, 0, 1));
    EXPECT_TRUE(container.FromQEL(1, 2, 3, 4, 5, 6, 7));
    EXPECT_FALSE(container.FromQEL(2, 8, 9, 10, 11, 12, 13));
    ASSERT_EQ(container.Size(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(container.Memory()[i], i);
    }
}

} // namespace
} // namespace qel

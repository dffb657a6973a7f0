// Tests of the mission data record: the page section read field by field and
// the block payload byte for byte.
#include "loggers/mission_data.h"

#include "loggers/qel25.h"
#include "loggers/qel629.h"
#include "loggers/qel649.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qel {
namespace {

constexpr double Date2000 = 36526.0;

// An 86-byte section; fields left alone are zero.
struct Section {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(86, 0);

    void Text(int offset, const std::vector<std::uint8_t>& text)
    {
        std::copy(text.begin(), text.end(), bytes.begin() + offset);
    }
    void Text(int offset, const std::string& text) { Text(offset, std::vector<std::uint8_t>(text.begin(), text.end())); }
    void Long(int offset, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i) {
            bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
    void Word(int offset, std::uint16_t value)
    {
        bytes[offset] = static_cast<std::uint8_t>(value);
        bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
};

Section FullSection()
{
    Section s;
    s.Text(0, "Drop test");
    s.Text(36, "Mia");
    s.Long(60, 86400 + 3600);  // 2000-01-02 01:00
    s.bytes[64] = 0x11;        // rec_ctrl
    s.bytes[65] = 0x22;        // options
    s.bytes[66] = 2;           // start at a set time
    s.bytes[67] = 1;
    s.Long(68, 2 * 86400);     // 2000-01-03
    s.Long(72, 3 * 86400);
    s.bytes[76] = 100;         // level on
    s.bytes[77] = 8;           // level off
    s.bytes[78] = 3;           // 0.0025 s
    s.bytes[79] = 0xEE;        // not used
    s.bytes[80] = 5;
    s.bytes[81] = 6;
    s.Word(82, 0x0A0B);
    s.Word(84, 600);
    return s;
}

void Setup649(TQEL649& logger, bool g200)
{
    logger.ID_CLASS = 0x6606;
    logger.ID_VER = 0x0224;
    logger.SN = 1234;
    if (g200) {
        logger.INT_CFG.Include(TQEL649::cINT_200G);
    }
}

TEST(MissionData, ReadsEveryFieldOfTheSection)
{
    const Section s = FullSection();
    std::vector<std::uint8_t> page(10, 0xAA);
    page.insert(page.end(), s.bytes.begin(), s.bytes.end());
    page.push_back(0x55);
    TQEL649 logger;
    Setup649(logger, false);
    TMissionData data;
    std::int32_t position = 10;
    ASSERT_TRUE(ReadMissionData(4, 86, page, position, logger, data));
    EXPECT_EQ(position, 96);
    EXPECT_TRUE(data.bValid);
    EXPECT_EQ(data.version, 4);
    EXPECT_EQ(data.sQelType, "QEL649");
    EXPECT_EQ(data.sQelVersion, "2.36");
    EXPECT_EQ(data.sID, "1234");
    EXPECT_EQ(data.sTitle, "Drop test");
    EXPECT_EQ(data.sOperator, "Mia");
    EXPECT_DOUBLE_EQ(data.rec_starttime, Date2000 + 1.0 + 1.0 / 24.0);
    EXPECT_EQ(data.rec_endtime, Date2000);
    EXPECT_EQ(data.rec_ctrl, 0x11);
    EXPECT_EQ(data.options, 0x22);
    EXPECT_EQ(data.rec_startmode, 2);
    EXPECT_EQ(data.rec_stopmode, 1);
    EXPECT_EQ(data.rtc_starttime, Date2000 + 2.0);
    EXPECT_EQ(data.rtc_stoptime, 0.0);
    EXPECT_EQ(data.adxl_level_on, 6.25f);
    EXPECT_EQ(data.adxl_level_off, 0.5f);
    EXPECT_EQ(data.rec_fast_rate, static_cast<double>(0.0025f));
    EXPECT_EQ(data.buffer_pre_cnts, 5);
    EXPECT_EQ(data.buffer_post_cnts, 6);
    EXPECT_EQ(data.rec_std_mask, 0x0A0B);
    EXPECT_EQ(data.tb_meas_rate, 600.0);
}

TEST(MissionData, RefusesWrongLengthOrSectionPastThePage)
{
    const Section s = FullSection();
    TQEL649 logger;
    Setup649(logger, false);
    TMissionData data;
    data.sTitle = "kept";
    std::int32_t position = 0;
    EXPECT_FALSE(ReadMissionData(1, 84, s.bytes, position, logger, data));
    std::vector<std::uint8_t> shortPage(s.bytes.begin(), s.bytes.end() - 1);
    EXPECT_FALSE(ReadMissionData(1, 86, shortPage, position, logger, data));
    position = 1;
    EXPECT_FALSE(ReadMissionData(1, 86, s.bytes, position, logger, data));
    position = -1;
    EXPECT_FALSE(ReadMissionData(1, 86, s.bytes, position, logger, data));
    EXPECT_EQ(position, -1);
    EXPECT_FALSE(data.bValid);
    EXPECT_EQ(data.sTitle, "kept");
    EXPECT_EQ(data.version, 0);
}

TEST(MissionData, TextsEndAtTheFirstControlOr0xFF)
{
    struct Case {
        std::vector<std::uint8_t> title;
        const char* expected;
    };
    const Case cases[] = {
        {std::vector<std::uint8_t>(36, 'A'), "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"},
        {{'a', 'b', 'c', 'd', 0, 'e', 'f'}, "abcd"},
        {{'a', 'b', 0xFF, 'c', 'd'}, "ab"},
        {{'x', 0x1F, 'y'}, "x"},
        {{'T', 0xFC, 'r', 0xE9}, "Tür\xC3\xA9"},
        {{0x7F, 0x80, 0xFE}, "\x7F\xC2\x80\xC3\xBE"},
    };
    TQEL649 logger;
    Setup649(logger, false);
    for (const Case& c : cases) {
        Section s;
        s.Text(0, c.title);
        s.Text(36, std::vector<std::uint8_t>(24, 'o'));
        TMissionData data;
        std::int32_t position = 0;
        ASSERT_TRUE(ReadMissionData(1, 86, s.bytes, position, logger, data));
        EXPECT_EQ(data.sTitle, c.expected);
        EXPECT_EQ(data.sOperator, std::string(24, 'o'));
    }
}

TEST(MissionData, SetTimesOnlyInTheSetTimeModes)
{
    Section s = FullSection();
    s.bytes[66] = 1;
    s.bytes[67] = 2;
    TQEL649 logger;
    Setup649(logger, false);
    TMissionData data;
    std::int32_t position = 0;
    ASSERT_TRUE(ReadMissionData(1, 86, s.bytes, position, logger, data));
    EXPECT_EQ(data.rtc_starttime, 0.0);
    EXPECT_EQ(data.rtc_stoptime, Date2000 + 3.0);
}

TEST(MissionData, LevelScaleFollowsTheLoggersRange)
{
    const Section s = FullSection(); // level on 100 counts
    struct Case {
        const TQEL* logger;
        float expected;
    };
    TQEL649 with200G;
    Setup649(with200G, true);
    TQEL649 without200G;
    Setup649(without200G, false);
    TQEL25 qel25With200G;
    qel25With200G.INT_CFG.Include(TQEL25::cINT_200G);
    TQEL629 otherModel;
    const Case cases[] = {{&with200G, 78.0f}, {&without200G, 6.25f}, {&qel25With200G, 78.0f}, {&otherModel, 6.25f}};
    for (const Case& c : cases) {
        TMissionData data;
        std::int32_t position = 0;
        ASSERT_TRUE(ReadMissionData(1, 86, s.bytes, position, *c.logger, data));
        EXPECT_EQ(data.adxl_level_on, c.expected);
    }
}

TEST(MissionData, BurstRateCodes)
{
    const double rates[9] = {0.0003125f, 0.000625f, 0.00125f, 0.0025f, 0.005f, 0.01f, 0.02f, 0.04f, 1.0};
    TQEL649 logger;
    Setup649(logger, false);
    for (int code = 0; code <= 255; ++code) {
        Section s;
        s.bytes[78] = static_cast<std::uint8_t>(code);
        TMissionData data;
        std::int32_t position = 0;
        ASSERT_TRUE(ReadMissionData(1, 86, s.bytes, position, logger, data));
        EXPECT_EQ(data.rec_fast_rate, rates[code < 8 ? code : 8]) << code;
    }
}

TEST(MissionData, IdentifierCarriesAValidStartTime)
{
    const Section s = FullSection();
    TQEL649 logger;
    Setup649(logger, false);
    TMissionData data;
    data.bValidStartTime = true;
    data.StartTime = 44259.0 + (5 * 3600 + 6 * 60 + 7) / 86400.0; // 2021-03-04 05:06:07
    std::int32_t position = 0;
    ASSERT_TRUE(ReadMissionData(1, 86, s.bytes, position, logger, data));
    EXPECT_EQ(data.sID, "1234-20210304050607");
}

// Independent expectations: little-endian fields in block order.
class TExpected {
public:
    TExpected& W(std::uint16_t v) { return Add({static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)}); }
    TExpected& S(const std::vector<std::uint8_t>& ansi)
    {
        W(static_cast<std::uint16_t>(ansi.size()));
        return Add(ansi);
    }
    TExpected& F(float v) { return Raw(&v, 4); }
    TExpected& D(double v) { return Raw(&v, 8); }
    std::vector<std::uint8_t> bytes;

private:
    TExpected& Add(const std::vector<std::uint8_t>& more)
    {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    TExpected& Raw(const void* p, int n)
    {
        const auto* b = static_cast<const std::uint8_t*>(p);
        return Add(std::vector<std::uint8_t>(b, b + n));
    }
};

TEST(MissionData, BlockPayloadByteForByte)
{
    TMissionData data;
    data.version = 3;
    data.sQelType = "QEL649";
    data.sQelVersion = "2.36";
    data.sID = "7";
    data.sTitle = "Tür €";
    data.sOperator = "";
    data.rec_starttime = 36526.5;
    data.rec_endtime = 36527.25;
    data.rec_ctrl = 1;
    data.options = 0x0203;
    data.rec_startmode = 2;
    data.rec_stopmode = 0xFFFF;
    data.rtc_starttime = 36528.0;
    data.rtc_stoptime = 0.0;
    data.adxl_level_on = 78.0f;
    data.adxl_level_off = -1.5f;
    data.rec_fast_rate = 0.0025f;
    data.buffer_pre_cnts = 9;
    data.buffer_post_cnts = 10;
    data.rec_std_mask = 0xBEEF;
    data.tb_meas_rate = 600.0;
    data.bValid = true;

    TExpected expected;
    expected.W(0).W(3).S({'Q', 'E', 'L', '6', '4', '9'}).S({'2', '.', '3', '6'}).S({'7'});
    expected.S({'T', 0xFC, 'r', ' ', 0x80}).S({});
    expected.D(36526.5).D(36527.25).W(1).W(0x0203).W(2).W(0xFFFF).D(36528.0).D(0.0);
    expected.F(78.0f).F(-1.5f).D(0.0025f).W(9).W(10).W(0xBEEF).D(600.0);

    const std::vector<std::uint8_t> payload = MissionDataBlockPayload(data);
    EXPECT_EQ(payload, expected.bytes);
    EXPECT_EQ(payload.size(), 4u + 8 + 6 + 3 + 7 + 2 + 16 + 8 + 16 + 8 + 8 + 6 + 8);
    EXPECT_EQ(MISSION_DATA_BLOCK, 27);
}

TEST(MissionData, ReadThenWriteKeepsTheSection)
{
    const Section s = FullSection();
    TQEL649 logger;
    Setup649(logger, false);
    TMissionData data;
    std::int32_t position = 0;
    ASSERT_TRUE(ReadMissionData(5, 86, s.bytes, position, logger, data));
    const std::vector<std::uint8_t> payload = MissionDataBlockPayload(data);
    TExpected expected;
    expected.W(0).W(5).S({'Q', 'E', 'L', '6', '4', '9'}).S({'2', '.', '3', '6'}).S({'1', '2', '3', '4'});
    expected.S({'D', 'r', 'o', 'p', ' ', 't', 'e', 's', 't'}).S({'M', 'i', 'a'});
    expected.D(Date2000 + 90000 / 86400.0).D(Date2000).W(0x11).W(0x22).W(2).W(1).D(Date2000 + 2.0).D(0.0);
    expected.F(6.25f).F(0.5f).D(0.0025f).W(5).W(6).W(0x0A0B).D(600.0);
    EXPECT_EQ(payload, expected.bytes);
}

} // namespace
} // namespace qel

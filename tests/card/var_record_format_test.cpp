// Tests of the variable-length record format: the record kinds, values and
// time steps of the record loop, where it stops, and the cardgen record writer
// read back by the loop.
#include "card/var_record_format.h"
#include "tools/cardgen/var_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace qel {
namespace {

using TBytes = std::vector<std::uint8_t>;

struct TValueSample {
    std::uint8_t Channel;
    std::int64_t Time;
    float Value;
    bool operator==(const TValueSample&) const = default;
};

void PrintTo(const TValueSample& s, std::ostream* out)
{
    *out << "(ch " << int{s.Channel} << ", t " << s.Time << ", " << s.Value << ")";
}

// What the loop did with a run of bytes: the values with their times, the
// model-block tags it met (each one ends the page here) and where it stopped.
struct TLoopResult {
    std::vector<TValueSample> Values;
    std::vector<std::uint8_t> Blocks;
    std::int32_t StoppedAt = 0;
};

TLoopResult RunLoop(const TBytes& bytes, var_record::TStepSign sign = var_record::TStepSign::Signed,
                    std::int64_t start = 0)
{
    TLoopResult result;
    // The bytes in a block of their own size, so a read past them is caught
    // by the sanitizer build.
    const std::vector<std::uint8_t> view(bytes);
    std::int32_t position = 0;
    TPageReader in(view.data(), static_cast<std::int32_t>(view.size()), position);
    var_record::ReadRecords(
        in, start, sign,
        [&](std::uint8_t channel, std::int64_t time, float value) { result.Values.push_back({channel, time, value}); },
        [&](std::uint8_t tag, TPageReader&, std::int64_t) {
            result.Blocks.push_back(tag);
            return false;
        });
    result.StoppedAt = position;
    return result;
}

// The time of a value record that follows the step bytes.
std::int64_t TimeAfter(const TBytes& step, var_record::TStepSign sign = var_record::TStepSign::Signed)
{
    TBytes bytes = step;
    bytes.insert(bytes.end(), {0x00, 0x00, 0x80, 0x3F});
    const TLoopResult result = RunLoop(bytes, sign);
    EXPECT_EQ(result.Values.size(), 1u);
    return result.Values.empty() ? 0 : result.Values[0].Time;
}

TEST(VarRecordFormat, KindsByTheTopBitsOfTheTag)
{
    using var_record::TRecordKind;
    const struct {
        std::uint8_t tag;
        TRecordKind kind;
    } cases[] = {
        {0x00, TRecordKind::Value},      {0x7F, TRecordKind::Value},     {0x80, TRecordKind::ShortStep},
        {0x9F, TRecordKind::ShortStep},  {0xA0, TRecordKind::LongStep},  {0xBF, TRecordKind::LongStep},
        {0xC0, TRecordKind::ModelBlock}, {0xDF, TRecordKind::ModelBlock}, {0xE0, TRecordKind::EndOfData},
        {0xFF, TRecordKind::EndOfData},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(var_record::KindOf(c.tag), c.kind) << std::hex << int{c.tag};
    }
}

TEST(VarRecordFormat, ValueRecordsCarryChannelAndTheUpperBitsOfASingle)
{
    const TLoopResult result = RunLoop({0x05, 0x00, 0xA4, 0x41, 0x7F, 0x00, 0x20, 0xC0}, var_record::TStepSign::Signed,
                                       777);
    EXPECT_EQ(result.Values, (std::vector<TValueSample>{{5, 777, 20.5f}, {127, 777, -2.5f}}));
}

TEST(VarRecordFormat, StepsInUnitsOf1000Ticks)
{
    const struct {
        TBytes step;
        std::int64_t signedTicks;
        std::int64_t unsignedTicks;
    } cases[] = {
        {{0x81, 0x00}, 256'000, 256'000},
        {{0x9F, 0xFF}, -1'000, 8'191'000},
        {{0x90, 0x00}, -4'096'000, 4'096'000},
        {{0xA0, 0x00, 0x01, 0x00}, 1'000, 1'000},
        {{0xA0, 0x00, 0x00, 0x01}, 256'000, 256'000},
        {{0xA0, 0x01, 0x00, 0x00}, 65'536'000, 65'536'000},
        {{0xB0, 0x00, 0x00, 0x00}, -268'435'456'000, 268'435'456'000},
        {{0xA0, 0x21, 0x80, 0xC4}, 2'212'992'000, 2'212'992'000},
        {{0xBF, 0xFF, 0xFF, 0xFF}, -1'000, 536'870'911'000},   // a product beyond 32 bits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeAfter(c.step), c.signedTicks) << ::testing::PrintToString(c.step);
        EXPECT_EQ(TimeAfter(c.step, var_record::TStepSign::Unsigned), c.unsignedTicks)
            << "unsigned " << ::testing::PrintToString(c.step);
    }
}

TEST(VarRecordFormat, StepsAddUpOverThePage)
{
    const TLoopResult result = RunLoop({0x01, 0x00, 0x80, 0x3F,               // ch 1 at 10
                                        0x80, 0x05,                           // +5
                                        0x02, 0x00, 0x00, 0x40,               // ch 2 at 15
                                        0x9F, 0xFE,                           // -2
                                        0xA0, 0x00, 0x0A, 0x00,               // +10
                                        0x01, 0x00, 0x40, 0x40},              // ch 1 at 23
                                       var_record::TStepSign::Signed, 10'000);
    EXPECT_EQ(result.Values, (std::vector<TValueSample>{{1, 10'000, 1.0f}, {2, 15'000, 2.0f}, {1, 23'000, 3.0f}}));
}

TEST(VarRecordFormat, WhereTheLoopStops)
{
    const struct {
        const char* what;
        TBytes bytes;
        std::size_t values;
        std::vector<std::uint8_t> blocks;
        std::int32_t stoppedAt;
    } cases[] = {
        {"end of data, the bytes after it unread", {0x01, 0x00, 0x80, 0x3F, 0xE0, 0x01, 0x00, 0x80, 0x3F}, 1, {}, 5},
        {"end of data 0xFF", {0xFF, 0x01, 0x00, 0x80, 0x3F}, 0, {}, 1},
        {"model block handed over", {0x01, 0x00, 0x80, 0x3F, 0xC7, 0x01, 0x00, 0x80, 0x3F}, 1, {0xC7}, 5},
        {"three bytes left: the short step is not read", {0x01, 0x00, 0x80, 0x3F, 0x81, 0x00, 0x00}, 1, {}, 4},
        {"three bytes left: not even an end", {0xE0, 0x00, 0x00}, 0, {}, 0},
        {"exactly four bytes: one value", {0x01, 0x00, 0x80, 0x3F}, 1, {}, 4},
        {"empty view", {}, 0, {}, 0},
    };
    for (const auto& c : cases) {
        const TLoopResult result = RunLoop(c.bytes);
        EXPECT_EQ(result.Values.size(), c.values) << c.what;
        EXPECT_EQ(result.Blocks, c.blocks) << c.what;
        EXPECT_EQ(result.StoppedAt, c.stoppedAt) << c.what;
    }
}

TEST(VarRecordFormat, AModelBlockHandlerReadsItsBlockAndGoesOn)
{
    // A family block of 3 bytes (tag and two), then a value record.
    const TBytes bytes = {0xC1, 0xAA, 0xBB, 0x03, 0x00, 0x80, 0x3F, 0xE0};
    std::int32_t position = 0;
    TPageReader in(bytes.data(), static_cast<std::int32_t>(bytes.size()), position);
    std::vector<std::uint8_t> blockBytes;
    std::vector<TValueSample> values;
    var_record::ReadRecords(
        in, 5, var_record::TStepSign::Signed,
        [&](std::uint8_t channel, std::int64_t time, float value) { values.push_back({channel, time, value}); },
        [&](std::uint8_t tag, TPageReader& block, std::int64_t time) {
            EXPECT_EQ(time, 5);
            blockBytes = {tag, block.Byte(), block.Byte()};
            return true;
        });
    EXPECT_EQ(blockBytes, (TBytes{0xC1, 0xAA, 0xBB}));
    EXPECT_EQ(values, (std::vector<TValueSample>{{3, 5, 1.0f}}));
}

TEST(VarRecordWriter, RecordsReadBackThroughTheLoop)
{
    std::vector<std::uint8_t> page(64, 0);
    cardgen::TVarRecordWriter writer(page, 0);
    ASSERT_TRUE(writer.AddValue(9, -2.5f));
    ASSERT_TRUE(writer.AddStep(4095));            // short
    ASSERT_TRUE(writer.AddValue(10, 20.5f));
    ASSERT_TRUE(writer.AddStep(-4097));           // long
    ASSERT_TRUE(writer.AddValue(11, 1.0f));
    ASSERT_TRUE(writer.AddStep(268'435'455));     // the largest signed long step
    ASSERT_TRUE(writer.AddValue(12, 2.0f));
    ASSERT_TRUE(writer.AddEnd());
    EXPECT_EQ(writer.Position(), 4u + 2u + 4u + 4u + 4u + 4u + 4u + 1u);
    page.resize(writer.Position());

    const std::int64_t t1 = 4095 * 1000, t2 = t1 - 4097 * 1000, t3 = t2 + 268'435'455LL * 1000;
    EXPECT_EQ(RunLoop(page).Values,
              (std::vector<TValueSample>{{9, 0, -2.5f}, {10, t1, 20.5f}, {11, t2, 1.0f}, {12, t3, 2.0f}}));
}

TEST(VarRecordWriter, UnsignedStepsForTheQel51Reader)
{
    std::vector<std::uint8_t> page(16, 0);
    cardgen::TVarRecordWriter writer(page, 0);
    ASSERT_TRUE(writer.AddShortStep(8191));
    ASSERT_TRUE(writer.AddLongStep((1 << 29) - 1));
    ASSERT_TRUE(writer.AddValue(1, 1.0f));
    page.resize(writer.Position());
    EXPECT_EQ(RunLoop(page, var_record::TStepSign::Unsigned).Values,
              (std::vector<TValueSample>{{1, (8191LL + (1 << 29) - 1) * 1000, 1.0f}}));
}

TEST(VarRecordWriter, RefusesWhatDoesNotFitOrHasNoRecord)
{
    std::vector<std::uint8_t> page(5, 0);
    cardgen::TVarRecordWriter writer(page, 2);
    EXPECT_FALSE(writer.AddValue(1, 1.0f)) << "4 bytes in 3";
    EXPECT_TRUE(writer.AddShortStep(1));
    EXPECT_FALSE(writer.AddShortStep(1)) << "2 bytes in 1";
    EXPECT_TRUE(writer.AddEnd());
    EXPECT_EQ(writer.Room(), 0u);

    EXPECT_THROW(writer.AddValue(128, 1.0f), std::invalid_argument);
    EXPECT_THROW(writer.AddValue(1, 0.1f), std::invalid_argument) << "0.1 needs bits 0-7";
    EXPECT_THROW(writer.AddShortStep(8192), std::invalid_argument);
    EXPECT_THROW(writer.AddLongStep(std::int64_t{1} << 29), std::invalid_argument);
    EXPECT_THROW(writer.AddEnd(0xDF), std::invalid_argument);
}

} // namespace
} // namespace qel

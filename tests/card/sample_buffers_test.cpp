// Tests of the sample buffers: the bytes of the delta-time encoding in the
// spill file, round trips through memory and file spills, the read cursor,
// and corrupt spill files.
#include "card/sample_buffers.h"
#include "tests/card/buffer_folder_fixture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace qel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct TSample {
    std::int64_t time;
    std::uint32_t bits;   // the value's bits (16-bit values sign-extended)
    bool operator==(const TSample&) const = default;
};

void PrintTo(const TSample& sample, std::ostream* out)
{
    *out << "{" << sample.time << ", 0x" << std::hex << sample.bits << std::dec << "}";
}

Bytes FileBytes(const std::string& path)
{
    const std::string content = qeltest::ReadWholeFile(path);
    return Bytes(content.begin(), content.end());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    qeltest::WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
}

// Every sample from the cursor on, taken with the getter of the buffer's kind.
std::vector<TSample> ReadAll(TBufferBaseData& buffer)
{
    std::vector<TSample> samples;
    while (!buffer.GetSaveComplete()) {
        const std::int64_t time = buffer.GetSaveTime();
        if (buffer.HoldsSingleValues()) {
            float value = 0;
            EXPECT_TRUE(buffer.GetSaveSingleValue(time, value));
            samples.push_back({time, std::bit_cast<std::uint32_t>(value)});
        } else {
            std::int16_t value = 0;
            EXPECT_TRUE(buffer.GetSaveIntValue(time, value));
            samples.push_back({time, static_cast<std::uint32_t>(value)});
        }
    }
    return samples;
}

void Append(TBufferBaseData& buffer, const TSample& sample)
{
    if (buffer.HoldsSingleValues()) {
        static_cast<TBufferSingleData&>(buffer).AddSingleData(sample.time, std::bit_cast<float>(sample.bits));
    } else {
        static_cast<TBufferIntData&>(buffer).AddIntData(sample.time, static_cast<std::int16_t>(sample.bits));
    }
}

// A series with every kind of step: small, at and beyond the two-byte limit,
// backwards, repeated, and negative times. Values cover the whole range.
std::vector<TSample> MixedSeries(std::size_t count, bool single)
{
    static constexpr std::int64_t steps[] = {0, 1, 7, 32767, 32768, 100000, -1, -40000, 20, 20, 20};
    std::vector<TSample> samples;
    std::int64_t time = -1000000;
    for (std::size_t i = 0; i < count; ++i) {
        time += steps[i % std::size(steps)];
        const auto raw = static_cast<std::int16_t>(i * 7919);
        const std::uint32_t bits = single ? std::bit_cast<std::uint32_t>(static_cast<float>(raw) * 0.25f)
                                          : static_cast<std::uint32_t>(raw);
        samples.push_back({time, bits});
    }
    return samples;
}

class SampleBufferFiles : public qeltest::BufferFolderTest {};

TEST_F(SampleBufferFiles, ChunkBytesHoldTheTimeFormsAndValues)
{
    TBufferIntData ints(nullptr, 3);
    ints.OpenSpill(SpillFileName(7));
    ints.AddIntData(1000000, 0x1234);
    ints.AddIntData(1000010, -2);
    ints.AddIntData(1000010, 5);
    ints.EndRead();
    EXPECT_EQ(FileBytes(SpillFileName(7)),
              (Bytes{18, 0,                                            // chunk length
                     0x81, 0x84, 0x1E, 0, 0, 0, 0, 0, 0x34, 0x12,      // 1,000,000 * 2 + 1; 0x1234
                     20, 0, 0xFE, 0xFF,                                // delta 10; -2
                     0, 0, 5, 0}));                                    // delta 0; 5

    TBufferSingleData singles(nullptr, 4);
    singles.OpenSpill(SpillFileName(8));
    singles.AddSingleData(-5, 1.5f);
    singles.AddSingleData(-2, -0.0f);
    singles.EndRead();
    EXPECT_EQ(FileBytes(SpillFileName(8)),
              (Bytes{18, 0,
                     0xF7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0xC0, 0x3F,   // -5 * 2 + 1; 1.5
                     6, 0, 0, 0, 0, 0x80}));                                          // delta 3; -0.0
}

TEST_F(SampleBufferFiles, TimeFormFollowsTheStepFromThePreviousSample)
{
    struct TCase {
        const char* name;
        std::vector<std::int64_t> times;
        std::uintmax_t fileSize;   // length word, then a time field and two value bytes per sample
    };
    const TCase cases[] = {
        {"first sample near 0 counts from 0", {100}, 2 + 2 + 2},
        {"first sample at 32768", {32768}, 2 + 8 + 2},
        {"first sample before 0", {-1}, 2 + 8 + 2},
        {"step of 32767", {1000, 1000 + 32767}, 2 + 4 + 2 + 2},
        {"step of 32768", {1000, 1000 + 32768}, 2 + 4 + 8 + 2},
        {"step of 0", {1000, 1000}, 2 + 4 + 2 + 2},
        {"one tick back", {1000, 999}, 2 + 4 + 8 + 2},
        {"step from a negative time", {-70000, -69999}, 2 + 10 + 2 + 2},
    };
    std::uint32_t fileNo = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = SpillFileName(fileNo++);
        TBufferIntData buffer(nullptr, 0);
        buffer.OpenSpill(file);
        std::vector<TSample> written;
        for (std::int64_t time : c.times) {
            written.push_back({time, 0x7FFF});
            buffer.AddIntData(time, 0x7FFF);
        }
        buffer.EndRead();
        EXPECT_EQ(std::filesystem::file_size(file), c.fileSize);
        buffer.BeginSave();
        EXPECT_EQ(ReadAll(buffer), written);
    }
}

TEST_F(SampleBufferFiles, ChunksAreSpilledOnlyWhenFullWhateverSizeTheChunkGrewTo)
{
    // Samples 10 ticks apart take four bytes each (the first, at 0, too): a
    // chunk is spilled when the next sample might not fit, after 8190
    // samples (32,760 bytes); only the last chunk is shorter.
    constexpr std::int32_t perChunk = (SAMPLE_CHUNK_CAPACITY - SAMPLE_MAX_SIZE) / 4 + 1;
    for (const std::int32_t count : {1, 300, 2 * perChunk, 3 * perChunk + 77}) {
        const std::string file = SpillFileName(static_cast<std::uint32_t>(count));
        TBufferIntData buffer(nullptr, 0);
        buffer.OpenSpill(file);
        for (std::int32_t i = 0; i < count; ++i) {
            buffer.AddIntData(10 * i, static_cast<std::int16_t>(i));
        }
        buffer.EndRead();
        std::vector<std::int32_t> lengths;
        const Bytes bytes = FileBytes(file);
        for (std::size_t at = 0; at + 2 <= bytes.size(); at += 2 + lengths.back()) {
            lengths.push_back(bytes[at] | bytes[at + 1] << 8);
        }
        std::vector<std::int32_t> expected(static_cast<std::size_t>(count / perChunk), 4 * perChunk);
        if (count % perChunk != 0) {
            expected.push_back(4 * (count % perChunk));
        }
        EXPECT_EQ(lengths, expected) << count << " samples";
    }
}

struct TRoundTrip {
    bool single;
    bool toFile;
};

class SampleBufferRoundTrip : public qeltest::BufferFolderTest, public ::testing::WithParamInterface<TRoundTrip> {};

TEST_P(SampleBufferRoundTrip, EverySampleComesBackOverManyChunksAndSaves)
{
    const TRoundTrip param = GetParam();
    std::unique_ptr<TBufferBaseData> buffer;
    if (param.single) {
        buffer = std::make_unique<TBufferSingleData>(nullptr, 9);
    } else {
        buffer = std::make_unique<TBufferIntData>(nullptr, 9);
    }
    buffer->OpenSpill(param.toFile ? SpillFileName(1) : std::string());
    const std::vector<TSample> written = MixedSeries(60000, param.single);
    for (const TSample& sample : written) {
        Append(*buffer, sample);
    }
    buffer->EndRead();
    if (param.toFile) {
        EXPECT_GT(std::filesystem::file_size(SpillFileName(1)), 4u * SAMPLE_CHUNK_CAPACITY);
    }

    EXPECT_EQ(buffer->GetCnt(), 60000);
    EXPECT_EQ(buffer->GetTMin(), written.front().time);
    EXPECT_EQ(buffer->GetReadTime(), written.back().time);
    for (int save = 0; save < 2; ++save) {
        buffer->BeginSave();
        EXPECT_EQ(ReadAll(*buffer), written) << "save " << save;
        EXPECT_EQ(buffer->GetSaveTime(), -1);
        buffer->EndSave();
    }
}

INSTANTIATE_TEST_SUITE_P(KindsAndSpills, SampleBufferRoundTrip,
                         ::testing::Values(TRoundTrip{false, false}, TRoundTrip{false, true},
                                           TRoundTrip{true, false}, TRoundTrip{true, true}),
                         [](const auto& testInfo) {
                             return std::string(testInfo.param.single ? "Single" : "Int") +
                                    (testInfo.param.toFile ? "File" : "Memory");
                         });

TEST(SampleBufferCursor, EmptyBufferIsCompleteAtOnce)
{
    TBufferIntData buffer(nullptr, 0);
    buffer.OpenSpill("");
    buffer.EndRead();
    buffer.BeginSave();
    EXPECT_TRUE(buffer.GetSaveComplete());
    EXPECT_EQ(buffer.GetSaveTime(), -1);
    std::int16_t value = 99;
    EXPECT_FALSE(buffer.GetSaveIntValue(-1, value));
    EXPECT_EQ(value, 99);
}

TEST(SampleBufferCursor, OtherTimeTakesNothingAndTheCursorStays)
{
    TBufferIntData buffer(nullptr, 0);
    buffer.OpenSpill("");
    buffer.AddIntData(500, 1);
    buffer.AddIntData(600, 2);
    buffer.BeginSave();
    std::int16_t value = 0;
    EXPECT_FALSE(buffer.GetSaveIntValue(600, value));
    EXPECT_FALSE(buffer.GetSaveIntValue(499, value));
    EXPECT_EQ(buffer.GetSaveTime(), 500);
    EXPECT_TRUE(buffer.GetSaveIntValue(500, value));
    EXPECT_EQ(value, 1);
    EXPECT_EQ(buffer.GetSaveTime(), 600);
}

TEST(SampleBufferCursor, SampleAtTimeMinusOneIsNotTheEnd)
{
    TBufferIntData buffer(nullptr, 0);
    buffer.OpenSpill("");
    buffer.AddIntData(-1, 42);
    buffer.BeginSave();
    EXPECT_FALSE(buffer.GetSaveComplete());
    std::int16_t value = 0;
    EXPECT_TRUE(buffer.GetSaveIntValue(-1, value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(buffer.GetSaveComplete());
}

TEST(SampleBufferCursor, NewSaveStartsAtTheFirstSampleAgain)
{
    // The first sample takes the two-byte form (it counts from 0), so a
    // second save must count from 0 again, not from where the first stopped.
    TBufferIntData buffer(nullptr, 0);
    buffer.OpenSpill("");
    buffer.AddIntData(5, 1);
    buffer.AddIntData(10, 2);
    buffer.AddIntData(40000, 3);
    buffer.EndRead();
    buffer.BeginSave();
    std::int16_t value = 0;
    ASSERT_TRUE(buffer.GetSaveIntValue(5, value));
    ASSERT_TRUE(buffer.GetSaveIntValue(10, value));
    buffer.BeginSave();
    EXPECT_EQ(ReadAll(buffer), (std::vector<TSample>{{5, 1}, {10, 2}, {40000, 3}}));
}

TEST(SampleBufferCursor, AskingForTheOtherKindOfValueRaises)
{
    TBufferIntData ints(nullptr, 0);
    ints.OpenSpill("");
    ints.AddIntData(1, 1);
    ints.BeginSave();
    float single = 0;
    EXPECT_THROW(ints.GetSaveSingleValue(1, single), std::logic_error);

    TBufferSingleData singles(nullptr, 0);
    singles.OpenSpill("");
    singles.AddSingleData(1, 1.0f);
    singles.BeginSave();
    std::int16_t raw = 0;
    EXPECT_THROW(singles.GetSaveIntValue(1, raw), std::logic_error);
}

TEST_F(SampleBufferFiles, SamplesAddedAfterTheReadOrASaveAreKept)
{
    for (const bool toFile : {false, true}) {
        SCOPED_TRACE(toFile ? "file" : "memory");
        TBufferIntData buffer(nullptr, 0);
        buffer.OpenSpill(toFile ? SpillFileName(2) : std::string());
        buffer.AddIntData(100, 1);
        buffer.EndRead();
        buffer.AddIntData(200, 2);
        buffer.BeginSave();
        std::int16_t value = 0;
        ASSERT_TRUE(buffer.GetSaveIntValue(100, value));
        buffer.AddIntData(300, 3);
        buffer.BeginSave();
        EXPECT_EQ(ReadAll(buffer), (std::vector<TSample>{{100, 1}, {200, 2}, {300, 3}}));
        EXPECT_EQ(buffer.GetCnt(), 3);
    }
}

TEST_F(SampleBufferFiles, CorruptSpillFileEndsTheSamplesWhereItBreaks)
{
    // Ten thousand samples fill a first chunk and part of a second: the first
    // with an eight-byte time, the others with two-byte times.
    std::vector<TSample> written;
    for (std::int64_t i = 0; i < 10000; ++i) {
        written.push_back({1000000 + i * 10, static_cast<std::uint32_t>(static_cast<std::int16_t>(i))});
    }
    struct TCase {
        const char* name;
        void (*mutate)(Bytes& file, std::size_t secondChunk);
        bool keepsFirstChunk;
    };
    const TCase cases[] = {
        {"file cut inside the second chunk", [](Bytes& f, std::size_t at) { f.resize(at + 12); }, true},
        {"second length word 0", [](Bytes& f, std::size_t at) { f[at] = 0, f[at + 1] = 0; }, true},
        {"three stray bytes after the first chunk", [](Bytes& f, std::size_t at) { f.resize(at + 3); }, true},
        {"second length beyond a chunk's capacity",
         [](Bytes& f, std::size_t at) {
             f[at] = 0xFF, f[at + 1] = 0xFF;
             f.resize(at + 2 + 0xFFFF);
         },
         true},
        {"first chunk length one byte short (misaligned)",
         [](Bytes& f, std::size_t) { f[0] = static_cast<std::uint8_t>(f[0] - 1); }, false},
        {"eight-byte time cut short", [](Bytes& f, std::size_t) { f = {4, 0, 1, 0, 0, 0}; }, false},
    };
    std::uint32_t fileNo = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = SpillFileName(fileNo++);
        TBufferIntData buffer(nullptr, 0);
        buffer.OpenSpill(file);
        for (const TSample& sample : written) {
            Append(buffer, sample);
        }
        buffer.EndRead();
        Bytes bytes = FileBytes(file);
        const std::size_t firstLength = bytes[0] | bytes[1] << 8;
        const std::size_t inFirstChunk = 1 + (firstLength - 10) / 4;
        ASSERT_LT(inFirstChunk, written.size());
        c.mutate(bytes, 2 + firstLength);
        WriteBytes(file, bytes);

        buffer.BeginSave();
        const std::vector<TSample> read = ReadAll(buffer);
        if (c.keepsFirstChunk) {
            EXPECT_EQ(read, std::vector<TSample>(written.begin(), written.begin() + inFirstChunk));
        } else {
            ASSERT_LE(read.size(), written.size());
            const std::size_t sound = read.empty() ? 0 : read.size() - 1;   // the last may be misread
            EXPECT_EQ(std::vector<TSample>(read.begin(), read.begin() + sound),
                      std::vector<TSample>(written.begin(), written.begin() + sound));
        }
    }
}

TEST_F(SampleBufferFiles, SpillFileGoesWithItsBuffer)
{
    const std::string file = SpillFileName(3);
    {
        TBufferIntData buffer(nullptr, 0);
        buffer.OpenSpill(file);
        buffer.AddIntData(1, 1);
        buffer.EndRead();
        EXPECT_TRUE(std::filesystem::exists(file));
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

} // namespace
} // namespace qel

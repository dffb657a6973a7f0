// Raw binary savers (".bin", ".bin2"): whole files against the layout, the
// patched rate, gap values left out, the time window, channels without a
// sample inside it, file names per channel and file errors.
#include "export/save_bin2_file_thread.h"
#include "export/save_bin_file_thread.h"
#include "foundations/qel_error.h"
#include "foundations/tick_time.h"
#include "tests/export/raw_value_model.h"
#include "tests/export/save_fixture.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <functional>

namespace {

using qeltest::RawValueModel;

constexpr std::int64_t SECOND = qel::TICKS_PER_SECOND;
// 2000-01-02 01:00:00.
constexpr std::int64_t T0 = qel::TICKS_PER_DAY + 3600 * SECOND;

const char* const BIN_MARK = "QEL_BINARY_DATA_2Byte_INT@";
const char* const BIN2_MARK = "QEL_BINARY_TIME_8Byte_Double_DATA_4Byte_Single@";

template <class T>
std::string Le(T value)
{
    std::string bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    static_assert(std::endian::native == std::endian::little);
    return bytes;
}

// The header texts of a channel; texts in Windows-1252.
std::string HeaderTexts(const std::string& time, std::uint32_t sn, const std::string& name, const std::string& unit)
{
    return time + ";QEL" + std::to_string(sn) + ";" + name + ";" + unit + ";";
}

// Header of a channel of RawValueModel (gain 0.5, offset -1.25).
std::string Header(const std::string& texts, float rate, const char* mark)
{
    return texts + Le(0.5f) + Le(-1.25f) + Le(rate) + mark;
}

struct SaverKind {
    const char* what;
    qel::TSaveFileThreadClass saver;
    const char* ext;
};
const SaverKind BIN{"bin", &qel::TSaveBinFileThread::ClassInfo, ".bin"};
const SaverKind BIN2{"bin2", &qel::TSaveBin2FileThread::ClassInfo, ".bin2"};

class BinSaverTest : public qeltest::SaveFixture {
protected:
    void RunBin(const SaverKind& kind, const std::function<void(qel::TSaveFileThread&)>& prepare =
                                           [](qel::TSaveFileThread&) {})
    {
        RunSave(kind.saver, [&](qel::TSaveFileThread& saver) {
            qel::SaveBufferList.FileNameEx.ext = kind.ext;
            prepare(saver);
        });
    }

    static void Window(qel::TSaveFileThread& saver, std::int64_t start, std::int64_t end)
    {
        saver.TimeMode = 1;
        saver.TimeStart = start;
        saver.TimeEnd = end;
    }

    std::string Read(const std::string& name) const { return qeltest::ReadWholeFile(dir.File(name)); }

    void ExpectSaved() const
    {
        EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}))
            << qel::LastErrorMsg();
    }

    plat::LPARAM LastPercent() const
    {
        plat::LPARAM percent = 0;
        for (const qeltest::LogEntry& entry : log) {
            if (entry.kind == qeltest::LogEntry::Status && entry.state == qel::THREAD_PROGRESS) {
                percent = entry.value;
            }
        }
        return percent;
    }
};

// One channel with a sample before the window, a gap value inside it and a
// sample after it; the values inside are 100, -5 and 7 at T0, T0 + 1024 and
// T0 + 2048 ticks.
TEST_F(BinSaverTest, FilesFollowTheLayoutByteForByte)
{
    const std::string texts = HeaderTexts("02.01.2000 01:00:00", 4711, "T", "\xB0" "C");
    const RawValueModel model;
    const auto value = [&model](std::int16_t raw) { return Le(model.CalcChValue(0, raw)); };
    struct Case {
        SaverKind kind;
        std::string expected;
    };
    const Case cases[] = {
        {BIN, Header(texts, 0.001f, BIN_MARK) + Le<std::int16_t>(100) + Le<std::int16_t>(-5) + Le<std::int16_t>(7)},
        // The values are the logger's conversion, not gain * raw + offset of the header.
        {BIN2, Header(texts, 0.0f, BIN2_MARK) + Le(0.0) + value(100) + Le(qel::TicksToDays(1024)) + value(-5) +
                   Le(qel::TicksToDays(2048)) + value(7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind.what);
        ResetSave();
        RawValueModel& logger = AddLogger<RawValueModel>(4711, 0x1234, 0x0100);
        AddInt(logger, 0, T0 - 1000, 9);
        AddInt(logger, 0, T0, 100);
        AddInt(logger, 0, T0 + 512, RawValueModel::GAP);
        AddInt(logger, 0, T0 + 1024, -5);
        AddInt(logger, 0, T0 + 2048, 7);
        AddInt(logger, 0, T0 + 10 * SECOND, 3);
        RunBin(c.kind, [](qel::TSaveFileThread& saver) { Window(saver, T0, T0 + 5 * SECOND); });
        ExpectSaved();

        const std::string name = std::string("out_C0") + c.kind.ext;
        EXPECT_TRUE(Read(name) == c.expected);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{name});
        EXPECT_EQ(Texts(qeltest::LogEntry::SaveInfo), std::vector<std::string>{dir.File(name)});
        EXPECT_EQ(LastPercent(), 100) << "samples outside the window and gap values count as progress";
        EXPECT_EQ(qel::SaveBufferList.Count(), 0);
    }
}

TEST_F(BinSaverTest, RateIsTheAverageIntervalOfTheWrittenSamples)
{
    struct Case {
        const char* what;
        std::vector<std::pair<std::int64_t, std::int16_t>> samples;
        float rate;
    };
    const Case cases[] = {
        {"one sample", {{0, 1}}, 0.0f},
        {"ticks 0, 1024, 2048", {{0, 1}, {1024, 2}, {2048, 3}}, 0.001f},
        {"uneven steps", {{0, 1}, {1000, 2}, {3000, 3}}, static_cast<float>(3000.0 / 2 / 1024000.0)},
        {"two samples at one time", {{5000, 1}, {5000, 2}}, 0.0f},
        {"the second sample a gap value", {{0, 1}, {1024, RawValueModel::GAP}}, 0.0f},
    };
    const std::string texts = HeaderTexts("01.01.2000 00:00:00", 1, "T", "\xB0" "C");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSave();
        RawValueModel& logger = AddLogger<RawValueModel>(1, 0x1234, 0x0100);
        for (const auto& [time, raw] : c.samples) {
            AddInt(logger, 0, time, raw);
        }
        RunBin(BIN);
        ExpectSaved();
        const std::string file = Read("out_C0.bin");
        ASSERT_GE(file.size(), texts.size() + 12);
        EXPECT_EQ(file.substr(texts.size() + 8, 4), Le(c.rate));
    }
}

TEST_F(BinSaverTest, ChannelWithoutSampleInsideTheWindowGetsAHeaderOnly)
{
    for (const SaverKind& kind : {BIN, BIN2}) {
        SCOPED_TRACE(kind.what);
        ResetSave();
        RawValueModel& logger = AddLogger<RawValueModel>(7, 0x1234, 0x0100);
        AddInt(logger, 3, 2 * SECOND, 4);
        AddInt(logger, 1, 0, 5);
        AddInt(logger, 1, SECOND / 2, 6);
        RunBin(kind, [](qel::TSaveFileThread& saver) { Window(saver, SECOND, 3 * SECOND); });
        ExpectSaved();

        const std::string ext = kind.ext;
        // First time -1 tick: the moment before 2000-01-01, shown to the millisecond.
        EXPECT_TRUE(Read("out_C1" + ext) ==
                    Header(HeaderTexts("01.01.2000 00:00:00", 7, "Level1", "\x89"), 0.0f,
                           kind.saver == BIN.saver ? BIN_MARK : BIN2_MARK));
        EXPECT_EQ(Texts(qeltest::LogEntry::SaveInfo),
                  (std::vector<std::string>{dir.File("out_C1" + ext), dir.File("out_C3" + ext)}))
            << "files in save-list order: by channel";
        EXPECT_EQ(qel::SaveBufferList.FileList, Texts(qeltest::LogEntry::SaveInfo));
        EXPECT_EQ(LastPercent(), 100);
    }
}

TEST_F(BinSaverTest, SameChannelNumberOfTwoLoggersGetsTwoFiles)
{
    RawValueModel& second = AddLogger<RawValueModel>(20, 0x1234, 0x0100);
    RawValueModel& first = AddLogger<RawValueModel>(10, 0x1234, 0x0100);
    AddInt(second, 0, 0, 1);
    AddInt(first, 0, 0, 2);
    RunBin(BIN);
    ExpectSaved();

    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"out_C0.bin", "out_C0_2.bin"}));
    for (const auto& [name, sn] : {std::pair{"out_C0.bin", 10u}, std::pair{"out_C0_2.bin", 20u}}) {
        const std::string texts = HeaderTexts("01.01.2000 00:00:00", sn, "T", "\xB0" "C");
        EXPECT_EQ(Read(name).substr(0, texts.size()), texts) << name;
    }
}

TEST_F(BinSaverTest, SingleValueChannels)
{
    const auto addSingles = [this] {
        qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
        AddSingle(logger, 0, 0, 1.5f);
        AddSingle(logger, 0, 1024, qel::GapValueMarker());
    };

    addSingles();
    RunBin(BIN2);
    ExpectSaved();
    const std::string texts = HeaderTexts("01.01.2000 00:00:00", 5, "?", "?");
    EXPECT_TRUE(Read("out_C0.bin2") == texts + Le(1.0f) + Le(0.0f) + Le(0.0f) + BIN2_MARK + Le(0.0) + Le(1.5f))
        << "the stored value as it is, the gap marker left out";

    ResetSave();
    addSingles();
    RunBin(BIN);
    EXPECT_EQ(FailureCode(), 0);
    EXPECT_NE(qel::LastErrorMsg().find("single values"), std::string::npos) << qel::LastErrorMsg();
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(BinSaverTest, UnwritableFolderFailsWithItsMessage)
{
    for (const SaverKind& kind : {BIN, BIN2}) {
        SCOPED_TRACE(kind.what);
        ResetSave();
        RawValueModel& logger = AddLogger<RawValueModel>(7, 0x1234, 0x0100);
        AddSeries(logger, 0, 3);
        RunBin(kind,
               [this](qel::TSaveFileThread&) { qel::SaveBufferList.FileNameEx.path = dir.File("missing") + "/"; });

        EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_FAILED}));
        EXPECT_EQ(FailureCode(), 0);
        EXPECT_NE(qel::LastErrorMsg().find("missing"), std::string::npos) << qel::LastErrorMsg();
        EXPECT_TRUE(FolderEntries().empty());
        EXPECT_EQ(qel::SaveBufferList.Count(), 0);
    }
}

} // namespace

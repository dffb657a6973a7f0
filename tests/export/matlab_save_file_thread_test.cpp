// MATLAB saver: whole files against images built from the element rules,
// a load with Python's scipy, column limit and parts, no-value and gap
// cells and unwritable targets; element writer edge cases.
#include "export/matlab_elements.h"
#include "export/matlab_file.h"
#include "export/matlab_save_file_thread.h"
#include "foundations/qel_error.h"
#include "foundations/tick_time.h"
#include "foundations/win_tools.h"
#include "platform/date_time.h"
#include "platform/format_settings.h"
#include "platform/known_folders.h"
#include "platform/streams.h"
#include "platform/version.h"
#include "tests/export/mat_image.h"
#include "tests/export/raw_value_model.h"
#include "tests/export/save_fixture.h"
#include "tests/support/scoped_time_zone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

namespace mat = qeltest::mat;
using qeltest::RawValueModel;

constexpr std::int64_t SECOND = qel::TICKS_PER_SECOND;
// 2000-01-02 01:00:00.
constexpr std::int64_t T0 = qel::TICKS_PER_DAY + 3600 * SECOND;

constexpr std::uint64_t NO_VALUE_DOUBLE_BITS = 0xFFFFFFFFE0000000u;   // 0xFFFFFFFF widened
constexpr std::uint64_t GAP_VALUE_DOUBLE_BITS = 0xFFFFFFFFC0000000u;  // 0xFFFFFFFE widened

const char* const HEADER_TEXT =
    "MATLAB 5.0 MAT-file, Platform: PCWIN, Created on: 14:05:09 03/02/2024 by QelReader.exe";

std::u16string Wide(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Creator()
{
    const plat::TFileVersion v = plat::GetProgramFileVersion();
    return Wide("QelReader.exe V" + qel::FormatFileVersion(v.Major, v.Minor, v.Release, v.Build));
}

double Seconds(std::int64_t ticks)
{
    return qel::DaysToSeconds(qel::TicksToDays(ticks));
}

std::string Number(double value)
{
    if (std::isnan(value)) {
        return "NaN";
    }
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%.17g", value);
    return text.data();
}

// What scipy.io.loadmat reads from each file: the header text, then every
// variable in file order as name=text, or name=rowsxcolumns: and the cells
// ("|") or numbers (",") in column order. Char data are UTF-16 code units,
// as MATLAB reads them.
const char* const LOAD_SCRIPT = R"(import math, sys
import scipy.io
def text(a):
    return ''.join(str(c) for c in a.ravel())
def number(v):
    return 'NaN' if math.isnan(v) else '%.17g' % v
out = []
for path in sys.argv[1:]:
    m = scipy.io.loadmat(path, uint16_codec='utf-16-le')
    out.append('__header__=' + m['__header__'].decode('latin-1').rstrip())
    for name, v in m.items():
        if name.startswith('__'):
            continue
        if v.dtype.kind == 'U':
            out.append(name + '=' + text(v))
        elif v.dtype.kind == 'O':
            out.append('%s=%dx%d:' % ((name,) + v.shape) + '|'.join(text(c) for c in v.ravel(order='F')))
        else:
            out.append('%s=%dx%d:' % ((name,) + v.shape) + ','.join(number(x) for x in v.ravel(order='F')))
sys.stdout.buffer.write(('\n'.join(out) + '\n').encode('utf-8'))
)";

struct ToolRun {
    int exitCode = -1;
    std::string output;
};

// The Debian interpreter, where the python3-scipy package installs scipy.
ToolRun LoadWithScipy(const std::string& scriptFile, const std::string& matFile)
{
    ToolRun run;
    const std::string command = "/usr/bin/python3 '" + scriptFile + "' '" + matFile + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> chunk{};
    std::size_t got = 0;
    while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) {
        run.output.append(chunk.data(), got);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class MatlabSaveTest : public qeltest::SaveFixture {
protected:
    MatlabSaveTest()
        : FZone("UTC0"), FClock(plat::DateTimeToUnixMs(plat::EncodeDateTime({2024, 2, 3, 14, 5, 9, 0}))),
          FUseClock(FClock)
    {
        plat::TFormatSettings& settings = plat::FormatSettings();
        settings.ShortDateFormat = "dd/MM/yyyy";
        settings.DateSeparator = '/';
        settings.LongTimeFormat = "HH:mm:ss";
        settings.TimeSeparator = ':';
    }
    ~MatlabSaveTest() override { qel::Mat2SetMaxValues(qel::MAT2_NO_ROW_LIMIT); }

    void RunMatlab(const std::function<void(qel::TSaveFileThread&)>& prepare = [](qel::TSaveFileThread&) {})
    {
        RunSave(&qel::TSaveMatlabFileThread::ClassInfo, [&prepare](qel::TSaveFileThread& saver) {
            qel::SaveBufferList.FileNameEx.ext = ".mat";
            prepare(saver);
        });
    }

    static std::string MatName(int part) { return part == 0 ? "out.mat" : "out_E" + std::to_string(part) + ".mat"; }
    std::string MatPart(int part) const { return qeltest::ReadWholeFile(dir.File(MatName(part))); }

    void ExpectSaved() const
    {
        EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}))
            << qel::LastErrorMsg();
    }

private:
    plat::TScopedFormatSettings FFormats;
    qeltest::ScopedTimeZone FZone;
    plat::TFixedWallClock FClock;
    plat::TScopedWallClock FUseClock;
};

// Two channels with samples at different times: a no-value cell where a
// channel has no sample, the gap value's own NaN, calibrated values.
class MatlabTwoChannelTest : public MatlabSaveTest {
protected:
    void AddSamples()
    {
        RawValueModel& logger = AddLogger<RawValueModel>(4711, 0x1234, 0x0100);
        AddInt(logger, 0, T0, 2);
        AddInt(logger, 0, T0 + SECOND / 2, 4);
        AddInt(logger, 0, T0 + SECOND, RawValueModel::GAP);
        AddInt(logger, 1, T0 + SECOND / 2, 10);
        AddInt(logger, 1, T0 + 2 * SECOND, 1);
    }
};

TEST_F(MatlabTwoChannelTest, FileEqualsTheImageOfTheElementRules)
{
    AddSamples();
    RunMatlab();
    ExpectSaved();

    const std::string values =
        mat::F64(0.0) + mat::F64(-2.0) + mat::F64Bits(NO_VALUE_DOUBLE_BITS) +                      // T0
        mat::F64(Seconds(SECOND / 2)) + mat::F64(1.0) + mat::F64(22.0) +                           // T0 + 0.5 s
        mat::F64(Seconds(SECOND)) + mat::F64Bits(GAP_VALUE_DOUBLE_BITS) + mat::F64Bits(NO_VALUE_DOUBLE_BITS) +
        mat::F64(Seconds(2 * SECOND)) + mat::F64Bits(NO_VALUE_DOUBLE_BITS) + mat::F64(-2.75);     // T0 + 2 s
    const std::string expected = mat::SaverFile(mat::SaverPart{
        HEADER_TEXT, Creator(), u"01/02/2000 01:00:00", qel::TicksToDays(T0),
        {{4711, u"T", u"\u00B0C"}, {4711, u"Level1", u"\u2030"}}, 4, values});
    const std::string written = MatPart(0);
    ASSERT_EQ(written.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(static_cast<std::uint8_t>(written[i]), static_cast<std::uint8_t>(expected[i])) << "byte " << i;
    }
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"out.mat"});
    EXPECT_EQ(Texts(qeltest::LogEntry::SaveInfo), std::vector<std::string>{dir.File("out.mat")});
    EXPECT_EQ(qel::SaveBufferList.Count(), 0);
}

TEST_F(MatlabTwoChannelTest, ScipyLoadsTheSameVariablesAndValues)
{
    AddSamples();
    RunMatlab();
    ExpectSaved();

    qeltest::TempDir scriptDir;
    qeltest::WriteWholeFile(scriptDir.File("load_mat.py"), LOAD_SCRIPT);
    const ToolRun run = LoadWithScipy(scriptDir.File("load_mat.py"), dir.File("out.mat"));
    ASSERT_EQ(run.exitCode, 0) << "scipy (Debian package python3-scipy, scripts/install-deps) failed:\n" << run.output;

    std::string creator;
    for (char16_t c : Creator()) {
        creator += static_cast<char>(c);
    }
    const std::string expected =
        std::string("__header__=") + HEADER_TEXT + "\n" + "InfoCreator=" + creator + "\n" +
        "InfoStartTime=01/02/2000 01:00:00\n" + "InfoStartTime_2000_01_01=1x1:" + Number(qel::TicksToDays(T0)) +
        "\n" + "InfoModuls=2x1:4711|4711\n" + "InfoSN=3x1:|4711|4711\n" + "InfoChannelNames=3x1:time|T|Level1\n" +
        "InfoChannelUnits=3x1:s|\u00B0C|\u2030\n" + "QEL=3x4:0,-2,NaN," + Number(Seconds(SECOND / 2)) + ",1,22," +
        Number(Seconds(SECOND)) + ",NaN,NaN," + Number(Seconds(2 * SECOND)) + ",NaN,-2.75\n";
    EXPECT_EQ(run.output, expected);
}

TEST_F(MatlabSaveTest, ColumnLimitSplitsPartsAndNoEmptyPartFollows)
{
    struct Case {
        const char* what;
        std::int64_t windowEnd;       // samples at 0 .. 8 s; the window starts at 1 s
        std::vector<std::vector<int>> parts;   // the seconds of each part's columns
    };
    const Case cases[] = {
        {"last part partly filled", 7 * SECOND, {{1, 2, 3}, {4, 5, 6}, {7}}},
        {"limit reached by the last row inside the window", 6 * SECOND, {{1, 2, 3}, {4, 5, 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSave();
        qel::Mat2SetMaxValues(3);
        RawValueModel& logger = AddLogger<RawValueModel>(12, 0x1234, 0x0100);
        for (int s = 0; s <= 8; ++s) {
            AddInt(logger, 2, s * SECOND, static_cast<std::int16_t>(s));
        }
        RunMatlab([&c](qel::TSaveFileThread& saver) {
            saver.TimeMode = 1;
            saver.TimeStart = SECOND;
            saver.TimeEnd = c.windowEnd;
        });
        ExpectSaved();

        std::vector<std::string> names;
        std::vector<std::string> saved;
        for (std::size_t p = 0; p < c.parts.size(); ++p) {
            const std::vector<int>& columns = c.parts[p];
            const std::int64_t first = columns.front() * SECOND;
            std::string values;
            for (int s : columns) {
                values += mat::F64(Seconds(s * SECOND - first)) + mat::F64(0.25 * s * s - 3.0);
            }
            const std::string expected = mat::SaverFile(mat::SaverPart{
                HEADER_TEXT, Creator(), Wide("01/01/2000 00:00:0" + std::to_string(columns.front())),
                qel::TicksToDays(first), {{12, u"Level2", u"\u2030"}}, static_cast<std::int32_t>(columns.size()),
                values});
            EXPECT_TRUE(MatPart(static_cast<int>(p)) == expected) << "part " << p;
            names.push_back(MatName(static_cast<int>(p)));
            saved.push_back(dir.File(MatName(static_cast<int>(p))));
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(FolderEntries(), names);
        EXPECT_EQ(Texts(qeltest::LogEntry::SaveInfo), saved);
        EXPECT_EQ(qel::SaveBufferList.FileList, saved);
    }
}

TEST_F(MatlabSaveTest, ColumnLimitKeepsTheMatrixBelowFourBillionBytes)
{
    struct Case {
        std::size_t rowLength;
        std::uint32_t userLimit;
        std::uint32_t limit;
    };
    const Case cases[] = {
        {2, qel::MAT2_NO_ROW_LIMIT, 250000000}, // one channel: 16 bytes a column
        {3, qel::MAT2_NO_ROW_LIMIT, 166666666},
        {1, qel::MAT2_NO_ROW_LIMIT, 500000000},
        {2, 0xFFFFFFF0, 250000000},             // the application's "largest files"
        {2, 10000, 10000},
        {2, 0, 1},                              // every part still takes a column
    };
    for (const Case& c : cases) {
        qel::Mat2SetMaxValues(c.userLimit);
        qel::TMat2File file(dir.File("limit.mat"));
        file.Row().assign(c.rowLength, 0.0);
        file.Mat2BeginMatrix();
        EXPECT_EQ(file.ColumnLimit(), c.limit) << c.rowLength << " doubles, user limit " << c.userLimit;
    }
    EXPECT_TRUE(FolderEntries().empty()) << "a file that was never closed is dropped";
}

TEST_F(MatlabSaveTest, SingleValuesAreWrittenAsStoredWithTheirMarkers)
{
    qel::TQEL& logger = AddLogger<qel::TQEL>(3, 0x1234, 0x0100);
    AddSingle(logger, 0, 0, 1.5f);
    AddSingle(logger, 0, SECOND, qel::GapValueMarker());
    RunMatlab();
    ExpectSaved();

    const std::string values = mat::F64(0.0) + mat::F64(1.5) + mat::F64(1.0) + mat::F64Bits(GAP_VALUE_DOUBLE_BITS);
    const std::string written = MatPart(0);
    ASSERT_GE(written.size(), values.size());
    EXPECT_TRUE(written.compare(written.size() - values.size(), values.size(), values) == 0);
}

TEST_F(MatlabSaveTest, NoSampleInsideTheWindowGivesOnePartWithAnEmptyMatrix)
{
    RawValueModel& logger = AddLogger<RawValueModel>(12, 0x1234, 0x0100);
    AddSeries(logger, 0, 4, SECOND);
    RunMatlab([](qel::TSaveFileThread& saver) {
        saver.TimeMode = 1;
        saver.TimeStart = 10 * SECOND;
        saver.TimeEnd = 20 * SECOND;
    });
    ExpectSaved();

    const std::string expected = mat::SaverFile(mat::SaverPart{HEADER_TEXT, Creator(), u"01/01/2000 00:00:00",
                                                               qel::TicksToDays(-1), {{12, u"T", u"\u00B0C"}}, 0, ""});
    EXPECT_TRUE(MatPart(0) == expected);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"out.mat"});
}

TEST_F(MatlabSaveTest, UnwritableFolderFailsWithItsMessage)
{
    RawValueModel& logger = AddLogger<RawValueModel>(12, 0x1234, 0x0100);
    AddSeries(logger, 0, 3, SECOND);
    RunMatlab([this](qel::TSaveFileThread&) { qel::SaveBufferList.FileNameEx.path = dir.File("missing") + "/"; });

    EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_FAILED}));
    EXPECT_EQ(FailureCode(), 0);
    EXPECT_NE(qel::LastErrorMsg().find("missing"), std::string::npos) << qel::LastErrorMsg();
    EXPECT_TRUE(FolderEntries().empty());
    EXPECT_EQ(qel::SaveBufferList.Count(), 0);
}

TEST_F(MatlabSaveTest, ALongHeaderTextFillsAll124Bytes)
{
    plat::SetProgramPath("/opt/qel/" + std::string(60, 'p') + ".exe");
    plat::TMemoryStream stream;
    qel::TMtlWriter writer(stream);
    writer.WriteMtlHeader();

    ASSERT_EQ(stream.Size(), 128);
    const std::string header(reinterpret_cast<const char*>(stream.Memory()), 128);
    const std::string full = std::string(HEADER_TEXT).replace(std::strlen(HEADER_TEXT) - 13, 13,
                                                              std::string(60, 'p') + ".exe");
    ASSERT_GT(full.size(), 124u);
    EXPECT_EQ(header.substr(0, 124), full.substr(0, 124));
    EXPECT_EQ(header.substr(124), std::string("\x00\x01IM", 4));
}

TEST(MatlabElements, DoubleArraysAreRowOrColumnVectors)
{
    using namespace qeltest::mat;
    const std::vector<double> values = {1.5, -2.0, 1e300};
    const std::string encoded = F64(1.5) + F64(-2.0) + F64(1e300);
    const struct {
        bool isRow;
        std::string name;
        std::vector<double> values;
        std::string expected;
    } cases[] = {
        {true, "Row", values, Variable(qel::mxDOUBLE_CLASS, 1, 3, "Row", Tagged(qel::miDOUBLE, encoded))},
        {false, "Column", values, Variable(qel::mxDOUBLE_CLASS, 3, 1, "Column", Tagged(qel::miDOUBLE, encoded))},
        {true, "none", {}, Variable(qel::mxDOUBLE_CLASS, 1, 0, "none", Tagged(qel::miDOUBLE, ""))},
    };
    for (const auto& c : cases) {
        plat::TMemoryStream stream;
        qel::TMtlWriter writer(stream);
        writer.WriteMtlDoubleArray(c.isRow, c.name, c.values);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size())),
                  c.expected)
            << c.name;
    }
}

TEST(MatlabElements, CompletingATagWithoutAnOpenOneRaises)
{
    plat::TMemoryStream stream;
    qel::TMtlWriter writer(stream);
    writer.PrimeMtlTag(qel::miMATRIX);
    writer.CompleteMtlTag();
    try {
        writer.CompleteMtlTag();
        FAIL() << "no error";
    } catch (const qel::EMtlHeaderError& error) {
        EXPECT_STREQ(error.what(), "PrimeMtlTag must be called before CompleteMtlTag");
    }
    EXPECT_EQ(stream.Size(), 8) << "the completed tag holds size 0";
}

} // namespace

// Text files: lines and numbers read back, and every failure raised as the
// input/output error.
#include "platform/objects/text_file.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(TextFile, LinesAndNumbersRoundTrip)
{
    qeltest::TempDir folder;
    const std::string file = folder.File("table.txt");
    {
        plat::TTextFileWriter writer(file);
        writer.WriteLine("Default");
        writer.WriteLine(" 293   1   0   0     7");
        writer.Write("  -4 +12");
        writer.Close();
        EXPECT_THROW(writer.Write("late"), plat::EInOutError);
    }
    EXPECT_EQ(qeltest::ReadWholeFile(file), "Default\n 293   1   0   0     7\n  -4 +12");

    plat::TTextFileReader reader(file);
    std::string name;
    ASSERT_TRUE(reader.ReadLine(name));
    EXPECT_EQ(name, "Default");
    std::vector<std::int64_t> numbers;
    while (!reader.SeekEof()) {
        numbers.push_back(reader.ReadInteger());
    }
    EXPECT_EQ(numbers, (std::vector<std::int64_t>{293, 1, 0, 0, 7, -4, 12}));
    EXPECT_FALSE(reader.ReadLine(name));

    plat::TTextFileWriter appending(file, true);
    appending.WriteLine("");
    appending.WriteLine("more");
    appending.Close();
    plat::TTextFileReader lines(file);
    std::vector<std::string> all;
    for (std::string line; lines.ReadLine(line);) {
        all.push_back(line);
    }
    EXPECT_EQ(all, (std::vector<std::string>{"Default", " 293   1   0   0     7", "  -4 +12", "more"}));
}

TEST(TextFile, FailuresRaiseTheInputOutputError)
{
    qeltest::TempDir folder;
    try {
        plat::TTextFileReader reader(folder.File("missing.txt"));
        FAIL() << "no error";
    } catch (const plat::EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), ENOENT);
    }
    EXPECT_THROW(plat::TTextFileWriter(folder.File("no/such/folder.txt")), plat::EInOutError);

    struct TCase {
        const char* Text;
    };
    for (const char* text : {"12x", "abc", "-", "99999999999999999999", ""}) {
        SCOPED_TRACE(text);
        const std::string file = folder.File("bad.txt");
        std::ofstream(file) << text;
        plat::TTextFileReader reader(file);
        try {
            reader.ReadInteger();
            FAIL() << "no error";
        } catch (const plat::EInOutError& e) {
            EXPECT_EQ(e.ErrorCode(), plat::EInOutError::kInvalidNumericFormat);
        }
    }

    // A full device: writing to /dev/full fails when the data reaches it.
    plat::TTextFileWriter full("/dev/full");
    full.WriteLine("lost");
    EXPECT_THROW(full.Close(), plat::EInOutError);
}

} // namespace

// The saved-file record: created anew, one CR LF line per text written
// through at once, UTF-8 kept byte for byte, and every target it cannot
// write leaves it closed without a trace.
#include "app/saved_file_record.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(SavedFileRecordTest, LinesAreWrittenThroughInUtf8WithCrLf)
{
    qeltest::TempDir dir;
    const std::string name = dir.File("record.txt");
    qeltest::WriteWholeFile(name, "an older record that is emptied");
    qel::TSavedFileRecord record;
    record.Open(name);
    ASSERT_TRUE(record.Active());
    record.WriteLine("QEL 17.05.2024 08:30:00");
    EXPECT_EQ(qeltest::ReadWholeFile(name), "QEL 17.05.2024 08:30:00\r\n");   // no buffering
    record.WriteLine("/data/Größe 東京 ✓.qel");
    record.Close();
    record.WriteLine("after the close");
    EXPECT_FALSE(record.Active());
    EXPECT_EQ(qeltest::ReadWholeFile(name), "QEL 17.05.2024 08:30:00\r\n/data/Größe 東京 ✓.qel\r\n");
}

TEST(SavedFileRecordTest, TargetsThatCannotHoldARecordLeaveItClosed)
{
    qeltest::TempDir dir;
    const std::string readOnly = dir.File("read-only.txt");
    qeltest::WriteWholeFile(readOnly, "kept");
    chmod(readOnly.c_str(), 0444);
    std::filesystem::create_directories(dir.File("folder"));
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string cases[] = {dir.File("missing/record.txt"), dir.File("folder"), readOnly, pipe, "/dev/null", ""};
    for (const std::string& name : cases) {
        qel::TSavedFileRecord record;
        record.Open(name);
        EXPECT_FALSE(record.Active()) << name;
        record.WriteLine("nothing");
    }
    EXPECT_EQ(qeltest::ReadWholeFile(readOnly), "kept");
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST(SavedFileRecordTest, ReopeningClosesTheFormerRecord)
{
    qeltest::TempDir dir;
    qel::TSavedFileRecord record;
    record.Open(dir.File("first.txt"));
    record.Open(dir.File("missing/second.txt"));
    EXPECT_FALSE(record.Active());
    record.WriteLine("lost");
    EXPECT_EQ(qeltest::ReadWholeFile(dir.File("first.txt")), "");
}

} // namespace

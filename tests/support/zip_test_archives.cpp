// Archives for the zip tests, written with the program's zip writer.
#include "tests/support/zip_test_archives.h"

#include "platform/zip_writer.h"

#include <gtest/gtest.h>

#include <random>

namespace qeltest {

std::string RandomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string out(count, '\0');
    for (char& c : out) {
        c = static_cast<char>(random());
    }
    return out;
}

std::string Repetitive(std::size_t count)
{
    std::string out;
    while (out.size() < count) {
        out += "time;value;" + std::to_string(out.size() % 977) + "\r\n";
    }
    out.resize(count);
    return out;
}

std::vector<TZipEntryData> MixedEntries()
{
    return {
        {"File", "pairs"},
        {"CHANNELS\\CHANNEL_0\\ChData_0", Repetitive(120000)},
        {"empty", ""},
        {"CHANNELS\\CHANNEL_0\\ChInfo_0", RandomBytes(64, 1)},
        {"noise", RandomBytes(300000, 2)},
        {"Kan\xC3\xA4le\\\xC2\xB0" "C", "utf-8 name"},
        {"CHANNELS\\CHANNEL_0\\ChDesc_0", std::string(1, '\0')},
    };
}

void WriteArchive(const std::string& path, const std::vector<TZipEntryData>& entries, unsigned threads,
                  std::uint64_t zip64Threshold)
{
    plat::TZipFile zip;
    zip.SetCompressionThreads(threads);
    zip.SetZip64Threshold(zip64Threshold);
    zip.Open(path, plat::zmWrite);
    for (const TZipEntryData& entry : entries) {
        zip.Add(entry.Data.data(), entry.Data.size(), entry.Name);
    }
    EXPECT_EQ(zip.EntryCount(), static_cast<std::int64_t>(entries.size()));
    zip.Close();
    EXPECT_FALSE(zip.Active());
}

} // namespace qeltest

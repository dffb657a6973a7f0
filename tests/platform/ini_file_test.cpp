// Initialisation files: lookups without case, typed reads with defaults,
// writes that keep the rest of the file, and files in other encodings.
#include "platform/ini_file.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using qeltest::ReadWholeFile;
using qeltest::TempDir;
using qeltest::WriteWholeFile;

TEST(IniFile, ReadsValuesWithoutCaseAndWithDefaults)
{
    TempDir dir;
    const std::string name = dir.File("qel_reg.ini");
    WriteWholeFile(name, "; prototype key\r\n"
                         "[Settings]\r\n"
                         "  Key = bench3  \r\n"
                         "Quoted=\" spaced \"\r\n"
                         "Empty=\r\n"
                         "Key=second is ignored\r\n"
                         "[loggers]\r\n"
                         "12345=Cold room\r\n"
                         "Hex=$1F\r\n"
                         "Neg=-12\r\n"
                         "Mask=0xFFFFFFFF\r\n"
                         "Big=99999999999\r\n"
                         "Ratio=1,5\r\n"
                         "Bad=12abc\r\n"
                         "Twice=--5\r\n"
                         "HexSign=$-5\r\n"
                         "[SETTINGS]\r\n"
                         "Other=from the second section of that name\r\n");
    const plat::TIniFile ini(name);
    struct {
        const char* Section;
        const char* Ident;
        const char* Expected;
    } strings[] = {
        {"settings", "KEY", "bench3"},
        {"Settings", "Quoted", " spaced "},
        {"Settings", "Empty", ""},
        {"Settings", "Missing", "default"},
        {"Settings", "Other", "default"},
        {"Nowhere", "Key", "default"},
        {"Loggers", "12345", "Cold room"},
    };
    for (const auto& c : strings) {
        EXPECT_EQ(ini.ReadString(c.Section, c.Ident, "default"), c.Expected) << c.Section << "/" << c.Ident;
    }
    struct {
        const char* Ident;
        std::int32_t Expected;
    } integers[] = {{"Hex", 31}, {"Neg", -12}, {"Mask", -1}, {"Big", 7}, {"Bad", 7}, {"Twice", 7}, {"HexSign", 7},
                   {"12345", 7}, {"None", 7}};
    for (const auto& c : integers) {
        EXPECT_EQ(ini.ReadInteger("loggers", c.Ident, 7), c.Expected) << c.Ident;
    }
    EXPECT_TRUE(ini.ReadBool("loggers", "Neg", false));
    EXPECT_FALSE(ini.ReadBool("loggers", "Missing", false));
    EXPECT_TRUE(ini.ReadBool("loggers", "Bad", true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("loggers", "Ratio", 0), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("loggers", "Bad", 2.5), 2.5);

    EXPECT_TRUE(ini.SectionExists("LOGGERS"));
    EXPECT_FALSE(ini.SectionExists("log"));
    EXPECT_TRUE(ini.ValueExists("settings", "empty"));
    EXPECT_FALSE(ini.ValueExists("settings", "other"));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Settings", "loggers"}));
    EXPECT_EQ(ini.ReadSection("Settings"), (std::vector<std::string>{"Key", "Quoted", "Empty"}));
    EXPECT_EQ(ini.ReadSectionValues("Settings"),
              (std::vector<std::string>{"Key=bench3", "Quoted= spaced ", "Empty="}));
}

TEST(IniFile, MissingFileReadsAsEmpty)
{
    TempDir dir;
    const plat::TIniFile ini(dir.File("absent.ini"));
    EXPECT_EQ(ini.ReadString("Settings", "Key", "unknown"), "unknown");
    EXPECT_TRUE(ini.ReadSections().empty());
    EXPECT_FALSE(ini.SectionExists("Settings"));
}

TEST(IniFile, WritesGoThroughAndKeepTheOtherLines)
{
    TempDir dir;
    const std::string name = dir.File("app.ini");
    WriteWholeFile(name, "; comment stays\n[A]\nx=1\n\n[B]\ny=2\n");
    plat::TIniFile ini(name);
    ini.WriteString("a", "X", "changed");   // keeps the name's spelling
    ini.WriteInteger("A", "z", -4);          // after the section's last value, before the blank line
    ini.WriteBool("C", "flag", true);        // a new section at the end
    ini.WriteString("B", "multi", "one\r\ntwo");
    EXPECT_EQ(ReadWholeFile(name), "; comment stays\n[A]\nx=changed\nz=-4\n\n[B]\ny=2\nmulti=one  two\n\n[C]\nflag=1\n");
    EXPECT_EQ(plat::TIniFile(name).ReadInteger("a", "Z", 0), -4);

    ini.DeleteKey("b", "Y");
    ini.EraseSection("a");
    ini.DeleteKey("Nowhere", "x");
    EXPECT_EQ(ReadWholeFile(name), "; comment stays\n[B]\nmulti=one  two\n\n[C]\nflag=1\n");

    const plat::TIniFile created(dir.File("new.ini"));
    plat::TIniFile(dir.File("new.ini")).WriteString("Settings", "Key", "lab");
    EXPECT_EQ(created.ReadString("Settings", "Key", ""), "lab");
}

TEST(IniFile, LineEndingsOfTheFileAreKept)
{
    TempDir dir;
    const std::string name = dir.File("crlf.ini");
    WriteWholeFile(name, "[A]\r\nx=1\r\n");
    plat::TIniFile(name).WriteString("A", "y", "2");
    EXPECT_EQ(ReadWholeFile(name), "[A]\r\nx=1\r\ny=2\r\n");
}

TEST(IniFile, WriteIntoAnUnwritableFolderRaises)
{
    TempDir dir;
    plat::TIniFile ini(dir.File("missing/app.ini"));
    try {
        ini.WriteString("A", "x", "1");
        FAIL() << "no error raised";
    } catch (const plat::EIniFileException& error) {
        EXPECT_NE(std::string(error.what()).find("missing/app.ini"), std::string::npos) << error.what();
    }
}

TEST(IniFile, ReadsAnsiUtf8WithMarkAndUtf16Files)
{
    TempDir dir;
    const struct {
        const char* Label;
        std::string Bytes;
    } files[] = {
        {"Windows-1252", "[loggers]\r\n7=K\xFChlraum\r\n"},
        {"UTF-8 with mark", "\xEF\xBB\xBF[loggers]\n7=K\xC3\xBChlraum\n"},
        {"UTF-8", "[loggers]\n7=K\xC3\xBChlraum\n"},
        {"UTF-16 LE with mark", std::string("\xFF\xFE[\0l\0o\0g\0g\0e\0r\0s\0]\0\n\0" "7\0=\0K\0\xFC\0h\0l\0r\0a\0u\0m\0", 42)},
    };
    for (const auto& file : files) {
        const std::string name = dir.File("names.txt");
        WriteWholeFile(name, file.Bytes);
        EXPECT_EQ(plat::TIniFile(name).ReadString("loggers", "7", ""), "K\xC3\xBChlraum") << file.Label;
    }
}

} // namespace

// Tests of the settings records, their registry class, the settings key and
// the texts of stored real numbers.
#include "foundations/settings.h"

#include "foundations/language_switch.h"
#include "foundations/qel_registry.h"
#include "platform/known_folders.h"
#include "platform/locale.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

namespace qel {
namespace {

TEST(Settings, Defaults)
{
    RegSettings.sRegValAuditDir = "/audit";
    RegSettings.iRegLanguage = 0;
    RegSettings.bRegCheckRange = false;
    RegReader.OutputMode = 9;
    RegPrototype.VersionPC = 7;
    SetDefaultSettings();
    EXPECT_EQ(RegSettings.iRegPortSearch, 2);
    EXPECT_EQ(RegSettings.sRegPort, "COM1");
    EXPECT_EQ(RegSettings.sRegFileDir, "");
    EXPECT_EQ(RegSettings.sRegFileExt, ".qel");
    EXPECT_EQ(RegSettings.sRegTemplateExt, ".qse");
    EXPECT_EQ(RegSettings.sQEL, "QEL");
    EXPECT_EQ(RegSettings.iRegLanguage, -1);
    EXPECT_EQ(RegSettings.iRegIntern, 0);
    EXPECT_TRUE(RegSettings.bRegCheckRange);
    EXPECT_EQ(RegSettings.iRegValHint, 0);
    EXPECT_EQ(RegSettings.iRegLocDate, 0);
    EXPECT_EQ(RegSettings.iRegLocDecimalSeparator, 0);
    EXPECT_EQ(RegSettings.sRegValAuditDir, "/audit");
    EXPECT_FALSE(RegReader.Report);
    EXPECT_EQ(RegReader.FileMode, 1);
    EXPECT_EQ(RegReader.OutputMode, 2);
    EXPECT_FALSE(RegReader.MultipleQEL);
    EXPECT_FALSE(RegReader.ForceExtQEL);
    EXPECT_EQ(RegPrototype.VersionPC, 7);
    RegSettings.sRegValAuditDir.clear();
    RegPrototype = TRegPrototype{};
}

TEST(Settings, StoredRealNumbers)
{
    EXPECT_EQ(FloatToRegStr(1.5, "x"), " 1.50000000000000E+0000");
    EXPECT_EQ(FloatToRegStr(-0.06, "x"), "-6.00000000000000E-0002");
    EXPECT_EQ(FloatToRegStr(0.0, "x"), " 0.00000000000000E+0000");
    EXPECT_EQ(FloatToRegStr(1e300, "x"), " 1.00000000000000E+0300");
    EXPECT_EQ(FloatToRegStr(std::numeric_limits<double>::quiet_NaN(), "x"), "x");
    EXPECT_EQ(FloatToRegStr(std::numeric_limits<double>::infinity(), "x"), "x");

    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"1.5", 1.5},  {" 1.50000000000000E+0000", 1.5}, {"-6.00000000000000E-0002", -0.06},
                          {"+2", 2.0},   {"1e3", 1000.0},                   {"0.06", 0.06}};
    for (const Case& c : cases) {
        EXPECT_EQ(RegStrToFloat(c.text, -1.0), c.value) << c.text;
    }
    for (const char* bad : {"", "   ", "1,5", "abc", "1.5x", "nan", "inf", "+-1", "1.5 ", "1e999"}) {
        EXPECT_EQ(RegStrToFloat(bad, -1.0), -1.0) << bad;
    }
}

using qeltest::TempDir;

// A private registry store, documents folder and program folder per test.
class SettingsTest : public ::testing::Test {
protected:
    SettingsTest()
    {
        plat::SetConfigRoot(FRoot.File("config"));
        plat::SetDocumentsFolder(FRoot.File("docs"));
        std::filesystem::create_directory(FRoot.File("prog"));
        plat::SetProgramPath(FRoot.File("prog/qelreader"));
        SelectPrototypeKey();
        SetDefaultSettings();
    }
    ~SettingsTest() override
    {
        plat::SetConfigRoot("");
        plat::SetDocumentsFolder("");
        plat::SetProgramPath("");
        RegBaseKey = DEFAULT_SETTINGS_KEY;
        SetDefaultSettings();
        RegPrototype = TRegPrototype{};
    }

    // A registry object with the key open for writing.
    static plat::TRegistry KeyForWriting(const std::string& key)
    {
        plat::TRegistry registry;
        registry.SetRootKey(plat::HKEY_CURRENT_USER);
        EXPECT_TRUE(registry.OpenKey(key, true)) << key;
        return registry;
    }

    TempDir FRoot;
};

TEST_F(SettingsTest, LoadWithoutAnyKeyKeepsTheDefaults)
{
    const plat::TFixedLocaleProvider locale("de_DE");
    const plat::TScopedLocaleProvider useLocale(locale);
    LoadSettings(READER_APP_NAME);
    EXPECT_EQ(RegSettings.iRegLanguage, -1);
    EXPECT_EQ(RegSettings.iRegValHint, 1);
    EXPECT_EQ(RegSettings.sRegFileDir, FRoot.File("docs/QEL/data/"));
    EXPECT_TRUE(std::filesystem::is_directory(FRoot.File("docs/QEL/data")));
    EXPECT_EQ(RegSettings.sRegTemplateFile, FRoot.File("prog/qelreader.qse"));
    EXPECT_EQ(RegReader.OutputMode, 2);
    EXPECT_EQ(RegPrototype.VersionPC, -1);
}

TEST_F(SettingsTest, ReportHintInIndia)
{
    const plat::TFixedLocaleProvider locale("hi_IN.UTF-8");
    const plat::TScopedLocaleProvider useLocale(locale);
    LoadSettings(READER_APP_NAME);
    EXPECT_EQ(RegSettings.iRegValHint, 2);
}

TEST_F(SettingsTest, LoadReadsTheStoredValues)
{
    {
        plat::TRegistry key = KeyForWriting(DEFAULT_SETTINGS_KEY);
        key.WriteString("Language", "1"); // of the wrong type: ignored
        key.WriteInteger("LocDate", 3);
        key.WriteInteger("CheckRange", 0);
        key.WriteInteger("ReportHint", 7);
        key.WriteString("FileDir", FRoot.Path().string());
        key.WriteString("Comport", "/dev/ttyUSB0");
        key.WriteInteger("ShowTools", 5);
    }
    KeyForWriting(DEFAULT_SETTINGS_KEY + "\\reader").WriteInteger("OutputMode", 3);
    KeyForWriting(DEFAULT_SETTINGS_KEY + "\\reader").WriteInteger("Report", 1);
    KeyForWriting(DEFAULT_SETTINGS_KEY + "\\Prototype").WriteInteger("VersionPC", 0x0105);
    KeyForWriting(DEFAULT_SETTINGS_KEY + "\\Prototype").WriteString("ReaderExe", "reader.exe");

    LoadSettings(READER_APP_NAME);
    EXPECT_EQ(RegSettings.iRegLanguage, -1);
    EXPECT_EQ(RegSettings.iRegLocDate, 3);
    EXPECT_FALSE(RegSettings.bRegCheckRange);
    EXPECT_EQ(RegSettings.iRegValHint, 7);
    EXPECT_EQ(RegSettings.sRegFileDir, FRoot.Path().string()); // taken as stored, no delimiter added
    EXPECT_EQ(RegSettings.sRegPort, "/dev/ttyUSB0");
    EXPECT_TRUE(RegSettings.bRegShowTools);
    EXPECT_EQ(RegReader.OutputMode, 3);
    EXPECT_TRUE(RegReader.Report);
    EXPECT_EQ(RegPrototype.VersionPC, 0x0105);
    EXPECT_EQ(RegPrototype.ReaderExe, "reader.exe");

    // Another program's name leaves the reader section alone.
    LoadSettings("viewer");
    EXPECT_EQ(RegReader.OutputMode, 2);
    EXPECT_EQ(RegSettings.iRegLocDate, 3);
}

TEST_F(SettingsTest, MissingDataFolderIsReplaced)
{
    KeyForWriting(DEFAULT_SETTINGS_KEY).WriteString("FileDir", FRoot.File("gone"));
    LoadSettings(READER_APP_NAME);
    EXPECT_EQ(RegSettings.sRegFileDir, FRoot.File("docs/QEL/data/"));
    EXPECT_EQ(CheckDataDir(FRoot.File("docs/")), FRoot.File("docs/"));
}

TEST_F(SettingsTest, TemplateFileKeptWhenItExists)
{
    qeltest::WriteWholeFile(FRoot.File("t.qse"), "");
    EXPECT_EQ(CheckTemplateFile(FRoot.File("t.qse")), FRoot.File("t.qse"));
    EXPECT_EQ(CheckTemplateFile(FRoot.File("missing.qse")), FRoot.File("prog/qelreader.qse"));
}

TEST_F(SettingsTest, SaveForTheReader)
{
    RegReader.MultipleQEL = false;
    SaveSettings(READER_APP_NAME);
    TQELRegistry registry;
    registry.OpenKeyRead("");
    std::vector<std::string> names{"stale"};
    registry.GetValueNames(names);
    EXPECT_TRUE(names.empty());
    registry.GetKeyNames(names);
    EXPECT_EQ(names, std::vector<std::string>{"reader"});
    registry.OpenKeyRead("\\reader");
    EXPECT_EQ(registry.GetDataType("MultipleQEL"), plat::rdInteger);
    EXPECT_EQ(registry.ReadI("MultipleQEL", -1), 0);

    RegReader.MultipleQEL = true;
    SaveSettings(READER_APP_NAME);
    registry.OpenKeyRead("\\reader");
    EXPECT_EQ(registry.ReadI("MultipleQEL", -1), 1);
}

TEST_F(SettingsTest, SaveForAnotherProgramWritesNothing)
{
    SaveSettings("somebody");
    TQELRegistry registry;
    EXPECT_TRUE(registry.KeyExists(""));
    EXPECT_FALSE(registry.KeyExists("\\reader"));
    registry.OpenKeyRead("");
    std::vector<std::string> names;
    registry.GetValueNames(names);
    EXPECT_TRUE(names.empty());
}

TEST_F(SettingsTest, TypedReadsNeverRaise)
{
    {
        TQELRegistry registry;
        registry.OpenKeyWrite("\\types");
        registry.WriteS("text", "abc");
        registry.WriteI("number", 5);
        registry.WriteB("yes", true);
        registry.WriteB("no", false);
    }
    TQELRegistry registry;
    registry.OpenKeyRead("\\types");
    EXPECT_EQ(registry.ReadI("text", -7), -7);
    EXPECT_EQ(registry.ReadS("number", "def"), "def");
    EXPECT_TRUE(registry.ReadB("number", false));
    EXPECT_TRUE(registry.ReadB("yes", false));
    EXPECT_FALSE(registry.ReadB("no", true));
    EXPECT_FALSE(registry.ReadB("text", false));
    EXPECT_EQ(registry.ReadI("missing", 42), 42);
    EXPECT_EQ(registry.ReadS("text", ""), "abc");
    // Read-only: a write is ignored without raising.
    registry.WriteI("number", 6);
    EXPECT_EQ(registry.ReadI("number", 0), 5);
}

TEST_F(SettingsTest, FailedOpenReadsDefaultsAndWritesNothing)
{
    plat::TRegistry root; // no key open: acts on the root
    root.WriteInteger("Language", 0);
    TQELRegistry registry;
    registry.OpenKeyRead("\\absent");
    EXPECT_EQ(registry.ReadI("Language", -1), -1);
    registry.WriteI("Language", 3);
    EXPECT_FALSE(registry.KeyExists("\\absent"));
    EXPECT_EQ(root.ReadInteger("Language"), 0);
}

TEST_F(SettingsTest, DefaultKeyWithoutRedirectFile)
{
    EXPECT_EQ(RegBaseKey, "\\Software\\Torvandix\\QEL");
}

TEST_F(SettingsTest, RedirectFileMovesTheKey)
{
    qeltest::WriteWholeFile(FRoot.File("prog/qel_reg.ini"), "[Settings]\r\nKey=lab\r\n");
    SelectPrototypeKey();
    EXPECT_EQ(RegBaseKey, "\\Software\\Torvandix\\QEL_Prototypes\\lab");
    plat::TRegistry registry;
    EXPECT_TRUE(registry.KeyExists("\\Software\\Torvandix\\QEL_Prototypes\\lab"));

    KeyForWriting(RegBaseKey).WriteInteger("LocDate", 5);
    LoadSettings(READER_APP_NAME);
    EXPECT_EQ(RegSettings.iRegLocDate, 5);
    SaveSettings(READER_APP_NAME);
    EXPECT_TRUE(registry.KeyExists("\\Software\\Torvandix\\QEL_Prototypes\\lab\\reader"));
    EXPECT_FALSE(registry.KeyExists(DEFAULT_SETTINGS_KEY));
}

TEST_F(SettingsTest, RedirectFileWithoutKeyValue)
{
    qeltest::WriteWholeFile(FRoot.File("prog/qel_reg.ini"), "[Other]\r\nKey=lab\r\n");
    SelectPrototypeKey();
    EXPECT_EQ(RegBaseKey, "\\Software\\Torvandix\\QEL_Prototypes\\unknown");
}

TEST_F(SettingsTest, SuiteValuesAtStartUp)
{
    struct Case {
        bool withKey;
        std::int32_t language; // stored "Language"; -99 for none
        std::int32_t expectedLanguage;
    };
    const Case cases[] = {{true, 1, 0}, {true, 0, 1}, {true, 2, 1}, {true, -99, 1}, {false, -99, 1}};
    for (const Case& c : cases) {
        plat::TRegistry cleaner;
        cleaner.DeleteKey(SUITE_KEY);
        if (c.withKey) {
            plat::TRegistry key = KeyForWriting(SUITE_KEY);
            if (c.language != -99) {
                key.WriteInteger("Language", c.language);
            }
            key.WriteInteger("intern", 8253);
            key.WriteInteger("LocDate", 4);
            key.WriteInteger("LocDecimalSeparator", 1);
            key.WriteString("FileDir", FRoot.File("prog"));
        }
        // Values of the settings key never survive start-up.
        KeyForWriting(DEFAULT_SETTINGS_KEY).WriteInteger("LocDate", 2);
        RegReader.OutputMode = 3;
        LoadSuiteSettings();
        SCOPED_TRACE(std::to_string(c.language) + (c.withKey ? " with key" : " without key"));
        EXPECT_EQ(RegSettings.iRegLanguage, c.expectedLanguage);
        EXPECT_EQ(RegSettings.iRegIntern, c.withKey ? 8253 : 0);
        EXPECT_EQ(RegSettings.iRegLocDate, c.withKey ? 4 : 0);
        EXPECT_EQ(RegSettings.iRegLocDecimalSeparator, c.withKey ? 1 : 0);
        EXPECT_EQ(RegSettings.sRegFileDir, c.withKey ? FRoot.File("prog") : FRoot.File("docs/QEL-Pro/data/"));
        EXPECT_EQ(RegReader.OutputMode, 2);
    }
}

TEST_F(SettingsTest, SuiteDataFolderWhenFileDirIsMissing)
{
    KeyForWriting(SUITE_KEY).WriteString("FileDir", FRoot.File("nowhere"));
    LoadSuiteSettings();
    EXPECT_EQ(RegSettings.sRegFileDir, FRoot.File("docs/QEL-Pro/data/"));
    EXPECT_TRUE(std::filesystem::is_directory(FRoot.File("docs/QEL-Pro/data")));
}

} // namespace
} // namespace qel

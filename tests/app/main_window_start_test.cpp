// The main window's start: the suite settings and language it starts with,
// its caption and titles, the command-line switches, the saved-file record
// and the reader section written at its end.
#include "tests/app/main_window_fixture.h"

#include "foundations/qel_registry.h"
#include "foundations/settings.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/label.h"
#include "platform/date_time.h"
#include "platform/registry.h"

#include <filesystem>
#include <optional>
#include <regex>
#include <sys/stat.h>

namespace qel::test {
namespace {

namespace fs = std::filesystem;

class MainWindowStartTest : public TMainWindowTest {};

TEST_F(MainWindowStartTest, StoredLanguageChoosesTheTexts)
{
    struct TCase {
        std::optional<std::int32_t> Language;   // nothing: no value stored
        std::string Exit;
        std::string Description;
    };
    const TCase cases[] = {
        {1, "Be&enden", "Mit diesem Programm können die Daten der mitgelieferten microSD-Karte 4GB gelesen werden."},
        {0, "E&xit", "This program can read the data of provided microSD card 4GB."},
        {2, "E&xit", "This program can read the data of provided microSD card 4GB."},
        {std::nullopt, "E&xit", "This program can read the data of provided microSD card 4GB."},
    };
    for (const TCase& c : cases) {
        const std::string name = c.Language ? std::to_string(*c.Language) : "missing";
        if (c.Language) {
            StoreSuiteInteger("Language", *c.Language);
        }
        Start();
        EXPECT_EQ(Main->btnExit->Caption(), c.Exit) << "Language " << name;
        EXPECT_EQ(Main->Label5->Caption(), c.Description) << "Language " << name;
        Stop();
        plat::TRegistry registry;
        if (registry.OpenKey(SUITE_KEY, false)) {
            registry.DeleteValue("Language");
        }
    }
}

TEST_F(MainWindowStartTest, DataFolderIsKeptWhenItExistsElseMadeInTheDocuments)
{
    const std::string existing = Dir.File("my data/");
    fs::create_directories(existing);
    StoreSuiteString("FileDir", existing);
    Start();
    EXPECT_EQ(RegSettings.sRegFileDir, existing);
    Stop();

    StoreSuiteString("FileDir", Dir.File("gone/"));
    Start();
    EXPECT_EQ(RegSettings.sRegFileDir, Documents() + "/QEL-Pro/data/");
    EXPECT_TRUE(fs::is_directory(Documents() + "/QEL-Pro/data"));
}

TEST_F(MainWindowStartTest, NoUsableDataFolderFallsBackToTheHomeFolder)
{
    // A file where the documents folder should be: no data folder can be made.
    qeltest::WriteWholeFile(Documents(), "not a folder");
    Start();
    EXPECT_EQ(RegSettings.sRegFileDir, Dir.File("home") + "/");
}

TEST_F(MainWindowStartTest, DamagedStoreOrWrongTypesGiveDefaults)
{
    StoreSuiteString("Language", "1");   // a string where an integer belongs
    StoreSuiteInteger("FileDir", 7);     // and the other way round
    Start();
    EXPECT_EQ(Main->btnExit->Caption(), "E&xit");
    EXPECT_EQ(RegSettings.sRegFileDir, Documents() + "/QEL-Pro/data/");
    Stop();

    for (const auto& entry : fs::recursive_directory_iterator(Dir.File("config"))) {
        if (entry.is_regular_file()) {
            qeltest::WriteWholeFile(entry.path().string(), std::string("\x01\xff garbage [[[\n=\n", 17));
        }
    }
    Start();
    EXPECT_EQ(Main->btnExit->Caption(), "E&xit");
    EXPECT_EQ(Main->PageIndex(), PAGE_START);
}

TEST_F(MainWindowStartTest, CaptionAndTitleCarryTheVersionAndTheDebugMode)
{
    Start();
    EXPECT_EQ(Main->Caption(), "QEL KORVEL X2 r6.11.01 [64]  ");
    EXPECT_EQ(App->Title(), "KORVEL ");
    // The window's design: 518 by 297 inside, also its smallest size, and
    // the UI font of 12 pixels (DejaVu Sans stands in for it).
    EXPECT_EQ(Main->ClientWidth(), 518);
    EXPECT_EQ(Main->ClientHeight(), 297);
    EXPECT_EQ(Main->BorderStyle(), plat::bsSizeable);
    EXPECT_EQ(Main->Constraints().MinWidth, Main->Width());
    EXPECT_EQ(Main->Constraints().MinHeight, Main->Height());
    EXPECT_EQ(Main->Font()->Name(), "Segoe UI");
    EXPECT_EQ(Main->Font()->Height(), -12);
    Stop();

    Start({"d:1"});
    EXPECT_EQ(Main->Caption(), "QEL KORVEL X2 r6.11.01 [64]   [dbm_dir]");
    Main->SetCaption("x");
    EXPECT_EQ(Main->Caption(), "QEL KORVEL X2 r6.11.01 [64]  x [dbm_dir]");
}

TEST_F(MainWindowStartTest, SwitchesMatchTheKeyWithoutCaseAndTheValueWithIt)
{
    struct TCase {
        std::string Arg;
        int FormatEntry;
        bool FormatEnabled;
        std::string CaptionEnd;
    };
    const TCase cases[] = {
        {"t:matlab", 1, false, "[64]  "},
        {"T:matlab", 1, false, "[64]  "},
        {"t:MATLAB", 0, true, "[64]  "},
        {"t:matlabx", 0, true, "[64]  "},
        {"d:abc", 0, true, "[64]  "},
        {"D:2", 0, true, "[64]   [dbm_page]"},
        {"x:matlab", 0, true, "[64]  "},
    };
    for (const TCase& c : cases) {
        Start({c.Arg});
        EXPECT_EQ(Main->cbxCutFileFormat->ItemIndex(), c.FormatEntry) << c.Arg;
        EXPECT_EQ(Main->cbxCutFileFormat->Enabled(), c.FormatEnabled) << c.Arg;
        const std::string caption = Main->Caption();
        EXPECT_TRUE(caption.ends_with(c.CaptionEnd)) << c.Arg << ": " << caption;
        Stop();
    }
}

TEST_F(MainWindowStartTest, SavedFileRecordStartsWithDateAndTimeAndListsEveryFile)
{
    plat::TFixedWallClock clock(1715934600000);   // 2024-05-17 08:30:00 UTC
    plat::TScopedWallClock useClock(clock);
    const std::string record = Dir.File("saved.txt");
    qeltest::WriteWholeFile(record, "old content that must go");
    Start({"F:" + record});
    ASSERT_TRUE(Main->LogFileActive());
    Main->AddSaveInfo("/data/QEL1 Grüße.qel");
    Main->AddSaveInfo("/data/QEL2.zip");
    Stop();
    const std::string text = qeltest::ReadWholeFile(record);
    const std::string firstLine = text.substr(0, text.find("\r\n"));
    EXPECT_TRUE(std::regex_match(firstLine, std::regex(R"(QEL \S+ \S+)"))) << firstLine;
    EXPECT_EQ(text.substr(firstLine.size()), "\r\n/data/QEL1 Grüße.qel\r\n/data/QEL2.zip\r\n");
}

TEST_F(MainWindowStartTest, SavedFileRecordThatCannotBeMadeStaysClosedSilently)
{
    const std::string readOnly = Dir.File("read-only.txt");
    qeltest::WriteWholeFile(readOnly, "kept");
    chmod(readOnly.c_str(), 0444);
    fs::create_directories(Dir.File("a folder"));
    for (const std::string& name : {Dir.File("missing/record.txt"), Dir.File("a folder"), readOnly}) {
        Start({"f:" + name});
        EXPECT_FALSE(Main->LogFileActive()) << name;
        Main->AddSaveInfo("/data/file.qel");
        EXPECT_TRUE(Dialogs.Shown().empty()) << name;
        Stop();
        EXPECT_FALSE(fs::exists(Dir.File("missing"))) << name;
    }
    EXPECT_EQ(qeltest::ReadWholeFile(readOnly), "kept");
}

TEST_F(MainWindowStartTest, EndWritesTheReaderSection)
{
    Start();
    Stop();
    plat::TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(RegBaseKey + "\\reader"));
    ASSERT_TRUE(registry.ValueExists("MultipleQEL"));
    EXPECT_FALSE(registry.ReadBool("MultipleQEL"));
}

// The settings key is loaded under "reader" before the suite values: its
// prototype section stays read, everything else of it is back at its default.
TEST_F(MainWindowStartTest, SettingsKeyIsLoadedForItsPrototypeSectionOnly)
{
    {
        plat::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(RegBaseKey + "\\Prototype", true));
        registry.WriteInteger("VersionPC", 0x0123);
        registry.WriteString("ReaderExe", "reader.exe");
        ASSERT_TRUE(registry.OpenKey(RegBaseKey + "\\reader", true));
        registry.WriteInteger("Report", 1);
        registry.WriteInteger("OutputMode", 3);
    }
    Start();
    EXPECT_EQ(RegPrototype.VersionPC, 0x0123);
    EXPECT_EQ(RegPrototype.ReaderExe, "reader.exe");
    EXPECT_FALSE(RegReader.Report);
    EXPECT_EQ(RegReader.OutputMode, 2);
    EXPECT_EQ(RegSettings.sRegFileDir, Documents() + "/QEL-Pro/data/") << "the suite's folder rule";
    EXPECT_TRUE(fs::is_directory(Documents() + "/QEL/data")) << "loading the key checks its own data folder first";
    EXPECT_FALSE(Main->btnStartReport->Visible());
    RegPrototype = TRegPrototype{};
}

} // namespace
} // namespace qel::test

// The bench of the wizard's end-to-end tests.
#include "tests/app/wizard_card_fixture.h"

#include "app/record_tree.h"
#include "foundations/file_names.h"
#include "platform/controls/standard/button.h"
#include "foundations/settings.h"
#include "foundations/suite_services.h"
#include "tools/cardgen/card_generator.h"
#include "tools/cardgen/config_area.h"
#include "tools/cardgen/tagged_records.h"

#include <filesystem>

namespace qel::test {
namespace {

constexpr std::uint16_t MODEL = 0x6606;           // QEL649
constexpr std::uint16_t VERSION = 0x0120;
constexpr std::int16_t GAP = 0x7FF0;              // the model's gap value
constexpr std::uint32_t ROWS = 40;                // rows of a page
constexpr std::int16_t ROW_STEP_UNITS = 100;      // page time units between rows
constexpr std::int64_t UNIT_TICKS = 1000;         // ticks of a page time unit
constexpr std::uint64_t FIRST_START_UNITS = 100 * 1024;   // 100 s, a whole second

std::int16_t RawOf(std::uint32_t Serial, std::uint32_t Page, std::uint32_t Row, std::uint32_t Channel)
{
    if (Row % 7 == 3 && Channel % 2 == 0) {
        return GAP;
    }
    return static_cast<std::int16_t>(Serial % 1000 * 3 + Page * 97 + Row * 13 - Channel * 500);
}

cardgen::TRecordingDescription Recording(std::uint32_t Serial, std::uint16_t PcVersion, const std::string& Name,
                                         std::uint32_t Pages, std::uint64_t StartUnits, bool Shock)
{
    cardgen::TQel649ConfigDescription config;
    config.Name = Name;
    cardgen::TTaggedBodyDescription body;
    body.Rows = ROWS;
    body.RowStepUnits = ROW_STEP_UNITS;
    body.Mask = 1u << 1 | 1u << 2 | 1u << 7;
    body.ValueChannel = 17;
    body.ValueOf = [Serial](std::uint32_t page, std::uint32_t row, std::uint32_t channel) {
        return RawOf(Serial, page, row, channel);
    };
    cardgen::TRecordingDescription recording;
    recording.Logger = {MODEL, VERSION, PcVersion, Serial, cardgen::BuildQel649Config(config)};
    recording.PageCount = Pages;
    recording.StartTimeUnits = StartUnits;
    recording.TimeStepUnits = std::uint64_t{ROWS} * ROW_STEP_UNITS;
    recording.ShockPages = Shock;
    recording.Body = std::make_shared<cardgen::TTaggedRecordBody>(body);
    return recording;
}

} // namespace

const std::vector<std::uint8_t> TWizardCardTest::CHANNELS = {1, 2, 7, 17};

TWizardCardTest::~TWizardCardTest()
{
    Stop();
}

void TWizardCardTest::Stop()
{
    if (FListener != 0) {
        plat::DestroyWindowHandle(FListener);
        FListener = 0;
    }
    FSuiteMessages = 0;
    TMainWindowTest::Stop();
}

void TWizardCardTest::WriteCard(const TWizardCard& Card)
{
    const std::string folder = Dir.File("card");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    FFirstRecording = Recording(FIRST_SERIAL, Card.PcVersion, "Cellar", Card.Pages, FIRST_START_UNITS, Card.Shock);
    cardgen::TCardDescription card;
    card.Recordings = {FFirstRecording, Recording(SECOND_SERIAL, VERSION, "Attic", 4, 900 * 1024, false)};
    // The 123456 recording's last pages continue at the card's start; its
    // first seven pages end the card, in the second container.
    const std::uint32_t wrapped = 7;
    card.Layout = {cardgen::TPlaceRecording{0, wrapped, {}}, cardgen::TPlaceRecording{1, 0, {}},
                   cardgen::TEndContainer{}, cardgen::TPlaceRecording{0, 0, wrapped}};
    cardgen::GenerateCard(card, folder);
    // qel2.dat is missing, so qel3.dat beside it is not part of the card.
    cardgen::TCardDescription stray;
    stray.Recordings = {Recording(777, VERSION, "Stray", 2, 50 * 1024, false)};
    stray.Layout = {cardgen::TPlaceRecording{0, 0, {}}};
    cardgen::GenerateCard(stray, folder, "qel3");
}

void TWizardCardTest::ReadDirectory()
{
    Dialogs.ExpectOpenFile(CardFile());
    Dialogs.ExpectMessageBox(plat::mbYes, "(qel1.dat");
    ClickOn(Main->btnStart);
    ASSERT_TRUE(PumpUntil([&] { return Main->PageIndex() == PAGE_INFO && !Main->WorkerRunning(); }));
}

void TWizardCardTest::CheckFirstLoggersRecords()
{
    TRecordTree& tree = *Main->DT;
    PDataNode logger = tree.GetFirst();
    ASSERT_NE(logger, nullptr);
    ASSERT_NE(logger->FirstChild, nullptr);
    tree.SetCheckState(logger->FirstChild, csCheckedNormal);
}

void TWizardCardTest::ReadData()
{
    ClickOn(Main->btnInfoOK);
    ASSERT_TRUE(PumpUntil([&] { return !Main->WorkerRunning() && Main->PageIndex() != PAGE_PROGRESS; }));
}

void TWizardCardTest::ReadCardToChannels(const TWizardCard& Card)
{
    WriteCard(Card);
    ReadDirectory();
    CheckFirstLoggersRecords();
    ReadData();
}

std::vector<TCardSample> TWizardCardTest::Generated(std::uint8_t Channel) const
{
    std::vector<TCardSample> samples;
    for (std::uint32_t page = 0; page < FFirstRecording.PageCount; ++page) {
        for (std::uint32_t row = 0; row < ROWS; ++row) {
            const std::uint64_t units = FFirstRecording.StartTimeUnits + page * FFirstRecording.TimeStepUnits +
                                        std::uint64_t{row} * ROW_STEP_UNITS;
            samples.push_back({static_cast<std::int64_t>(units) * UNIT_TICKS,
                               RawOf(FFirstRecording.Logger.Serial, page, row, Channel)});
        }
    }
    return samples;
}

void TWizardCardTest::ListenForSuiteMessages()
{
    FListener = plat::CreateWindowHandle(
        App->Queue(),
        [this](plat::UINT Message, plat::WPARAM WParam, plat::LPARAM LParam) -> plat::LRESULT {
            if (Message == WM_SUITE_NOTIFY) {
                EXPECT_EQ(WParam, static_cast<plat::WPARAM>(App->Handle()));
                EXPECT_EQ(LParam, 0);
                ++FSuiteMessages;
            }
            return 0;
        },
        true);
}

std::string TWizardCardTest::DataFolder()
{
    return AddBackslash(RegSettings.sRegFileDir);
}

} // namespace qel::test

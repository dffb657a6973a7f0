// Start-up and end of the program-wide state: the language switch reaches the
// chart texts, every data read empties the side-data stores registered at
// start-up, and the end empties the global lists.
#include "app/init_units.h"

#include "app/qel_port_list.h"
#include "app/qel_port_search.h"

#include "card/buffer_list.h"
#include "card/card_records.h"
#include "card/dbus_data.h"
#include "card/ext_card.h"
#include "card/fifo_data.h"
#include "card/read_card_data_thread.h"
#include "card/se_pages.h"
#include "foundations/language_switch.h"
#include "foundations/language_table.h"
#include "loggers/qel_base.h"
#include "loggers/qel_factory.h"
#include "platform/command_line.h"
#include "platform/known_folders.h"
#include "tests/support/temp_dir.h"
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_messages.h"
#include "widgets/chart/html_stacks.h"
#include "widgets/pages/pgc_intl.h"
#include "widgets/pages/pgc_validator_registry.h"

#include <gtest/gtest.h>

namespace {

class InitUnitsTest : public ::testing::Test {
protected:
    InitUnitsTest()
        : FConfig("XDG_CONFIG_HOME", FDir.File("config")), FHome("HOME", FDir.Path().string())
    {
        plat::SetProgramPath(FDir.File("QelReader"));
        qel::InitUnits();
    }
    ~InitUnitsTest() override
    {
        qel::FinalizeUnits();
        plat::SetProgramPath("");
    }

    qeltest::TempDir FDir;
    qeltest::ScopedEnv FConfig;
    qeltest::ScopedEnv FHome;
};

TEST_F(InitUnitsTest, TheChartCanvasAndFiltersAreSetUpAfterTheChartTexts)
{
    EXPECT_EQ(qel::DefaultFontName, qel::ChartText(qel::TChartMessage::DefaultFontName));
    ASSERT_NE(qel::CanvasClassList, nullptr);
    EXPECT_EQ(qel::CanvasClassList->size(), 1u);
    EXPECT_NE(qel::GradientRotateHook, nullptr);
    ASSERT_NE(qel::HtmlStacks, nullptr);
    EXPECT_TRUE(qel::HtmlStacks->Tags.empty());
}

TEST_F(InitUnitsTest, LanguageSwitchReachesTheChartTexts)
{
    const std::string english = qel::ChartText(qel::TChartMessage::Blur);
    EXPECT_EQ(qel::SetLanguage(qel::LanguageTexts, qel::LANGUAGE_GERMAN, 0, false), qel::LANGUAGE_GERMAN);
    EXPECT_EQ(qel::ChartText(qel::TChartMessage::Blur), "Weichzeichnen");
    EXPECT_EQ(qel::SetLanguage(qel::LanguageTexts, qel::LANGUAGE_FRENCH, 0, false), qel::LANGUAGE_FRENCH);
    EXPECT_EQ(qel::ChartText(qel::TChartMessage::Blur), "Flou");
    EXPECT_EQ(qel::SetLanguage(qel::LanguageTexts, qel::LANGUAGE_ENGLISH, 0, false), qel::LANGUAGE_ENGLISH);
    EXPECT_EQ(qel::ChartText(qel::TChartMessage::Blur), english);
}

TEST_F(InitUnitsTest, EveryDataReadBeginsWithEmptySideDataStores)
{
    qel::DBusDataList.addBlock(1, 2, 3);
    qel::SEPageList.Add(1, 2, 3, 4);
    qel::TQEL logger;
    qel::FifoDataList.addFifoData(logger, 1, 2, 0, 1.5f);
    ASSERT_EQ(qel::DBusDataList.Count(), 1);
    ASSERT_EQ(qel::SEPageList.Count(), 1);
    ASSERT_EQ(qel::FifoDataList.Count(), 1);

    qel::QelList.Add(qel::GetQelClass(0x6601, 0x0500)->Create().release());
    qel::ReadBufferList.SetActiveQEL(qel::QelList.GetCurrent());
    qel::ReadCardData(qel::ExtCard, qel::RecInfoList, {});

    EXPECT_EQ(qel::DBusDataList.Count(), 0);
    EXPECT_EQ(qel::SEPageList.Count(), 0);
    EXPECT_EQ(qel::FifoDataList.Count(), 0);
}

TEST_F(InitUnitsTest, FinalizeEmptiesTheGlobalLists)
{
    qel::QelList.Add(qel::GetQelClass(0x6601, 0x0500)->Create().release());
    qel::RecInfoList.Add(new qel::TCardRecord());
    qel::ExtCard.Add(new qel::TExtCardInfo());
    qel::DBusDataList.addBlock(1, 2, 3);
    qel::PortList.Add(new qel::TQelPort());
    qel::HtmlStacks->Fonts.push_back("<FONT size=8>");

    qel::FinalizeUnits();

    EXPECT_EQ(qel::QelList.Count(), 0);
    EXPECT_EQ(qel::PortList.Count(), 0);
    EXPECT_EQ(qel::RecInfoList.Count(), 0);
    EXPECT_EQ(qel::ExtCard.Count(), 0);
    EXPECT_EQ(qel::DBusDataList.Count(), 0);
    EXPECT_EQ(qel::HtmlStacks, nullptr);
    qel::InitUnits(); // the fixture ends it again
}

TEST_F(InitUnitsTest, StartUpMakesTheComponentLibrarysInternationalSupportAndValidatorList)
{
    ASSERT_NE(qel::DefaultIntlSup, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < qel::ValidatorClassNames.Count(); ++i) {
        names.push_back(qel::ValidatorClassNames.Strings(i));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"None", "TPg32OrMaskValidator", "TPg32ParadoxValidator",
                                               "TPg32RegExValidator"}));
    qel::FinalizeUnits();
    EXPECT_EQ(qel::DefaultIntlSup, nullptr);
    EXPECT_EQ(qel::ValidatorClassNames.Count(), 0);
    qel::InitUnits(); // the fixture ends it again
}

TEST_F(InitUnitsTest, StartUpKeepsThePortSwitchesOfTheCommandLine)
{
    const char* const args[] = {"QelReader", "P:/dev/ttyUSB1", "n:4711"};
    plat::SetCommandLine(3, args);
    qel::FinalizeUnits();
    qel::InitUnits();
    EXPECT_EQ(qel::PortSwitchValue(), "/dev/ttyUSB1") << "switch keys are matched without case";
    EXPECT_EQ(qel::NameSwitchValue(), "4711");
    plat::SetCommandLine(1, args);
}

} // namespace

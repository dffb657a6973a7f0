// Tests of the version text, the command-line switches and the system code.
#include "foundations/win_tools.h"

#include "platform/command_line.h"
#include "platform/known_folders.h"
#include "platform/messages.h"
#include "platform/version.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

namespace qel {
namespace {

TEST(WinTools, VersionText)
{
    struct Case {
        std::uint16_t major, minor, release, build;
        const char* text;
    };
    const Case cases[] = {
        {6, 11, 1, 2, "r6.11.01"},  {1, 2, 3, 0, "v1.02.03"},   {10, 100, 5, 1, "d10.100.05"},
        {0, 0, 0, 0, "v0.00.00"},   {1, 7, 12, 3, "v1.07.12"},  {65535, 65535, 65535, 2, "r65535.65535.65535"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatFileVersion(c.major, c.minor, c.release, c.build), c.text) << c.text;
    }
}

TEST(WinTools, VersionOfTheProgramFileOnly)
{
    const plat::TFileVersion own = plat::GetProgramFileVersion();
    EXPECT_EQ(GetFileVersionStr(plat::ProgramPath()), FormatFileVersion(own.Major, own.Minor, own.Release, own.Build));
    EXPECT_EQ(GetFileVersionStr("/no/such/program"), "v0.00.00");
    std::uint16_t major = 9, minor = 9, release = 9, build = 9;
    GetFileVersion("/no/such/program", major, minor, release, build);
    EXPECT_EQ(major + minor + release + build, 0);
}

class CommandLine : public ::testing::Test {
protected:
    void Use(std::vector<std::string> arguments)
    {
        FArguments = std::move(arguments);
        FArguments.insert(FArguments.begin(), "qelreader");
        std::vector<const char*> argv;
        for (const std::string& argument : FArguments) {
            argv.push_back(argument.c_str());
        }
        plat::SetCommandLine(static_cast<int>(argv.size()), argv.data());
    }
    void TearDown() override { plat::SetCommandLine(0, nullptr); }

private:
    std::vector<std::string> FArguments;
};

TEST_F(CommandLine, FirstMatchingArgumentWinsWithoutCase)
{
    Use({"d:1", "D:2"});
    EXPECT_EQ(GetParamValue("d:", "none"), "1");
    EXPECT_EQ(GetParamValue("D:", "none"), "1");
    Use({"x", "T:matlab", "t:MATLAB"});
    EXPECT_EQ(GetParamValue("t:", ""), "matlab");
}

TEST_F(CommandLine, KeyAloneDoesNotMatch)
{
    Use({"f:", "p:COM3"});
    EXPECT_EQ(GetParamValue("f:", "default"), "default");
    EXPECT_EQ(GetParamValue("p:", ""), "COM3");
    EXPECT_EQ(GetParamValue("n:", "none"), "none");
    Use({});
    EXPECT_EQ(GetParamValue("d:", "0"), "0");
}

TEST_F(CommandLine, ValueIsCutAfterAThousandCharacters)
{
    Use({"f:" + std::string(1010, 'a')});
    EXPECT_EQ(GetParamValue("f:", ""), std::string(1000, 'a'));
    // Characters, not bytes: a name of two-byte letters is cut between letters.
    std::string wide;
    for (int i = 0; i < 1005; ++i) {
        wide += "\xC3\xA4";
    }
    Use({"F:" + wide});
    EXPECT_EQ(GetParamValue("f:", ""), wide.substr(0, 2000));
    Use({"f:/data/Mär/log.txt"});
    EXPECT_EQ(GetParamValue("f:", ""), "/data/Mär/log.txt");
}

TEST(WinTools, SecondClaimAsksTheFirstToComeToTheFront)
{
    const std::string name = "KORVEL test " + std::to_string(::getpid());
    plat::TMessageQueue queue;
    const plat::UINT activate = plat::RegisterWindowMessage(ACTIVATE_INSTANCE_MESSAGE_NAME);
    int activations = 0;
    const plat::HWND window = plat::CreateWindowHandle(
        queue,
        [&](plat::UINT message, plat::WPARAM, plat::LPARAM) -> plat::LRESULT {
            activations += message == activate ? 1 : 0;
            return 0;
        },
        true, name);
    ASSERT_TRUE(ClaimSingleInstance(name));
    EXPECT_FALSE(ClaimSingleInstance(name));
    // The holder answers on its own thread; wait for the posted request.
    while (activations == 0 && queue.WaitMessage(10000)) {
        queue.ProcessMessages();
    }
    EXPECT_EQ(activations, 1);
    ReleaseSingleInstance();
    EXPECT_TRUE(ClaimSingleInstance(name));
    ReleaseSingleInstance();
    plat::DestroyWindowHandle(window);
}

TEST(WinTools, NoOldWindowsVersion)
{
    EXPECT_EQ(GetWinVersion(), 0);
}

} // namespace
} // namespace qel

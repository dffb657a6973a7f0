// Command-line arguments and the program file's version.
#include "platform/command_line.h"
#include "platform/known_folders.h"
#include "platform/version.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, ArgumentsByNumberWithTheProgramPathAtZero)
{
    const char* argv[] = {"./reader", "d:1", "F:/tmp/saved list.txt", ""};
    plat::SetCommandLine(4, argv);
    EXPECT_EQ(plat::ParamCount(), 3);
    EXPECT_EQ(plat::ParamStr(0), plat::ProgramPath());
    EXPECT_EQ(plat::ParamStr(1), "d:1");
    EXPECT_EQ(plat::ParamStr(2), "F:/tmp/saved list.txt");
    EXPECT_EQ(plat::ParamStr(3), "");
    EXPECT_EQ(plat::ParamStr(4), "");
    EXPECT_EQ(plat::ParamStr(-1), "");

    plat::SetCommandLine(1, argv);
    EXPECT_EQ(plat::ParamCount(), 0);
    EXPECT_EQ(plat::ParamStr(1), "");
}

TEST(Version, ProgramVersionComesFromTheBuild)
{
    const plat::TFileVersion version = plat::GetProgramFileVersion();
    EXPECT_TRUE(version.bPresent);
    EXPECT_EQ(version.Major, 6);
    EXPECT_EQ(version.Minor, 11);
    EXPECT_EQ(version.Release, 1);
    EXPECT_EQ(version.Build, 2);
}

TEST(Version, OnlyTheRunningProgramFileHasVersionInformation)
{
    const plat::TFileVersion own = plat::GetFileVersion(plat::ProgramPath());
    EXPECT_TRUE(own.bPresent);
    EXPECT_EQ(own.Minor, 11);
    EXPECT_TRUE(plat::GetFileVersion("/proc/self/exe").bPresent);   // another name of the same file

    for (const char* other : {"/bin/sh", "/no/such/file", ""}) {
        const plat::TFileVersion none = plat::GetFileVersion(other);
        EXPECT_FALSE(none.bPresent) << other;
        EXPECT_EQ(none.Major + none.Minor + none.Release + none.Build, 0) << other;
    }

    plat::SetProgramPath("/opt/qel/reader");   // a test's stand-in path counts as the program
    EXPECT_TRUE(plat::GetFileVersion("/opt/qel/./reader").bPresent);
    plat::SetProgramPath("");
}

} // namespace

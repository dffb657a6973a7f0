// Folder rules: documents folder (environment, user-dirs.dirs, home; created
// when missing), configuration and runtime folders, program path, overrides.
#include "platform/known_folders.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using qeltest::ScopedEnv;
using qeltest::TempDir;
using qeltest::WriteWholeFile;

class KnownFolders : public ::testing::Test {
protected:
    TempDir FHome;
    ScopedEnv FHomeEnv{"HOME", FHome.Path().string()};
    ScopedEnv FConfigEnv{"XDG_CONFIG_HOME", FHome.File("cfg")};
    ScopedEnv FDocumentsEnv{"XDG_DOCUMENTS_DIR", ""};
};

TEST_F(KnownFolders, DocumentsFolderFollowsTheXdgRulesInOrder)
{
    // No setting anywhere: ~/Documents, created.
    EXPECT_EQ(plat::DocumentsFolder(), FHome.File("Documents"));
    EXPECT_TRUE(std::filesystem::is_directory(FHome.File("Documents")));

    // user-dirs.dirs in the configuration root, with $HOME and an escaped quote.
    std::filesystem::create_directories(FHome.File("cfg"));
    WriteWholeFile(FHome.File("cfg/user-dirs.dirs"),
                   "# written by xdg-user-dirs\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                   "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente \\\"neu\\\"\"\n");
    EXPECT_EQ(plat::DocumentsFolder(), FHome.File("Dokumente \"neu\""));
    EXPECT_TRUE(std::filesystem::is_directory(FHome.File("Dokumente \"neu\"")));

    // The environment wins over the file; a relative value is ignored.
    {
        ScopedEnv relative("XDG_DOCUMENTS_DIR", "docs");
        EXPECT_EQ(plat::DocumentsFolder(), FHome.File("Dokumente \"neu\""));
    }
    ScopedEnv absolute("XDG_DOCUMENTS_DIR", FHome.File("env/docs/"));
    EXPECT_EQ(plat::DocumentsFolder(), FHome.File("env/docs"));
    EXPECT_TRUE(std::filesystem::is_directory(FHome.File("env/docs")));
}

TEST_F(KnownFolders, DocumentsFolderIsEmptyWhenItCannotBeCreated)
{
    WriteWholeFile(FHome.File("blocker"), "a file where a folder should go");
    ScopedEnv blocked("XDG_DOCUMENTS_DIR", FHome.File("blocker/Documents"));
    EXPECT_EQ(plat::DocumentsFolder(), "");
}

TEST_F(KnownFolders, OverridesReplaceTheRulesUntilCleared)
{
    TempDir other;
    plat::SetDocumentsFolder(other.File("docs"));
    plat::SetConfigRoot(other.File("config"));
    plat::SetRuntimeFolder(other.File("run"));
    plat::SetSysfsRoot(other.File("sys"));
    plat::SetDeviceFolder(other.File("dev"));
    EXPECT_EQ(plat::DocumentsFolder(), other.File("docs"));
    EXPECT_TRUE(std::filesystem::is_directory(other.File("docs")));
    EXPECT_EQ(plat::ConfigRoot(), other.File("config"));
    EXPECT_EQ(plat::RuntimeFolder(), other.File("run"));
    EXPECT_EQ(plat::SysfsRoot(), other.File("sys"));
    EXPECT_EQ(plat::DeviceFolder(), other.File("dev"));
    for (auto* reset : {plat::SetDocumentsFolder, plat::SetConfigRoot, plat::SetRuntimeFolder,
                        plat::SetSysfsRoot, plat::SetDeviceFolder}) {
        reset("");
    }
    EXPECT_EQ(plat::ConfigRoot(), FHome.File("cfg"));
    EXPECT_EQ(plat::SysfsRoot(), "/sys");
    EXPECT_EQ(plat::DeviceFolder(), "/dev");
}

TEST_F(KnownFolders, ConfigRootFallsBackToDotConfig)
{
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(plat::ConfigRoot(), FHome.File(".config"));
}

TEST_F(KnownFolders, RuntimeFolderFromEnvironmentOrAPrivateTmpFolder)
{
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", FHome.File("run"));
        EXPECT_EQ(plat::RuntimeFolder(), FHome.File("run"));
    }
    ScopedEnv unset("XDG_RUNTIME_DIR", "");
    const std::string folder = plat::RuntimeFolder();
    EXPECT_EQ(folder, "/tmp/" + std::to_string(getuid()) + "-qel");
    struct stat info {};
    ASSERT_EQ(lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);
    EXPECT_EQ(info.st_uid, getuid());
}

TEST_F(KnownFolders, ProgramPathIsTheRunningFileUnlessOverridden)
{
    const std::string path = plat::ProgramPath();
    EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe")) << path;
    EXPECT_EQ(plat::ProgramFolder(), std::filesystem::path(path).parent_path().string());

    plat::SetProgramPath("/opt/qel/bin/reader");
    EXPECT_EQ(plat::ProgramPath(), "/opt/qel/bin/reader");
    EXPECT_EQ(plat::ProgramFolder(), "/opt/qel/bin");
    plat::SetProgramPath("");
    EXPECT_EQ(plat::ProgramPath(), path);
}

} // namespace

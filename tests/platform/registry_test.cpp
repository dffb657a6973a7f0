// The registry class: key paths, typed values and their errors, read-only keys,
// damaged and unwritable stores, two writing processes, the serial-port key.
#include "platform/registry.h"

#include "platform/known_folders.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using qeltest::ReadWholeFile;
using qeltest::TempDir;
using qeltest::WriteWholeFile;

const std::string kSuiteKey = "\\Software\\QEL-Electronics\\QEL-Pro";

std::string ValueName(int process, int number)
{
    std::string name = "p";
    name += std::to_string(process);
    name += '_';
    name += std::to_string(number);
    return name;
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetConfigRoot(FConfig.Path().string());
        plat::SetSysfsRoot(FConfig.File("no-sysfs"));
    }
    void TearDown() override
    {
        plat::SetConfigRoot("");
        plat::SetSysfsRoot("");
    }
    std::string UserStore() const { return FConfig.File("qel/registry-user.txt"); }

    TempDir FConfig;
};

TEST_F(Registry, TypedValuesPersistAndNamesIgnoreCase)
{
    {
        plat::TRegistry writer;
        ASSERT_TRUE(writer.OpenKey(kSuiteKey, true));
        writer.WriteString("FileDir", "/home/u/QEL data");
        writer.WriteInteger("Language", 1);
        writer.WriteBool("MultipleQEL", false);
        const unsigned char blob[] = {0, 1, 254, 255};
        writer.WriteBinaryData("Window", blob, 4);
        writer.WriteInteger("LocDate", -3);
    }
    EXPECT_TRUE(std::filesystem::exists(UserStore()));

    plat::TRegistry reader;
    ASSERT_TRUE(reader.OpenKeyReadOnly("\\software\\qel-electronics\\QEL-PRO"));
    EXPECT_EQ(reader.CurrentPath(), "Software\\QEL-Electronics\\QEL-Pro");
    EXPECT_EQ(reader.ReadString("filedir"), "/home/u/QEL data");
    EXPECT_EQ(reader.ReadInteger("LANGUAGE"), 1);
    EXPECT_FALSE(reader.ReadBool("MultipleQEL"));
    EXPECT_EQ(reader.ReadInteger("LocDate"), -3);
    EXPECT_EQ(reader.GetDataType("Window"), plat::rdBinary);
    EXPECT_EQ(reader.GetDataSize("Window"), 4);
    EXPECT_EQ(reader.GetDataSize("FileDir"), 17);   // text and its terminating zero
    unsigned char back[8] = {};
    EXPECT_EQ(reader.ReadBinaryData("Window", back, 8), 4);
    EXPECT_EQ(back[2], 254);
    EXPECT_THROW(reader.ReadBinaryData("Window", back, 3), plat::ERegistryException);
    EXPECT_EQ(reader.GetValueNames(),
              (std::vector<std::string>{"FileDir", "Language", "MultipleQEL", "Window", "LocDate"}));
}

TEST_F(Registry, ReadsRaiseForMissingValuesAndOtherTypes)
{
    plat::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kSuiteKey, true));
    registry.WriteString("Language", "1");
    registry.WriteInteger("intern", 5);
    EXPECT_THROW(registry.ReadInteger("Language"), plat::ERegistryException);
    EXPECT_THROW(registry.ReadString("intern"), plat::ERegistryException);
    EXPECT_THROW(registry.ReadString("Missing"), plat::ERegistryException);
    EXPECT_THROW(registry.ReadBool("Language"), plat::ERegistryException);
    EXPECT_TRUE(registry.ReadBool("intern"));   // any integer but 0
    EXPECT_FALSE(registry.ValueExists("Missing"));
    EXPECT_EQ(registry.GetDataType("Missing"), plat::rdUnknown);
    EXPECT_EQ(registry.GetDataSize("Missing"), -1);
    EXPECT_TRUE(registry.DeleteValue("INTERN"));
    EXPECT_FALSE(registry.ValueExists("intern"));
    EXPECT_FALSE(registry.DeleteValue("intern"));
}

TEST_F(Registry, KeyPathsAbsoluteAndRelativeCreateExistDelete)
{
    plat::TRegistry registry;
    EXPECT_FALSE(registry.OpenKey("\\Software\\Torvandix\\QEL", false));
    EXPECT_FALSE(registry.KeyOpen());
    ASSERT_TRUE(registry.OpenKey("\\Software\\Torvandix\\QEL", true));
    EXPECT_TRUE(registry.KeyExists("\\Software\\Torvandix"));   // parents are created too

    ASSERT_TRUE(registry.OpenKey("reader", true));   // relative to the open key
    EXPECT_EQ(registry.CurrentPath(), "Software\\Torvandix\\QEL\\reader");
    registry.WriteBool("MultipleQEL", true);
    EXPECT_TRUE(registry.CreateKey("\\Software\\Torvandix\\QEL\\Prototype"));
    EXPECT_TRUE(registry.KeyExists("\\SOFTWARE\\torvandix\\qel\\READER"));
    EXPECT_FALSE(registry.KeyExists("nothing"));

    registry.CloseKey();
    EXPECT_EQ(registry.CurrentPath(), "");
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\Torvandix\\QEL"));   // relative to the root now
    EXPECT_EQ(registry.GetKeyNames(), (std::vector<std::string>{"Prototype", "reader"}));

    EXPECT_TRUE(registry.DeleteKey("\\Software\\Torvandix"));
    EXPECT_FALSE(registry.KeyExists("\\Software\\Torvandix\\QEL\\reader"));
    EXPECT_TRUE(registry.KeyExists("\\Software"));
    EXPECT_FALSE(registry.DeleteKey("\\Software\\Torvandix"));
    EXPECT_FALSE(registry.DeleteKey("\\"));
}

TEST_F(Registry, ReadOnlyKeysRefuseWrites)
{
    plat::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kSuiteKey, true));
    registry.WriteInteger("Language", 1);
    ASSERT_TRUE(registry.OpenKeyReadOnly(kSuiteKey));
    EXPECT_THROW(registry.WriteInteger("Language", 0), plat::ERegistryException);
    EXPECT_FALSE(registry.DeleteValue("Language"));
    EXPECT_EQ(registry.ReadInteger("Language"), 1);
    EXPECT_FALSE(registry.OpenKeyReadOnly("\\Software\\Nothing"));
}

TEST_F(Registry, DamagedStoreReadsAsEmptyAndIsKeptAsideOnTheNextWrite)
{
    {
        plat::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(kSuiteKey, true));
        registry.WriteInteger("Language", 1);
        registry.WriteString("FileDir", "/data");
    }
    const std::string complete = ReadWholeFile(UserStore());
    const std::string damaged[] = {
        complete.substr(0, complete.size() / 2),    // a half-written file
        std::string("\0\xFF\x13garbage\n", 12),   // not a store at all
        "",
    };
    for (const std::string& text : damaged) {
        WriteWholeFile(UserStore(), text);
        plat::TRegistry registry;
        EXPECT_FALSE(registry.OpenKeyReadOnly(kSuiteKey));
        EXPECT_FALSE(registry.KeyExists(kSuiteKey));
        EXPECT_TRUE(registry.GetKeyNames().empty());
    }

    WriteWholeFile(UserStore(), damaged[0]);
    plat::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("\\Software\\Torvandix\\QEL\\reader", true));
    registry.WriteBool("MultipleQEL", false);
    EXPECT_EQ(ReadWholeFile(UserStore() + ".bad"), damaged[0]);
    EXPECT_FALSE(registry.ReadBool("MultipleQEL"));
    EXPECT_FALSE(registry.KeyExists(kSuiteKey));
}

TEST_F(Registry, UnwritableStoreFailsWritesButNotReads)
{
    WriteWholeFile(FConfig.File("qel"), "a file where the store folder should be");
    plat::TRegistry registry;
    EXPECT_FALSE(registry.OpenKey(kSuiteKey, true));
    EXPECT_FALSE(registry.KeyExists(kSuiteKey));
    EXPECT_THROW(registry.CreateKey(kSuiteKey), plat::ERegistryException);
    EXPECT_THROW(registry.WriteInteger("Language", 1), plat::ERegistryException);
    EXPECT_FALSE(registry.ValueExists("Language"));
}

TEST_F(Registry, TwoProcessesWritingAtOnceLoseNoValue)
{
    constexpr int kValuesPerProcess = 60;
    int startPipe[2];
    ASSERT_EQ(pipe(startPipe), 0);
    pid_t children[2];
    for (int index = 0; index < 2; ++index) {
        children[index] = fork();
        ASSERT_GE(children[index], 0);
        if (children[index] == 0) {
            close(startPipe[1]);
            char go = 0;
            if (read(startPipe[0], &go, 1) != 1) {   // both start together
                _exit(3);
            }
            try {
                plat::TRegistry registry;
                if (!registry.OpenKey(kSuiteKey, true)) {
                    _exit(1);
                }
                for (int i = 0; i < kValuesPerProcess; ++i) {
                    registry.WriteInteger(ValueName(index, i), i);
                }
            } catch (...) {
                _exit(2);
            }
            _exit(0);
        }
    }
    close(startPipe[0]);
    ASSERT_EQ(write(startPipe[1], "gg", 2), 2);
    close(startPipe[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }

    plat::TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(kSuiteKey));
    EXPECT_EQ(registry.GetValueNames().size(), 2u * kValuesPerProcess);
    for (int index = 0; index < 2; ++index) {
        for (int i = 0; i < kValuesPerProcess; ++i) {
            EXPECT_EQ(registry.ReadInteger(ValueName(index, i)), i);
        }
    }
}

class SerialCommKey : public Registry {
protected:
    void SetUp() override
    {
        Registry::SetUp();
        plat::SetSysfsRoot(FSys.Path().string());
        // Present ports have a device; ttyS1 is a placeholder UART (type 0);
        // virtual consoles have no device at all.
        AddTty("ttyS0", true, "4");
        AddTty("ttyS1", true, "0");
        AddTty("ttyS10", true, "4");
        AddTty("ttyS2", true, "4");
        AddTty("ttyUSB0", true, nullptr);
        AddTty("ttyACM1", true, nullptr);
        AddTty("tty0", false, nullptr);
        AddTty("console", false, nullptr);
    }
    void AddTty(const std::string& name, bool withDevice, const char* type)
    {
        const auto folder = FSys.Path() / "class" / "tty" / name;
        std::filesystem::create_directories(folder);
        if (withDevice) {
            std::filesystem::create_directory(folder / "device");
        }
        if (type != nullptr) {
            WriteWholeFile((folder / "type").string(), std::string(type) + "\n");
        }
    }

    TempDir FSys;
};

TEST_F(SerialCommKey, ListsPresentPortsInNaturalOrder)
{
    plat::TRegistry registry;
    registry.SetRootKey(plat::HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenKeyReadOnly("hardware\\devicemap\\serialcomm"));
    const std::vector<std::string> names = registry.GetValueNames();
    ASSERT_EQ(names, (std::vector<std::string>{"\\Device\\VCP0", "\\Device\\Serial0", "\\Device\\Serial1",
                                               "\\Device\\Serial2", "\\Device\\VCP1"}));
    EXPECT_EQ(registry.ReadString("\\device\\vcp0"), "/dev/ttyACM1");
    EXPECT_EQ(registry.ReadString("\\Device\\Serial1"), "/dev/ttyS2");
    EXPECT_EQ(registry.ReadString("\\Device\\Serial2"), "/dev/ttyS10");
    EXPECT_EQ(registry.ReadString("\\Device\\VCP1"), "/dev/ttyUSB0");

    plat::SetDeviceFolder(FSys.File("dev"));
    EXPECT_EQ(registry.ReadString("\\Device\\Serial0"), FSys.File("dev") + "/ttyS0");
    plat::SetDeviceFolder("");
}

TEST_F(SerialCommKey, HardwareBranchIsReadOnlyAndNeverStored)
{
    plat::TRegistry registry;
    registry.SetRootKey(plat::HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(registry.KeyExists("\\HARDWARE\\DEVICEMAP"));
    EXPECT_FALSE(registry.OpenKey("\\HARDWARE\\DEVICEMAP\\SERIALCOMM", false));
    EXPECT_FALSE(registry.OpenKey("\\HARDWARE\\Other", true));
    EXPECT_THROW(registry.CreateKey("\\Hardware\\Other"), plat::ERegistryException);
    EXPECT_FALSE(registry.DeleteKey("\\HARDWARE"));
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\HARDWARE\\DEVICEMAP\\SERIALCOMM"));
    EXPECT_THROW(registry.WriteString("\\Device\\Serial9", "/dev/x"), plat::ERegistryException);

    // The machine root has its own store for other keys; the user root has no ports.
    ASSERT_TRUE(registry.OpenKey("\\SOFTWARE\\QEL", true));
    registry.WriteInteger("x", 1);
    EXPECT_TRUE(std::filesystem::exists(FConfig.File("qel/registry-machine.txt")));
    plat::TRegistry user;
    EXPECT_FALSE(user.KeyExists("\\SOFTWARE\\QEL"));
    EXPECT_FALSE(user.KeyExists("\\HARDWARE\\DEVICEMAP\\SERIALCOMM"));
}

TEST_F(SerialCommKey, NoTtyClassGivesAnEmptyKey)
{
    plat::SetSysfsRoot(FConfig.File("nothing"));
    plat::TRegistry registry;
    registry.SetRootKey(plat::HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\HARDWARE\\DEVICEMAP\\SERIALCOMM"));
    EXPECT_TRUE(registry.GetValueNames().empty());
}

} // namespace

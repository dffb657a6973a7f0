// Saves that write several files (one per channel, parts, files beside the
// parts) put them in place all together: a cancel at any file, or a disk that
// fills up at any point, leaves every former file byte for byte and no file
// of the save; a save that succeeds replaces them all and reports them after.
#include "card/dbus_data.h"
#include "export/matlab_file.h"
#include "export/matlab_save_file_thread.h"
#include "export/save_bin2_file_thread.h"
#include "export/save_bin_file_thread.h"
#include "export/save_file_thread_qel57.h"
#include "export/save_file_thread_qel649.h"
#include "foundations/qel_error.h"
#include "loggers/qel57.h"
#include "loggers/qel649.h"
#include "platform/date_time.h"
#include "tests/export/raw_value_model.h"
#include "tests/export/save_fixture.h"
#include "tests/support/scoped_time_zone.h"
#include "tests/support/small_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace {

using Folder = std::map<std::string, std::string>;   // file name -> bytes

constexpr std::uint64_t PAGE = 4096;                  // the tmpfs's unit of space

// Where a cancelling saver stops: as it begins header number CancelAt, the
// header of a channel's file (raw binary savers) or of a part (the others).
struct CancelPoint {
    virtual ~CancelPoint() = default;
    int CancelAt = -1;
};

template <class Saver>
class CancelAtHeader : public Saver, public CancelPoint {
public:
    static inline const qel::TSaveFileThreadClassInfo ClassInfo =
        qel::MakeSaveFileThreadClass<CancelAtHeader>("CancelAtHeader");
    using Saver::Saver;

protected:
    void WriteHeader(std::int64_t FirstTime) override
    {
        if (FHeaders++ == CancelAt) {
            this->Terminate();
        }
        Saver::WriteHeader(FirstTime);
    }

private:
    int FHeaders = 0;
};

class WholeSetSaveTest;

// A save of several files: its saver, the same saver cancelling itself, the
// extension, and the loggers, samples and limits that make several files.
struct SaveKind {
    const char* what;
    qel::TSaveFileThreadClass saver;
    qel::TSaveFileThreadClass cancelling;
    const char* ext;
    void (*fill)(WholeSetSaveTest&);
};

class WholeSetSaveTest : public qeltest::SaveFixture {
public:
    WholeSetSaveTest()
        : FZone("UTC0"), FClock(plat::DateTimeToUnixMs(plat::EncodeDateTime({2024, 2, 3, 14, 5, 9, 0}))),
          FUseClock(FClock)
    {
    }
    ~WholeSetSaveTest() override { qel::Mat2SetMaxValues(qel::MAT2_NO_ROW_LIMIT); }

    // n samples of a channel, one a second, with values that do not compress
    // away (so that files span several pages of the small file system).
    void AddNoise(qel::TQEL& logger, std::uint32_t channel, int n)
    {
        std::uint32_t state = 12345 + channel;
        for (int i = 0; i < n; ++i) {
            state = state * 1103515245u + 12345u;
            AddInt(logger, channel, i * static_cast<std::int64_t>(qel::TICKS_PER_SECOND),
                   static_cast<std::int16_t>((state >> 16) % 30000));
        }
    }

    void Run(const SaveKind& kind, qel::TSaveFileThreadClass Class,
             const std::function<void(qel::TSaveFileThread&)>& prepare = [](qel::TSaveFileThread&) {})
    {
        RunSave(Class, [&](qel::TSaveFileThread& saver) {
            qel::SaveBufferList.FileNameEx.ext = kind.ext;
            prepare(saver);
        });
    }

    // The files of an uninterrupted save of the kind, and its reported names;
    // the folder is empty again afterwards, the samples filled in anew.
    void Reference(const SaveKind& kind)
    {
        ResetSave();
        kind.fill(*this);
        Run(kind, kind.saver);
        ASSERT_EQ(FailureCode(), -1) << qel::LastErrorMsg();
        newFiles = Snapshot();
        reported = qel::SaveBufferList.FileList;
        ASSERT_GE(reported.size(), 3u) << "a save of several files";
        // The former files: every target but the last has one, and a file
        // of another program lies beside them.
        oldFiles = {{"notes.txt", "not the save's"}};
        for (auto it = newFiles.begin(); std::next(it) != newFiles.end(); ++it) {
            oldFiles[it->first] = "former " + it->first;
        }
        newFiles["notes.txt"] = "not the save's";
        ResetSave();
        kind.fill(*this);
    }

    Folder Snapshot() const
    {
        Folder folder;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            folder[name] = qeltest::ReadWholeFile(entry.path().string());
        }
        return folder;
    }

    void WriteFolder(const Folder& folder) const
    {
        for (const auto& [name, bytes] : folder) {
            qeltest::WriteWholeFile(dir.File(name), bytes);
        }
    }

    // "old", "new" or what else the folder holds.
    std::string Describe(const Folder& folder) const
    {
        if (folder == oldFiles) {
            return "old";
        }
        if (folder == newFiles) {
            return "new";
        }
        std::string text = "mixed:";
        for (const auto& [name, bytes] : folder) {
            const auto old = oldFiles.find(name);
            const auto fresh = newFiles.find(name);
            text += " " + name + (old != oldFiles.end() && old->second == bytes       ? "(old)"
                                  : fresh != newFiles.end() && fresh->second == bytes ? "(new)"
                                                                                      : "(other)");
        }
        return text;
    }

    Folder oldFiles;
    Folder newFiles;
    std::vector<std::string> reported;

private:
    qeltest::ScopedTimeZone FZone;
    plat::TFixedWallClock FClock;
    plat::TScopedWallClock FUseClock;
};

// Each channel's file larger than the one before, so that a limit on the
// size of a file stops the save in a later channel, with the earlier ones complete.
void RawChannels(WholeSetSaveTest& test)
{
    qeltest::RawValueModel& logger = test.AddLogger<qeltest::RawValueModel>(7, 0x1234, 0x0100);
    for (std::uint32_t channel = 0; channel < 3; ++channel) {
        test.AddNoise(logger, channel, 3000 + 2000 * static_cast<int>(channel));
    }
}

void MatlabParts(WholeSetSaveTest& test)
{
    qel::Mat2SetMaxValues(1500);
    qeltest::RawValueModel& logger = test.AddLogger<qeltest::RawValueModel>(7, 0x1234, 0x0100);
    test.AddNoise(logger, 0, 4000);
}

// Parts of a QEL57c save, each with its D-Bus order file beside it.
void BlockPartsWithOrderFiles(WholeSetSaveTest& test)
{
    qel::RecInfoList.SetMaxSize(1500);
    qel::DBusDataList.addBlock(0, 0, 0x100)->addData(0xAA);
    qel::TQEL57c& logger = test.AddLogger<qel::TQEL57c>(1, 0x661D, 0x0300);
    test.AddNoise(logger, 1, 4000);
}

void ShockParts(WholeSetSaveTest& test)
{
    qel::RecInfoList.SetMaxSize(1500);
    qel::SaveBufferList.SaveCardShockID = true;
    qel::TQEL649& logger = test.AddLogger<qel::TQEL649>(1, 0x6606, 0x0200);
    test.AddNoise(logger, 1, 4000);
}

const SaveKind KINDS[] = {
    {"bin", &qel::TSaveBinFileThread::ClassInfo, &CancelAtHeader<qel::TSaveBinFileThread>::ClassInfo, ".bin",
     RawChannels},
    {"bin2", &qel::TSaveBin2FileThread::ClassInfo, &CancelAtHeader<qel::TSaveBin2FileThread>::ClassInfo, ".bin2",
     RawChannels},
    {"mat parts", &qel::TSaveMatlabFileThread::ClassInfo, &CancelAtHeader<qel::TSaveMatlabFileThread>::ClassInfo,
     ".mat", MatlabParts},
    {"block parts with order files", &qel::TSaveFileThreadQEL57c::ClassInfo,
     &CancelAtHeader<qel::TSaveFileThreadQEL57c>::ClassInfo, ".qel", BlockPartsWithOrderFiles},
    {"shock parts", &qel::TSaveFileThreadQEL649::ClassInfo, &CancelAtHeader<qel::TSaveFileThreadQEL649>::ClassInfo,
     ".qshock", ShockParts},
};

TEST_F(WholeSetSaveTest, CompleteSaveReplacesEveryFileBeforeReportingThem)
{
    for (const SaveKind& kind : KINDS) {
        SCOPED_TRACE(kind.what);
        Reference(kind);
        WriteFolder(oldFiles);
        std::string atFirstReport;
        onSaveInfo = [this, &atFirstReport](const std::string&) {
            if (atFirstReport.empty()) {
                atFirstReport = Describe(Snapshot());
            }
        };
        Run(kind, kind.saver);

        EXPECT_EQ(Describe(Snapshot()), "new");
        EXPECT_EQ(atFirstReport, "new") << "files are reported once all are in place";
        EXPECT_EQ(Texts(qeltest::LogEntry::SaveInfo), reported);
        EXPECT_EQ(qel::SaveBufferList.FileList, reported);
    }
}

TEST_F(WholeSetSaveTest, CancelAtAnyFileLeavesEveryFormerFile)
{
    for (const SaveKind& kind : KINDS) {
        SCOPED_TRACE(kind.what);
        Reference(kind);
        const int headers = static_cast<int>(reported.size());
        for (int cancelAt = 0; cancelAt < headers; ++cancelAt) {
            SCOPED_TRACE("cancelled at header " + std::to_string(cancelAt));
            ResetSave();
            kind.fill(*this);
            WriteFolder(oldFiles);
            Run(kind, kind.cancelling,
                [cancelAt](qel::TSaveFileThread& saver) { dynamic_cast<CancelPoint&>(saver).CancelAt = cancelAt; });

            EXPECT_EQ(FailureCode(), qel::EXC_USER_ABORT);
            EXPECT_EQ(Describe(Snapshot()), "old");
            EXPECT_TRUE(Texts(qeltest::LogEntry::SaveInfo).empty());
            EXPECT_TRUE(qel::SaveBufferList.FileList.empty());
            EXPECT_EQ(qel::SaveBufferList.Count(), 0) << "the save list is emptied after a cancel too";
        }
    }
}

// The small file system holds the former files; the save's files fill it at
// every page from the first to the one that makes the save fit, so the disk
// runs full inside each file of the save in turn.
TEST_F(WholeSetSaveTest, FullDiskAtAnyPointLeavesEveryFormerFile)
{
    for (const SaveKind& kind : KINDS) {
        SCOPED_TRACE(kind.what);
        Reference(kind);
        std::uint64_t newPages = 0;
        for (const auto& [name, bytes] : newFiles) {
            newPages += (bytes.size() + PAGE - 1) / PAGE;
        }
        const std::uint64_t oldPages = oldFiles.size();
        int failures = 0;
        std::string outcome;
        for (std::uint64_t pages = oldPages; outcome != "new" && pages <= oldPages + newPages + 4; ++pages) {
            SCOPED_TRACE(std::to_string(pages) + " pages");
            const qeltest::SmallFileSystemRun run = qeltest::RunOnSmallFileSystem(dir.Path(), pages * PAGE, [&] {
                WriteFolder(oldFiles);
                if (Snapshot() != oldFiles) {
                    return std::string("no room for the former files");
                }
                Run(kind, kind.saver);
                const std::string folder = Describe(Snapshot());
                if (folder == "old" && FailureCode() != 0) {
                    return "a full disk ended the save with code " + std::to_string(FailureCode());
                }
                return folder;
            });
            if (!run.available) {
                GTEST_SKIP() << "no private tmpfs on this machine: " << run.why;
            }
            outcome = run.result;
            if (outcome == "no room for the former files") {
                continue;
            }
            ASSERT_TRUE(outcome == "old" || outcome == "new") << outcome;
            failures += outcome == "old" ? 1 : 0;
        }
        EXPECT_EQ(outcome, "new") << "the save fits at last";
        EXPECT_GE(failures, static_cast<int>(reported.size())) << "the disk ran full in every file";
    }
}

// The same without a mount, so that it runs on every machine: no file of the
// save may grow beyond a limit, set in turn to all but the last byte of each
// of the save's files. Where the files grow from one to the next
// (the raw binary channels) the save runs full in each channel after the
// channels before it are complete; the parts of the other saves are the
// same size up to the last, so there the first part is the one that fails.
TEST_F(WholeSetSaveTest, FileSizeLimitInAnyFileLeavesEveryFormerFile)
{
    for (const SaveKind& kind : KINDS) {
        SCOPED_TRACE(kind.what);
        Reference(kind);
        std::set<std::uint64_t> limits;
        std::uint64_t largest = 0;
        for (const auto& [name, bytes] : newFiles) {
            if (name != "notes.txt") {
                limits.insert(bytes.size() - 1);
                largest = std::max<std::uint64_t>(largest, bytes.size());
            }
        }
        limits.insert(largest);
        for (const std::uint64_t limit : limits) {
            SCOPED_TRACE("files of at most " + std::to_string(limit) + " bytes");
            const qeltest::SmallFileSystemRun run = qeltest::RunWithFileSizeLimit(limit, [&] {
                WriteFolder(oldFiles);
                Run(kind, kind.saver);
                const std::string folder = Describe(Snapshot());
                if (folder == "old" && FailureCode() != 0) {
                    return "the full file ended the save with code " + std::to_string(FailureCode());
                }
                if (folder == "new" && FailureCode() != -1) {
                    return "the save put its files in place and failed with code " + std::to_string(FailureCode());
                }
                return folder;
            });
            ASSERT_TRUE(run.available) << run.why;
            EXPECT_EQ(run.result, limit < largest ? "old" : "new");
        }
    }
}

} // namespace

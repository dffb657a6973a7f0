// Fixture of the save-thread tests: fresh global lists, loggers and samples
// in the read list, a window that logs status messages and callback texts in
// arrival order, and a run of a saver to its end.
#pragma once

#include "card/buffer_list.h"
#include "card/card_records.h"
#include "card/thread_status.h"
#include "export/save_file_thread.h"
#include "foundations/settings.h"
#include "loggers/qel_base.h"
#include "platform/messages.h"
#include "tests/export/block_file_reader.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qeltest {

// One entry of the window's log: a status message or a callback text.
struct LogEntry {
    enum Kind { Status, Report, SaveInfo } kind;
    plat::WPARAM state = 0;   // Status
    plat::LPARAM value = 0;
    std::string text;         // Report, SaveInfo
};

class SaveFixture : public ::testing::Test {
public:
    SaveFixture();
    ~SaveFixture() override;

    // A logger of class T added to the logger list (it becomes the current one).
    template <class T>
    T& AddLogger(std::uint32_t sn, std::uint16_t idClass, std::uint16_t idVer)
    {
        auto logger = std::make_unique<T>();
        T& ref = *logger;
        ref.SN = sn;
        ref.ID_CLASS = idClass;
        ref.ID_VER = idVer;
        ref.ID_VER_PC = idVer;
        qel::QelList.Add(logger.release());
        return ref;
    }

    // Samples of (logger, channel) into the read list.
    void AddInt(qel::TQEL& logger, std::uint32_t channel, std::int64_t time, std::int16_t value);
    void AddSingle(qel::TQEL& logger, std::uint32_t channel, std::int64_t time, float value);
    // n samples of one channel at time 0, step, 2 step ...; values 0, 1, 2 ...
    void AddSeries(qel::TQEL& logger, std::uint32_t channel, int n, std::int64_t step = 1000);

    // Ends the read, puts every read buffer in the save list, runs a thread
    // of the class to its end and gathers what reached the window.
    void RunSave(qel::TSaveFileThreadClass Class);
    // The thread is created here; prepare(thread) runs before its start.
    void RunSave(qel::TSaveFileThreadClass Class,
                 const std::function<void(qel::TSaveFileThread&)>& prepare);

    // A fresh start for the next case of a table: no thread, no log, empty
    // lists, an empty folder.
    void ResetSave();

    // Output part i ("" , "_E1" ...) of the save: its full name.
    std::string PartName(int i) const;
    // The part read with the test-side reader; the stream and block walk
    // must be complete.
    BlockFileContent ReadPart(int i) const;

    std::vector<plat::WPARAM> States() const;
    std::vector<std::string> Texts(LogEntry::Kind kind) const;
    // The lParam of the THREAD_FAILED message; -1 when there is none.
    plat::LPARAM FailureCode() const;
    std::vector<std::string> FolderEntries() const;

    TempDir dir;
    std::vector<LogEntry> log;
    std::shared_ptr<qel::TSaveFileThread> thread;
    // Callback texts of the worker thread as they were called (unmarshalled).
    std::vector<std::string> directSaveInfo;
    std::function<void(const std::string&)> onSaveInfo; // runs on the worker per saved file

private:
    plat::TMessageQueue FQueue;
    plat::HWND FWindow = 0;
    qel::TRegSettings FSavedSettings;
};

} // namespace qeltest

// Save-thread fixture: global lists reset around each test, a logging window
// on the test thread, runs of a saver thread to its end.
#include "tests/export/save_fixture.h"

#include "card/dbus_data.h"
#include "foundations/settings.h"
#include "platform/known_folders.h"

#include <algorithm>
#include <filesystem>

namespace qeltest {

namespace {

void ResetGlobals()
{
    qel::SaveBufferList.ClearAll();
    qel::ReadBufferList.ClearAll();
    qel::ReadBufferList.SetActiveQEL(nullptr);
    qel::ReadBufferList.MissionData = {};
    qel::SaveBufferList.MissionData = {};
    qel::ReadBufferList.Utc = {};
    qel::SaveBufferList.Utc = {};
    qel::SaveBufferList.SaveCardShockID = false;
    qel::SaveBufferList.FileList.clear();
    qel::SaveBufferList.FileNameEx = {};
    qel::QelList.Clear();
    qel::RecInfoList.SetMaxSize(4294967040u);
    qel::DBusDataList.clearAll();
}

} // namespace

SaveFixture::SaveFixture() : FSavedSettings(qel::RegSettings)
{
    ResetGlobals();
    plat::SetProgramPath("/opt/qel/QelReader.exe");
    FWindow = plat::CreateWindowHandle(
        FQueue,
        [this](plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) -> plat::LRESULT {
            if (message == qel::WM_SAVE_STATUS) {
                log.push_back(LogEntry{LogEntry::Status, wParam, lParam, {}});
            }
            return 0;
        },
        true);
}

SaveFixture::~SaveFixture()
{
    ResetSave();
    plat::DestroyWindowHandle(FWindow);
    ResetGlobals();
    plat::SetProgramPath("");
    qel::RegSettings = FSavedSettings;
}

void SaveFixture::ResetSave()
{
    if (thread) {
        thread->Terminate();
        thread->WaitFor();
        thread.reset();
    }
    FQueue.ProcessMessages();
    log.clear();
    directSaveInfo.clear();
    onSaveInfo = nullptr;
    ResetGlobals();
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        std::filesystem::remove_all(entry.path());
    }
}

void SaveFixture::AddInt(qel::TQEL& logger, std::uint32_t channel, std::int64_t time, std::int16_t value)
{
    qel::ReadBufferList.SetActiveQEL(&logger);
    qel::ReadBufferList.AddIntData(channel, time, value);
}

void SaveFixture::AddSingle(qel::TQEL& logger, std::uint32_t channel, std::int64_t time, float value)
{
    qel::ReadBufferList.SetActiveQEL(&logger);
    qel::ReadBufferList.addSingleData(channel, time, value);
}

void SaveFixture::AddSeries(qel::TQEL& logger, std::uint32_t channel, int n, std::int64_t step)
{
    for (int i = 0; i < n; ++i) {
        AddInt(logger, channel, i * step, static_cast<std::int16_t>(i));
    }
}

void SaveFixture::RunSave(qel::TSaveFileThreadClass Class)
{
    RunSave(Class, [](qel::TSaveFileThread&) {});
}

void SaveFixture::RunSave(qel::TSaveFileThreadClass Class, const std::function<void(qel::TSaveFileThread&)>& prepare)
{
    qel::ReadBufferList.EndRead();
    for (qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        qel::SaveBufferList.Add(buffer);
    }
    qel::SaveBufferList.FileNameEx = qel::TFileNameEx{dir.Path().string() + "/", "out", "", ".qel"};
    qel::SaveBufferList.MissionData = qel::ReadBufferList.MissionData;

    auto report = [this](const std::string& text) { log.push_back(LogEntry{LogEntry::Report, 0, 0, text}); };
    auto saved = [this](const std::string& text) { log.push_back(LogEntry{LogEntry::SaveInfo, 0, 0, text}); };
    auto savedOnUi = qel::CallOnWindowThread(FWindow, saved);
    auto saveInfo = [this, savedOnUi](const std::string& text) {
        directSaveInfo.push_back(text);
        if (onSaveInfo) {
            onSaveInfo(text);
        }
        savedOnUi(text);
    };
    thread = qel::TSaveFileThread::Create(Class, FWindow, qel::CallOnWindowThread(FWindow, report), saveInfo);
    prepare(*thread);
    thread->Start();
    thread->WaitFor();
    FQueue.ProcessMessages();
}

std::string SaveFixture::PartName(int i) const
{
    return dir.File(i == 0 ? "out.qel" : "out_E" + std::to_string(i) + ".qel");
}

BlockFileContent SaveFixture::ReadPart(int i) const
{
    BlockFileContent content = ReadBlockFile(PartName(i));
    EXPECT_TRUE(content.streamComplete) << PartName(i);
    EXPECT_TRUE(content.walkComplete) << PartName(i);
    return content;
}

std::vector<plat::WPARAM> SaveFixture::States() const
{
    std::vector<plat::WPARAM> states;
    for (const LogEntry& entry : log) {
        if (entry.kind == LogEntry::Status && entry.state != qel::THREAD_PROGRESS) {
            states.push_back(entry.state);
        }
    }
    return states;
}

std::vector<std::string> SaveFixture::Texts(LogEntry::Kind kind) const
{
    std::vector<std::string> texts;
    for (const LogEntry& entry : log) {
        if (entry.kind == kind) {
            texts.push_back(entry.text);
        }
    }
    return texts;
}

plat::LPARAM SaveFixture::FailureCode() const
{
    for (const LogEntry& entry : log) {
        if (entry.kind == LogEntry::Status && entry.state == qel::THREAD_FAILED) {
            return entry.value;
        }
    }
    return -1;
}

std::vector<std::string> SaveFixture::FolderEntries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace qeltest

// Benchmark of the wizard's middle and end on the headless back end: a
// generated card of one QEL629 logger (100 million samples by default, in
// records of 8,000 pages) read from Next on the record page to the channel
// page painted, and saved from Next on the time page (dialog answered at
// once) to the finish page painted, each against the data read and the
// container's save thread called alone on the same data in the same run
// (target: the window adds less than 5 %). Beside each run through the
// window it prints the longest time the message loop was not served (one
// pass over the waiting messages; target: under 100 ms).
// Usage: bench_wizard_read_save [million samples, default 100] [folder, default the temp folder]
#include "app/init_units.h"
#include "app/main_window.h"
#include "app/record_tree.h"
#include "app/start_up.h"
#include "card/buffer_list.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/read_card_data_thread.h"
#include "card/temp_folder.h"
#include "export/save_qrec_file_thread.h"
#include "loggers/qel_base.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/controls/application.h"
#include "platform/dialogs.h"
#include "platform/hosts/headless/headless_host.h"
#include "platform/known_folders.h"
#include "tools/cardgen/card_generator.h"
#include "tools/cardgen/page_body.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t ROWS = 80;                      // rows per page, a sample of each channel each
const std::vector<std::uint8_t> CHANNELS = {1, 5, 6};
constexpr std::uint32_t PAGES_PER_RECORD = 8000;
constexpr int ROUNDS = 3;

double Seconds(Clock::time_point Start)
{
    return std::chrono::duration<double>(Clock::now() - Start).count();
}

qel::cardgen::TCardDescription BenchCard(std::uint64_t Samples)
{
    const std::uint64_t pages = Samples / (ROWS * CHANNELS.size()) + 1;
    auto body = std::make_shared<qel::cardgen::TFourByteRecordBody>(
        qel::cardgen::TFourByteRecordBody::TLayout::SkipTwoBytes, CHANNELS, ROWS, 256,
        [](std::uint32_t page, std::uint32_t row, std::uint8_t channel) {
            return static_cast<std::int16_t>(page * 7 + row * 13 + channel * 100);
        });
    qel::cardgen::TCardDescription desc;
    std::uint64_t startUnits = 1'000'000;
    for (std::uint64_t done = 0, r = 0; done < pages; done += PAGES_PER_RECORD, ++r) {
        qel::cardgen::TRecordingDescription recording;
        recording.Logger = {0x6601, 0x0306, 0x0306, 4711, {}};
        recording.PageCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(PAGES_PER_RECORD, pages - done));
        recording.StartTimeUnits = startUnits;
        recording.TimeStepUnits = std::uint64_t{ROWS} * 256;
        recording.Body = body;
        startUnits += (recording.PageCount + 10) * recording.TimeStepUnits;
        desc.Recordings.push_back(recording);
        desc.Layout.emplace_back(qel::cardgen::TPlaceRecording{static_cast<std::size_t>(r), 0, {}});
    }
    desc.ClustersPerContainer = 1 << 20;   // 1.5 GiB containers
    return desc;
}

// Serves the window's messages until Done holds; Stall becomes the longest
// single pass over the waiting messages.
void ServeUntil(plat::THeadlessHost& Host, const std::function<bool()>& Done, double& Stall)
{
    for (;;) {
        const auto pass = Clock::now();
        Host.PumpUntilIdle();
        Stall = std::max(Stall, Seconds(pass));
        if (Done()) {
            return;
        }
        pollfd wake{plat::Application->Queue().WakeFd(), POLLIN, 0};
        poll(&wake, 1, 1000);
    }
}

// The selected records read into the read list with the logger the window
// made, as the data reader does it.
double ReadAlone()
{
    qel::TQEL* logger = qel::QelList.GetCurrent();
    qel::SaveBufferList.ClearAll();
    qel::ReadBufferList.ClearAll();
    qel::ReadBufferList.SetActiveQEL(logger);
    qel::TCardDataReadHooks hooks;
    hooks.Terminated = [] { return false; };
    hooks.Percent = [](std::int64_t) {};
    const auto start = Clock::now();
    qel::ReadCardData(qel::ExtCard, qel::RecInfoList, hooks);
    return Seconds(start);
}

// The container's save thread alone on every buffer of the read.
double SaveAlone(const std::string& Folder)
{
    qel::SaveBufferList.ClearAll();
    for (qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        qel::SaveBufferList.Add(buffer);
    }
    qel::SaveBufferList.CopyFrom(qel::ReadBufferList);
    qel::SaveBufferList.FileNameEx = qel::TFileNameEx{Folder + "/", "alone", "", ".qrec"};
    auto thread = qel::TSaveFileThread::Create(&qel::TSaveQRecFileThread::ClassInfo, 0, [](const std::string&) {},
                                               [](const std::string&) {});
    const auto start = Clock::now();
    thread->Start();
    thread->WaitFor();
    return Seconds(start);
}

} // namespace

int main(int argc, char** argv)
{
    const std::uint64_t millions = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100;
    const std::filesystem::path base = argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
    const std::filesystem::path folder = base / ("bench_wizard_read_save-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "home");
    std::filesystem::create_directories(folder / "card");
    setenv("HOME", (folder / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (folder / "home/Documents").c_str(), 1);
    plat::SetProgramPath((folder / "qelreader").string());
    int status = 0;
    try {
        std::printf("generating %llu million samples in %s\n", static_cast<unsigned long long>(millions),
                    folder.c_str());
        const auto manifest = qel::cardgen::GenerateCard(BenchCard(millions * 1'000'000), (folder / "card").string());

        qel::StartUnits();
        if (!qel::InitTempFolder()) {
            throw std::runtime_error("no buffer folder");
        }
        qel::ReadBufferList.SetUseFileStream(true);
        plat::TScriptedDialogs dialogs;
        plat::TScopedDialogs useDialogs(dialogs);
        plat::THeadlessHost host;
        auto app = std::make_unique<plat::TApplication>(host);
        qel::TfrmMain* main = app->CreateForm<qel::TfrmMain>();
        main->Show();
        dialogs.ExpectOpenFile(manifest.Files[0]);
        if (manifest.Files.size() > 1) {
            dialogs.ExpectMessageBox(plat::mbYes);
        }
        double stall = 0;
        host.Click("btnStart");
        ServeUntil(host, [&] { return main->PageIndex() == qel::PAGE_INFO && !main->WorkerRunning(); }, stall);
        qel::TRecordTree& tree = *main->DT;
        tree.SetCheckState(tree.GetFirst()->FirstChild, qel::csCheckedNormal);

        double bestRead = 1e9, bestWindowRead = 1e9, bestSave = 1e9, bestWindowSave = 1e9;
        double readStall = 0, saveStall = 0;
        std::int64_t samples = 0;
        for (int round = 0; round < ROUNDS; ++round) {
            main->ShowPage(qel::PAGE_INFO);
            host.PumpUntilIdle();
            auto start = Clock::now();
            host.Click("btnInfoOK");
            ServeUntil(host, [&] { return main->PageIndex() == qel::PAGE_CUT_CHANNELS && !main->WorkerRunning(); },
                       readStall);
            host.Capture(main->Handle());   // the channel page painted
            bestWindowRead = std::min(bestWindowRead, Seconds(start));
            samples = qel::ReadBufferList.GetAllCnts();

            bestSave = std::min(bestSave, SaveAlone(folder.string()));

            host.Click("btnCutChannelsNext");
            host.PumpUntilIdle();
            dialogs.ExpectSaveFile((folder / ("window" + std::to_string(round) + ".qrec")).string());
            start = Clock::now();
            host.Click("btnCutTimeNext");
            ServeUntil(host, [&] { return main->PageIndex() == qel::PAGE_FINISH && !main->WorkerRunning(); },
                       saveStall);
            host.Capture(main->Handle());   // the finish page painted
            bestWindowSave = std::min(bestWindowSave, Seconds(start));

            bestRead = std::min(bestRead, ReadAlone());
        }
        std::printf("samples read: %lld in %zu containers, %d records\n", static_cast<long long>(samples),
                    manifest.Files.size(), qel::RecInfoList.Count());
        std::printf("data read alone:                    %.3f s\n", bestRead);
        std::printf("Next on page 1 to page 7 painted:   %.3f s, window adds %.1f %% (target under 5 %%)\n",
                    bestWindowRead, (bestWindowRead / bestRead - 1) * 100);
        std::printf("  longest unserved message loop:    %.0f ms (target under 100 ms)\n", readStall * 1000);
        std::printf("container save alone:               %.3f s\n", bestSave);
        std::printf("Next on page 8 to page 2 painted:   %.3f s, window adds %.1f %% (target under 5 %%)\n",
                    bestWindowSave, (bestWindowSave / bestSave - 1) * 100);
        std::printf("  longest unserved message loop:    %.0f ms (target under 100 ms)\n", saveStall * 1000);
        app.reset();
        qel::FinalizeUnits();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_wizard_read_save: %s\n", error.what());
        status = 1;
    }
    std::filesystem::remove_all(folder);
    return status;
}

// Benchmark of the wizard's first step: a generated card (eight containers,
// three loggers, 50,000 records) read from the click on Start (the open
// dialog answered at once) to the record page painted on the headless back
// end, against the directory scan alone on the same containers, side by side
// with the files in the page cache (target: the window adds less than 5 %);
// the record tree's fill with the scan's records alone (target: under
// 0.5 s); and a card of 1,000,000 one-cluster records of three loggers read
// the same way, where the record tree fills in steps after the page is shown:
// the longest time the window does not serve its messages from the
// directory read's end until the tree is full (target: under 200 ms) and the
// page painted after the read's end (target: within 1 s).
// Usage: bench_card_selection [size in MiB, default 4096] [folder, default the temp folder]
//        [one-cluster records, default 1000000; 0 skips that case]
#include "app/init_units.h"
#include "app/main_window.h"
#include "app/record_tree.h"
#include "app/start_up.h"
#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "platform/controls/application.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/controls/standard/button.h"
#include "platform/dialogs.h"
#include "platform/hosts/headless/headless_host.h"
#include "platform/known_folders.h"
#include "tools/cardgen/card_generator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint64_t kMiB = 1 << 20;
constexpr std::uint64_t RECORDS = 50000;
constexpr int ROUNDS = 3;

// Three loggers taking turns, records recordings over eight containers.
qel::cardgen::TCardDescription BenchCard(std::uint64_t clusters, std::uint64_t records)
{
    qel::cardgen::TCardDescription desc;
    const std::uint64_t pages = std::max<std::uint64_t>(1, clusters / records);
    desc.Recordings.reserve(records);
    desc.Layout.reserve(records);
    for (std::uint64_t r = 0; r < records; ++r) {
        qel::cardgen::TRecordingDescription recording;
        recording.Logger = {0x6601, 0x0305, 0x0305, static_cast<std::uint32_t>(1000 + r % 3), {}};
        recording.PageCount = static_cast<std::uint32_t>(pages);
        recording.StartTimeUnits = 1000000 + r * 100000;
        recording.TimeStepUnits = 10;
        desc.Recordings.push_back(recording);
        desc.Layout.emplace_back(qel::cardgen::TPlaceRecording{static_cast<std::size_t>(r), 0, {}});
    }
    desc.ClustersPerContainer = (pages * records + 7) / 8;
    return desc;
}

double ScanAlone(const std::vector<std::string>& files, int& records)
{
    qel::TExtCard card;
    for (const auto& file : files) {
        card.Add(new qel::TExtCardInfo(file));
    }
    qel::TRecInfoList list;
    qel::TCardDirScanHooks hooks;
    hooks.Terminated = [] { return false; };
    hooks.Percent = [](std::int64_t) {};
    const auto start = Clock::now();
    qel::ScanCardDirectory(card, list, hooks);
    records = list.Count();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Where the time of one read through the window goes.
struct TWindowRead {
    double Total = 0;      // Start clicked to the record page painted
    double Starting = 0;   // to the progress page: the former read cleared, the reader started
    double Reading = 0;    // the progress page to the directory read's end
    double Showing = 0;    // the tree's first step filled and the record page shown
    double Painting = 0;   // the record page painted
    double Full = 0;       // the directory read's end to the record tree full
    double LongestBusy = 0;   // the longest message, from the read's end until the tree is full
};

double Seconds(Clock::time_point From, Clock::time_point To)
{
    return std::chrono::duration<double>(To - From).count();
}

// Start clicked, the dialog answered, until the record page is painted and
// the record tree full; the messages are handled one by one, each timed.
TWindowRead ThroughTheWindow(plat::THeadlessHost& Host, plat::TScriptedDialogs& Dialogs, qel::TfrmMain& Main,
                             const std::string& FirstContainer)
{
    Main.ShowPage(qel::PAGE_START);
    Host.PumpUntilIdle();
    Dialogs.ExpectOpenFile(FirstContainer);
    Dialogs.ExpectMessageBox(plat::mbYes);
    Clock::time_point progressShown{};
    Clock::time_point recordsShown{};
    Main.OnPageShown = [&](int Page) {
        (Page == qel::PAGE_PROGRESS ? progressShown : recordsShown) = Clock::now();
    };
    TWindowRead read;
    Clock::time_point readEnded{};
    Clock::time_point painted{};
    bool shown = false;
    const auto start = Clock::now();
    Host.Click("btnStart");
    for (;;) {
        plat::TMsg msg;
        const auto before = Clock::now();
        if (plat::Application->ProcessMessage(msg)) {
            const auto after = Clock::now();
            if (!shown && Main.PageIndex() == qel::PAGE_INFO) {
                shown = true;
                readEnded = before;   // the message that ended the read showed the page
                painted = after;
            }
            if (shown) {
                read.LongestBusy = std::max(read.LongestBusy, Seconds(before, after));
                if (!Main.DT->Filling()) {
                    read.Full = Seconds(readEnded, after);
                    break;
                }
            }
            continue;
        }
        pollfd wake{plat::Application->Queue().WakeFd(), POLLIN, 0};
        poll(&wake, 1, 1000);
    }
    Host.Capture(Main.Handle());   // what the page shows at the end
    Main.OnPageShown = nullptr;
    read.Total = Seconds(start, painted);
    read.Starting = Seconds(start, progressShown);
    read.Reading = Seconds(progressShown, readEnded);
    read.Showing = Seconds(readEnded, recordsShown);
    read.Painting = Seconds(recordsShown, painted);
    return read;
}

// A card of records recordings of one cluster each through the window.
TWindowRead ManyRecords(plat::THeadlessHost& Host, plat::TScriptedDialogs& Dialogs, qel::TfrmMain& Main,
                        const std::filesystem::path& Folder, std::uint64_t Records, int& Found)
{
    const std::filesystem::path cardFolder = Folder / "many";
    std::filesystem::create_directories(cardFolder);
    const auto manifest = qel::cardgen::GenerateCard(BenchCard(Records, Records), cardFolder.string());
    ScanAlone(manifest.Files, Found);   // the files into the page cache
    const TWindowRead read = ThroughTheWindow(Host, Dialogs, Main, manifest.Files[0]);
    Main.ShowPage(qel::PAGE_START);
    Host.PumpUntilIdle();
    std::filesystem::remove_all(cardFolder);
    return read;
}

} // namespace

int main(int argc, char** argv)
{
    const std::uint64_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 4096;
    const std::filesystem::path base = argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
    const std::uint64_t manyRecords = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1000000;
    const std::filesystem::path folder = base / ("bench_card_selection-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "home");
    std::filesystem::create_directories(folder / "card");
    setenv("HOME", (folder / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (folder / "home/Documents").c_str(), 1);
    plat::SetProgramPath((folder / "qelreader").string());
    int status = 0;
    try {
        const std::uint64_t clusters = mib * kMiB / qel::CARD_CLUSTER_SIZE;
        std::printf("generating %llu MiB (%llu clusters, %llu records) in %s\n", static_cast<unsigned long long>(mib),
                    static_cast<unsigned long long>(clusters), static_cast<unsigned long long>(RECORDS), folder.c_str());
        const auto manifest = qel::cardgen::GenerateCard(BenchCard(clusters, RECORDS), (folder / "card").string());

        qel::StartUnits();
        plat::TScriptedDialogs dialogs;
        plat::TScopedDialogs useDialogs(dialogs);
        plat::THeadlessHost host;
        auto app = std::make_unique<plat::TApplication>(host);
        qel::TfrmMain* main = app->CreateForm<qel::TfrmMain>();
        main->Show();

        int records = 0;
        double bestScan = 1e9;
        TWindowRead bestWindow;
        bestWindow.Total = 1e9;
        ScanAlone(manifest.Files, records);   // the files into the page cache
        for (int round = 0; round < ROUNDS; ++round) {
            bestScan = std::min(bestScan, ScanAlone(manifest.Files, records));
            const TWindowRead read = ThroughTheWindow(host, dialogs, *main, manifest.Files[0]);
            if (read.Total < bestWindow.Total) {
                bestWindow = read;
            }
        }
        double bestFill = 1e9;
        for (int round = 0; round < ROUNDS; ++round) {
            const auto start = Clock::now();
            main->FillRecordTree();
            bestFill = std::min(bestFill, std::chrono::duration<double>(Clock::now() - start).count());
        }
        std::printf("containers: %zu, records found: %d\n", manifest.Files.size(), records);
        std::printf("directory scan alone:         %.3f s\n", bestScan);
        std::printf("Start to record page painted: %.3f s\n", bestWindow.Total);
        std::printf("  former read cleared, reader started: %.3f s\n", bestWindow.Starting);
        std::printf("  directory read in the reader thread: %.3f s\n", bestWindow.Reading);
        std::printf("  record tree's first step, page shown: %.3f s\n", bestWindow.Showing);
        std::printf("  record page painted:                 %.3f s\n", bestWindow.Painting);
        std::printf("  the read's end to the tree full:     %.3f s\n", bestWindow.Full);
        std::printf("window adds:                  %.1f %% (target under 5 %%)\n",
                    (bestWindow.Total / bestScan - 1) * 100);
        std::printf("record tree fill:             %.3f s (target under 0.5 s)\n", bestFill);
        if (manyRecords > 0) {
            int found = 0;
            const TWindowRead many = ManyRecords(host, dialogs, *main, folder, manyRecords, found);
            std::printf("%llu one-cluster records (%d found): directory read %.3f s; after its end the page "
                        "painted in %.3f s (target within 1 s), the tree full in %.3f s; longest time without "
                        "serving messages meanwhile %.0f ms (target under 200 ms)\n",
                        static_cast<unsigned long long>(manyRecords), found, many.Reading,
                        many.Showing + many.Painting, many.Full, many.LongestBusy * 1000);
        }
        app.reset();
        qel::FinalizeUnits();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_card_selection: %s\n", error.what());
        status = 1;
    }
    std::filesystem::remove_all(folder);
    return status;
}

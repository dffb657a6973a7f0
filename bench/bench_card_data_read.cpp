// Benchmark of the card-data read: every recording of a generated card of one
// logger decoded into the read list with spill files, per logger family; prints MB of card per second and peak memory.
// A second case reads many one-cluster records of one logger against the same
// clusters as one record and prints the ratio of the two read times, by the
// clock and by processor time (which a busy machine disturbs less).
// Usage: bench_card_data_read [size in MiB, default 1024, 0 skips the first case] [folder, default the temp folder]
//        [family: qel629 | qel629c | qel649 | all] [one-cluster records, default 300000]
// Targets: at least 1,000 MB/s on one core, peak memory below 256 MiB whatever the card size;
// many records take at most twice the time of one record of the same clusters.
#include "card/buffer_list.h"
#include "card/burst_data.h"
#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/read_card_data_thread.h"
#include "card/temp_folder.h"
#include "loggers/qel_factory.h"
#include "platform/known_folders.h"
#include "tools/cardgen/card_generator.h"
#include "tools/cardgen/qel629_records.h"
#include "tools/cardgen/tagged_records.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kMiB = 1 << 20;
constexpr std::uint32_t kPagesPerRecording = 5000;
constexpr std::uint64_t kPageStepUnits = 64;

struct TFamily {
    const char* name;
    std::uint16_t model;
    std::uint16_t version;
};

const TFamily kFamilies[] = {
    {"qel629", 0x6601, 0x0500},    // four-byte records, 6 channels
    {"qel629c", 0x6601, 0x0600},   // five-bit-channel records, 6 channels
    {"qel649", 0x6606, 0x0120},    // tagged records of 4 channels and a value, a burst block of 25 lines per page
};

// The families of the many-records case: QEL629 (plain records) and QEL649 (the burst engine).
const TFamily kManyRecordFamilies[] = {kFamilies[0], kFamilies[2]};

std::int16_t ValueOf(std::uint32_t page, std::uint32_t row, std::uint32_t channel)
{
    return static_cast<std::int16_t>((page * 7 + row * 3 + channel) & 0x3FFF);
}

std::shared_ptr<qel::cardgen::IPageBody> Body(const TFamily& family)
{
    const std::vector<std::uint8_t> channels{0, 1, 2, 5, 7, 9};
    if (family.model == 0x6606) {
        qel::cardgen::TTaggedBodyDescription desc;
        desc.Rows = 41;
        desc.RowStepUnits = 1;
        desc.Mask = 0x00A3;   // channels 0, 1, 5, 7
        desc.ValueOf = ValueOf;
        desc.BurstLines = 25;   // 25 x 2560 ticks = the page step
        desc.BurstRate = 3;
        desc.BurstValueOf = ValueOf;
        return std::make_shared<qel::cardgen::TTaggedRecordBody>(desc);
    }
    if (family.version >= 0x0600) {
        return std::make_shared<qel::cardgen::TQel629cRecordBody>(
            qel::cardgen::TQel629cBodyDescription{channels, 43, 1, ValueOf, {}});
    }
    return std::make_shared<qel::cardgen::TFourByteRecordBody>(qel::cardgen::TFourByteRecordBody::TLayout::SkipTwoBytes,
                                                               channels, 43, 1, ValueOf);
}

// Recordings of one logger one after the other, each of at most pagesPerRecording
// pages, the card split in two containers.
qel::cardgen::TCardDescription BenchCard(const TFamily& family, std::uint64_t clusters, std::uint64_t pagesPerRecording)
{
    qel::cardgen::TCardDescription desc;
    const auto body = Body(family);
    const std::uint64_t recordings = (clusters + pagesPerRecording - 1) / pagesPerRecording;
    desc.Recordings.reserve(recordings);
    desc.Layout.reserve(recordings);
    for (std::uint64_t r = 0; r < recordings; ++r) {
        qel::cardgen::TRecordingDescription recording;
        recording.Logger = {family.model, family.version, family.version, 4711, {}};
        recording.PageCount = static_cast<std::uint32_t>(std::min(pagesPerRecording, clusters - r * pagesPerRecording));
        recording.FirstPageNo = static_cast<std::uint16_t>((r * pagesPerRecording) & 0x1FFF);
        recording.StartTimeUnits = 1000000 + r * (pagesPerRecording + 100) * kPageStepUnits;
        recording.TimeStepUnits = kPageStepUnits;
        recording.Body = body;
        desc.Recordings.push_back(recording);
        desc.Layout.emplace_back(qel::cardgen::TPlaceRecording{static_cast<std::size_t>(r), 0, {}});
    }
    desc.ClustersPerContainer = (clusters + 1) / 2;
    return desc;
}

// Reads every file once, so that the read measures decoding, not the disk.
void WarmPageCache(const std::vector<std::string>& files)
{
    std::vector<char> buffer(kMiB);
    for (const auto& file : files) {
        const int fd = open(file.c_str(), O_RDONLY);
        if (fd < 0) {
            throw std::runtime_error("cannot open " + file);
        }
        while (read(fd, buffer.data(), buffer.size()) > 0) {
        }
        close(fd);
    }
}

// Peak resident memory since the last ResetPeakMemory, in MiB.
double PeakMemoryMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
        }
    }
    return -1.0;
}

void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Processor time of the calling thread so far, in seconds: on a busy machine
// it shows the read's own cost beside the wall-clock time. The read runs on
// this thread; the spill files of an earlier read are deleted on another.
struct TProcessorTime {
    double user = 0.0;
    double system = 0.0;
    double Total() const { return user + system; }
};

TProcessorTime ProcessorTime()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
}

// The anchor: plain 1 MiB reads of the card's files, from the page cache, in seconds.
double PlainReadSeconds(const std::vector<std::string>& files)
{
    const auto start = Clock::now();
    WarmPageCache(files);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The anchor of the spill: bytes written round-robin into files new files
// of folder in aligned 32 KiB writes, as the read's buffers spill them;
// answers the seconds of the writes (the files are removed afterwards). The
// system's cost of such writes depends much on the free memory it finds.
double PlainSpillSeconds(std::uintmax_t bytes, int files, const std::filesystem::path& folder)
{
    constexpr std::size_t kWrite = 32 * 1024;
    std::vector<char> block(kWrite, 1);
    std::vector<int> fds;
    std::vector<std::string> names;
    for (int i = 0; i < std::max(files, 1); ++i) {
        names.push_back((folder / ("plain-spill-" + std::to_string(i))).string());
        fds.push_back(open(names.back().c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600));
        if (fds.back() < 0) {
            throw std::runtime_error("cannot create " + names.back());
        }
    }
    const auto start = Clock::now();
    for (std::uintmax_t written = 0; written < bytes;) {
        for (const int fd : fds) {
            if (write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) {
                throw std::runtime_error("a plain spill write failed");
            }
            written += block.size();
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (std::size_t i = 0; i < fds.size(); ++i) {
        close(fds[i]);
        std::filesystem::remove(names[i]);
    }
    return seconds;
}

// What one read of a whole card gave.
struct TReadResult {
    int records = 0;
    int channels = 0;
    std::int64_t samples = 0;
    std::uintmax_t spilled = 0;   // bytes in the spill files
    double seconds = 0.0;
    double cpuSeconds = 0.0;   // processor time of the read
    double userSeconds = 0.0;  //   of it in the program
    double plainSeconds = 0.0; // plain reads of the same files
    double plainSpillSeconds = 0.0; // plain writes of as many bytes as the spill files took
    double peakMiB = 0.0;
};

// Writes the card into cardFolder; answers its container files.
std::vector<std::string> WriteCard(const qel::cardgen::TCardDescription& card, const std::filesystem::path& cardFolder)
{
    std::filesystem::create_directories(cardFolder);
    return qel::cardgen::GenerateCard(card, cardFolder.string()).Files;
}

// Selects every record the scan of the card finds and reads them into the
// read list with spill files; only the read is timed. The card's folder is removed.
TReadResult ReadCard(const std::vector<std::string>& files, const std::filesystem::path& cardFolder)
{
    WarmPageCache(files);
    qel::ExtCard.Clear();
    for (const auto& file : files) {
        qel::ExtCard.Add(new qel::TExtCardInfo(file));
    }
    qel::RecInfoList.Clear();
    qel::ScanCardDirectory(qel::ExtCard, qel::RecInfoList, {});
    for (int i = 0; i < qel::RecInfoList.Count(); ++i) {
        qel::RecInfoList.GetItem(i)->Selected = true;
    }
    if (!qel::RecInfoList.Start()) {
        throw std::runtime_error("the scan found no recording");
    }
    const auto& info = dynamic_cast<qel::TCardRecord&>(*qel::RecInfoList.GetCurrent()).Info;
    qel::QelList.Clear();
    qel::ReadBufferList.ClearAll();
    qel::TQEL* logger = qel::GetQelClass(info.QEL_CLASS, info.QEL_VER_PC)->Create().release();
    qel::QelList.Add(logger);
    logger->ID_CLASS = info.QEL_CLASS;
    logger->ID_VER_PC = info.QEL_VER_PC;
    logger->ID_VER = info.QEL_VER;
    qel::ReadBufferList.SetActiveQEL(logger);
    qel::ReadBufferList.SetUseFileStream(true);

    TReadResult result;
    malloc_trim(0);   // what the card's generation freed does not count
    ResetPeakMemory();
    result.plainSeconds = PlainReadSeconds(files);
    const TProcessorTime cpuStart = ProcessorTime();
    const auto start = Clock::now();
    qel::ReadCardData(qel::ExtCard, qel::RecInfoList, {});
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const TProcessorTime cpuEnd = ProcessorTime();
    result.cpuSeconds = cpuEnd.Total() - cpuStart.Total();
    result.userSeconds = cpuEnd.user - cpuStart.user;
    result.peakMiB = PeakMemoryMiB();

    result.records = qel::RecInfoList.Count();
    result.channels = qel::ReadBufferList.Count();
    for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        result.samples += buffer->GetCnt();
        result.spilled += std::filesystem::file_size(buffer->GetExtFileName());
    }
    // With the card and the spill files still there, as the read had them.
    result.plainSpillSeconds = PlainSpillSeconds(result.spilled, result.channels, cardFolder.parent_path());
    qel::ReadBufferList.ClearAll();
    qel::RecInfoList.Clear();
    qel::ExtCard.Clear();
    qel::QelList.Clear();
    std::filesystem::remove_all(cardFolder);
    return result;
}

void RunFamily(const TFamily& family, std::uint64_t mib, const std::filesystem::path& folder)
{
    const std::uint64_t clusters = mib * kMiB / qel::CARD_CLUSTER_SIZE;
    const std::filesystem::path cardFolder = folder / family.name;
    const std::vector<std::string> files = WriteCard(BenchCard(family, clusters, kPagesPerRecording), cardFolder);
    const TReadResult read = ReadCard(files, cardFolder);
    const double cardMB = static_cast<double>(clusters) * qel::CARD_CLUSTER_SIZE / 1e6;
    std::printf("%-8s %6d records, %4d channels, %11lld samples, spill %7.1f MB: %6.3f s, %7.1f MB/s of card data "
                "(target at least 1000), by processor time %7.1f MB/s (%6.3f s, %6.3f s of it in the kernel); "
                "plain 1 MiB reads of the card %7.1f MB/s, plain 32 KiB writes of the spill's bytes %6.3f s; "
                "peak memory %6.1f MiB (target below 256)\n",
                family.name, read.records, read.channels, static_cast<long long>(read.samples),
                static_cast<double>(read.spilled) / 1e6, read.seconds, cardMB / read.seconds, cardMB / read.cpuSeconds,
                read.cpuSeconds, read.cpuSeconds - read.userSeconds, cardMB / read.plainSeconds,
                read.plainSpillSeconds, read.peakMiB);
}

// The same clusters read as `records` one-cluster records and as one record.
void RunManyRecords(const TFamily& family, std::uint64_t records, const std::filesystem::path& folder)
{
    const std::filesystem::path cardFolder = folder / (std::string(family.name) + "-records");
    // Each card's description is gone before its read, so the peak memory is the read's.
    const std::vector<std::string> manyFiles = WriteCard(BenchCard(family, records, 1), cardFolder);
    const TReadResult many = ReadCard(manyFiles, cardFolder);
    const std::vector<std::string> oneFiles = WriteCard(BenchCard(family, records, records), cardFolder);
    const TReadResult one = ReadCard(oneFiles, cardFolder);
    std::printf("%-8s %6d one-cluster records: %6.3f s (processor %6.3f s), %5.2f us per record, "
                "peak memory %6.1f MiB; as one record: %6.3f s (processor %6.3f s), peak memory %6.1f MiB; "
                "ratio %5.2f (processor %5.2f, target at most 2)\n",
                family.name, many.records, many.seconds, many.cpuSeconds,
                many.seconds * 1e6 / static_cast<double>(many.records), many.peakMiB, one.seconds, one.cpuSeconds,
                one.peakMiB, many.seconds / one.seconds, many.cpuSeconds / one.cpuSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    const std::uint64_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    const std::filesystem::path base = argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
    const std::string which = argc > 3 ? argv[3] : "all";
    const std::uint64_t records = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 300000;
    const std::filesystem::path folder = base / ("bench_card_data_read-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    plat::SetDocumentsFolder((folder / "documents").string());
    plat::SetProgramPath((folder / "reader.exe").string());
    int result = 0;
    try {
        if (!qel::InitTempFolder()) {
            throw std::runtime_error("no buffer folder below " + folder.string());
        }
        qel::InitBurstData();
        std::printf("card of %llu MiB per family in %s\n", static_cast<unsigned long long>(mib), folder.c_str());
        for (const TFamily& family : kFamilies) {
            if (mib > 0 && (which == "all" || which == family.name)) {
                RunFamily(family, mib, folder);
            }
        }
        std::printf("%llu one-cluster records of one logger against the same clusters as one record\n",
                    static_cast<unsigned long long>(records));
        for (const TFamily& family : kManyRecordFamilies) {
            if (which == "all" || which == family.name) {
                RunManyRecords(family, records, folder);
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_card_data_read: %s\n", error.what());
        result = 1;
    }
    qel::ClearTempFolder();
    std::filesystem::remove_all(folder);
    return result;
}

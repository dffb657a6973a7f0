// Fuzz target for the card-directory scan: the input describes a card of
// clusters with valid frames (a few loggers, page numbers, times and flags
// taken from the input) mixed with raw input bytes, in containers cut at
// input-chosen sizes; the scan must end with records that lie on the card.
#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "tools/cardgen/card_description.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class TInput {
public:
    TInput(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
    bool More() const { return FAt < FSize; }
    std::uint8_t Byte() { return FAt < FSize ? FData[FAt++] : 0; }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FAt = 0;
};

// A scratch folder for the containers, removed at exit.
struct TScratchFolder {
    TScratchFolder() : Path((std::filesystem::temp_directory_path() / ("fuzz_card_scan-" + std::to_string(getpid()))).string())
    {
        std::filesystem::create_directories(Path);
    }
    ~TScratchFolder() { std::filesystem::remove_all(Path); }
    std::string Path;
};

const std::string& Folder()
{
    static const TScratchFolder folder;
    return folder.Path;
}

// Cluster bytes of one input step: a frame of one of three loggers, or raw bytes.
qel::cardgen::TClusterBytes NextCluster(TInput& in)
{
    qel::cardgen::TClusterBytes cluster{};
    const std::uint8_t control = in.Byte();
    if ((control & 0x80) != 0) {
        for (std::size_t i = 0; i < 64 && in.More(); ++i) {
            cluster[(i * 97 + control) % cluster.size()] = in.Byte();
        }
        return cluster;
    }
    qel::cardgen::TRecordingDescription page;
    const std::uint16_t models[] = {0x6606, 0x6601, 0x6601};
    const std::uint16_t versions[] = {0x0120, 0x0305, 0x0600};
    page.Logger = {models[control % 3], versions[control % 3], versions[control % 3], 1u + (control % 3), {}};
    page.FirstPageNo = static_cast<std::uint16_t>(in.Word() & 0x1FFF);
    page.StartPageNo = static_cast<std::uint16_t>(control & 0x10 ? in.Word() : 0);
    page.StartTimeUnits = in.Word();
    page.BeginsWithStartPage = (control & 0x20) != 0;
    page.ShockPages = (control & 0x40) != 0;
    return qel::cardgen::BuildRecordingCluster(page, 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TInput in(data, size);
    const int containers = 1 + in.Byte() % 3;
    static qel::TExtCard card;   // one image for every run, as the program keeps one
    card.Clear();
    std::vector<std::int64_t> clustersIn;
    for (int c = 0; c < containers; ++c) {
        const std::string file = Folder() + "/qel" + (c == 0 ? "" : std::to_string(c)) + ".dat";
        // A new file each time: rewriting a file in place makes some file systems write it back at close.
        std::filesystem::remove(file);
        std::FILE* out = std::fopen(file.c_str(), "wb");
        if (out == nullptr) {
            std::abort();
        }
        const int clusters = in.Byte() % 12;
        for (int i = 0; i < clusters; ++i) {
            const auto cluster = NextCluster(in);
            std::fwrite(cluster.data(), 1, cluster.size(), out);
        }
        const std::uint16_t tail = in.Word() % 1536;
        for (std::uint16_t i = 0; i < tail; ++i) {
            std::fputc(0xE0, out);
        }
        std::fclose(out);
        clustersIn.push_back(clusters);
        card.Add(new qel::TExtCardInfo(file));
    }
    qel::TRecInfoList records;
    qel::ScanCardDirectory(card, records, {});
    const auto onCard = [&](const qel::TCardPosition& pos) {
        return pos.Container >= 0 && pos.Container < containers && pos.Cluster >= 0 && pos.Cluster < clustersIn[static_cast<std::size_t>(pos.Container)];
    };
    for (int i = 0; i < records.Count(); ++i) {
        const auto& record = dynamic_cast<const qel::TCardRecord&>(*records.GetItem(i));
        if (!onCard(record.FirstPos) || !onCard(record.LastPos) || (record.bMemoryCirculation && (!onCard(record.FirstPos2) || !onCard(record.LastPos2)))) {
            std::abort();
        }
    }
    return 0;
}

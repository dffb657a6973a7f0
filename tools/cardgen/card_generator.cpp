// Writes the container files of a card from its description.
#include "tools/cardgen/card_generator.h"

#include <algorithm>
#include <random>
#include <stdexcept>

namespace qel::cardgen {

TClusterBytes BuildRecordingCluster(const TRecordingDescription& recording, std::uint32_t pageIndex)
{
    const TLoggerDescription& logger = recording.Logger;
    if (logger.Config.size() > kConfigSize) {
        throw std::invalid_argument("logger configuration longer than the configuration area");
    }
    TClusterBytes cluster{};
    TClusterFields frame;
    frame.ModelCode = logger.ModelCode;
    frame.FirmwareVersion = logger.FirmwareVersion;
    frame.PcVersion = logger.PcVersion;
    frame.Serial = logger.Serial;
    frame.Kind = recording.Kind;
    frame.PageNo = static_cast<std::uint16_t>((recording.FirstPageNo + pageIndex) & kMaxPageNo);
    WriteClusterFrame(cluster, frame);
    std::copy(logger.Config.begin(), logger.Config.end(), ConfigOf(cluster).begin());

    TPageHeaderFields header;
    header.StartPage = pageIndex == 0 && recording.BeginsWithStartPage;
    header.ShockOrExtended = recording.ShockPages;
    header.TimeUnits = recording.StartTimeUnits + std::uint64_t{pageIndex} * recording.TimeStepUnits;
    header.StartPageNo = recording.StartPageNo.value_or(recording.FirstPageNo);
    const auto page = PageOf(cluster);
    if (recording.Body) {
        recording.Body->Fill(pageIndex, header, page);
    }
    WritePageHeader(page, header);
    return cluster;
}

namespace {

class TGenerator {
public:
    TGenerator(const TCardDescription& desc, const std::string& folder, const std::string& stem)
        : FDescription(desc), FWriter(folder, stem, desc.ClustersPerContainer)
    {
    }

    TCardManifest Run()
    {
        TCardManifest manifest;
        for (const TCardItem& item : FDescription.Layout) {
            TPlacedItem placed;
            placed.First = FWriter.NextPosition();
            placed.Last = placed.First;
            std::visit([&](const auto& it) { Write(it, placed); }, item);
            manifest.Items.push_back(placed);
            manifest.Clusters += placed.Count;
        }
        FWriter.Close();
        manifest.Files = FWriter.Files();
        return manifest;
    }

private:
    const TRecordingDescription& Recording(std::size_t index) const
    {
        if (index >= FDescription.Recordings.size()) {
            throw std::out_of_range("layout names a recording that does not exist");
        }
        return FDescription.Recordings[index];
    }

    void Put(const TClusterBytes& cluster, TPlacedItem& placed)
    {
        const TClusterPos at = FWriter.NextPosition();
        if (placed.Count == 0) {
            placed.First = at;
        }
        placed.Last = at;
        ++placed.Count;
        FWriter.WriteCluster(cluster);
    }

    void Write(const TPlaceRecording& item, TPlacedItem& placed)
    {
        const TRecordingDescription& recording = Recording(item.Recording);
        if (item.FromPage > recording.PageCount) {
            throw std::out_of_range("placement starts beyond the recording");
        }
        const std::uint32_t count = item.Count.value_or(recording.PageCount - item.FromPage);
        if (count > recording.PageCount - item.FromPage) {
            throw std::out_of_range("placement runs beyond the recording");
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            Put(BuildRecordingCluster(recording, item.FromPage + i), placed);
        }
    }

    void Write(const TRepeatPage& item, TPlacedItem& placed)
    {
        Put(BuildRecordingCluster(Recording(item.Recording), item.Page), placed);
    }

    void Write(const TJunkClusters& item, TPlacedItem& placed)
    {
        std::mt19937_64 random(item.Seed);
        TClusterBytes cluster{};
        for (std::uint32_t i = 0; i < item.Count; ++i) {
            if (item.Fill == TJunk::Random) {
                std::generate(cluster.begin(), cluster.end(), [&] { return static_cast<std::uint8_t>(random()); });
            }
            Put(cluster, placed);
        }
    }

    void Write(const TRawCluster& item, TPlacedItem& placed) { Put(item.Bytes, placed); }

    void Write(const TEndContainer&, TPlacedItem&) { FWriter.EndContainer(); }

    void Write(const TTrailingBytes& item, TPlacedItem&)
    {
        if (item.Count >= kClusterSize) {
            throw std::invalid_argument("trailing bytes must be fewer than a cluster");
        }
        const std::vector<std::uint8_t> bytes(item.Count, 0xA5);
        FWriter.WriteBytes(bytes);
        FWriter.EndContainer();
    }

    const TCardDescription& FDescription;
    TContainerWriter FWriter;
};

} // namespace

TCardManifest GenerateCard(const TCardDescription& desc, const std::string& folder, const std::string& stem)
{
    return TGenerator(desc, folder, stem).Run();
}

} // namespace qel::cardgen

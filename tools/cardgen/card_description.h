// Description of a generated card: the loggers' recordings and the order in
// which their clusters, junk clusters and container breaks lie on the card.
#pragma once

#include "tools/cardgen/cluster_writer.h"
#include "tools/cardgen/page_body.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace qel::cardgen {

struct TLoggerDescription {
    std::uint16_t ModelCode = 0x6606;
    std::uint16_t FirmwareVersion = 0x0200;
    std::uint16_t PcVersion = 0x0200;
    std::uint32_t Serial = 1;
    std::vector<std::uint8_t> Config;   // written from cluster byte 78, at most 396 bytes
};

// One recording of one logger: page i has the page number FirstPageNo + i
// (modulo 8192) and the header time StartTimeUnits + i * TimeStepUnits.
struct TRecordingDescription {
    TLoggerDescription Logger;
    std::uint32_t PageCount = 1;
    std::uint16_t FirstPageNo = 0;
    std::optional<std::uint16_t> StartPageNo;   // header start page; FirstPageNo when unset
    std::uint64_t StartTimeUnits = 1;
    std::uint64_t TimeStepUnits = 1;
    bool BeginsWithStartPage = true;            // page 0 carries the start flag
    std::uint8_t Kind = 0x82;
    bool ShockPages = false;                    // header bit 4 on every page
    std::shared_ptr<IPageBody> Body;            // none: the records stay zero
};

// Layout items, written in order.
struct TPlaceRecording {            // pages FromPage .. FromPage + Count - 1 of a recording
    std::size_t Recording = 0;
    std::uint32_t FromPage = 0;
    std::optional<std::uint32_t> Count;   // unset: to the recording's last page
};
struct TRepeatPage {                // the cluster of one page once more
    std::size_t Recording = 0;
    std::uint32_t Page = 0;
};
enum class TJunk { Zero, Random };
struct TJunkClusters {
    std::uint32_t Count = 1;
    TJunk Fill = TJunk::Random;
    std::uint64_t Seed = 1;
};
struct TRawCluster {
    TClusterBytes Bytes{};
};
struct TEndContainer {};            // the following clusters go to the next container
struct TTrailingBytes {             // a partial cluster that ends the current container
    std::uint32_t Count = 0;
};
using TCardItem = std::variant<TPlaceRecording, TRepeatPage, TJunkClusters, TRawCluster, TEndContainer, TTrailingBytes>;

struct TCardDescription {
    std::vector<TRecordingDescription> Recordings;
    std::vector<TCardItem> Layout;
    std::uint64_t ClustersPerContainer = 0;   // 0: containers end only at TEndContainer
};

// The cluster of page `pageIndex` of a recording, as the generator writes it.
TClusterBytes BuildRecordingCluster(const TRecordingDescription& recording, std::uint32_t pageIndex);

} // namespace qel::cardgen

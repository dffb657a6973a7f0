// The 1536-byte card cluster: its layout, and the parse of its header into
// the logger identity, page number, page time and flags.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace qel {

constexpr std::size_t CARD_CLUSTER_SIZE = 1536;

// One cluster of the card image, and a view of one inside a read block.
using TCardCluster = std::array<std::uint8_t, CARD_CLUSTER_SIZE>;
using TCardClusterView = std::span<const std::uint8_t, CARD_CLUSTER_SIZE>;

// Byte offsets within a cluster.
constexpr std::size_t CLUSTER_START_MARK = 0;     // word 0xE001
constexpr std::size_t CLUSTER_MODEL_CODE = 68;    // model code, firmware word, PC word, serial
constexpr std::size_t CLUSTER_CONFIG = 78;        // configuration area (396 bytes)
constexpr std::size_t CLUSTER_KIND = 474;         // 0x02, 0x82 or 0x84
constexpr std::size_t CLUSTER_PAGE_WORD = 475;    // big endian, page number in bits 15-3
constexpr std::size_t CLUSTER_PAGE = 478;         // the logger page (1056 bytes)
constexpr std::size_t CLUSTER_END_MARK = 1534;    // word 0xE003

// Outcome codes of ParseClusterHeader (1 to 9: the failed continuation test).
constexpr std::int32_t CLUSTER_OK = 0;
constexpr std::int32_t CLUSTER_BAD_START_MARK = -1;
constexpr std::int32_t CLUSTER_BAD_KIND = -3;
constexpr std::int32_t CLUSTER_BAD_END_MARK = -4;
constexpr std::int32_t CLUSTER_NO_TIME = -6;

// What a cluster header says.
struct TCardClusterInfo {
    std::uint16_t QEL_CLASS = 0;     // model code
    std::uint16_t QEL_VER = 0;       // firmware version word
    std::uint16_t QEL_VER_PC = 0;    // PC version word
    std::uint32_t QEL_SN = 0;        // serial number
    bool bStart = false;             // the recording started on this page
    bool bShock = false;             // a shock page
    std::int64_t Time = 0;           // page time in ticks, in the model's time unit
    std::uint16_t StartPage = 0;     // page on which the recording started
    std::uint16_t Page = 0;          // this cluster's page number, 0 to 8191
    std::uint16_t ErrLastPage = 0;   // page and time remembered by the repeated-cluster test;
    std::int64_t ErrLastTime = 0;    //   the parse leaves them alone
    std::int32_t Code = 0;           // outcome of the last parse or continuation test
};

// Checks the marks and kind of a cluster and reads its header into info
// (identity, flags, times and page numbers). True for a valid cluster
// (Code 0); otherwise Code says what failed. Reads only inside the cluster.
bool ParseClusterHeader(TCardClusterView cluster, TCardClusterInfo& info);

class TPage;
struct TPageClass;

// ParseClusterHeader for a run of clusters, as the scan and the data read
// see them: the decoder object that answers the page header's questions is
// kept from cluster to cluster while the model code and PC version stay the
// same, so the clusters of one logger build it once.
class TClusterHeaderParser {
public:
    TClusterHeaderParser();
    ~TClusterHeaderParser();
    TClusterHeaderParser(const TClusterHeaderParser&) = delete;
    TClusterHeaderParser& operator=(const TClusterHeaderParser&) = delete;

    bool Parse(TCardClusterView cluster, TCardClusterInfo& info);

private:
    // The decoder of the model and version, made when either changed.
    TPage& PageFor(std::uint16_t model, std::uint16_t version)
    {
        if (FPage && model == FModel && version == FVersion) [[likely]] {
            return *FPage;
        }
        return ChangePage(model, version);
    }
    TPage& ChangePage(std::uint16_t model, std::uint16_t version);

    std::unique_ptr<TPage> FPage;             // decoder of the last cluster; none before the first
    const TPageClass* FPageClass = nullptr;   // its class
    std::uint16_t FModel = 0;                 // model code and PC version it was chosen for
    std::uint16_t FVersion = 0;
};

} // namespace qel

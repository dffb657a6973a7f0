// The card cluster header parse.
#include "card/cluster_header.h"

#include "card/page_base.h"
#include "card/page_qel629c.h"
#include "foundations/tick_time.h"

#include <algorithm>

namespace qel {

namespace {

std::uint16_t WordAt(TCardClusterView cluster, std::size_t at)
{
    return static_cast<std::uint16_t>(cluster[at] | (cluster[at + 1] << 8));
}

bool IsClusterKind(std::uint8_t kind)
{
    return kind == 0x02 || kind == 0x82 || kind == 0x84;
}

} // namespace

bool ParseClusterHeader(TCardClusterView cluster, TCardClusterInfo& info)
{
    TClusterHeaderParser parser;
    return parser.Parse(cluster, info);
}

TClusterHeaderParser::TClusterHeaderParser() = default;
TClusterHeaderParser::~TClusterHeaderParser() = default;

TPage& TClusterHeaderParser::ChangePage(std::uint16_t model, std::uint16_t version)
{
    const TPageClass& pageClass = GetPageClass(model, version);
    if (&pageClass != FPageClass || !FPage) {
        FPage = pageClass.Create();
        FPageClass = &pageClass;
    }
    FModel = model;
    FVersion = version;
    return *FPage;
}

bool TClusterHeaderParser::Parse(TCardClusterView cluster, TCardClusterInfo& info)
{
    info.Code = CLUSTER_BAD_START_MARK;
    if (WordAt(cluster, CLUSTER_START_MARK) != 0xE001) {
        return false;
    }
    info.Code = CLUSTER_BAD_KIND;
    if (!IsClusterKind(cluster[CLUSTER_KIND])) {
        return false;
    }
    info.Code = CLUSTER_BAD_END_MARK;
    if (WordAt(cluster, CLUSTER_END_MARK) != 0xE003) {
        return false;
    }
    info.QEL_CLASS = WordAt(cluster, CLUSTER_MODEL_CODE);
    info.QEL_VER = WordAt(cluster, CLUSTER_MODEL_CODE + 2);
    info.QEL_VER_PC = WordAt(cluster, CLUSTER_MODEL_CODE + 4);
    info.QEL_SN = static_cast<std::uint32_t>(WordAt(cluster, CLUSTER_MODEL_CODE + 6))
                | static_cast<std::uint32_t>(WordAt(cluster, CLUSTER_MODEL_CODE + 8)) << 16;

    const std::uint16_t pageNo = static_cast<std::uint16_t>(((cluster[CLUSTER_PAGE_WORD] << 8) | cluster[CLUSTER_PAGE_WORD + 1]) >> 3);
    TPage& page = PageFor(info.QEL_CLASS, info.QEL_VER_PC);
    page.setUtc(false, 0);   // what the last cluster set does not carry over
    const auto headerSize = std::min<std::size_t>(page.GetHeaderSize(), CARD_CLUSTER_SIZE - CLUSTER_PAGE);
    page.New(pageNo, cluster.data() + CLUSTER_PAGE, static_cast<std::uint16_t>(headerSize));
    info.bStart = page.IsStartPage();
    info.Time = page.GetTime(true);
    if (FPageClass == &PageClassOf<TPageQEL629c>()) {
        // The QEL629c keeps UTC; its record times are local times.
        page.setUtc(true, GetUtcOffsetTicks(info.Time));
        info.Time = page.GetTime(true);
    }
    info.StartPage = page.GetStartPageNo();
    info.Page = pageNo;
    info.bShock = page.IsQShockPage();

    info.Code = CLUSTER_NO_TIME;
    if (info.Time == 0) {
        return false;
    }
    info.Code = CLUSTER_OK;
    return true;
}

} // namespace qel

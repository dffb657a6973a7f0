// Page decoder base: header questions of a page and the decoder selection.
#include "card/page_base.h"

#include "card/page_qel25.h"
#include "card/page_qel28.h"
#include "card/page_qel51.h"
#include "card/page_qel539c.h"
#include "card/page_qel57.h"
#include "card/page_qel621wd.h"
#include "card/page_qel621wxd.h"
#include "card/page_qel624c.h"
#include "card/page_qel629.h"
#include "card/page_qel629c.h"
#include "card/page_qel62xw.h"
#include "card/page_qel649.h"
#include "foundations/settings.h"

#include <array>
#include <cstring>

namespace qel {

namespace {
constexpr std::int64_t TICKS_PER_TIME_UNIT = 1000;
}

std::uint16_t TPage::GetStartPageNo()
{
    FPosition = 6;
    const std::uint16_t low = ReadByte();
    return static_cast<std::uint16_t>(low | (ReadByte() << 8));
}

std::int64_t TPage::GetTime(bool bPageTime)
{
    if (bPageTime) {
        FPosition = 1;
    }
    // High byte first, then the low 32 bits little endian.
    std::array<std::uint8_t, 5> stamp;
    if (FPosition >= 0 && FPosition <= FSize - static_cast<std::int32_t>(stamp.size())) {
        std::memcpy(stamp.data(), FMemory + FPosition, stamp.size());   // the usual case: one bound
        FPosition += static_cast<std::int32_t>(stamp.size());
    } else {
        for (std::uint8_t& byte : stamp) {
            byte = ReadByte();
        }
    }
    const std::uint64_t units = std::uint64_t{stamp[0]} << 32 | std::uint64_t{stamp[4]} << 24 |
                                std::uint64_t{stamp[3]} << 16 | std::uint64_t{stamp[2]} << 8 | stamp[1];
    // At most 2^40 units of 2000 ticks: far inside the signed 64-bit range.
    std::int64_t ticks = static_cast<std::int64_t>(units) * TICKS_PER_TIME_UNIT;
    if (F512SEC) {
        ticks *= 2;
    }
    if (FUtc.bEnabled) {
        ticks += FUtc.Offset;
    }
    return ticks;
}

bool TPage::IsValid()
{
    return GetOvfCnt() < 3;
}

void TPage::ReadData() {}
void TPage::BeginRead() {}
void TPage::FinishRead() {}

std::uint16_t TPage::GetHeaderSize()
{
    return PAGE_HEADER_SIZE;
}

bool TPage::IsQShockPage()
{
    return !RegReader.ForceExtQEL && hasExtendedHeader();
}

const TPageClass& GetPageClass(std::uint16_t ModelCode, std::uint16_t Version)
{
    switch (ModelCode) {
    case 0x6601:
        return Version < 0x0600 ? page_qel629::SelectPageClass(Version) : page_qel629c::SelectPageClass(Version);
    case 0x6606:
    case 0x6607:
        return page_qel649::SelectPageClass(Version);
    case 0x6615:
        return page_qel539c::SelectPageClass(Version);
    case 0x6616:
        return page_qel51::SelectPageClass(Version);
    case 0x6617:
        return page_qel62xw::SelectPageClass(Version);
    case 0x6619:
        return page_qel624c::SelectPageClass(Version);
    case 0x661D:
        return page_qel57::SelectPageClass(Version);
    case 0x6621:
        return Version < 0x0200 ? page_qel621wd::SelectPageClass(Version) : page_qel621wxd::SelectPageClass(Version);
    case 0x6626:
        return page_qel28::SelectPageClass(Version);
    case 0x6628:
        return page_qel25::SelectPageClass(Version);
    default:
        return PageClassOf<TPage>();
    }
}

} // namespace qel

// Page decoder of the QEL25 loggers (model code 0x6628): the tagged page loop
// with this family's channels, rate codes and eight-position burst engine.
#include "card/page_qel25.h"

#include "card/burst_data.h"
#include "card/page_qel649_records.h"
#include "loggers/qel25.h"

namespace qel {

namespace {

// What the QEL25 pages give the tagged page loop.
struct TQel25Format {
    using TLogger = TQEL25;
    static constexpr const char* Decoder = TPageQEL25_V1::ClassName;
    static constexpr const char* LoggerClass = "TQEL25";
    static constexpr std::size_t Positions = 8;
    static constexpr std::array<std::uint8_t, 8> AccChannels{8, 9, 10, 13, 0, 0, 0, 0};
    static constexpr std::array<std::uint8_t, 8> AdcChannels{0, 1, 2, 3, 4, 5, 6, 7};
    static constexpr std::uint32_t MarkerChannel = 15;
    static constexpr std::uint32_t ValueChannel = 16;
    static std::int64_t Interval(std::uint8_t rate, bool analog) { return BurstIntervalQEL25(rate, analog); }
    static TFastDataQEL25& Engine() { return FastDataQEL25; }
};

} // namespace

std::int64_t BurstIntervalQEL25(std::uint8_t rate, bool analog)
{
    const std::int64_t base = analog ? 500 : 320;
    const std::uint8_t code = rate & 0x0F;
    return code >= 1 && code <= 7 ? base << code : base;
}

void TPageQEL25_V1::BeginRead()
{
    FastDataQEL25.Start();
}

void TPageQEL25_V1::FinishRead()
{
    FastDataQEL25.Finish();
}

void TPageQEL25_V1::ReadData()
{
    tagged_records::TTaggedPage<TQel25Format> page(*this, {FMemory, static_cast<std::size_t>(FSize)}, FPosition);
    page.ReadData();
}

namespace page_qel25 {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL25_V1>();
}

} // namespace page_qel25
} // namespace qel

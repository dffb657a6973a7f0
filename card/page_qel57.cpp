// Page decoders of the QEL57 family: packets, four-byte value and control
// records, extended records of external sensors and D-Bus records.
#include "card/page_qel57.h"

#include "card/buffer_list.h"
#include "card/dbus_data.h"
#include "card/page_logger.h"
#include "card/page_reader.h"
#include "loggers/qel57.h"

#include <bit>

namespace qel {

namespace {

constexpr std::int64_t TICKS_PER_STEP = 2000;    // record time steps count 1/512 s
constexpr std::uint8_t CONTROL_CHANNEL = 15;
constexpr std::uint8_t EXTENDED_CHANNEL = 12;
constexpr std::uint8_t DBUS_CHANNEL = 13;
constexpr std::uint8_t LAST_LIMIT_CHANNEL = 14;
constexpr int LIMIT_PACKET_SIZE = 6;
constexpr int SENSOR_PACKET_SIZE = 4;
constexpr int SKIPPED_AFTER_LIMITS = 2;

// Extended record kinds: the first channel of each value of a sensor i.
constexpr std::uint32_t KIND1_FIRST = 16, KIND1_SECOND = 24;   // humidity and its temperature
constexpr std::uint32_t KIND2_CHANNEL = 32;                     // temperature
constexpr std::uint32_t KIND3_FIRST = 40, KIND3_SECOND = 48;   // pressure and its temperature

constexpr std::int32_t SignedLong(std::uint32_t bits)
{
    return static_cast<std::int32_t>(bits);
}

// The 11-bit two's-complement step of a value record (b1 bits 2-0, b0),
// times 512 with the long-step flag (b1 bit 3).
constexpr std::int32_t ValueStep(std::uint8_t b0, std::uint8_t b1)
{
    std::int32_t delta = ((b1 & 0x07) << 8) | b0;
    if ((delta & 0x400) != 0) {
        delta -= 0x800;
    }
    return (b1 & 0x08) != 0 ? delta * 512 : delta;
}

// The step of a control record: b0 b3 b2 are the upper 24 bits of a signed 32-bit number.
constexpr std::int32_t ControlStep(std::uint8_t b0, std::uint8_t b2, std::uint8_t b3)
{
    return SignedLong(std::uint32_t{b0} << 24 | std::uint32_t{b3} << 16 | std::uint32_t{b2} << 8);
}

// The signed 32-bit step of extended and D-Bus records: b2 (lowest), b3, then b4, b5.
std::int32_t RecordStep(std::uint8_t b2, std::uint8_t b3, TPageReader& in)
{
    const std::uint32_t low = std::uint32_t{b2} | std::uint32_t{b3} << 8;
    return SignedLong(low | std::uint32_t{in.Word()} << 16);
}

} // namespace

namespace page_qel57 {

TPage_V1::TPage_V1() : TPage_V1(TGeneration{0, 0, false}) {}

TPage_V1::TPage_V1(const TGeneration& generation) : FGeneration(generation) {}

std::int64_t TPage_V1::GetTime(bool bPageTime)
{
    return 2 * TPage::GetTime(bPageTime);
}

int TPage_V1::GetLimitPackets()
{
    const std::uint8_t flags = FlagsByte();
    if ((flags & 0x01) == 0) {
        return 0;
    }
    return (flags & 0x20) != 0 ? 15 : 1;
}

int TPage_V1::ExtSensPackets()
{
    if (FGeneration.SensorPacketsOnStartPage == 0) {
        return 0;
    }
    return (FlagsByte() & 0x20) != 0 ? FGeneration.SensorPacketsOnStartPage : 1;
}

void TPage_V1::TakeCurrentLogger()
{
    FLogger = &CurrentLoggerFor<TQEL57>(ClassName, "TQEL57");
    FExtLogger = nullptr;
}

void TPage_V1::ReadData()
{
    TakeCurrentLogger();
    std::int64_t time = GetTime(true);
    const int limitPackets = GetLimitPackets();
    const int sensorPackets = ExtSensPackets();
    TPageReader in(FMemory, FSize, FPosition);
    if (!in.Seek(PAGE_HEADER_SIZE) || !ReadLimitPackets(in, limitPackets) || !in.Skip(SKIPPED_AFTER_LIMITS)
        || !ReadExtSensPackets(in, sensorPackets)) {
        return;
    }
    const bool mapChannels = FLogger->INT_CFG.Contains(TQEL57::cINT_CHX);
    while (in.Fits(4)) {
        const std::uint8_t head[4] = {in.Byte(), in.Byte(), in.Byte(), in.Byte()};
        const std::uint8_t b0 = head[0], b1 = head[1], b2 = head[2], b3 = head[3];
        const std::uint8_t ch = b1 >> 4;
        if (ch == CONTROL_CHANNEL) {
            if ((b1 & 0x0F) != 0) {
                return;   // end of data
            }
            time += std::int64_t{ControlStep(b0, b2, b3)} * TICKS_PER_STEP;
            continue;
        }
        if (ch == EXTENDED_CHANNEL && FGeneration.LastExtendedKind != 0) {
            if (!ReadExtendedRecord(in, head, time)) {
                return;
            }
            continue;
        }
        if (ch == DBUS_CHANNEL && FGeneration.DBusRecords) {
            if (!ReadDBusRecord(in, head, time)) {
                return;
            }
            continue;
        }
        time += std::int64_t{ValueStep(b0, b1)} * TICKS_PER_STEP;
        const std::uint32_t channel = mapChannels ? FLogger->CH_DEVICE[ch] : ch;
        ReadBufferList.AddIntData(channel, time, static_cast<std::int16_t>(b3 << 8 | b2));
    }
}

bool TPage_V1::ReadLimitPackets(TPageReader& in, int count)
{
    if (!in.Fits(count * LIMIT_PACKET_SIZE)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const std::uint8_t channel = in.Byte() & 0x0F;
        const std::uint8_t conditions = in.Byte();
        const std::int16_t raw1 = in.SmallInt();
        const std::int16_t raw2 = in.SmallInt();
        if (channel <= LAST_LIMIT_CHANNEL) {
            const float limit1 = FLogger->GetLimitValue(channel, raw1);
            const float limit2 = FLogger->GetLimitValue(channel, raw2);
            FLogger->SetLimit(channel, (conditions >> 3) & 0x07, conditions & 0x07, limit1, limit2);
        }
    }
    return true;
}

bool TPage_V1::ReadExtSensPackets(TPageReader& in, int count)
{
    if (!in.Fits(count * SENSOR_PACKET_SIZE)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const std::uint16_t channel = in.Word();
        const std::uint16_t serial = in.Word();
        FExtLogger->setExtSensSN(channel, serial);
    }
    return true;
}

// b0 sensor mask, b1 bits 3-0 kind, b2 b3 b4 b5 the time step; then per set
// bit of the mask the sensor's values (two for kinds 1 and 3, one for kind 2).
bool TPage_V1::ReadExtendedRecord(TPageReader& in, const std::uint8_t (&head)[4], std::int64_t& time)
{
    if (!in.Fits(2)) {
        return false;
    }
    time += std::int64_t{RecordStep(head[2], head[3], in)} * TICKS_PER_STEP;
    const std::uint8_t mask = head[0];
    const std::uint8_t kind = head[1] & 0x0F;
    if (kind == 0 || kind > FGeneration.LastExtendedKind) {
        return false;
    }
    const bool pairs = kind != 2;
    if (!in.Fits(std::popcount(mask) * (pairs ? 4 : 2))) {
        return false;
    }
    const std::uint32_t first = kind == 1 ? KIND1_FIRST : kind == 2 ? KIND2_CHANNEL : KIND3_FIRST;
    const std::uint32_t second = kind == 1 ? KIND1_SECOND : KIND3_SECOND;
    for (std::uint32_t i = 0; i < 8; ++i) {
        if ((mask >> i & 1) == 0) {
            continue;
        }
        ReadBufferList.AddIntData(first + i, time, in.SmallInt());
        if (pairs) {
            ReadBufferList.AddIntData(second + i, time, in.SmallInt());
        }
    }
    return true;
}

// b0 bit 7 and b1 bits 2-0 the order number, b0 bits 6-0 the data length L,
// b2 b3 b4 b5 the time step, then the start address and L data bytes padded
// to whole byte pairs. The order number also goes to channel 13.
bool TPage_V1::ReadDBusRecord(TPageReader& in, const std::uint8_t (&head)[4], std::int64_t& time)
{
    const int length = head[0] & 0x7F;
    const int pairs = (length + 1) / 2;
    if (!in.Fits(2 + 4 + 2 * pairs)) {
        return false;
    }
    const auto order = static_cast<std::uint8_t>((head[1] & 0x07) << 1 | head[0] >> 7);
    time += std::int64_t{RecordStep(head[2], head[3], in)} * TICKS_PER_STEP;
    ReadBufferList.AddIntData(DBUS_CHANNEL, time, order);
    const std::uint32_t address = in.LongWord();
    TDBusData* block = DBusDataList.addBlock(time, order, address);
    block->Reserve(static_cast<std::size_t>(length));
    for (int i = 0; i < 2 * pairs; ++i) {
        const std::uint8_t value = in.Byte();
        if (i < length) {
            block->addData(value);
        }
    }
    return true;
}

const TPageClass& SelectPageClass(std::uint16_t Version)
{
    if (Version < 0x0200) {
        return PageClassOf<TPage_V1>();
    }
    if (Version < 0x0300) {
        return PageClassOf<page_qel57b::TPage_V1>();
    }
    return PageClassOf<page_qel57c::TPage_V1>();
}

} // namespace page_qel57

namespace page_qel57b {

TPage_V1::TPage_V1() : page_qel57::TPage_V1(TGeneration{16, 2, false}) {}

void TPage_V1::TakeCurrentLogger()
{
    FExtLogger = &CurrentLoggerFor<TQEL57b>(ClassName, "TQEL57b");
    FLogger = FExtLogger;
}

} // namespace page_qel57b

namespace page_qel57c {

TPage_V1::TPage_V1() : page_qel57::TPage_V1(TGeneration{24, 3, true}) {}

void TPage_V1::TakeCurrentLogger()
{
    FExtLogger = &CurrentLoggerFor<TQEL57c>(ClassName, "TQEL57c");
    FLogger = FExtLogger;
}

} // namespace page_qel57c

} // namespace qel

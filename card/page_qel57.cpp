// Page decoders of the QEL57 family: packets, four-byte value and control
// records, extended records of external sensors and D-Bus records.
#include "card/page_qel57.h"

#include "card/buffer_list.h"
#include "card/dbus_data.h"
#include "card/four_byte_record.h"
#include "card/page_logger.h"
#include "card/page_reader.h"
#include "loggers/qel57.h"

#include <bit>

namespace qel {

namespace {

constexpr std::uint8_t CONTROL_CHANNEL = 15;
constexpr std::uint8_t EXTENDED_CHANNEL = 12;
constexpr std::uint8_t DBUS_CHANNEL = 13;
constexpr std::uint8_t LAST_LIMIT_CHANNEL = 14;
constexpr int SENSOR_PACKET_SIZE = 4;
constexpr int SKIPPED_AFTER_LIMITS = 2;

// Extended record kinds: the first channel of each value of a sensor i.
constexpr std::uint32_t KIND1_FIRST = 16, KIND1_SECOND = 24;   // humidity and its temperature
constexpr std::uint32_t KIND2_CHANNEL = 32;                     // temperature
constexpr std::uint32_t KIND3_FIRST = 40, KIND3_SECOND = 48;   // pressure and its temperature

// The signed 32-bit step of extended and D-Bus records: b2 (lowest), b3, then b4, b5.
std::int32_t RecordStep(std::uint8_t b2, std::uint8_t b3, TPageReader& in)
{
    const std::uint32_t low = std::uint32_t{b2} | std::uint32_t{b3} << 8;
    return static_cast<std::int32_t>(low | std::uint32_t{in.Word()} << 16);
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
    return LimitPacketCount(FlagsByte());
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
    while (in.Fits(TFourByteRecord::Size)) {
        const TFourByteRecord record = TFourByteRecord::Read(in);
        const std::uint8_t ch = record.Channel();
        if (ch == CONTROL_CHANNEL) {
            if (record.ControlKind() != 0) {
                return;   // end of data
            }
            time += std::int64_t{record.TimeStep()} * FOUR_BYTE_TIME_UNIT;
            continue;
        }
        if (ch == EXTENDED_CHANNEL && FGeneration.LastExtendedKind != 0) {
            if (!ReadExtendedRecord(in, record, time)) {
                return;
            }
            continue;
        }
        if (ch == DBUS_CHANNEL && FGeneration.DBusRecords) {
            if (!ReadDBusRecord(in, record, time)) {
                return;
            }
            continue;
        }
        const std::int32_t delta = record.LongStep() ? record.Delta() * 512 : record.Delta();
        time += std::int64_t{delta} * FOUR_BYTE_TIME_UNIT;
        const std::uint32_t channel = mapChannels ? FLogger->CH_DEVICE[ch] : ch;
        ReadBufferList.AddIntData(channel, time, record.Value());
    }
}

bool TPage_V1::ReadLimitPackets(TPageReader& in, int count)
{
    if (!in.Fits(count * TLimitPacket::Size)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const TLimitPacket packet = TLimitPacket::Read(in);
        if (packet.Channel <= LAST_LIMIT_CHANNEL) {
            const float limit1 = FLogger->GetLimitValue(packet.Channel, packet.Raw1);
            const float limit2 = FLogger->GetLimitValue(packet.Channel, packet.Raw2);
            FLogger->SetLimit(packet.Channel, packet.AL, packet.RL, limit1, limit2);
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
bool TPage_V1::ReadExtendedRecord(TPageReader& in, const TFourByteRecord& head, std::int64_t& time)
{
    if (!in.Fits(2)) {
        return false;
    }
    time += std::int64_t{RecordStep(head.b2, head.b3, in)} * FOUR_BYTE_TIME_UNIT;
    const std::uint8_t mask = head.b0;
    const std::uint8_t kind = head.b1 & 0x0F;
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
bool TPage_V1::ReadDBusRecord(TPageReader& in, const TFourByteRecord& head, std::int64_t& time)
{
    const int length = head.b0 & 0x7F;
    const int pairs = (length + 1) / 2;
    if (!in.Fits(2 + 4 + 2 * pairs)) {
        return false;
    }
    const auto order = static_cast<std::uint8_t>((head.b1 & 0x07) << 1 | head.b0 >> 7);
    time += std::int64_t{RecordStep(head.b2, head.b3, in)} * FOUR_BYTE_TIME_UNIT;
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

void TPage_V1::BeginRead()
{
    page_qel57::TPage_V1::BeginRead();
    DBusDataList.clearAll();
}

void TPage_V1::TakeCurrentLogger()
{
    FExtLogger = &CurrentLoggerFor<TQEL57c>(ClassName, "TQEL57c");
    FLogger = FExtLogger;
}

} // namespace page_qel57c

} // namespace qel

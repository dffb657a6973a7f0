// Mission data record: the 86-byte page section read field by field, and the
// block payload written in the block file's order.
#include "loggers/mission_data.h"

#include "loggers/qel25.h"
#include "loggers/qel649.h"
#include "loggers/qel_base.h"
#include "platform/date_time.h"
#include "platform/text_encoding.h"

#include <bit>
#include <cstdio>
#include <cstring>

namespace qel {

namespace {

constexpr double Date2000 = 36526.0; // 2000-01-01 00:00:00 as a date-time
constexpr double SecondsPerDay = 86400.0;

// Burst sample interval in seconds per rate code.
constexpr float BurstRates[8] = {0.0003125f, 0.000625f, 0.00125f, 0.0025f, 0.005f, 0.01f, 0.02f, 0.04f};

// Sequential little-endian reader over a section known to lie in the page.
class TSectionReader {
public:
    explicit TSectionReader(const std::uint8_t* bytes) : FBytes(bytes) {}

    std::uint8_t Byte() { return FBytes[FPos++]; }

    std::uint16_t Word()
    {
        const std::uint16_t lo = Byte();
        return static_cast<std::uint16_t>(lo | Byte() << 8);
    }

    std::uint32_t LongWord()
    {
        const std::uint32_t lo = Word();
        return lo | static_cast<std::uint32_t>(Word()) << 16;
    }

    // A text of one character per byte (byte value = character code), ending
    // before the first byte below 0x20 or equal to 0xFF; the rest of the field
    // is consumed.
    std::string Text(int length)
    {
        std::string text;
        bool ended = false;
        for (int i = 0; i < length; ++i) {
            const std::uint8_t b = Byte();
            ended = ended || b < 0x20 || b == 0xFF;
            if (!ended) {
                AppendCodePoint(text, b);
            }
        }
        return text;
    }

    // Seconds since 2000-01-01 as a date-time.
    double Seconds2000() { return Date2000 + LongWord() / SecondsPerDay; }

    int Position() const { return FPos; }

private:
    static void AppendCodePoint(std::string& text, std::uint8_t code)
    {
        if (code < 0x80) {
            text += static_cast<char>(code);
            return;
        }
        text += static_cast<char>(0xC0 | code >> 6);
        text += static_cast<char>(0x80 | (code & 0x3F));
    }

    const std::uint8_t* FBytes;
    int FPos = 0;
};

bool Has200G(const TQEL& logger)
{
    if (const auto* qel649 = dynamic_cast<const TQEL649*>(&logger)) {
        return qel649->INT_CFG.Contains(TQEL649::cINT_200G);
    }
    if (const auto* qel25 = dynamic_cast<const TQEL25*>(&logger)) {
        return qel25->INT_CFG.Contains(TQEL25::cINT_200G);
    }
    return false;
}

// "-" and the start time as YYYYMMDDHHNNSS; nothing for a value that is no date.
std::string StartTimeSuffix(double startTime)
{
    plat::TDateTimeParts parts;
    if (!plat::TryDecodeDateTime(startTime, parts)) {
        return "";
    }
    char text[40];
    std::snprintf(text, sizeof text, "-%04d%02d%02d%02d%02d%02d", parts.Year, parts.Month, parts.Day, parts.Hour,
                  parts.Minute, parts.Second);
    return text;
}

// Little-endian block payload.
class TPayloadWriter {
public:
    void Word(std::uint16_t value)
    {
        FBytes.push_back(static_cast<std::uint8_t>(value));
        FBytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }

    void Single(float value) { Raw(std::bit_cast<std::uint32_t>(value), 4); }
    void Double(double value) { Raw(std::bit_cast<std::uint64_t>(value), 8); }

    // A 16-bit byte count, then the text's bytes in the ANSI code page.
    void String(const std::string& text)
    {
        const std::string ansi = plat::Utf8ToAnsi(text);
        const std::size_t length = ansi.size() > 0xFFFF ? 0xFFFF : ansi.size();
        Word(static_cast<std::uint16_t>(length));
        FBytes.insert(FBytes.end(), ansi.begin(), ansi.begin() + static_cast<std::ptrdiff_t>(length));
    }

    std::vector<std::uint8_t> Take() { return std::move(FBytes); }

private:
    void Raw(std::uint64_t bits, int count)
    {
        for (int i = 0; i < count; ++i) {
            FBytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        }
    }

    std::vector<std::uint8_t> FBytes;
};

} // namespace

bool ReadMissionData(std::uint16_t version, std::uint16_t size, std::span<const std::uint8_t> page,
                     std::int32_t& Position, const TQEL& logger, TMissionData& data)
{
    if (size != MISSION_DATA_SECTION_SIZE || Position < 0 ||
        static_cast<std::size_t>(Position) + MISSION_DATA_SECTION_SIZE > page.size()) {
        return false;
    }
    data.version = version;
    data.sQelType = logger.GetName();
    data.sQelVersion = VersionToStr(logger.ID_VER);
    data.sID = std::to_string(logger.SN);
    if (data.bValidStartTime) {
        data.sID += StartTimeSuffix(data.StartTime);
    }

    TSectionReader section(page.data() + Position);
    data.sTitle = section.Text(36);
    data.sOperator = section.Text(24);
    data.rec_starttime = section.Seconds2000();
    data.rec_endtime = Date2000;
    data.rec_ctrl = section.Byte();
    data.options = section.Byte();
    data.rec_startmode = section.Byte();
    data.rec_stopmode = section.Byte();
    const double setStart = section.Seconds2000();
    const double setStop = section.Seconds2000();
    data.rtc_starttime = data.rec_startmode == 2 ? setStart : 0.0;
    data.rtc_stoptime = data.rec_stopmode == 2 ? setStop : 0.0;
    const double gPerCount = Has200G(logger) ? 0.78 : 0.0625;
    data.adxl_level_on = static_cast<float>(section.Byte() * gPerCount);
    data.adxl_level_off = static_cast<float>(section.Byte() * gPerCount);
    const std::uint8_t rateCode = section.Byte();
    data.rec_fast_rate = rateCode < 8 ? BurstRates[rateCode] : 1.0;
    section.Byte(); // not used
    data.buffer_pre_cnts = section.Byte();
    data.buffer_post_cnts = section.Byte();
    data.rec_std_mask = section.Word();
    data.tb_meas_rate = section.Word();
    data.bValid = true;
    Position += section.Position();
    return true;
}

std::vector<std::uint8_t> MissionDataBlockPayload(const TMissionData& data)
{
    TPayloadWriter out;
    out.Word(0);
    out.Word(data.version);
    out.String(data.sQelType);
    out.String(data.sQelVersion);
    out.String(data.sID);
    out.String(data.sTitle);
    out.String(data.sOperator);
    out.Double(data.rec_starttime);
    out.Double(data.rec_endtime);
    out.Word(data.rec_ctrl);
    out.Word(data.options);
    out.Word(data.rec_startmode);
    out.Word(data.rec_stopmode);
    out.Double(data.rtc_starttime);
    out.Double(data.rtc_stoptime);
    out.Single(data.adxl_level_on);
    out.Single(data.adxl_level_off);
    out.Double(data.rec_fast_rate);
    out.Word(data.buffer_pre_cnts);
    out.Word(data.buffer_post_cnts);
    out.Word(data.rec_std_mask);
    out.Double(data.tb_meas_rate);
    return out.Take();
}

} // namespace qel

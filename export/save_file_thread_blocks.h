// Header blocks of the block file shared by the per-model savers: program
// identity, first time, and the per-channel blocks over the save list.
#pragma once

#include "card/buffer_list.h"
#include "export/data_file.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qel {

class TQEL;

// A logger that is not of the class a saver expects.
class EInvalidCast : public std::runtime_error {
public:
    EInvalidCast() : std::runtime_error("Invalid class typecast") {}
};

// The logger as the class T; nullptr stays nullptr, any other class raises
// EInvalidCast.
template <class T>
const T* LoggerAs(const TQEL* logger)
{
    if (logger == nullptr) {
        return nullptr;
    }
    const T* typed = dynamic_cast<const T*>(logger);
    if (typed == nullptr) {
        throw EInvalidCast();
    }
    return typed;
}

// The logger of a save-list buffer as the class T (never nullptr).
template <class T>
const T& ChannelLogger(const TBufferBaseData& buffer)
{
    const T* logger = LoggerAs<T>(buffer.GetLinkQEL());
    if (logger == nullptr) {
        throw EInvalidCast();
    }
    return *logger;
}

// A block with one entry per save-list channel, in list order:
// entry(file, logger as TLogger, channel number, buffer).
template <class TLogger, class TEntry>
void WriteChannelBlock(TDataFile& file, std::uint16_t type, TEntry entry)
{
    file.NewBlock(type);
    for (const TBufferBaseData* buffer : SaveBufferList) {
        entry(file, ChannelLogger<TLogger>(*buffer), buffer->GetChannel(), *buffer);
    }
    file.WriteBlock();
}

// The running program's file name with its extension; with " (qshock)"
// behind it for a shock save.
std::string ProgramName(bool shock = false);

void WriteProgramTextBlock(TDataFile& file, const std::string& programName); // 20
void WriteProgramBlock(TDataFile& file, const std::string& programName);     // 1
// 2: the part's first time; -1 (no sample left) is written as -1 tick.
void WriteFirstTimeBlock(TDataFile& file, std::int64_t firstTime);
// 3: the settings' name prefix and the decimal serial number of each channel's logger.
void WriteLoggerNamesBlock(TDataFile& file);
void WriteLoggerIdentityBlock(TDataFile& file); // 5
void WriteUtcBlock(TDataFile& file);            // 25, from the save list's Utc
void WriteChannelNamesBlock(TDataFile& file);   // 6
void WriteChannelUnitsBlock(TDataFile& file);   // 7
// 26 layout 1: channel serial number, model code, version, channel ID.
void WriteChannelIdentityBlock(TDataFile& file);
// 27, when the save list's mission data is valid (a normal save clears it).
void WriteMissionBlock(TDataFile& file);

// 15: the logger's DIFFTIME as a Double.
template <class TLogger>
void WriteTimeDifferenceBlock(TDataFile& file)
{
    WriteChannelBlock<TLogger>(file, BLOCK_TIME_DIFFERENCE, [](TDataFile& f, const TLogger& logger, std::uint32_t,
                                                                 const TBufferBaseData&) {
        f.WriteDouble(static_cast<double>(logger.DIFFTIME));
    });
}

// 13 of the configurable loggers: QELNAME when the logger's
// IsQelNameAvaliable answers True, else an empty string.
template <class TLogger>
void WriteAvailableQelNameBlock(TDataFile& file)
{
    WriteChannelBlock<TLogger>(file, BLOCK_STORED_NAMES, [](TDataFile& f, const TLogger& logger, std::uint32_t,
                                                             const TBufferBaseData&) {
        f.WriteString(logger.IsQelNameAvaliable() ? logger.QELNAME : std::string());
    });
}

// A limit entry of block 11.
struct TLimitEntry {
    std::uint16_t alarm = 0;
    std::uint16_t record = 0;
    float limit1 = 0.0f;
    float limit2 = 0.0f;
};
void WriteLimitEntry(TDataFile& file, const TLimitEntry& entry);

// 11 from the LIMITS table of a fixed-channel logger: the entry of a channel
// that was read and has a condition, else zeros.
template <class TLogger>
void WriteFixedLimitsBlock(TDataFile& file)
{
    WriteChannelBlock<TLogger>(file, BLOCK_LIMITS, [](TDataFile& f, const TLogger& logger, std::uint32_t ch,
                                                       const TBufferBaseData&) {
        TLimitEntry entry;
        if (ch < logger.LIMITS.size()) {
            const auto& limit = logger.LIMITS[ch];
            if (limit.READ && (limit.AL != 0 || limit.RL != 0)) {
                entry = TLimitEntry{limit.AL, limit.RL, limit.VALUE1, limit.VALUE2};
            }
        }
        WriteLimitEntry(f, entry);
    });
}

// 11 from the channel limit objects of a configurable logger: the limit of
// the channel at indexOf(logger, channel number) when it lies in the list,
// was read from the card and has a condition, else zeros.
template <class TLogger, class TIndexOf>
void WriteChannelLimitsBlock(TDataFile& file, TIndexOf indexOf)
{
    WriteChannelBlock<TLogger>(file, BLOCK_LIMITS, [&indexOf](TDataFile& f, const TLogger& logger, std::uint32_t ch,
                                                               const TBufferBaseData&) {
        TLimitEntry entry;
        const std::uint32_t index = indexOf(logger, ch);
        if (index < static_cast<std::uint32_t>(logger.Channels.Count())) {
            const auto& limit = *logger.Channels.GetItem(static_cast<int>(index)).Limit;
            if (limit.bReaderRead && (limit.alarm_condition != 0 || limit.rec_condition != 0)) {
                entry = TLimitEntry{limit.alarm_condition, limit.rec_condition, static_cast<float>(limit.limit_L1),
                                    static_cast<float>(limit.limit_L2)};
            }
        }
        WriteLimitEntry(f, entry);
    });
}

// The entry of a channel without calibration: Word 0, empty text, zeros.
void WriteNoCalibration(TDataFile& file);
// 12 and 11 with the empty entry for every channel.
void WriteNoCalibrationBlock(TDataFile& file);
void WriteZeroLimitsBlock(TDataFile& file);

// Which calibration a channel carries in block 12.
enum class TChannelCal { None, Humidity, Temperature };

// The QEL629 and QEL649 rule: humidity calibration on channel 5;
// temperature calibration on channel 7, or on channel 6 when only the
// humidity sensor's temperature is calibrated.
TChannelCal Qel629CalibrationOf(bool CAL_RH, bool CAL_T, bool CAL_T_RH, std::uint32_t ch);

// 12: per channel the calibration calOf(logger, channel) names, from the
// logger's CAL_INFO, CAL_DATE and calibration points.
template <class TLogger, class TCalOf>
void WriteCalibrationBlock(TDataFile& file, TCalOf calOf)
{
    WriteChannelBlock<TLogger>(file, BLOCK_CALIBRATION, [&calOf](TDataFile& f, const TLogger& logger,
                                                                 std::uint32_t ch, const TBufferBaseData&) {
        const TChannelCal cal = calOf(logger, ch);
        if (cal == TChannelCal::None) {
            WriteNoCalibration(f);
            return;
        }
        const bool humidity = cal == TChannelCal::Humidity;
        f.WriteWord(1);
        f.WriteString(logger.CAL_INFO);
        f.WriteDouble(logger.CAL_DATE);
        f.WriteSingle(humidity ? logger.CAL_RH_ACT_LO : logger.CAL_T_ACT_LO);
        f.WriteSingle(humidity ? logger.CAL_RH_SET_LO : logger.CAL_T_SET_LO);
        f.WriteSingle(humidity ? logger.CAL_RH_ACT_HI : logger.CAL_T_ACT_HI);
        f.WriteSingle(humidity ? logger.CAL_RH_SET_HI : logger.CAL_T_SET_HI);
    });
}

} // namespace qel

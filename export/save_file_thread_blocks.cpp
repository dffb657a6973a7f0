// Header blocks shared by the per-model savers.
#include "export/save_file_thread_blocks.h"

#include "foundations/file_names.h"
#include "foundations/settings.h"
#include "foundations/tick_time.h"
#include "foundations/win_tools.h"
#include "loggers/mission_data.h"
#include "loggers/qel_base.h"
#include "platform/known_folders.h"
#include "platform/version.h"

namespace qel {

std::string ProgramName(bool shock)
{
    std::string name = GetFileName(plat::ProgramPath());
    if (shock) {
        name += " (qshock)";
    }
    return name;
}

void WriteProgramTextBlock(TDataFile& file, const std::string& programName)
{
    file.NewBlock(BLOCK_PROGRAM_TEXT);
    file.WriteString(programName);
    file.WriteString(GetFileVersionStr(plat::ProgramPath()));
    file.WriteBlock();
}

void WriteProgramBlock(TDataFile& file, const std::string& programName)
{
    const plat::TFileVersion version = plat::GetFileVersion(plat::ProgramPath());
    file.NewBlock(BLOCK_PROGRAM);
    file.WriteString(programName);
    file.WriteWord(version.bPresent ? version.Major : 0xFFFF);
    file.WriteWord(version.bPresent ? version.Minor : 0xFFFF);
    file.WriteBlock();
}

void WriteFirstTimeBlock(TDataFile& file, std::int64_t firstTime)
{
    file.NewBlock(BLOCK_FIRST_TIME);
    file.WriteDouble(TicksToDays(firstTime));
    file.WriteBlock();
}

void WriteLoggerNamesBlock(TDataFile& file)
{
    WriteChannelBlock<TQEL>(file, BLOCK_LOGGER_NAMES,
                            [](TDataFile& f, const TQEL& logger, std::uint32_t, const TBufferBaseData&) {
                                f.WriteString(RegSettings.sQEL + std::to_string(logger.SN));
                            });
}

void WriteLoggerIdentityBlock(TDataFile& file)
{
    WriteChannelBlock<TQEL>(file, BLOCK_LOGGER_IDENTITY,
                            [](TDataFile& f, const TQEL& logger, std::uint32_t, const TBufferBaseData&) {
                                f.WriteWord(logger.ID_CLASS);
                                f.WriteWord(logger.ID_VER);
                            });
}

void WriteUtcBlock(TDataFile& file)
{
    const TQelUtc utc = SaveBufferList.Utc;
    WriteChannelBlock<TQEL>(file, BLOCK_UTC, [&utc](TDataFile& f, const TQEL&, std::uint32_t, const TBufferBaseData&) {
        f.WriteWord(utc.bEnabled ? 1 : 0);
        f.WriteDouble(TicksToDays(utc.Offset));
    });
}

void WriteChannelNamesBlock(TDataFile& file)
{
    WriteChannelBlock<TQEL>(file, BLOCK_CHANNEL_NAMES,
                            [](TDataFile& f, const TQEL& logger, std::uint32_t ch, const TBufferBaseData&) {
                                f.WriteString(logger.GetChName(ch));
                            });
}

void WriteChannelUnitsBlock(TDataFile& file)
{
    WriteChannelBlock<TQEL>(file, BLOCK_CHANNEL_UNITS,
                            [](TDataFile& f, const TQEL& logger, std::uint32_t ch, const TBufferBaseData&) {
                                f.WriteString(logger.GetChUnit(ch));
                            });
}

void WriteChannelIdentityBlock(TDataFile& file)
{
    file.NewBlock(BLOCK_CHANNEL_IDENTITY);
    file.WriteWord(1);
    for (const TBufferBaseData* buffer : SaveBufferList) {
        const TQEL& logger = ChannelLogger<TQEL>(*buffer);
        file.WriteLongint(static_cast<std::int32_t>(buffer->channel_sn));
        file.WriteWord(logger.ID_CLASS);
        file.WriteWord(logger.ID_VER);
        file.WriteWord(logger.getChID(buffer->GetChannel()));
    }
    file.WriteBlock();
}

void WriteMissionBlock(TDataFile& file)
{
    if (!SaveBufferList.MissionData.bValid) {
        return;
    }
    file.NewBlock(BLOCK_MISSION);
    file.WriteBytes(MissionDataBlockPayload(SaveBufferList.MissionData));
    file.WriteBlock();
}

void WriteLimitEntry(TDataFile& file, const TLimitEntry& entry)
{
    file.WriteWord(entry.alarm);
    file.WriteWord(entry.record);
    file.WriteSingle(entry.limit1);
    file.WriteSingle(entry.limit2);
}

void WriteNoCalibration(TDataFile& file)
{
    file.WriteWord(0);
    file.WriteString("");
    file.WriteDouble(0.0);
    for (int i = 0; i < 4; ++i) {
        file.WriteSingle(0.0f);
    }
}

TChannelCal Qel629CalibrationOf(bool CAL_RH, bool CAL_T, bool CAL_T_RH, std::uint32_t ch)
{
    if (ch == 5 && CAL_RH) {
        return TChannelCal::Humidity;
    }
    if ((ch == 7 && CAL_T) || (ch == 6 && !CAL_T && CAL_T_RH)) {
        return TChannelCal::Temperature;
    }
    return TChannelCal::None;
}

void WriteNoCalibrationBlock(TDataFile& file)
{
    WriteChannelBlock<TQEL>(file, BLOCK_CALIBRATION,
                            [](TDataFile& f, const TQEL&, std::uint32_t, const TBufferBaseData&) {
                                WriteNoCalibration(f);
                            });
}

void WriteZeroLimitsBlock(TDataFile& file)
{
    WriteChannelBlock<TQEL>(file, BLOCK_LIMITS, [](TDataFile& f, const TQEL&, std::uint32_t, const TBufferBaseData&) {
        WriteLimitEntry(f, TLimitEntry{});
    });
}

} // namespace qel

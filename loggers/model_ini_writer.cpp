// Writes a fixed-channel model's fields into the INI file beside the program,
// each field group into its section.
#include "loggers/model_ini_writer.h"

#include "loggers/qel649.h"
#include "loggers/qel_base.h"
#include "loggers/value_format.h"
#include "platform/ini_file.h"
#include "platform/known_folders.h"

#include <filesystem>

namespace qel {

TModelIniWriter::TModelIniWriter() : FIni(std::make_unique<plat::TIniFile>(IniFileName())) {}

TModelIniWriter::~TModelIniWriter() = default;

std::string TModelIniWriter::IniFileName()
{
    return std::filesystem::path(plat::ProgramPath()).replace_extension(".ini").string();
}

void TModelIniWriter::Write(const char* section, const std::string& key, const std::string& value)
{
    FIni->WriteString(section, key, value);
}

void TModelIniWriter::Write(const char* section, const std::string& key, bool value)
{
    FIni->WriteBool(section, key, value);
}

void TModelIniWriter::Write(const char* section, const std::string& key, double value)
{
    FIni->WriteString(section, key, FormatGeneral(value));
}

void TModelIniWriter::WriteInteger(const char* section, const std::string& key, std::int64_t value)
{
    FIni->WriteString(section, key, std::to_string(value));
}

void TModelIniWriter::WriteSetBits(const char* section, const std::string& name, std::uint64_t bits, int count)
{
    for (int bit = 0; bit < count; ++bit) {
        Write(section, TextWithNumber(name, bit), (bits >> bit & 1u) != 0);
    }
}

void TModelIniWriter::WriteIdentity(const TQEL& logger)
{
    Write("A", "ID_CLASS", logger.ID_CLASS);
    Write("A", "ID_VER", logger.ID_VER);
    Write("A", "ID_VER_PC", logger.ID_VER_PC);
    Write("A", "ID_TYPE", logger.ID_TYPE);
    Write("A", "SN", logger.SN);
    Write("A", "SN_NEW", logger.SN_NEW);
}

void TModelIniWriter::WriteBurstRecording(const TQelBurstRecording& rec)
{
    Write("B", "STATE", rec.STATE);
    Write("B", "VALID_DIFFTIME", rec.VALID_DIFFTIME);
    Write("B", "DIFFTIME", rec.DIFFTIME);
    Write("B", "REC_STARTTIME", rec.REC_STARTTIME);
    Write("B", "REC_STOPTIME", rec.REC_STOPTIME);
    Write("B", "REC_STARTMODE", rec.REC_STARTMODE);
    Write("B", "REC_STOPMODE", rec.REC_STOPMODE);
    Write("B", "REC_CTRL", rec.REC_CTRL);
    Write("B", "REC_OPT", rec.REC_OPT);
    Write("B", "REC_PAGE", rec.REC_PAGE);
    Write("B", "START_PAGE", rec.START_PAGE);
    Write("B", "STOP_PAGE", rec.STOP_PAGE);
    Write("B", "REC_RUNTIME", rec.REC_RUNTIME);
    Write("B", "REC_FAST", static_cast<int>(rec.REC_FAST));
    Write("B", "REC_FAST_MASK", rec.REC_FAST_MASK);
    Write("B", "REC_STD_MASK", rec.REC_STD_MASK);
    Write("B", "REC_FAST_RATE", rec.REC_FAST_RATE);
    Write("B", "REC_STD_RATE", rec.REC_STD_RATE);
    Write("B", "OPTIONS", static_cast<std::uint32_t>(rec.OPTIONS.Bits()));
    Write("B", "LIMIT_ON", rec.LIMIT_ON);
    Write("B", "LIMIT_OFF", rec.LIMIT_OFF);
}

void TModelIniWriter::WriteAcc2G(const TQelAcc2GCal& cal)
{
    Write("I", "X2G_OFS_INT", cal.X2G_OFS_INT);
    Write("I", "X2G_GAIN_INT", cal.X2G_GAIN_INT);
    Write("I", "Y2G_OFS_INT", cal.Y2G_OFS_INT);
    Write("I", "Y2G_GAIN_INT", cal.Y2G_GAIN_INT);
    Write("I", "Z2G_OFS_INT", cal.Z2G_OFS_INT);
    Write("I", "Z2G_GAIN_INT", cal.Z2G_GAIN_INT);
    Write("I", "X2G_OFS_USR", cal.X2G_OFS_USR);
    Write("I", "X2G_GAIN_USR", cal.X2G_GAIN_USR);
    Write("I", "Y2G_OFS_USR", cal.Y2G_OFS_USR);
    Write("I", "Y2G_GAIN_USR", cal.Y2G_GAIN_USR);
    Write("I", "Z2G_OFS_USR", cal.Z2G_OFS_USR);
    Write("I", "Z2G_GAIN_USR", cal.Z2G_GAIN_USR);
}

void TModelIniWriter::WriteUserInputs(const TQelUserInputs& inputs)
{
    for (int n = 1; n <= 4; ++n) {
        const std::string prefix = TextWithNumber("A", n);
        Write("J", prefix + "_NAME_USR", inputs.InputName(n));
        Write("J", prefix + "_OFS_USR", inputs.InputOffset(n));
        Write("J", prefix + "_GAIN_USR", inputs.InputGain(n));
        Write("J", prefix + "_UNIT_USR", inputs.InputUnit(n));
        Write("J", prefix + "_FMT", inputs.InputFormat(n));
    }
    Write("J", "AIN_PRETIME", inputs.AIN_PRETIME);
}

void TModelIniWriter::WriteTwoPointCal(const TQelTwoPointCal& cal)
{
    Write("K", "CAL_RH", cal.CAL_RH);
    Write("K", "CAL_T_RH", cal.CAL_T_RH);
    Write("K", "CAL_T", cal.CAL_T);
    Write("K", "CAL_RH_SET_LO", cal.CAL_RH_SET_LO);
    Write("K", "CAL_RH_ACT_LO", cal.CAL_RH_ACT_LO);
    Write("K", "CAL_RH_SET_HI", cal.CAL_RH_SET_HI);
    Write("K", "CAL_RH_ACT_HI", cal.CAL_RH_ACT_HI);
    Write("K", "CAL_T_SET_LO", cal.CAL_T_SET_LO);
    Write("K", "CAL_T_ACT_LO", cal.CAL_T_ACT_LO);
    Write("K", "CAL_T_SET_HI", cal.CAL_T_SET_HI);
    Write("K", "CAL_T_ACT_HI", cal.CAL_T_ACT_HI);
}

void TModelIniWriter::WriteLimit(int n, const TQelLimit& limit)
{
    const std::string section = TextWithNumber("L", n);
    Write(section.c_str(), "READ", limit.READ);
    Write(section.c_str(), "RL", limit.RL);
    Write(section.c_str(), "AL", limit.AL);
    Write(section.c_str(), "VALUE1", limit.VALUE1);
    Write(section.c_str(), "VALUE2", limit.VALUE2);
}

} // namespace qel

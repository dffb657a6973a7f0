// QEL57 family savers: header blocks of the inclination loggers.
#include "export/save_file_thread_qel57.h"

#include "card/dbus_data.h"

#include "export/save_file_thread_blocks.h"
#include "export/save_file_thread_qel57_dbus.h"
#include "loggers/qel57.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL57::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL57>("TSaveFileThreadQEL57");
const TSaveFileThreadClassInfo TSaveFileThreadQEL57b::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL57b>("TSaveFileThreadQEL57b");
const TSaveFileThreadClassInfo TSaveFileThreadQEL57c::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL57c>("TSaveFileThreadQEL57c");

namespace {

// The family's header with the logger read as TLogger; the limits come from
// the LIMITS table or are all zero.
template <class TLogger>
void WriteQel57Header(TDataFile& file, std::int64_t FirstTime, bool tableLimits)
{
    const std::string program = ProgramName();
    WriteProgramTextBlock(file, program);
    WriteProgramBlock(file, program);
    WriteFirstTimeBlock(file, FirstTime);
    WriteLoggerNamesBlock(file);
    WriteChannelBlock<TLogger>(file, BLOCK_STORED_NAMES, [](TDataFile& f, const TLogger& logger, std::uint32_t,
                                                             const TBufferBaseData&) { f.WriteString(logger.NAME); });
    WriteLoggerIdentityBlock(file);
    WriteTimeDifferenceBlock<TLogger>(file);
    WriteChannelNamesBlock(file);
    WriteChannelUnitsBlock(file);
    if (tableLimits) {
        WriteFixedLimitsBlock<TLogger>(file);
    } else {
        WriteZeroLimitsBlock(file);
    }
    WriteNoCalibrationBlock(file);
}

} // namespace

void TSaveFileThreadQEL57::WriteHeader(std::int64_t FirstTime)
{
    WriteQel57Header<TQEL57>(*FDat, FirstTime, true);
}

void TSaveFileThreadQEL57b::WriteHeader(std::int64_t FirstTime)
{
    WriteQel57Header<TQEL57b>(*FDat, FirstTime, false);
}

void TSaveFileThreadQEL57c::WriteHeader(std::int64_t FirstTime)
{
    WriteQel57Header<TQEL57c>(*FDat, FirstTime, false);
}

void TSaveFileThreadQEL57c::WriteSideFiles(const std::string& FileName)
{
    WriteDBusOrderFiles(DBusDataList, FileName, [this](const std::string& name) -> plat::TStream& {
        return CreateSideFile(name);
    });
}

} // namespace qel

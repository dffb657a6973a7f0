// QEL539c saver: header blocks with module names, channel identities of the
// radio-module buffers and the singles as the decoder stored them.
#include "export/save_file_thread_qel539c.h"

#include "export/save_file_thread_blocks.h"
#include "foundations/file_names.h"
#include "foundations/settings.h"
#include "loggers/qel539c.h"
#include "platform/ascii_case.h"
#include "platform/ini_file.h"
#include "platform/known_folders.h"

#include <utility>
#include <vector>

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL539c::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL539c>("TSaveFileThreadQEL539c");

std::string LoggerNameFileName()
{
    return ReplaceFileExt(plat::ProgramPath(), ".txt");
}

namespace {

// The "key=value" lines of section "loggers" of the logger-name file; a
// missing file gives none.
class TLoggerNameList {
public:
    TLoggerNameList()
    {
        for (const std::string& line : plat::TIniFile(LoggerNameFileName()).ReadSectionValues("loggers")) {
            const std::size_t equals = line.find('=');
            FEntries.emplace_back(plat::FoldCase(line.substr(0, equals)), line.substr(equals + 1));
        }
    }

    // The value of the first key equal to name, then name in brackets; name
    // itself when no key matches.
    std::string DisplayName(const std::string& name) const
    {
        const std::string folded = plat::FoldCase(name);
        for (const auto& [key, value] : FEntries) {
            if (key == folded) {
                return value + " [" + name + "]";
            }
        }
        return name;
    }

private:
    std::vector<std::pair<std::string, std::string>> FEntries;   // folded key, value
};

void WriteModulNamesBlock(TDataFile& file)
{
    const TLoggerNameList names;
    WriteChannelBlock<TQEL539C>(file, BLOCK_LOGGER_NAMES, [&names](TDataFile& f, const TQEL539C& logger,
                                                                    std::uint32_t ch, const TBufferBaseData&) {
        std::string name = logger.GetModulName(ch);
        if (name.empty()) {
            name = RegSettings.sQEL + std::to_string(logger.SN);
        }
        f.WriteString(names.DisplayName(name));
    });
}

// 26 layout 3: the serial number and channel ID each buffer carries.
void WriteRadioChannelIdentityBlock(TDataFile& file)
{
    file.NewBlock(BLOCK_CHANNEL_IDENTITY);
    file.WriteWord(3);
    for (const TBufferBaseData* buffer : SaveBufferList) {
        const TQEL539C& logger = ChannelLogger<TQEL539C>(*buffer);
        file.WriteLongint(static_cast<std::int32_t>(buffer->channel_sn));
        file.WriteWord(logger.ID_CLASS);
        file.WriteWord(logger.ID_VER);
        file.WriteWord(buffer->channel_id);
    }
    file.WriteBlock();
}

} // namespace

void TSaveFileThreadQEL539c::WriteHeader(std::int64_t FirstTime)
{
    const std::string program = ProgramName();
    WriteProgramTextBlock(*FDat, program);
    WriteProgramBlock(*FDat, program);
    WriteFirstTimeBlock(*FDat, FirstTime);
    WriteModulNamesBlock(*FDat);
    WriteChannelBlock<TQEL539C>(*FDat, BLOCK_STORED_NAMES, [](TDataFile& f, const TQEL539C& logger, std::uint32_t,
                                                               const TBufferBaseData&) { f.WriteString(logger.QELNAME); });
    WriteLoggerIdentityBlock(*FDat);
    WriteUtcBlock(*FDat);
    WriteTimeDifferenceBlock<TQEL539C>(*FDat);
    WriteChannelNamesBlock(*FDat);
    WriteChannelUnitsBlock(*FDat);
    WriteRadioChannelIdentityBlock(*FDat);
}

bool TSaveFileThreadQEL539c::WriteData(std::int64_t FirstTime)
{
    return WriteRows(FirstTime, TRowCells::Stored);
}

} // namespace qel

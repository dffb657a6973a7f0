// QEL28 saver: header blocks of the configurable logger, the singles as the
// decoder stored them, and the SE page file beside each part.
#include "export/save_file_thread_qel28.h"

#include "card/se_pages.h"
#include "export/save_file_thread_blocks.h"
#include "foundations/file_names.h"
#include "loggers/qel28.h"
#include "platform/streams.h"

#include <charconv>

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL28::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL28>("TSaveFileThreadQEL28");

namespace {

void AppendNumber(std::string& line, std::uint64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line.append(digits, end);
}

// The lines hold ASCII only: no code-page conversion is needed.
void WriteLine(plat::TStream& file, std::string& line)
{
    line += "\r\n";
    file.WriteBuffer(line.data(), static_cast<std::int64_t>(line.size()));
}

void WriteSEPageFile(const TSEPageList& pages, plat::TStream& file)
{
    std::string line = ";job;order;index;page;size";
    for (std::uint64_t i = 0; i < TSEPage::DataSize; ++i) {
        line += ";+";
        AppendNumber(line, i);
    }
    WriteLine(file, line);
    for (int n = 0; n < pages.Count(); ++n) {
        const TSEPage& page = *pages.GetItem(n);
        line.clear();
        AppendNumber(line, static_cast<std::uint64_t>(n));
        for (const std::uint64_t field : {std::uint64_t{page.job}, std::uint64_t{page.order},
                                          std::uint64_t{page.index}, std::uint64_t{page.page},
                                          static_cast<std::uint64_t>(page.Size())}) {
            line += ';';
            AppendNumber(line, field);
        }
        const auto data = page.Data();
        for (std::size_t i = 0; i < TSEPage::DataSize; ++i) {
            line += ';';
            if (i < data.size()) {
                AppendNumber(line, data[i]);
            }
        }
        WriteLine(file, line);
    }
}

} // namespace

void TSaveFileThreadQEL28::WriteSideFiles(const std::string& FileName)
{
    WriteSEPageFile(SEPageList, CreateSideFile(ReplaceFileExt(FileName, ".csv")));
}

void TSaveFileThreadQEL28::WriteHeader(std::int64_t FirstTime)
{
    LoggerAs<TQEL28>(QelList.GetCurrent()); // the read's logger must be of this family
    const std::string program = ProgramName();
    WriteProgramTextBlock(*FDat, program);
    WriteProgramBlock(*FDat, program);
    WriteFirstTimeBlock(*FDat, FirstTime);
    WriteLoggerNamesBlock(*FDat);
    WriteAvailableQelNameBlock<TQEL28>(*FDat);
    WriteLoggerIdentityBlock(*FDat);
    WriteUtcBlock(*FDat);
    WriteTimeDifferenceBlock<TQEL28>(*FDat);
    WriteChannelNamesBlock(*FDat);
    WriteChannelUnitsBlock(*FDat);
    WriteChannelIdentityBlock(*FDat);
}

bool TSaveFileThreadQEL28::WriteData(std::int64_t FirstTime)
{
    return WriteRows(FirstTime, TRowCells::Stored);
}

} // namespace qel

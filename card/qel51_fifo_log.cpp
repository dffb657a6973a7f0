// The QEL51 decoder's FIFO diagnostic lines and their file.
#include "card/qel51_fifo_log.h"

#include "foundations/debug_modes.h"
#include "foundations/file_names.h"
#include "foundations/language_switch.h"
#include "platform/date_time.h"
#include "platform/float_format.h"
#include "platform/text_encoding.h"

#include <cstdio>

namespace qel {
namespace {

constexpr double SECONDS_PER_DAY = 86400.0;
constexpr std::uint8_t DATE_AND_TIME = 0; // format kind of GetDateTimeFormat

std::unique_ptr<plat::TFileStream> OpenForAppending(const std::string& FileName)
{
    const std::uint16_t mode = FileExist(FileName) ? plat::fmOpenWrite : plat::fmCreate;
    auto file = std::make_unique<plat::TFileStream>(FileName, mode);
    file->Seek(0, plat::soEnd);
    return file;
}

} // namespace

std::string Qel51FifoLine(std::int64_t PageTicks, const var_record::TFifoRecord& Record)
{
    const double fifoDate = plat::EncodeDate(2000, 1, 1) + Record.fifoTime / SECONDS_PER_DAY;
    char state[3];
    std::snprintf(state, sizeof state, "%02X", Record.state);
    return std::to_string(PageTicks) + ";" + std::to_string(Record.fifoTime) + ";" +
           FormatDateTimeKind(DATE_AND_TIME, fifoDate) + ";" + std::to_string(Record.channel) + ";" + state + ";" +
           plat::FormatFloat("0.0", Record.value);
}

TQel51FifoLog::TQel51FifoLog()
{
    const std::string dumpFile = DebugFileName();
    if (GetDebugMode() != DEBUG_MODE_PAGE || dumpFile.empty()) {
        return;
    }
    try {
        FFile = OpenForAppending(AddBackslash(GetFileDir(dumpFile)) + QEL51_FIFO_LOG_NAME);
    } catch (const plat::EStreamError&) {
        FFile.reset();
    }
}

TQel51FifoLog::~TQel51FifoLog() = default;

void TQel51FifoLog::Add(std::int64_t PageTicks, const var_record::TFifoRecord& Record)
{
    if (!FFile) {
        return;
    }
    const std::string bytes = plat::Utf8ToAnsi(Qel51FifoLine(PageTicks, Record)) + "\r\n";
    try {
        FFile->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    } catch (const plat::EStreamError&) {
        FFile.reset();
    }
}

} // namespace qel

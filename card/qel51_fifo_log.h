// Diagnostic lines of the QEL51 decoder's FIFO records. In the page debug
// mode they are appended to "dbm_page_qel51.txt" beside the debug dump file,
// the file open while one page decodes; decoding never depends on them.
#pragma once

#include "card/var_record_fifo.h"
#include "platform/streams.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

inline constexpr const char* QEL51_FIFO_LOG_NAME = "dbm_page_qel51.txt";

// Page time in ticks ";" FIFO time ";" FIFO time as date and time from
// 2000-01-01 00:00:00 ";" FIFO channel byte ";" state in two hexadecimal
// digits ";" value with "0.0", in the program's format settings.
std::string Qel51FifoLine(std::int64_t PageTicks, const var_record::TFifoRecord& Record);

class TQel51FifoLog {
public:
    // Opens the file for appending when the page debug mode runs with its
    // dump file open; otherwise, or when the file cannot be opened, logs nothing.
    TQel51FifoLog();
    ~TQel51FifoLog();
    TQel51FifoLog(const TQel51FifoLog&) = delete;
    TQel51FifoLog& operator=(const TQel51FifoLog&) = delete;

    // One line; a failed write ends the log for this page.
    void Add(std::int64_t PageTicks, const var_record::TFifoRecord& Record);

private:
    std::unique_ptr<plat::TFileStream> FFile;
};

} // namespace qel

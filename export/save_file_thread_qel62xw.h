// Block-file savers of the QEL62xW generation: QEL629WxD (model code 0x6617)
// and QEL621WxD (0x6621 from PC version 2.00), with their channel limits.
#pragma once

#include "export/save_file_thread.h"

namespace qel {

// Blocks 20, 1, 2, 3, 13 (QELNAME when the logger has one), 5, 25, 15, 6, 7,
// 26 (layout 1), 11 (the channel limits the pages carried), then the singles
// as the decoder stored them. Every channel's logger, and the read's, must be
// a TQEL62xW.
class TSaveFileThreadQEL62xW : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteHeader(std::int64_t FirstTime) override;
    bool WriteData(std::int64_t FirstTime) override;
};

class TSaveFileThreadQEL621WxD : public TSaveFileThreadQEL62xW {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThreadQEL62xW::TSaveFileThreadQEL62xW;
};

} // namespace qel

// The ".bin2" saver: per channel a time and a calibrated value for every
// sample inside the time window, without gap values.
#pragma once

#include "export/save_bin_file_thread_base.h"

namespace qel {

// Records of 12 bytes follow the end mark
// "QEL_BINARY_TIME_8Byte_Double_DATA_4Byte_Single@": Double days since the
// file's first time, then the Single value the logger's conversion gives
// (CalcChValue, the same value every other output holds). The header's
// gain and offset describe the logger's linear scaling; the rate is 0.
// Samples stored as singles are written as they are; a gap marker among
// them is left out.
class TSaveBin2FileThread : public TSaveBinFileThreadBase {
public:
    static const TSaveFileThreadClassInfo ClassInfo;

    using TSaveBinFileThreadBase::TSaveBinFileThreadBase;

protected:
    bool WriteData(std::int64_t FirstTime) override;
    std::string_view EndMark() const override { return "QEL_BINARY_TIME_8Byte_Double_DATA_4Byte_Single@"; }
};

} // namespace qel

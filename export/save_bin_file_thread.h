// The ".bin" saver: per channel the raw 16-bit samples inside the time
// window, without gap values, and the average sample interval in the header.
#pragma once

#include "export/save_bin_file_thread_base.h"

namespace qel {

// Samples follow the end mark "QEL_BINARY_DATA_2Byte_INT@" as signed 16-bit
// raw values; a reader scales them with the header's gain and offset. The
// header's rate is (last - first written time) / (written - 1) in seconds,
// 0 with fewer than two samples or no time between them. A channel of
// single values cannot be written this way and ends the save with an error.
class TSaveBinFileThread : public TSaveBinFileThreadBase {
public:
    static const TSaveFileThreadClassInfo ClassInfo;

    using TSaveBinFileThreadBase::TSaveBinFileThreadBase;

protected:
    bool WriteData(std::int64_t FirstTime) override;
    std::string_view EndMark() const override { return "QEL_BINARY_DATA_2Byte_INT@"; }
    // Writes the rate.
    void CompleteFile() override;

private:
    // One more written sample at time t.
    void CountValue(std::int64_t t)
    {
        if (FAmount == 0) {
            FStartTime = t;
        } else {
            FStopTime = t;
        }
        ++FAmount;
    }

    std::int64_t FStartTime = 0;   // time of the first written sample
    std::int64_t FStopTime = 0;    // time of the last written sample, once there are two
    std::int64_t FAmount = 0;      // samples written to the file
};

} // namespace qel

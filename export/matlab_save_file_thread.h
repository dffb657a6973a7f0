// The MATLAB saver: the save list's time-ordered rows as the columns of the
// double matrix "QEL" in level-5 MAT-files, split into parts when full.
#pragma once

#include "export/save_file_thread.h"

#include <cstdint>
#include <memory>

namespace qel {

class TMat2File;

// Writes part files GetFullFileName(SaveBufferList.FileNameEx) with the name
// suffixes "", "_E1", "_E2" ...; each holds the descriptive "Info" variables
// of its first time and the matrix "QEL": one column per row of the merge,
// the seconds since the part's first time, then one value per channel in
// save-list order. A channel without a sample at the row time holds NaN
// (the bits of NoValueMarker widened); a gap value holds the bits of
// GapValueMarker widened, never a converted number. A part ends at the
// matrix's column limit (Mat2SetMaxValues); no part follows when nothing
// inside the window is left. Each part takes its target's place only when
// complete: parts finished before a failure or cancellation stay, the
// unfinished one leaves nothing behind.
class TSaveMatlabFileThread : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;

    TSaveMatlabFileThread(plat::HWND hWindow, TAddReport AddReport, TAddReport AddSaveInfo);
    ~TSaveMatlabFileThread() override;

protected:
    bool SaveData() override;
    // The "Info" variables of the part.
    void WriteHeader(std::int64_t FirstTime) override;
    // The matrix; True when every sample was consumed.
    bool WriteData(std::int64_t FirstTime) override;

private:
    std::unique_ptr<TMat2File> FMat;   // the part being written
};

} // namespace qel

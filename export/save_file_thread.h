// Base of every save thread: start, progress and end messages, cancellation,
// the part-file loop, the time-ordered row merge and the block-file data rows.
#pragma once

#include "foundations/byte_helpers.h"
#include "platform/atomic_file.h"
#include "platform/messages.h"
#include "platform/worker_thread.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qel {

class TBufferBaseData;
class TDataFile;
class TSaveFileThread;

// What a row cell of the block file holds for a channel with a sample at the
// row time (a channel without one holds NoValueMarker).
enum class TRowCells {
    Base,       // TakeSampleValue: GapValueMarker for a gap value, else CalcChValue
    Calibrated, // CalcChValue of the raw sample, without gap test
    Stored      // the single sample as the buffer holds it
};

// Consumes the cursor sample of buffer, which lies at time t, and answers
// whether it is a value: value := CalcChValue of a raw sample, or a single
// sample as the buffer holds it. A raw sample the logger reports as its gap
// value, or a single that is the gap marker, gives False and GapValueMarker.
bool TakeSampleValue(TBufferBaseData& buffer, std::int64_t t, float& value);

// A class reference of the savers: its name and how to create a thread of it.
struct TSaveFileThreadClassInfo {
    const char* ClassName;
    std::shared_ptr<TSaveFileThread> (*Create)(plat::HWND hWindow, TAddReport AddReport, TAddReport AddSaveInfo);
};
using TSaveFileThreadClass = const TSaveFileThreadClassInfo*;

template <class T>
constexpr TSaveFileThreadClassInfo MakeSaveFileThreadClass(const char* className)
{
    return TSaveFileThreadClassInfo{className,
                                    [](plat::HWND hWindow, TAddReport AddReport,
                                       TAddReport AddSaveInfo) -> std::shared_ptr<TSaveFileThread> {
                                        return std::make_shared<T>(hWindow, std::move(AddReport),
                                                                   std::move(AddSaveInfo));
                                    }};
}

// The save thread. It writes the buffers of SaveBufferList (sorted by its
// BeginSave) to the file GetFullFileName(SaveBufferList.FileNameEx), and
// empties the save list when it ends.
//
// Use: create it (Create of a class reference, or make_shared), set
// TimeMode, TimeStart and TimeEnd, Start it; Terminate cancels. It posts
// WM_SAVE_STATUS to the window: THREAD_STARTED, THREAD_PROGRESS with the
// percent whenever it changes, then THREAD_SAVED and THREAD_FINISHED; or, on
// an error, THREAD_FAILED with the error's EQel code (3 when cancelled, 0 for
// any error that is not an EQel, its message in LastErrorMsg) and no
// THREAD_FINISHED. The two callbacks are called on the worker thread; wrap
// them with CallOnWindowThread so their texts reach the window's thread in
// order, ahead of the final message.
//
// Outputs: every file of a save (parts, side files, channels) is written
// beside its target and kept complete (KeepFile) until the whole save is;
// then CommitSave puts them all in place together. A failed or cancelled
// save leaves every existing file untouched and no file of its own behind,
// so a folder never holds a mixed set of old and new files.
//
// Derived savers override the four steps of a part (the base writes block 0
// through the data file, no header and the base data rows):
//   WriteSideFiles(name)  files beside the part, through CreateSideFile
//   WriteHeader(first)    the header blocks into FDat
//   WriteData(first)      the rows; True when every sample was consumed,
//                         False when the value budget ended the part
// or SaveData itself for another output loop (zip, MATLAB, raw files),
// ending with CommitSave and calling DiscardSave when it fails, and using
// the merge helpers (FindNextTime, SkipSamples, SkipToWindow,
// InTimeRange, UpdateProgress, CheckTerminated), the per-channel helpers
// (SkipChannelToWindow, SampleDone, TakeSampleValue) and PartFileName.
class TSaveFileThread : public plat::TThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;

    TSaveFileThread(plat::HWND hWindow, TAddReport AddReport, TAddReport AddSaveInfo);
    ~TSaveFileThread() override;

    // Creates a thread of any saver class: Create(hWindow, ...) of its ClassInfo.
    static std::shared_ptr<TSaveFileThread> Create(TSaveFileThreadClass Class, plat::HWND hWindow,
                                                   TAddReport AddReport, TAddReport AddSaveInfo)
    {
        return Class->Create(hWindow, std::move(AddReport), std::move(AddSaveInfo));
    }

    std::int32_t TimeMode = 0;   // 1: the window applies; otherwise every time is inside it
    std::int64_t TimeStart = 0;  // first tick of the window, inclusive
    std::int64_t TimeEnd = 0;    // last tick of the window, inclusive

    bool InTimeRange(std::int64_t t) const { return TimeMode != 1 || (TimeStart <= t && t <= TimeEnd); }

protected:
    void Execute() override;
    void ExecuteFailed(std::exception_ptr error, const std::string& message) override;

    // The output loop: parts of one block file each (base: see the .cpp).
    virtual bool SaveData();
    virtual void WriteSideFiles(const std::string& FileName);
    virtual void WriteHeader(std::int64_t FirstTime);
    virtual bool WriteData(std::int64_t FirstTime);

    // The full name of part 0, 1, 2 ... of the output: the save list's file
    // name with the suffix "", "_E1", "_E2" ... (set as its cnt part).
    std::string PartFileName(int part);

    // The data rows of a part as blocks of type 8, with the value budget of
    // RecInfoList; the result as WriteData's.
    bool WriteRows(std::int64_t FirstTime, TRowCells Cells);

    // Row merge over the save list. The earliest cursor time of the buffers
    // not yet exhausted; False when every buffer is exhausted.
    bool FindNextTime(std::int64_t& t) const;
    // Consumes the samples at time t of every buffer (they lie outside the
    // window), counting them as progress.
    void SkipSamples(std::int64_t t);
    // Skips the samples before the window (and all samples once it is
    // passed); t := the first time inside it. False when none is left.
    bool SkipToWindow(std::int64_t& t);
    // The same for one channel written on its own, counting each skipped
    // sample with SampleDone; False when the channel has no sample left.
    bool SkipChannelToWindow(TBufferBaseData& buffer);

    void IncPos(std::int64_t n) { FPos += n; }
    // Posts THREAD_PROGRESS when the percent of FPos in FPosEnd changed.
    void UpdateProgress();
    // Counts one sample consumed by a saver that writes sample by sample:
    // the stop request, then the progress (computed only when the count
    // reaches the next percent).
    void SampleDone()
    {
        ++FPos;
        CheckTerminated();
        if (FPos >= FNextProgressPos) {
            UpdateProgress();
        }
    }
    // Raises EQel EXC_USER_ABORT when the thread was told to terminate.
    void CheckTerminated() const;

    void AddReport(const std::string& text) const;
    void AddSaveInfo(const std::string& text) const;
    void PostStatus(plat::WPARAM state, plat::LPARAM value) const;

    // A file of the open part beside the block file, written beside its
    // target and kept with the part by CompletePart; dropped with it on failure.
    plat::TStream& CreateSideFile(const std::string& FileName);
    // Opens the part file: FDat := the new block file (block 0 written).
    void OpenPart(const std::string& FileName);
    // Completes the open part: its block file, then its side files, are
    // kept for CommitSave; the block file is the one reported.
    void CompletePart();

    // Keeps a complete file of the save (written out and synced here, so a
    // full disk fails the save now). A reported file's name goes to the
    // save list's FileList and to AddSaveInfo once the save is in place.
    void KeepFile(std::unique_ptr<plat::TAtomicFileStream> file, bool reported);
    // Puts every kept file in place and reports them. A failure leaves
    // every target as it was.
    void CommitSave();
    // Drops the open part and every kept file; the targets stay as they were.
    void DiscardSave();

    std::unique_ptr<TDataFile> FDat;   // the block file of the part being written
    std::int64_t FPosEnd = 1;          // total samples of the save list, at least 1
    std::int64_t FPos = 0;             // samples consumed so far

private:
    template <TRowCells Cells>
    bool WriteRowsOf(std::int64_t FirstTime);

    TAddReport FAddReport;             // report-line callback; may be unset
    TAddReport FAddSaveInfo;           // saved-file callback; may be unset
    plat::HWND FhWindow;               // receives WM_SAVE_STATUS
    std::int64_t FPos100 = 0;          // the last percent posted
    std::int64_t FNextProgressPos = 0; // the sample count at which the percent next goes up
    std::vector<std::unique_ptr<plat::TAtomicFileStream>> FSideFiles; // of the open part
    plat::TAtomicFileSet FSaveFiles;            // complete files of the save, not yet in place
    std::vector<std::string> FReportedNames;   // of FSaveFiles, reported once in place
};

// A callback that hands each text to callback on the thread of the window
// hWindow, in order with the messages posted to it (so a save thread's
// lines arrive before its final state). Texts for a window that is gone are
// dropped. An unset callback gives an unset callback.
TAddReport CallOnWindowThread(plat::HWND hWindow, TAddReport callback);

} // namespace qel

// Save thread base: thread frame with its status messages, part-file loop,
// row merge over the save list and the data rows of the block file.
#include "export/save_file_thread.h"

#include "card/buffer_list.h"
#include "card/card_records.h"
#include "card/thread_status.h"
#include "export/data_file.h"
#include "foundations/file_names.h"
#include "foundations/qel_error.h"
#include "foundations/tick_time.h"
#include "loggers/qel_base.h"
#include "platform/atomic_file.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThread::ClassInfo = MakeSaveFileThreadClass<TSaveFileThread>("TSaveFileThread");

TSaveFileThread::TSaveFileThread(plat::HWND hWindow, TAddReport AddReport, TAddReport AddSaveInfo)
    : FAddReport(std::move(AddReport)), FAddSaveInfo(std::move(AddSaveInfo)), FhWindow(hWindow)
{
}

TSaveFileThread::~TSaveFileThread() = default;

void TSaveFileThread::Execute()
{
    InitThreadFPU();
    ClearLastErrorMsg();
    AddReport("**** SAVE DATA ****");
    AddReport("");
    PostStatus(THREAD_STARTED, 0);
    FPosEnd = SaveBufferList.GetAllCnts();
    FPos = 0;
    AddReport("values to save : " + std::to_string(FPosEnd));
    if (SaveData()) {
        PostStatus(THREAD_SAVED, 0);
    } else {
        AddReport("Error : " + GetFullFileName(SaveBufferList.FileNameEx));
    }
    PostStatus(THREAD_FINISHED, 0);
}

void TSaveFileThread::ExecuteFailed(std::exception_ptr error, const std::string&)
{
    const std::int32_t code = RecordFailure(error);
    try {
        AddReport("Exception #" + std::to_string(code) + " : " + LastErrorMsg());
    } catch (...) {
        // the failure is reported by the message below all the same
    }
    PostStatus(THREAD_FAILED, code);
}

// A part ends when WriteData reports that the value budget is used up.
bool TSaveFileThread::SaveData()
{
    SaveBufferList.FileList.clear();
    try {
        SaveBufferList.BeginSave();
        for (int part = 0;; ++part) {
            const std::string name = PartFileName(part);
            OpenPart(name);
            WriteSideFiles(name);
            std::int64_t first = -1;
            SkipToWindow(first);
            WriteHeader(first);
            const bool complete = WriteData(first);
            CompletePart();
            if (complete) {
                break;
            }
        }
        CommitSave();
    } catch (...) {
        DiscardSave();
        SaveBufferList.ClearAll();
        throw;
    }
    SaveBufferList.ClearAll();
    return true;
}

std::string TSaveFileThread::PartFileName(int part)
{
    SaveBufferList.FileNameEx.cnt = part == 0 ? std::string() : "_E" + std::to_string(part);
    return GetFullFileName(SaveBufferList.FileNameEx);
}

void TSaveFileThread::WriteSideFiles(const std::string&)
{
}

void TSaveFileThread::WriteHeader(std::int64_t)
{
}

bool TSaveFileThread::WriteData(std::int64_t FirstTime)
{
    return WriteRows(FirstTime, TRowCells::Base);
}

namespace {

// The cell of a channel whose cursor sample lies at the row time; the
// sample is consumed.
template <TRowCells Cells>
float TakeCell(TBufferBaseData& buffer, std::int64_t t)
{
    float value = 0.0f;
    if constexpr (Cells == TRowCells::Base) {
        TakeSampleValue(buffer, t, value);
    } else if constexpr (Cells == TRowCells::Stored) {
        buffer.GetSaveSingleValue(t, value);
    } else {
        std::int16_t raw = 0;
        buffer.GetSaveIntValue(t, raw);
        value = buffer.GetLinkQEL()->CalcChValue(buffer.GetChannel(), raw);
    }
    return value;
}

} // namespace

// One row per time inside the window: Double days since the part's first
// time, then one Single per save-list channel (NoValueMarker for a channel
// without a sample at that time). A block is closed after the row that takes
// its payload past BLOCK_PAYLOAD_TARGET; the part ends when the value budget
// (one value per row) is used up.
template <TRowCells Cells>
bool TSaveFileThread::WriteRowsOf(std::int64_t FirstTime)
{
    RecInfoList.InitSize();
    for (;;) {
        FDat->NewBlock(BLOCK_ROWS);
        bool dataLeft = true;
        do {
            std::int64_t t = 0;
            if (!FindNextTime(t)) {
                dataLeft = false;
                break;
            }
            if (InTimeRange(t)) {
                FDat->WriteDouble(TicksToDays(t - FirstTime));
                for (TBufferBaseData* buffer : SaveBufferList) {
                    if (!buffer->GetSaveComplete() && buffer->GetSaveTime() == t) {
                        FDat->WriteSingle(TakeCell<Cells>(*buffer, t));
                        ++FPos;
                    } else {
                        FDat->WriteSingle(NoValueMarker());
                    }
                }
                RecInfoList.DecSize();
            } else {
                SkipSamples(t);
            }
            CheckTerminated();
            UpdateProgress();
        } while (FDat->BufferSize() <= BLOCK_PAYLOAD_TARGET && !RecInfoList.IsFullSize());
        FDat->WriteBlock();
        if (!dataLeft) {
            return true;
        }
        if (RecInfoList.IsFullSize()) {
            // The part is full. When nothing inside the window is left, the
            // save is complete: no empty part follows.
            std::int64_t t = 0;
            return !SkipToWindow(t);
        }
    }
}

bool TakeSampleValue(TBufferBaseData& buffer, std::int64_t t, float& value)
{
    if (buffer.HoldsSingleValues()) {
        buffer.GetSaveSingleValue(t, value);
        return SingleBits(value) != GAP_VALUE_BITS;
    }
    std::int16_t raw = 0;
    buffer.GetSaveIntValue(t, raw);
    const TQEL& logger = *buffer.GetLinkQEL();
    if (logger.IsGAPValue(buffer.GetChannel(), raw)) {
        value = GapValueMarker();
        return false;
    }
    value = logger.CalcChValue(buffer.GetChannel(), raw);
    return true;
}

bool TSaveFileThread::WriteRows(std::int64_t FirstTime, TRowCells Cells)
{
    switch (Cells) {
    case TRowCells::Base:
        return WriteRowsOf<TRowCells::Base>(FirstTime);
    case TRowCells::Calibrated:
        return WriteRowsOf<TRowCells::Calibrated>(FirstTime);
    case TRowCells::Stored:
        return WriteRowsOf<TRowCells::Stored>(FirstTime);
    }
    return true;
}

bool TSaveFileThread::FindNextTime(std::int64_t& t) const
{
    bool found = false;
    for (const TBufferBaseData* buffer : SaveBufferList) {
        if (!buffer->GetSaveComplete() && (!found || buffer->GetSaveTime() < t)) {
            t = buffer->GetSaveTime();
            found = true;
        }
    }
    return found;
}

void TSaveFileThread::SkipSamples(std::int64_t t)
{
    for (TBufferBaseData* buffer : SaveBufferList) {
        if (!buffer->GetSaveComplete() && buffer->GetSaveTime() == t) {
            buffer->ReadNextValue();
            ++FPos;
        }
    }
    UpdateProgress();
}

bool TSaveFileThread::SkipToWindow(std::int64_t& t)
{
    for (;;) {
        if (!FindNextTime(t)) {
            t = -1;
            return false;
        }
        if (InTimeRange(t)) {
            return true;
        }
        SkipSamples(t);
    }
}

bool TSaveFileThread::SkipChannelToWindow(TBufferBaseData& buffer)
{
    while (!buffer.GetSaveComplete() && !InTimeRange(buffer.GetSaveTime())) {
        buffer.ReadNextValue();
        SampleDone();
    }
    return !buffer.GetSaveComplete();
}

void TSaveFileThread::UpdateProgress()
{
    const std::int64_t percent = FPos * 100 / FPosEnd;
    if (percent != FPos100) {
        FPos100 = percent;
        PostStatus(THREAD_PROGRESS, static_cast<plat::LPARAM>(percent));
    }
    FNextProgressPos = ((percent + 1) * FPosEnd + 99) / 100;
}

void TSaveFileThread::CheckTerminated() const
{
    if (Terminated()) {
        throw EQel(EXC_USER_ABORT);
    }
}

void TSaveFileThread::AddReport(const std::string& text) const
{
    if (FAddReport) {
        FAddReport(text);
    }
}

void TSaveFileThread::AddSaveInfo(const std::string& text) const
{
    if (FAddSaveInfo) {
        FAddSaveInfo(text);
    }
}

void TSaveFileThread::PostStatus(plat::WPARAM state, plat::LPARAM value) const
{
    plat::PostMessage(FhWindow, WM_SAVE_STATUS, state, value);
}

plat::TStream& TSaveFileThread::CreateSideFile(const std::string& FileName)
{
    FSideFiles.push_back(std::make_unique<plat::TAtomicFileStream>(FileName));
    return *FSideFiles.back();
}

void TSaveFileThread::OpenPart(const std::string& FileName)
{
    FDat = TDataFile::CreateSave(FileName);
}

void TSaveFileThread::CompletePart()
{
    KeepFile(FDat->Complete(), true);
    FDat.reset();
    for (auto& side : FSideFiles) {
        KeepFile(std::move(side), false);
    }
    FSideFiles.clear();
}

void TSaveFileThread::KeepFile(std::unique_ptr<plat::TAtomicFileStream> file, bool reported)
{
    const std::string name = file->FileName();
    FSaveFiles.Add(std::move(file));
    if (reported) {
        FReportedNames.push_back(name);
    }
}

void TSaveFileThread::CommitSave()
{
    FSaveFiles.Commit();
    std::vector<std::string> names = std::move(FReportedNames);
    FReportedNames.clear();
    for (const std::string& name : names) {
        SaveBufferList.FileList.push_back(name);
        AddSaveInfo(name);
    }
}

void TSaveFileThread::DiscardSave()
{
    FDat.reset();
    FSideFiles.clear();
    FSaveFiles.Clear();
    FReportedNames.clear();
}

TAddReport CallOnWindowThread(plat::HWND hWindow, TAddReport callback)
{
    if (!callback) {
        return {};
    }
    auto shared = std::make_shared<const TAddReport>(std::move(callback));
    return [hWindow, shared](const std::string& text) { plat::QueueCall(hWindow, [shared, text] { (*shared)(text); }); };
}

} // namespace qel

// The MATLAB saver: part loop, descriptive variables and the matrix columns
// merged from the save list's cursors.
#include "export/matlab_save_file_thread.h"

#include "card/buffer_list.h"
#include "export/matlab_file.h"
#include "export/save_file_thread_blocks.h"
#include "foundations/language_switch.h"
#include "foundations/tick_time.h"
#include "foundations/win_tools.h"
#include "loggers/qel_base.h"
#include "platform/known_folders.h"

#include <bit>

namespace qel {

namespace {

constexpr std::uint8_t START_TIME_FORMAT = 8;   // "MM/dd/yyyy HH:mm:ss"

// A single as a double; a NaN keeps its sign and payload, so the markers stay
// apart (a conversion need not keep them).
constexpr double WidenSingle(float value)
{
    if (!IsNaNSingle(value)) {
        return static_cast<double>(value);
    }
    const std::uint32_t bits = SingleBits(value);
    const std::uint64_t sign = static_cast<std::uint64_t>(bits >> 31) << 63;
    const std::uint64_t payload = static_cast<std::uint64_t>(bits & 0x007FFFFFu) << 29;
    return std::bit_cast<double>(sign | 0x7FF0000000000000u | payload);
}

constexpr double NO_VALUE_CELL = WidenSingle(NoValueMarker());

// The cell of a channel whose cursor sample lies at time t; the sample is consumed.
double TakeCell(TBufferBaseData& buffer, std::int64_t t)
{
    float value = 0.0f;
    TakeSampleValue(buffer, t, value);
    return WidenSingle(value);
}

} // namespace

const TSaveFileThreadClassInfo TSaveMatlabFileThread::ClassInfo =
    MakeSaveFileThreadClass<TSaveMatlabFileThread>("TSaveMatlabFileThread");

TSaveMatlabFileThread::TSaveMatlabFileThread(plat::HWND hWindow, TAddReport AddReport, TAddReport AddSaveInfo)
    : TSaveFileThread(hWindow, std::move(AddReport), std::move(AddSaveInfo))
{
}

TSaveMatlabFileThread::~TSaveMatlabFileThread() = default;

bool TSaveMatlabFileThread::SaveData()
{
    SaveBufferList.FileList.clear();
    try {
        SaveBufferList.BeginSave();
        for (int part = 0;; ++part) {
            const std::string name = PartFileName(part);
            FMat = std::make_unique<TMat2File>(name);
            std::int64_t first = -1;
            SkipToWindow(first);
            WriteHeader(first);
            const bool complete = WriteData(first);
            KeepFile(FMat->Mat2Close(), true);
            FMat.reset();
            if (complete) {
                break;
            }
        }
        CommitSave();
    } catch (...) {
        FMat.reset();
        DiscardSave();
        SaveBufferList.ClearAll();
        throw;
    }
    SaveBufferList.ClearAll();
    return true;
}

void TSaveMatlabFileThread::WriteHeader(std::int64_t FirstTime)
{
    std::vector<std::string> modules;
    std::vector<std::string> serials{""};
    std::vector<std::string> names{"time"};
    std::vector<std::string> units{"s"};
    for (const TBufferBaseData* buffer : SaveBufferList) {
        const TQEL& logger = *buffer->GetLinkQEL();
        modules.push_back(std::to_string(logger.SN));
        serials.push_back(std::to_string(logger.SN));
        names.push_back(logger.GetChName(buffer->GetChannel()));
        units.push_back(logger.GetChUnit(buffer->GetChannel()));
    }
    FMat->Mat2WriteString("InfoCreator", ProgramName() + " V" + GetFileVersionStr(plat::ProgramPath()));
    FMat->Mat2WriteString("InfoStartTime", FormatDateTimeKind(START_TIME_FORMAT, TicksToDateTime(FirstTime)));
    FMat->Mat2WriteDouble("InfoStartTime_2000_01_01", TicksToDays(FirstTime));
    FMat->Mat2WriteStringCell("InfoModuls", modules);
    FMat->Mat2WriteStringCell("InfoSN", serials);
    FMat->Mat2WriteStringCell("InfoChannelNames", names);
    FMat->Mat2WriteStringCell("InfoChannelUnits", units);
}

// One column per time inside the window. When the matrix is full and nothing
// inside the window is left, the save is complete: no empty part follows.
bool TSaveMatlabFileThread::WriteData(std::int64_t FirstTime)
{
    std::vector<double>& row = FMat->Row();
    row.assign(static_cast<std::size_t>(SaveBufferList.Count()) + 1, NO_VALUE_CELL);
    FMat->Mat2BeginMatrix();
    bool full = false;
    std::int64_t t = 0;
    while (!full && FindNextTime(t)) {
        if (InTimeRange(t)) {
            row[0] = DaysToSeconds(TicksToDays(t - FirstTime));
            std::size_t k = 1;
            for (TBufferBaseData* buffer : SaveBufferList) {
                if (!buffer->GetSaveComplete() && buffer->GetSaveTime() == t) {
                    row[k] = TakeCell(*buffer, t);
                    ++FPos;
                } else {
                    row[k] = NO_VALUE_CELL;
                }
                ++k;
            }
            full = !FMat->Mat2WriteColumn();
        } else {
            SkipSamples(t);
        }
        CheckTerminated();
        UpdateProgress();
    }
    FMat->Mat2EndMatrix();
    return !full || !SkipToWindow(t);
}

} // namespace qel

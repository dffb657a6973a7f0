// The card-directory reader thread.
#include "card/read_card_dir_thread.h"

#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "foundations/byte_helpers.h"
#include "foundations/qel_error.h"

namespace qel {

std::shared_ptr<TReadCardDirThread> TReadCardDirThread::Create(plat::HWND hWindow)
{
    auto thread = std::make_shared<TReadCardDirThread>(hWindow);
    thread->Start();
    return thread;
}

void TReadCardDirThread::Post(plat::WPARAM state, plat::LPARAM value) const
{
    plat::PostMessage(FhWindow, WM_CARD_DIR_STATUS, state, value);
}

void TReadCardDirThread::Execute()
{
    InitThreadFPU();
    ClearLastErrorMsg();
    Post(THREAD_STARTED, 0);
    TCardDirScanHooks hooks;
    hooks.Terminated = [this] { return Terminated(); };
    hooks.Percent = [this](std::int64_t percent) { Post(THREAD_PROGRESS, static_cast<plat::LPARAM>(percent)); };
    ScanCardDirectory(ExtCard, RecInfoList, hooks);
    Post(THREAD_FINISHED, 0);
}

void TReadCardDirThread::ExecuteFailed(std::exception_ptr error, const std::string&)
{
    // Any exception, EQel or not, ends as THREAD_FAILED, so the window never waits.
    Post(THREAD_FAILED, RecordFailure(error));
}

} // namespace qel

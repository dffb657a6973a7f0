// The base of the card reader threads: status messages around the read.
#include "card/card_reader_thread.h"

#include "foundations/byte_helpers.h"
#include "foundations/qel_error.h"

namespace qel {

void TCardReaderThread::Post(plat::WPARAM state, plat::LPARAM value) const
{
    plat::PostMessage(FhWindow, FMessage, state, value);
}

void TCardReaderThread::Execute()
{
    InitThreadFPU();
    ClearLastErrorMsg();
    Post(THREAD_STARTED, 0);
    TCardReadHooks hooks;
    hooks.Terminated = [this] { return Terminated(); };
    hooks.Percent = [this](std::int64_t percent) { Post(THREAD_PROGRESS, static_cast<plat::LPARAM>(percent)); };
    Read(hooks);
    Post(THREAD_FINISHED, 0);
}

void TCardReaderThread::ExecuteFailed(std::exception_ptr error, const std::string&)
{
    Post(THREAD_FAILED, RecordFailure(error));
}

} // namespace qel

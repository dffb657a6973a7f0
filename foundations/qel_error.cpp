// The last failure's message and the mapping of a caught exception to its
// failure code.
#include "foundations/qel_error.h"

#include <mutex>

namespace qel {
namespace {

std::mutex LastErrorLock;
std::string LastError;

} // namespace

std::string LastErrorMsg()
{
    std::lock_guard lock(LastErrorLock);
    return LastError;
}

void SetLastErrorMsg(const std::string& Msg)
{
    std::lock_guard lock(LastErrorLock);
    LastError = Msg;
}

void ClearLastErrorMsg()
{
    SetLastErrorMsg(std::string());
}

std::int32_t RecordFailure(const std::exception_ptr& Failure)
{
    if (!Failure) {
        ClearLastErrorMsg();
        return 0;
    }
    try {
        std::rethrow_exception(Failure);
    } catch (const EQel& e) {
        SetLastErrorMsg(e.what());
        return e.iException;
    } catch (const std::exception& e) {
        SetLastErrorMsg(e.what());
        return 0;
    } catch (...) {
        SetLastErrorMsg("unknown exception");
        return 0;
    }
}

} // namespace qel

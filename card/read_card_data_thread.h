// The card-data reader: a worker thread that decodes the selected records'
// pages into the read buffer list and reports by posted WM_CARD_DATA_STATUS messages.
#pragma once

#include "card/card_records.h"
#include "card/cluster_header.h"
#include "card/ext_card.h"
#include "card/page_base.h"
#include "card/thread_status.h"
#include "platform/messages.h"
#include "platform/worker_thread.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace qel {

// How a store of side data (burst engines, D-Bus, FIFO and SE page lists)
// empties itself. Each store registers one at start-up; every data read
// calls them all before its first cluster, so nothing of an earlier read
// remains. Registering the same routine twice keeps one.
using TSideDataReset = void (*)();
void AddSideDataReset(TSideDataReset reset);

struct TCardDataReadHooks {
    std::function<bool()> Terminated;            // asked before each cluster
    std::function<void(std::int64_t)> Percent;   // each new percentage of the clusters done
    const TPageClass* PageClass = nullptr;       // the decoder; none: GetPageClass of the logger
};

// Decodes the selected records of list, in list order, into ReadBufferList
// with one decoder for the current logger of QelList (the decoders add their
// samples there and ask that logger): each record's range, then the second
// range of a wrapped record, between one BeginRead and FinishRead; invalid
// and repeated clusters are skipped. The first valid cluster of the read
// gives the logger its configuration (the logger must be of the class its
// model's factory gives); a model code without a configuration reader ends
// the read there, without data. The mission data, the list's
// UTC setting and the side data are reset first; EndRead of the list closes
// a complete read. The card is finished also when the read fails. A stop
// request raises EQel code 3; file errors pass up.
void ReadCardData(TExtCard& card, TRecInfoList& list, const TCardDataReadHooks& hooks);

// Posts THREAD_STARTED, THREAD_PROGRESS with each new percentage, then
// exactly one of THREAD_FINISHED (the buffers are complete) or THREAD_FAILED
// with the error code (3 when stopped by Terminate, 0 and the message in
// LastErrorMsg for an error that is not an EQel). Reads ExtCard and the
// selected records of RecInfoList.
class TReadCardDataThread : public plat::TThread {
public:
    // Creates the thread and starts it; the caller keeps the reference only to
    // ask it to terminate.
    static std::shared_ptr<TReadCardDataThread> Create(plat::HWND hWindow);

    explicit TReadCardDataThread(plat::HWND hWindow) : FhWindow(hWindow) {}

protected:
    void Execute() override;
    void ExecuteFailed(std::exception_ptr error, const std::string& message) override;

private:
    void Post(plat::WPARAM state, plat::LPARAM value) const;

    plat::HWND FhWindow;   // receives the status messages
};

} // namespace qel

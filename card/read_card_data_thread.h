// The card-data reader: a worker thread that decodes the selected records'
// pages into the read buffer list and reports by posted WM_CARD_DATA_STATUS messages.
#pragma once

#include "card/card_reader_thread.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/page_base.h"

#include <memory>

namespace qel {

// How a store of side data (burst engines, D-Bus, FIFO and SE page lists)
// empties itself. Each store registers one at start-up; every data read
// calls them all before its first cluster, so nothing of an earlier read
// remains. Registering the same routine twice keeps one.
using TSideDataReset = void (*)();
void AddSideDataReset(TSideDataReset reset);

struct TCardDataReadHooks : TCardReadHooks {
    const TPageClass* PageClass = nullptr;   // the decoder; none: GetPageClass of the logger
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

// Reads the selected records of RecInfoList from ExtCard into ReadBufferList
// (see ReadCardData); THREAD_FINISHED says the buffers are complete. The
// messages are those of TCardReaderThread.
class TReadCardDataThread : public TCardReaderThread {
public:
    // Creates the thread and starts it; the caller keeps the reference only to
    // ask it to terminate.
    static std::shared_ptr<TReadCardDataThread> Create(plat::HWND hWindow);

    explicit TReadCardDataThread(plat::HWND hWindow) : TCardReaderThread(hWindow, WM_CARD_DATA_STATUS) {}

protected:
    void Read(const TCardReadHooks& hooks) override;
};

} // namespace qel

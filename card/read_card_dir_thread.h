// The card-directory reader: a worker thread that scans the card image into
// the record list and reports to a window by posted WM_CARD_DIR_STATUS messages.
#pragma once

#include "card/card_reader_thread.h"

#include <memory>

namespace qel {

// Scans ExtCard into RecInfoList (see ScanCardDirectory); THREAD_FINISHED
// says the records are in the list. The messages are those of TCardReaderThread.
class TReadCardDirThread : public TCardReaderThread {
public:
    // Creates the thread and starts it; the caller keeps the reference only to
    // ask it to terminate.
    static std::shared_ptr<TReadCardDirThread> Create(plat::HWND hWindow);

    explicit TReadCardDirThread(plat::HWND hWindow) : TCardReaderThread(hWindow, WM_CARD_DIR_STATUS) {}

protected:
    void Read(const TCardReadHooks& hooks) override;
};

} // namespace qel

// The card-directory reader thread.
#include "card/read_card_dir_thread.h"

#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"

namespace qel {

std::shared_ptr<TReadCardDirThread> TReadCardDirThread::Create(plat::HWND hWindow)
{
    auto thread = std::make_shared<TReadCardDirThread>(hWindow);
    thread->Start();
    return thread;
}

void TReadCardDirThread::Read(const TCardReadHooks& hooks)
{
    ScanCardDirectory(ExtCard, RecInfoList, hooks);
}

} // namespace qel

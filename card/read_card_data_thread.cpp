// The card-data reader: the walk over the selected records' clusters, the
// configuration of the logger from the first valid cluster, and the thread.
#include "card/read_card_data_thread.h"

#include "card/buffer_list.h"
#include "card/card_dir_scan.h"
#include "card/cluster_config.h"
#include "foundations/qel_error.h"
#include "foundations/tick_time.h"
#include "loggers/qel_base.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace qel {

namespace {

std::vector<TSideDataReset>& SideDataResets()
{
    static std::vector<TSideDataReset> resets;
    return resets;
}

std::int64_t SelectedClusters(const TExtCard& card, const TRecInfoList& list)
{
    std::int64_t total = 0;
    for (const TRecInfo* item : list) {
        const auto* record = dynamic_cast<const TCardRecord*>(item);
        if (record == nullptr || !record->Selected) {
            continue;
        }
        total += card.CalcClusterSize(record->FirstPos, record->LastPos);
        if (record->bMemoryCirculation) {
            total += card.CalcClusterSize(record->FirstPos2, record->LastPos2);
        }
    }
    return total;
}

// Gives the logger the identity of the record and the configuration of the
// read's first valid cluster; False for a model code without a reader.
bool ReadLoggerConfiguration(const TCardClusterInfo& recordInfo, const TCardClusterInfo& clusterInfo,
                             TCardClusterView cluster, TQEL& logger, TPage& decoder)
{
    switch (logger.ID_CLASS) {
    case 0x6601:
        if (logger.ID_VER >= 0x0600) {
            ReadConfigQEL629C(recordInfo, cluster, logger);
            // The logger keeps UTC: its times are shifted to local time.
            decoder.setUtc(true, GetUtcOffsetTicks(clusterInfo.Time));
            ReadBufferList.Utc = decoder.GetUtc();
        } else {
            ReadConfigQEL629(recordInfo, cluster, logger);
        }
        return true;
    case 0x6606:
    case 0x6607:
        ReadConfigQEL649(recordInfo, cluster, logger);
        return true;
    case 0x661D:
        ReadConfigQEL57(recordInfo, cluster, logger);
        return true;
    default:
        return false;
    }
}

void ReadRecords(TExtCard& card, TRecInfoList& list, const TCardDataReadHooks& hooks, std::int64_t total)
{
    TQEL* logger = QelList.GetCurrent();
    if (logger == nullptr) {
        throw std::logic_error("a card-data read needs the logger of its records");
    }
    const TPageClass& pageClass = hooks.PageClass != nullptr ? *hooks.PageClass
                                                             : GetPageClass(logger->ID_CLASS, logger->ID_VER_PC);
    const std::unique_ptr<TPage> decoder = pageClass.Create();
    decoder->setUtc(false, 0);
    ReadBufferList.Utc = TQelUtc{};

    TClusterHeaderParser parser;
    TCardClusterInfo info;   // serves the whole read: the repeated-cluster test carries over
    info.ErrLastPage = 0xFFFF;
    bool first = true;
    TClusterProgress progress(total, hooks.Percent);
    std::int64_t done = 0;
    if (!list.Start()) {
        return;
    }
    do {
        const auto* record = dynamic_cast<const TCardRecord*>(list.GetCurrent());
        if (record == nullptr) {
            continue;
        }
        decoder->BeginRead();
        bool inFirstRange = true;
        card.StartFromTo(record->FirstPos, record->LastPos);
        for (;;) {
            if (hooks.Terminated && hooks.Terminated()) {
                throw EQel(EXC_USER_ABORT);
            }
            const std::uint8_t* next = card.NextCluster();   // valid until the next read of the card
            if (next == nullptr) {
                if (inFirstRange && record->bMemoryCirculation) {
                    inFirstRange = false;
                    card.StartFromTo(record->FirstPos2, record->LastPos2);
                    continue;
                }
                break;
            }
            const TCardClusterView cluster(next, CARD_CLUSTER_SIZE);
            if (parser.Parse(cluster, info) && !IsRepeatedCluster(info)) {
                if (first) {
                    first = false;
                    if (!ReadLoggerConfiguration(record->Info, info, cluster, *logger, *decoder)) {
                        return;   // no reader for this model: the read ends without data
                    }
                    ReadBufferList.SetActiveQEL(QelList.GetCurrent());
                }
                decoder->New(0, cluster.data() + CLUSTER_PAGE, PAGE_SIZE);
                decoder->ReadData();
            }
            progress.Done(++done);
        }
        decoder->FinishRead();
    } while (list.Next());
}

} // namespace

void AddSideDataReset(TSideDataReset reset)
{
    std::vector<TSideDataReset>& resets = SideDataResets();
    if (std::find(resets.begin(), resets.end(), reset) == resets.end()) {
        resets.push_back(reset);
    }
}

void ReadCardData(TExtCard& card, TRecInfoList& list, const TCardDataReadHooks& hooks)
{
    const TExtCardFinisher finisher(card);
    ReadBufferList.startRead();
    for (TSideDataReset reset : SideDataResets()) {
        reset();
    }
    ReadRecords(card, list, hooks, SelectedClusters(card, list));
    ReadBufferList.EndRead();
}

std::shared_ptr<TReadCardDataThread> TReadCardDataThread::Create(plat::HWND hWindow)
{
    auto thread = std::make_shared<TReadCardDataThread>(hWindow);
    thread->Start();
    return thread;
}

void TReadCardDataThread::Read(const TCardReadHooks& hooks)
{
    ReadCardData(ExtCard, RecInfoList, TCardDataReadHooks{hooks});
}

} // namespace qel

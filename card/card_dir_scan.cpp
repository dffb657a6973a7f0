// Grouping of the card's clusters into records.
#include "card/card_dir_scan.h"

#include "foundations/debug_modes.h"
#include "foundations/qel_error.h"

#include <memory>

namespace qel {

namespace {

constexpr std::uint16_t NO_PAGE = 0xFFFF;

bool Fails(TCardClusterInfo& Info, std::int32_t test)
{
    Info.Code = test;
    return false;
}

} // namespace

bool IsRepeatedCluster(TCardClusterInfo& Info)
{
    if (Info.Page == Info.ErrLastPage && Info.Time == Info.ErrLastTime) {
        return true;
    }
    Info.ErrLastPage = Info.Page;
    Info.ErrLastTime = Info.Time;
    return false;
}

bool IsRecordContinued(const TCardRecord* Rec, TCardClusterInfo& Info)
{
    return IsRecordContinued(Rec, Info, GetDebugMode() == DEBUG_MODE_DIR);
}

namespace {

// The scan loop calls this for every cluster, inline.
inline bool Continues(const TCardRecord* Rec, TCardClusterInfo& Info, bool breakAtPageGaps)
{
    if (Rec == nullptr) {
        return Fails(Info, 1);
    }
    if (Rec->Info.QEL_CLASS != Info.QEL_CLASS) {
        return Fails(Info, 2);
    }
    if (Rec->Info.QEL_VER != Info.QEL_VER) {
        return Fails(Info, 3);
    }
    if (Rec->Info.QEL_VER_PC != Info.QEL_VER_PC) {
        return Fails(Info, 4);
    }
    if (Rec->Info.QEL_SN != Info.QEL_SN) {
        return Fails(Info, 5);
    }
    if (Info.bStart) {
        return Fails(Info, 6);
    }
    if (Rec->Info.StartPage != Info.StartPage) {
        return Fails(Info, 7);
    }
    if (Info.Time < Rec->LastTime) {
        return Fails(Info, 8);
    }
    const bool nextPage = ((Rec->LastPage + 1) & 0x1FFF) == Info.Page;
    const bool closeInTime = !breakAtPageGaps && Info.Time - Rec->LastTime <= MAX_RECORD_TIME_GAP;
    if (!(IsRepeatedCluster(Info) || nextPage || closeInTime)) {
        return Fails(Info, 9);
    }
    Info.Code = 0;
    return true;
}

} // namespace

bool IsRecordContinued(const TCardRecord* Rec, TCardClusterInfo& Info, bool breakAtPageGaps)
{
    return Continues(Rec, Info, breakAtPageGaps);
}

void JoinWrappedRecording(TRecInfoList& list)
{
    if (list.Count() <= 1) {
        return;
    }
    auto* last = dynamic_cast<TCardRecord*>(list.GetItem(list.Count() - 1));
    auto* first = dynamic_cast<TCardRecord*>(list.GetItem(0));
    if (last == nullptr || first == nullptr) {
        return;
    }
    TCardClusterInfo copy = first->Info;
    if (IsRecordContinued(last, copy)) {
        last->bMemoryCirculation = true;
        last->FirstPos2 = first->FirstPos;
        last->LastPos2 = first->LastPos;
        list.Delete(0);
    }
}

namespace {

// Groups the clusters of one scan into records of the list, in card order.
class TRecordGrouper {
public:
    TRecordGrouper(TExtCard& card, TRecInfoList& list, bool breakAtPageGaps)
        : FCard(card), FList(list), FBreakAtPageGaps(breakAtPageGaps)
    {
        FInfo.ErrLastPage = NO_PAGE;
    }

    // Judges the cluster just read; answers its trace kind.
    std::uint8_t Take(TCardClusterView cluster)
    {
        if (!FParser.Parse(cluster, FInfo)) {
            return DEBUG_CLUSTER_UNUSABLE;
        }
        if (Continues(FRec.get(), FInfo, FBreakAtPageGaps)) {
            FRec->LastPos = FCard.GetClusterPosition();
            FRec->LastPage = FInfo.Page;
            FRec->LastTime = FInfo.Time;
            return DEBUG_CLUSTER_CONTINUE;
        }
        BeginRecord();
        return DEBUG_CLUSTER_NEW;
    }

    // Adds the record being built, if any.
    void Finish()
    {
        if (FRec) {
            FList.Add(FRec.release());
        }
    }

    const TCardClusterInfo& Info() const { return FInfo; }

private:
    void BeginRecord()
    {
        FInfo.ErrLastPage = NO_PAGE;
        Finish();
        FRec = std::make_unique<TCardRecord>();
        FRec->Info = FInfo;
        FRec->FirstPos = FCard.GetClusterPosition();
        FRec->LastPos = FRec->FirstPos;
        FRec->LastPage = FInfo.Page;
        FRec->FFirstTime = FInfo.Time;
        FRec->LastTime = FInfo.Time;
        FRec->SN_CARD = FInfo.QEL_SN;
    }

    TExtCard& FCard;
    TRecInfoList& FList;
    bool FBreakAtPageGaps;                // debug mode 1
    TClusterHeaderParser FParser;
    TCardClusterInfo FInfo;               // serves the whole scan: the repeat test's memory carries over
    std::unique_ptr<TCardRecord> FRec;    // the record being built; not in the list yet
};

} // namespace

void ScanCardDirectory(TExtCard& card, TRecInfoList& list, const TCardDirScanHooks& hooks)
{
    const TExtCardFinisher finisher(card);
    card.StartAll();
    TClusterProgress progress(card.GetClusterSize(), hooks.Percent);
    const bool trace = GetDebugMode() == DEBUG_MODE_DIR;
    TRecordGrouper grouper(card, list, trace);
    std::int64_t counter = 0;
    while (const std::uint8_t* next = card.NextCluster()) {
        const TCardClusterView cluster(next, CARD_CLUSTER_SIZE);
        if (hooks.Terminated && hooks.Terminated()) {
            throw EQel(EXC_USER_ABORT);
        }
        const std::uint8_t kind = grouper.Take(cluster);
        if (trace) {
            DebugDirCluster(static_cast<std::int32_t>(counter), kind, grouper.Info().Page, grouper.Info().Code, cluster);
        }
        progress.Done(counter);
        ++counter;
    }
    grouper.Finish();
    JoinWrappedRecording(list);
    list.sortByTime();
}

} // namespace qel

// Records found on the card and the record list.
#include "card/card_records.h"

namespace qel {

TRecInfoList RecInfoList;

void TRecInfoQEL::calcUtc(bool bQelHasUtc)
{
    FUtc = TQelUtc{};
    if (bQelHasUtc) {
        FUtc.bEnabled = true;
        FUtc.Offset = GetUtcOffsetTicks(FFirstTime);
    }
}

std::uint32_t TRecInfoQEL::GetPageCount() const
{
    return FLastPage - FFirstPage + 1;
}

double TRecInfoQEL::GetStartTime() const
{
    return TicksToDays(FUtc.bEnabled ? FFirstTime + FUtc.Offset : FFirstTime);
}

void TRecInfoQEL::SetInfo(std::uint32_t FirstPage, std::uint32_t LastPage, std::uint32_t StartPage, std::int64_t FirstTime,
                          std::int64_t LastPageTime, bool _QShockExt)
{
    FFirstPage = FirstPage;
    FLastPage = LastPage;
    FStartPage = StartPage;
    FFirstTime = FirstTime;
    FLastPageTime = LastPageTime;
    QShockExt = _QShockExt;
}

TRecInfoList::TRecInfoList(bool ownsObjects) : plat::TObjectList<TRecInfo>(ownsObjects)
{
    SetMaxSize(4294967040u);
}

int TRecInfoList::FindSelected(int from) const
{
    for (int i = from < 0 ? 0 : from; i < Count(); ++i) {
        if (GetItem(i)->Selected) {
            return i;
        }
    }
    return -1;
}

bool TRecInfoList::Start()
{
    FActiveRecNo = FindSelected(0);
    return FActiveRecNo >= 0;
}

bool TRecInfoList::Next()
{
    FActiveRecNo = FActiveRecNo < 0 ? -1 : FindSelected(FActiveRecNo + 1);
    return FActiveRecNo >= 0;
}

void TRecInfoList::SetMaxSize(std::uint32_t max)
{
    FSizeMax = max < 1000 ? 1000 : max;
}

void TRecInfoList::DecSize()
{
    if (FSizeCnt != 0) {
        --FSizeCnt;
    }
}

void TRecInfoList::sortByTime()
{
    for (int i = 0; i < Count(); ++i) {
        GetItem(i)->Pos = i;
    }
    // Records of the card are TRecInfoQEL or below; a plain TRecInfo sorts first.
    const auto key = [](const TRecInfo* record) {
        const auto* qel = dynamic_cast<const TRecInfoQEL*>(record);
        return qel ? std::pair<std::uint32_t, std::int64_t>{qel->SN_CARD, qel->FFirstTime}
                   : std::pair<std::uint32_t, std::int64_t>{0, INT64_MIN};
    };
    Sort([&key](const TRecInfo* a, const TRecInfo* b) {
        const auto ka = key(a);
        const auto kb = key(b);
        return ka < kb ? -1 : (kb < ka ? 1 : 0);
    });
}

void TRecInfoList::calcUtc(bool bQelHasUtc)
{
    for (TRecInfo* record : *this) {
        if (auto* qel = dynamic_cast<TRecInfoQEL*>(record)) {
            qel->calcUtc(bQelHasUtc);
        }
    }
}

} // namespace qel

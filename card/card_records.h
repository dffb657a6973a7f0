// Records found on the card (one recording of one logger each, possibly
// wrapped around the card's end) and the global record list with its
// selection walk and per-file value budget.
#pragma once

#include "card/cluster_header.h"
#include "card/ext_card.h"
#include "foundations/file_names.h"
#include "foundations/tick_time.h"
#include "platform/object_list.h"

#include <cstdint>
#include <string>

namespace qel {

// What every record has.
class TRecInfo {
public:
    virtual ~TRecInfo() = default;

    std::int32_t Pos = 0;       // order in which the directory reader found it (set by sortByTime)
    bool Selected = false;      // the user chose it
    TFileNameEx FileNameEx;     // output file name, from the output-file step
    bool QShockExt = false;     // written only by SetInfo
};

// A logger memory's page range and times.
class TRecInfoQEL : public TRecInfo {
public:
    std::uint32_t FFirstPage = 0;     // page range; written only by SetInfo
    std::uint32_t FLastPage = 0;
    std::uint32_t FStartPage = 0;
    std::int64_t FFirstTime = 0;      // time of the first page, in ticks
    std::int64_t FLastPageTime = 0;   // written only by SetInfo
    TQelUtc FUtc;                     // UTC correction of the record
    std::uint32_t SN_CARD = 0;        // serial number of the logger

    // FUtc: disabled with offset 0, or enabled with the local offset at FFirstTime.
    void calcUtc(bool bQelHasUtc);
    std::uint32_t GetPageCount() const;
    // FFirstTime (plus the UTC offset when enabled) in days since 2000.
    double GetStartTime() const;
    TQelUtc getUtc() const { return FUtc; }
    void SetInfo(std::uint32_t FirstPage, std::uint32_t LastPage, std::uint32_t StartPage, std::int64_t FirstTime,
                 std::int64_t LastPageTime, bool _QShockExt);
};

// Where on the card a recording lies.
class TCardRecord : public TRecInfoQEL {
public:
    TCardClusterInfo Info;           // header of the record's first cluster
    TCardPosition FirstPos;          // first and last cluster of the (first) range
    TCardPosition LastPos;
    std::uint16_t LastPage = 0;      // page number of the last cluster added
    std::string FileName;            // not used by the card readers
    std::int64_t LastTime = 0;       // time of the last cluster added
    bool bMemoryCirculation = false; // wrapped: continues at the card's beginning
    TCardPosition FirstPos2;         // that continuation, read after the first range
    TCardPosition LastPos2;
};

class TRecInfoList : public plat::TObjectList<TRecInfo> {
public:
    explicit TRecInfoList(bool ownsObjects = true);

    TRecInfo* GetItem(int Index) const { return (*this)[Index]; }

    // Selection walk over the selected records in list order.
    bool Start();
    bool Next();
    TRecInfo* GetCurrent() const { return GetItem(FActiveRecNo); }
    // First selected index at or after from; -1 when none.
    int FindSelected(int from) const;

    // Values per output file (at least 1000) and the count left in the current one.
    void SetMaxSize(std::uint32_t max);
    void InitSize() { FSizeCnt = FSizeMax; }
    void DecSize();
    bool IsFullSize() const { return FSizeCnt == 0; }

    // Numbers the records in their present order (Pos), then sorts them by
    // serial number and then by start time.
    void sortByTime();
    void calcUtc(bool bQelHasUtc);

private:
    std::int32_t FActiveRecNo = -1;   // walk cursor; -1 when the walk is over
    std::uint32_t FSizeCnt = 0;       // values still allowed in the current output file
    std::uint32_t FSizeMax = 1000;    // values allowed per output file, never below 1000
};

// The record list of the program.
extern TRecInfoList RecInfoList;

} // namespace qel

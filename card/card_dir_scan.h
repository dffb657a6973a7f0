// Grouping of the card's clusters into records: consecutive clusters of one
// logger recording form a record, repeated clusters are passed over, and a
// recording that wrapped around the card's end is joined with its beginning.
#pragma once

#include "card/card_read_hooks.h"
#include "card/card_records.h"
#include "card/cluster_header.h"
#include "card/ext_card.h"

#include <cstdint>

namespace qel {

// Largest time step (5 s) between two clusters of one record whose page numbers do not follow.
constexpr std::int64_t MAX_RECORD_TIME_GAP = 5120000;

// True when Info has the page number and time remembered last (a cluster
// written twice); otherwise remembers them in Info and answers False.
bool IsRepeatedCluster(TCardClusterInfo& Info);

// Whether the cluster of Info continues Rec. Info.Code becomes the number
// (1 to 9) of the first test that fails, or 0. In debug mode 1
// (breakAtPageGaps) every break in the page numbers begins a new record.
bool IsRecordContinued(const TCardRecord* Rec, TCardClusterInfo& Info, bool breakAtPageGaps);
bool IsRecordContinued(const TCardRecord* Rec, TCardClusterInfo& Info);

// When the last record of list continues into its first, the first becomes
// the last one's second range and leaves the list.
void JoinWrappedRecording(TRecInfoList& list);

using TCardDirScanHooks = TCardReadHooks;

// Reads every cluster of the card once and adds its records to list, joined
// and sorted; the card is finished also when the scan fails. A stop request
// raises EQel code 3; the records found so far stay in the list.
void ScanCardDirectory(TExtCard& card, TRecInfoList& list, const TCardDirScanHooks& hooks);

} // namespace qel

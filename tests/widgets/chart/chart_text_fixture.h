// Test fixture that gives every chart-text test a freshly started text module
// and shuts it down afterwards, plus helpers to snapshot and compare all entries.
#pragma once

#include "widgets/chart/chart_language.h"
#include "widgets/chart/chart_messages.h"
#include "widgets/chart/chart_series_names.h"
#include "widgets/chart/chart_text_row.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qel {

class ChartTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FinalizeChartTexts();
        InitChartTexts();
    }
    void TearDown() override { FinalizeChartTexts(); }

    // Messages first, then series names.
    static std::vector<std::string> Snapshot()
    {
        std::vector<std::string> All(ChartMessages.begin(), ChartMessages.end());
        All.insert(All.end(), ChartSeriesNames.begin(), ChartSeriesNames.end());
        return All;
    }

    static const std::string& EntryText(TChartTextSlot Slot)
    {
        return Slot.Table == TChartTextTable::Messages ? ChartMessages.at(Slot.Index)
                                                       : ChartSeriesNames.at(Slot.Index);
    }

    // Position of an entry in Snapshot().
    static std::size_t SnapshotIndex(TChartTextSlot Slot)
    {
        return Slot.Table == TChartTextTable::Messages ? Slot.Index : ChartMessageCount + Slot.Index;
    }
};

} // namespace qel

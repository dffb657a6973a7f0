// Access to the built-in text tables of the chart languages (English, German, French).
// The tables are constant data; the language switch applies them.
#pragma once

#include "widgets/chart/chart_text_row.h"

#include <span>

namespace qel {

// The assignments and caption-list rows of one translated language.
struct TChartLanguageData {
    std::span<const TChartTextRow> Texts;       // entries the language assigns, in order
    std::span<const char* const> ListRows;      // first batch of "KEY=text" rows
    std::span<const char* const> MoreListRows;  // rows added after the first batch
};

// Every message entry in table order.
std::span<const TChartTextRow> ChartEnglishMessageRows();

// Every series-name entry in table order, then the message entry that the
// series module renames ("Antialias" to "Anti-Alias").
std::span<const TChartTextRow> ChartEnglishSeriesNameRows();

const TChartLanguageData& ChartGermanData();
const TChartLanguageData& ChartFrenchData();

} // namespace qel

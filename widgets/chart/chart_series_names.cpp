// The chart series-name texts and their module start-up and shutdown.
// The English rows live in chart_english.cpp.
#include "widgets/chart/chart_series_names.h"

#include "widgets/chart/chart_language_data.h"

namespace qel {

std::array<std::string, ChartSeriesNameCount> ChartSeriesNames;

const std::string& ChartText(TChartSeriesName Id)
{
    return ChartSeriesNames.at(static_cast<std::size_t>(Id));
}

void AssignEnglishSeriesNames()
{
    AssignChartTexts(ChartEnglishSeriesNameRows());
}

void InitChartSeriesNames()
{
    AssignEnglishSeriesNames();
}

void FinalizeChartSeriesNames()
{
    for (std::string& Text : ChartSeriesNames) {
        Text.clear();
    }
}

} // namespace qel

// The chart message texts and their module start-up and shutdown.
// The English rows live in chart_english.cpp.
#include "widgets/chart/chart_messages.h"

#include "widgets/chart/chart_language_data.h"

namespace qel {

std::array<std::string, ChartMessageCount> ChartMessages;
std::string ChartLineBreak;
std::string ChartFileExtension;

const std::string& ChartText(TChartMessage Id)
{
    return ChartMessages.at(static_cast<std::size_t>(Id));
}

void AssignEnglishMessages()
{
    AssignChartTexts(ChartEnglishMessageRows());
}

void InitChartMessages()
{
    // Built as temporaries: a literal assigned in place trips a false
    // overlap warning of GCC 12 at -O3.
    ChartLineBreak = std::string(1, '\r');
    ChartFileExtension = std::string("cht");
    AssignEnglishMessages();
}

void FinalizeChartMessages()
{
    for (std::string& Text : ChartMessages) {
        Text.clear();
    }
    ChartLineBreak.clear();
    ChartFileExtension.clear();
}

} // namespace qel

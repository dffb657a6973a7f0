// The chart language setters and the German and French caption lists they build.
// Runs on the user-interface thread only.
#include "widgets/chart/chart_language.h"

#include "widgets/chart/chart_language_data.h"

#include <memory>

namespace qel {

const TChartLanguageList* ChartLanguageList = nullptr;
bool ChartHotkeyInParentheses = false;
bool ChartLanguageSetterFlag = true;

namespace {

std::unique_ptr<TChartLanguageList> GermanList;
std::unique_ptr<TChartLanguageList> FrenchList;

std::string JoinRows(std::span<const char* const> Rows)
{
    std::string Text;
    for (std::size_t I = 0; I < Rows.size(); ++I) {
        if (I > 0) {
            Text += ChartLineBreak;
        }
        Text += Rows[I];
    }
    return Text;
}

// Appends the lines of Text as a string list reads a text: lines end at CR, LF or
// CR LF, and a line break at the very end adds no empty row.
void AddTextRows(TChartLanguageList& List, const std::string& Text)
{
    std::size_t Start = 0;
    while (Start < Text.size()) {
        const std::size_t End = Text.find_first_of("\r\n", Start);
        if (End == std::string::npos) {
            List.push_back(Text.substr(Start));
            return;
        }
        List.push_back(Text.substr(Start, End - Start));
        Start = End + 1;
        if (Text[End] == '\r' && Start < Text.size() && Text[Start] == '\n') {
            ++Start;
        }
    }
}

void BuildListOnce(std::unique_ptr<TChartLanguageList>& List, const TChartLanguageData& Data)
{
    if (List) {
        return;
    }
    List = std::make_unique<TChartLanguageList>();
    AddTextRows(*List, JoinRows(Data.ListRows));
    AddTextRows(*List, JoinRows(Data.MoreListRows));
}

void SetLanguageFlags()
{
    ChartHotkeyInParentheses = false;
    ChartLanguageSetterFlag = true;
}

void SwitchToTranslation(std::unique_ptr<TChartLanguageList>& List, const TChartLanguageData& Data)
{
    BuildListOnce(List, Data);
    ChartLanguageList = List.get();
    AssignChartTexts(Data.Texts);
    SetLanguageFlags();
}

} // namespace

const TChartLanguageList* ChartGermanList()
{
    return GermanList.get();
}

const TChartLanguageList* ChartFrenchList()
{
    return FrenchList.get();
}

void ChartLanguageEnglish()
{
    ChartLanguageList = nullptr;
    AssignEnglishMessages();
    AssignEnglishSeriesNames();
    SetLanguageFlags();
}

void ChartLanguageGerman()
{
    SwitchToTranslation(GermanList, ChartGermanData());
}

void ChartLanguageFrench()
{
    SwitchToTranslation(FrenchList, ChartFrenchData());
}

void InitChartTexts()
{
    InitChartMessages();
    InitChartSeriesNames();
    ChartLanguageList = nullptr;
    ChartHotkeyInParentheses = false;
    ChartLanguageSetterFlag = true;
}

void FinalizeChartTexts()
{
    ChartLanguageList = nullptr;
    FrenchList.reset();
    GermanList.reset();
    FinalizeChartSeriesNames();
    FinalizeChartMessages();
}

} // namespace qel

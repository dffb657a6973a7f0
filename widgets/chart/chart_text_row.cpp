// Assignment of built-in text rows to the chart message and series-name entries.
// A composite row is joined here, so it always uses the pieces' values of the moment.
#include "widgets/chart/chart_text_row.h"

namespace qel {
namespace {

std::string& EntryOf(TChartTextSlot Slot)
{
    if (Slot.Table == TChartTextTable::Messages) {
        return ChartMessages.at(Slot.Index);
    }
    return ChartSeriesNames.at(Slot.Index);
}

} // namespace

std::string ComposeChartText(const TChartTextRow& Row)
{
    switch (Row.Join) {
    case TChartJoin::LineBreak:
        return Row.Head + ChartLineBreak + Row.Tail;
    case TChartJoin::FileExtension:
        return Row.Head + ChartFileExtension + Row.Tail;
    case TChartJoin::None:
        break;
    }
    return Row.Head;
}

void AssignChartTexts(std::span<const TChartTextRow> Rows)
{
    for (const TChartTextRow& Row : Rows) {
        EntryOf(Row.Slot) = ComposeChartText(Row);
    }
}

} // namespace qel

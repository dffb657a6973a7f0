// One built-in assignment of a chart text: the entry it fills and the text it takes.
// Composite texts keep their two pieces and are joined when they are assigned.
#pragma once

#include "widgets/chart/chart_messages.h"
#include "widgets/chart/chart_series_names.h"

#include <cstdint>
#include <span>
#include <string>

namespace qel {

enum class TChartTextTable : std::uint8_t { Messages, SeriesNames };

// An entry of either text table.
struct TChartTextSlot {
    TChartTextTable Table;
    std::uint16_t Index;

    constexpr TChartTextSlot(TChartMessage Id)
        : Table(TChartTextTable::Messages), Index(static_cast<std::uint16_t>(Id))
    {
    }
    constexpr TChartTextSlot(TChartSeriesName Id)
        : Table(TChartTextTable::SeriesNames), Index(static_cast<std::uint16_t>(Id))
    {
    }
};

// What joins Head and Tail of a composite text; the piece is read at assignment.
enum class TChartJoin : std::uint8_t {
    None,          // the text is Head alone
    LineBreak,     // Head + ChartLineBreak + Tail
    FileExtension, // Head + ChartFileExtension + Tail
};

struct TChartTextRow {
    TChartTextSlot Slot;
    const char* Head;
    TChartJoin Join = TChartJoin::None;
    const char* Tail = "";
};

// The text a row gives with the current line break and file extension.
std::string ComposeChartText(const TChartTextRow& Row);

// Assigns each row's text to its entry, in row order.
void AssignChartTexts(std::span<const TChartTextRow> Rows);

} // namespace qel

// The record tree as the program fills it, for the data tree tests: one
// radio button per logger (the first checked), under each a tri-state
// "Select all" node, and under that one tri-state box per recording. The
// check types and states are written into the nodes directly, as the
// program does, without events or propagation.
#pragma once

#include "tests/widgets/tree/tree_fixture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qel::tree_test {

// The program's node record.
struct TRecordNodeData {
    std::string Caption;
    std::string Text;
    std::string Time;
    std::string Pages;
    std::string Pos;
    std::int32_t RecNo = -1;
};

// One recording of the card as the tree shows it.
struct TRecordEntry {
    std::uint32_t Serial;
    std::string Time;
    int Pages;
    int Pos;
};

class RecordTreeTest : public TreeTest {
protected:
    explicit RecordTreeTest(plat::THeadlessOptions options = {});

    // Empties the tree and fills it from the records, a new logger node
    // whenever the serial number differs from the previous record's.
    void Fill(const std::vector<TRecordEntry>& records);
    PDataNode AddNode(PDataNode parent, const TRecordNodeData& data, TCheckType checkType, bool checked);

    // The record page's columns (Record, Start time, Pages, Position with
    // MinWidth 200, 150, 80, 80, no coAllowClick), plates 15 high with
    // hoAutoResize, hoColumnResize and hoVisible, texts from the records.
    void SetUpAsRecordPage();
    // A point of a node's row in screen coordinates: x from the cell's left
    // (main column), the row's vertical middle.
    plat::TPoint ScreenPointOf(PDataNode node, int x);
    // The check element's middle, and the expand button's, on the screen.
    plat::TPoint CheckBoxPoint(PDataNode node);
    plat::TPoint ButtonPoint(PDataNode node);
    plat::TPoint LabelPoint(PDataNode node);

    PDataNode SelectAll(std::size_t logger) const { return Loggers[logger]->FirstChild; }
    std::vector<PDataNode> Records(std::size_t logger) const { return Children(*Tree, SelectAll(logger)); }

    // Serials A, B, A: three loggers with 3, 2 and 2 recordings.
    static const std::vector<TRecordEntry> SerialsABA;

    std::vector<PDataNode> Loggers;
};

} // namespace qel::tree_test

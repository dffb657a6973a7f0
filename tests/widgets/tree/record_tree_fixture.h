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
    RecordTreeTest();

    // Empties the tree and fills it from the records, a new logger node
    // whenever the serial number differs from the previous record's.
    void Fill(const std::vector<TRecordEntry>& records);
    PDataNode AddNode(PDataNode parent, const TRecordNodeData& data, TCheckType checkType, bool checked);

    PDataNode SelectAll(std::size_t logger) const { return Loggers[logger]->FirstChild; }
    std::vector<PDataNode> Records(std::size_t logger) const { return Children(*Tree, SelectAll(logger)); }

    // Serials A, B, A: three loggers with 3, 2 and 2 recordings.
    static const std::vector<TRecordEntry> SerialsABA;

    std::vector<PDataNode> Loggers;
};

} // namespace qel::tree_test

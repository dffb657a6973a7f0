// Filling the record tree the way the program's record page does.
#include "tests/widgets/tree/record_tree_fixture.h"

namespace qel::tree_test {

const std::vector<TRecordEntry> RecordTreeTest::SerialsABA = {
    {1001, "17.05.2024 08:30:00", 42, 5}, {1001, "17.05.2024 09:00:00", 7, 1}, {1001, "18.05.2024 10:15:00", 3, 2},
    {1002, "19.05.2024 11:00:00", 12, 3}, {1002, "20.05.2024 12:00:00", 8, 4},
    {1001, "21.05.2024 07:45:00", 5, 6},  {1001, "22.05.2024 06:30:00", 9, 7},
};

RecordTreeTest::RecordTreeTest()
{
    Tree->NodeDataType<TRecordNodeData>();
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toCheckSupport});
    Tree->SetDefaultNodeHeight(19);
}

PDataNode RecordTreeTest::AddNode(PDataNode parent, const TRecordNodeData& data, TCheckType checkType, bool checked)
{
    const PDataNode node = Tree->AddChild(parent);
    node->CheckType = checkType;
    Tree->ValidateNode(node, false);
    node->CheckState = checked ? csCheckedNormal : csUncheckedNormal;
    *Tree->GetNodeData<TRecordNodeData>(node) = data;
    return node;
}

void RecordTreeTest::Fill(const std::vector<TRecordEntry>& records)
{
    Tree->BeginUpdate();
    Tree->Clear();
    Loggers.clear();
    PDataNode selectAll = nullptr;
    bool first = true;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TRecordEntry& record = records[i];
        if (i == 0 || record.Serial != records[i - 1].Serial) {
            const std::string name = "QEL" + std::to_string(record.Serial);
            Loggers.push_back(AddNode(nullptr, {name, "", "", "", "", -1}, ctRadioButton, first));
            first = false;
            selectAll = AddNode(Loggers.back(), {"Select all", "", "", "", "", -1}, ctTriStateCheckBox, false);
        }
        AddNode(selectAll,
                {std::to_string(i + 1), "QEL" + std::to_string(record.Serial), record.Time,
                 std::to_string(record.Pages), std::to_string(record.Pos + 1), static_cast<std::int32_t>(i)},
                ctTriStateCheckBox, false);
    }
    Tree->EndUpdate();
}

} // namespace qel::tree_test

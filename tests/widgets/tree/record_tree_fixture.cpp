// Filling the record tree the way the program's record page does.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/controls/window.h"

namespace qel::tree_test {

const std::vector<TRecordEntry> RecordTreeTest::SerialsABA = {
    {1001, "17.05.2024 08:30:00", 42, 5}, {1001, "17.05.2024 09:00:00", 7, 1}, {1001, "18.05.2024 10:15:00", 3, 2},
    {1002, "19.05.2024 11:00:00", 12, 3}, {1002, "20.05.2024 12:00:00", 8, 4},
    {1001, "21.05.2024 07:45:00", 5, 6},  {1001, "22.05.2024 06:30:00", 9, 7},
};

RecordTreeTest::RecordTreeTest(plat::THeadlessOptions options) : TreeTest(options)
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

void RecordTreeTest::SetUpAsRecordPage()
{
    TDataTreeColumns& columns = Tree->Header()->Columns();
    Tree->BeginUpdate();
    columns.Clear();
    const char* captions[] = {"Record", "Start time", "Pages", "Position"};
    const int minWidths[] = {200, 150, 80, 80};
    for (int i = 0; i < 4; ++i) {
        TDataTreeColumn* column = columns.Add();
        column->SetOptions(column->Options() - TDTColumnOptions{coAllowClick});
        column->SetText(captions[i]);
        column->SetMinWidth(minWidths[i]);
    }
    Tree->Header()->SetHeight(15);
    Tree->Header()->SetStyle(hsPlates);
    Tree->Header()->SetAutoSizeIndex(3);
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoAutoResize, hoColumnResize, hoVisible});
    Tree->OnGetText = [this](plat::TObject*, PDataNode node, TColumnIndex column, TDSTTextType, std::string& text) {
        const TRecordNodeData* data = Tree->GetNodeData<TRecordNodeData>(node);
        const std::string* texts[] = {&data->Caption, &data->Time, &data->Pages, &data->Pos};
        text = column >= 0 && column < 4 ? *texts[column] : data->Caption;
    };
    Tree->EndUpdate();
}

plat::TPoint RecordTreeTest::ScreenPointOf(PDataNode node, int x)
{
    const plat::TRect row = Tree->GetDisplayRect(node, NoColumn, false);
    plat::TPoint p = plat::Point(static_cast<int>(row.Left) + x, static_cast<int>((row.Top + row.Bottom) / 2));
    plat::ClientToScreen(Tree->Handle(), p);
    return p;
}

plat::TPoint RecordTreeTest::CheckBoxPoint(PDataNode node)
{
    TDTOffsets offsets{};
    Tree->GetOffsets(node, offsets, ofsStateImage);
    return ScreenPointOf(node, offsets[ofsCheckBox] + 6);
}

plat::TPoint RecordTreeTest::ButtonPoint(PDataNode node)
{
    TDTOffsets offsets{};
    Tree->GetOffsets(node, offsets, ofsCheckBox);
    return ScreenPointOf(node, offsets[ofsToggleButton] + 4);
}

plat::TPoint RecordTreeTest::LabelPoint(PDataNode node)
{
    TDTOffsets offsets{};
    Tree->GetOffsets(node, offsets, ofsText);
    return ScreenPointOf(node, offsets[ofsText] + 4);
}

} // namespace qel::tree_test

// The record page's tree.
#include "app/record_tree.h"

#include "card/card_records.h"
#include "card/ext_card.h"
#include "foundations/language_switch.h"
#include "foundations/language_table.h"
#include "foundations/tick_time.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/tree_geometry_types.h"
#include "widgets/tree/tree_options.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace qel {
namespace {

constexpr int NODE_HEIGHT = 19;
constexpr int HEADER_HEIGHT = 15;

struct TColumnDesign {
    plat::PResString Text;
    int MinWidth;
};

const TColumnDesign COLUMNS[] = {
    {&SRecordColumn, 200},
    {&SStartTimeColumn, 150},
    {&SPagesColumn, 80},
    {&SPositionColumn, 80},
};

std::string LoggerName(std::uint32_t Serial)
{
    return "QEL" + std::to_string(Serial);
}

TDTData RecordData(const TCardRecord& Record, int Index, const TExtCard& Card)
{
    std::int64_t clusters = Card.CalcClusterSize(Record.FirstPos, Record.LastPos);
    if (Record.bMemoryCirculation) {
        clusters += Card.CalcClusterSize(Record.FirstPos2, Record.LastPos2);
    }
    TDTData data;
    data.Caption = std::to_string(Index + 1);
    data.Text = LoggerName(Record.SN_CARD);
    data.time = FormatDateTimeKind(0, TicksToDateTime(Record.Info.Time));
    data.pages = std::to_string(clusters);
    data.pos = std::to_string(Record.Pos + 1);
    data.rec_no = Index;
    return data;
}

} // namespace

PLAT_DEFINE_CLASS(TRecordTree, TDataStringTree)

TRecordTree::TRecordTree(plat::TComponent* AOwner) : TDataStringTree(AOwner)
{
    NodeDataType<TDTData>();
    SetDefaultNodeHeight(NODE_HEIGHT);
    Header()->SetHeight(HEADER_HEIGHT);
    Header()->SetStyle(hsPlates);
    Header()->SetMainColumn(RECORD_COLUMN);
    Header()->SetAutoSizeIndex(-1);
    OnChecked = TDTChangeEvent(this, &TRecordTree::DTChecked);
    OnGetText = TDSTGetTextEvent(this, &TRecordTree::DTGetText);
}

void TRecordTree::InitInfoTree()
{
    BeginUpdate();
    TDataTreeColumns& columns = Header()->Columns();
    columns.Clear();
    for (const TColumnDesign& design : COLUMNS) {
        TDataTreeColumn* column = columns.Add();
        TDTColumnOptions options = column->Options();
        column->SetOptions(options.Exclude(coAllowClick));
        column->SetText(LoadLanguageStr(design.Text));
        column->SetMinWidth(design.MinWidth);
    }
    Header()->SetAutoSizeIndex(columns.Count() - 1);
    Header()->SetOptions(Header()->Options() + TDTHeaderOptions{hoAutoResize, hoColumnResize, hoVisible});
    TCustomDataTreeOptions& options = *TreeOptions();
    options.SetPaintOptions(options.PaintOptions() + TDTPaintOptions{toShowTreeLines});
    options.SetMiscOptions(options.MiscOptions() + TDTMiscOptions{toCheckSupport});
    options.SetAutoOptions(options.AutoOptions() + TDTAutoOptions{toAutoHideButtons});
    EndUpdate();
}

int TRecordTree::FillRecordTree(const TRecInfoList& Records, const TExtCard& Card)
{
    BeginUpdate();
    Clear();
    PDataNode selectAll = nullptr;
    bool haveLogger = false;
    std::uint32_t logger = 0;
    bool first = true;
    int added = 0;
    for (int i = 0; i < Records.Count(); ++i) {
        const auto* record = dynamic_cast<const TCardRecord*>(Records.GetItem(i));
        if (record == nullptr) {
            continue;
        }
        if (!haveLogger || record->SN_CARD != logger) {
            haveLogger = true;
            logger = record->SN_CARD;
            TDTData loggerData;
            loggerData.Caption = LoggerName(logger);
            PDataNode loggerNode = AddNode(nullptr, loggerData, ctRadioButton, first);
            first = false;
            TDTData selectAllData;
            selectAllData.Caption = LoadLanguageStr(&SSelectAll);
            selectAll = AddNode(loggerNode, selectAllData, ctTriStateCheckBox, false);
        }
        AddNode(selectAll, RecordData(*record, i, Card), ctTriStateCheckBox, false);
        ++added;
    }
    selectQelNode(GetFirst());
    // After the first logger is shown, so that the fit sees its records.
    Header()->AutoFitColumns();
    EndUpdate();
    return added;
}

PDataNode TRecordTree::AddNode(PDataNode Parent, const TDTData& Data, TCheckType CheckType, bool Checked)
{
    PDataNode node = AddChild(Parent);
    if (node == nullptr) {
        return nullptr;   // a read-only tree adds nothing
    }
    node->CheckType = CheckType;
    ValidateNode(node, false);
    node->CheckState = Checked ? csCheckedNormal : csUncheckedNormal;
    *GetNodeData<TDTData>(node) = Data;
    return node;
}

void TRecordTree::selectQelNode(PDataNode Node)
{
    if (Node == nullptr || Node->CheckType != ctRadioButton) {
        return;
    }
    for (PDataNode each = GetFirst(); each != nullptr; each = GetNextSibling(each)) {
        if (each == Node) {
            SetSelected(Node, true);
            if (Node->FirstChild != nullptr) {
                SetVisible(Node->FirstChild, true);
                SetExpanded(Node, true);
                SetExpanded(Node->FirstChild, true);
            }
            SetTopNode(Node);
            continue;
        }
        if (each->FirstChild != nullptr) {
            SetVisible(each->FirstChild, false);
        }
        each->States.Exclude(vsExpanded);
    }
}

int TRecordTree::SelectCheckedRecords(TRecInfoList& Records)
{
    for (int i = 0; i < Records.Count(); ++i) {
        Records.GetItem(i)->Selected = false;
    }
    PDataNode logger = GetFirst();
    while (logger != nullptr && logger->CheckState != csCheckedNormal) {
        logger = GetNextSibling(logger);
    }
    if (logger == nullptr || logger->FirstChild == nullptr) {
        return 0;
    }
    int count = 0;
    for (PDataNode record = logger->FirstChild->FirstChild; record != nullptr; record = GetNextSibling(record)) {
        const TDTData* data = GetNodeData<TDTData>(record);
        if (record->CheckState == csCheckedNormal && data->rec_no >= 0 && data->rec_no < Records.Count()) {
            Records.GetItem(data->rec_no)->Selected = true;
            ++count;
        }
    }
    return count;
}

std::string TRecordTree::DirectoryList()
{
    std::string text;
    for (PDataNode logger = GetFirst(); logger != nullptr; logger = GetNextSibling(logger)) {
        const std::string& name = GetNodeData<TDTData>(logger)->Caption;
        if (logger->FirstChild == nullptr) {
            continue;
        }
        for (PDataNode record = logger->FirstChild->FirstChild; record != nullptr;
             record = GetNextSibling(record)) {
            const TDTData* data = GetNodeData<TDTData>(record);
            text += name + ";" + data->time + ";" + data->pages + ";" + data->pos + "\r\n";
        }
    }
    return text;
}

void TRecordTree::DTChecked(plat::TObject*, PDataNode Node)
{
    BeginUpdate();
    try {
        selectQelNode(Node);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TRecordTree::DTGetText(plat::TObject*, PDataNode Node, TColumnIndex Column, TDSTTextType,
                            std::string& CellText)
{
    const TDTData* data = GetNodeData<TDTData>(Node);
    if (data == nullptr) {
        return;
    }
    switch (Column) {
    case RECORD_COLUMN:
        CellText = data->Caption;
        break;
    case START_TIME_COLUMN:
        CellText = data->time;
        break;
    case PAGES_COLUMN:
        CellText = data->pages;
        break;
    case POSITION_COLUMN:
        CellText = data->pos;
        break;
    default:
        break;
    }
}

} // namespace qel

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
#include <iterator>
#include <limits>
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
constexpr TColumnIndex COLUMN_COUNT = static_cast<TColumnIndex>(std::size(COLUMNS));

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

// Where a fill in steps stands.
struct TRecordTree::TFillState {
    const TRecInfoList* Records = nullptr;
    const TExtCard* Card = nullptr;
    int Next = 0;                     // index of the next record to add
    PDataNode SelectAll = nullptr;    // parent of the current logger's records
    bool HaveLogger = false;          // Logger holds the current logger's serial
    std::uint32_t Logger = 0;
    bool Shown = false;               // the first logger is shown (after the first step)
    std::vector<std::int32_t> Widths; // text widths by record index and column; -1 when not measured
};

TRecordTree::~TRecordTree() = default;

int TRecordTree::FillRecordTree(const TRecInfoList& Records, const TExtCard& Card)
{
    BeginFill(Records, Card);
    FillStep(std::numeric_limits<int>::max());
    return FAdded;
}

void TRecordTree::EndFill()
{
    FFill.reset();
}

void TRecordTree::Clear()
{
    EndFill();
    TDataStringTree::Clear();
}

void TRecordTree::BeginFill(const TRecInfoList& Records, const TExtCard& Card)
{
    Clear();
    FAdded = 0;
    FFill = std::make_unique<TFillState>();
    FFill->Records = &Records;
    FFill->Card = &Card;
}

bool TRecordTree::FillStep(int Count)
{
    if (!FFill) {
        return true;
    }
    TFillState& fill = *FFill;
    const TRecInfoList& records = *fill.Records;
    const int end = Count >= records.Count() - fill.Next ? records.Count() : fill.Next + std::max(Count, 0);
    const bool last = end == records.Count();
    std::vector<PDataNode> added;
    BeginUpdate();
    try {
        for (; fill.Next < end; ++fill.Next) {
            const auto* record = dynamic_cast<const TCardRecord*>(records.GetItem(fill.Next));
            if (record == nullptr) {
                continue;
            }
            if (!fill.HaveLogger || record->SN_CARD != fill.Logger) {
                fill.HaveLogger = true;
                fill.Logger = record->SN_CARD;
                TDTData loggerData;
                loggerData.Caption = LoggerName(fill.Logger);
                // The first logger node is the checked one.
                PDataNode loggerNode = AddNode(nullptr, std::move(loggerData), ctRadioButton, GetFirst() == nullptr);
                TDTData selectAllData;
                selectAllData.Caption = LoadLanguageStr(&SSelectAll);
                fill.SelectAll = AddNode(loggerNode, std::move(selectAllData), ctTriStateCheckBox, false);
                if (fill.Shown) {
                    HideLogger(loggerNode);   // as showing the first logger left the others
                }
            }
            PDataNode node = AddNode(fill.SelectAll, RecordData(*record, fill.Next, *fill.Card), ctTriStateCheckBox, false);
            ++FAdded;
            if (!last) {
                added.push_back(node);
            }
        }
        if (!fill.Shown && GetFirst() != nullptr) {
            fill.Shown = true;
            selectQelNode(GetFirst());
        }
        if (last) {
            // After the first logger is shown, so that the fit sees its records.
            Header()->AutoFitColumns();
        } else {
            MeasureShownRecords(added);
        }
    } catch (...) {
        EndFill();
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (last) {
        EndFill();
    }
    return last;
}

void TRecordTree::MeasureShownRecords(const std::vector<PDataNode>& Nodes)
{
    TFillState& fill = *FFill;
    fill.Widths.resize(static_cast<std::size_t>(fill.Records->Count()) * COLUMN_COUNT, -1);
    for (PDataNode node : Nodes) {
        const PDataNode selectAll = node != nullptr ? GetNodeParent(node) : nullptr;
        const PDataNode logger = selectAll != nullptr ? GetNodeParent(selectAll) : nullptr;
        if (logger == nullptr || logger->CheckState != csCheckedNormal) {
            continue;   // only the shown logger's rows are fitted
        }
        const std::size_t at = static_cast<std::size_t>(NodeData(node)->rec_no) * COLUMN_COUNT;
        for (TColumnIndex column = 0; column < COLUMN_COUNT; ++column) {
            fill.Widths[at + static_cast<std::size_t>(column)] = TDataStringTree::DoGetNodeWidth(node, column);
        }
    }
}

int TRecordTree::DoGetNodeWidth(PDataNode Node, TColumnIndex Column, plat::TCanvas* Canvas)
{
    if (FFill && Column >= 0 && Column < COLUMN_COUNT) {
        const TDTData* data = NodeData(Node);
        if (data != nullptr && data->rec_no >= 0) {
            const std::size_t at = static_cast<std::size_t>(data->rec_no) * COLUMN_COUNT + static_cast<std::size_t>(Column);
            if (at < FFill->Widths.size() && FFill->Widths[at] >= 0) {
                return FFill->Widths[at];
            }
        }
    }
    return TDataStringTree::DoGetNodeWidth(Node, Column, Canvas);
}

PDataNode TRecordTree::AddNode(PDataNode Parent, TDTData Data, TCheckType CheckType, bool Checked)
{
    PDataNode node = AddChild(Parent);
    if (node == nullptr) {
        return nullptr;   // a read-only tree adds nothing
    }
    node->CheckType = CheckType;
    ValidateNode(node, false);
    node->CheckState = Checked ? csCheckedNormal : csUncheckedNormal;
    *GetNodeData<TDTData>(node) = std::move(Data);
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
        HideLogger(each);
    }
}

void TRecordTree::HideLogger(PDataNode Logger)
{
    if (Logger->FirstChild != nullptr) {
        SetVisible(Logger->FirstChild, false);
    }
    Logger->States.Exclude(vsExpanded);
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

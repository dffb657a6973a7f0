// TRecordTree: the record page's tree of the records found on the card,
// grouped by logger. One radio-button node per logger, under it one
// tri-state "Select all" node, and under that one check-box node per record
// with its start time, cluster count and card position. Only the checked
// logger's records show; checking another logger shows its records and
// hides the others', whose checks stay as they are.
#pragma once

#include "widgets/tree/string_data_tree.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qel {

class TExtCard;
class TRecInfoList;

// What each node of the record tree holds.
struct TDTData {
    std::string Caption;       // column 0
    std::string Text;          // "QEL" + serial on record nodes; never shown
    std::string time;          // start time of a record (column 1)
    std::string pages;         // cluster count of a record (column 2)
    std::string pos;           // card position of a record, from 1 (column 3)
    std::int32_t rec_no = -1;  // index in the record list; -1 on logger and "Select all" nodes
};

// The tree's columns, in order.
constexpr TColumnIndex RECORD_COLUMN = 0;
constexpr TColumnIndex START_TIME_COLUMN = 1;
constexpr TColumnIndex PAGES_COLUMN = 2;
constexpr TColumnIndex POSITION_COLUMN = 3;

class TRecordTree : public TDataStringTree {
    PLAT_CLASS(TRecordTree, TDataStringTree)
public:
    explicit TRecordTree(plat::TComponent* AOwner);
    ~TRecordTree() override;

    // Columns, header and options; once, after the language is chosen.
    void InitInfoTree();
    // The tree rebuilt from Records (sorted by logger, then start time),
    // Card giving the clusters' counts; the first logger checked and shown,
    // the columns fitted to the rows it shows. Answers the number of record
    // nodes added.
    int FillRecordTree(const TRecInfoList& Records, const TExtCard& Card);
    // FillRecordTree in steps, so that a window can paint and answer its
    // messages between them. BeginFill clears the tree and keeps the lists
    // (they must stay as they are until the fill ends); each FillStep adds
    // the next Count records, shows the first logger after its first step
    // (later loggers come in hidden, as showing the first leaves them) and
    // answers True once every record is in and the columns are fitted, which
    // ends the fill. The tree then holds what FillRecordTree gives. Clear
    // and EndFill drop a fill under way.
    void BeginFill(const TRecInfoList& Records, const TExtCard& Card);
    bool FillStep(int Count);
    void EndFill();
    bool Filling() const { return FFill != nullptr; }
    // Record nodes added by the fill under way or the last one.
    int FilledRecords() const { return FAdded; }
    void Clear() override;
    // A node under Parent (a root node for none) with Data, of CheckType,
    // checked or not, written directly: no check event, no propagation.
    PDataNode AddNode(PDataNode Parent, TDTData Data, TCheckType CheckType, bool Checked);
    // Shows the records of the logger node Node and hides the others';
    // nothing unless Node is a logger node.
    void selectQelNode(PDataNode Node);
    // The selection rule of the page's OK: every record's Selected cleared,
    // then set for each checked record of the first checked logger.
    // Answers how many were set.
    int SelectCheckedRecords(TRecInfoList& Records);
    // Every record of every logger, whatever its check or visibility, one
    // line each: logger;time;pages;pos, ended by CR LF.
    std::string DirectoryList();

    const TDTData* NodeData(PDataNode Node) { return GetNodeData<TDTData>(Node); }

protected:
    // While a fill in steps runs, the text widths its earlier steps measured
    // for the records of the shown logger, so that the last step's column
    // fit measures each text once; otherwise the string tree's.
    int DoGetNodeWidth(PDataNode Node, TColumnIndex Column, plat::TCanvas* Canvas = nullptr) override;

private:
    struct TFillState;

    // A logger node other than the shown one: its records hidden, itself collapsed.
    void HideLogger(PDataNode Logger);
    // Measures the texts of the shown logger's record nodes among Nodes for
    // the column fit at the end of the fill.
    void MeasureShownRecords(const std::vector<PDataNode>& Nodes);
    void DTChecked(plat::TObject* Sender, PDataNode Node);
    void DTGetText(plat::TObject* Sender, PDataNode Node, TColumnIndex Column, TDSTTextType TextType,
                   std::string& CellText);

    std::unique_ptr<TFillState> FFill;   // the fill in steps under way; none outside one
    int FAdded = 0;                      // record nodes added by the last fill
};

} // namespace qel

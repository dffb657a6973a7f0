// The content lines of the scripted run's layout dump.
#include "app/scripted_run/control_contents.h"

#include "platform/controls/layout_dump.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/radio_button.h"
#include "widgets/pages/pgc_editor.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/string_data_tree.h"

namespace qel {
namespace {

using TLines = std::vector<std::string>;

const char* YesNo(bool value)
{
    return value ? "yes" : "no";
}

std::string Cells(const std::vector<std::string>& texts)
{
    std::string out = "cells=";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out += plat::LayoutQuoted(texts[i]);
    }
    return out;
}

std::string Column(int index, const std::string& caption, int width)
{
    return "column " + std::to_string(index) + "\tcaption=" + plat::LayoutQuoted(caption) +
           "\twidth=" + std::to_string(width);
}

TLines ListViewContents(plat::TListView& List)
{
    TLines lines;
    for (int i = 0; i < List.Columns().Count(); ++i) {
        const plat::TListColumn& column = *List.Columns().Items(i);
        lines.push_back(Column(i, column.Caption(), column.Width()));
    }
    for (int row = 0; row < List.Items().Count(); ++row) {
        const plat::TListItem& item = *List.Items().Item(row);
        std::vector<std::string> texts{item.Caption()};
        for (int sub = 0; sub < item.SubItems().Count(); ++sub) {
            texts.push_back(item.SubItems().Strings(sub));
        }
        std::string line = "row " + std::to_string(row);
        if (List.Checkboxes()) {
            line += "\tchecked=";
            line += YesNo(item.Checked());
        }
        lines.push_back(line + "\t" + Cells(texts));
    }
    return lines;
}

const char* CheckKindName(TCheckType Type)
{
    switch (Type) {
    case ctTriStateCheckBox:
        return "tristate";
    case ctCheckBox:
        return "checkbox";
    case ctRadioButton:
        return "radio";
    case ctButton:
        return "button";
    default:
        return "none";
    }
}

const char* CheckStateName(TCheckState State)
{
    static const char* const names[] = {"unchecked",       "unchecked-pressed", "checked",
                                        "checked-pressed", "mixed",             "mixed-pressed",
                                        "unchecked-disabled", "checked-disabled", "mixed-disabled"};
    const auto index = static_cast<std::size_t>(State);
    return index < std::size(names) ? names[index] : "unknown";
}

void TreeNodes(TCustomDataStringTree& Tree, PDataNode Parent, const std::string& Path, TLines& Lines)
{
    const TDataTreeColumns& columns = Tree.Header()->Columns();
    int number = 1;
    for (PDataNode node = Tree.GetFirstChildNoInit(Parent); node != nullptr;
         node = Tree.GetNextSiblingNoInit(node), ++number) {
        const std::string path = Path + std::to_string(number);
        std::vector<std::string> texts;
        if (columns.Count() == 0) {
            texts.push_back(Tree.GetText(node, NoColumn));
        }
        for (TColumnIndex column = 0; column < columns.Count(); ++column) {
            texts.push_back(Tree.GetText(node, column));
        }
        Lines.push_back("node " + path + "\tcheck=" + CheckKindName(Tree.GetCheckType(node)) + "," +
                        CheckStateName(node->CheckState) + "\texpanded=" + YesNo(Tree.GetExpanded(node)) +
                        "\tvisible=" + YesNo(Tree.GetVisible(node)) + "\tshown=" +
                        YesNo(Tree.GetFullyVisible(node)) + "\t" + Cells(texts));
        TreeNodes(Tree, node, path + ".", Lines);
    }
}

TLines TreeContents(TCustomDataStringTree& Tree)
{
    TLines lines;
    const TDataTreeColumns& columns = Tree.Header()->Columns();
    for (TColumnIndex i = 0; i < columns.Count(); ++i) {
        lines.push_back(Column(i, columns[i]->Text(), columns[i]->Width()));
    }
    TreeNodes(Tree, nullptr, "", lines);
    return lines;
}

std::string Line(int Number, const std::string& Text)
{
    return "line " + std::to_string(Number) + "\ttext=" + plat::LayoutQuoted(Text);
}

} // namespace

std::vector<std::string> ControlContents(plat::TControl& Control)
{
    if (auto* box = dynamic_cast<plat::TCheckBox*>(&Control)) {
        std::string line = "checked=";
        line += box->State() == plat::cbGrayed ? "grayed" : YesNo(box->Checked());
        return {line};
    }
    if (auto* radio = dynamic_cast<plat::TRadioButton*>(&Control)) {
        std::string line = "checked=";
        line += YesNo(radio->Checked());
        return {line};
    }
    if (auto* list = dynamic_cast<plat::TListView*>(&Control)) {
        return ListViewContents(*list);
    }
    if (auto* tree = dynamic_cast<TCustomDataStringTree*>(&Control)) {
        return TreeContents(*tree);
    }
    TLines lines;
    if (auto* memo = dynamic_cast<plat::TCustomMemo*>(&Control)) {
        for (int i = 0; i < memo->Lines().Count(); ++i) {
            lines.push_back(Line(i + 1, memo->Lines().Strings(i)));
        }
    } else if (auto* editor = dynamic_cast<TPgcEditor*>(&Control)) {
        for (int i = 1; i <= editor->LineCount(); ++i) {
            lines.push_back(Line(i, editor->GetStringLine(i)));
        }
    }
    return lines;
}

} // namespace qel

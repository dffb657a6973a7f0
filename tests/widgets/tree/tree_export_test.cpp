// The string tree's exports: HTML with escaped texts and colours, RTF with
// its tables, paper and \u characters, separated text with quoting, the
// clipboard blocks and the HTML envelope's offsets, the CSV file, custom
// export events and cancelling.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/controls/clipboard.h"
#include "platform/format_settings.h"
#include "platform/locale.h"
#include "platform/streams.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qel::tree_test {
namespace {

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class TreeExport : public TreeTest {
protected:
    TreeExport()
    {
        Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
        Tree->OnGetText = [this](plat::TObject*, PDataNode node, TColumnIndex column, TDSTTextType, std::string& text) {
            const auto it = Texts.find({node, column});
            if (it != Texts.end()) {
                text = it->second;
            }
        };
    }

    PDataNode Add(PDataNode parent, std::vector<std::string> cells)
    {
        const PDataNode node = Tree->AddChild(parent);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            Texts[{node, Tree->Header()->UseColumns() ? static_cast<TColumnIndex>(i) : NoColumn}] = cells[i];
        }
        return node;
    }

    void Columns(std::vector<std::string> captions)
    {
        for (const std::string& caption : captions) {
            TDataTreeColumn* column = Tree->Header()->Columns().Add();
            column->SetText(caption);
            column->SetWidth(96);
        }
    }

    std::map<std::pair<PDataNode, TColumnIndex>, std::string> Texts;
};

TEST_F(TreeExport, AnEmptyTreeIsATableWithoutRowsOrOneRtfCell)
{
    ShowForm();
    const std::string html = Tree->ContentToHTML(tstAll);
    EXPECT_EQ(html.rfind("<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">", 0), 0u);
    EXPECT_TRUE(Contains(html, "<style type=\"text/css\">\r\n.default{font-family: '"));
    EXPECT_TRUE(Contains(html, ".noborder{border-style: none;"));
    EXPECT_TRUE(Contains(html, " cellspacing=\"0\">\r\n</table>"));
    EXPECT_FALSE(Contains(html, "<tr"));

    const std::string rtf = Tree->ContentToRTF(tstAll);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl}{\\colortbl;}", 0), 0u);
    const long twips = std::lround(Tree->ClientWidth() * 1440.0 / 96);
    EXPECT_TRUE(Contains(rtf, "\\margl720\\margr720\\margt720\\margb720\\uc1\\trowd\\trgaph70\\cellx" +
                                  std::to_string(twips) + "\\pard\\par}"));
}

TEST_F(TreeExport, HtmlEscapesTextsAndWritesColoursAndLevels)
{
    Columns({"A & B", "<C>"});
    Tree->Header()->Columns()[1]->SetColor(plat::clRed);
    Tree->Header()->Columns()[0]->SetColor(plat::clWhite);
    const PDataNode top = Add(nullptr, {"x < y", "\"q\""});
    Add(top, {"child", "z"});
    const std::string html = Tree->ContentToHTML(tstAll, "My \"tree\"");
    EXPECT_TRUE(Contains(html, "caption=\"My &quot;tree&quot;\""));
    EXPECT_TRUE(Contains(html, ">A &amp; B</th>"));
    EXPECT_TRUE(Contains(html, ">&lt;C&gt;</th>"));
    EXPECT_TRUE(Contains(html, ">x &lt; y</td>"));
    EXPECT_TRUE(Contains(html, ">&quot;q&quot;</td>"));
    EXPECT_TRUE(Contains(html, " bgcolor=#FF0000>"));
    // The main column spans the levels below the node.
    EXPECT_TRUE(Contains(html, " align=left colspan=\"2\" bgcolor="));
    // A colour of its own drops the parent's: white is written as such.
    EXPECT_TRUE(Contains(html, " colspan=\"2\" bgcolor=#FFFFFF>x &lt; y</td>"));
    EXPECT_FALSE(Contains(html, "<C>"));
}

TEST_F(TreeExport, RtfWritesEveryCharacterAsItsCodeAndBreaksLines)
{
    Add(nullptr, {"a\nb\r\xE2\x82\xAC\xEF\xBF\xBD"});
    const std::string rtf = Tree->ContentToRTF(tstAll);
    // A line feed is a paragraph, a return is dropped, U+FFFD is a negative 16-bit number.
    EXPECT_TRUE(Contains(rtf, " \\u97\\'3f{\\par}\\u98\\'3f\\u8364\\'3f\\u-3\\'3f\\cell\\row\r\n"));
    {
        plat::TFixedLocaleProvider us("en_US");
        plat::TScopedLocaleProvider scope(us);
        EXPECT_TRUE(Contains(Tree->ContentToRTF(tstAll), "\\paperw15840\\paperh12240"));
    }
    plat::TFixedLocaleProvider german("de_DE");
    plat::TScopedLocaleProvider scope(german);
    EXPECT_TRUE(Contains(Tree->ContentToRTF(tstAll), "\\paperw16840\\paperh11907"));
}

TEST_F(TreeExport, SeparatedTextQuotesCellsThatWouldBreakIt)
{
    Columns({"Name", "Value"});
    const PDataNode top = Add(nullptr, {"a,b", "plain"});
    Add(top, {"say \"hi\"", "two\nlines"});
    EXPECT_EQ(Tree->ContentToText(tstAll, ","),
              "Name,,Value\r\n"
              "\"a,b\",,plain\r\n"
              ",\"say \"\"hi\"\"\",\"two\nlines\"\r\n");
}

TEST_F(TreeExport, EachTextSourceWalksItsNodes)
{
    // a (checked) with a1 (copied to the clipboard) below it, collapsed; b
    // (selected); c with a child that is made but not initialised.
    const PDataNode a = Add(nullptr, {"a"});
    const PDataNode a1 = Add(a, {"a1"});
    const PDataNode b = Add(nullptr, {"b"});
    const PDataNode c = Add(nullptr, {"c"});
    for (PDataNode node : {a, a1, b, c}) {
        Tree->ValidateNode(node, false);
    }
    Tree->SetChildCount(c, 1);
    Texts[{c->FirstChild, NoColumn}] = "c1";
    Tree->SetCheckType(a, ctCheckBox);
    Tree->SetCheckState(a, csCheckedNormal);
    Tree->SetSelected(a1, true);
    Tree->CopyToClipboard();
    Tree->ClearSelection();
    Tree->SetSelected(b, true);
    const std::vector<std::pair<TDSTTextSourceType, std::string>> cases = {
        // Initialised nodes first: the other walks initialise c1.
        {tstInitialized, "a\r\n,a1\r\nb\r\nc\r\n"},
        {tstSelected, "b\r\n"},
        {tstCutCopySet, ",a1\r\n"},
        {tstVisible, "a\r\nb\r\nc\r\n"},
        {tstChecked, "a\r\n"},
        {tstAll, "a\r\n,a1\r\nb\r\nc\r\n,c1\r\n"},
    };
    for (const auto& [source, text] : cases) {
        EXPECT_EQ(Tree->ContentToText(source, ","), text) << "source " << static_cast<int>(source);
    }
    plat::OleSetClipboard(nullptr);
}

TEST_F(TreeExport, ClipboardBlocksAndTheHtmlEnvelope)
{
    Add(nullptr, {"\xC3\xA4"});
    const plat::HGLOBAL ansi = Tree->ContentToClipboard(plat::CF_TEXT, tstAll);
    EXPECT_EQ(ansi->Bytes(), (std::vector<std::uint8_t>{0xE4, '\r', '\n', 0}));
    const plat::HGLOBAL unicode = Tree->ContentToClipboard(plat::CF_UNICODETEXT, tstAll);
    EXPECT_EQ(unicode->Bytes(), (std::vector<std::uint8_t>{0xE4, 0, '\r', 0, '\n', 0, 0, 0}));
    EXPECT_EQ(Tree->ContentToClipboard(0x1234, tstAll), nullptr);

    const std::string fragment = Tree->ContentToHTML(tstAll);
    const plat::HGLOBAL block = Tree->ContentToClipboard(TreeClipboardFormats().Html, tstAll);
    const std::string html(block->Bytes().begin(), block->Bytes().end() - 1);
    const std::size_t length = fragment.size();
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  "Version:1.0\r\nStartHTML:00000097\r\nEndHTML:%.8zu\r\nStartFragment:00000269\r\nEndFragment:%.8zu\r\n",
                  length + 301, length + 269);
    EXPECT_EQ(html.substr(0, 97), expected);
    EXPECT_EQ(html.substr(97, 9), "<!DOCTYPE");
    EXPECT_EQ(html.substr(269, length), fragment);
    EXPECT_EQ(html.substr(269 + length), "<!--EndFragment--></body></html>");
    EXPECT_EQ(html.size(), length + 301);
    EXPECT_EQ(block->Bytes().back(), 0);

    // CSV: the cells joined by the locale's list separator, whatever the
    // decimal separator is.
    Columns({"a", "b"});
    Texts[{Tree->RootNode()->FirstChild, 0}] = "1";
    Texts[{Tree->RootNode()->FirstChild, 1}] = "2";
    plat::TScopedFormatSettings settings;
    struct TCase {
        char list;
        char decimal;
        const char* csv;
    };
    for (const TCase& c : {TCase{';', ',', "a;b\r\n1;2\r\n"}, TCase{'|', '.', "a|b\r\n1|2\r\n"},
                           TCase{',', ',', "a,b\r\n1,2\r\n"}}) {
        plat::FormatSettings().ListSeparator = c.list;
        plat::FormatSettings().DecimalSeparator = c.decimal;
        const plat::HGLOBAL csv = Tree->ContentToClipboard(TreeClipboardFormats().Csv, tstAll);
        EXPECT_EQ(std::string(csv->Bytes().begin(), csv->Bytes().end()), std::string(c.csv, 11)) << c.list;
    }
}

TEST_F(TreeExport, TheCsvFileHoldsTheTopLevelInUtf8)
{
    Columns({"Na\"me", "Value"});
    const PDataNode top = Add(nullptr, {"\xC3\xA4", ""});
    Add(top, {"child", "x"});
    Add(nullptr, {"b", "c"});
    const std::string file = (std::filesystem::path(testing::TempDir()) / "tree_export.csv").string();
    EXPECT_FALSE(Tree->SaveToCSVFile("", true));
    ASSERT_TRUE(Tree->SaveToCSVFile(file, true));
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    std::filesystem::remove(file);
    EXPECT_EQ(content.str(), "\"Na\"\"me\",\"Value\"\n\"\xC3\xA4\",\" \"\n\"b\",\"c\"\n");
}

TEST_F(TreeExport, CustomExportIsEventsAndCancellingStopsTheWalk)
{
    Columns({"a"});
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
    for (const char* text : {"1", "2", "3"}) {
        Add(nullptr, {text});
    }
    std::vector<std::string> events;
    Tree->OnBeforeTreeExport = [&](plat::TObject*, TDTExportType) { events.push_back("tree"); };
    Tree->OnColumnExport = [&](plat::TObject*, TDTExportType, TColumnIndex column) {
        events.push_back("column " + std::to_string(column));
    };
    Tree->OnNodeExport = [&](plat::TObject*, TDTExportType, PDataNode node) {
        events.push_back("node " + Tree->GetText(node, 0));
    };
    Tree->OnAfterTreeExport = [&](plat::TObject*, TDTExportType) { events.push_back("end"); };
    Tree->ContentToCustom(tstAll);
    EXPECT_EQ(events, (std::vector<std::string>{"tree", "column 0", "node 1", "node 2", "node 3", "end"}));

    // Cancelled after the first node: the text so far is the answer.
    Tree->OnAfterNodeExport = [&](plat::TObject*, TDTExportType, PDataNode) { Tree->CancelOperation(); };
    const std::string html = Tree->ContentToHTML(tstAll);
    EXPECT_TRUE(Contains(html, ">1</td>"));
    EXPECT_FALSE(Contains(html, ">2</td>"));
    EXPECT_TRUE(Contains(html, "</table>"));
    EXPECT_EQ(Tree->OperationCount(), 0u);
}

TEST_F(TreeExport, ExportModeChoosesTheNodes)
{
    const PDataNode a = Add(nullptr, {"a"});
    Add(nullptr, {"b"});
    Tree->SetCheckType(a, ctCheckBox);
    Tree->SetCheckState(a, csCheckedNormal);
    Tree->TreeOptions()->SetExportMode(emChecked);
    const std::string html = Tree->ContentToHTML(tstAll);
    EXPECT_TRUE(Contains(html, ">a</td>"));
    EXPECT_FALSE(Contains(html, ">b</td>"));
}

} // namespace
} // namespace qel::tree_test

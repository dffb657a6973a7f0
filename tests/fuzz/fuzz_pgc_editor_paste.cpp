// Fuzz target for pasting into the paragraph editor: the clipboard holds
// what another program put there, so the input becomes arbitrary UTF-16
// (lone CRs, NULs, unpaired surrogates, a run of up to 71,680 units for
// lines past every limit) pasted at a caret into an editor with or without word wrap
// and with or without tight limits. After each paste the paragraph list's
// invariants hold, a limit error has been reported through OnError, and the
// text before the caret is untouched, but for the blanks just before it that
// a pasted line break trims; one undo then restores the text.
#include "tests/widgets/pages/para_list_checker.h"
#include "tests/widgets/pages/pgc_clipboard_units.h"

#include "widgets/pages/edit_text_routines.h"
#include "widgets/pages/pgc_base_unit.h"
#include "widgets/pages/pgc_editor.h"

#include "platform/controls/application.h"
#include "platform/hosts/headless/headless_host.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// The first unit 0xFFkk stands for (kk % 70 + 1) * 1,024 copies of the unit
// after it (one long run an input, so that each input stays quick).
constexpr char16_t RunMark = 0xFF00;
constexpr std::size_t RunUnits = 1024;
constexpr std::size_t RunCounts = 70;

// An editor whose paragraph list the checks can see.
class TCheckedEditor : public qel::TPgcEditor {
public:
    using qel::TPgcEditor::TPgcEditor;
    qel::TPgcParaList& List() const { return edParaList(); }
};

void Require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

void Require(const std::string& fault, const char* what)
{
    if (!fault.empty()) {
        std::fprintf(stderr, "%s: %s\n", what, fault.c_str());
        std::abort();
    }
}

struct TBench {
    plat::THeadlessHost Host;
    plat::TApplication App{Host};
    TBench() { qel::InitPgcBaseUnit(); }
};

TBench& Bench()
{
    static TBench* bench = new TBench();
    return *bench;
}

std::u16string PastedText(qeltest::TScriptReader& in)
{
    std::u16string text;
    bool ran = false;
    while (!in.AtEnd()) {
        const auto unit = static_cast<char16_t>(in.Byte() | in.Byte() << 8);
        if ((unit & RunMark) != RunMark || ran) {
            text.push_back(unit);
            continue;
        }
        const std::size_t count = (1 + (unit & 0xFF) % RunCounts) * RunUnits;
        const auto repeated = static_cast<char16_t>(in.Byte() | in.Byte() << 8);
        text.append(count, repeated);
        ran = true;
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bench();
    qeltest::TScriptReader in({data, size});
    auto editor = std::make_unique<TCheckedEditor>(nullptr);
    editor->SetWordWrap(in.Below(2) == 1);
    editor->SetWrapColumn(1 + in.Below(30));
    if (in.Below(2) == 1) {
        editor->SetParaLimit(2 + in.Below(6));
        editor->SetByteLimit(20 + in.Below(200));
        editor->SetParaLengthLimit(5 + in.Below(60));
    }
    editor->SetText("first line\r\n\tsecond\r\nthird and last");
    editor->FlushUndoBuffer();
    editor->SetCaretPosition(1 + in.Below(editor->LineCount()), 1 + in.Below(12));

    int caretCol = 0;
    int caretPara = editor->GetCaretPosition(caretCol);
    editor->LineToPara(caretPara, caretCol);
    const std::vector<std::u16string> before = qeltest::ListTexts(editor->List());
    const int lengthBefore = editor->TextLength();
    std::uint16_t reported = 0;
    editor->OnError = [&reported](plat::TObject*, std::uint16_t& Code) { reported = Code; };

    const std::u16string pasted = PastedText(in);
    qel::test::SetClipboardUnits(pasted);
    editor->PasteFromClipboard();

    Require(qeltest::CheckParaList(editor->List()), "invariants after the paste");
    const std::vector<std::u16string> after = qeltest::ListTexts(editor->List());
    for (int para = 1; para < caretPara; ++para) {
        Require(after[static_cast<std::size_t>(para - 1)] == before[static_cast<std::size_t>(para - 1)],
            "a paragraph before the caret changed");
    }
    const std::u16string& caretBefore = before[static_cast<std::size_t>(caretPara - 1)];
    std::size_t kept = std::min(caretBefore.size(), static_cast<std::size_t>(caretCol - 1));
    // Breaking the paragraph at a pasted line feed trims the blanks before the break.
    if (pasted.find(u'\n') != std::u16string::npos) {
        while (kept > 0 && qel::IsWhiteSpace(caretBefore[kept - 1])) {
            --kept;
        }
    }
    Require(after[static_cast<std::size_t>(caretPara - 1)].compare(0, kept, caretBefore, 0, kept) == 0,
        "the text before the caret changed");
    Require(editor->TextLength() >= lengthBefore, "a paste lost text");
    for (const std::u16string& para : after) {
        Require(para.find_first_of(u"\r\n") == std::u16string::npos, "a line break inside a paragraph");
        Require(para.find(u'\0') == std::u16string::npos, "a zero inside a paragraph");
    }
    if (editor->TextLength() == lengthBefore) {
        const bool nothingToInsert = pasted.empty() || pasted[0] == 0;
        Require(nothingToInsert || reported != 0 || after != before || pasted.find(u'\r') != std::u16string::npos,
            "a refused paste was not reported");
    }

    // A short paste fits the undo history whole: one undo takes it back.
    constexpr std::size_t FitsUndo = 400;
    if (editor->CanUndo()) {
        editor->Undo();
        Require(qeltest::CheckParaList(editor->List()), "invariants after the undo");
        Require(pasted.size() > FitsUndo || qeltest::ListTexts(editor->List()) == before, "one undo restores");
    }
    return 0;
}

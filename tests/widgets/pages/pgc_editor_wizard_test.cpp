// The program's use of the editor on its finish page, on the headless back
// end: an editor with the finish page's stored settings, read from a form
// description, gets the written file names from a worker thread through the
// message queue and appends them on the user-interface thread in order.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include "widgets/pages/pgc_caret.h"
#include "widgets/pages/pgc_colors.h"
#include "widgets/pages/pgc_editor_margins.h"
#include "widgets/pages/pgc_fixed_font.h"

#include "platform/controls/custom_control.h"
#include "platform/controls/scroll_bars.h"
#include "platform/objects/class_registry.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"
#include "platform/worker_thread.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace qel {
namespace {

constexpr plat::UINT WM_FILE_WRITTEN = plat::WM_USER + 1;   // wParam: the name's index
constexpr plat::UINT WM_SAVE_DONE = plat::WM_USER + 2;
constexpr int Row = 15;

// The finish page's result view as the main form stores it.
void ApplyFinishPageSettings(TPgcEditor& editor)
{
    editor.SetReadOnly(true);
    editor.FixedFont()->SetName("Fixedsys");
    editor.FixedFont()->SetSize(8);
    editor.FixedFont()->SetColor(plat::clWindowText);
    editor.FixedFont()->SetStyle({});
    editor.SetAlign(plat::alClient);
    editor.CaretOvr()->SetShape(csBlock);
    editor.HighlightColors()->SetBackColor(plat::clHighlight);
    editor.HighlightColors()->SetTextColor(plat::clHighlightText);
    editor.SetLeftMargin(15);
    editor.SetRightMargin(5);
    editor.MarginOptions()->Left()->SetLinePosition(15);
    editor.MarginOptions()->Right()->SetLinePosition(5);
}

// Hands each written file's name to the window, as the save thread does.
class TFileNameWorker : public plat::TThread {
public:
    TFileNameWorker(plat::HWND Target, int Count) : FTarget(Target), FCount(Count) {}

protected:
    void Execute() override
    {
        for (int i = 0; i < FCount; ++i) {
            plat::PostMessage(FTarget, WM_FILE_WRITTEN, static_cast<plat::WPARAM>(i), 0);
        }
        plat::PostMessage(FTarget, WM_SAVE_DONE, 0, 0);
    }

private:
    plat::HWND FTarget;
    int FCount;
};

// The page behind the editor: appends the names that arrive.
class TFinishPage : public plat::TCustomControl {
public:
    TFinishPage(plat::TComponent* Owner, const std::vector<std::string>& Names) : TCustomControl(Owner), FNames(Names) {}

    TPgcEditor* Result = nullptr;
    std::vector<std::thread::id> AppendThreads;
    int ScrollableAtLine = 0;     // the line count at which the bar first could scroll
    bool Done = false;

    void WndProc(plat::TMessage& Msg) override
    {
        if (Msg.Msg == WM_FILE_WRITTEN) {
            AppendThreads.push_back(std::this_thread::get_id());
            Result->AppendPara(FNames.at(Msg.WParam));
            if (ScrollableAtLine == 0 && BarScrolls()) {
                ScrollableAtLine = Result->LineCount();
            }
            return;
        }
        if (Msg.Msg == WM_SAVE_DONE) {
            Done = true;
            return;
        }
        TCustomControl::WndProc(Msg);
    }

private:
    bool BarScrolls() const
    {
        plat::TScrollInfo bar;
        bar.fMask = plat::SIF_RANGE | plat::SIF_PAGE;
        plat::GetScrollInfo(Result->Handle(), plat::SB_VERT, bar);
        return bar.nMax - bar.nMin + 1 > static_cast<int>(bar.nPage);
    }

    const std::vector<std::string>& FNames;
};

class PgcEditorWizard : public test::TPgcFormTest {
protected:
    PgcEditorWizard()
    {
        plat::RegisterClass(TPgcEditor::StaticClass());
        for (int i = 1; i <= 14; ++i) {
            Names.push_back("/home/user/Documents/QEL/Logger 4711/Recording " + std::to_string(i) + ".qrec");
        }
    }

    // The finish page's editor as the form description makes it.
    std::unique_ptr<TPgcEditor> LoadedEditor()
    {
        TPgcEditor designed(nullptr);
        designed.SetName("oedResult");
        ApplyFinishPageSettings(designed);
        plat::TMemoryStream stream;
        plat::TWriter writer(stream);
        writer.WriteRootComponent(&designed);
        stream.SetPosition(0);
        plat::TReader reader(stream);
        return std::unique_ptr<TPgcEditor>(dynamic_cast<TPgcEditor*>(reader.ReadRootComponent(nullptr)));
    }

    std::vector<std::string> Names;
};

TEST_F(PgcEditorWizard, TheFormDescriptionCarriesTheFinishPageSettings)
{
    const std::unique_ptr<TPgcEditor> editor = LoadedEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->ReadOnly());
    EXPECT_EQ(editor->FixedFont()->Size(), 8);
    EXPECT_TRUE(editor->FixedFont()->Name() == "Fixedsys" || editor->FixedFont()->Name() == "DejaVu Sans Mono")
        << editor->FixedFont()->Name();
    EXPECT_EQ(editor->CaretOvr()->Shape(), csBlock);
    EXPECT_EQ(editor->CaretIns()->Shape(), csVertLine);
    EXPECT_EQ(editor->HighlightColors()->BackColor(), plat::clHighlight);
    EXPECT_EQ(editor->LeftMargin(), 15);
    EXPECT_EQ(editor->RightMargin(), 5);
    EXPECT_FALSE(editor->MarginOptions()->Left()->Enabled());
    EXPECT_EQ(editor->Align(), plat::alClient);
}

TEST_F(PgcEditorWizard, WrittenFileNamesArriveInOrderOnTheUserInterfaceThread)
{
    auto* page = new TFinishPage(Form, Names);
    page->SetBounds(0, 0, 380, 8 * Row + 40);
    page->SetParent(Form);
    page->SetVisible(false);   // the finish page shows once the save is over
    TPgcEditor* editor = LoadedEditor().release();
    Form->InsertComponent(editor);
    editor->SetParent(page);
    page->Result = editor;
    Pump();
    const int rows = editor->VisibleRows();
    ASSERT_LT(rows, static_cast<int>(Names.size()));

    auto worker = std::make_shared<TFileNameWorker>(page->Handle(), static_cast<int>(Names.size()));
    worker->Start();
    worker->WaitFor();
    Pump();
    ASSERT_TRUE(page->Done);
    ASSERT_EQ(page->AppendThreads.size(), Names.size());
    for (const std::thread::id& id : page->AppendThreads) {
        EXPECT_EQ(id, std::this_thread::get_id());
    }
    EXPECT_EQ(page->ScrollableAtLine, rows + 1) << "the range appears when the text first outgrows the window";

    std::string expected;
    for (const std::string& name : Names) {
        expected += name + "\r\n";
    }
    EXPECT_EQ(editor->Text(), expected);
    EXPECT_EQ(editor->TopLine(), 1) << "the view stays at the first name";

    page->SetVisible(true);
    Pump();
    Host.SaveScreenshot(Form->Handle(), test::ScreenshotPath("finish_page"));

    // One name per row, starting 15 pixels from the editor's left edge.
    const auto screen = Host.CaptureScreen();
    const auto ink = [&](int left, int right, int top, int bottom) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const plat::TPoint at = editor->ClientToScreen({x, y});
                const std::uint8_t* pixel = screen->ScanLine(at.Y) + 4 * at.X;
                if (plat::RGB(pixel[2], pixel[1], pixel[0]) != plat::ToColorRef(plat::clWindow)) {
                    return true;
                }
            }
        }
        return false;
    };
    for (int row = 0; row < editor->VisibleRows() - 1; ++row) {
        EXPECT_FALSE(ink(0, 15, row * Row, (row + 1) * Row)) << "row " << row << ": the margin stays blank";
        EXPECT_TRUE(ink(15, 22, row * Row, (row + 1) * Row)) << "row " << row << ": a name's first letter";
    }
}

} // namespace
} // namespace qel

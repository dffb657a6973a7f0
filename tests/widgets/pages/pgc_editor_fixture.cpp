// The bench of the editor tests.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_messages.h"
#include "platform/text_encoding.h"

#include <cstdlib>
#include <filesystem>

namespace qel::test {

std::string ScreenshotPath(const std::string& Name)
{
    const char* dir = std::getenv("QEL_TEST_BINARY_DIR");
    const std::filesystem::path base = dir != nullptr ? std::filesystem::path(dir) / "test_output" / "editor"
                                                      : std::filesystem::temp_directory_path() / "qel_editor";
    std::filesystem::create_directories(base);
    return (base / (Name + ".png")).string();
}

TRecordedPaint::TRecordedPaint(int Width, int Height)
    : FPixels(std::max(Width, 1), std::max(Height, 1), 32), FTarget(FPixels), FRecording(&FTarget)
{
}

plat::COLORREF TRecordedPaint::Pixel(int X, int Y)
{
    const std::uint8_t* pixel = FPixels.ScanLine(Y) + 4 * X;
    return plat::RGB(pixel[2], pixel[1], pixel[0]);
}

TEditorTest::TEditorTest()
{
    Editor = new TPgcEditor(Form);
    Editor->SetName("Editor1");
    Editor->SetParent(Form);
    Editor->SetBounds(10, 10, 300, 200);
    Pump();
}

void TEditorTest::SetClientSize(int Width, int Height)
{
    const int frameX = Editor->Width() - Editor->ClientWidth();
    const int frameY = Editor->Height() - Editor->ClientHeight();
    Editor->SetBounds(Editor->Left(), Editor->Top(), Width + frameX, Height + frameY);
    Pump();
}

std::unique_ptr<TRecordedPaint> TEditorTest::PaintRecorded()
{
    auto paint = std::make_unique<TRecordedPaint>(Editor->ClientWidth(), Editor->ClientHeight());
    Editor->Perform(plat::WM_PAINT, reinterpret_cast<plat::WPARAM>(&paint->Dc()));
    return paint;
}

plat::COLORREF TEditorTest::ScreenPixel(int X, int Y)
{
    Pump();
    const auto screen = Host.CaptureScreen();
    const plat::TPoint at = Editor->ClientToScreen({X, Y});
    const std::uint8_t* pixel = screen->ScanLine(at.Y) + 4 * at.X;
    return plat::RGB(pixel[2], pixel[1], pixel[0]);
}

void TEditorTest::Shot(const std::string& Name)
{
    Pump();
    Host.SaveScreenshot(Form->Handle(), ScreenshotPath(Name));
}

void TEditorTest::AppendLines(const std::vector<std::string>& Lines)
{
    for (const std::string& line : Lines) {
        ASSERT_EQ(Editor->AppendPara(std::string_view(line)), 0) << line;
    }
}

std::vector<std::string> TEditorTest::Texts(const TRecordedPaint& Paint)
{
    std::vector<std::string> texts;
    for (const plat::TRecordedCall* call : Paint.Calls("ExtTextOut")) {
        texts.push_back(call->Text);
    }
    return texts;
}

std::vector<std::string> TEditorTest::Paras(TPgcCustomEditor& Of)
{
    std::vector<std::string> paras;
    for (int para = 1; para <= Of.ParaCount(); ++para) {
        int length = 0;
        const char16_t* text = Of.GetPara(para, length);
        paras.push_back(plat::Utf16ToUtf8(std::u16string_view(text, static_cast<std::size_t>(length))));
    }
    return paras;
}

std::pair<int, int> TEditorTest::Caret()
{
    int col = 0;
    const int line = Editor->GetCaretPosition(col);
    return {line, col};
}

std::array<int, 4> TEditorTest::Selection()
{
    std::array<int, 4> ends{};
    Editor->GetSelection(ends[0], ends[1], ends[2], ends[3]);
    return ends;
}

int TEditorTest::RowHeight()
{
    const int x = Editor->LeftMargin() + 1;
    for (int y = 1; y < Editor->ClientHeight(); ++y) {
        int line = 0;
        int col = 0;
        Editor->XYToLineCol(x, y, line, col);
        if (line != Editor->TopLine()) {
            return y;
        }
    }
    ADD_FAILURE() << "the editor shows fewer than two lines";
    return 1;
}

plat::TPoint TEditorTest::CellPoint(int Line, int Col)
{
    const int rowHeight = RowHeight();
    return {Editor->LeftMargin() + (Col - Editor->LeftColumn()) * Editor->ColumnWidth() + 1,
        (Line - Editor->TopLine()) * rowHeight + rowHeight / 2};
}

void TEditorTest::Drag(plat::TPoint From, plat::TPoint To, std::uint8_t Modifiers)
{
    Host.AdvanceClock(ApartMs);
    HoldModifiers(Modifiers, true);
    Host.MouseDown(From);
    Host.MouseMove(To);
    Host.MouseUp(To);
    HoldModifiers(Modifiers, false);
    Pump();
}

void TEditorTest::HoldModifiers(std::uint8_t Modifiers, bool Down)
{
    for (const auto& [modifier, key] : {std::pair{plat::ModShift, plat::VK_SHIFT}, {plat::ModAlt, plat::VK_MENU}}) {
        if ((Modifiers & modifier) != 0) {
            Down ? Host.KeyDown(key) : Host.KeyUp(key);
        }
    }
}

void TEditorTest::Focus()
{
    Editor->SetFocus();
    Pump();
}

} // namespace qel::test

// The bench of the editor tests.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include "platform/controls/window_messages.h"

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

} // namespace qel::test

// The bench of the editor tests: a headless form with one editor on it,
// a paint of the editor's client area recorded into pixels, pixel probes on
// the screen, and screenshots into the test output folder.
#pragma once

#include "tests/widgets/pages/pgc_clipboard_units.h"
#include "tests/widgets/pages/pgc_form_fixture.h"

#include "widgets/pages/pgc_editor.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/recording_dc.h"
#include "platform/canvas/surface_dc.h"

#include <array>
#include <memory>
#include <utility>
#include <string>
#include <vector>

namespace qel::test {

// Where a screenshot of that name goes: the editor folder of the test output.
std::string ScreenshotPath(const std::string& Name);

// One paint of a control's client area: the calls it made and the pixels.
class TRecordedPaint {
public:
    TRecordedPaint(int Width, int Height);
    plat::TRecordingDC& Dc() { return FRecording; }
    // The colour of a client pixel.
    plat::COLORREF Pixel(int X, int Y);
    // The calls of one name, in order.
    std::vector<const plat::TRecordedCall*> Calls(std::string_view Name) const { return FRecording.CallsNamed(Name); }

private:
    plat::TPixelSurface FPixels;
    plat::TSurfaceDC FTarget;
    plat::TRecordingDC FRecording;
};

class TEditorTest : public TPgcFormTest {
protected:
    // An editor of Width x Height pixels (client area without border or
    // bars: set ScrollBars and BorderStyle first where it matters).
    TEditorTest();

    // Gives the editor a client area of exactly Width x Height pixels.
    void SetClientSize(int Width, int Height);
    // Paints the editor's client area into a recording of its own.
    std::unique_ptr<TRecordedPaint> PaintRecorded();
    // A pixel of the editor's client area as the screen shows it now.
    plat::COLORREF ScreenPixel(int X, int Y);
    // Writes a screenshot of the form into the test output folder.
    void Shot(const std::string& Name);
    // Appends each line as a paragraph.
    void AppendLines(const std::vector<std::string>& Lines);
    // The text ExtTextOut calls wrote, in order.
    static std::vector<std::string> Texts(const TRecordedPaint& Paint);

    // The paragraphs of an editor's text, in UTF-8.
    static std::vector<std::string> Paras(TPgcCustomEditor& Of);
    std::vector<std::string> Paras() { return Paras(*Editor); }
    // The caret's display line and column.
    std::pair<int, int> Caret();
    // The selection's ends as display line and column; all 0 without one.
    std::array<int, 4> Selection();
    // The editor's row height in pixels, found through XYToLineCol.
    int RowHeight();
    // A client point inside the cell of display line Line, column Col
    // (the visible first line is TopLine), just right of its left edge.
    plat::TPoint CellPoint(int Line, int Col);
    // The same on the screen.
    plat::TPoint ScreenCell(int Line, int Col) { return Editor->ClientToScreen(CellPoint(Line, Col)); }
    // Gives the editor the keyboard.
    void Focus();
    // A press at From, a move to To and the release there, with the
    // modifiers (ModShift, ModAlt) held; apart in time from any click before.
    void Drag(plat::TPoint From, plat::TPoint To, std::uint8_t Modifiers = 0);
    void HoldModifiers(std::uint8_t Modifiers, bool Down);
    // Enough time between two clicks for them not to make a double click.
    static constexpr std::int64_t ApartMs = 2000;

    TPgcEditor* Editor = nullptr;
};

} // namespace qel::test

// The paragraph editor under the wizard's long logs, on the headless back
// end: a million generated paragraphs appended to an editor of 80 x 40
// cells, a scroll to the end with its paint, thumb jumps to random lines
// with theirs, and the allocations a paint makes per row beyond those of
// the canvas's own calls; run by hand.
#include "para_text_generator.h"

#include "widgets/pages/pgc_base_unit.h"
#include "widgets/pages/pgc_editor.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/controls/scroll_bars.h"
#include "platform/controls/window_messages.h"
#include "platform/hosts/headless/headless_host.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

namespace {

std::atomic<std::uint64_t> GAllocations{0};

} // namespace

// The program's allocations, counted. These replace the global operators,
// so the compiler's check of matching new and delete does not apply.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    GAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

#pragma GCC diagnostic pop

namespace {

using namespace para_bench;

constexpr int Columns = 80;
constexpr int Rows = 40;
constexpr int ThumbJumps = 100;

std::uint64_t Allocations()
{
    return GAllocations.load(std::memory_order_relaxed);
}

// An editor whose paint can be called directly.
class TBenchEditor : public qel::TPgcEditor {
public:
    using TPgcEditor::TPgcEditor;
    void PaintInto(plat::TDeviceContext& dc) { Perform(plat::WM_PAINT, reinterpret_cast<plat::WPARAM>(&dc)); }
};

// The canvas calls of a paint of the rows, made directly: the strips left
// and right of the text, the margin strip of each row (and of the two rows
// after them), each row's fill and its text output.
void PaintRowsDirectly(plat::TDeviceContext& dc, qel::TPgcEditor& editor, const std::vector<std::string>& rows)
{
    const int textRight = 15 + Columns * editor.ColumnWidth();
    const int height = editor.ClientHeight();
    const plat::TLogBrush white = plat::CreateSolidBrush(0xFFFFFF);
    std::vector<int> advances(1024, editor.ColumnWidth());
    dc.FillRect({0, 0, 15, height}, white);
    dc.FillRect({textRight, 0, editor.ClientWidth(), height}, white);
    for (std::size_t row = 0; row < rows.size() + 2; ++row) {
        const int top = static_cast<int>(row) * 15;
        dc.FillRect({0, top, 15, top + 15}, white);
    }
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const int top = static_cast<int>(row) * 15;
        const plat::TRect rect{15, top, textRight, top + 15};
        dc.FillRect(rect, white);
        dc.ExtTextOut(rect.Left, top + 1, plat::ETO_CLIPPED | plat::ETO_OPAQUE, &rect, rows[row], advances.data());
    }
}

} // namespace

int main()
{
    const TGeneratedText generated = Generate(20240601);
    plat::THeadlessHost host;
    plat::TApplication application(host);
    qel::InitPgcBaseUnit();
    auto* form = application.CreateForm<plat::TForm>();
    form->SetBounds(0, 0, 800, 800);
    form->Show();
    auto* editor = new TBenchEditor(form);
    editor->SetBorderStyle(qel::TPgcCustomEditor::bsNone);
    editor->SetScrollBars(qel::TPgcCustomEditor::ssVertical);
    editor->SetParent(form);
    editor->SetReadOnly(true);
    editor->SetBounds(0, 0, 600, 600);
    host.PumpUntilIdle();
    const int cellWidth = editor->ColumnWidth();
    const int frame = editor->Width() - editor->ClientWidth();
    editor->SetBounds(0, 0, 15 + Columns * cellWidth + 5 + frame, Rows * 15);
    host.PumpUntilIdle();
    std::printf("editor of %d x %d cells (%d x %d pixels)\n", editor->VisibleColumns(), editor->VisibleRows(),
        editor->ClientWidth(), editor->ClientHeight());

    std::printf("(times are processor time of the program's thread)\n");
    std::vector<double> blockSeconds;
    const double appendStart = ThreadSeconds();
    for (std::int32_t block = 0; block < Paragraphs / Block; ++block) {
        const double blockStart = ThreadSeconds();
        for (std::int32_t p = block * Block; p < (block + 1) * Block; ++p) {
            editor->AppendPara(generated.Paragraph(p));
        }
        blockSeconds.push_back(ThreadSeconds() - blockStart);
    }
    const double appendRate = Paragraphs / (ThreadSeconds() - appendStart);
    const double lastToFirst = blockSeconds.back() / blockSeconds.front();
    std::printf("AppendPara: %.0f paragraphs/s (target 500,000: %s)\n", appendRate, Verdict(appendRate >= 5e5));
    std::printf("  last 100,000 took %.2f times the first (target 1.5 at most: %s)\n", lastToFirst,
        Verdict(lastToFirst <= 1.5));
    host.PumpUntilIdle();

    editor->ResetScrollBars(true);
    host.PumpUntilIdle();
    const double endStart = ThreadSeconds();
    editor->SetTopLine(editor->LineCount() - editor->VisibleRows() + 1);
    const double endMs = (ThreadSeconds() - endStart) * 1e3;
    std::printf("scroll to the end with its paint: %.2f ms (target under 10 ms: %s), top line %d of %d\n", endMs,
        Verdict(endMs < 10.0), editor->TopLine(), editor->LineCount());
    host.PumpUntilIdle();

    plat::TScrollInfo bar;
    bar.fMask = plat::SIF_RANGE | plat::SIF_PAGE;
    plat::GetScrollInfo(editor->Handle(), plat::SB_VERT, bar);
    const int lastPosition = bar.nMax - static_cast<int>(bar.nPage) + 1;
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> position(1, lastPosition);
    const double jumpStart = ThreadSeconds();
    for (int jump = 0; jump < ThumbJumps; ++jump) {
        const auto thumb = static_cast<std::uint16_t>(position(rng));
        editor->Perform(plat::WM_VSCROLL, plat::MAKEWPARAM(plat::SB_THUMBPOSITION, thumb));
    }
    const double jumpMs = (ThreadSeconds() - jumpStart) * 1e3 / ThumbJumps;
    std::printf("%d thumb jumps to random lines (bar units of %d lines), each with its paint: %.2f ms mean "
                "(target under 16 ms: %s)\n",
        ThumbJumps, (editor->LineCount() + bar.nMax - 1) / bar.nMax, jumpMs, Verdict(jumpMs < 16.0));
    host.PumpUntilIdle();

    // The part of a jump the paragraph list takes to find the new top line:
    // a walk from its first, last or last-used paragraph (a paint leaves it
    // at the caret's line, here the first).
    std::uniform_int_distribution<int> paragraph(1, editor->ParaCount());
    const double walkStart = ThreadSeconds();
    for (int jump = 0; jump < ThumbJumps; ++jump) {
        editor->GetParaLength(1);
        editor->GetParaLength(paragraph(rng));
    }
    const double walkMs = (ThreadSeconds() - walkStart) * 1e3 / ThumbJumps;
    std::printf("  of which the paragraph list's walk to a random paragraph: %.2f ms mean\n", walkMs);

    // A paint's allocations against those of the same canvas calls made
    // directly: what is left over is the editor's own.
    plat::TPixelSurface pixels(editor->ClientWidth(), editor->ClientHeight(), 32);
    plat::TSurfaceDC dc(pixels);
    editor->PaintInto(dc);
    std::vector<std::string> rows;
    for (int line = editor->TopLine(); line < editor->TopLine() + editor->VisibleRows(); ++line) {
        rows.push_back(editor->GetStringLine(line).substr(0, Columns));
    }
    PaintRowsDirectly(dc, *editor, rows);
    const std::uint64_t paintStart = Allocations();
    editor->PaintInto(dc);
    const std::uint64_t paintAllocations = Allocations() - paintStart;
    const std::uint64_t directStart = Allocations();
    PaintRowsDirectly(dc, *editor, rows);
    const std::uint64_t directAllocations = Allocations() - directStart;
    const double own = static_cast<double>(paintAllocations) - static_cast<double>(directAllocations);
    const double ownPerRow = own / static_cast<double>(rows.size());
    std::printf("one paint of %zu rows: %llu allocations, the same canvas calls made directly %llu; the paint's own "
                "%.0f, %.2f per row (target 0 per row: %s)\n",
        rows.size(), static_cast<unsigned long long>(paintAllocations),
        static_cast<unsigned long long>(directAllocations), own, ownPerRow, Verdict(ownPerRow < 1.0));

    qel::FinalizePgcBaseUnit();
    return 0;
}

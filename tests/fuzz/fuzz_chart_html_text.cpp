// Fuzz target for the chart's HTML-like text: any mix of tags, attributes,
// entities, line breaks and stray brackets is drawn on a small recording
// chart canvas, centred, right-aligned or left, with and without picture
// hooks. Only the font errors and conversion errors of bad attributes may
// leave the call, and the canvas's alignment must come back unchanged. Each
// input starts from fresh tag and font stacks and the same canvas font.
//
// Each input byte below 0x80 picks a piece of markup from the table; the
// others are written as they are, so unbalanced tags, "<" without ">",
// huge sizes, bad "#" colours and attributes without spaces all occur.
#include "tests/widgets/chart/stream_sized_graphic.h"
#include "tests/widgets/chart/test_chart_canvas.h"

#include "widgets/chart/chart_font.h"
#include "widgets/chart/html_stacks.h"
#include "widgets/chart/html_text_out.h"

#include "platform/canvas/bitmap.h"
#include "platform/date_time.h"
#include "platform/streams.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace qel;

constexpr const char* Pieces[] = {
    "<", ">", "</>", "<B>", "</B>", "<I>", "</I>", "<U>", "<STRIKE>", "<STRONG>", "<BOLD>", "<BR>", "<P>",
    "<BIG>", "</BIG>", "<SMALL>", "</SMALL>", "<SUB>", "</SUB>", "<SUP>", "</SUP>", "<SUPER>", "</SUPER>",
    "<H1>", "</H1>", "<H3>", "</H6>", "<PRE>", "</PRE>", "<CENTER>", "</CENTER>", "<HR>", "<FONT ",
    "</FONT>", "SIZE=", "COLOR=", "NAME=", "FAMILY=", "WEIGHT=", "BOLD", "ITALIC", "NORMAL", ", ", "+",
    "-", "4", "1e300", "0.5", "999999999", "#", "#FF0000", "#GG", "\"", "'", "LIME", "RED", "clBtnFace",
    "=", " ", "<IMG ", "SRC=", "WIDTH=", "HEIGHT=", "a.fake", "b.png", "2147483647", "-2147483648",
    "&lt;", "&gt;", "&amp;", "&quot;", "&", "\r\n", "\r", "\n", "Text", "x", "W", "\xC3\xA4", "COURIER NEW",
};
constexpr std::size_t PieceCount = sizeof(Pieces) / sizeof(Pieces[0]);

std::unique_ptr<THtmlGraphic> FindGraphic(const std::string& Ext)
{
    return Ext == ".FAKE" ? std::make_unique<test::TStreamSizedGraphic>() : nullptr;
}

int LoadSource(const std::string& Src, plat::TStream& Stream)
{
    const std::uint8_t Bytes[2] = {static_cast<std::uint8_t>(Src.size()), static_cast<std::uint8_t>(Src.size() * 7)};
    Stream.Write(Bytes, Src.size() % 3 == 0 ? 0 : 2);
    return Src.size() % 5 == 0 ? 1 : 0;
}

// Text is measured from the font size and not rendered, so that the target
// spends its time in the markup rather than in font realisation; shapes and
// pictures are still drawn.
class TFuzzCanvas : public test::TTestChartCanvas {
public:
    TFuzzCanvas() : TTestChartCanvas(64, 32) {}
    TPointFloat TextSize(std::string_view St) override
    {
        const float Size = Font()->SizeFloat();
        return {static_cast<float>(St.size()) * Size * 0.6f, std::abs(Size) * 1.3f};
    }
    using TTestChartCanvas::TextSize;
    void TextOut(int, int, const std::string& Text) override { Written += Text.size(); }
    std::size_t Written = 0;
};

TFuzzCanvas& Canvas()
{
    static TFuzzCanvas* Shared = new TFuzzCanvas();
    return *Shared;
}

void StartInput(TFuzzCanvas& C)
{
    InitChartHtml();
    C.Font()->SetName("Arial");
    C.Font()->SetSize(8);
    C.Font()->SetColor(clBlack);
    C.Font()->SetStyle({});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    if (Size == 0) {
        return 0;
    }
    constexpr std::size_t MaxPieces = 48;
    std::string Text;
    for (std::size_t I = 1; I < Size && I <= MaxPieces; ++I) {
        if (Data[I] < 0x80) {
            Text += Pieces[Data[I] % PieceCount];
        } else {
            Text += static_cast<char>(Data[I]);
        }
    }
    TFuzzCanvas& C = Canvas();
    StartInput(C);
    static constexpr int Aligns[] = {0, 2, 6, 8, 24};
    C.SetTextAlign(Aligns[Data[0] % 5]);
    const bool Hooks = (Data[0] & 0x10) != 0;
    HtmlFindGraphic = Hooks ? FindGraphic : nullptr;
    HtmlLoadSource = Hooks ? LoadSource : nullptr;
    C.Recorder.Clear();
    try {
        HtmlTextOut(C, Data[0] & 0x0F, 4, Text);
    } catch (const EHtmlFontError&) {
    } catch (const plat::EConvertError&) {
    }
    if (C.GetTextAlign() != Aligns[Data[0] % 5] || HtmlStacks == nullptr) {
        std::abort();
    }
    return 0;
}

// Tests of the percent bar at its default 200 x 24 in the sunken frame: the
// used and rest parts by percent (clamped), the column between them, the
// percent text that inverts the pixels under its glyphs, repainting only
// on a new value, a buffer that follows the size, the vertical bar and the
// owner-drawn bar.
#include "tests/widgets/pages/pgc_notebook_fixture.h"

#include "widgets/pages/pgc_meter.h"

#include "platform/canvas/gdi_constants.h"

#include <memory>

namespace qel {
namespace {

using test::Rgb;
using test::TNotebookTest;

// Counts its paints.
class TCountingMeter : public TPgcMeter {
public:
    explicit TCountingMeter(plat::TComponent* Owner) : TPgcMeter(Owner) {}
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TPgcMeter::Paint();
    }
};

class PgcMeter : public TNotebookTest {
protected:
    TCountingMeter* NewMeter(int Left = 20, int Top = 20)
    {
        auto* meter = new TCountingMeter(Form);
        meter->SetBounds(Left, Top, meter->Width(), meter->Height());
        meter->SetParent(Form);
        Pump();
        return meter;
    }

    // The colour of each column of the bar along row Y.
    std::vector<plat::TColor> Row(plat::TControl* Meter, int Y)
    {
        const std::vector<plat::TColor> all = PixelsOf(Meter);
        return std::vector<plat::TColor>(all.begin() + Y * Meter->Width(), all.begin() + (Y + 1) * Meter->Width());
    }

    const plat::TColor Used = Rgb(plat::clLime);
    const plat::TColor Rest = Rgb(plat::clWindow);
};

struct TBarCase {
    int Percent;
    int UsedTo;    // last column of the used part, -1 for none
    std::string Text;
};

// Inside the frame the bar runs over columns 2 .. 197 (its length counts
// 197); the used part ends at 2 + U - 2 and everything after it is rest.
TEST_F(PgcMeter, UsedAndRestPartsByPercent)
{
    TCountingMeter* meter = NewMeter();
    ASSERT_EQ(meter->Width(), 200);
    ASSERT_EQ(meter->Height(), 24);
    const std::vector<TBarCase> cases = {
        {0, -1, "0%"},    {1, -1, "1%"},     {2, 3, "2%"},        {3, 5, "3%"},     {50, 98, "50%"},
        {99, 194, "99%"}, {100, 197, "100%"}, {150, 197, "100%"}, {-5, -1, "0%"},
    };
    for (const TBarCase& c : cases) {
        meter->SetPercent(c.Percent);
        EXPECT_EQ(meter->ValueString(), c.Text) << c.Percent;
        for (int y : {2, 11, 21}) {
            const std::vector<plat::TColor> row = Row(meter, y);
            for (int x = 2; x <= 197; ++x) {
                EXPECT_EQ(row[static_cast<std::size_t>(x)], x <= c.UsedTo ? Used : Rest)
                    << c.Percent << "% at " << x << "," << y;
            }
        }
    }
}

TEST_F(PgcMeter, AHundredPixelBarDrawsNoUsedPartBelowThreePixels)
{
    TCountingMeter* meter = NewMeter();
    meter->SetBounds(20, 20, 103, 24);   // length 100 inside the frame
    for (const auto& [percent, usedTo] : std::vector<std::pair<int, int>>{{1, -1}, {2, -1}, {3, 3}, {98, 97}}) {
        meter->SetPercent(percent);
        const std::vector<plat::TColor> row = Row(meter, 10);
        for (int x = 2; x <= 100; ++x) {
            EXPECT_EQ(row[static_cast<std::size_t>(x)], x <= usedTo ? Used : Rest) << percent << "% at " << x;
        }
    }
}

TEST_F(PgcMeter, TheSunkenDoubleFrame)
{
    TCountingMeter* meter = NewMeter();
    meter->SetPercent(0);
    const plat::TColor shadow = Rgb(plat::clBtnShadow);
    const plat::TColor light = Rgb(plat::clBtnHighlight);
    const plat::TColor black = Rgb(plat::clBlack);
    const std::vector<std::tuple<int, int, plat::TColor>> pixels = {
        {0, 0, shadow},  {100, 0, shadow}, {0, 12, shadow},   {199, 0, light},  {199, 12, light},
        {0, 23, light},  {100, 23, light}, {1, 1, black},     {100, 1, black},  {1, 12, black},
        {198, 1, light}, {198, 12, light}, {100, 22, light},  {1, 22, light},
    };
    for (const auto& [x, y, color] : pixels) {
        EXPECT_EQ(PixelOf(meter, x, y), color) << x << "," << y;
    }
    meter->SetCtl3D(false);
    EXPECT_EQ(PixelOf(meter, 0, 0), black);
    EXPECT_EQ(PixelOf(meter, 199, 23), black);
    EXPECT_EQ(PixelOf(meter, 1, 1), Rest) << "one frame only";
    meter->SetBorderStyle(TPgcMeter::bsNone);
    meter->SetPercent(100);
    EXPECT_EQ(PixelOf(meter, 0, 0), Used);
    EXPECT_EQ(PixelOf(meter, 199, 23), Used);
}

// The text is laid over the bar by exclusive or with white glyphs on black:
// every pixel of the bar with text equals the bar without it XOR the text
// alone, drawn independently here.
TEST_F(PgcMeter, ThePercentTextInvertsWhatItCovers)
{
    TCountingMeter* meter = NewMeter();
    meter->SetPercent(50);
    const std::vector<plat::TColor> bar = PixelsOf(meter);
    meter->SetShowPercent(true);
    const std::vector<plat::TColor> withText = PixelsOf(meter);

    plat::TBitmap glyphs(200, 24);
    plat::TCanvas& canvas = *glyphs.Canvas();
    canvas.Brush()->SetColor(plat::clBlack);
    canvas.FillRect(plat::Rect(0, 0, 200, 24));
    canvas.Font()->Assign(meter->Font());
    canvas.Font()->SetColor(plat::clWhite);
    canvas.Brush()->SetStyle(plat::bsClear);
    const plat::TSize extent = canvas.TextExtent("50%");
    canvas.TextOut(2 + (197 - extent.cx) / 2, 2 + (21 - extent.cy) / 2, "50%");
    int onUsed = 0;
    int onRest = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 200; ++x) {
            const std::size_t at = static_cast<std::size_t>(y * 200 + x);
            const plat::TColor text = canvas.Pixel(x, y);
            EXPECT_EQ(withText[at], (bar[at] ^ text) & 0xFFFFFF) << x << "," << y;
            const bool glyph = (text & 0xFF) >= 0xC0;   // mostly covered by a glyph
            onUsed += glyph && bar[at] == Used;
            onRest += glyph && bar[at] == Rest;
        }
    }
    EXPECT_GT(onUsed, 0) << "glyphs over the used part";
    EXPECT_GT(onRest, 0) << "glyphs over the rest";
    Shot(Form, "meter_text_50");

    meter->SetInvertPercent(false);
    const std::vector<plat::TColor> plain = PixelsOf(meter);
    EXPECT_EQ(std::count(plain.begin(), plain.end(), Used ^ 0xFFFFFF), 0) << "plain text inverts nothing";
    EXPECT_NE(plain, bar);
}

TEST_F(PgcMeter, TheSamePercentDoesNotRepaint)
{
    TCountingMeter* meter = NewMeter();
    const int before = meter->Paints;
    meter->SetPercent(40);
    EXPECT_EQ(meter->Paints, before + 1) << "a new value paints at once";
    meter->SetPercent(40);
    Pump();
    EXPECT_EQ(meter->Paints, before + 1);
    meter->SetPercent(41);
    EXPECT_EQ(meter->Paints, before + 2);
}

TEST_F(PgcMeter, AResizedMeterPaintsAtItsNewSize)
{
    TCountingMeter* meter = NewMeter();
    meter->SetPercent(50);
    Pump();
    meter->SetBounds(20, 20, 300, 30);
    const std::vector<plat::TColor> row = Row(meter, 15);
    ASSERT_EQ(row.size(), 300u);
    EXPECT_EQ(row[299], Rgb(plat::clBtnHighlight)) << "the frame at the new edge";
    EXPECT_EQ(row[298], Rgb(plat::clBtnHighlight));
    EXPECT_EQ(row[148], Used) << "50% of 297";
    EXPECT_EQ(row[149], Rest);
    EXPECT_EQ(row[297], Rest);
}

TEST_F(PgcMeter, TheVerticalBarFillsFromTheBottom)
{
    TCountingMeter* meter = NewMeter();
    meter->SetOrientation(moVertical);
    ASSERT_EQ(meter->Width(), 24);
    ASSERT_EQ(meter->Height(), 200);
    // Length 197 along rows 2 .. 197: the used part from row Rest + 1 down.
    for (const auto& [percent, usedFrom] : std::vector<std::pair<int, int>>{{0, 999}, {1, 999}, {50, 99}, {99, 3}, {100, 2}}) {
        meter->SetPercent(percent);
        const std::vector<plat::TColor> all = PixelsOf(meter);
        for (int y = 2; y <= 197; ++y) {
            EXPECT_EQ(all[static_cast<std::size_t>(y * 24 + 11)], y >= usedFrom ? Used : Rest) << percent << "% at row " << y;
        }
        EXPECT_EQ(all[static_cast<std::size_t>(1 * 24 + 11)], Rgb(plat::clBlack)) << percent << "%: the frame stays";
    }
}

TEST_F(PgcMeter, AnOwnerDrawsOverTheBarWithoutPercentText)
{
    TCountingMeter* meter = NewMeter();
    int calls = 0;
    meter->OnOwnerDraw = [&](plat::TCanvas* Canvas, plat::TRect& Rec) {
        ++calls;
        EXPECT_EQ(Rec, plat::Rect(0, 0, 200, 24));
        Canvas->Brush()->SetColor(plat::clRed);
        Canvas->FillRect(plat::Rect(10, 10, 12, 12));
    };
    meter->Invalidate();
    EXPECT_EQ(PixelOf(meter, 10, 10), Rgb(plat::clRed));
    EXPECT_GT(calls, 0);
    calls = 0;
    meter->SetShowPercent(true);
    Pump();
    EXPECT_EQ(calls, 0) << "the percent text takes the owner's place";
}

TEST_F(PgcMeter, PicturesTakeThePlaceOfTheColoursInsideTheFrame)
{
    TCountingMeter* meter = NewMeter();
    const auto solid = [](plat::TColor color) {
        auto picture = std::make_unique<plat::TBitmap>(10, 10);
        picture->Canvas()->Brush()->SetColor(color);
        picture->Canvas()->FillRect(plat::Rect(0, 0, 10, 10));
        return picture;
    };
    meter->SetPercent(50);
    meter->SetUsedImage(solid(plat::clBlue).get());
    meter->SetUnusedImage(solid(plat::clRed).get());
    const std::vector<plat::TColor> row = Row(meter, 11);
    for (int x = 2; x <= 197; ++x) {
        EXPECT_EQ(row[static_cast<std::size_t>(x)], Rgb(x <= 99 ? plat::clBlue : plat::clRed)) << x;
    }
    EXPECT_EQ(row[198], Rgb(plat::clBtnHighlight)) << "the stretched rest stays off the frame";
    meter->SetUsedImage(nullptr);
    EXPECT_TRUE(meter->UsedImage()->Empty());
    EXPECT_EQ(Row(meter, 11)[50], Used);
}

// Pictures to look at: the bars the progress pages show.
TEST_F(PgcMeter, Gallery)
{
    int top = 10;
    for (int percent : {0, 1, 50, 99, 100}) {
        auto* horizontal = new TPgcMeter(Form);
        horizontal->SetBounds(10, top, 200, 24);
        horizontal->SetParent(Form);
        horizontal->SetShowPercent(true);
        horizontal->SetPercent(percent);
        auto* vertical = new TPgcMeter(Form);
        vertical->SetOrientation(moVertical);
        vertical->SetBounds(230 + (top / 34) * 32, 10, 24, 200);
        vertical->SetParent(Form);
        vertical->SetShowPercent(true);
        vertical->SetPercent(percent);
        top += 34;
    }
    Shot(Form, "meter_gallery");
}

} // namespace
} // namespace qel

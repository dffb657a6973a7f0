// Gradient painters working with plain device-context calls.
#include "widgets/chart/gradient_fill_painter.h"

#include "widgets/chart/chart_canvas.h"

#include "platform/canvas/device_context.h"
#include "platform/canvas/gdi_constants.h"

#include <algorithm>
#include <cstdint>

namespace qel {

namespace {

// The diagonal painter refuses areas of more pixels; the ring and corner
// painters refuse fills that would take more steps, which no device shows.
constexpr std::int64_t MostSteppedPixels = 0x4000000;

int Channel(TColor Color, int Shift)
{
    return static_cast<int>(static_cast<std::uint32_t>(Color) >> Shift & 0xFF);
}

} // namespace

TGradientFillPainter::TGradientFillPainter(TChtCanvas& Canvas, const TRect& Rect, TColor Start, TColor End,
    int Balance)
    : FCanvas(Canvas), FDC(Canvas.DeviceContext()), FRect(Rect), FBalance(Balance)
{
    const TColor From = TChtCanvas::SystemColor(Start);
    const TColor To = TChtCanvas::SystemColor(End);
    FRed = Channel(From, 0);
    FGreen = Channel(From, 8);
    FBlue = Channel(From, 16);
    FDeltaRed = Channel(To, 0) - FRed;
    FDeltaGreen = Channel(To, 8) - FGreen;
    FDeltaBlue = Channel(To, 16) - FBlue;
    if (FDC != nullptr) {
        plat::TLogBrush DeviceColor = plat::CreateSolidBrush(0);
        DeviceColor.UsesDCColor = true;
        FSavedBrush = FDC->SelectBrush(DeviceColor);
        FDC->GetClipBox(FVisible);
    }
}

bool TGradientFillPainter::Visible(std::int64_t Left, std::int64_t Top, std::int64_t Right, std::int64_t Bottom) const
{
    return Left < FVisible.Right && Right > FVisible.Left && Top < FVisible.Bottom && Bottom > FVisible.Top;
}

TGradientFillPainter::~TGradientFillPainter()
{
    if (FDC != nullptr) {
        FDC->SelectBrush(FSavedBrush);
    }
}

TColor TGradientFillPainter::StepColor(int I, int N) const
{
    const auto Step = [&](int Start, int Delta) {
        if (FBalance == 50) {
            return Start + static_cast<int>(std::int64_t{I} * Delta / N);
        }
        return Start + RoundToPixel(BalanceCurve(I, FBalance, N) * Delta);
    };
    const auto Byte = [](int Value) { return static_cast<std::uint32_t>(std::clamp(Value, 0, 255)); };
    return static_cast<TColor>(Byte(Step(FRed, FDeltaRed)) | Byte(Step(FGreen, FDeltaGreen)) << 8
        | Byte(Step(FBlue, FDeltaBlue)) << 16);
}

void TGradientFillPainter::UseStep(int I, int N)
{
    const TColor Color = StepColor(I, std::max(N, 1));
    if (Color == FLastColor || FDC == nullptr) {
        return;
    }
    FLastColor = Color;
    FDC->SetDCBrushColor(plat::ToColorRef(Color));
}

void TGradientFillPainter::Fill(std::int64_t X, std::int64_t Y, std::int64_t Width, std::int64_t Height)
{
    if (FDC == nullptr || Width <= 0 || Height <= 0 || !Visible(X, Y, X + Width, Y + Height)) {
        return;
    }
    FDC->PatBlt(plat::SaturateInt(X), plat::SaturateInt(Y), plat::SaturateInt(Width), plat::SaturateInt(Height),
        plat::PATCOPY);
}

void TGradientFillPainter::Bands(bool Vertical)
{
    const std::int64_t Length = Vertical ? FRect.Height() : FRect.Width();
    const std::int64_t Across = Vertical ? FRect.Width() : FRect.Height();
    const auto Count = static_cast<int>(std::min<std::int64_t>(Length, 256));
    const int N = Count - 1;
    // A single band has no steps to go: nothing is painted.
    if (N <= 0 || Across <= 0) {
        return;
    }
    std::int64_t Previous = 0;
    for (int I = 0; I < Count; ++I) {
        UseStep(I, N);
        const std::int64_t Next = (I + 1) * Length / Count;
        if (Vertical) {
            Fill(FRect.Left, std::int64_t{FRect.Bottom} - Next, Across, Next - Previous);
        } else {
            Fill(std::int64_t{FRect.Right} - Next, FRect.Top, Next - Previous, Across);
        }
        Previous = Next;
    }
}

void TGradientFillPainter::Rings()
{
    const std::int64_t Width = FRect.Width();
    const std::int64_t Height = FRect.Height();
    const std::int64_t HalfWidth = Width / 2;
    const std::int64_t HalfHeight = Height / 2;
    if (Width <= 0 || Height <= 0 || std::max(HalfWidth, HalfHeight) >= MostSteppedPixels) {
        return;
    }
    const auto N = static_cast<int>(std::clamp<std::int64_t>(HalfWidth + HalfHeight, 1, 0x7FFFFFFF));
    std::int64_t Row = 0;
    std::int64_t Column = 0;
    for (;;) {
        UseStep(static_cast<int>(Row + Column), N);
        Fill(FRect.Left + Column, FRect.Top + Row, 1, Height - 2 * Row);
        Fill(FRect.Right - Column - 1, FRect.Top + Row, 1, Height - 2 * Row);
        Fill(FRect.Left + Column, FRect.Top + Row, Width - 2 * Column, 1);
        Fill(FRect.Left + Column, FRect.Bottom - Row - 1, Width - 2 * Column, 1);
        if (Row >= HalfHeight && Column >= HalfWidth) {
            break;
        }
        Row += Row < HalfHeight ? 1 : 0;
        Column += Column < HalfWidth ? 1 : 0;
    }
}

void TGradientFillPainter::CornerFill(bool FromBottom)
{
    const std::int64_t Width = FRect.Width();
    const std::int64_t Height = FRect.Height();
    if (Width <= 0 || Height <= 0 || Width + Height > MostSteppedPixels) {
        return;
    }
    const auto N = static_cast<int>(Width + Height);
    const std::int64_t Edge = FromBottom ? FRect.Bottom : FRect.Top;
    std::int64_t Y = Edge;     // the next row's edge, moving away from Edge
    std::int64_t Rows = 0;
    std::int64_t Columns = 0;
    bool ColumnsDone = false;
    // Each turn adds the next column over the rows so far and the next row
    // over the columns so far; it ends once the last column is painted.
    for (;;) {
        UseStep(static_cast<int>(std::min<std::int64_t>(Rows + Columns, N)), N);
        if (!ColumnsDone) {
            const std::int64_t X = FRect.Left + Columns - 1;
            Fill(X, std::min(Y, Edge), 1, Y > Edge ? Y - Edge : Edge - Y);
        }
        if (Rows < Height) {
            ++Rows;
            Fill(FRect.Left, FromBottom ? Y - 1 : Y, Columns, 1);
            Y += FromBottom ? -1 : 1;
        }
        if (Columns < Width) {
            ++Columns;
        } else {
            ColumnsDone = true;
        }
        if (Rows == Height && ColumnsDone) {
            break;
        }
    }
}

void TGradientFillPainter::DiagonalLines(bool Up)
{
    TRect R = FRect;
    if (!Up) {
        R.Top = plat::SaturateInt(std::int64_t{R.Top} - 1);
        R.Bottom = plat::SaturateInt(std::int64_t{R.Bottom} - 1);
    }
    const std::int64_t Width = R.Width();
    const std::int64_t Height = R.Height();
    if (Width <= 0 || Height <= 0 || Width * Height > MostSteppedPixels) {
        return;
    }
    const auto Lines = static_cast<int>(Width + Height);
    const int N = std::max(1, std::min(255, Lines - 1));
    const int Away = Up ? -1 : 1;
    const auto Inside = [&](int Y) { return Up ? Y > R.Top : Y < R.Bottom; };
    TPoint P{R.Left, Up ? R.Bottom : R.Top};
    TPoint Q = P;
    TChtPen Saved;
    Saved.Assign(FCanvas.Pen());
    FCanvas.Pen()->SetWidth(1);
    FCanvas.Pen()->SetStyle(plat::psSolid);
    FCanvas.Pen()->SetMode(plat::pmCopy);
    struct TRestore {
        TChtCanvas& Canvas;
        const TChtPen& Saved;
        ~TRestore() { Canvas.Pen()->Assign(&Saved); }
    } Restore{FCanvas, Saved};
    for (int I = 0; I < Lines; ++I) {
        if (Visible(std::min(P.X, Q.X), std::min(P.Y, Q.Y), std::int64_t{std::max(P.X, Q.X)} + 1,
                std::int64_t{std::max(P.Y, Q.Y)} + 1)) {
            FCanvas.Pen()->SetColor(StepColor(static_cast<int>(std::int64_t{I} * N / Lines), N));
            FCanvas.Line(P, Q);
        }
        if (Q.X < R.Right) {
            ++Q.X;
        } else if (Inside(Q.Y)) {
            Q.Y += Away;
        }
        if (Inside(P.Y)) {
            P.Y += Away;
        } else if (P.X < R.Right) {
            ++P.X;
        }
    }
}

} // namespace qel

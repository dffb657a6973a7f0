// The rotate filter and the gradient rotation it serves.
#include "widgets/chart/rotate_filter.h"

#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_messages.h"
#include "widgets/chart/filter_pixels.h"
#include "widgets/chart/flip_filters.h"
#include "widgets/chart/form_creator.h"

#include "platform/canvas/bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace qel {

PLAT_DEFINE_CLASS(TRotateFilter, TChtFilter,
    plat::Published("Angle", &TRotateFilter::Angle, &TRotateFilter::SetAngle),
    plat::Published("AutoSize", &TRotateFilter::AutoSize, &TRotateFilter::SetAutoSize).Default(true),
    plat::Published("BackColor", &TRotateFilter::BackColor, &TRotateFilter::SetBackColor).Default(clWhite))

namespace {

// Sine and cosine, in single precision, of the turn that takes a target
// pixel back to its source: 360 - Angle degrees.
struct TTurn {
    float Sin;
    float Cos;
};

float TurnBackRadians(double Angle)
{
    return static_cast<float>((360 - Angle) * std::numbers::pi / 180);
}

TTurn TurnBack(double Angle)
{
    const float Theta = TurnBackRadians(Angle);
    return {static_cast<float>(std::sin(static_cast<double>(Theta))),
        static_cast<float>(std::cos(static_cast<double>(Theta)))};
}

int NearestOfSingle(float V)
{
    return NearestOf(static_cast<double>(V));
}

// The size of the turned picture's bitmap.
plat::TSize TurnedSize(int Width, int Height, double Angle, bool AutoSize)
{
    if (Angle == 90 || Angle == 270) {
        return {Height, Width};
    }
    if (!AutoSize) {
        return {Width, Height};
    }
    const TTurn Turn = TurnBack(Angle);
    const auto W = static_cast<float>(Width);
    const auto H = static_cast<float>(Height);
    if (Turn.Sin * Turn.Cos > 0) {
        return {std::abs(NearestOfSingle(W * Turn.Cos + H * Turn.Sin)),
            std::abs(NearestOfSingle(W * Turn.Sin + H * Turn.Cos))};
    }
    return {std::abs(NearestOfSingle(W * Turn.Cos - H * Turn.Sin)),
        std::abs(NearestOfSingle(W * Turn.Sin - H * Turn.Cos))};
}

// Gives Bitmap a new image of Size, in the background BackColor asks for:
// white as a new image is made, transparent for clNone, else filled.
void MakeTurnedImage(plat::TBitmap& Bitmap, plat::TSize Size, TColor BackColor)
{
    Bitmap.SetSize(0, 0);   // the old image goes without being copied into the new one
    Bitmap.SetSize(Size.cx, Size.cy);
    Bitmap.SetTransparentColor(BackColor == clNone ? clWhite : plat::clDefault);
    Bitmap.SetTransparent(BackColor == clNone);
    if (BackColor != clNone && BackColor != clWhite) {
        plat::TCanvas& Canvas = *Bitmap.Canvas();
        Canvas.Brush()->SetColor(BackColor);
        Canvas.Brush()->SetStyle(plat::bsSolid);
        Canvas.FillRect({0, 0, Size.cx, Size.cy});
    }
}

// A copy of the pixels the rows show, with its own row table.
struct TPictureCopy {
    std::vector<TRGB> Pixels;
    TRGBArray Lines;

    TPictureCopy(const TRGBArray& From, int Width)
        : Pixels(static_cast<std::size_t>(Width) * From.size()), Lines(From.size())
    {
        for (std::size_t Y = 0; Y < From.size(); ++Y) {
            Lines[Y] = Pixels.data() + Y * static_cast<std::size_t>(Width);
            std::copy_n(From[Y], Width, Lines[Y]);
        }
    }
};

// Moves the pixels in blocks, so that the column-wise side of the move
// stays in the cache. Target(x, y) answers where source pixel (x, y) goes.
template <class TTarget>
void TurnRightAngle(const TRGBArray& Source, int Width, int Height, TTarget&& Target)
{
    constexpr int Block = 64;
    for (int Y0 = 0; Y0 < Height; Y0 += Block) {
        for (int X0 = 0; X0 < Width; X0 += Block) {
            for (int Y = Y0; Y < std::min(Y0 + Block, Height); ++Y) {
                const TRGB* Row = Source[static_cast<std::size_t>(Y)];
                for (int X = X0; X < std::min(X0 + Block, Width); ++X) {
                    Target(X, Y) = Row[X];
                }
            }
        }
    }
}

// Each target pixel takes the source pixel it turns back onto, when there
// is one; single precision step by step.
void TurnByAngle(const TRGBArray& Source, int Width, int Height, const TRGBArray& Target, int TargetWidth,
    double Angle)
{
    const TTurn Turn = TurnBack(Angle);
    const auto HalfWidth = static_cast<float>(Width / 2);
    const auto HalfHeight = static_cast<float>(Height / 2);
    const int TargetHeight = static_cast<int>(Target.size());
    for (int Row = 0; Row < TargetHeight; ++Row) {
        const auto Cy = static_cast<float>(Row - TargetHeight / 2);
        const float XShift = Cy * Turn.Sin - HalfWidth;
        const float YShift = Cy * Turn.Cos + HalfHeight;
        TRGB* To = Target[static_cast<std::size_t>(Row)];
        for (int Column = 0; Column < TargetWidth; ++Column) {
            const auto Cx = static_cast<float>(Column - TargetWidth / 2);
            const int Sx = NearestOfSingle(Cx * Turn.Cos - XShift);
            if (Sx < 0 || Sx >= Width) {
                continue;
            }
            const int Sy = NearestOfSingle(Cx * Turn.Sin + YShift);
            if (Sy >= 0 && Sy < Height) {
                To[Column] = Source[static_cast<std::size_t>(Sy)][Sx];
            }
        }
    }
}

} // namespace

void TRotateFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    if (!std::isfinite(FAngle)) {
        return;
    }
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24()) {
        return;
    }
    if (FAngle > 360) {
        FAngle = std::fmod(FAngle, 360.0);
        FAngle = FAngle == 0 ? 360 : FAngle;
    }
    // An angle so far below 0 that its turn overflows single precision
    // turns nothing.
    if (!std::isfinite(TurnBackRadians(FAngle))) {
        return;
    }
    if (FAngle == 180) {
        ApplyTo(TFlipFilter::StaticClass(), Bitmap);
        ApplyTo(TReverseFilter::StaticClass(), Bitmap);
        return;
    }
    const int W = Bitmap.Width();
    const int H = Bitmap.Height();
    if (FAngle == 0 || W <= 1 || H <= 1) {
        return;
    }
    const plat::TSize Size = TurnedSize(W, H, FAngle, FAutoSize);
    const TPictureCopy Source(Lines, W);
    MakeTurnedImage(Bitmap, Size, FBackColor);
    PrepareLines(Bitmap);
    const TRGBArray& Target = Lines;
    if (Target.empty()) {
        return;
    }
    if (FAngle == 90) {
        TurnRightAngle(Source.Lines, W, H, [&](int X, int Y) -> TRGB& { return Target[static_cast<std::size_t>(X)][H - 1 - Y]; });
    } else if (FAngle == 270) {
        TurnRightAngle(Source.Lines, W, H, [&](int X, int Y) -> TRGB& { return Target[static_cast<std::size_t>(W - 1 - X)][Y]; });
    } else {
        TurnByAngle(Source.Lines, W, H, Target, Size.cx, FAngle);
    }
}

void TRotateFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TRotateFilter*>(Source)) {
        FAngle = Other->FAngle;
        FAutoSize = Other->FAutoSize;
        FBackColor = Other->FBackColor;
    }
    TChtFilter::Assign(Source);
}

void TRotateFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    Creator.AddScroll("Angle", 0, 360);
    Creator.AddColor("BackColor", ChartText(TChartMessage::FilterBack));
    Creator.AddCheckBox("AutoSize", ChartText(TChartMessage::FilterAutosize), {});
}

std::string TRotateFilter::Description() const
{
    return ChartText(TChartMessage::Rotate);
}

void TRotateFilter::PrepareForGallery()
{
    FAngle = 45;
}

void GradientRotate(const TCustomChtGradient& Gradient, plat::TBitmap& Bitmap)
{
    if (std::int64_t{Bitmap.Width()} * Bitmap.Height() >= 16777216) {
        return;
    }
    TRotateFilter Rotate(nullptr);
    Rotate.SetAngle(Gradient.Angle());
    Rotate.Apply(Bitmap);
}

} // namespace qel

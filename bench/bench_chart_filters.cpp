// The chart's bitmap filters on one thread, on the 4096 x 4096 24-bit test
// picture: each beside a plain loop written straight from the filter's
// description (outputs compared equal); the mean blur beside pixman's 3 x 3
// convolution filter, invert beside pixman's DIFFERENCE with white and the
// plain brightness beside pixman's ADD of a solid grey, on the same pixels
// as r8g8b8. Run by hand.
#include "chart_bench_support.h"
#include "chart_plain_filters.h"

#include "widgets/chart/area_filters.h"
#include "widgets/chart/blur_filter.h"
#include "widgets/chart/color_filters.h"
#include "widgets/chart/flip_filters.h"
#include "widgets/chart/hls_filters.h"
#include "widgets/chart/kernel_filters.h"
#include "widgets/chart/resize_filters.h"
#include "widgets/chart/rotate_filter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace {

using namespace chart_bench;
using TBitmapWork = std::function<void(plat::TBitmap&)>;

constexpr int Runs = 3;

// The shortest time of Work on fresh copies of Picture; the last copy
// worked on is left in Result.
double TimeOnCopies(plat::TBitmap& Picture, const TBitmapWork& Work, plat::TBitmap& Result)
{
    double Best = 1e30;
    for (int Run = 0; Run < Runs; ++Run) {
        Result.Assign(&Picture);
        Best = std::min(Best, BestSeconds(1, [&] { Work(Result); }));
    }
    return Best;
}

bool SamePixels(plat::TBitmap& A, plat::TBitmap& B)
{
    if (A.Width() != B.Width() || A.Height() != B.Height() || A.PixelFormat() != B.PixelFormat()) {
        return false;
    }
    const int Bytes = A.Width() * (A.PixelFormat() == plat::pf24bit ? 3 : 4);
    for (int Y = 0; Y < A.Height(); ++Y) {
        if (std::memcmp(A.ScanLine(Y), B.ScanLine(Y), static_cast<std::size_t>(Bytes)) != 0) {
            return false;
        }
    }
    return true;
}

// One 3 x 3 pass over the whole of a 24-bit bitmap as its description reads:
// for each inner pixel and colour byte the nine bytes around it, into a
// buffer, then the buffer's rows copied back.
void PlainConvolution(plat::TBitmap& Bitmap, const std::array<float, 9>& W)
{
    const int Width = Bitmap.Width();
    const int Height = Bitmap.Height();
    const bool Mean = std::all_of(W.begin(), W.end(), [](float V) { return V == 1.0f; });
    float Sum = W[0];
    for (int K = 1; K < 9; ++K) {
        Sum = Sum + W[static_cast<std::size_t>(K)];
    }
    const auto Factor = static_cast<float>(1.0 / Sum);
    std::vector<std::uint8_t> Buffer(static_cast<std::size_t>(Width) * Height * 3);
    const std::uint8_t* Above = Bitmap.ScanLine(0);
    const std::uint8_t* Current = Bitmap.ScanLine(1);
    for (int Y = 1; Y < Height - 1; ++Y) {
        const std::uint8_t* Below = Bitmap.ScanLine(Y + 1);
        std::uint8_t* Out = Buffer.data() + static_cast<std::size_t>(Y) * Width * 3;
        for (int X = 1; X < Width - 1; ++X) {
            for (int C = 0; C < 3; ++C) {
                const int L = 3 * (X - 1) + C;
                const int M = 3 * X + C;
                const int R = 3 * (X + 1) + C;
                if (Mean) {
                    Out[M] = static_cast<std::uint8_t>((Above[L] + Above[M] + Above[R] + Current[L] + Current[M]
                                                           + Current[R] + Below[L] + Below[M] + Below[R]) / 9);
                    continue;
                }
                float Acc = W[0] * Above[L];
                Acc = Acc + W[1] * Above[M];
                Acc = Acc + W[2] * Above[R];
                Acc = Acc + W[3] * Current[L];
                Acc = Acc + W[4] * Current[M];
                Acc = Acc + W[5] * Current[R];
                Acc = Acc + W[6] * Below[L];
                Acc = Acc + W[7] * Below[M];
                Acc = Acc + W[8] * Below[R];
                Out[M] = static_cast<std::uint8_t>(std::clamp(std::nearbyint(static_cast<double>(Acc * Factor)), 0.0, 255.0));
            }
        }
        Above = Current;
        Current = Below;
    }
    for (int Y = 1; Y < Height - 1; ++Y) {
        std::memcpy(Bitmap.ScanLine(Y) + 3, Buffer.data() + static_cast<std::size_t>(Y) * Width * 3 + 3,
            static_cast<std::size_t>(Width - 2) * 3);
    }
}

// Times a filter and its plain loop, checks their outputs agree and prints
// the speed, the ratio and whether it meets Goal; answers the filter's time.
double MeasureAgainstPlain(plat::TBitmap& Picture, const char* Name, const TBitmapWork& Ours,
    const TBitmapWork& Plain, double Goal)
{
    plat::TBitmap OurResult;
    plat::TBitmap PlainResult;
    const double OurSeconds = TimeOnCopies(Picture, Ours, OurResult);
    const double PlainSeconds = TimeOnCopies(Picture, Plain, PlainResult);
    const double Pixels = static_cast<double>(Picture.Width()) * Picture.Height();
    const bool Same = SamePixels(OurResult, PlainResult);
    const double Ratio = PlainSeconds / OurSeconds;
    std::printf("%-12s %7.1f MPixel/s (%.3f s), plain loop %7.1f MPixel/s; %.2fx plain (target %.1fx) %s%s\n", Name,
        Pixels / OurSeconds / 1e6, OurSeconds, Pixels / PlainSeconds / 1e6, Ratio, Goal,
        Verdict(Ratio >= Goal), Same ? "" : "  OUTPUTS DIFFER");
    return OurSeconds;
}

// pixman's 3 x 3 convolution with nine weights of 1/9, r8g8b8 to r8g8b8.
double PixmanMeanSeconds(const TPixman& Pixman, plat::TBitmap& Picture)
{
    const int Side = Picture.Width();
    std::vector<std::uint8_t> Source = ToR8G8B8(Picture);
    std::vector<std::uint8_t> Dest(Source.size());
    TPixmanImage From(Pixman, PIXMAN_r8g8b8, Side, Side, Source.data(), Side * 3);
    TPixmanImage To(Pixman, PIXMAN_r8g8b8, Side, Side, Dest.data(), Side * 3);
    pixman_fixed_t Params[2 + 9] = {pixman_int_to_fixed(3), pixman_int_to_fixed(3)};
    std::fill(Params + 2, Params + 11, pixman_double_to_fixed(1.0 / 9.0));
    Pixman.SetFilter(From.Get(), PIXMAN_FILTER_CONVOLUTION, Params, 11);
    return Pixman.SourceSeconds(From.Get(), To.Get(), Side, Side, Runs);
}

// Our filter of class T set up by Set, as a bitmap work.
template <class T, class TSet>
TBitmapWork Ours(TSet Set)
{
    return [Set](plat::TBitmap& Bitmap) {
        T Filter(nullptr);
        Set(Filter);
        Filter.Apply(Bitmap);
    };
}

template <class T>
TBitmapWork Ours()
{
    return Ours<T>([](T&) {});
}

struct TFamilyCase {
    const char* Name;
    TBitmapWork Filter;
    TBitmapWork Plain;
    bool Squeezed;   // run on the picture with its channels squeezed into 64 .. 191
};

// Every filter of the family with the settings its plain loop mirrors.
std::vector<TFamilyCase> FamilyCases()
{
    using namespace qel;
    namespace plain = chart_plain;
    const auto Amount = [](int Value, bool Percent) {
        return [=](TAmountFilter& F) {
            F.SetAmount(Value);
            F.SetPercent(Percent);
        };
    };
    std::vector<TFamilyCase> Cases = {
        {"invert", Ours<TInvertFilter>(), plain::Invert, false},
        {"brightness %", Ours<TBrightnessFilter>(Amount(10, true)), [](plat::TBitmap& B) { plain::Brightness(B, 10, true); }, false},
        {"brightness", Ours<TBrightnessFilter>(Amount(10, false)), [](plat::TBitmap& B) { plain::Brightness(B, 10, false); }, false},
        {"contrast %", Ours<TContrastFilter>(Amount(60, true)), [](plat::TBitmap& B) { plain::Contrast(B, 60, true); }, false},
        {"contrast", Ours<TContrastFilter>(Amount(64, false)), [](plat::TBitmap& B) { plain::Contrast(B, 64, false); }, false},
        {"gamma", Ours<TGammaCorrectionFilter>(), [](plat::TBitmap& B) { plain::Gamma(B, 70, true); }, false},
        {"colour", Ours<TColorFilter>([](TColorFilter& F) { F.SetRed(40); F.SetGreen(-30); }),
            [](plat::TBitmap& B) { plain::Color(B, 40, -30, 0); }, false},
        {"sepia", Ours<TSepiaFilter>(), plain::Sepia, false},
        {"equalize", Ours<TEqualizeFilter>(), plain::Equalize, true},
        {"hue,lum,sat", Ours<THueLumSatFilter>([](THueLumSatFilter& F) { F.SetHue(20); F.SetLuminance(10); F.SetSaturation(-20); }),
            [](plat::TBitmap& B) { plain::HueLumSat(B, 20, 10, -20); }, false},
        {"colour replace", Ours<TColorReplaceFilter>([](TColorReplaceFilter& F) { F.SetToValue(20); F.SetColor(clRed); }),
            [](plat::TBitmap& B) { plain::ColorReplaceHue(B, 0, 20, 0x0000FF); }, false},
        {"flip", Ours<TFlipFilter>(), plain::Flip, false},
        {"reverse", Ours<TReverseFilter>(), plain::Reverse, false},
        {"rotate 90", Ours<TRotateFilter>([](TRotateFilter& F) { F.SetAngle(90); }), [](plat::TBitmap& B) { plain::Rotate(B, 90); }, false},
        {"rotate 270", Ours<TRotateFilter>([](TRotateFilter& F) { F.SetAngle(270); }), [](plat::TBitmap& B) { plain::Rotate(B, 270); }, false},
        {"rotate 180", Ours<TRotateFilter>([](TRotateFilter& F) { F.SetAngle(180); }), [](plat::TBitmap& B) { plain::Rotate(B, 180); }, false},
        {"rotate 30", Ours<TRotateFilter>([](TRotateFilter& F) { F.SetAngle(30); }), [](plat::TBitmap& B) { plain::Rotate(B, 30); }, false},
        {"mirror down", Ours<TMirrorFilter>(), [](plat::TBitmap& B) { plain::Mirror(B, true); }, false},
        {"mirror right", Ours<TMirrorFilter>([](TMirrorFilter& F) { F.SetDirection(mdRight); }),
            [](plat::TBitmap& B) { plain::Mirror(B, false); }, false},
        {"resize", Ours<TResizeFilter>([](TResizeFilter& F) { F.SetWidth(2048); F.SetHeight(2048); }),
            [](plat::TBitmap& B) { plain::Resize(B, 2048, 2048); }, false},
        {"crop", Ours<TCropFilter>([](TCropFilter& F) { F.SetLeft(1000); F.SetTop(700); F.SetWidth(1500); F.SetHeight(2100); }),
            [](plat::TBitmap& B) { plain::Crop(B, 1000, 700, 1500, 2100, false); }, false},
        {"crop smooth", Ours<TCropFilter>([](TCropFilter& F) { F.SetLeft(1000); F.SetTop(700); F.SetWidth(1500); F.SetHeight(2100); F.SetSmooth(true); }),
            [](plat::TBitmap& B) { plain::Crop(B, 1000, 700, 1500, 2100, true); }, false},
        {"zoom", Ours<TZoomFilter>(), [](plat::TBitmap& B) { plain::Zoom(B, 10); }, false},
        {"tile", Ours<TTileFilter>(), [](plat::TBitmap& B) { plain::Tile(B, 3, 3); }, false},
        {"mosaic", Ours<TMosaicFilter>(), [](plat::TBitmap& B) { plain::Mosaic(B, 8); }, false},
        {"bevel", Ours<TBevelFilter>(), [](plat::TBitmap& B) { plain::Bevel(B, 15, 64); }, false},
        {"sobel", Ours<TSobelFilter>(), plain::Sobel, false},
    };
    const char* GreyNames[] = {"grey simple", "grey eye", "grey eye2", "grey light"};
    for (int Method = 0; Method < 4; ++Method) {
        Cases.push_back({GreyNames[Method],
            Ours<TGrayScaleFilter>([Method](TGrayScaleFilter& F) { F.SetMethod(static_cast<TGrayMethod>(Method)); }),
            [Method](plat::TBitmap& B) { plain::GrayScale(B, Method); }, false});
    }
    return Cases;
}

// The shortest time of pixman compositing a solid colour onto the picture
// as r8g8b8 with Op; the last result is left in Result.
double PixmanSolidSeconds(const TPixman& Pixman, plat::TBitmap& Picture, pixman_op_t Op, std::uint16_t Level,
    std::vector<std::uint8_t>& Result)
{
    const int Side = Picture.Width();
    const std::vector<std::uint8_t> Source = ToR8G8B8(Picture);
    const pixman_color_t Color{Level, Level, Level, 0xFFFF};
    pixman_image_t* Solid = Pixman.CreateSolidFill(&Color);
    double Best = 1e30;
    for (int Run = 0; Run < Runs; ++Run) {
        Result = Source;
        TPixmanImage Dest(Pixman, PIXMAN_r8g8b8, Side, Side, Result.data(), Side * 3);
        Best = std::min(Best, BestSeconds(1, [&] {
            Pixman.Composite(Op, Solid, nullptr, Dest.Get(), 0, 0, 0, 0, 0, 0, Side, Side);
        }));
    }
    Pixman.Unref(Solid);
    return Best;
}

// Times a filter beside pixman's solid composite and says whether both
// give the same pixels.
void CompareWithPixman(const TPixman& Pixman, plat::TBitmap& Picture, const char* Name, const TBitmapWork& Ours,
    pixman_op_t Op, std::uint16_t Level, const char* PixmanName, double Goal)
{
    plat::TBitmap OurResult;
    const double OurSeconds = TimeOnCopies(Picture, Ours, OurResult);
    std::vector<std::uint8_t> PixmanResult;
    const double PixmanSeconds = PixmanSolidSeconds(Pixman, Picture, Op, Level, PixmanResult);
    const double Pixels = static_cast<double>(Picture.Width()) * Picture.Height();
    const double Ratio = PixmanSeconds / OurSeconds;
    const bool Same = ToR8G8B8(OurResult) == PixmanResult;
    std::printf("%-12s %7.1f MPixel/s, pixman %s %7.1f MPixel/s; %.2fx pixman (target %.1fx) %s%s\n", Name,
        Pixels / OurSeconds / 1e6, PixmanName, Pixels / PixmanSeconds / 1e6, Ratio, Goal, Verdict(Ratio >= Goal),
        Same ? "" : "  OUTPUTS DIFFER");
}

} // namespace

int main()
{
    TPixman Pixman;
    const bool HavePixman = Pixman.Load();
    auto Picture = TestPicture();
    std::printf("chart filters on a %d x %d 24-bit picture, one thread\n", PictureSide, PictureSide);

    const std::array<float, 9> Ones = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    constexpr float N = -0.125f;
    const std::array<float, 9> Sharpen = {N, N, N, N, 2, N, N, N, N};
    const std::array<float, 9> Emboss = {0, -1, 0, -1, 1, 1, 0, -1, 0};
    const std::array<float, 9> Soften = {0, 0, 0, 0, 1, 1, 0, 1, 1};
    const double Mean = MeasureAgainstPlain(
        *Picture, "mean blur", [](plat::TBitmap& B) { qel::TBlurFilter(nullptr).Apply(B); },
        [&](plat::TBitmap& B) { PlainConvolution(B, Ones); }, 2.0);
    MeasureAgainstPlain(
        *Picture, "sharpen", [](plat::TBitmap& B) { qel::TSharpenFilter(nullptr).Apply(B); },
        [&](plat::TBitmap& B) { PlainConvolution(B, Sharpen); }, 1.0);
    MeasureAgainstPlain(
        *Picture, "emboss", [](plat::TBitmap& B) { qel::TEmbossFilter(nullptr).Apply(B); },
        [&](plat::TBitmap& B) { PlainConvolution(B, Emboss); }, 1.0);
    MeasureAgainstPlain(
        *Picture, "soften", [](plat::TBitmap& B) { qel::TSoftenFilter(nullptr).Apply(B); },
        [&](plat::TBitmap& B) { PlainConvolution(B, Soften); }, 1.0);

    if (HavePixman) {
        const double Reference = PixmanMeanSeconds(Pixman, *Picture);
        const double Pixels = static_cast<double>(PictureSide) * PictureSide;
        const double Ratio = Reference / Mean;
        std::printf("pixman 3x3 convolution %.1f MPixel/s (%.3f s); mean blur %.2fx pixman (target 5.0x) %s\n",
            Pixels / Reference / 1e6, Reference, Ratio, Verdict(Ratio >= 5.0));
    }

    plat::TBitmap Squeezed;
    Squeezed.Assign(Picture.get());
    chart_plain::Contrast(Squeezed, -50, true);
    for (const TFamilyCase& Case : FamilyCases()) {
        MeasureAgainstPlain(Case.Squeezed ? Squeezed : *Picture, Case.Name, Case.Filter, Case.Plain, 1.0);
    }

    if (HavePixman) {
        CompareWithPixman(Pixman, *Picture, "invert", Ours<qel::TInvertFilter>(), PIXMAN_OP_DIFFERENCE, 0xFFFF,
            "DIFFERENCE with white", 1.0);
        CompareWithPixman(Pixman, *Picture, "brightness",
            Ours<qel::TBrightnessFilter>([](qel::TBrightnessFilter& F) {
                F.SetAmount(10);
                F.SetPercent(false);
            }),
            PIXMAN_OP_ADD, 0x0A0A, "ADD of grey 10", 1.0);
    }
    return 0;
}

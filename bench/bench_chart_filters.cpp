// The chart's bitmap filters on one thread, on the 4096 x 4096 24-bit test
// picture: each beside a plain loop written straight from the filter's
// description (outputs compared equal), and the mean blur beside pixman's
// 3 x 3 convolution filter on the same pixels as r8g8b8. Run by hand.
#include "chart_bench_support.h"

#include "widgets/chart/blur_filter.h"
#include "widgets/chart/kernel_filters.h"

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
    const double Mean = MeasureAgainstPlain(
        *Picture, "mean blur", [](plat::TBitmap& B) { qel::TBlurFilter(nullptr).Apply(B); },
        [&](plat::TBitmap& B) { PlainConvolution(B, Ones); }, 2.0);
    MeasureAgainstPlain(
        *Picture, "sharpen", [](plat::TBitmap& B) { qel::TSharpenFilter(nullptr).Apply(B); },
        [&](plat::TBitmap& B) { PlainConvolution(B, Sharpen); }, 1.0);

    if (HavePixman) {
        const double Reference = PixmanMeanSeconds(Pixman, *Picture);
        const double Pixels = static_cast<double>(PictureSide) * PictureSide;
        const double Ratio = Reference / Mean;
        std::printf("pixman 3x3 convolution %.1f MPixel/s (%.3f s); mean blur %.2fx pixman (target 5.0x) %s\n",
            Pixels / Reference / 1e6, Reference, Ratio, Verdict(Ratio >= 5.0));
    }
    return 0;
}

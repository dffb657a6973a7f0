// Tests of the 3 x 3 convolution filters: the mean and weighted paths
// against a plain pass, the worked values of blur, sharpen, emboss and
// soften, rectangles at the edges, 32-bit rows, the buffer and its life,
// the state a pass leaves, the zero-sum error, the editor and the display
// texts.
#include "chart_bitmap_fixture.h"
#include "chart_text_fixture.h"
#include "recording_form_creator.h"

#include "widgets/chart/blur_filter.h"
#include "widgets/chart/kernel_filters.h"

#include "platform/float_checks.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

namespace qel {
namespace {

using namespace test;

// One pass as the filter describes it: each inner pixel and colour byte
// from its nine neighbours before the pass, written to a copy first.
void PlainPass(plat::TBitmap& Bitmap, const std::array<float, 9>& W, const plat::TRect& R)
{
    const int Bytes = BytesPerPixel(Bitmap);
    const plat::TRect In{std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, Bitmap.Width() - 1),
        std::min(R.Bottom, Bitmap.Height() - 1)};
    plat::TBitmap Before;
    Before.Assign(&Bitmap);
    const bool Mean = std::all_of(W.begin(), W.end(), [](float V) { return V == 1.0f; });
    float Sum = 0;
    for (float V : W) {
        Sum = Sum + V;
    }
    const auto Factor = static_cast<float>(1.0 / Sum);
    for (int Y = In.Top + 1; Y < In.Bottom; ++Y) {
        for (int X = In.Left + 1; X < In.Right; ++X) {
            for (int C = 0; C < 3; ++C) {
                int Total = 0;
                float Acc = 0;
                for (int K = 0; K < 9; ++K) {
                    const int Byte = Before.ScanLine(Y - 1 + K / 3)[(X - 1 + K % 3) * Bytes + C];
                    Total += Byte;
                    Acc = K == 0 ? W[0] * static_cast<float>(Byte) : Acc + W[static_cast<std::size_t>(K)] * static_cast<float>(Byte);
                }
                const double Rounded = std::nearbyint(static_cast<double>(Acc * Factor));
                Bitmap.ScanLine(Y)[X * Bytes + C] =
                    static_cast<std::uint8_t>(Mean ? Total / 9 : std::clamp(Rounded, 0.0, 255.0));
            }
        }
    }
}

std::unique_ptr<plat::TBitmap> Noise(int Width, int Height, plat::TPixelFormat Format, std::mt19937& Random)
{
    return MakeBitmap(Width, Height, Format, [&](int, int) {
        return TPixelBytes{static_cast<std::uint8_t>(Random()), static_cast<std::uint8_t>(Random()),
            static_cast<std::uint8_t>(Random()), static_cast<std::uint8_t>(Random())};
    });
}

// A convolution filter whose buffer a test can make, see and free.
template <class TFilter>
class TBufferProbe : public TFilter {
public:
    TBufferProbe() : TFilter(nullptr) {}
    using TFilter::BufferBitmap;
    using TFilter::BufferFilter;
    using TFilter::CreateBuffer;
    using TFilter::FreeBuffer;
};

TEST(ConvolveFilter, PassesMatchThePlainPassOnNoiseAndRandomRectangles)
{
    const std::array<float, 9> Kernels[] = {
        {1, 1, 1, 1, 1, 1, 1, 1, 1},
        {1, 1, 1, 1, 3, 1, 1, 1, 1},
        {-0.125f, -0.125f, -0.125f, -0.125f, 2, -0.125f, -0.125f, -0.125f, -0.125f},
        {0, -1, 0, -1, 1, 1, 0, -1, 0},
        {0.3f, -2, 0.7f, 1.1f, 5, -0.9f, 0, 0.25f, 1},
    };
    std::mt19937 Random(3);
    for (const auto& Kernel : Kernels) {
        for (const bool Deep : {false, true}) {
            for (int Round = 0; Round < 6; ++Round) {
                const int Width = 3 + static_cast<int>(Random() % 20);
                const int Height = 3 + static_cast<int>(Random() % 12);
                const plat::TRect R{static_cast<int>(Random() % 8) - 3, static_cast<int>(Random() % 8) - 3,
                    static_cast<int>(Random() % 26), static_cast<int>(Random() % 16)};
                auto Bitmap = Noise(Width, Height, Deep ? plat::pf32bit : plat::pf24bit, Random);
                plat::TBitmap Expected;
                Expected.Assign(Bitmap.get());
                PlainPass(Expected, Kernel, R);
                TConvolveFilter Filter(nullptr);
                Filter.RGBA = Deep;
                Filter.Weights = Kernel;
                Filter.Apply(*Bitmap, R);
                ASSERT_EQ(PixelBytes(*Bitmap), PixelBytes(Expected))
                    << Width << "x" << Height << (Deep ? " 32-bit" : " 24-bit") << " rect " << R.Left << ","
                    << R.Top << "," << R.Right << "," << R.Bottom << " centre weight " << Kernel[4];
            }
        }
    }
}

TEST(ConvolveFilter, BlurWithDefaultsSetsTheCentreToTheMeanWithTheRemainderDropped)
{
    const std::uint8_t Nine[] = {255, 255, 255, 255, 255, 255, 255, 255, 254};   // 2,294
    auto Bitmap = MakeBitmap(3, 3, plat::pf24bit, [&](int X, int Y) {
        const std::uint8_t V = Nine[Y * 3 + X];
        return TPixelBytes{V, static_cast<std::uint8_t>(V - 9 * X), 0, 0};
    });
    const auto Before = PixelBytes(*Bitmap);
    TBlurFilter(nullptr).Apply(*Bitmap);
    EXPECT_EQ(PixelAt(*Bitmap, 1, 1), (TPixelBytes{254, 245, 0, 0}));
    auto After = PixelBytes(*Bitmap);
    After[12] = Before[12];
    After[13] = Before[13];
    EXPECT_EQ(After, Before) << "only the centre changes";
}

TEST(ConvolveFilter, BlurWithNoStepsOnlyConvertsTheBitmap)
{
    std::mt19937 Random(5);
    auto Bitmap = MakeBitmap(6, 5, plat::pfDevice, [&](int, int) {
        return TPixelBytes{static_cast<std::uint8_t>(Random()), static_cast<std::uint8_t>(Random()),
            static_cast<std::uint8_t>(Random()), 255};
    });
    const auto Before = PixelBytes(*Bitmap);
    TBlurFilter Blur(nullptr);
    Blur.SetSteps(0);
    Blur.Apply(*Bitmap);
    EXPECT_EQ(Bitmap->PixelFormat(), plat::pf32bit);
    EXPECT_EQ(PixelBytes(*Bitmap), Before);
}

TEST(ConvolveFilter, UniformAreasStayAsTheyAre)
{
    TBlurFilter Heavy(nullptr);
    Heavy.SetAmount(2);
    TSharpenFilter Sharpen(nullptr);
    TEmbossFilter Emboss(nullptr);
    TSoftenFilter Soften(nullptr);
    TChtFilter* Filters[] = {&Heavy, &Sharpen, &Emboss, &Soften};
    for (TChtFilter* Filter : Filters) {
        for (const std::uint8_t Value : {0, 77, 128, 255}) {
            auto Bitmap = UniformBitmap(7, 6, Value);
            Filter->Apply(*Bitmap);
            const auto Bytes = PixelBytes(*Bitmap);
            EXPECT_TRUE(std::all_of(Bytes.begin(), Bytes.end(), [Value](std::uint8_t B) { return B == Value; }))
                << Filter->ClassName() << " on " << int{Value};
        }
    }
}

TEST(ConvolveFilter, SharpenDoublesALonePixelAndLeavesItsNeighboursBlack)
{
    for (const int Value : {100, 200}) {
        auto Bitmap = MakeBitmap(5, 5, plat::pf24bit, [&](int X, int Y) {
            const auto V = static_cast<std::uint8_t>(X == 2 && Y == 2 ? Value : 0);
            return TPixelBytes{V, V, V, 0};
        });
        TSharpenFilter(nullptr).Apply(*Bitmap);
        for (int Y = 0; Y < 5; ++Y) {
            for (int X = 0; X < 5; ++X) {
                const int Expected = X == 2 && Y == 2 ? std::min(2 * Value, 255) : 0;
                EXPECT_EQ(PixelAt(*Bitmap, X, Y)[0], Expected) << Value << " at " << X << "," << Y;
            }
        }
    }
}

TEST(ConvolveFilter, SoftenIsTheRoundedMeanOfThePixelAndItsRightAndLowerNeighbours)
{
    struct TCase {
        int Centre, Right, Below, BelowRight, Expected;
    };
    const TCase Cases[] = {
        {1, 2, 2, 2, 2}, {1, 1, 1, 2, 1}, {0, 1, 0, 1, 0}, {1, 2, 1, 2, 2}, {255, 255, 255, 254, 255}, {9, 0, 0, 0, 2},
    };
    for (const TCase& Case : Cases) {
        auto Bitmap = MakeBitmap(3, 3, plat::pf24bit, [&](int X, int Y) {
            int V = 50;
            V = X == 1 && Y == 1 ? Case.Centre : X == 2 && Y == 1 ? Case.Right : V;
            V = X == 1 && Y == 2 ? Case.Below : X == 2 && Y == 2 ? Case.BelowRight : V;
            return TPixelBytes{static_cast<std::uint8_t>(V), 0, 0, 0};
        });
        TSoftenFilter(nullptr).Apply(*Bitmap);
        EXPECT_EQ(PixelAt(*Bitmap, 1, 1)[0], Case.Expected)
            << Case.Centre << " " << Case.Right << " " << Case.Below << " " << Case.BelowRight;
    }
}

TEST(ConvolveFilter, ARectangleBeyondTheLeftAndTopEdgesStartsAtZero)
{
    std::mt19937 Random(9);
    auto Bitmap = Noise(9, 8, plat::pf24bit, Random);
    plat::TBitmap Expected;
    Expected.Assign(Bitmap.get());
    TBlurFilter Blur(nullptr);
    Blur.Apply(Expected, {0, 0, 5, 6});
    Blur.Apply(*Bitmap, {-5, -5, 5, 6});
    EXPECT_EQ(PixelBytes(*Bitmap), PixelBytes(Expected));

    const auto Before = PixelBytes(*Bitmap);
    Blur.Apply(*Bitmap, {20, 20, 30, 30});
    Blur.Apply(*Bitmap, {2, 2, 3, 7});
    EXPECT_EQ(PixelBytes(*Bitmap), Before) << "nothing inside, or fewer than three columns";
}

TEST(ConvolveFilter, ThirtyTwoBitInnerPixelsKeepTheirOwnFourthByte)
{
    std::mt19937 Random(13);
    auto Bitmap = Noise(8, 7, plat::pf32bit, Random);
    const auto Before = PixelBytes(*Bitmap);
    TBlurFilter Blur(nullptr);
    Blur.SetSteps(3);
    Blur.Apply(*Bitmap);
    ASSERT_EQ(Bitmap->PixelFormat(), plat::pf32bit) << "a 32-bit bitmap blurs on 32-bit rows";
    const auto After = PixelBytes(*Bitmap);
    int Changed = 0;
    for (std::size_t K = 0; K < After.size(); ++K) {
        if (K % 4 == 3) {
            EXPECT_EQ(After[K], Before[K]) << "fourth byte of pixel " << K / 4;
        } else {
            Changed += After[K] != Before[K];
        }
    }
    EXPECT_GT(Changed, 50);
}

TEST(ConvolveFilter, WeightsSummingToZeroRaiseBeforeAnyPixelIsWritten)
{
    std::mt19937 Random(17);
    auto Bitmap = Noise(6, 6, plat::pf24bit, Random);
    const auto Before = PixelBytes(*Bitmap);
    TBufferProbe<TBlurFilter> Blur;
    Blur.SetAmount(-8);
    EXPECT_THROW(Blur.Apply(*Bitmap), plat::EZeroDivide);
    EXPECT_EQ(PixelBytes(*Bitmap), Before);
    EXPECT_EQ(Blur.BufferBitmap, nullptr) << "a failed pass still frees the buffer";
    EXPECT_EQ(Blur.BufferFilter, nullptr);
    EXPECT_TRUE(Blur.ReuseLines) << "the rows stay set until the next blur";

    // The next blur prepares the rows of its own bitmap again.
    auto Other = Noise(7, 5, plat::pf24bit, Random);
    plat::TBitmap Expected;
    Expected.Assign(Other.get());
    PlainPass(Expected, {1, 1, 1, 1, -7, 1, 1, 1, 1}, {0, 0, 6, 4});
    Blur.SetAmount(-7);
    EXPECT_NO_THROW(Blur.Apply(*Other));
    EXPECT_EQ(PixelBytes(*Other), PixelBytes(Expected));
    EXPECT_FALSE(Blur.ReuseLines);
}

TEST(ConvolveFilter, CreateBufferMakesABitmapOfTheFiltersPixelSizeWithItsRowTable)
{
    for (const bool Deep : {false, true}) {
        TBufferProbe<TConvolveFilter> Filter;
        Filter.RGBA = Deep;
        Filter.CreateBuffer(5, 4);
        ASSERT_NE(Filter.BufferBitmap, nullptr);
        ASSERT_NE(Filter.BufferFilter, nullptr);
        EXPECT_EQ(Filter.BufferBitmap->Width(), 5);
        EXPECT_EQ(Filter.BufferBitmap->Height(), 4);
        EXPECT_EQ(Filter.BufferBitmap->PixelFormat(), Deep ? plat::pf32bit : plat::pf24bit);
        EXPECT_EQ(Filter.BufferFilter->RGBA, Deep);
        EXPECT_EQ(Filter.BufferFilter->Collection(), nullptr);
        EXPECT_EQ(Deep ? Filter.BufferFilter->LinesRGBA.size() : Filter.BufferFilter->Lines.size(), 4u);
        EXPECT_EQ(Deep ? static_cast<void*>(Filter.BufferFilter->LinesRGBA[3])
                       : static_cast<void*>(Filter.BufferFilter->Lines[3]),
            static_cast<void*>(Filter.BufferBitmap->ScanLine(3)));
        Filter.FreeBuffer();
        EXPECT_EQ(Filter.BufferBitmap, nullptr);
        EXPECT_EQ(Filter.BufferFilter, nullptr);
    }
}

TEST(ConvolveFilter, WithKeepBufferAPassComputesIntoTheCallersBufferAndKeepsIt)
{
    const std::array<float, 9> Kernel = {0.3f, -2, 0.7f, 1.1f, 5, -0.9f, 0, 0.25f, 1};
    std::mt19937 Random(21);
    for (const bool Deep : {false, true}) {
        const plat::TRect R{1, 2, 7, 6};
        auto Bitmap = Noise(9, 8, Deep ? plat::pf32bit : plat::pf24bit, Random);
        plat::TBitmap Expected;
        Expected.Assign(Bitmap.get());
        PlainPass(Expected, Kernel, R);
        PlainPass(Expected, Kernel, R);
        TBufferProbe<TConvolveFilter> Filter;
        Filter.RGBA = Deep;
        Filter.Weights = Kernel;
        Filter.KeepBuffer = true;
        Filter.CreateBuffer(R.Right - R.Left, R.Bottom - R.Top);
        plat::TBitmap* Buffer = Filter.BufferBitmap.get();
        Filter.Apply(*Bitmap, R);
        ASSERT_EQ(Filter.BufferBitmap.get(), Buffer) << "the caller's buffer stays";
        for (int Y = 0; Y < Buffer->Height(); ++Y) {
            for (int X = 0; X < Buffer->Width(); ++X) {
                const TPixelBytes Pixel = PixelAt(*Buffer, X, Y);
                const bool Computed = X > 0 && Y > 0;
                const TPixelBytes Want = Computed ? PixelAt(*Bitmap, R.Left + X, R.Top + Y) : TPixelBytes{255, 255, 255};
                EXPECT_TRUE(std::equal(Want.begin(), Want.begin() + 3, Pixel.begin()))
                    << (Deep ? "32-bit" : "24-bit") << " buffer pixel " << X << "," << Y
                    << (Computed ? " holds the new pixel" : " is not written");
            }
        }
        Filter.Apply(*Bitmap, R);
        EXPECT_EQ(PixelBytes(*Bitmap), PixelBytes(Expected)) << "a second pass in the same buffer";
        EXPECT_EQ(Filter.BufferBitmap.get(), Buffer);
        Filter.FreeBuffer();
    }
}

// Runs a fixed kernel with RGBA and KeepBuffer preset on a 24-bit bitmap:
// the pass gives the plain pass's pixels in the pixel size RGBA selects,
// leaves both settings as they were and no buffer behind.
template <class TKernel>
void CheckKernelLeavesItsSettings(const std::array<float, 9>& Kernel)
{
    std::mt19937 Random(23);
    for (const bool Deep : {false, true}) {
        for (const bool Keep : {false, true}) {
            auto Bitmap = Noise(10, 7, plat::pf24bit, Random);
            plat::TBitmap Expected;
            Expected.Assign(Bitmap.get());
            Expected.SetPixelFormat(Deep ? plat::pf32bit : plat::pf24bit);
            PlainPass(Expected, Kernel, {0, 0, 9, 6});
            TBufferProbe<TKernel> Filter;
            Filter.RGBA = Deep;
            Filter.KeepBuffer = Keep;
            Filter.Apply(*Bitmap);
            const std::string Case = std::string(Filter.ClassName()) + (Deep ? " RGBA" : "") + (Keep ? " KeepBuffer" : "");
            EXPECT_EQ(Filter.RGBA, Deep) << Case;
            EXPECT_EQ(Filter.KeepBuffer, Keep) << Case;
            EXPECT_EQ(Filter.Weights, Kernel) << Case;
            EXPECT_EQ(Filter.BufferBitmap, nullptr) << Case;
            EXPECT_EQ(Filter.BufferFilter, nullptr) << Case;
            EXPECT_EQ(Bitmap->PixelFormat(), Expected.PixelFormat()) << Case;
            EXPECT_EQ(PixelBytes(*Bitmap), PixelBytes(Expected)) << Case;
        }
    }
}

TEST(ConvolveFilter, FixedKernelsLeaveRGBAAndKeepBufferAsTheyAreAndNoBuffer)
{
    constexpr float N = -0.125f;
    CheckKernelLeavesItsSettings<TSharpenFilter>({N, N, N, N, 2, N, N, N, N});
    CheckKernelLeavesItsSettings<TEmbossFilter>({0, -1, 0, -1, 1, 1, 0, -1, 0});
    CheckKernelLeavesItsSettings<TSoftenFilter>({0, 0, 0, 0, 1, 1, 0, 1, 1});
}

TEST(ConvolveFilter, ABufferThatCannotHoldThePassIsReplacedForIt)
{
    const std::array<float, 9> Kernel = {0, -1, 0, -1, 1, 1, 0, -1, 0};
    std::mt19937 Random(29);
    struct TCase {
        const char* Name;
        int Width, Height;
        bool Deep;
    };
    const TCase Cases[] = {{"too narrow", 4, 6, false}, {"too low", 8, 3, false}, {"of the other pixel size", 8, 6, true}};
    for (const TCase& Case : Cases) {
        auto Bitmap = Noise(9, 7, plat::pf24bit, Random);
        plat::TBitmap Expected;
        Expected.Assign(Bitmap.get());
        PlainPass(Expected, Kernel, {0, 0, 8, 6});
        TBufferProbe<TConvolveFilter> Filter;
        Filter.Weights = Kernel;
        Filter.KeepBuffer = true;
        Filter.RGBA = Case.Deep;
        Filter.CreateBuffer(Case.Width, Case.Height);
        Filter.RGBA = false;
        Filter.Apply(*Bitmap);
        EXPECT_EQ(PixelBytes(*Bitmap), PixelBytes(Expected)) << Case.Name;
    }
}

TEST(ConvolveFilter, BlurLeavesKeepBufferSetAndRGBAOfTheLastBitmap)
{
    struct TCase {
        plat::TPixelFormat Format;
        bool RGBA;
    };
    const TCase Cases[] = {{plat::pf32bit, true}, {plat::pf24bit, false}, {plat::pfDevice, true}, {plat::pf24bit, false}};
    TBufferProbe<TBlurFilter> Blur;
    std::mt19937 Random(31);
    for (const TCase& Case : Cases) {
        auto Bitmap = Noise(6, 5, Case.Format, Random);
        Blur.Apply(*Bitmap);
        EXPECT_EQ(Blur.RGBA, Case.RGBA) << "format " << Case.Format;
        EXPECT_TRUE(Blur.KeepBuffer);
        EXPECT_FALSE(Blur.ReuseLines);
        EXPECT_EQ(Blur.BufferBitmap, nullptr) << "the buffer lives only during the passes";
        EXPECT_EQ(Blur.BufferFilter, nullptr);
    }
}

TEST(ConvolveFilter, RectAndWeightsKeepTheValuesOfTheLastPass)
{
    struct TCase {
        plat::TRect R, Rect;
    };
    const TCase Cases[] = {
        {{-5, -5, 5, 6}, {0, 0, 5, 6}},
        {{2, 3, 20, 30}, {2, 3, 8, 7}},
        {{1, 1, 4, 4}, {1, 1, 4, 4}},
        {{-3, 2, 12, 2}, {0, 2, 8, 2}},
    };
    std::mt19937 Random(37);
    auto Bitmap = Noise(9, 8, plat::pf24bit, Random);
    for (const TCase& Case : Cases) {
        TBlurFilter Blur(nullptr);
        Blur.SetAmount(3);
        Blur.SetSteps(2);
        Blur.Apply(*Bitmap, Case.R);
        EXPECT_EQ(Blur.Rect, Case.Rect) << Case.R.Left << "," << Case.R.Top << "," << Case.R.Right << "," << Case.R.Bottom;
        EXPECT_EQ(Blur.Weights, (std::array<float, 9>{1, 1, 1, 1, 3, 1, 1, 1, 1}));
        TSoftenFilter Soften(nullptr);
        Soften.Apply(*Bitmap, Case.R);
        EXPECT_EQ(Soften.Rect, Case.Rect);
    }
}

TEST(ConvolveFilter, BlurOverARectangleOfTheWholeIntegerRangeBlursTheWholeBitmap)
{
    std::mt19937 Random(41);
    for (const plat::TPixelFormat Format : {plat::pf24bit, plat::pf32bit}) {
        auto Bitmap = Noise(8, 6, Format, Random);
        plat::TBitmap Expected;
        Expected.Assign(Bitmap.get());
        TBlurFilter Blur(nullptr);
        Blur.SetSteps(2);
        Blur.Apply(Expected);
        Blur.Apply(*Bitmap, {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
        EXPECT_EQ(PixelBytes(*Bitmap), PixelBytes(Expected)) << "format " << Format;
    }
}

TEST(ConvolveFilter, BlurAssignCopiesNoneOfItsOwnSettings)
{
    TBlurFilter Source(nullptr);
    Source.SetAmount(5);
    Source.SetSteps(4);
    Source.SetEnabled(false);
    TBlurFilter Target(nullptr);
    Target.Assign(&Source);
    EXPECT_EQ(Target.Amount(), 1);
    EXPECT_EQ(Target.Steps(), 1);
    EXPECT_FALSE(Target.Enabled());
}

TEST(ConvolveFilter, BlurEditorOffersStepsAndAmount)
{
    TBlurFilter Blur(nullptr);
    TRecordingFormCreator Editor;
    Blur.CreateEditor(Editor, nullptr);
    EXPECT_EQ(Editor.Calls, (std::vector<std::string>{"Scroll Steps 1..20", "Scroll Amount 0..50"}));
}

class ConvolveFilterTexts : public ChartTextTest {};

TEST_F(ConvolveFilterTexts, DescriptionsFollowTheChartLanguage)
{
    TBlurFilter Blur(nullptr);
    TSharpenFilter Sharpen(nullptr);
    TEmbossFilter Emboss(nullptr);
    TSoftenFilter Soften(nullptr);
    TConvolveFilter Plain(nullptr);
    EXPECT_EQ(Blur.Description(), "Blur");
    EXPECT_EQ(Sharpen.Description(), "Sharpen");
    EXPECT_EQ(Emboss.Description(), "Emboss");
    EXPECT_EQ(Soften.Description(), "Anti-Alias");
    EXPECT_EQ(Plain.Description(), "TConvolveFilter");
    ChartLanguageGerman();
    EXPECT_EQ(Blur.Description(), "Weichzeichnen");
    EXPECT_EQ(Sharpen.Description(), "Schärfen");
    EXPECT_EQ(Emboss.Description(), "Relief");
}

} // namespace
} // namespace qel

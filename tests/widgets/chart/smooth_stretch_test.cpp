// Tests of the smooth stretch: the contributor lists as exact integers, the
// mirror rule at the edges, clamping of the channel sums, sizes that leave
// Dest alone, and odd bitmap shapes end to end.
#include "chart_bitmap_fixture.h"

#include "widgets/chart/resample_contributors.h"
#include "widgets/chart/smooth_stretch.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace qel {
namespace {

using namespace test;
using TList = std::vector<TContributor>;

float AxisScale(int Source, int Target)
{
    return static_cast<float>(static_cast<double>(Target - 1) / static_cast<double>(Source - 1));
}

TList ListOf(int Source, int Target, const TResampleFilter& Filter, int Index)
{
    TContributorLists Lists;
    Lists.Build(Source, Target, AxisScale(Source, Target), Filter);
    const auto List = Lists.List(Index);
    return {List.begin(), List.end()};
}

TEST(ContributorLists, MatchTheWorkedExamples)
{
    struct TCase {
        const char* Name;
        int Source, Target, Index;
        const TResampleFilter* Filter;
        TList Expected;
    };
    const TCase Cases[] = {
        {"Lanczos 2 to 3, middle", 2, 3, 1, &Lanczos3Filter, {{1, -138}, {0, 623}, {1, 623}, {1, -138}}},
        {"Lanczos 2 to 3, first", 2, 3, 0, &Lanczos3Filter, {{0, 1024}}},
        {"Lanczos 2 to 3, last", 2, 3, 2, &Lanczos3Filter, {{1, 1024}}},
        {"triangle 2 to 3, middle", 2, 3, 1, &TriangleFilter, {{0, 512}, {1, 512}}},
        {"Lanczos 5 to 10, pixel 1", 5, 10, 1, &Lanczos3Filter, {{1, -147}, {0, 696}, {1, 546}, {2, -126}}},
        {"Lanczos 10 to 5, pixel 0", 10, 5, 0, &Lanczos3Filter,
            {{6, 6}, {5, 13}, {4, -27}, {3, -66}, {2, 48}, {1, 310}, {0, 455}, {1, 310}, {2, 48}, {3, -66},
                {4, -27}, {5, 13}, {6, 6}}},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(ListOf(Case.Source, Case.Target, *Case.Filter, Case.Index), Case.Expected) << Case.Name;
    }
    int Sum = 0;
    for (const TContributor& Entry : ListOf(2, 3, Lanczos3Filter, 1)) {
        Sum += Entry.Weight;
    }
    EXPECT_EQ(Sum, 970) << "the weights are used as computed, not normalised";
}

TEST(ContributorLists, TheSameSizeKeepsEveryPixelWithEitherFilter)
{
    for (const TResampleFilter* Filter : {&Lanczos3Filter, &TriangleFilter}) {
        TContributorLists Lists;
        Lists.Build(17, 17, 1.0f, *Filter);
        ASSERT_EQ(Lists.Count(), 17);
        for (int Index = 0; Index < 17; ++Index) {
            const auto List = Lists.List(Index);
            EXPECT_EQ(TList(List.begin(), List.end()), (TList{{Index, 1024}})) << "pixel " << Index;
        }
    }
}

TEST(ContributorLists, PositionsBeyondAnEdgeAreMirroredUntilInside)
{
    struct TCase {
        std::int64_t J;
        int Count;
        int Expected;
    };
    const TCase Cases[] = {
        {-1, 4, 1}, {4, 4, 3}, {5, 4, 2},   // one mirror: the left edge without pixel 0, the right with it
        {-5, 4, 2},                         // 5 lies beyond the right edge in turn
        {-8, 4, 1}, {8, 4, 1}, {11, 4, 3},  // twice and more
        {-3, 2, 0}, {3, 2, 0}, {0, 2, 0}, {1, 2, 1},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(MirrorIntoImage(Case.J, Case.Count), Case.Expected) << Case.J << " of " << Case.Count;
    }
    // Reductions to 2 and 3 pixels reach more than one image width past
    // the edges; every list still reads the image only.
    const int Reductions[][2] = {{4, 2}, {5, 3}, {9, 2}, {1000, 3}};
    for (const auto& Sizes : Reductions) {
        TContributorLists Lists;
        Lists.Build(Sizes[0], Sizes[1], AxisScale(Sizes[0], Sizes[1]), Lanczos3Filter);
        for (int Index = 0; Index < Lists.Count(); ++Index) {
            for (const TContributor& Entry : Lists.List(Index)) {
                EXPECT_TRUE(Entry.Pixel >= 0 && Entry.Pixel < Sizes[0])
                    << Sizes[0] << " to " << Sizes[1] << ", list " << Index << " reads " << Entry.Pixel;
            }
        }
    }
    // 4 to 2, target 0: positions -8 .. 8 (3 .. 6 and their mirror images
    // weigh 0 at the lobes' zeros); -8 and 8 land on pixel 1, -7 and 7 on 0.
    EXPECT_EQ(ListOf(4, 2, Lanczos3Filter, 0),
        (TList{{1, 4}, {0, 11}, {2, -32}, {3, -50}, {2, 130}, {1, 277}, {0, 341}, {1, 277}, {2, 130}, {3, -50},
            {2, -32}, {0, 11}, {1, 4}}));
}

// One row of bytes stretched with the column count unchanged (height 2 to 2).
std::vector<std::uint8_t> StretchRow(const std::vector<std::uint8_t>& Grey, int TargetWidth, bool Fast)
{
    const int Width = static_cast<int>(Grey.size());
    auto Source = MakeBitmap(Width, 2, plat::pf24bit, [&](int X, int) {
        const std::uint8_t V = Grey[static_cast<std::size_t>(X)];
        return TPixelBytes{V, V, V, 0};
    });
    plat::TBitmap Dest(TargetWidth, 2, plat::pf24bit);
    SmoothStretch(Source.get(), &Dest, Fast);
    std::vector<std::uint8_t> Row;
    for (int X = 0; X < TargetWidth; ++X) {
        Row.push_back(PixelAt(Dest, X, 1)[0]);
    }
    return Row;
}

TEST(SmoothStretch, ChannelSumsAreShiftedAndClamped)
{
    // 2 to 3 Lanczos, middle: (623 a + 347 b) >> 10.
    EXPECT_EQ(StretchRow({0, 255}, 3, false), (std::vector<std::uint8_t>{0, 86, 255}));
    EXPECT_EQ(StretchRow({255, 0}, 3, false), (std::vector<std::uint8_t>{255, 155, 0}));
    EXPECT_EQ(StretchRow({0, 255}, 3, true), (std::vector<std::uint8_t>{0, 127, 255}));
    // 5 to 10 Lanczos, pixel 1: 696 p0 + 399 p1 - 126 p2.
    EXPECT_EQ(StretchRow({255, 255, 0, 0, 0}, 10, false)[1], 255) << "279225 lies above 261120";
    EXPECT_EQ(StretchRow({0, 0, 255, 255, 255}, 10, false)[1], 0) << "-32130 lies below 0";
}

TEST(SmoothStretch, TheSameSizeCopiesEveryPixelAndConvertsTo24Bits)
{
    std::mt19937 Random(7);
    for (const bool Fast : {false, true}) {
        auto Source = MakeBitmap(9, 6, plat::pf32bit, [&](int, int) {
            return TPixelBytes{static_cast<std::uint8_t>(Random()), static_cast<std::uint8_t>(Random()),
                static_cast<std::uint8_t>(Random()), 0};
        });
        plat::TBitmap Copy;
        Copy.Assign(Source.get());
        Copy.SetPixelFormat(plat::pf24bit);
        plat::TBitmap Dest(9, 6, plat::pf32bit);
        SmoothStretch(Source.get(), &Dest, Fast);
        EXPECT_EQ(Source->PixelFormat(), plat::pf24bit);
        EXPECT_EQ(Dest.PixelFormat(), plat::pf24bit);
        EXPECT_EQ(PixelBytes(Dest), PixelBytes(Copy)) << (Fast ? "triangle" : "Lanczos");
    }
}

TEST(SmoothStretch, EnlargingKeepsTheCornersOnTheSourceCorners)
{
    auto Source = MakeBitmap(4, 3, plat::pf24bit, [](int X, int Y) {
        return TPixelBytes{static_cast<std::uint8_t>(40 * X + 10 * Y), static_cast<std::uint8_t>(200 - 30 * Y),
            static_cast<std::uint8_t>(X * Y * 20), 0};
    });
    for (const bool Fast : {false, true}) {
        plat::TBitmap Dest(11, 7, plat::pf24bit);
        SmoothStretch(Source.get(), &Dest, Fast);
        EXPECT_EQ(PixelAt(Dest, 0, 0), PixelAt(*Source, 0, 0));
        EXPECT_EQ(PixelAt(Dest, 10, 0), PixelAt(*Source, 3, 0));
        EXPECT_EQ(PixelAt(Dest, 0, 6), PixelAt(*Source, 0, 2));
        EXPECT_EQ(PixelAt(Dest, 10, 6), PixelAt(*Source, 3, 2));
    }
}

// Source and Dest sizes of a stretch.
struct TSizes {
    int SourceWidth, SourceHeight, DestWidth, DestHeight;
};

std::ostream& operator<<(std::ostream& Out, const TSizes& Sizes)
{
    return Out << Sizes.SourceWidth << "x" << Sizes.SourceHeight << " to " << Sizes.DestWidth << "x"
               << Sizes.DestHeight;
}

TEST(SmoothStretch, ASideOfOnePixelOrNoBitmapLeavesDestAlone)
{
    const TSizes Cases[] = {{1, 5, 4, 4}, {5, 1, 4, 4}, {5, 5, 1, 4}, {5, 5, 4, 1}, {1, 1, 4, 4}, {5, 5, 0, 0}};
    for (const TSizes& Case : Cases) {
        auto Source = UniformBitmap(Case.SourceWidth, Case.SourceHeight, 10);
        auto Dest = UniformBitmap(Case.DestWidth, Case.DestHeight, 99, plat::pf32bit);
        const auto Before = PixelBytes(*Dest);
        SmoothStretch(Source.get(), Dest.get());
        EXPECT_EQ(PixelBytes(*Dest), Before) << Case;
        EXPECT_EQ(Dest->PixelFormat(), plat::pf32bit);
    }
    plat::TBitmap Dest(4, 4);
    SmoothStretch(nullptr, &Dest);
    SmoothStretch(&Dest, nullptr);
}

// The stretch as the two passes read when written out plainly: every
// target pixel and channel on its own, the vertical pass column by column.
std::vector<std::uint8_t> PlainStretch(plat::TBitmap& Source, int DW, int DH, bool Fast)
{
    const int SW = Source.Width();
    const int SH = Source.Height();
    const TResampleFilter& Filter = Fast ? TriangleFilter : Lanczos3Filter;
    const auto ToByte = [](int Sum) { return static_cast<std::uint8_t>(Sum > 261120 ? 255 : Sum < 0 ? 0 : Sum >> 10); };
    const std::vector<std::uint8_t> Pixels = PixelBytes(Source);
    TContributorLists Lists;
    Lists.Build(SW, DW, AxisScale(SW, DW), Filter);
    std::vector<std::uint8_t> Middle(static_cast<std::size_t>(DW) * SH * 3);
    for (int Y = 0; Y < SH; ++Y) {
        for (int X = 0; X < DW; ++X) {
            for (int C = 0; C < 3; ++C) {
                int Sum = 0;
                for (const TContributor& Entry : Lists.List(X)) {
                    Sum += Entry.Weight * Pixels[(static_cast<std::size_t>(Y) * SW + Entry.Pixel) * 3 + C];
                }
                Middle[(static_cast<std::size_t>(Y) * DW + X) * 3 + C] = ToByte(Sum);
            }
        }
    }
    Lists.Build(SH, DH, AxisScale(SH, DH), Filter);
    std::vector<std::uint8_t> Out(static_cast<std::size_t>(DW) * DH * 3);
    for (int X = 0; X < DW; ++X) {
        for (int Y = 0; Y < DH; ++Y) {
            for (int C = 0; C < 3; ++C) {
                int Sum = 0;
                for (const TContributor& Entry : Lists.List(Y)) {
                    Sum += Entry.Weight * Middle[(static_cast<std::size_t>(Entry.Pixel) * DW + X) * 3 + C];
                }
                Out[(static_cast<std::size_t>(Y) * DW + X) * 3 + C] = ToByte(Sum);
            }
        }
    }
    return Out;
}

TEST(SmoothStretch, ThinTinyAndLargeShapesMatchThePlainPasses)
{
    const TSizes Cases[] = {
        {2, 2, 2, 2}, {2, 2, 7, 5}, {3, 1000, 2, 2}, {3, 1000, 60, 3}, {2, 1000, 3, 997},
        {1000, 3, 3, 1000}, {4, 4, 2, 2}, {5, 5, 3, 3}, {2, 5, 2, 40}, {37, 23, 61, 14},
    };
    std::mt19937 Random(11);
    for (const TSizes& Case : Cases) {
        for (const bool Fast : {false, true}) {
            // Noise with sharp edges: the lobes overshoot and get clamped.
            auto Source = MakeBitmap(Case.SourceWidth, Case.SourceHeight, plat::pf24bit, [&](int X, int Y) {
                const auto Edge = static_cast<std::uint8_t>((X / 3 + Y / 2) % 2 * 255);
                return TPixelBytes{Edge, static_cast<std::uint8_t>(Random()), static_cast<std::uint8_t>(255 - Edge), 0};
            });
            const auto Expected = PlainStretch(*Source, Case.DestWidth, Case.DestHeight, Fast);
            plat::TBitmap Dest(Case.DestWidth, Case.DestHeight, plat::pf24bit);
            SmoothStretch(Source.get(), &Dest, Fast);
            EXPECT_EQ(PixelBytes(Dest), Expected) << Case << (Fast ? " triangle" : " Lanczos");
        }
    }
}

} // namespace
} // namespace qel

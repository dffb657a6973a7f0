// Tests of the filter framework: the rectangle of an Apply and how it is
// brought into the bitmap, regions, enabling with its change event,
// assignment, the filter list and the class registry.
#include "chart_bitmap_fixture.h"
#include "recording_form_creator.h"

#include "widgets/chart/blur_filter.h"
#include "widgets/chart/filter_class_registry.h"
#include "widgets/chart/filter_items.h"

#include "platform/objects/class_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qel {
namespace {

// Records what the framework hands a filter, and marks the bitmap so that
// the order of several filters shows.
class TFrameworkProbe : public TChtFilter {
    PLAT_CLASS(TFrameworkProbe, TChtFilter)
public:
    using TChtFilter::TChtFilter;
    using TChtFilter::Apply;

    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override
    {
        TChtFilter::Apply(Bitmap, R);
        Given = R;
        Inside = Rect;
        if (!LinesEmpty()) {
            Seen = Lines[0][0].Blue;
            Lines[0][0].Blue = static_cast<std::uint8_t>(Seen * 10 + Mark);
        }
    }

    plat::TRect Given{-1, -1, -1, -1};
    plat::TRect Inside{-1, -1, -1, -1};
    int Mark = 1;
    int Seen = -1;
};

PLAT_DEFINE_CLASS(TFrameworkProbe, TChtFilter)

plat::TRect RectOfApply(int Width, int Height, const plat::TRect* Region)
{
    TFrameworkProbe Probe(nullptr);
    if (Region != nullptr) {
        Probe.Region()->SetRectangle(*Region);
    }
    plat::TBitmap Bitmap(Width, Height, plat::pf24bit);
    Probe.Apply(Bitmap);
    return Probe.Given;
}

TEST(ChartFilter, RectangleOfApplyFollowsTheRegion)
{
    struct TCase {
        const char* Name;
        int Width, Height;
        bool HasRegion;
        plat::TRect Region;   // Left, Top, Left + Width, Top + Height
        plat::TRect Expected;
    };
    const TCase Cases[] = {
        {"no region", 100, 50, false, {}, {0, 0, 99, 49}},
        {"region 2, 3, 4, 5", 100, 100, true, {2, 3, 6, 8}, {2, 3, 6, 8}},
        {"empty region", 100, 100, true, {0, 0, 0, 0}, {0, 0, 99, 99}},
        {"width 200", 100, 100, true, {10, 0, 210, 5}, {10, 0, 99, 5}},
        {"no width or height at 30, 40", 100, 100, true, {30, 40, 30, 40}, {30, 40, 99, 99}},
        {"no width beyond the bitmap", 100, 100, true, {150, 0, 150, 0}, {150, 0, 150, 99}},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(RectOfApply(Case.Width, Case.Height, Case.HasRegion ? &Case.Region : nullptr), Case.Expected)
            << Case.Name;
    }
}

TEST(ChartFilter, EveryRectangleIsBroughtIntoTheBitmap)
{
    struct TCase {
        plat::TRect R;
        plat::TRect Inside;
    };
    const TCase Cases[] = {
        {{2, 3, 6, 8}, {2, 3, 6, 8}},
        {{-5, -5, 5, 5}, {0, 0, 5, 5}},
        {{-5, -5, 500, 500}, {0, 0, 99, 49}},
        {{150, 0, 150, 99}, {150, 0, 99, 49}},   // nothing inside: Left beyond Right
        {{-30, -30, -10, -10}, {0, 0, -10, -10}},
    };
    for (const TCase& Case : Cases) {
        TFrameworkProbe Probe(nullptr);
        plat::TBitmap Bitmap(100, 50, plat::pf32bit);
        Probe.Apply(Bitmap, Case.R);
        EXPECT_EQ(Probe.Inside, Case.Inside);
        EXPECT_EQ(Bitmap.PixelFormat(), plat::pf24bit) << "preparing the rows converts the bitmap";
    }
    TFrameworkProbe Probe(nullptr);
    plat::TBitmap Empty;
    Probe.Apply(Empty);
    EXPECT_EQ(Probe.Seen, -1) << "a bitmap without rows has nothing to filter";
}

TEST(ChartFilter, ApplyToFiltersTheWholeBitmapWithADefaultFilter)
{
    plat::TBitmap Bitmap(5, 5, plat::pf24bit);
    auto Blurred = test::MakeBitmap(5, 5, plat::pf24bit, [](int X, int Y) {
        return test::TPixelBytes{static_cast<std::uint8_t>(X * 50), static_cast<std::uint8_t>(Y * 50), 7, 0};
    });
    plat::TBitmap Expected;
    Expected.Assign(Blurred.get());
    TBlurFilter(nullptr).Apply(Expected);
    TChtFilter::ApplyTo(TBlurFilter::StaticClass(), *Blurred);
    EXPECT_EQ(test::PixelBytes(*Blurred), test::PixelBytes(Expected));
    EXPECT_THROW(TChtFilter::ApplyTo(TFilterRegion::StaticClass(), Bitmap), plat::EInvalidCast);
}

TEST(ChartFilter, OnlyARealChangeOfEnabledFiresTheEditorsEvent)
{
    TFrameworkProbe Filter(nullptr);
    TRecordingFormCreator Editor;
    int Events = 0;
    plat::TObject* Sender = nullptr;
    Filter.CreateEditor(Editor, [&](plat::TObject* From) {
        ++Events;
        Sender = From;
    });
    EXPECT_TRUE(Editor.Calls.empty()) << "the base adds no controls";
    Filter.SetEnabled(true);
    EXPECT_EQ(Events, 0);
    Filter.SetEnabled(false);
    EXPECT_EQ(Events, 1);
    EXPECT_EQ(Sender, &Filter);
    Filter.SetEnabled(false);
    EXPECT_EQ(Events, 1);
    Filter.SetEnabled(true);
    EXPECT_EQ(Events, 2);
}

TEST(ChartFilter, AssignCopiesEnabledAndRegionAndLeavesBothWithARegion)
{
    TFrameworkProbe Source(nullptr);
    Source.SetEnabled(false);
    TFrameworkProbe Target(nullptr);
    Target.Assign(&Source);
    EXPECT_FALSE(Target.Enabled());
    EXPECT_EQ(Target.Region()->Rectangle(), (plat::TRect{0, 0, 0, 0}));

    Source.Region()->SetRectangle({1, 2, 11, 22});
    Target.Assign(&Source);
    EXPECT_EQ(Target.Region()->Rectangle(), (plat::TRect{1, 2, 11, 22}));
    Source.Region()->SetLeft(5);
    EXPECT_EQ(Target.Region()->Left(), 1) << "the region is copied, not shared";

    Target.SetRegion(nullptr);
    plat::TBitmap Bitmap(20, 30, plat::pf24bit);
    Target.Apply(Bitmap);
    EXPECT_EQ(Target.Given, (plat::TRect{0, 0, 19, 29})) << "a freed region filters the whole bitmap";

    TFilterRegion Region;
    EXPECT_THROW(Target.Assign(&Region), plat::EAssignError);
    EXPECT_THROW(Region.Assign(&Target), plat::EAssignError);
}

TEST(ChartFilter, RegionRectangleReadsAndWritesCornerAndSides)
{
    TFilterRegion Region;
    Region.SetRectangle({3, 4, 10, 6});
    EXPECT_EQ(Region.Left(), 3);
    EXPECT_EQ(Region.Top(), 4);
    EXPECT_EQ(Region.Width(), 7);
    EXPECT_EQ(Region.Height(), 2);
    EXPECT_EQ(Region.Rectangle(), (plat::TRect{3, 4, 10, 6}));
}

TEST(FilterItems, FiltersRunInIndexOrderOnEachOthersResultSkippingDisabledOnes)
{
    TFilterItems Items(nullptr);
    std::vector<TFrameworkProbe*> Probes;
    for (int Mark = 1; Mark <= 4; ++Mark) {
        Probes.push_back(static_cast<TFrameworkProbe*>(Items.Add(TFrameworkProbe::StaticClass())));
        Probes.back()->Mark = Mark;
    }
    Probes[2]->SetEnabled(false);
    Probes[3]->SetIndex(0);   // order now 4, 1, 2, (3 off)
    auto Bitmap = test::UniformBitmap(2, 2, 0);
    Items.ApplyTo(*Bitmap);
    EXPECT_EQ(Probes[3]->Seen, 0);
    EXPECT_EQ(Probes[0]->Seen, 4);
    EXPECT_EQ(Probes[1]->Seen, 41);
    EXPECT_EQ(Probes[2]->Seen, -1);
    EXPECT_EQ(test::PixelAt(*Bitmap, 0, 0)[0], 412 % 256);
}

TEST(FilterItems, AddingAndRemovingNotifiesAndMarksTheListChanged)
{
    TFilterItems Items(nullptr);
    int Changes = 0;
    Items.OnChange = [&](plat::TObject* Sender) {
        EXPECT_EQ(Sender, &Items);
        ++Changes;
    };
    EXPECT_FALSE(Items.Changed);
    TChtFilter* Blur = Items.Add(TBlurFilter::StaticClass());
    EXPECT_EQ(Changes, 1);
    EXPECT_TRUE(Items.Changed);
    EXPECT_EQ(Items.Item(0), Blur);
    delete Blur;
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(Items.Count(), 0);
    EXPECT_THROW(Items.Add(TFilterRegion::StaticClass()), plat::EInvalidCast);
}

TEST(FilterItems, AssignMakesFiltersOfTheSourceClassesWithTheirSettings)
{
    TFilterItems Source(nullptr);
    auto* Blur = static_cast<TBlurFilter*>(Source.Add(TBlurFilter::StaticClass()));
    Blur->SetEnabled(false);
    Blur->Region()->SetRectangle({1, 1, 5, 5});
    Source.Add(TFrameworkProbe::StaticClass());

    TFilterItems Target(nullptr);
    Target.Add(TFrameworkProbe::StaticClass());
    Target.Assign(&Source);
    ASSERT_EQ(Target.Count(), 2);
    EXPECT_STREQ(std::string(Target.Item(0)->ClassName()).c_str(), "TBlurFilter");
    EXPECT_STREQ(std::string(Target.Item(1)->ClassName()).c_str(), "TFrameworkProbe");
    EXPECT_FALSE(Target.Item(0)->Enabled());
    EXPECT_EQ(Target.Item(0)->Region()->Rectangle(), (plat::TRect{1, 1, 5, 5}));

    Target.Assign(&Target);
    EXPECT_EQ(Target.Count(), 2) << "a list assigned to itself keeps its filters";
    TFilterRegion Region;
    EXPECT_THROW(Target.Assign(&Region), plat::EAssignError);
}

TEST(FilterClassRegistry, ANameRegisteredTwiceCountsOnce)
{
    RegisterFilterClasses({TFrameworkProbe::StaticClass(), TBlurFilter::StaticClass()});
    ASSERT_NE(FilterClassNames, nullptr);
    const int Count = FilterClassNames->Count();
    RegisterFilterClasses({TBlurFilter::StaticClass(), TFrameworkProbe::StaticClass(), TBlurFilter::StaticClass()});
    EXPECT_EQ(FilterClassNames->Count(), Count);
    EXPECT_GE(FilterClassNames->IndexOf("tblurfilter"), 0) << "names compare without case";
    EXPECT_EQ(plat::FindClass("TFrameworkProbe", TChtFilter::StaticClass()), TFrameworkProbe::StaticClass());
}

} // namespace
} // namespace qel

// Tests of the chart picture: the filtered image it hands out, angle and
// assignment, and the stored form of its filter list.
#include "chart_bitmap_fixture.h"
#include "picture_holder.h"

#include "widgets/chart/blur_filter.h"
#include "widgets/chart/filter_class_registry.h"
#include "widgets/chart/kernel_filters.h"

#include "platform/objects/class_registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace qel {
namespace {

using test::TPictureHolder;

std::unique_ptr<plat::TBitmap> Ramp()
{
    return test::MakeBitmap(6, 5, plat::pf24bit, [](int X, int Y) {
        return test::TPixelBytes{static_cast<std::uint8_t>(40 * X), static_cast<std::uint8_t>(50 * Y), 90, 0};
    });
}

TEST(ChtPicture, FilteredIsTheGraphicItselfUntilAnAngleOrAFilterAsksForTheWorkingCopy)
{
    TChtPicture Picture;
    EXPECT_EQ(Picture.Filtered(), nullptr);
    auto Source = Ramp();
    Picture.SetGraphic(Source.get());
    EXPECT_EQ(Picture.Filtered(), Picture.Graphic());
    Picture.Filters();
    EXPECT_EQ(Picture.Filtered(), Picture.Graphic()) << "an empty list runs nothing";

    Picture.SetAngle(0.5f);
    plat::TGraphic* Working = Picture.Filtered();
    ASSERT_NE(Working, Picture.Graphic());
    auto* Copy = dynamic_cast<plat::TBitmap*>(Working);
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(test::PixelBytes(*Copy), test::PixelBytes(*Source));
    EXPECT_EQ(Picture.Filtered(), Working) << "the working bitmap is made once";

    TChtPicture Empty;
    Empty.SetAngle(1);
    auto* NoGraphic = dynamic_cast<plat::TBitmap*>(Empty.Filtered());
    ASSERT_NE(NoGraphic, nullptr);
    EXPECT_TRUE(NoGraphic->Empty());
}

TEST(ChtPicture, FiltersChangeTheWorkingCopyOnly)
{
    TChtPicture Picture;
    auto Source = Ramp();
    Picture.SetGraphic(Source.get());
    Picture.Filters()->Add(TBlurFilter::StaticClass());
    auto* Working = dynamic_cast<plat::TBitmap*>(Picture.Filtered());
    ASSERT_NE(Working, nullptr);
    ASSERT_NE(Working, Picture.Graphic());

    plat::TBitmap Expected;
    Expected.Assign(Source.get());
    TChtFilter::ApplyTo(TBlurFilter::StaticClass(), Expected);
    EXPECT_EQ(test::PixelBytes(*Working), test::PixelBytes(Expected));
    EXPECT_EQ(test::PixelBytes(*static_cast<plat::TBitmap*>(Picture.Graphic())), test::PixelBytes(*Source));

    Picture.Filters()->Item(0)->SetEnabled(false);
    EXPECT_EQ(test::PixelBytes(*static_cast<plat::TBitmap*>(Picture.Filtered())), test::PixelBytes(*Source))
        << "each Filtered starts again from the graphic";
}

TEST(ChtPicture, AnIconIsDrawnIntoTheWorkingCopyAtItsSize)
{
    plat::TIcon Icon;
    Icon.SetSize(4, 3);
    for (int Y = 0; Y < 3; ++Y) {
        std::uint8_t* Row = Icon.Image()->ScanLine(Y);
        for (int X = 0; X < 4; ++X) {
            Row[4 * X] = static_cast<std::uint8_t>(60 * X);
            Row[4 * X + 1] = static_cast<std::uint8_t>(100 * Y);
            Row[4 * X + 2] = 33;
            Row[4 * X + 3] = 255;
        }
    }
    TChtPicture Picture;
    Picture.SetGraphic(&Icon);
    Picture.SetAngle(2);
    auto* Working = dynamic_cast<plat::TBitmap*>(Picture.Filtered());
    ASSERT_NE(Working, nullptr);
    ASSERT_EQ(Working->Width(), 4);
    ASSERT_EQ(Working->Height(), 3);
    EXPECT_EQ(test::PixelAt(*Working, 3, 2), (test::TPixelBytes{180, 200, 33, test::PixelAt(*Working, 3, 2)[3]}));
    EXPECT_EQ(test::PixelAt(*Working, 0, 1)[1], 100);
}

TEST(ChtPicture, AngleChangesRepaintAndAssignCopiesGraphicAndFiltersButNotTheAngle)
{
    TChtPicture Source;
    int Repaints = 0;
    Source.OnChange = [&](plat::TObject*) { ++Repaints; };
    Source.SetAngle(30);
    Source.SetAngle(30);
    EXPECT_EQ(Repaints, 1);
    auto Graphic = Ramp();
    Source.SetGraphic(Graphic.get());
    auto* Blur = static_cast<TBlurFilter*>(Source.Filters()->Add(TBlurFilter::StaticClass()));
    Blur->SetSteps(4);
    Blur->SetEnabled(false);

    TChtPicture Target;
    Target.Assign(&Source);
    EXPECT_EQ(Target.Angle(), 0);
    ASSERT_TRUE(Target.Valid());
    ASSERT_EQ(Target.Filters()->Count(), 1);
    auto* Copy = dynamic_cast<TBlurFilter*>(Target.Filters()->Item(0));
    ASSERT_NE(Copy, nullptr);
    EXPECT_FALSE(Copy->Enabled());
    EXPECT_EQ(Copy->Steps(), 1) << "a blur filter's assignment copies none of its own settings";

    TChtPicture NoList;
    Target.Assign(&NoList);
    EXPECT_FALSE(Target.Valid());
    Target.SetAngle(1);
    EXPECT_NE(Target.Filtered(), nullptr);
    EXPECT_EQ(Target.Filters()->Count(), 0) << "a source without a list frees this picture's";
}

std::string Str(const std::string& Name)
{
    return std::string(1, static_cast<char>(Name.size())) + Name;
}

class StoredFilterList : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterFilterClasses({TBlurFilter::StaticClass(), TSoftenFilter::StaticClass()});
        auto* Blur = static_cast<TBlurFilter*>(Holder.Picture()->Filters()->Add(TBlurFilter::StaticClass()));
        Blur->SetAmount(5);
        Blur->SetSteps(3);
        Blur->Region()->SetRectangle({2, 3, 12, 13});
        Holder.Picture()->Filters()->Add(TSoftenFilter::StaticClass())->SetEnabled(false);
    }

    TPictureHolder Holder{nullptr};
};

void ExpectTheTwoFilters(TFilterItems& Filters)
{
    ASSERT_EQ(Filters.Count(), 2);
    auto* Blur = dynamic_cast<TBlurFilter*>(Filters.Item(0));
    ASSERT_NE(Blur, nullptr);
    EXPECT_EQ(Blur->Amount(), 5);
    EXPECT_EQ(Blur->Steps(), 3);
    EXPECT_TRUE(Blur->Enabled());
    EXPECT_EQ(Blur->Region()->Rectangle(), (plat::TRect{2, 3, 12, 13}));
    auto* Soften = dynamic_cast<TSoftenFilter*>(Filters.Item(1));
    ASSERT_NE(Soften, nullptr);
    EXPECT_FALSE(Soften->Enabled());
}

TEST_F(StoredFilterList, ReadsBackTheSameClassesOrderAndProperties)
{
    Holder.Picture()->SetAngle(12.5f);
    const std::string Bytes = test::WriteHolder(Holder);
    EXPECT_NE(Bytes.find(Str("Picture.FilterItems") + "\x0e\x01" + Str("ItemClass") + "\x07"), std::string::npos);
    EXPECT_NE(Bytes.find(Str("Amount") + std::string("\x02\x05", 2)), std::string::npos);

    TPictureHolder Read(nullptr);
    Read.Picture()->Filters()->Add(TBlurFilter::StaticClass());   // replaced by the stream's
    test::ReadHolder(Bytes, Read);
    ExpectTheTwoFilters(*Read.Picture()->Filters());
    EXPECT_EQ(Read.Picture()->Angle(), 12.5f);
    EXPECT_EQ(Read.Picture()->Filters()->UpdateCount(), 0);
}

TEST_F(StoredFilterList, SkipsIntegerIndexesBeforeItems)
{
    std::string Bytes = test::WriteHolder(Holder);
    const std::string ItemStart = std::string("\x01") + Str("ItemClass");
    const std::string Indexes[] = {std::string("\x02\x00", 2), std::string("\x03\x01\x00", 3)};
    std::size_t At = 0;
    for (const std::string& Index : Indexes) {
        At = Bytes.find(ItemStart, At);
        ASSERT_NE(At, std::string::npos);
        Bytes.insert(At, Index);
        At += Index.size() + ItemStart.size();
    }
    TPictureHolder Read(nullptr);
    test::ReadHolder(Bytes, Read);
    ExpectTheTwoFilters(*Read.Picture()->Filters());
}

TEST_F(StoredFilterList, APictureWithoutFiltersWritesNoList)
{
    TPictureHolder Plain(nullptr);
    EXPECT_EQ(test::WriteHolder(Plain).find(Str("Picture.FilterItems")), std::string::npos);
    Plain.Picture()->Filters();
    EXPECT_EQ(test::WriteHolder(Plain).find(Str("Picture.FilterItems")), std::string::npos);
}

TEST_F(StoredFilterList, AClassThatIsNoRegisteredFilterEndsTheReadAndKeepsTheFiltersBefore)
{
    plat::RegisterClass(TFilterRegion::StaticClass());
    for (const char* Name : {"TBlurFiltex", "TFilterRegion"}) {
        SCOPED_TRACE(Name);
        std::string Bytes = test::WriteHolder(Holder);
        const std::string Soften = "TSoftenFilter";
        const std::size_t At = Bytes.find(Soften);
        ASSERT_NE(At, std::string::npos);
        Bytes.replace(At - 4, 4 + Soften.size(), std::string(1, static_cast<char>(std::strlen(Name))) +
            std::string(3, '\0') + Name);
        TPictureHolder Read(nullptr);
        EXPECT_THROW(test::ReadHolder(Bytes, Read), plat::EClassNotFound);
        TFilterItems& Filters = *Read.Picture()->Filters();
        EXPECT_EQ(Filters.UpdateCount(), 0);
        ASSERT_EQ(Filters.Count(), 1);
        EXPECT_EQ(static_cast<TBlurFilter*>(Filters.Item(0))->Steps(), 3);
    }
}

} // namespace
} // namespace qel

// Tests of the filter family as a whole: the set-up that registers the 25
// classes and installs the gradient rotation, a stored list of every class
// with its settings, assignment, each class's editor controls with the
// amount scroll bar's ranges, gallery presets and the display texts in
// English and German.
#include "chart_bitmap_fixture.h"
#include "chart_text_fixture.h"
#include "recording_form_creator.h"
#include "stored_filter_list.h"

#include "widgets/chart/area_filters.h"
#include "widgets/chart/blur_filter.h"
#include "widgets/chart/chart_filters_unit.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/color_filters.h"
#include "widgets/chart/filter_class_registry.h"
#include "widgets/chart/flip_filters.h"
#include "widgets/chart/hls_filters.h"
#include "widgets/chart/kernel_filters.h"
#include "widgets/chart/resize_filters.h"
#include "widgets/chart/rotate_filter.h"

#include "platform/objects/class_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qel {
namespace {

// The family in the order the set-up registers it.
std::vector<TFilterClass> Family()
{
    return {TInvertFilter::StaticClass(), TGrayScaleFilter::StaticClass(), TMosaicFilter::StaticClass(),
        TFlipFilter::StaticClass(), TReverseFilter::StaticClass(), TBrightnessFilter::StaticClass(),
        TContrastFilter::StaticClass(), TColorFilter::StaticClass(), TColorReplaceFilter::StaticClass(),
        THueLumSatFilter::StaticClass(), TBlurFilter::StaticClass(), TSharpenFilter::StaticClass(),
        TGammaCorrectionFilter::StaticClass(), TEmbossFilter::StaticClass(), TSoftenFilter::StaticClass(),
        TCropFilter::StaticClass(), TResizeFilter::StaticClass(), TRotateFilter::StaticClass(),
        TMirrorFilter::StaticClass(), TTileFilter::StaticClass(), TBevelFilter::StaticClass(),
        TEqualizeFilter::StaticClass(), TZoomFilter::StaticClass(), TSobelFilter::StaticClass(),
        TSepiaFilter::StaticClass()};
}

std::unique_ptr<TChtFilter> Make(TFilterClass Class)
{
    return std::unique_ptr<TChtFilter>(Class->CreateAs<TChtFilter>(nullptr));
}

TEST(ChartFiltersUnit, SetUpRegistersTheFamilyAndInstallsTheGradientRotation)
{
    FinalizeChartFilters();
    EXPECT_EQ(FilterClassNames, nullptr);
    EXPECT_EQ(GradientRotateHook, nullptr);

    InitChartFilters();
    ASSERT_NE(FilterClassNames, nullptr);
    std::vector<std::string> Expected;
    for (TFilterClass Class : Family()) {
        Expected.emplace_back(Class->ClassName());
        EXPECT_EQ(plat::FindClass(Class->ClassName(), TChtFilter::StaticClass()), Class);
    }
    std::vector<std::string> Names;
    for (int Index = 0; Index < FilterClassNames->Count(); ++Index) {
        Names.push_back(FilterClassNames->Strings(Index));
    }
    EXPECT_EQ(Names, Expected);
    EXPECT_EQ(GradientRotateHook, &GradientRotate);

    InitChartFilters();
    EXPECT_EQ(FilterClassNames->Count(), 25) << "registering again adds nothing";

    FinalizeChartFilters();
    EXPECT_EQ(FilterClassNames, nullptr);
    EXPECT_EQ(GradientRotateHook, nullptr);
    InitChartFilters();
}

// Sets every stored property a filter class adds to a value off its
// default, through the class's published properties.
void SetOffDefaults(TChtFilter& Filter, int Seed)
{
    for (const plat::TPropInfo* Property : Filter.ClassType()->Properties()) {
        if (Property->Name() == "Enabled" || Property->Name() == "Region") {
            continue;
        }
        switch (Property->Kind()) {
        case plat::TPropertyKind::Float:
            Property->SetFloat(Filter, Property->GetFloat(Filter) + 12.5 + Seed);
            break;
        case plat::TPropertyKind::Boolean:
            Property->SetOrdinal(Filter, Property->GetOrdinal(Filter) == 0 ? 1 : 0);
            break;
        case plat::TPropertyKind::Enumeration:
            Property->SetOrdinal(Filter, Property->GetOrdinal(Filter) == 0 ? Property->MaxValue() : 0);
            break;
        default:
            Property->SetOrdinal(Filter, Property->GetOrdinal(Filter) == 7 + Seed ? 9 + Seed : 7 + Seed);
            break;
        }
        ASSERT_FALSE(Property->IsDefault(Filter)) << Filter.ClassName() << "." << Property->Name();
    }
}

// Every class of the family once with its own settings off their
// defaults; the blur, whose assignment copies none of its own, keeps its.
class FamilyList : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitChartFilters();
        int Seed = 0;
        for (TFilterClass Class : Family()) {
            TChtFilter* Filter = Source.Add(Class);
            if (Class != TBlurFilter::StaticClass()) {
                SetOffDefaults(*Filter, Seed++ % 3);
            }
            Filter->SetEnabled(Seed % 2 == 0);
            if (Seed % 4 == 1) {
                Filter->Region()->SetRectangle({Seed, 2, Seed + 10, 12});
            }
        }
    }

    TFilterItems Source{nullptr};
};

TEST_F(FamilyList, AStoredListOfEveryClassReadsBackTheSame)
{
    const std::string Bytes = test::StoredFilterList(Source);
    for (TFilterClass Class : Family()) {
        EXPECT_NE(Bytes.find(Class->ClassName()), std::string::npos) << Class->ClassName();
    }
    TFilterItems Read(nullptr);
    test::ReadFilterList(Bytes, Read);
    ASSERT_EQ(Read.Count(), 25);
    for (int Index = 0; Index < 25; ++Index) {
        EXPECT_EQ(Read.Item(Index)->ClassType(), Source.Item(Index)->ClassType());
    }
    EXPECT_EQ(test::StoredFilterList(Read), Bytes);
    auto* Rotate = dynamic_cast<TRotateFilter*>(Read.Item(17));
    ASSERT_NE(Rotate, nullptr);
    EXPECT_EQ(Rotate->Angle(), static_cast<TRotateFilter*>(Source.Item(17))->Angle());
    EXPECT_NE(Rotate->Angle(), 0);
}

TEST_F(FamilyList, AssignCopiesEachClassesSettings)
{
    TFilterItems Target(nullptr);
    Target.Assign(&Source);
    EXPECT_EQ(test::StoredFilterList(Target), test::StoredFilterList(Source));

    for (TFilterClass Class : Family()) {
        const auto Filter = Make(Class);
        plat::TPersistent Other;
        EXPECT_THROW(Filter->Assign(&Other), plat::EAssignError) << Class->ClassName();
    }
}

TEST(FilterFamily, DefaultsAreThoseOfTheFamilyTable)
{
    TMosaicFilter Mosaic(nullptr);
    TGammaCorrectionFilter Gamma(nullptr);
    TBrightnessFilter Brightness(nullptr);
    TZoomFilter Zoom(nullptr);
    TRotateFilter Rotate(nullptr);
    TColorReplaceFilter Replace(nullptr);
    TTileFilter Tile(nullptr);
    TBevelFilter Bevel(nullptr);
    EXPECT_EQ(Mosaic.Amount(), 8);
    EXPECT_EQ(Gamma.Amount(), 70);
    EXPECT_TRUE(Gamma.Percent());
    EXPECT_EQ(Brightness.Amount(), 5);
    EXPECT_EQ(Zoom.Percent(), 10);
    EXPECT_TRUE(Rotate.AutoSize());
    EXPECT_EQ(Rotate.BackColor(), clWhite);
    EXPECT_EQ(Replace.Color(), clWhite);
    EXPECT_EQ(Replace.Method(), cmHue);
    EXPECT_EQ(Tile.NumCols(), 3);
    EXPECT_EQ(Bevel.Bright(), 64);
    EXPECT_EQ(Bevel.Size(), 15);

}

TEST(FilterFamily, EveryValueReadsBackAsItWasStored)
{
    InitChartFilters();
    // Values that construction gives are left out and any other is
    // written, so that a mosaic of 5 and a zoom of 0 % read back as they were.
    TFilterItems Items(nullptr);
    Items.Add(TMosaicFilter::StaticClass());
    Items.Add(TGammaCorrectionFilter::StaticClass());
    Items.Add(TZoomFilter::StaticClass());
    EXPECT_EQ(test::StoredFilterList(Items).find("Amount"), std::string::npos);
    EXPECT_EQ(test::StoredFilterList(Items).find("Percent"), std::string::npos);

    static_cast<TMosaicFilter*>(Items.Item(0))->SetAmount(5);
    static_cast<TGammaCorrectionFilter*>(Items.Item(1))->SetAmount(5);
    static_cast<TZoomFilter*>(Items.Item(2))->SetPercent(0);
    TFilterItems Read(nullptr);
    test::ReadFilterList(test::StoredFilterList(Items), Read);
    ASSERT_EQ(Read.Count(), 3);
    EXPECT_EQ(static_cast<TMosaicFilter*>(Read.Item(0))->Amount(), 5);
    EXPECT_EQ(static_cast<TGammaCorrectionFilter*>(Read.Item(1))->Amount(), 5);
    EXPECT_EQ(static_cast<TZoomFilter*>(Read.Item(2))->Percent(), 0);
}

TEST(FilterFamily, PreviewPresetsAreSetForTheGallery)
{
    TResizeFilter Resize(nullptr);
    TCropFilter Crop(nullptr);
    TBrightnessFilter Brightness(nullptr);
    TContrastFilter Contrast(nullptr);
    TRotateFilter Rotate(nullptr);
    TZoomFilter Zoom(nullptr);
    TMosaicFilter Mosaic(nullptr);
    for (TChtFilter* Filter : std::initializer_list<TChtFilter*>{&Resize, &Crop, &Brightness, &Contrast, &Rotate, &Zoom, &Mosaic}) {
        Filter->PrepareForGallery();
    }
    EXPECT_EQ(Resize.Width(), 50);
    EXPECT_EQ(Resize.Height(), 50);
    EXPECT_EQ(Crop.Width(), 50) << "the crop filter is a resize filter";
    EXPECT_EQ(Brightness.Amount(), 30);
    EXPECT_EQ(Contrast.Amount(), 60);
    EXPECT_EQ(Rotate.Angle(), 45);
    EXPECT_EQ(Zoom.Percent(), 60);
    EXPECT_EQ(Mosaic.Amount(), 8);
}

using FilterFamilyTexts = ChartTextTest;

TEST_F(FilterFamilyTexts, EachClassDescribesItsEditor)
{
    const std::vector<std::string> Amount100 = {"Scroll Amount -100..100", "CheckBox Percent \"Percent\" with event"};
    const std::vector<std::string> None;
    struct TCase {
        TFilterClass Class;
        std::vector<std::string> Calls;
    };
    const std::vector<std::string> Sizes = {"Integer Width \"Width\" 0..10000", "Integer Height \"Height\" 0..10000"};
    const TCase Cases[] = {
        {TResizeFilter::StaticClass(), Sizes},
        {TCropFilter::StaticClass(), {Sizes[0], Sizes[1], "Integer Left \"Left\" 0..10000", "Integer Top \"Top\" 0..10000",
            "CheckBox Smooth \"Smooth\""}},
        {TInvertFilter::StaticClass(), None},
        {TGrayScaleFilter::StaticClass(), {"Combo Method"}},
        {TMosaicFilter::StaticClass(), {"Scroll Amount 0..255", "CheckBox Percent \"Percent\" with event"}},
        {TFlipFilter::StaticClass(), None},
        {TReverseFilter::StaticClass(), None},
        {TBrightnessFilter::StaticClass(), Amount100},
        {TContrastFilter::StaticClass(), Amount100},
        {TColorFilter::StaticClass(), {"Scroll Red -255..255", "Scroll Green -255..255", "Scroll Blue -255..255"}},
        {TColorReplaceFilter::StaticClass(),
            {"Combo Method", "Scroll FromValue 0..255", "Scroll ToValue 0..255", "Color Color \"Color\""}},
        {THueLumSatFilter::StaticClass(),
            {"Scroll Hue -255..255", "Scroll Luminance -255..255", "Scroll Saturation -255..255"}},
        {TSharpenFilter::StaticClass(), None},
        {TGammaCorrectionFilter::StaticClass(), {"Scroll Amount 0..100", "CheckBox Percent \"Percent\" with event"}},
        {TRotateFilter::StaticClass(),
            {"Scroll Angle 0..360", "Color BackColor \"Back\"", "CheckBox AutoSize \"Autosize\""}},
        {TMirrorFilter::StaticClass(), {"Combo Direction"}},
        {TTileFilter::StaticClass(), {"Integer NumCols \"Columns\" 1..1000", "Integer NumRows \"Rows\" 1..1000"}},
        {TBevelFilter::StaticClass(), {"Scroll Bright 1..255", "Scroll Size 1..1000"}},
        {TEqualizeFilter::StaticClass(), None},
        {TZoomFilter::StaticClass(), {"Scroll Percent 0..100", "CheckBox Smooth \"Smooth\""}},
        {TSobelFilter::StaticClass(), None},
        {TSepiaFilter::StaticClass(), None},
    };
    for (const TCase& Case : Cases) {
        TRecordingFormCreator Editor;
        Make(Case.Class)->CreateEditor(Editor, {});
        EXPECT_EQ(Editor.Calls, Case.Calls) << Case.Class->ClassName();
    }
}

TEST(FilterFamily, ThePercentBoxReRangesTheAmountScrollBar)
{
    struct TCase {
        TFilterClass Class;
        bool Percent;
        int Min, Max;           // when the editor is made
        int MinAfter, MaxAfter; // after Percent flips and the box reports it
    };
    const TCase Cases[] = {
        {TBrightnessFilter::StaticClass(), true, -100, 100, -255, 255},
        {TContrastFilter::StaticClass(), false, -255, 255, -100, 100},
        {TMosaicFilter::StaticClass(), false, 0, 255, 0, 100},
        {TGammaCorrectionFilter::StaticClass(), true, 0, 100, 0, 255},
    };
    for (const TCase& Case : Cases) {
        auto Filter = Make(Case.Class);
        auto& Amount = static_cast<TAmountFilter&>(*Filter);
        Amount.SetPercent(Case.Percent);
        TRecordingFormCreator Editor;
        Filter->CreateEditor(Editor, {});
        ASSERT_EQ(Editor.ScrollBars.size(), 1u);
        TScrollBar& Bar = *Editor.ScrollBars[0];
        EXPECT_EQ(Bar.Min(), Case.Min) << Case.Class->ClassName();
        EXPECT_EQ(Bar.Max(), Case.Max);
        Amount.SetPercent(!Case.Percent);
        Editor.CheckBoxEvents[0](nullptr);
        EXPECT_EQ(Bar.Min(), Case.MinAfter) << Case.Class->ClassName();
        EXPECT_EQ(Bar.Max(), Case.MaxAfter);
    }
}

// An editor form whose scroll bars are controls of another kind.
class TForeignScrollForm : public TRecordingFormCreator {
public:
    plat::TObject* AddScroll(const std::string&, int, int) override { return &Foreign; }
    TFilterRegion Foreign;
};

TEST(FilterFamily, AnAmountEditorRefusesAControlThatIsNoScrollBar)
{
    TForeignScrollForm Editor;
    TBrightnessFilter Filter(nullptr);
    EXPECT_THROW(Filter.CreateEditor(Editor, {}), plat::EInvalidCast);
}

TEST_F(FilterFamilyTexts, DescriptionsFollowTheChartLanguage)
{
    struct TCase {
        TFilterClass Class;
        const char* English;
        const char* German;
    };
    const TCase Cases[] = {
        {TResizeFilter::StaticClass(), "Resize", "Größe ändern"},
        {TCropFilter::StaticClass(), "Crop", "Zuschneiden"},
        {TInvertFilter::StaticClass(), "Invert", "Invertieren"},
        {TGrayScaleFilter::StaticClass(), "Gray scale", "Graustufen"},
        {TMosaicFilter::StaticClass(), "Mosaic", "Mosaik"},
        {TFlipFilter::StaticClass(), "Flip", "Kippen"},
        {TReverseFilter::StaticClass(), "Reverse", "Spiegeln"},
        {TAmountFilter::StaticClass(), "TAmountFilter", "TAmountFilter"},
        {TBrightnessFilter::StaticClass(), "Brightness", "Helligkeit"},
        {TContrastFilter::StaticClass(), "Contrast", "Kontrast"},
        {TColorFilter::StaticClass(), "Color", "Farbe"},
        {TColorReplaceFilter::StaticClass(), "Color Replacer", "Farbersetzung"},
        {THueLumSatFilter::StaticClass(), "Hue,Lum,Sat", "Farbton,Hell.,Sätt."},
        {TGammaCorrectionFilter::StaticClass(), "Gamma correction", "Gammakorrektur"},
        {TRotateFilter::StaticClass(), "Rotate", "Drehen"},
        {TMirrorFilter::StaticClass(), "Mirror", "Spiegel"},
        {TTileFilter::StaticClass(), "Tile", "Kacheln"},
        {TBevelFilter::StaticClass(), "Bevel", "Abschrägung"},
        {TEqualizeFilter::StaticClass(), "Equalize", "Angleichen"},
        {TZoomFilter::StaticClass(), "Zoom", "Zoom"},
        {TSobelFilter::StaticClass(), "Sobel", "Sobel"},
        {TSepiaFilter::StaticClass(), "Sepia", "Sepia"},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(Make(Case.Class)->Description(), Case.English);
    }
    ChartLanguageGerman();
    for (const TCase& Case : Cases) {
        EXPECT_EQ(Make(Case.Class)->Description(), Case.German);
    }
    TRecordingFormCreator Editor;
    TRotateFilter(nullptr).CreateEditor(Editor, {});
    EXPECT_EQ(Editor.Calls[1], "Color BackColor \"Hintergrund\"") << "editor texts follow too";
}

} // namespace
} // namespace qel

// Tests of the gradient settings: defaults, the start, middle and end
// colours kept in the stops, adding stops, the second gradient, stored
// rules with a stream round trip, assignment and change notifications.
#include "component_stream.h"

#include "widgets/chart/chart_gradient.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qel {
namespace {

// A component that holds a gradient as a brush does.
class TGradientHolder : public plat::TComponent {
    PLAT_CLASS(TGradientHolder, plat::TComponent)
public:
    using plat::TComponent::TComponent;

    TChtGradient* Gradient() const { return &FGradient; }
    void SetGradient(TChtGradient* Value) { FGradient.Assign(Value); }

private:
    mutable TChtGradient FGradient;
};

PLAT_DEFINE_CLASS(TGradientHolder, plat::TComponent,
    plat::Published("Gradient", &TGradientHolder::Gradient, &TGradientHolder::SetGradient))

// A gradient that counts its change notifications.
struct TCountedGradient {
    TCountedGradient() { Gradient.SetChanged([this](plat::TObject*) { ++Notifications; }); }

    // The notifications Change caused.
    int NotificationsOf(const std::function<void(TChtGradient&)>& Change)
    {
        const int Before = Notifications;
        Change(Gradient);
        return Notifications - Before;
    }

    TChtGradient Gradient;
    int Notifications = 0;
};

std::vector<double> Offsets(const TCustomChtGradient& Gradient)
{
    std::vector<double> All;
    for (int Index = 0; Index < Gradient.Colors()->Count(); ++Index) {
        All.push_back(Gradient.Colors()->Get(Index)->Offset());
    }
    return All;
}

bool IsStored(const TCustomChtGradient& Gradient, const char* Property)
{
    return Gradient.ClassType()->FindProperty(Property)->IsStored(Gradient);
}

TEST(ChtGradient, ANewGradientAnswersItsDefaultsAndMakesTwoStopsOnFirstRead)
{
    TCountedGradient Counted;
    TChtGradient& Gradient = Counted.Gradient;
    EXPECT_EQ(Gradient.StartColor(), clWhite);
    EXPECT_EQ(Gradient.EndColor(), clYellow);
    EXPECT_EQ(Gradient.MidColor(), clNone);
    EXPECT_FALSE(Gradient.Visible());
    EXPECT_EQ(Gradient.Direction(), gdTopBottom);
    EXPECT_EQ(Gradient.Balance(), 50);
    EXPECT_FALSE(IsStored(Gradient, "Colors")) << "no list yet";

    ASSERT_EQ(Gradient.Colors()->Count(), 2);
    EXPECT_EQ(Offsets(Gradient), (std::vector<double>{0, 1}));
    EXPECT_EQ(Gradient.Colors()->Get(0)->Color(), clWhite);
    EXPECT_EQ(Gradient.Colors()->Get(1)->Color(), clYellow);
    EXPECT_EQ(Gradient.MidColor(), clNone);
    EXPECT_EQ(Counted.Notifications, 0) << "neither construction nor the first read notifies";
}

TEST(ChtGradient, MidColorInsertsAndRemovesTheMiddleStop)
{
    TCountedGradient Counted;
    TChtGradient& Gradient = Counted.Gradient;
    EXPECT_EQ(Counted.NotificationsOf([](TChtGradient& G) { G.SetMidColor(clRed); }), 1);
    EXPECT_EQ(Offsets(Gradient), (std::vector<double>{0, 0.5, 1}));
    EXPECT_EQ(Gradient.MidColor(), clRed);
    EXPECT_EQ(Counted.NotificationsOf([](TChtGradient& G) { G.SetMidColor(clRed); }), 0);
    EXPECT_EQ(Counted.NotificationsOf([](TChtGradient& G) { G.SetMidColor(clBlue); }), 1);

    EXPECT_EQ(Counted.NotificationsOf([](TChtGradient& G) { G.SetMidColor(clNone); }), 1);
    EXPECT_EQ(Offsets(Gradient), (std::vector<double>{0, 1}));
    EXPECT_EQ(Gradient.MidColor(), clNone);
    EXPECT_EQ(Counted.NotificationsOf([](TChtGradient& G) { G.SetMidColor(clNone); }), 0);

    EXPECT_EQ(Counted.NotificationsOf([](TChtGradient& G) { G.UseMiddleColor(); }), 1);
    EXPECT_EQ(Gradient.MidColor(), clBlue) << "the last middle colour set comes back";
    EXPECT_EQ(Gradient.StartColor(), clWhite);
    EXPECT_EQ(Gradient.EndColor(), clYellow);

    TChtGradient Black;
    Black.SetMidColor(clBlack);
    EXPECT_EQ(Black.MidColor(), clBlack) << "an inserted stop takes the colour even when it is the stop's default";
}

TEST(ChtGradient, AddPlacesAStopAfterEveryStopAtOrBeforeItsOffset)
{
    struct TCase {
        double Offset;
        int Index;
        double Stored;
    };
    const TCase Cases[] = {{1.5, 2, 1}, {1, 2, 1}, {0.5, 1, 0.5}, {0, 1, 0}, {-3, 1, 0}, {0.999, 1, 0.999}};
    for (const TCase& Case : Cases) {
        TChtGradient Gradient;
        TChtGradientColor* Added = Gradient.Colors()->Add(Case.Offset, clRed, 20);
        EXPECT_EQ(Added->Index(), Case.Index) << Case.Offset;
        EXPECT_EQ(Added->Offset(), Case.Stored) << Case.Offset;
        EXPECT_EQ(Added->Color(), clRed);
        EXPECT_EQ(Added->Transparency(), 20);
    }
}

TEST(ChtGradient, GetAndPutBeyondTheEndGrowTheList)
{
    TCountedGradient Counted;
    TChtGradientColors& Stops = *Counted.Gradient.Colors();
    TChtGradientColor Source(nullptr);
    Source.SetColor(clAqua);
    Source.SetOffset(0.25);
    EXPECT_EQ(Counted.NotificationsOf([&](TChtGradient&) { Stops.Put(4, &Source); }), 2)
        << "the growth, then the stop's assignment";
    ASSERT_EQ(Stops.Count(), 5);
    EXPECT_EQ(Stops.Get(3)->Color(), 0);
    EXPECT_EQ(Stops.Get(4)->Color(), clAqua);
    EXPECT_EQ(Stops.Get(4)->Offset(), 0.25);
}

TEST(ChtGradient, EndColorSetsTheFirstStopTooWhenStartIsEnd)
{
    TChtGradient Gradient;
    Gradient.SetEndColor(clBlue);
    EXPECT_EQ(Gradient.StartColor(), clWhite);
    Gradient.SetStartIsEnd(true);
    Gradient.SetEndColor(clRed);
    EXPECT_EQ(Gradient.StartColor(), clRed);
    EXPECT_EQ(Gradient.EndColor(), clRed);

    TChtGradient Emptied;
    Emptied.Colors()->Clear();
    EXPECT_EQ(Emptied.StartColor(), clNone);
    EXPECT_EQ(Emptied.EndColor(), clNone);
    Emptied.SetEndColor(clLime);
    EXPECT_EQ(Emptied.Colors()->Count(), 1) << "an empty list grows to one stop";
    EXPECT_EQ(Emptied.StartColor(), clLime);
}

TEST(ChtGradient, EveryEffectiveChangeNotifiesOnce)
{
    struct TCase {
        const char* Name;
        std::function<void(TChtGradient&)> Change;
        int Expected;
    };
    const TCase Cases[] = {
        {"Visible", [](TChtGradient& G) { G.SetVisible(true); }, 1},
        {"Visible unchanged", [](TChtGradient& G) { G.SetVisible(false); }, 0},
        {"Angle", [](TChtGradient& G) { G.SetAngle(30); }, 1},
        {"Balance unchanged", [](TChtGradient& G) { G.SetBalance(50); }, 0},
        {"Direction", [](TChtGradient& G) { G.SetDirection(gdRadial); }, 1},
        {"RadialX", [](TChtGradient& G) { G.SetRadialX(-4); }, 1},
        {"RadialY", [](TChtGradient& G) { G.SetRadialY(7); }, 1},
        {"StartColor", [](TChtGradient& G) { G.SetStartColor(clRed); }, 1},
        {"StartColor unchanged", [](TChtGradient& G) { G.SetStartColor(clWhite); }, 0},
        {"EndColor", [](TChtGradient& G) { G.SetEndColor(clRed); }, 1},
        {"a stop's colour", [](TChtGradient& G) { G.Colors()->Get(1)->SetColor(clRed); }, 1},
        {"a stop added", [](TChtGradient& G) { G.Colors()->Add(0.3, clRed, 0); }, 1},
        {"ResetColors", [](TChtGradient& G) { G.ResetColors(); }, 0},
        {"a second gradient's colour", [](TChtGradient& G) { G.SubGradient()->SetStartColor(clRed); }, 1},
        {"a second gradient's transparency", [](TChtGradient& G) { G.SubGradient()->SetTransparency(70); }, 1},
        {"Colors freed", [](TChtGradient& G) { G.Colors(); G.SetColors(nullptr); }, 1},
        {"Assign", [](TChtGradient& G) { TChtGradient Other; Other.SetMidColor(clRed); Other.SubGradient(); G.Assign(&Other); }, 1},
        {"Assign without stop lists",
            [](TChtGradient& G) { TChtGradient Other; Other.SetVisible(true); Other.SetAngle(10); G.Assign(&Other); }, 0},
        {"Assign with the second gradient's stops only",
            [](TChtGradient& G) { TChtGradient Other; Other.SubGradient()->SetEndColor(clRed); G.Assign(&Other); }, 1},
    };
    for (const TCase& Case : Cases) {
        TCountedGradient Counted;
        EXPECT_EQ(Counted.NotificationsOf(Case.Change), Case.Expected) << Case.Name;
    }
}

TEST(ChtGradient, TheSecondGradientIsMadeOnReadAndCopiedWithItsTransparency)
{
    TChtGradient Gradient;
    EXPECT_FALSE(Gradient.HasSubGradient());
    EXPECT_EQ(Gradient.SubGradient()->Transparency(), 50);
    EXPECT_TRUE(Gradient.HasSubGradient());

    TSubGradient Source;
    Source.SetTransparency(80);
    Source.SetDirection(gdLeftRight);
    Source.SetEndColor(clGreen);
    Gradient.SetSubGradient(&Source);
    EXPECT_EQ(Gradient.SubGradient()->Transparency(), 80);
    EXPECT_EQ(Gradient.SubGradient()->Direction(), gdLeftRight);
    EXPECT_EQ(Gradient.SubGradient()->EndColor(), clGreen);
    Gradient.SetSubGradient(nullptr);
    EXPECT_FALSE(Gradient.HasSubGradient());
}

TEST(ChtGradient, AssignCopiesTheSettingsAndFreesWhatTheSourceLacks)
{
    TChtGradient Source;
    Source.SetAngle(45);
    Source.SetBalance(30);
    Source.SetDirection(gdFromCenter);
    Source.SetRadialX(3);
    Source.SetRadialY(-2);
    Source.SetVisible(true);
    Source.SetStartIsEnd(true);
    Source.SetMidColor(clRed);
    Source.SubGradient()->SetTransparency(10);

    TChtGradient Target;
    Target.Assign(&Source);
    EXPECT_EQ(Target.Angle(), 45);
    EXPECT_EQ(Target.Balance(), 30);
    EXPECT_EQ(Target.Direction(), gdFromCenter);
    EXPECT_EQ(Target.RadialX(), 3);
    EXPECT_EQ(Target.RadialY(), -2);
    EXPECT_TRUE(Target.Visible());
    EXPECT_TRUE(Target.StartIsEnd());
    EXPECT_EQ(Target.MidColor(), clRed);
    ASSERT_TRUE(Target.HasSubGradient());
    EXPECT_EQ(Target.SubGradient()->Transparency(), 10);
    Source.Colors()->Get(1)->SetColor(clBlue);
    EXPECT_EQ(Target.MidColor(), clRed) << "the stops are copied, not shared";

    TChtGradient Plain;
    Target.Assign(&Plain);
    EXPECT_FALSE(Target.HasSubGradient());
    EXPECT_FALSE(IsStored(Target, "Colors"));
    EXPECT_EQ(Target.MidColor(), clNone) << "without a list the defaults answer";
    EXPECT_FALSE(Target.Visible());

    Target.Assign(&Target);
    plat::TPersistent Other;
    EXPECT_THROW(Target.Assign(&Other), plat::EAssignError);
}

TEST(ChtGradient, StopsInTheStandardLayoutAreNotStored)
{
    struct TCase {
        const char* Name;
        std::function<void(TChtGradient&)> Set;
        bool Stored;
    };
    const TCase Cases[] = {
        {"two ends", [](TChtGradient& G) { G.Colors(); }, false},
        {"0, 0.5, 1", [](TChtGradient& G) { G.SetMidColor(clRed); }, false},
        {"middle at 0.4", [](TChtGradient& G) { G.SetMidColor(clRed); G.Colors()->Get(1)->SetOffset(0.4); }, true},
        {"a transparent end", [](TChtGradient& G) { G.Colors()->Get(1)->SetTransparency(5); }, true},
        {"one stop", [](TChtGradient& G) { G.Colors()->Delete(1); }, true},
        {"four stops", [](TChtGradient& G) { G.SetMidColor(clRed); G.Colors()->Add(0.7, clRed, 0); }, true},
    };
    for (const TCase& Case : Cases) {
        TChtGradient Gradient;
        Case.Set(Gradient);
        EXPECT_EQ(IsStored(Gradient, "Colors"), Case.Stored) << Case.Name;
    }
    TChtGradient Gradient;
    EXPECT_FALSE(IsStored(Gradient, "StartColor"));
    Gradient.Colors();
    EXPECT_FALSE(IsStored(Gradient, "StartColor")) << "a list of default colours";
    Gradient.SetStartColor(clRed);
    EXPECT_TRUE(IsStored(Gradient, "StartColor"));
    EXPECT_FALSE(IsStored(Gradient, "Direction"));
    Gradient.IDefDirection = gdRadial;
    EXPECT_TRUE(IsStored(Gradient, "Direction")) << "the default an owner gave decides";
}

TEST(ChtGradient, AStoredGradientReadsBackTheSame)
{
    TGradientHolder Holder(nullptr);
    TChtGradient& Source = *Holder.Gradient();
    Source.SetVisible(true);
    Source.SetDirection(gdDiagonalUp);
    Source.SetAngle(-20);
    Source.SetBalance(70);
    Source.SetRadialX(5);
    Source.SetStartColor(clRed);
    Source.SetMidColor(clLime);
    Source.SetEndColor(clNavy);
    Source.SubGradient()->SetTransparency(25);
    Source.SubGradient()->SetStartColor(clPurple);
    const std::string Standard = test::WriteHolder(Holder);
    EXPECT_EQ(Standard.find("Gradient.Colors"), std::string::npos) << "the colours travel as three properties";
    Source.Colors()->Get(1)->SetOffset(0.4);
    Source.Colors()->Add(0.9, clTeal, 60);
    const std::string Custom = test::WriteHolder(Holder);
    EXPECT_NE(Custom.find("Gradient.Colors"), std::string::npos);

    for (const std::string& Bytes : {Standard, Custom}) {
        TGradientHolder Read(nullptr);
        test::ReadHolder(Bytes, Read);
        EXPECT_EQ(test::WriteHolder(Read), Bytes);
        TChtGradient& Copy = *Read.Gradient();
        EXPECT_TRUE(Copy.Visible());
        EXPECT_EQ(Copy.Direction(), gdDiagonalUp);
        EXPECT_EQ(Copy.Angle(), -20);
        EXPECT_EQ(Copy.StartColor(), clRed);
        EXPECT_EQ(Copy.MidColor(), clLime);
        EXPECT_EQ(Copy.EndColor(), clNavy);
        EXPECT_EQ(Copy.SubGradient()->Transparency(), 25);
        EXPECT_EQ(Copy.SubGradient()->StartColor(), clPurple);
    }
    TGradientHolder Read(nullptr);
    test::ReadHolder(Custom, Read);
    EXPECT_EQ(Offsets(*Read.Gradient()), (std::vector<double>{0, 0.4, 0.9, 1}));
    EXPECT_EQ(Read.Gradient()->Colors()->Get(2)->Transparency(), 60);
}

} // namespace
} // namespace qel

// The date and time popup on the headless host: what each mode shows for a
// value and gives back on OK, the OK check with its red colour, Cancel,
// Escape and closing, Enter pressing nothing, the date beyond the year 9999,
// the interval list, the popup's place, size and frame, its captions in
// English and German and the separator labels from the user's locale.
#include "tests/app/headless_app_fixture.h"

#include "app/date_time_input.h"
#include "foundations/language_switch.h"
#include "foundations/language_table.h"
#include "foundations/settings.h"
#include "platform/canvas/colors.h"
#include "platform/controls/screen.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/date_field.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/time_field.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window.h"
#include "platform/locale.h"

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace qel::test {
namespace {

constexpr plat::TPoint PopupAt{200, 300};

class TDateTimeInputTest : public THeadlessAppTest {
protected:
    ~TDateTimeInputTest() override { EXPECT_EQ(Host.ScriptLeft(), 0u) << "steps left over: the popup closed early"; }

    // Steps run one after another while the popup waits for input.
    void While(std::initializer_list<std::function<void()>> Steps)
    {
        for (const auto& step : Steps) {
            Host.Script(step);
        }
    }
    // Replaces an edit's text as the user would: a click, Ctrl+A and typing
    // (all posted, so they keep their order with other input).
    void Retype(plat::TCustomEdit* Edit, const std::string& Text)
    {
        ClickOn(Edit);
        Host.Key('A', plat::ModControl);
        if (Text.empty()) {
            Host.Key(plat::VK_DELETE);
        } else {
            Host.TypeText(Text);
        }
    }
    bool Showing() const { return Host.HostWindowVisible(Popup->Handle()); }
    static plat::TColor Rgb(plat::TColor Color) { return plat::ColorToRGB(Color); }

    std::unique_ptr<TDateTimeInput> Popup = std::make_unique<TDateTimeInput>(nullptr);
    const double Start = plat::EncodeDate(2024, 3, 10);
};

TEST_F(TDateTimeInputTest, DateModeShowsTheTimeAfterTheStartAndGivesItBackOnOK)
{
    plat::FormatSettings().ShortDateFormat = "dd.MM.yyyy";
    plat::FormatSettings().DateSeparator = '.';
    const struct {
        double StartTime;
        double Time;
        const char* Date;
        const char* Clock;
        const char* MSec;
        double Back;
    } cases[] = {
        {Start, 1.5, "10.03.2024", "00:00:01", "500", 1.5},
        {Start, 0.007, "10.03.2024", "00:00:00", "007", 0.007},
        {Start, 3661.25, "10.03.2024", "01:01:01", "250", 3661.25},
        {Start + 0.5, -3600, "10.03.2024", "11:00:00", "000", -3600},
        {Start, 2 * 86400 + 0.9996, "12.03.2024", "00:00:01", "000", 2 * 86400 + 1.0},
        {Start, 1e-4, "10.03.2024", "00:00:00", "000", 0},
    };
    for (const auto& c : cases) {
        double time = c.Time;
        While({[&] {
            EXPECT_TRUE(Showing());
            EXPECT_EQ(Popup->dtpDate->DisplayText(), c.Date) << c.Time;
            EXPECT_EQ(Popup->dtpDateTime->DisplayText(), c.Clock) << c.Time;
            EXPECT_EQ(Popup->edtDateMSec->Text(), c.MSec) << c.Time;
            EXPECT_TRUE(Popup->dtpDate->Focused()) << "the date takes the keyboard";
            ClickOn(Popup->btnOK);
        }});
        EXPECT_EQ(Popup->ExecuteDate(PopupAt, c.StartTime, time), plat::mrOk) << c.Time;
        EXPECT_EQ(time, c.Back) << c.Time << ": rounded to the millisecond";
    }
}

TEST_F(TDateTimeInputTest, TheUsersChangesToDateTimeAndMillisecondsMakeTheNewTime)
{
    plat::FormatSettings().ShortDateFormat = "dd.MM.yyyy";
    double time = 1.5;
    While({[&] {
        Host.Key(plat::VK_UP);           // the day: one more
        Host.Key(plat::VK_TAB);
        Host.TypeText("000203");         // 00:02:03
        Host.Key(plat::VK_TAB);          // the milliseconds, all selected
        Host.TypeText("12a345");
    },
           [&] {
               EXPECT_EQ(Popup->edtDateMSec->Text(), "123") << "three digits at most, digits only";
               ClickOn(Popup->btnOK);
           }});
    EXPECT_EQ(Popup->ExecuteDate(PopupAt, Start, time), plat::mrOk);
    EXPECT_DOUBLE_EQ(time, 86400 + 123.123);
}

TEST_F(TDateTimeInputTest, AnEmptyMillisecondFieldDoesNothingAndAWrongOneTurnsThePopupRed)
{
    double time = 1.5;
    While({[&] {
        Retype(Popup->edtDateMSec, "");
        ClickOn(Popup->btnOK);
    },
           [&] {
               EXPECT_TRUE(Showing());
               EXPECT_EQ(Popup->Color(), plat::clBtnFace) << "nothing at all happens";
               Popup->edtDateMSec->SetText("1000");   // more than can be typed: set by the program
               ClickOn(Popup->btnOK);
           },
           [&] {
               EXPECT_TRUE(Showing());
               EXPECT_EQ(Popup->Color(), plat::clRed);
               EXPECT_EQ(WindowPixel(Popup->Handle(), plat::Point(2, 2)), Rgb(plat::clRed));
               Shot(Popup->Handle(), "date_time_input_red");
               Host.Key(plat::VK_RETURN);
           },
           [&] {
               EXPECT_EQ(Popup->Color(), plat::clRed) << "it stays red";
               Retype(Popup->edtDateMSec, "250");
               ClickOn(Popup->btnOK);
           }});
    EXPECT_EQ(Popup->ExecuteDate(PopupAt, Start, time), plat::mrOk);
    EXPECT_EQ(time, 1.25);
    EXPECT_EQ(Popup->Color(), plat::clBtnFace) << "a valid OK brings the button face back";
}

TEST_F(TDateTimeInputTest, CancelEscapeAndClosingAnswerTwoAndKeepTheValue)
{
    const struct {
        const char* Way;
        std::function<void()> Close;
    } ways[] = {
        {"Cancel", [&] { ClickOn(Popup->btnCancel); }},
        {"Escape", [&] { Host.Key(plat::VK_ESCAPE); }},
        {"Escape in the milliseconds", [&] {
             Popup->edtDateMSec->SetFocus();
             Host.Key(plat::VK_ESCAPE);
         }},
        {"closing", [&] { Host.CloseWindow(Popup->Handle()); }},
    };
    for (const auto& way : ways) {
        double time = 1.5;
        While({[&] {
            Retype(Popup->edtDateMSec, "999");
            way.Close();
        }});
        EXPECT_EQ(Popup->ExecuteDate(PopupAt, Start, time), plat::mrCancel) << way.Way;
        EXPECT_EQ(time, 1.5) << way.Way;
        EXPECT_FALSE(Showing()) << way.Way;
    }
}

TEST_F(TDateTimeInputTest, EnterPressesNoButton)
{
    double time = 1.5;
    While({[&] {
        Host.Key(plat::VK_RETURN);
        Popup->edtDateMSec->SetFocus();
        Host.Key(plat::VK_RETURN);
    },
           [&] {
               EXPECT_TRUE(Showing()) << "there is no default button";
               EXPECT_EQ(Popup->edtDateMSec->Text(), "500");
               Host.Key(plat::VK_ESCAPE);
           }});
    EXPECT_EQ(Popup->ExecuteDate(PopupAt, Start, time), plat::mrCancel);
}

TEST_F(TDateTimeInputTest, ADateOutsideTheYears1To9999RaisesBeforeAnyPopupShows)
{
    const int forms = plat::Screen->FormCount();
    const std::size_t windows = Host.VisibleWindows().size();
    const struct {
        double StartTime;
        double Time;
    } cases[] = {
        {plat::EncodeDate(9999, 12, 30), 3 * 86400.0},
        {Start, 1e15},
        {plat::EncodeDate(1, 1, 1), -86400.0},
        {Start, std::numeric_limits<double>::quiet_NaN()},
        {Start, std::numeric_limits<double>::infinity()},
    };
    for (const auto& c : cases) {
        double time = c.Time;
        EXPECT_THROW(ExecuteDateInput(PopupAt, c.StartTime, time), plat::EConvertError) << c.Time;
        EXPECT_TRUE(time == c.Time || std::isnan(c.Time)) << "the value stays";
        EXPECT_EQ(plat::Screen->FormCount(), forms) << "the popup is freed";
        Pump();
        EXPECT_EQ(Host.VisibleWindows().size(), windows) << "nothing is left on the screen";
    }
}

TEST_F(TDateTimeInputTest, ExecuteDateInputOpensItsOwnPopupAtThePointOverTheMainWindow)
{
    const int forms = plat::Screen->FormCount();
    double time = 1.5;
    Host.Script([&] {
        TDateTimeInput* shown = nullptr;
        for (plat::HWND window : Host.VisibleWindows()) {
            if (auto* popup = dynamic_cast<TDateTimeInput*>(plat::TWinControl::FindControl(window))) {
                shown = popup;
            }
        }
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(plat::GetWindowOwner(shown->Handle()), Main->Handle()) << "it stays above the main window";
        EXPECT_EQ(Host.HostWindowBounds(shown->Handle()).Left, PopupAt.X);
        EXPECT_EQ(Host.HostWindowBounds(shown->Handle()).Top, PopupAt.Y);
        Host.Key(plat::VK_TAB);
        Host.Key(plat::VK_TAB);
        Host.TypeText("25");
        ClickOn(shown->btnOK);
    });
    EXPECT_EQ(ExecuteDateInput(PopupAt, Start, time), plat::mrOk);
    EXPECT_EQ(time, 1.025);
    EXPECT_EQ(plat::Screen->FormCount(), forms);
}

TEST_F(TDateTimeInputTest, DurationModeSplitsSecondsIntoDaysTimeAndMilliseconds)
{
    const struct {
        double Time;
        const char* Days;
        const char* Clock;
        const char* MSec;
        double Back;
    } cases[] = {
        {90061.5, "1", "01:01:01", "500", 90061.5},
        {-100000, "0", "03:46:40", "0", 13600},   // a negative duration: the time of its fraction's size
        {86399.9999, "1", "00:00:00", "0", 86400},
        {0.001, "0", "00:00:00", "1", 0.001},
        {999 * 86400.0 + 59, "999", "00:00:59", "0", 999 * 86400.0 + 59},
        {std::numeric_limits<double>::quiet_NaN(), "0", "00:00:00", "0", 0},
    };
    for (const auto& c : cases) {
        double time = c.Time;
        While({[&] {
            EXPECT_EQ(Popup->edtTimeDay->Text(), c.Days) << c.Time;
            EXPECT_EQ(Popup->dtpTime->DisplayText(), c.Clock) << c.Time;
            EXPECT_EQ(Popup->edtTimeMSec->Text(), c.MSec) << c.Time;
            EXPECT_TRUE(Popup->edtTimeDay->Focused());
            ClickOn(Popup->btnOK);
        }});
        EXPECT_EQ(Popup->ExecuteTime(PopupAt, time), plat::mrOk) << c.Time;
        EXPECT_EQ(time, c.Back) << c.Time;
    }
}

TEST_F(TDateTimeInputTest, DurationModeRefusesDaysOrMillisecondsBeyond999)
{
    double time = 61;
    While({[&] {
        Popup->edtTimeDay->SetText("1000");
        ClickOn(Popup->btnOK);
    },
           [&] {
               EXPECT_EQ(Popup->Color(), plat::clRed);
               Popup->edtTimeDay->SetText("2");
               Popup->edtTimeMSec->SetText("1000");
               ClickOn(Popup->btnOK);
           },
           [&] {
               EXPECT_TRUE(Showing());
               EXPECT_EQ(Popup->Color(), plat::clRed);
               Retype(Popup->edtTimeDay, "");
               Retype(Popup->edtTimeMSec, "5");
               ClickOn(Popup->btnOK);
           },
           [&] {
               EXPECT_EQ(Popup->Color(), plat::clRed) << "an empty day field: nothing happens";
               Retype(Popup->edtTimeDay, "2");
               ClickOn(Popup->btnOK);
           }});
    EXPECT_EQ(Popup->ExecuteTime(PopupAt, time), plat::mrOk);
    EXPECT_DOUBLE_EQ(time, 2 * 86400 + 61.005);
    double kept = 61;
    While({[&] {
        Retype(Popup->edtTimeDay, "7");
        Host.Key(plat::VK_ESCAPE);
    }});
    EXPECT_EQ(Popup->ExecuteTime(PopupAt, kept), plat::mrCancel);
    EXPECT_EQ(kept, 61);
}

TEST_F(TDateTimeInputTest, IntervalModeChoosesTheEntryEqualToTheTimeElseTheFirst)
{
    const char* const texts[] = {"00:00:30", "00:01:00", "00:05:00", "00:10:00", "00:30:00",
                                 "01:00:00", "02:00:00", "12:00:00", "24:00:00"};
    const double seconds[] = {30, 60, 300, 600, 1800, 3600, 7200, 43200, 86400};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(IntervalSeconds(i), seconds[i]);
    }
    for (int index : {-1, 9, 100}) {
        EXPECT_EQ(IntervalSeconds(index), 0) << index;
    }
    const struct {
        double Time;
        int Chosen;
        bool Down;      // the user chooses the next entry
        double Back;
    } cases[] = {
        {45, 0, false, 30}, {3600, 5, false, 3600}, {7200, 6, true, 43200}, {86400, 8, true, 86400},
        {30.5, 0, false, 30},
    };
    for (const auto& c : cases) {
        double time = c.Time;
        While({[&] {
            ASSERT_EQ(Popup->cbxInterval->Items().Count(), 9);
            for (int i = 0; i < 9; ++i) {
                EXPECT_EQ(Popup->cbxInterval->Items().Strings(i), texts[i]);
            }
            EXPECT_EQ(Popup->cbxInterval->ItemIndex(), c.Chosen) << c.Time;
            EXPECT_EQ(Popup->cbxInterval->Text(), texts[c.Chosen]) << c.Time;
            if (c.Down) {
                Host.Key(plat::VK_DOWN);
            }
            ClickOn(Popup->btnOK);
        }});
        EXPECT_EQ(Popup->ExecuteInterval(PopupAt, time), plat::mrOk) << c.Time;
        EXPECT_EQ(time, c.Back) << c.Time;
    }
    double kept = 45;
    While({[&] {
        Host.Key(plat::VK_DOWN);
        Host.Key(plat::VK_ESCAPE);
    }});
    EXPECT_EQ(Popup->ExecuteInterval(PopupAt, kept), plat::mrCancel);
    EXPECT_EQ(kept, 45);
}

// The popup of each mode: place, size, frame and captions, in English and
// in German (with the German date format and the decimal comma).
TEST_F(TDateTimeInputTest, EachModeSitsAtThePointSizedToItsPanelInsideABlackFrame)
{
    struct TMode {
        const char* Name;
        plat::TPanel* TDateTimeInput::*Panel;
        std::function<int(double&)> Run;
    };
    const TMode modes[] = {
        {"date", &TDateTimeInput::panDate, [&](double& t) { return Popup->ExecuteDate(PopupAt, Start, t); }},
        {"duration", &TDateTimeInput::panTime, [&](double& t) { return Popup->ExecuteTime(PopupAt, t); }},
        {"interval", &TDateTimeInput::panInterval, [&](double& t) { return Popup->ExecuteInterval(PopupAt, t); }},
    };
    const TRegSettings savedSettings = RegSettings;
    for (const char* language : {"en", "de"}) {
        const bool german = std::string(language) == "de";
        plat::TFixedLocaleProvider locale(german ? "de_DE.UTF-8" : "en_US.UTF-8");
        plat::TScopedLocaleProvider useLocale(locale);
        RegSettings.iRegLocDate = german ? 3 : 2;
        RegSettings.iRegLocDecimalSeparator = german ? 1 : 0;
        SetLanguage(LanguageTexts, german ? LANGUAGE_GERMAN : LANGUAGE_ENGLISH, FORMAT_MODE_SETTINGS, false);
        for (const TMode& mode : modes) {
            const std::string name = std::string(mode.Name) + " " + language;
            double time = 90061.5;
            While({[&] {
                plat::TPanel* panel = Popup.get()->*mode.Panel;
                EXPECT_EQ(Popup->ClientOrigin(), PopupAt) << name;
                EXPECT_EQ(Popup->ClientWidth(), panel->Width() + 8) << name;
                EXPECT_EQ(Popup->ClientHeight(), panel->Height() + 31 + 8) << name;
                EXPECT_EQ(panel->BoundsRect(), plat::Bounds(4, 4, panel->Width(), 24)) << name;
                for (plat::TPanel* other : {Popup->panDate, Popup->panTime, Popup->panInterval}) {
                    EXPECT_EQ(other->Visible(), other == panel) << name;
                }
                EXPECT_EQ(Popup->btnOK->Caption(), "OK") << name;
                EXPECT_EQ(Popup->btnCancel->Caption(), german ? "Abbrechen" : "Cancel") << name;
                EXPECT_EQ(Popup->btnOK->BoundsRect().Right + 4, Popup->btnCancel->Left()) << name << ": OK left of Cancel";
                EXPECT_EQ(Popup->btnCancel->Width(), 100);
                EXPECT_EQ(Popup->btnCancel->Height(), 27);
                EXPECT_EQ(Popup->panCtrl->BoundsRect().Right + 3, Popup->ClientWidth()) << name;
                EXPECT_LE(Popup->btnCancel->ClientToParent(plat::Point(100, 0), Popup.get()).X,
                          Popup->ClientWidth() - 3) << name << ": the buttons fit";
                // The frame: every edge pixel black, the pixels inside not.
                const int width = Popup->ClientWidth();
                const int height = Popup->ClientHeight();
                for (const plat::TPoint edge : {plat::Point(0, 0), plat::Point(width - 1, 0), plat::Point(0, height - 1),
                                                plat::Point(width - 1, height - 1), plat::Point(width / 2, 0),
                                                plat::Point(0, height / 2), plat::Point(width - 1, height / 2),
                                                plat::Point(width / 2, height - 1)}) {
                    EXPECT_EQ(WindowPixel(Popup->Handle(), edge), Rgb(plat::clBlack)) << name << " " << edge.X << "," << edge.Y;
                }
                EXPECT_EQ(WindowPixel(Popup->Handle(), plat::Point(1, 1)), Rgb(plat::clBtnFace)) << name;
                EXPECT_EQ(WindowPixel(Popup->Handle(), plat::Point(width - 2, height - 2)), Rgb(plat::clBtnFace)) << name;
                Shot(Popup->Handle(), std::string("date_time_input_") + mode.Name + "_" + language);
                Host.Key(plat::VK_ESCAPE);
            }});
            EXPECT_EQ(mode.Run(time), plat::mrCancel) << name;
        }
        if (german) {
            double time = 1.5;
            While({[&] {
                EXPECT_EQ(Popup->dtpDate->DisplayText(), "10.03.2024");
                EXPECT_EQ(Popup->Label1->Caption(), " , ");
                Host.Key(plat::VK_ESCAPE);
            }});
            Popup->ExecuteDate(PopupAt, Start, time);
        }
    }
    RegSettings = savedSettings;
}

TEST_F(TDateTimeInputTest, TheSeparatorLabelsShowTheUsersLocaleNotTheProgramsSeparator)
{
    const struct {
        const char* Locale;
        char ProgramSeparator;
        const char* Shown;
    } cases[] = {{"de_DE.UTF-8", '.', " , "}, {"en_US.UTF-8", ',', " . "}, {"fr_FR.UTF-8", '.', " , "}};
    for (const auto& c : cases) {
        plat::TFixedLocaleProvider locale(c.Locale);
        plat::TScopedLocaleProvider useLocale(locale);
        plat::FormatSettings().DecimalSeparator = c.ProgramSeparator;
        double time = 0;
        While({[&] {
            EXPECT_EQ(Popup->Label1->Caption(), c.Shown) << c.Locale;
            EXPECT_EQ(Popup->Label3->Caption(), c.Shown) << c.Locale;
            Host.Key(plat::VK_ESCAPE);
        }});
        Popup->ExecuteTime(PopupAt, time);
    }
}

} // namespace
} // namespace qel::test

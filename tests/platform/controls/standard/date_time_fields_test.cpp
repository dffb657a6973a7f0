// The date and time fields on the headless host: digits, separators, the
// arrows and letters per segment in the program's formats, no invalid date
// on the way, the year kept in 1..9999, values read back to the second, the
// mouse and the spin buttons, and OnChange only for the user.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/canvas/colors.h"
#include "platform/controls/standard/date_field.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/controls/standard/time_field.h"
#include "platform/controls/virtual_keys.h"
#include "platform/format_settings.h"

#include <cmath>
#include <limits>

namespace plat::test {
namespace {

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    return EncodeDateTime({year, month, day, hour, minute, second, ms});
}

class TDateTimeFieldsTest : public TStandardTest {
protected:
    void SetUp() override
    {
        FormatSettings() = TFormatSettings{};
        Form = NewForm("Form1");
        Dates = Place<TDateField>(Form, "Dates", Rect(10, 10, 145, 34));
        Times = Place<TTimeField>(Form, "Times", Rect(10, 40, 99, 64));
        Pump();
    }
    // Types script into the focused field: the arrows stand for their keys,
    // everything else is typed text.
    void Keys(const std::string& script)
    {
        const std::pair<std::string, TVirtualKey> arrows[] = {
            {"←", VK_LEFT}, {"→", VK_RIGHT}, {"↑", VK_UP}, {"↓", VK_DOWN}, {"⌫", VK_BACK}};
        std::size_t i = 0;
        while (i < script.size()) {
            bool arrow = false;
            for (const auto& [glyph, key] : arrows) {
                if (script.compare(i, glyph.size(), glyph) == 0) {
                    Host.Key(key);
                    i += glyph.size();
                    arrow = true;
                    break;
                }
            }
            if (!arrow) {
                Host.TypeText(script.substr(i, 1));
                ++i;
            }
        }
        Pump();
    }
    // The width of text in the field's font.
    static int WidthIn(TCustomControl* control, const std::string& text)
    {
        TCanvas& canvas = *control->Canvas();
        canvas.Font()->Assign(control->Font());
        return canvas.TextWidth(text);
    }
    // Settings as the language switch leaves them for a short date format.
    void UseDateFormat(const std::string& format, char separator)
    {
        FormatSettings().ShortDateFormat = format;
        FormatSettings().DateSeparator = separator;
    }

    TScopedFormatSettings KeepSettings;
    TForm* Form = nullptr;
    TDateField* Dates = nullptr;
    TTimeField* Times = nullptr;
};

TEST_F(TDateTimeFieldsTest, DigitsArrowsAndLettersEditEachSegmentOfTheProgramsFormats)
{
    const struct {
        const char* Name;
        const char* Format;
        char Separator;
        TDateTime Start;
        const char* Keys;
        const char* Shown;
        TDateTime Value;
    } cases[] = {
        {"digits fill the segments one after another", "dd.MM.yyyy", '.', At(2024, 1, 31), "15042023", "15.04.2023",
         At(2023, 4, 15)},
        {"a separator after a full segment is spent", "dd.MM.yyyy", '.', At(2024, 1, 31), "5.3.2024", "05.03.2024",
         At(2024, 3, 5)},
        {"a digit beyond the range begins anew", "dd.MM.yyyy", '.', At(2024, 1, 31), "39", "09.01.2024",
         At(2024, 1, 9)},
        {"backspace takes back a digit", "dd.MM.yyyy", '.', At(2024, 1, 31), "1⌫2→", "02.01.2024", At(2024, 1, 2)},
        {"month first: February cuts the 31st", "MM/dd/yyyy", '/', At(2024, 1, 31), "2", "02/29/2024",
         At(2024, 2, 29)},
        {"the settings' separator stands for /", "MM/dd/yyyy", '-', At(2024, 1, 31), "", "01-31-2024",
         At(2024, 1, 31)},
        {"Up on the month: 31 becomes 30 in April", "dd.MM.yyyy", '.', At(2024, 3, 31), "→↑", "30.04.2024",
         At(2024, 4, 30)},
        {"Down on the month wraps to December", "yyyy-MM-dd", '-', At(2024, 1, 15), "→↓", "2024-12-15",
         At(2024, 12, 15)},
        {"a leap day leaves with the year", "yyyy-MM-dd", '-', At(2024, 2, 29), "↑", "2025-02-28", At(2025, 2, 28)},
        {"the year stops at 9999", "dd.MM.yyyy", '.', At(9999, 12, 31), "→→↑↑", "31.12.9999", At(9999, 12, 31)},
        {"the year stops at 1", "yyyy-MM-dd", '-', At(1, 1, 1), "↓", "0001-01-01", At(1, 1, 1)},
        {"a typed year 0 becomes 1", "yyyy-MM-dd", '-', At(2024, 5, 6), "0→", "0001-05-06", At(1, 5, 6)},
        {"Left goes back, no further than the first", "dd.MM.yyyy", '.', At(2024, 5, 6), "→→←←←7", "07.05.2024",
         At(2024, 5, 7)},
        {"month names take their first letter", "dd-MMM-yyyy", '-', At(2024, 1, 31), "→mm", "31-May-2024",
         At(2024, 5, 31)},
        {"a named month takes digits too", "yyyy-MMM-dd", '-', At(2024, 1, 31), "→11", "2024-Nov-30",
         At(2024, 11, 30)},
    };
    for (const auto& c : cases) {
        UseDateFormat(c.Format, c.Separator);
        Dates->SetDateTime(c.Start);
        Times->SetFocus();
        Dates->SetFocus();
        Keys(c.Keys);
        EXPECT_EQ(Dates->DisplayText(), c.Shown) << c.Name;
        EXPECT_EQ(Dates->DateTime(), c.Value) << c.Name;
        Keys("←←←");
    }
}

TEST_F(TDateTimeFieldsTest, TheTimeFieldTypesAndStepsHoursMinutesAndSeconds)
{
    const struct {
        const char* Name;
        const char* Format;
        const char* Keys;
        const char* Shown;
        TDateTime Time;
    } cases[] = {
        {"six digits", "HH:mm:ss", "235959", "23:59:59", EncodeTime(23, 59, 59, 0)},
        {"seconds wrap without carrying", "HH:mm:ss", "→→↑", "14:05:10", EncodeTime(14, 5, 10, 0)},
        {"seconds wrap at 59", "HH:mm:ss", "→→59↑", "14:05:00", EncodeTime(14, 5, 0, 0)},
        {"hours wrap below 0", "HH:mm:ss", "0↓", "23:05:09", EncodeTime(23, 5, 9, 0)},
        {"a separator moves on", "HH:mm:ss", "7:3:", "07:03:09", EncodeTime(7, 3, 9, 0)},
        {"twelve hours with a mark", "h:mm:ss AMPM", "", "2:05:09 PM", EncodeTime(14, 5, 9, 0)},
        {"A chooses the morning", "h:mm:ss AMPM", "→→→a", "2:05:09 AM", EncodeTime(2, 5, 9, 0)},
        {"the mark toggles with Up", "h:mm:ss AMPM", "→→→↑↑", "2:05:09 PM", EncodeTime(14, 5, 9, 0)},
        {"12 on the clock is noon", "h:mm:ss AMPM", "12", "12:05:09 PM", EncodeTime(12, 5, 9, 0)},
    };
    for (const auto& c : cases) {
        FormatSettings().LongTimeFormat = c.Format;
        Times->SetDateTime(At(2024, 6, 1, 14, 5, 9));
        Dates->SetFocus();
        Times->SetFocus();
        Keys("←←←");
        Keys(c.Keys);
        EXPECT_EQ(Times->DisplayText(), c.Shown) << c.Name;
        EXPECT_EQ(Times->Time(), c.Time) << c.Name;
        EXPECT_EQ(std::floor(Times->DateTime()), At(2024, 6, 1)) << c.Name << ": the date stays";
    }
}

TEST_F(TDateTimeFieldsTest, ValuesReadBackAsSetToTheSecondAndBadValuesRaise)
{
    const TDateTime values[] = {At(2024, 2, 29, 23, 59, 59, 400), At(1, 1, 1), At(9999, 12, 31, 23, 59, 59, 999),
                                At(1899, 12, 29, 6), At(2000, 1, 1, 12, 0, 0, 500)};
    for (TDateTime value : values) {
        TDateTimeParts parts = DecodeDateTime(value);
        parts.MilliSecond = 0;
        Dates->SetDateTime(value);
        EXPECT_EQ(Dates->DateTime(), EncodeDateTime(parts)) << value;
        Times->SetTime(value);
        EXPECT_EQ(Times->Time(), EncodeTime(parts.Hour, parts.Minute, parts.Second, 0)) << value;
        Dates->SetDate(value);
        EXPECT_EQ(Dates->Date(), EncodeDate(parts.Year, parts.Month, parts.Day)) << value;
    }
    // SetDate keeps the time and SetTime the date.
    Dates->SetDateTime(At(2020, 3, 4, 5, 6, 7));
    Dates->SetDate(At(2021, 8, 9, 10, 11, 12));
    EXPECT_EQ(Dates->DateTime(), At(2021, 8, 9, 5, 6, 7));
    Times->SetDateTime(At(2020, 3, 4, 5, 6, 7));
    Times->SetTime(At(2021, 8, 9, 10, 11, 12));
    EXPECT_EQ(Times->DateTime(), At(2020, 3, 4, 10, 11, 12));

    const TDateTime bad[] = {MaxDateTime + 1, MinDateTime - 1, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(), 1e300};
    for (TDateTime value : bad) {
        EXPECT_THROW(Dates->SetDate(value), EConvertError) << value;
        EXPECT_THROW(Times->SetTime(value), EConvertError) << value;
        EXPECT_THROW(Dates->SetDateTime(value), EConvertError) << value;
    }
    EXPECT_EQ(Dates->DateTime(), At(2021, 8, 9, 5, 6, 7)) << "a refused value changes nothing";
}

TEST_F(TDateTimeFieldsTest, OnChangeRunsForTheUsersChangesOnly)
{
    UseDateFormat("dd.MM.yyyy", '.');
    int changes = 0;
    Dates->OnChange = [&](TObject*) { ++changes; };
    Dates->SetDateTime(At(9999, 12, 31));
    EXPECT_EQ(changes, 0) << "set by the program";
    Dates->SetFocus();
    Keys("→→↑");
    EXPECT_EQ(changes, 0) << "Up at the last year changes nothing";
    Keys("↓");
    EXPECT_EQ(changes, 1);
    Keys("←←3");
    EXPECT_EQ(changes, 1) << "a digit that may go on is not taken yet";
    Keys("1");
    EXPECT_EQ(changes, 1) << "31 was already the day";
    Keys("2");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(Dates->Date(), At(9998, 2, 28)) << "the 31st cut to February's end";
}

TEST_F(TDateTimeFieldsTest, LeavingTheFieldTakesTheDigitsTypedSoFar)
{
    UseDateFormat("dd.MM.yyyy", '.');
    Dates->SetDateTime(At(2024, 5, 6));
    Dates->SetFocus();
    Keys("→→2");
    EXPECT_EQ(Dates->DisplayText(), "06.05.2") << "shown as typed";
    EXPECT_EQ(Dates->DateTime(), At(2024, 5, 6)) << "not taken yet";
    Times->SetFocus();
    Pump();
    EXPECT_EQ(Dates->DisplayText(), "06.05.0002");
    EXPECT_EQ(Dates->DateTime(), At(2, 5, 6));
}

TEST_F(TDateTimeFieldsTest, AClickChoosesTheSegmentAndTheSpinButtonsStepIt)
{
    UseDateFormat("dd.MM.yyyy", '.');
    Dates->SetDateTime(At(2024, 5, 6));
    const int yearLeft = 2 + WidthIn(Dates, "06.05.");
    const int middle = Dates->ClientHeight() / 2;
    ClickAt(Dates, Point(yearLeft + 3, middle));
    EXPECT_TRUE(Dates->Focused());
    EXPECT_EQ(Dates->SelectedPart(), TFieldPart::Year4);
    ClickAt(Dates, Point(2 + WidthIn(Dates, "06.") - 1, middle));
    EXPECT_EQ(Dates->SelectedPart(), TFieldPart::Month) << "a click on a separator takes the nearest segment";
    const int spin = Dates->ClientWidth() - 4;
    ClickAt(Dates, Point(spin, 3));
    ClickAt(Dates, Point(spin, 3));   // quick clicks are steps too, not a double click
    EXPECT_EQ(Dates->Date(), At(2024, 7, 6));
    ClickAt(Dates, Point(spin, Dates->ClientHeight() - 3));
    EXPECT_EQ(Dates->Date(), At(2024, 6, 6));
}

TEST_F(TDateTimeFieldsTest, TheSelectedSegmentIsHighlightedWhileTheFieldHasTheFocus)
{
    UseDateFormat("dd.MM.yyyy", '.');
    FormatSettings().LongTimeFormat = "HH:mm:ss";
    Dates->SetDateTime(At(2024, 5, 6, 14, 5, 9));
    Times->SetDateTime(At(2024, 5, 6, 14, 5, 9));
    Dates->SetFocus();
    Keys("→");
    TCanvas& canvas = *Dates->Canvas();
    canvas.Font()->Assign(Dates->Font());
    const int top = (Dates->ClientHeight() - LineHeight(canvas)) / 2;
    const TPoint inMonth = Dates->ClientToScreen(Point(2 + WidthIn(Dates, "06.") + 1, top + 1));
    EXPECT_EQ(ScreenPixel(inMonth), ColorToRGB(clHighlight));
    Shot(Form->Handle(), "date_time_fields");
    Times->SetFocus();
    EXPECT_EQ(ScreenPixel(inMonth), ColorToRGB(clWindow)) << "no highlight without the focus";
}

TEST_F(TDateTimeFieldsTest, AnEmptyFormatFollowsTheProgramsSettings)
{
    UseDateFormat("yyyy-MM-dd", '-');
    FormatSettings().LongTimeFormat = "HH:mm:ss";
    Dates->SetDateTime(At(2024, 5, 6, 7, 8, 9));
    Times->SetDateTime(At(2024, 5, 6, 7, 8, 9));
    EXPECT_EQ(Dates->DisplayText(), "2024-05-06");
    EXPECT_EQ(Times->DisplayText(), "07:08:09");
    UseDateFormat("dd/MM/yyyy", '/');
    EXPECT_EQ(Dates->DisplayText(), "06/05/2024");
    Dates->SetFormat("MM/dd/yyyy");
    EXPECT_EQ(Dates->DisplayText(), "05/06/2024");
}

} // namespace
} // namespace plat::test

// The time window of a normal save from the time page's two fields.
#include "app/cut_time_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace qel {
namespace {

constexpr std::int64_t TMIN = 5'000'000'000;

// The end field's text: the general format's 15 significant digits.
double AsFieldText(double Seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", Seconds);
    return std::strtod(text, nullptr);
}

TEST(CutTimeWindowTest, UntouchedFieldsCoverTheWholeData)
{
    // The end field holds the span in seconds and a millisecond more, as
    // text: its ticks reach past the span, which clamps them, so no window
    // is on.
    struct TCase {
        std::int64_t Span;
        std::int64_t EndTicks;
    };
    const TCase cases[] = {{0, 1024}, {1, 1025}, {1023, 2047}, {3'686'400'007, 3'686'401'031}};
    for (const TCase& c : cases) {
        const double endField = AsFieldText(CutEndSeconds(c.Span));
        EXPECT_EQ(CutSecondsToTicks(endField), c.EndTicks) << c.Span;
        const TCutTimeWindow window = CutTimeWindow(0, endField, TMIN, TMIN + c.Span);
        EXPECT_FALSE(window.On) << c.Span;
        EXPECT_EQ(window.Start, 0) << c.Span;
        EXPECT_EQ(window.End, 0) << c.Span;
    }
}

TEST(CutTimeWindowTest, FieldsAreClampedToTheData)
{
    constexpr std::int64_t SPAN = 100 * 1'024'000;   // 100 s of data
    struct TCase {
        const char* Name;
        double Begin;
        double End;
        bool On;
        std::int64_t Start;   // relative to TMIN
        std::int64_t Stop;
    };
    const TCase cases[] = {
        {"inside", 10, 20, true, 10'240'000, 20'480'000},
        {"begin below 0 starts at the data", -5, 20, true, 0, 20'480'000},
        {"end below begin: one instant at the begin", 30, 20, true, 30'720'000, 30'720'000},
        {"end after the data stops at it", 10, 1000, true, 10'240'000, SPAN},
        {"begin after the data: a window that holds nothing", 200, 300, true, 204'800'000, SPAN},
        {"begin 0, end exactly the span: no window", 0, 100, false, -TMIN, -TMIN},
        {"huge end is clamped", 0.5, 1e300, true, 512'000, SPAN},
        {"huge negative begin starts at the data", -1e300, 20, true, 0, 20'480'000},
        {"not a number counts as 0", std::numeric_limits<double>::quiet_NaN(), 20, true, 0, 20'480'000},
    };
    for (const TCase& c : cases) {
        const TCutTimeWindow window = CutTimeWindow(c.Begin, c.End, TMIN, TMIN + SPAN);
        EXPECT_EQ(window.On, c.On) << c.Name;
        EXPECT_EQ(window.Start, TMIN + c.Start) << c.Name;
        EXPECT_EQ(window.End, TMIN + c.Stop) << c.Name;
    }
}

TEST(CutTimeWindowTest, SecondsBecomeTicksThroughDaysInDouble)
{
    // 12,345.678 s is 12,641,974,272 ticks exactly, but the way through
    // days in double lands just below it and truncates.
    EXPECT_EQ(CutSecondsToTicks(12345.678), 12'641'974'271);
    EXPECT_EQ(CutSecondsToTicks(-1.5), -1'536'000);
    EXPECT_EQ(CutSecondsToTicks(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(CutSecondsToTicks(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(CutSecondsToTicks(std::numeric_limits<double>::infinity()), std::numeric_limits<std::int64_t>::max());
}

TEST(CutTimeWindowTest, ABeginBeyondTheTickRangeStaysInside)
{
    const TCutTimeWindow window = CutTimeWindow(1e300, 1e300, TMIN, TMIN + 10);
    EXPECT_TRUE(window.On);
    EXPECT_EQ(window.Start, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(window.End, TMIN + 10);
}

} // namespace
} // namespace qel

// The time window of a normal save, from the time page's two fields: the
// begin and end in seconds after the first sample become a window in ticks
// inside the read data, or no window when the fields cover all of it.
#pragma once

#include <cstdint>

namespace qel {

struct TCutTimeWindow {
    bool On = false;          // only samples from Start to End (both included) are saved
    std::int64_t Start = 0;   // ticks; 0 when the window is off
    std::int64_t End = 0;
};

// Seconds as ticks: Seconds / 86400 x 88,473,600,000 in double, truncated
// toward zero; values beyond the 64-bit range are held at its ends, and a
// value that is not a number counts as 0.
std::int64_t CutSecondsToTicks(double Seconds);

// The window of the fields BeginSeconds and EndSeconds over data from TMin
// to TMax: a begin before the data starts at the data, an end before the
// begin gives a window of one instant at the begin, an end after the data
// stops at the data; the whole data give no window.
TCutTimeWindow CutTimeWindow(double BeginSeconds, double EndSeconds, std::int64_t TMin, std::int64_t TMax);

// The end field's value for data spanning Span ticks: the span in seconds
// and one millisecond more, so that untouched fields cover all of it.
double CutEndSeconds(std::int64_t Span);

} // namespace qel

// Time stamps of the zip channel container: nanoseconds since 2000-01-01 00:00
// from a calendar date-time.
#pragma once

#include <cstdint>

namespace qel {

// (t - 36526.0) / (1 / 86,400,000) * 1,000,000 in double arithmetic, rounded
// to the nearest integer with halves to even; t is a date-time in days since
// 1899-12-30. The day number passes through double precision, so tick 1,024
// (1 ms) becomes 1,000,171 ns. Raises plat::EInvalidOp when the result does
// not fit 64 bits.
std::int64_t DateTimeToNs2000(double t);

} // namespace qel

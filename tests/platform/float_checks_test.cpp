// Explicit floating-point checks in place of hardware traps.
#include "platform/float_checks.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <thread>

namespace {

using namespace plat;

enum class TFault { None, ZeroDivide, InvalidOp, Overflow };

const double Inf = std::numeric_limits<double>::infinity();
const double QuietNaN = std::numeric_limits<double>::quiet_NaN();
const double SignallingNaN = std::numeric_limits<double>::signaling_NaN();

template <typename F>
TFault FaultOf(F&& operation)
{
    try {
        operation();
    } catch (const EZeroDivide&) {
        return TFault::ZeroDivide;
    } catch (const EInvalidOp&) {
        return TFault::InvalidOp;
    } catch (const EOverflow&) {
        return TFault::Overflow;
    }
    return TFault::None;
}

TEST(FloatChecks, DivisionRaisesWhatATrapWould)
{
    const struct {
        double A, B;
        TFault Fault;
        double Quotient;
    } cases[] = {
        {1, 2, TFault::None, 0.5},
        {-3, 0.5, TFault::None, -6},
        {1, Inf, TFault::None, 0},
        {Inf, 0, TFault::None, Inf},  // exact: no fault
        {1, 0, TFault::ZeroDivide, 0},
        {-1, -0.0, TFault::ZeroDivide, 0},
        {0, 0, TFault::InvalidOp, 0},
        {Inf, -Inf, TFault::InvalidOp, 0},
        {SignallingNaN, 1, TFault::InvalidOp, 0},
        {1, SignallingNaN, TFault::InvalidOp, 0},
        {1e308, 1e-10, TFault::Overflow, 0},
        {-1e308, 1e-10, TFault::Overflow, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.A << " / " << c.B);
        double quotient = 0;
        EXPECT_EQ(FaultOf([&] { quotient = CheckedDivide(c.A, c.B); }), c.Fault);
        if (c.Fault == TFault::None) {
            EXPECT_EQ(quotient, c.Quotient);
        }
    }
    EXPECT_TRUE(std::isnan(CheckedDivide(QuietNaN, 2)));
    EXPECT_TRUE(std::isnan(CheckedDivide(3, QuietNaN)));
}

TEST(FloatChecks, FiniteCheck)
{
    EXPECT_EQ(CheckFinite(2.5), 2.5);
    EXPECT_EQ(CheckFinite(-0.0), 0.0);
    EXPECT_EQ(FaultOf([] { CheckFinite(QuietNaN); }), TFault::InvalidOp);
    EXPECT_EQ(FaultOf([] { CheckFinite(Inf); }), TFault::Overflow);
    EXPECT_EQ(FaultOf([] { CheckFinite(-Inf); }), TFault::Overflow);
}

TEST(FloatChecks, IntegerConversionsAreRangeChecked)
{
    const struct {
        double X;
        bool Fits32, Fits64;
        std::int64_t Trunc, Round;
    } cases[] = {
        {2.5, true, true, 2, 2},  // halves to even
        {3.5, true, true, 3, 4},
        {-2.5, true, true, -2, -2},
        {-2.7, true, true, -2, -3},
        {2147483647.4, true, true, 2147483647, 2147483647},
        {-2147483648.4, true, true, -2147483648LL, -2147483648LL},
        {2147483648.0, false, true, 2147483648LL, 2147483648LL},
        {-2147483649.0, false, true, -2147483649LL, -2147483649LL},
        {-9223372036854775808.0, false, true, INT64_MIN, INT64_MIN},
        {9223372036854775808.0, false, false, 0, 0},
        {1e300, false, false, 0, 0},
        {QuietNaN, false, false, 0, 0},
        {-Inf, false, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.X);
        if (c.Fits64) {
            EXPECT_EQ(CheckedTrunc(c.X), c.Trunc);
            EXPECT_EQ(CheckedRound(c.X), c.Round);
        } else {
            EXPECT_THROW(CheckedTrunc(c.X), EInvalidOp);
            EXPECT_THROW(CheckedRound(c.X), EInvalidOp);
        }
        if (c.Fits32) {
            EXPECT_EQ(CheckedTrunc32(c.X), c.Trunc);
            EXPECT_EQ(CheckedRound32(c.X), c.Round);
        } else {
            EXPECT_THROW(CheckedTrunc32(c.X), EInvalidOp);
            EXPECT_THROW(CheckedRound32(c.X), EInvalidOp);
        }
    }
    // Truncation fits where rounding up would not.
    EXPECT_EQ(CheckedTrunc32(2147483647.5), 2147483647);
    EXPECT_THROW(CheckedRound32(2147483647.5), EInvalidOp);
}

TEST(FloatChecks, FaultsShareOneBaseClass)
{
    EXPECT_THROW(CheckedDivide(1, 0), EMathError);
    EXPECT_THROW(CheckFinite(QuietNaN), std::runtime_error);
}

TEST(FloatChecks, TrapsAreMaskedAgain)
{
    feenableexcept(FE_DIVBYZERO | FE_INVALID);
    EXPECT_FALSE(FloatTrapsMasked());
    MaskFloatTraps();
    EXPECT_TRUE(FloatTrapsMasked());
    volatile double zero = 0.0;
    EXPECT_TRUE(std::isinf(1.0 / zero));  // no signal with the traps masked

    bool workerMasked = false;
    std::thread([&] {
        MaskFloatTraps();
        workerMasked = FloatTrapsMasked();
    }).join();
    EXPECT_TRUE(workerMasked);
}

} // namespace

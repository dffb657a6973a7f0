// Floating-point faults as exceptions: the hardware traps stay masked, and the
// places that must fail on a zero divisor, an invalid operation or an overflow
// check for it explicitly with these helpers.
#pragma once

#include <cstdint>
#include <stdexcept>

namespace plat {

class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EInvalidOp : public EMathError {
public:
    EInvalidOp() : EMathError("Invalid floating point operation") {}
};

class EZeroDivide : public EMathError {
public:
    EZeroDivide() : EMathError("Floating point division by zero") {}
};

class EOverflow : public EMathError {
public:
    EOverflow() : EMathError("Floating point overflow") {}
};

// Masks every floating-point trap of the calling thread (on Linux an unmasked
// trap would be a signal, not an exception); call at the start of each thread
// that computes with samples.
void MaskFloatTraps();
// True when no floating-point trap of the calling thread is unmasked.
bool FloatTrapsMasked();

// a / b, raising what an unmasked division would have raised: EInvalidOp for
// 0/0, inf/inf or a signalling NaN operand, EZeroDivide for a finite non-zero
// a over zero, EOverflow when finite operands give an infinite quotient. A
// quiet NaN operand passes through as NaN, as it does in hardware.
double CheckedDivide(double a, double b);

// x when it is finite; EInvalidOp for a NaN, EOverflow for an infinity.
double CheckFinite(double x);

// x truncated toward zero, or rounded to the nearest integer with halves to
// the even neighbour; EInvalidOp when x is not finite or the result does not
// fit the integer type.
std::int64_t CheckedTrunc(double x);
std::int32_t CheckedTrunc32(double x);
std::int64_t CheckedRound(double x);
std::int32_t CheckedRound32(double x);

} // namespace plat

// Tests of the library's shared declarations: record layouts, the letter set
// and the conversions of the 10-byte extended record.
#include "widgets/pages/pgc_data.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace qel {
namespace {

static_assert(TPgcCmdRec{0x11, 0x22, 0x33, 0x44, 0x5566}.Keys() == 0x44332211u);
static_assert(std::bit_cast<std::array<std::uint8_t, 6>>(TPgcCmdRec{1, 2, 3, 4, 0x0605})
    == std::array<std::uint8_t, 6>{1, 2, 3, 4, 5, 6});

TEST(PgcData, CommandRecordKeysAreItsFirstFourBytes)
{
    TPgcCmdRec record;
    record.SetKeys(0xA1B2C3D4u);
    record.Cmd = 55;
    EXPECT_EQ(record.Key1, 0xD4);
    EXPECT_EQ(record.SS1, 0xC3);
    EXPECT_EQ(record.Key2, 0xB2);
    EXPECT_EQ(record.SS2, 0xA1);
    std::uint32_t firstFour = 0;
    std::memcpy(&firstFour, &record, 4);
    EXPECT_EQ(firstFour, record.Keys()); // the machine is little-endian
    EXPECT_EQ(record.Keys(), 0xA1B2C3D4u);
}

TEST(PgcData, RangeBoundVariantsShareTheirBytes)
{
    TRangeType bound;
    for (std::uint8_t byte : bound.rt10) {
        EXPECT_EQ(byte, 0);
    }
    bound.rtDbl = 1.0;
    EXPECT_EQ(std::memcmp(bound.rt10, "\0\0\0\0\0\0\xF0\x3F", 8), 0);
    bound.rtLong = -2;
    EXPECT_EQ(bound.rtInt, -2);
    EXPECT_EQ(bound.rtByte, 0xFE);
    bound.rtExt = Ext80FromDouble(-2.0);
    EXPECT_EQ(Ext80AsDouble(bound.rtExt), -2.0);
}

TEST(PgcData, AlphaCharSetHoldsTheWindows1252Letters)
{
    const std::vector<std::uint8_t> members = {' ', ',', '-', '.', 'A', 'Z', 'a', 'z', 0x83, 0x8A, 0x9F, 0xAA, 0xB5,
        0xBA, 0xC0, 0xC9, 0xD6, 0xD8, 0xDF, 0xF6, 0xF8, 0xFF};
    const std::vector<std::uint8_t> others = {0, '0', '9', '@', '[', '`', '{', '_', '!', 0x80, 0x82, 0x84, 0x8B, 0x9B,
        0xA0, 0xA9, 0xB2, 0xBF, 0xD7, 0xF7};
    for (std::uint8_t code : members) {
        EXPECT_TRUE(AlphaCharSet.Contains(code)) << int(code);
    }
    for (std::uint8_t code : others) {
        EXPECT_FALSE(AlphaCharSet.Contains(code)) << int(code);
    }
    int count = 0;
    for (int code = 0; code < 256; ++code) {
        count += AlphaCharSet.Contains(static_cast<std::uint8_t>(code)) ? 1 : 0;
    }
    EXPECT_EQ(count, 4 + 52 + 11 + 23 + 31 + 8);
}

TExtended80 Ext(std::uint16_t signAndExponent, std::uint64_t mantissa)
{
    TExtended80 value;
    std::memcpy(value.Bytes, &mantissa, 8);
    std::memcpy(value.Bytes + 8, &signAndExponent, 2);
    return value;
}

std::uint64_t Bits(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

TEST(PgcData, ExtendedOfOneIsItsKnownBytes)
{
    const TExtended80 one = Ext80FromDouble(1.0);
    const std::uint8_t expected[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_EQ(std::memcmp(one.Bytes, expected, 10), 0);
}

TEST(PgcData, ExtendedConversionsOfKnownValues)
{
    constexpr std::uint64_t Lead = std::uint64_t{1} << 63;
    struct TCase {
        const char* name;
        TExtended80 ext;
        double value;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<TCase> cases = {
        {"zero", Ext(0, 0), 0.0},
        {"negative zero", Ext(0x8000, 0), -0.0},
        {"two", Ext(0x4000, Lead), 2.0},
        {"minus one and a half", Ext(0xBFFF, Lead | Lead >> 1), -1.5},
        {"infinity", Ext(0x7FFF, Lead), inf},
        {"minus infinity", Ext(0xFFFF, Lead), -inf},
        {"largest double", Ext(0x43FE, ~std::uint64_t{0} << 11), DBL_MAX},
        {"smallest normal", Ext(0x3C01, Lead), DBL_MIN},
        {"smallest subnormal", Ext(0x3BCD, Lead), std::numeric_limits<double>::denorm_min()},
        {"largest subnormal", Ext(0x3C00, ~std::uint64_t{0} << 12), DBL_MIN - std::numeric_limits<double>::denorm_min()},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Bits(Ext80AsDouble(c.ext)), Bits(c.value)) << c.name;
        const TExtended80 back = Ext80FromDouble(c.value);
        EXPECT_EQ(std::memcmp(back.Bytes, c.ext.Bytes, 10), 0) << c.name;
    }
}

TEST(PgcData, ExtendedToDoubleRoundsAndSaturates)
{
    constexpr std::uint64_t Lead = std::uint64_t{1} << 63;
    const double inf = std::numeric_limits<double>::infinity();
    struct TCase {
        const char* name;
        TExtended80 ext;
        double value;
    };
    const std::vector<TCase> cases = {
        {"tie to even stays", Ext(0x3FFF, Lead | 0x400), 1.0},
        {"tie to even rounds up", Ext(0x3FFF, Lead | 0xC00), 1.0 + 2 * DBL_EPSILON},
        {"above half rounds up", Ext(0x3FFF, Lead | 0x401), 1.0 + DBL_EPSILON},
        {"carry into the exponent", Ext(0x3FFF, ~std::uint64_t{0}), 2.0},
        {"beyond the largest double", Ext(0x43FF, Lead), inf},
        {"rounding past the largest double", Ext(0x43FE, ~std::uint64_t{0}), inf},
        {"far beyond, negative", Ext(0xFFFE, Lead), -inf},
        {"half the smallest subnormal", Ext(0x3BCC, Lead), 0.0},
        {"just above half the smallest subnormal", Ext(0x3BCC, Lead | 1), std::numeric_limits<double>::denorm_min()},
        {"far below, negative", Ext(0x8001, Lead), -0.0},
        {"extended denormal", Ext(0, 12345), 0.0},
        {"subnormal rounding into the smallest normal", Ext(0x3C00, ~std::uint64_t{0}), DBL_MIN},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Bits(Ext80AsDouble(c.ext)), Bits(c.value)) << c.name;
    }
    EXPECT_TRUE(std::isnan(Ext80AsDouble(Ext(0x3FFF, 1)))) << "unnormal";
    EXPECT_TRUE(std::isnan(Ext80AsDouble(Ext(0x7FFF, 0)))) << "pseudo-infinity";
    EXPECT_TRUE(std::isnan(Ext80AsDouble(Ext(0x7FFF, Lead | 1)))) << "NaN";
    EXPECT_TRUE(std::isnan(Ext80AsDouble(Ext80FromDouble(std::nan("")))));
}

TEST(PgcData, EveryFiniteDoubleRoundTrips)
{
    std::mt19937_64 random(19);
    std::vector<std::uint64_t> patterns = {0, 1, 2, 0x000FFFFFFFFFFFFFu, 0x0010000000000000u, 0x7FEFFFFFFFFFFFFFu};
    for (int i = 0; i < 200000; ++i) {
        std::uint64_t bits = random();
        if (i % 4 == 0) {
            bits &= 0x800FFFFFFFFFFFFFu; // subnormals
        }
        patterns.push_back(bits);
    }
    for (std::uint64_t bits : patterns) {
        const double value = std::bit_cast<double>(bits);
        if (!std::isfinite(value)) {
            continue;
        }
        ASSERT_EQ(Bits(Ext80AsDouble(Ext80FromDouble(value))), bits) << std::hex << bits;
        ASSERT_EQ(Bits(Ext80AsDouble(Ext80FromDouble(-value))), bits ^ (std::uint64_t{1} << 63)) << std::hex << bits;
    }
}

#if (defined(__x86_64__) || defined(__i386__)) && LDBL_MANT_DIG == 64
// The machine's own extended type reads the same bytes as an independent check.
TEST(PgcData, ExtendedToDoubleAgreesWithTheMachine)
{
    std::mt19937_64 random(1980);
    const auto near = [&random](int centre) { return static_cast<std::uint16_t>(centre - 80 + static_cast<int>(random() % 160)); };
    for (int i = 0; i < 200000; ++i) {
        // Around the subnormal range, around the largest double, or anywhere.
        const std::uint16_t exponent = i % 3 == 0 ? near(0x3C00) : i % 3 == 1 ? near(0x43FE) : static_cast<std::uint16_t>(random());
        std::uint64_t mantissa = random() | std::uint64_t{1} << 63;
        if (i % 5 == 0) {
            mantissa = (mantissa & ~std::uint64_t{0x7FF}) | 0x400; // ties
        }
        if (i % 7 == 0) {
            mantissa &= ~(std::uint64_t{1} << 63); // unnormals and denormals
        }
        const TExtended80 ext = Ext(exponent, mantissa);
        long double machine = 0;
        std::memcpy(&machine, ext.Bytes, 10);
        const double expected = static_cast<double>(machine);
        const double actual = Ext80AsDouble(ext);
        if (std::isnan(expected)) {
            ASSERT_TRUE(std::isnan(actual)) << std::hex << exponent << " " << mantissa;
        } else {
            ASSERT_EQ(Bits(actual), Bits(expected)) << std::hex << exponent << " " << mantissa;
        }
    }
}
#endif

} // namespace
} // namespace qel

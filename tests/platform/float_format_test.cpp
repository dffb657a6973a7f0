// Numbers as text: the general format, patterns and the parser.
#include "platform/float_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace plat;

TFormatSettings Point()
{
    return TFormatSettings{};
}

TFormatSettings Comma()
{
    TFormatSettings s;
    s.DecimalSeparator = ',';
    s.ThousandSeparator = '.';
    return s;
}

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

TEST(FloatFormat, GeneralFormat)
{
    const struct {
        double Value;
        TFormatSettings (*Settings)();
        const char* Expected;
    } cases[] = {
        {0.0, Point, "0"},
        {-0.0, Point, "0"},
        {1.5, Point, "1.5"},
        {1.5, Comma, "1,5"},
        {-2.5, Comma, "-2,5"},
        {100.0, Point, "100"},
        {0.1 + 0.2, Point, "0.3"},
        {1.0 / 3.0, Point, "0.333333333333333"},
        {2.0 / 3.0, Point, "0.666666666666667"},
        {static_cast<double>(0.1f), Point, "0.100000001490116"},
        {123456789012345.0, Point, "123456789012345"},
        {1e15, Point, "1E15"},
        {1234567890123456.0, Comma, "1,23456789012346E15"},
        {0.00001, Point, "0.00001"},
        {0.000001, Point, "1E-6"},
        {-1.5e-7, Point, "-1.5E-7"},
        {1e100, Point, "1E100"},
        {NaN, Point, "NAN"},
        {Inf, Point, "INF"},
        {-Inf, Point, "-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStr(c.Value, c.Settings()), c.Expected) << c.Expected;
}

TEST(FloatFormat, Patterns)
{
    const struct {
        const char* Pattern;
        double Value;
        TFormatSettings (*Settings)();
        const char* Expected;
    } cases[] = {
        {"0", 1.5, Point, "2"},
        {"0", 2.5, Point, "3"},  // halves away from zero
        {"0", -1.5, Point, "-2"},
        {"0", 0.4, Point, "0"},
        {"0", -0.4, Point, "0"},  // no sign on a zero
        {"0.0", -0.04, Point, "0.0"},
        {"0.0", 0.05, Point, "0.1"},
        {"0.0", 0.15, Point, "0.2"},   // decided on 15 digits, not the binary value
        {"0.00", 1.005, Point, "1.01"},
        {"0.0", 21.0f, Point, "21.0"},
        {"0.000", 12.3456, Point, "12.346"},
        {"0.000", 12.3456, Comma, "12,346"},
        {"0.0000", -0.00005, Point, "-0.0001"},
        {"#,##0.00", 1234567.891, Point, "1,234,567.89"},
        {"#,##0.00", 1234567.891, Comma, "1.234.567,89"},
        {"#,##0", 999.5, Point, "1,000"},
        {"#,##0", -12.0, Point, "-12"},
        {"#.##", 0.5, Point, ".5"},
        {"#.##", 1.0, Point, "1"},
        {"0.##", 1.5, Point, "1.5"},
        {"0.0#", 1.0, Point, "1.0"},
        {"000", 7.0, Point, "007"},
        {"00", 1234.0, Point, "1234"},
        {"#", 0.0, Point, ""},
        {".00", 12.5, Point, "12.50"},
        {"0", 1e20, Point, "100000000000000000000"},
        {"0.000E+00", 12345.0, Point, "1.235E+04"},
        {"0.000E+00", 0.00012345, Comma, "1,235E-04"},
        {"0.000E-00", 12345.0, Point, "1.235E04"},
        {"0.000e-00", 0.00012345, Point, "1.235e-04"},
        {"0.000E+00", 9.9996, Point, "1.000E+01"},
        {"0.000E+00", -12345.0, Point, "-1.235E+04"},
        {"0.0E+0", 0.0, Point, "0.0E+0"},
        {"00.0E+0", 12345.0, Point, "12.3E+3"},
        {"0.0E+00 'units'", 1500.0, Point, "1.5E+03 units"},
        {"0.0;(0.0);'zero'", 1.5, Point, "1.5"},
        {"0.0;(0.0);'zero'", -1.5, Point, "(1.5)"},
        {"0.0;(0.0);'zero'", 0.01, Point, "zero"},
        {"0.0;(0.0);'zero'", -0.01, Point, "zero"},
        {"0.0;;'zero'", -1.5, Point, "-1.5"},
        {"'$'0.00", 3.5, Point, "$3.50"},
        {"\"a;b\" 0", 5.0, Point, "a;b 5"},
        {"0.00 °C", 21.456, Comma, "21,46 °C"},
        {"0-00-00", 1234567.0, Point, "123-45-67"},
        {"", 1.5, Comma, "1,5"},
        {"0.0", NaN, Point, "NAN"},
        {"0.0", -Inf, Point, "-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.Pattern, c.Value, c.Settings()), c.Expected) << "\"" << c.Pattern << "\" " << c.Value;
}

TEST(FloatFormat, ParsesWithTheSettingsSeparator)
{
    const struct {
        const char* Text;
        TFormatSettings (*Settings)();
        double Expected;
    } good[] = {
        {"1.5", Point, 1.5},        {"1,5", Comma, 1.5},   {"  -2.5e3  ", Point, -2500.0},
        {"+.5", Point, 0.5},        {"5.", Point, 5.0},    {"1E-2", Point, 0.01},
        {"007", Point, 7.0},        {"1e-400", Point, 0.0}, {"-0", Point, -0.0},
        {"\t3,25E+1", Comma, 32.5},
    };
    for (const auto& c : good) {
        double value = -1;
        EXPECT_TRUE(TryStrToFloat(c.Text, value, c.Settings())) << c.Text;
        EXPECT_EQ(value, c.Expected) << c.Text;
        EXPECT_EQ(StrToFloat(c.Text, c.Settings()), c.Expected) << c.Text;
    }
    const struct {
        const char* Text;
        TFormatSettings (*Settings)();
    } bad[] = {
        {"1.5", Comma}, {"1,000", Point}, {"1.2.3", Point}, {"", Point},    {"   ", Point},
        {".", Point},   {"1e", Point},    {"e5", Point},    {"1e+", Point}, {"1e400", Point},
        {"0x10", Point}, {"nan", Point},  {"1.5x", Point},  {"- 1", Point}, {"1 5", Point},
    };
    for (const auto& c : bad) {
        double value = 42;
        EXPECT_FALSE(TryStrToFloat(c.Text, value, c.Settings())) << "\"" << c.Text << "\"";
        EXPECT_EQ(value, 42) << "a failed parse leaves the value alone";
        EXPECT_THROW(StrToFloat(c.Text, c.Settings()), EConvertError) << "\"" << c.Text << "\"";
    }
}

TEST(FloatFormat, ParseErrorNamesTheText)
{
    try {
        StrToFloat("12abc", Point());
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'12abc' is not a valid floating point value");
    }
}

TEST(FloatFormat, GeneralFormatReadsBack)
{
    for (double value : {0.1, 123.456, -1.5e-7, 98765.4321, 1e-300, 1.23456789012345e250}) {
        for (auto settings : {Point, Comma})
            EXPECT_EQ(StrToFloat(FloatToStr(value, settings()), settings()), value) << value;
    }
}

TEST(FloatFormat, GlobalSettingsAreTheDefault)
{
    TScopedFormatSettings restore;
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(FloatToStr(2.25), "2,25");
    EXPECT_EQ(FormatFloat("0.0", 2.25), "2,3");
    EXPECT_EQ(StrToFloat("2,25"), 2.25);
}

} // namespace

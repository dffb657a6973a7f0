// Base class of every logger model: the neutral answers of the base class,
// the calibration routines and the logger list.
#include "loggers/qel_base.h"

#include "loggers/value_math.h"

#include <cstdio>

namespace qel {

const TQelClassInfo TQEL::ClassInfo = MakeQelClass<TQEL>("TQEL");

TQELList QelList;

std::uint16_t TQEL::getChID(std::uint32_t) const { return 0x3FFF; }
std::string TQEL::GetChName(std::uint32_t) const { return "?"; }
std::string TQEL::GetChUnit(std::uint32_t) const { return "?"; }
float TQEL::GetChValue(std::uint32_t) const { return 0.0f; }
float TQEL::CalcChValue(std::uint32_t, std::int16_t x) const { return static_cast<float>(x); }

bool TQEL::GetChValue(std::uint32_t, float& value, std::string& text) const
{
    value = 0.0f;
    text.assign(1, '?');
    return false;
}

bool TQEL::IsValidValue(std::uint32_t, float) const { return false; }
std::string TQEL::GetValueStr(std::uint32_t, float) const { return "?"; }
std::int16_t TQEL::GetInvLimitValue(std::uint32_t, float) const { return 0; }
float TQEL::GetLimitValue(std::uint32_t, std::int16_t) const { return 0.0f; }
void TQEL::FillDemoMode() {}
void TQEL::SaveToFile() {}
std::string TQEL::GetName() const { return "?"; }
bool TQEL::IsKnownVersion(std::uint16_t, std::uint16_t) const { return false; }
bool TQEL::IsGAPValue(std::uint32_t, std::int16_t) const { return false; }
bool TQEL::hasUTC() const { return false; }
float TQEL::getChGain(std::uint32_t) const { return 1.0f; }
float TQEL::getChOffset(std::uint32_t) const { return 0.0f; }

float TQEL::CalcY(std::int16_t x, float ofs, float gain)
{
    return RoundToSingle(static_cast<double>(x) * gain + ofs);
}

float TQEL::CalcY(float x, float ofs, float gain)
{
    return RoundToSingle(static_cast<double>(x) * gain + ofs);
}

float TQEL::CalcX(float y, float ofs, float gain)
{
    return RoundToSingle((static_cast<double>(y) - ofs) / gain);
}

static bool AllPointsZero(float X0, float Y0, float X1, float Y1)
{
    return X0 == 0.0f && Y0 == 0.0f && X1 == 0.0f && Y1 == 0.0f;
}

float TQEL::getGain(float X0, float Y0, float X1, float Y1)
{
    if (AllPointsZero(X0, Y0, X1, Y1)) {
        return 1.0f;
    }
    return RoundToSingle((static_cast<double>(Y1) - Y0) / (static_cast<double>(X1) - X0));
}

float TQEL::getOfs(float X0, float Y0, float X1, float Y1)
{
    if (AllPointsZero(X0, Y0, X1, Y1)) {
        return 0.0f;
    }
    const double gain = (static_cast<double>(Y1) - Y0) / (static_cast<double>(X1) - X0);
    return RoundToSingle(Y0 - gain * X0);
}

float TQEL::CalcY(float x, float X0, float Y0, float X1, float Y1)
{
    if (AllPointsZero(X0, Y0, X1, Y1)) {
        return x;
    }
    return CalcY(x, getOfs(X0, Y0, X1, Y1), getGain(X0, Y0, X1, Y1));
}

float TQEL::CalcX(float y, float X0, float Y0, float X1, float Y1)
{
    if (AllPointsZero(X0, Y0, X1, Y1)) {
        return y;
    }
    return CalcX(y, getOfs(X0, Y0, X1, Y1), getGain(X0, Y0, X1, Y1));
}

bool TQEL::ConvertADXL(std::int16_t& ret, std::int16_t inp)
{
    ret = static_cast<std::int16_t>(SignedLowBits(RawBits(inp), 14));
    return true;
}

std::string VersionToStr(std::uint16_t Version)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u", static_cast<unsigned>(Version >> 8),
                  static_cast<unsigned>(Version & 0xFF));
    return text;
}

} // namespace qel

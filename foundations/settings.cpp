// Defaults, load and save of the suite settings records.
#include "foundations/settings.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace qel {

TRegSettings RegSettings;
TRegReader RegReader;
TRegPrototype RegPrototype;

void SetDefaultSettings()
{
    TRegSettings defaults;
    defaults.sRegValAuditDir = RegSettings.sRegValAuditDir;
    defaults.sRegValUsersDir = RegSettings.sRegValUsersDir;
    RegSettings = defaults;
    RegReader = TRegReader{};
}

std::string FloatToRegStr(double Value, const std::string& Default)
{
    if (!std::isfinite(Value)) {
        return Default;
    }
    // " 1.50000000000000E+0000": a sign place, 15 digits, a four-digit exponent.
    char mantissa[32];
    std::snprintf(mantissa, sizeof mantissa, "%.14E", Value);
    std::string text = mantissa;
    const std::size_t e = text.find('E');
    const int exponent = std::stoi(text.substr(e + 1));
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    text = text.substr(0, e) + tail;
    return Value < 0 || std::signbit(Value) ? text : " " + text;
}

double RegStrToFloat(const std::string& Text, double Default)
{
    std::size_t start = Text.find_first_not_of(' ');
    if (start == std::string::npos) {
        return Default;
    }
    if (Text[start] == '+') {
        ++start;
        if (start < Text.size() && Text[start] == '-') {
            return Default;
        }
    }
    const char* first = Text.data() + start;
    const char* last = Text.data() + Text.size();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(value)) {
        return Default;
    }
    return value;
}

} // namespace qel

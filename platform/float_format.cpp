// The general and pattern number formats, and the number parser.
#include "platform/float_format.h"

#include "platform/quoted_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <vector>

namespace plat {

namespace {

constexpr int GeneralPrecision = 15;
constexpr int MaxFixedExponent = 15;   // more integer digits than this go scientific
constexpr int MinFixedExponent = -4;   // values below 0.00001 go scientific

// value = 0.Digits x 10^Exponent. Digits holds no trailing zeros and is empty
// (with Exponent 0) for zero.
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;

    bool IsZero() const { return Digits.empty(); }
    char DigitAt(int position) const
    {
        return position >= 0 && position < static_cast<int>(Digits.size()) ? Digits[position] : '0';
    }
};

void Normalise(TDecimal& decimal)
{
    while (!decimal.Digits.empty() && decimal.Digits.back() == '0')
        decimal.Digits.pop_back();
    if (decimal.Digits.empty())
        decimal.Exponent = 0;
}

// The value with GeneralPrecision significant digits, correctly rounded.
TDecimal ToDecimal(double value)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*e", GeneralPrecision - 1, std::fabs(value));
    TDecimal decimal;
    decimal.Negative = std::signbit(value);
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p) {
        if (*p != '.')
            decimal.Digits += *p;
    }
    decimal.Exponent = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
    Normalise(decimal);
    return decimal;
}

// Keeps the first keep digits, rounding half away from zero.
void RoundToDigits(TDecimal& decimal, int keep)
{
    if (keep >= static_cast<int>(decimal.Digits.size()))
        return;
    if (keep < 0) {
        decimal.Digits.clear();
        Normalise(decimal);
        return;
    }
    const bool roundUp = decimal.Digits[keep] >= '5';
    decimal.Digits.resize(keep);
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && decimal.Digits[i] == '9')
            decimal.Digits[i--] = '0';
        if (i >= 0) {
            ++decimal.Digits[i];
        } else {
            decimal.Digits.insert(0, 1, '1');
            ++decimal.Exponent;
        }
    }
    Normalise(decimal);
}

std::string Digits(const TDecimal& decimal, int from, int count)
{
    std::string digits;
    for (int i = 0; i < count; ++i)
        digits += decimal.DigitAt(from + i);
    return digits;
}

// Literal text: quoted parts without their quotes, everything else as it stands.
void AppendLiteral(std::string_view text, std::string& out)
{
    for (std::size_t i = 0; i < text.size();) {
        if (IsQuote(text[i]))
            i = AppendQuoted(text, i, out);
        else
            out += text[i++];
    }
}

std::vector<std::string_view> SplitSections(std::string_view pattern)
{
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    for (std::size_t i = 0; i < pattern.size();) {
        if (IsQuote(pattern[i])) {
            i = SkipQuoted(pattern, i);
        } else if (pattern[i] == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = ++i;
        } else {
            ++i;
        }
    }
    sections.push_back(pattern.substr(start));
    return sections;
}

// What one section of a number pattern asks for.
struct TNumberPattern {
    std::string_view Text;
    std::size_t MantissaEnd = 0;      // index of the exponent letter, or the size
    bool Scientific = false;
    bool ExponentSignAlways = false;  // "E+" rather than "E-"
    int ExponentDigits = 0;           // the "0"s after the exponent sign
    std::size_t TailStart = 0;        // literal text after the exponent digits
    int IntPlaceholders = 0;
    int FracPlaceholders = 0;
    int MinIntDigits = 0;             // placeholders from the first integer "0" on
    int MinFracDigits = 0;            // fraction placeholders up to the last "0"
    bool Thousands = false;
    bool HasPlaceholders() const { return IntPlaceholders + FracPlaceholders > 0; }
};

TNumberPattern ParsePattern(std::string_view text)
{
    TNumberPattern pattern;
    pattern.Text = text;
    pattern.MantissaEnd = text.size();
    for (std::size_t i = 0; i < text.size();) {
        if (IsQuote(text[i])) {
            i = SkipQuoted(text, i);
            continue;
        }
        if ((text[i] == 'E' || text[i] == 'e') && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) {
            pattern.Scientific = true;
            pattern.MantissaEnd = i;
            pattern.ExponentSignAlways = text[i + 1] == '+';
            std::size_t j = i + 2;
            while (j < text.size() && text[j] == '0')
                ++j;
            pattern.ExponentDigits = static_cast<int>(j - (i + 2));
            pattern.TailStart = j;
            break;
        }
        ++i;
    }
    bool afterPoint = false;
    int firstIntZero = -1;
    for (std::size_t i = 0; i < pattern.MantissaEnd;) {
        const char c = text[i];
        if (IsQuote(c)) {
            i = SkipQuoted(text, i);
            continue;
        }
        if (c == '.') {
            afterPoint = true;
        } else if (c == ',' && !afterPoint) {
            pattern.Thousands = true;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++pattern.FracPlaceholders;
                if (c == '0')
                    pattern.MinFracDigits = pattern.FracPlaceholders;
            } else {
                if (c == '0' && firstIntZero < 0)
                    firstIntZero = pattern.IntPlaceholders;
                ++pattern.IntPlaceholders;
            }
        }
        ++i;
    }
    if (firstIntZero >= 0)
        pattern.MinIntDigits = pattern.IntPlaceholders - firstIntZero;
    return pattern;
}

// Lays the integer and fraction digits into the mantissa part of the pattern:
// integer digits right-aligned on their placeholders (surplus digits go to the
// first one), fraction digits left-aligned, literals where they stand.
class TMantissaWriter {
public:
    TMantissaWriter(const TNumberPattern& pattern, std::string intDigits, std::string fracDigits,
                    const TFormatSettings& settings)
        : FPattern(pattern), FInt(std::move(intDigits)), FFrac(std::move(fracDigits)), FSettings(settings)
    {
    }

    std::string Write();

private:
    void WriteIntDigit(std::size_t index);
    void WriteIntPlaceholder(int placeholder);
    void WriteUnplacedIntDigits();

    const TNumberPattern& FPattern;
    std::string FInt;
    std::string FFrac;
    const TFormatSettings& FSettings;
    std::string FOut;
    bool FIntWritten = false;  // every integer digit is out
};

void TMantissaWriter::WriteIntDigit(std::size_t index)
{
    FOut += FInt[index];
    const std::size_t fromRight = FInt.size() - 1 - index;
    if (FPattern.Thousands && fromRight > 0 && fromRight % 3 == 0)
        FOut += FSettings.ThousandSeparator;
}

void TMantissaWriter::WriteIntPlaceholder(int placeholder)
{
    const auto offset = static_cast<long>(FInt.size()) - FPattern.IntPlaceholders;
    const long first = placeholder == 0 ? 0 : placeholder + offset;
    const long last = placeholder + offset;
    for (long index = std::max(first, 0L); index <= last; ++index)
        WriteIntDigit(static_cast<std::size_t>(index));
    if (placeholder == FPattern.IntPlaceholders - 1)
        FIntWritten = true;
}

// A pattern without integer placeholders still shows the integer digits,
// before the decimal point.
void TMantissaWriter::WriteUnplacedIntDigits()
{
    if (FIntWritten)
        return;
    for (std::size_t index = 0; index < FInt.size(); ++index)
        WriteIntDigit(index);
    FIntWritten = true;
}

std::string TMantissaWriter::Write()
{
    const std::string_view text = FPattern.Text;
    bool afterPoint = false;
    int intPlaceholder = 0;
    int fracPlaceholder = 0;
    if (FPattern.IntPlaceholders == 0 && FInt.empty())
        FIntWritten = true;
    for (std::size_t i = 0; i < FPattern.MantissaEnd;) {
        const char c = text[i];
        if (IsQuote(c)) {
            i = AppendQuoted(text, i, FOut);
            continue;
        }
        if (c == '.') {
            if (!afterPoint) {
                WriteUnplacedIntDigits();
                afterPoint = true;
                if (!FFrac.empty())
                    FOut += FSettings.DecimalSeparator;
            }
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                if (fracPlaceholder < static_cast<int>(FFrac.size()))
                    FOut += FFrac[fracPlaceholder];
                ++fracPlaceholder;
            } else {
                WriteIntPlaceholder(intPlaceholder++);
            }
        } else if (c != ',') {
            FOut += c;
        }
        ++i;
    }
    WriteUnplacedIntDigits();
    return FOut;
}

std::string PadLeft(std::string digits, int width)
{
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return digits;
}

std::string TrimFraction(std::string digits, int minDigits)
{
    while (static_cast<int>(digits.size()) > minDigits && digits.back() == '0')
        digits.pop_back();
    return digits;
}

std::string FormatFixed(const TNumberPattern& pattern, TDecimal decimal, const TFormatSettings& settings, bool& zero)
{
    RoundToDigits(decimal, decimal.Exponent + pattern.FracPlaceholders);
    zero = decimal.IsZero();
    const int intCount = std::max(decimal.Exponent, 0);
    std::string intDigits = PadLeft(Digits(decimal, 0, intCount), pattern.MinIntDigits);
    std::string fracDigits =
        TrimFraction(Digits(decimal, decimal.Exponent, pattern.FracPlaceholders), pattern.MinFracDigits);
    std::string text = TMantissaWriter(pattern, std::move(intDigits), std::move(fracDigits), settings).Write();
    if (decimal.Negative && !decimal.IsZero())
        text.insert(0, 1, '-');
    return text;
}

std::string FormatScientific(const TNumberPattern& pattern, TDecimal decimal, const TFormatSettings& settings,
                             bool& zero)
{
    const int intCount = pattern.IntPlaceholders;
    RoundToDigits(decimal, intCount + pattern.FracPlaceholders);
    zero = decimal.IsZero();
    const int exponent = decimal.IsZero() ? 0 : decimal.Exponent - intCount;
    std::string intDigits = Digits(decimal, 0, intCount);
    while (!intDigits.empty() && intDigits.front() == '0')
        intDigits.erase(0, 1);
    intDigits = PadLeft(std::move(intDigits), pattern.MinIntDigits);
    std::string fracDigits = TrimFraction(Digits(decimal, intCount, pattern.FracPlaceholders), pattern.MinFracDigits);
    std::string text = TMantissaWriter(pattern, std::move(intDigits), std::move(fracDigits), settings).Write();

    text += pattern.Text[pattern.MantissaEnd];
    if (exponent < 0)
        text += '-';
    else if (pattern.ExponentSignAlways)
        text += '+';
    text += PadLeft(std::to_string(std::abs(exponent)), pattern.ExponentDigits);
    AppendLiteral(pattern.Text.substr(pattern.TailStart), text);
    if (decimal.Negative && !decimal.IsZero())
        text.insert(0, 1, '-');
    return text;
}

// The section's text for value; zero tells whether the value rounded to zero.
std::string FormatSection(std::string_view section, double value, const TFormatSettings& settings, bool& zero)
{
    const TNumberPattern pattern = ParsePattern(section);
    const TDecimal decimal = ToDecimal(value);
    if (!pattern.HasPlaceholders()) {
        zero = decimal.IsZero();
        return TMantissaWriter(pattern, "", "", settings).Write();
    }
    return pattern.Scientific ? FormatScientific(pattern, decimal, settings, zero)
                              : FormatFixed(pattern, decimal, settings, zero);
}

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string FloatToStr(double value, const TFormatSettings& settings)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    const TDecimal decimal = ToDecimal(value);
    if (decimal.IsZero())
        return "0";
    std::string text = decimal.Negative ? "-" : "";
    const int digitCount = static_cast<int>(decimal.Digits.size());
    if (decimal.Exponent > MaxFixedExponent || decimal.Exponent < MinFixedExponent) {
        text += decimal.Digits[0];
        if (digitCount > 1)
            text += settings.DecimalSeparator + decimal.Digits.substr(1);
        text += 'E' + std::to_string(decimal.Exponent - 1);
    } else if (decimal.Exponent <= 0) {
        text += '0';
        text += settings.DecimalSeparator;
        text += std::string(static_cast<std::size_t>(-decimal.Exponent), '0') + decimal.Digits;
    } else {
        text += Digits(decimal, 0, decimal.Exponent);
        if (digitCount > decimal.Exponent)
            text += settings.DecimalSeparator + decimal.Digits.substr(static_cast<std::size_t>(decimal.Exponent));
    }
    return text;
}

std::string FormatFloat(std::string_view pattern, double value, const TFormatSettings& settings)
{
    if (pattern.empty() || !std::isfinite(value))
        return FloatToStr(value, settings);
    const std::vector<std::string_view> sections = SplitSections(pattern);
    const bool useNegativeSection = value < 0 && sections.size() >= 2 && !sections[1].empty();
    const std::string_view section = useNegativeSection ? sections[1] : sections[0];
    if (section.empty())
        return FloatToStr(value, settings);
    bool zero = false;
    std::string text = FormatSection(section, useNegativeSection ? -value : value, settings, zero);
    if (zero && sections.size() >= 3 && !sections[2].empty())
        text = FormatSection(sections[2], 0.0, settings, zero);
    return text;
}

bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& settings)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;

    std::string number;  // the same number in C notation
    std::size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    int mantissaDigits = 0;
    bool point = false;
    for (; i < end; ++i) {
        if (IsDigit(text[i])) {
            number += text[i];
            ++mantissaDigits;
        } else if (text[i] == settings.DecimalSeparator && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < end && (text[i] == 'E' || text[i] == 'e')) {
        number += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            number += text[i++];
        int exponentDigits = 0;
        for (; i < end && IsDigit(text[i]); ++i, ++exponentDigits)
            number += text[i];
        if (exponentDigits == 0)
            return false;
    }
    if (i != end)
        return false;
    const double parsed = strtod_l(number.c_str(), nullptr, CLocale());
    if (std::isinf(parsed))
        return false;
    value = parsed;
    return true;
}

double StrToFloat(std::string_view text, const TFormatSettings& settings)
{
    double value = 0;
    if (!TryStrToFloat(text, value, settings))
        throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

} // namespace plat

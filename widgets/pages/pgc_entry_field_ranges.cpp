// The entry field's range bounds as text: integers in the picture's number
// base (decimal, hexadecimal, octal or binary), characters, floating values
// in fixed or scientific form with the field's decimal character, dates and
// times in the pictures of the international support.
//
// Integer texts are written in the first base of hexadecimal, octal and
// binary that the picture names, and read in the first of binary, octal and
// hexadecimal; a text in a number base shows the value's low bits, which a
// signed field reads back with the top shown bit as the sign.
#include "widgets/pages/pgc_base_entry_field.h"

#include "widgets/pages/pgc_strings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace qel {

namespace {

std::u16string TrimSpaces(std::u16string_view S)
{
    const std::size_t first = S.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return {};
    }
    const std::size_t last = S.find_last_not_of(u' ');
    return std::u16string(S.substr(first, last - first + 1));
}

std::u16string Ascii(std::string_view S)
{
    return std::u16string(S.begin(), S.end());
}

// The digits with "-" in front when Negative.
std::u16string Signed(bool Negative, std::string_view Digits)
{
    std::u16string text;
    text.reserve(Digits.size() + 1);
    if (Negative) {
        text.push_back(u'-');
    }
    text.append(Digits.begin(), Digits.end());
    return text;
}

// The 32-bit result of base-2 digits, last digit first; nullopt for another
// character or a "1" beyond bit 31.
std::optional<std::int64_t> BitTextToValue(std::u16string_view S)
{
    std::uint32_t value = 0;
    const std::size_t count = S.size();
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t c = S[count - 1 - i];
        if (c == u'1') {
            if (i >= 32) {
                return std::nullopt;
            }
            value |= 1u << i;
        } else if (c != u'0') {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(value);
}

// Octal digits; nullopt for any other character or a value beyond 32 bits.
std::optional<std::int64_t> OctalTextToValue(std::u16string_view S)
{
    std::uint64_t value = 0;
    bool overflow = false;
    for (char16_t c : S) {
        if (c < u'0' || c > u'7') {
            return std::nullopt;
        }
        overflow = overflow || (value & 0xE0000000u) != 0;
        value = (value * 8 + static_cast<std::uint64_t>(c - u'0')) & 0xFFFFFFFFFFull;
    }
    if (overflow) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(value);
}

} // namespace

std::optional<double> DecimalTextToDouble(std::u16string_view S, char16_t DecimalChar)
{
    std::string ascii;
    for (char16_t c : S) {
        if (c == DecimalChar) {
            c = u'.';
        }
        if (c > 0x7F) {
            return std::nullopt;
        }
        ascii.push_back(static_cast<char>(c));
    }
    if (!ascii.empty() && ascii.front() == '+') {
        ascii.erase(0, 1);
    }
    if (ascii.empty() || ascii.find_first_not_of("0123456789.eE+-") != std::string::npos) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

TPgcBaseEntryField::TNumberBase TPgcBaseEntryField::ReadNumberBase() const
{
    if (sefOptions.Contains(sefBinary)) {
        return TNumberBase::Binary;
    }
    if (sefOptions.Contains(sefOctal)) {
        return TNumberBase::Octal;
    }
    return sefOptions.Contains(sefHexadecimal) ? TNumberBase::Hexadecimal : TNumberBase::Decimal;
}

std::optional<std::int64_t> TPgcBaseEntryField::TextToInteger(const std::u16string& S) const
{
    const std::u16string text = TrimSpaces(std::u16string_view(S).substr(0, kMaxLength));
    if (text.empty()) {
        return 0;
    }
    std::u16string number = text;
    switch (ReadNumberBase()) {
    case TNumberBase::Binary:
        return BitTextToValue(text);
    case TNumberBase::Octal:
        return OctalTextToValue(text);
    case TNumberBase::Hexadecimal:
        if (number.find(u'$') == std::u16string::npos) {
            number.insert(0, 1, u'$');
        }
        break;
    case TNumberBase::Decimal:
        break;
    }
    if (number == u"-2147483648") {
        return -2147483648LL;
    }
    std::int64_t value = 0;
    if (number.size() > kMaxLength || !TextToInt64PChar(number.c_str(), value)) {
        return std::nullopt;
    }
    return value;
}

std::u16string TPgcBaseEntryField::IntegerToText(std::int32_t Value) const
{
    const auto bits = static_cast<std::uint32_t>(Value);
    const int size = DataSize();
    std::array<char16_t, 40> buffer{};
    const auto lastDigits = [&](std::size_t Keep) {
        const std::u16string digits(buffer.data());
        return size < 4 && Keep < digits.size() ? digits.substr(digits.size() - Keep) : digits;
    };
    if (sefOptions.Contains(sefHexadecimal)) {
        LongToHexPChar(buffer, bits);
        return lastDigits(static_cast<std::size_t>(2 * size));
    }
    if (sefOptions.Contains(sefOctal)) {
        LongToOctalPChar(buffer, bits);
        return lastDigits(static_cast<std::size_t>(4 * size));
    }
    if (sefOptions.Contains(sefBinary)) {
        LongToBitsPChar(buffer, bits);
        return lastDigits(static_cast<std::size_t>(8 * size));
    }
    return Ascii(std::to_string(Value));
}

int TPgcBaseEntryField::RangeDecimalPlaces() const
{
    const std::u16string_view mask(efPicture.data());
    const std::size_t point = mask.find(u'.');
    if (point == std::u16string_view::npos) {
        return FDecimalPlaces;
    }
    int places = 0;
    for (int i = static_cast<int>(point) + 1; i < FMaxLength && IsPictureMaskChar(PictureCharAt(i)); ++i) {
        ++places;
    }
    return places;
}

std::u16string TPgcBaseEntryField::FloatToRangeText(double X, int P) const
{
    const bool negative = X < 0;
    const double magnitude = std::fabs(X);
    const std::u16string_view mask(efPicture.data());
    std::u16string text;
    // An exponent trimmed of all its digits keeps one, so the text reads back.
    const auto trimExponent = [](std::u16string S) {
        S = TrimExponentZeros(S);
        if (!S.empty() && (S.back() == u'+' || S.back() == u'-')) {
            S.push_back(u'0');
        }
        return S;
    };
    bool fits = false;
    if (mask.find(u'E') == std::u16string_view::npos) {
        std::vector<char> buffer(static_cast<std::size_t>(P) + 400);
        std::snprintf(buffer.data(), buffer.size(), "%.*f", P, magnitude);
        text = Signed(negative, buffer.data());
        if (text.find(u'E') != std::u16string::npos) {
            text = trimExponent(text);
        } else if (text.find(u'.') != std::u16string::npos) {
            text = TrimTrailingZeros(text);
        }
        fits = text.size() <= FMaxLength;
    }
    if (!fits) {
        // Scientific: a sign place, one digit, ".", the decimals, "E", the
        // exponent's sign and four digits fill the width.
        const int width = P > 0 && P + 9 < FMaxLength ? P + 9 : FMaxLength;
        const int decimals = std::max(width - 9, 1);
        char buffer[400];
        const int written = std::snprintf(buffer, sizeof buffer, "%.*E", decimals, magnitude);
        std::string scientific(buffer, static_cast<std::size_t>(std::max(written, 0)));
        // Four exponent digits, as the run-time writes them.
        const std::size_t e = scientific.find('E');
        if (e != std::string::npos && e + 2 <= scientific.size()) {
            std::string digits = scientific.substr(e + 2);
            digits.insert(0, digits.size() < 4 ? 4 - digits.size() : 0, '0');
            scientific = scientific.substr(0, e + 2) + digits;
        }
        text = trimExponent(Signed(negative, scientific));
    }
    const std::size_t point = text.find(u'.');
    if (point != std::u16string::npos) {
        text[point] = FIntlSup->DecimalChar;
    }
    return text;
}

std::optional<TRangeType> TPgcBaseEntryField::TextToRange(const std::u16string& S) const
{
    TRangeType result;
    const std::uint8_t type = DataType();
    switch (type) {
    case EfChar:
        if (S.empty()) {
            result.rtChar = u' ';
        } else if (S[0] == u'#') {
            const std::u16string_view digits = std::u16string_view(S).substr(1, 3);
            const bool number = !digits.empty()
                && std::all_of(digits.begin(), digits.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
            int code = 0;
            for (char16_t c : digits) {
                code = code * 10 + (c - u'0');
            }
            result.rtChar = number ? static_cast<char16_t>(code) : u' ';
        } else {
            result.rtChar = S[0];
        }
        return result;
    case EfLongInt:
    case EfWord:
    case EfInteger:
    case EfByte:
    case EfShortInt: {
        std::optional<std::int64_t> value = TextToInteger(S);
        if (!value) {
            return std::nullopt;
        }
        // A text in a number base shows the low bits of the value (four octal
        // digits a byte): a signed field reads its top shown bit as the sign.
        const TNumberBase base = ReadNumberBase();
        const bool signedType = type == EfLongInt || type == EfInteger || type == EfShortInt;
        const int size = std::min<int>(DataSize(), 4);
        const int shownBits = base == TNumberBase::Octal && size < 4 ? 12 * size : 8 * size;
        if (base != TNumberBase::Decimal && signedType && *value >= 0 && *value < (std::int64_t{1} << shownBits)
            && (*value >> (shownBits - 1)) != 0) {
            *value -= std::int64_t{1} << shownBits;
        }
        static constexpr std::int64_t kLow[] = {-2147483648LL, 0, -32768, 0, -128};
        static constexpr std::int64_t kHigh[] = {2147483647LL, 65535, 32767, 255, 127};
        const std::size_t index = type - EfLongInt;
        if (*value < kLow[index] || *value > kHigh[index]) {
            return std::nullopt;
        }
        result.rtLong = *value;
        return result;
    }
    case EfReal:
    case EfExtended:
    case EfDouble:
    case EfSingle:
    case EfComp: {
        double value = 0;
        if (!S.empty()) {
            const std::optional<double> parsed = DecimalTextToDouble(S, FIntlSup->DecimalChar);
            if (!parsed) {
                return std::nullopt;
            }
            value = *parsed;
        }
        const double limit = type == EfDouble ? 1.7e308 : type == EfSingle ? 3.4e38 : type == EfComp ? 9.2e18 : 0;
        if (limit != 0 && (value < -limit || value > limit)) {
            return std::nullopt;
        }
        if (type == EfReal) {
            result.rtReal = value;
        } else {
            result.rtExt = Ext80FromDouble(value);
        }
        return result;
    }
    case EfDate: {
        const std::u16string picture = DefaultIntlSup->InternationalDate(true);
        if (S.size() != picture.size()) {
            return std::nullopt;
        }
        result.rtDate = DefaultIntlSup->DateStringToDate(picture, S, Epoch());
        return result.rtDate == -1 ? std::nullopt : std::optional<TRangeType>(result);
    }
    case EfTime: {
        const std::u16string picture = DefaultIntlSup->InternationalTime(false);
        if (S.size() != picture.size()) {
            return std::nullopt;
        }
        result.rtTime = DefaultIntlSup->TimeStringToTime(picture, S);
        return result.rtTime == -1 ? std::nullopt : std::optional<TRangeType>(result);
    }
    case EfDateTime: {
        const std::u16string picture = DateTimePicture();
        if (S.size() != picture.size()) {
            return std::nullopt;
        }
        const std::int32_t day = FIntlSup->DateStringToDate(picture, S, Epoch());
        const std::int32_t seconds = FIntlSup->TimeStringToTime(picture, S);
        if (day == -1 || seconds == -1) {
            return std::nullopt;
        }
        result.rtReal = DayNumberToDateTime(day) + SecondsOfDayToDateTime(seconds);
        return result;
    }
    default:
        return result;
    }
}

std::u16string TPgcBaseEntryField::DateTimePicture() const
{
    std::u16string picture = FIntlSup->InternationalDate(true);
    picture.push_back(u' ');
    picture.append(FIntlSup->InternationalTime(false));
    return picture;
}

std::u16string TPgcBaseEntryField::RangeToText(const TRangeType& Bound) const
{
    switch (DataType()) {
    case EfChar:
        if (Bound.rtChar <= u' ' || Bound.rtChar == u'#') {
            std::u16string code(1, u'#');
            code.append(Ascii(std::to_string(static_cast<int>(Bound.rtChar))));
            return code;
        }
        return std::u16string(1, Bound.rtChar);
    case EfLongInt:
    case EfWord:
    case EfInteger:
    case EfByte:
    case EfShortInt:
        return IntegerToText(static_cast<std::int32_t>(static_cast<std::uint32_t>(Bound.rtLong)));
    case EfReal:
        return FloatToRangeText(Bound.rtReal, RangeDecimalPlaces());
    case EfExtended:
    case EfDouble:
    case EfSingle:
    case EfComp:
        return FloatToRangeText(Ext80AsDouble(Bound.rtExt), RangeDecimalPlaces());
    case EfDate:
        if (Bound.rtDate == -1) {
            return {};
        }
        return DefaultIntlSup->DateToDateString(DefaultIntlSup->InternationalDate(true), Bound.rtDate, false);
    case EfTime:
        if (Bound.rtTime == -1) {
            return {};
        }
        return DefaultIntlSup->TimeToTimeString(DefaultIntlSup->InternationalTime(false), Bound.rtTime, false);
    case EfDateTime:
        if (Bound.rtReal == 0) {
            return {};
        }
        return FIntlSup->DateTimeToDate(DateTimePicture(), Bound.rtReal, false);
    default:
        return {};
    }
}

} // namespace qel

// The international support's locale items, its utility window for
// settings changes, the month and day names and the default pictures it
// builds for the entry fields.
#include "widgets/pages/pgc_intl.h"

#include "platform/controls/application.h"
#include "platform/controls/window.h"
#include "platform/locale.h"
#include "platform/text_encoding.h"
#include "widgets/pages/pgc_messages.h"
#include "widgets/pages/pgc_picture_fields.h"

#include <algorithm>

namespace qel {

TPgcIntlSup* DefaultIntlSup = nullptr;

namespace {

constexpr std::size_t MaxShortDateLength = 29;
constexpr std::size_t MaxLongDateLength = 39;
constexpr std::size_t MaxLiteralLength = 6;
constexpr std::size_t MaxTimePictureLength = 20;
constexpr std::size_t MaxCurrencyIntegerLength = 247;

std::u16string Trimmed(const std::string& Utf8)
{
    std::u16string text = plat::Utf8ToUtf16(Utf8);
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

// A one-character item replaces Target; any other length leaves it.
void TakeSingleChar(const std::u16string& Item, char16_t& Target)
{
    if (Item.size() == 1) {
        Target = Item[0];
    }
}

void TakeSingleChar(const std::string& Utf8, char16_t& Target)
{
    TakeSingleChar(plat::Utf8ToUtf16(Utf8), Target);
}

// A picture item replaces Target when the locale gives one.
void TakePicture(const std::string& Utf8, std::size_t MaxLength, std::u16string& Target)
{
    std::u16string picture = plat::Utf8ToUtf16(Utf8);
    if (!picture.empty()) {
        Target = picture.substr(0, MaxLength);
    }
}

template <std::size_t N>
void TakeNames(const std::array<std::string, N>& Items, std::array<std::u16string, N>& Target)
{
    for (std::size_t i = 0; i < N; ++i) {
        Target[i] = plat::Utf8ToUtf16(Items[i]);
    }
}

template <std::size_t N>
std::size_t LongestName(const std::array<std::u16string, N>& Names)
{
    std::size_t longest = 0;
    for (const std::u16string& name : Names) {
        longest = std::max(longest, name.size());
    }
    return longest;
}

char16_t AsciiUpper(char16_t C)
{
    return C >= u'a' && C <= u'z' ? static_cast<char16_t>(C - u'a' + u'A') : C;
}

char16_t AsciiLower(char16_t C)
{
    return C >= u'A' && C <= u'Z' ? static_cast<char16_t>(C - u'A' + u'a') : C;
}

// The run of Letter's field in Picture given Width characters (never fewer
// than it had when WidenOnly). With CaseRule a one-letter lower-case field
// turns upper case and a two-letter upper-case one lower case.
void ResizeField(std::u16string& Picture, char16_t Letter, std::size_t Width, bool WidenOnly, bool CaseRule)
{
    const TPictureField field = FindPictureField(Picture, Letter);
    if (!field.Present()) {
        return;
    }
    char16_t c = Picture[field.Start];
    if (CaseRule && field.Width == 1 && c == AsciiLower(c)) {
        c = AsciiUpper(c);
    } else if (CaseRule && field.Width == 2 && c == AsciiUpper(c)) {
        c = AsciiLower(c);
    }
    const std::size_t width = WidenOnly ? std::max(field.Width, Width) : Width;
    Picture.replace(field.Start, field.Width, width, c);
}

// The run of From that starts at the first place From appears three times
// in a row, turned into To.
void MarkRunAfterTriple(std::u16string& Picture, char16_t From, char16_t To)
{
    const std::size_t start = Picture.find(std::u16string(3, From));
    if (start == std::u16string::npos) {
        return;
    }
    for (std::size_t i = start; i < Picture.size() && Picture[i] == From; ++i) {
        Picture[i] = To;
    }
}

std::u16string ShapedForMonthMatch(std::u16string_view Text, std::size_t Width)
{
    std::u16string shaped(Text);
    if (shaped.size() < Width) {
        shaped.insert(0, Width - shaped.size(), u' ');
    }
    return shaped.substr(0, Width);
}

} // namespace

TPgcIntlSup::TPgcIntlSup()
{
    ResetInternationalInfo();
}

TPgcIntlSup::~TPgcIntlSup()
{
    ReleaseUtilityWindow();
}

void TPgcIntlSup::ResetInternationalInfo()
{
    ReadLocale();
    ExtractLongDateLiterals();
    MarkNameFields();
    TakeSingleChar(MessageTextByNumber(30368), YesChar);
    TakeSingleChar(MessageTextByNumber(30369), NoChar);
    TakeSingleChar(MessageTextByNumber(30370), TrueChar);
    TakeSingleChar(MessageTextByNumber(30371), FalseChar);
}

void TPgcIntlSup::ReadLocale()
{
    const plat::TLocaleInfo& locale = plat::CurrentLocaleProvider().UserDefaultLocale();
    TakeSingleChar(locale.DecimalSeparator, DecimalChar);
    TakeSingleChar(locale.ThousandSeparator, CommaChar);
    if (locale.CurrencyDigits >= 0 && locale.CurrencyDigits <= 255) {
        CurrencyDigits = static_cast<std::uint8_t>(locale.CurrencyDigits);
    }
    if (DecimalChar == CommaChar) {
        DecimalChar = u'.';
        CommaChar = u',';
    }
    FwNegCurrencyForm = locale.NegCurrencyFormat;
    TakeSingleChar(locale.ListSeparator, ListChar);
    FCountry = Trimmed(locale.Country);

    const std::u16string symbol = Trimmed(locale.CurrencySymbol);
    CurrencyLtStr = symbol;
    CurrencyRtStr = symbol;
    FwCurrencyForm = locale.CurrencyFormat;
    if (FwCurrencyForm == 2) {
        CurrencyLtStr += u' ';
    } else if (FwCurrencyForm == 3) {
        CurrencyRtStr.insert(0, 1, u' ');
    }

    FwTLZero = locale.TimeLeadingZero;
    Fw12Hour = !locale.LongTimeFormat.empty() && locale.LongTimeFormat.back() == 'M';
    TakeSingleChar(locale.TimeSeparator, FColonChar);
    TakeSingleChar(locale.DateSeparator, SlashChar);
    Fw1159 = Trimmed(locale.TimeAMString);
    Fw2359 = Trimmed(locale.TimePMString);

    TakePicture(locale.ShortDateFormat, MaxShortDateLength, FwShortDate);
    std::replace(FwShortDate.begin(), FwShortDate.end(), SlashChar, u'/');
    TakePicture(locale.LongDateFormat, MaxLongDateLength, FwLongDate);

    TakeNames(locale.ShortMonthNames, FShortMonthNames);
    TakeNames(locale.LongMonthNames, FLongMonthNames);
    TakeNames(locale.ShortDayNames, FShortDayNames);
    TakeNames(locale.LongDayNames, FLongDayNames);
}

void TPgcIntlSup::ExtractLongDateLiterals()
{
    for (std::size_t k = 0; k < 3; ++k) {
        FLongDateLiterals[k].clear();
        const std::size_t open = FwLongDate.find(u'\'');
        if (open == std::u16string::npos) {
            continue;
        }
        FwLongDate.erase(open, 1);
        const std::size_t close = FwLongDate.find(u'\'', open);
        if (close == std::u16string::npos) {
            continue;
        }
        const std::size_t kept = std::min(close - open, MaxLiteralLength);
        FLongDateLiterals[k] = FwLongDate.substr(open, kept);
        FwLongDate.replace(open, close - open, kept, LongDateLiteralMarkers[k]);
        FwLongDate.erase(open + kept, 1);
    }
}

void TPgcIntlSup::MarkNameFields()
{
    MarkRunAfterTriple(FwLongDate, u'd', u'w');
    MarkRunAfterTriple(FwShortDate, u'M', u'n');
    MarkRunAfterTriple(FwLongDate, u'M', u'n');
    for (std::size_t i = 0; i < FwLongDate.size(); ++i) {
        const bool separator = FwLongDate[i] == u',' || FwLongDate[i] == u'.';
        const bool spaced = i + 1 < FwLongDate.size() && FwLongDate[i + 1] == u' ';
        if (separator && !spaced && FwLongDate.size() < MaxLongDateLength) {
            FwLongDate.insert(i + 1, 1, u' ');
        }
    }
}

void TPgcIntlSup::SetAutoUpdate(bool Value)
{
    if (Value == FAutoUpdate) {
        return;
    }
    if (Value) {
        if (plat::Application == nullptr) {
            throw plat::EWindowError("No application runs to receive settings changes");
        }
        // Top-level, so that a settings change broadcast to every window reaches it.
        FIntlHandle = plat::CreateWindowHandle(
            plat::Application->Queue(), [this](plat::UINT Message, plat::WPARAM, plat::LPARAM) {
                return UtilityWindowProc(Message);
            }, true);
    } else {
        ReleaseUtilityWindow();
    }
    FAutoUpdate = Value;
}

plat::LRESULT TPgcIntlSup::UtilityWindowProc(plat::UINT Message)
{
    if (Message != WM_WININICHANGE || !FAutoUpdate) {
        return 0;
    }
    try {
        if (OnWinIniChange) {
            OnWinIniChange(this);
        } else {
            ResetInternationalInfo();
        }
    } catch (...) {
        if (plat::Application != nullptr) {
            plat::Application->HandleException(this);
        }
    }
    return 0;
}

void TPgcIntlSup::ReleaseUtilityWindow()
{
    if (FIntlHandle != 0) {
        plat::DestroyWindowHandle(FIntlHandle);
        FIntlHandle = 0;
    }
}

// ---- Names ----

std::u16string TPgcIntlSup::MonthToString(std::int32_t Month) const
{
    return Month >= 1 && Month <= 12 ? FLongMonthNames[Month - 1] : std::u16string();
}

std::u16string TPgcIntlSup::DayOfWeekToString(TSysDayType Day) const
{
    const auto index = static_cast<std::size_t>(Day);
    return index < FLongDayNames.size() ? FLongDayNames[index] : std::u16string();
}

std::int32_t TPgcIntlSup::MonthStringToMonth(std::u16string_view S, std::uint8_t Width) const
{
    if (Width == 0) {
        return 0;
    }
    const std::u16string typed = ShapedForMonthMatch(S, Width);
    for (std::int32_t month = 12; month >= 1; --month) {
        if (SameTextIgnoringCase(ShapedForMonthMatch(FLongMonthNames[month - 1], Width), typed)
            || SameTextIgnoringCase(ShapedForMonthMatch(FShortMonthNames[month - 1], Width), typed)) {
            return month;
        }
    }
    return 0;
}

std::u16string TPgcIntlSup::MonthName(std::int32_t Month, std::size_t Width) const
{
    if (Month < 1 || Month > 12) {
        return FieldNameText({}, Width);
    }
    const std::u16string& shortName = FShortMonthNames[Month - 1];
    return FieldNameText(shortName.size() >= Width ? shortName : FLongMonthNames[Month - 1], Width);
}

std::u16string TPgcIntlSup::DayName(std::int32_t Day, std::size_t Width) const
{
    if (Day < 0 || Day > 6) {
        return FieldNameText({}, Width);
    }
    const std::u16string& shortName = FShortDayNames[Day];
    return FieldNameText(shortName.size() >= Width ? shortName : FLongDayNames[Day], Width);
}

// ---- Pictures ----

std::u16string TPgcIntlSup::InternationalDate(bool ForceCentury) const
{
    std::u16string picture = FwShortDate;
    ResizeField(picture, u'd', 2, true, true);
    ResizeField(picture, u'm', 2, true, true);
    ResizeField(picture, u'y', ForceCentury ? 4 : 2, true, false);
    return picture;
}

std::u16string TPgcIntlSup::InternationalLongDate(bool ShortNames, bool ExcludeDOW) const
{
    std::u16string picture = FwLongDate;
    const TPictureField weekday = FindPictureField(picture, u'w');
    if (ExcludeDOW && weekday.Present()) {
        const std::size_t next = picture.find_first_of(u"dDmMnNyY", weekday.Start + weekday.Width);
        picture.erase(weekday.Start, next == std::u16string::npos ? std::u16string::npos : next - weekday.Start);
    } else if (ShortNames) {
        ResizeField(picture, u'w', 3, false, true);
    } else if (weekday.Width == 4) {
        ResizeField(picture, u'w', LongestName(FLongDayNames), false, true);
    }
    const TPictureField monthName = FindPictureField(picture, u'n');
    if (ShortNames) {
        ResizeField(picture, u'n', 3, false, true);
    } else if (monthName.Width == 4) {
        ResizeField(picture, u'n', LongestName(FLongMonthNames), false, true);
    }
    ResizeField(picture, u'd', 2, false, true);
    ResizeField(picture, u'm', 2, false, true);
    ResizeField(picture, u'y', 4, false, false);
    return picture;
}

std::u16string TPgcIntlSup::InternationalTime(bool ShowSeconds) const
{
    std::u16string picture = ShowSeconds ? u"hh:mm:ss" : u"hh:mm";
    if (!FwTLZero) {
        picture[0] = u'H';
    }
    if (Fw12Hour) {
        picture += u' ';
        picture.append(std::max(Fw1159.size(), Fw2359.size()), u't');
        picture.resize(std::min(picture.size(), MaxTimePictureLength));
    }
    return picture;
}

std::u16string TPgcIntlSup::InternationalCurrency(char16_t Picture, std::uint8_t MaxDigits, bool Float,
    bool AddCommas, bool IsNumeric) const
{
    if (MaxDigits == 0) {
        return {};
    }
    std::size_t length = MaxDigits + (AddCommas ? (MaxDigits - 1) / 3 : 0);
    length = std::min(length, MaxCurrencyIntegerLength);
    std::u16string picture(length, Picture);
    if (AddCommas) {
        // Every fourth place from the right holds the group separator.
        for (std::size_t fromRight = 3; fromRight < length; fromRight += 4) {
            picture[length - 1 - fromRight] = u',';
        }
    }
    if (CurrencyDigits != 0) {
        picture += u'.';
        picture.append(CurrencyDigits, Picture);
    }
    if (FwNegCurrencyForm == 6) {
        picture += u'g';
    }
    const bool symbolAfter = FwCurrencyForm % 2 != 0;
    if (Float && !symbolAfter) {
        picture.insert(0, CurrencyLtStr.size(), u'$');
    } else if (symbolAfter) {
        picture.append(CurrencyRtStr.size(), u'C');
    } else {
        picture.insert(0, CurrencyLtStr.size(), u'c');
    }
    if (IsNumeric) {
        if (FwNegCurrencyForm == 0 || FwNegCurrencyForm == 4) {
            picture += u'p';
        } else if ((FwNegCurrencyForm == 3 || FwNegCurrencyForm == 7 || FwNegCurrencyForm == 10) && symbolAfter) {
            picture += u'g';
        }
    }
    return picture;
}

// ---- Unit start and end ----

void InitIntlUnit()
{
    InitDaysUnit();
    delete DefaultIntlSup;
    DefaultIntlSup = new TPgcIntlSup();
}

void FinalizeIntlUnit()
{
    delete DefaultIntlSup;
    DefaultIntlSup = nullptr;
}

} // namespace qel

// The entry fields' user picture characters and substitution codes.
#include "widgets/pages/pgc_user_data.h"

namespace qel {

namespace {

constexpr char16_t FirstUserChar = u'1';
constexpr char16_t LastUserChar = u'8';
constexpr char16_t FirstSubstCode = 241;
constexpr char16_t LastSubstCode = 248;

bool IsUserChar(char16_t Index)
{
    return Index >= FirstUserChar && Index <= LastUserChar;
}

bool IsSubstCode(char16_t Code)
{
    return Code >= FirstSubstCode && Code <= LastSubstCode;
}

} // namespace

TPgcUserData::TPgcUserData()
{
    for (TCharSet& set : FUserCharSets) {
        set.IncludeRange(1, 255);
    }
    FForceCase.fill(mcNoChange);
    for (std::size_t i = 0; i < FSubstChars.size(); ++i) {
        FSubstChars[i] = static_cast<char16_t>(FirstSubstCode + i);
    }
}

TCharSet TPgcUserData::GetUserCharSet(char16_t Index) const
{
    return IsUserChar(Index) ? FUserCharSets[Index - FirstUserChar] : TCharSet{};
}

void TPgcUserData::SetUserCharSet(char16_t Index, const TCharSet& Value)
{
    if (IsUserChar(Index)) {
        TCharSet set = Value;
        FUserCharSets[Index - FirstUserChar] = set.Exclude(0);
    }
}

TCaseChange TPgcUserData::GetForceCase(char16_t Index) const
{
    return IsUserChar(Index) ? FForceCase[Index - FirstUserChar] : mcNoChange;
}

void TPgcUserData::SetForceCase(char16_t Index, TCaseChange Value)
{
    if (IsUserChar(Index)) {
        FForceCase[Index - FirstUserChar] = Value;
    }
}

char16_t TPgcUserData::GetSubstChar(char16_t Code) const
{
    return IsSubstCode(Code) ? FSubstChars[Code - FirstSubstCode] : char16_t{0};
}

void TPgcUserData::SetSubstChar(char16_t Code, char16_t Value)
{
    if (IsSubstCode(Code)) {
        FSubstChars[Code - FirstSubstCode] = Value;
    }
}

TPgcUserData& DefaultUserData()
{
    static TPgcUserData data;
    return data;
}

} // namespace qel

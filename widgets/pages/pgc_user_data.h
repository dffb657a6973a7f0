// The user-definable picture-mask characters of the entry fields: the
// characters each of the picture characters '1' .. '8' accepts, the case
// change it applies, and the characters the substitution codes 241 .. 248
// stand for.
#pragma once

#include "widgets/pages/pgc_data.h"

namespace qel {

class TPgcUserData {
public:
    // Every user set holds the codes 1 .. 255, no case change, and each
    // substitution code stands for itself.
    TPgcUserData();

    // Index '1' .. '8'; another index gives an empty set or is ignored.
    TCharSet GetUserCharSet(char16_t Index) const;
    // Code 0 is never kept.
    void SetUserCharSet(char16_t Index, const TCharSet& Value);
    // Index '1' .. '8'; another index gives mcNoChange or is ignored.
    TCaseChange GetForceCase(char16_t Index) const;
    void SetForceCase(char16_t Index, TCaseChange Value);
    // Code 241 .. 248; another code gives the character 0 or is ignored.
    char16_t GetSubstChar(char16_t Code) const;
    void SetSubstChar(char16_t Code, char16_t Value);

private:
    TUserCharSets FUserCharSets;
    TForceCase FForceCase;
    TSubstChars FSubstChars;
};

// The user data of the entry fields that are given none.
TPgcUserData& DefaultUserData();

} // namespace qel

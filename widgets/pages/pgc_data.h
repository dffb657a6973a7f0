// Declarations the library's entry fields, editor and command processor
// share: option sets, edit buffers, range bounds, command records, the
// letter set and the 10-byte extended-precision record.
#pragma once

#include "platform/objects/events.h"
#include "platform/objects/set.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace qel {

// A set of the 256 8-bit character codes, one bit each (32 bytes).
class TCharSet {
public:
    constexpr TCharSet() = default;

    constexpr bool Contains(std::uint8_t code) const { return (FBits[code >> 3] & Bit(code)) != 0; }
    constexpr TCharSet& Include(std::uint8_t code)
    {
        FBits[code >> 3] = static_cast<std::uint8_t>(FBits[code >> 3] | Bit(code));
        return *this;
    }
    constexpr TCharSet& Exclude(std::uint8_t code)
    {
        FBits[code >> 3] = static_cast<std::uint8_t>(FBits[code >> 3] & ~Bit(code));
        return *this;
    }
    // Includes first .. last (nothing when last < first).
    constexpr TCharSet& IncludeRange(std::uint8_t first, std::uint8_t last)
    {
        for (int code = first; code <= last; ++code) {
            Include(static_cast<std::uint8_t>(code));
        }
        return *this;
    }
    friend constexpr bool operator==(const TCharSet&, const TCharSet&) = default;

private:
    static constexpr std::uint8_t Bit(std::uint8_t code) { return static_cast<std::uint8_t>(1u << (code & 7)); }

    std::array<std::uint8_t, 32> FBits{};
};
static_assert(sizeof(TCharSet) == 32);

// Entry-field state flags.
enum TsefOption {
    sefValPending, sefInvalid, sefNoHighlight, sefIgnoreFocus, sefValidating, sefModified,
    sefEverModified, sefFixSemiLits, sefHexadecimal, sefOctal, sefBinary, sefNumeric,
    sefRealVar, sefNoLiterals, sefHaveFocus, sefRetainPos, sefErrorPending, sefInsert,
    sefLiteral, sefAcceptChar, sefCharOK, sefUpdating, sefGettingValue, sefUserValidating,
    sefNoUserValidate,
};
using TsefOptionSet = plat::TSet<TsefOption>;

enum TCaseChange { mcNoChange, mcUpperCase, mcLowerCase, mcMixedCase };

// Per user picture character '1' .. '8' (index 0 .. 7).
using TUserCharSets = std::array<TCharSet, 8>;
using TForceCase = std::array<TCaseChange, 8>;
// One character per substitution code 241 .. 248 (index 0 .. 7).
using TSubstChars = std::array<char16_t, 8>;

// An entry field's edit text and a picture mask, zero-terminated.
using TEditString = std::array<char16_t, 256>;
using TPictureMask = std::array<char16_t, 256>;

// A 10-byte extended-precision number: a 64-bit mantissa with an explicit
// leading bit (bytes 0-7, little-endian), then the 15-bit exponent biased by
// 16383 and the sign in bit 15 (bytes 8-9, little-endian).
struct TExtended80 {
    std::uint8_t Bytes[10];
};
static_assert(sizeof(TExtended80) == 10);

// One range bound of an entry field, read as the field's data type. Every
// variant starts at byte 0; a new bound is all zero.
#pragma pack(push, 1)
union TRangeType {
    std::uint8_t rt10[10] = {}; // the raw bytes
    char16_t rtChar;
    std::uint8_t rtByte;
    std::int8_t rtSht;
    std::int16_t rtInt;
    std::uint16_t rtWord;
    std::int64_t rtLong;
    float rtSgl;
    void* rtPtr;
    double rtReal;
    double rtDbl;
    std::int64_t rtComp;
    TExtended80 rtExt;
    std::int32_t rtDate; // day number
    std::int32_t rtTime; // seconds of the day
};
#pragma pack(pop)
static_assert(sizeof(TRangeType) == 10);
static_assert(offsetof(TRangeType, rt10) == 0 && offsetof(TRangeType, rtChar) == 0
    && offsetof(TRangeType, rtByte) == 0 && offsetof(TRangeType, rtSht) == 0
    && offsetof(TRangeType, rtInt) == 0 && offsetof(TRangeType, rtWord) == 0
    && offsetof(TRangeType, rtLong) == 0 && offsetof(TRangeType, rtSgl) == 0
    && offsetof(TRangeType, rtPtr) == 0 && offsetof(TRangeType, rtReal) == 0
    && offsetof(TRangeType, rtDbl) == 0 && offsetof(TRangeType, rtComp) == 0
    && offsetof(TRangeType, rtExt) == 0 && offsetof(TRangeType, rtDate) == 0
    && offsetof(TRangeType, rtTime) == 0);

enum TSearchOptions { soFind, soBackward, soMatchCase, soGlobal, soReplace, soReplaceAll, soWholeWord, soSelText };
using TSearchOptionSet = plat::TSet<TSearchOptions>;

enum TTabType { ttReal, ttFixed, ttSmart };
enum TZeroDisplay { zdShow, zdHide, zdHideUntilModified };

// One key binding of a command table: one or two keys, each a virtual-key
// code with its shift byte, and the command code.
struct TPgcCmdRec {
    std::uint8_t Key1 = 0;
    std::uint8_t SS1 = 0;
    std::uint8_t Key2 = 0;
    std::uint8_t SS2 = 0;
    std::uint16_t Cmd = 0;

    // The first four bytes as one little-endian value (Key1 lowest): two
    // records bind the same key sequence exactly when their Keys are equal.
    constexpr std::uint32_t Keys() const
    {
        return static_cast<std::uint32_t>(Key1) | static_cast<std::uint32_t>(SS1) << 8
            | static_cast<std::uint32_t>(Key2) << 16 | static_cast<std::uint32_t>(SS2) << 24;
    }
    constexpr void SetKeys(std::uint32_t keys)
    {
        Key1 = static_cast<std::uint8_t>(keys);
        SS1 = static_cast<std::uint8_t>(keys >> 8);
        Key2 = static_cast<std::uint8_t>(keys >> 16);
        SS2 = static_cast<std::uint8_t>(keys >> 24);
    }
};
static_assert(sizeof(TPgcCmdRec) == 6 && offsetof(TPgcCmdRec, Cmd) == 4);

using TShowStatusEvent = plat::TEvent<void(plat::TObject* Sender, int LineNum, int ColNum)>;
using TTopLineChangedEvent = plat::TEvent<void(plat::TObject* Sender, int Line)>;

// The space, ",", "-", ".", "A" .. "Z", "a" .. "z" and the letters of the
// Windows-1252 code page among 128 .. 255.
extern const TCharSet AlphaCharSet;

// Bit-exact conversions between the extended record and a double. To a
// double the mantissa rounds to nearest (ties to even); beyond the double's
// range it becomes an infinity or a zero of the same sign; an unnormal (no
// leading bit under a non-zero exponent) gives a NaN. From a double every
// finite value, subnormals included, is held exactly.
double Ext80AsDouble(const TExtended80& value);
TExtended80 Ext80FromDouble(double value);

} // namespace qel

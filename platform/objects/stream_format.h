// The component stream format: how TWriter stores a tree of components and
// TReader reads it back. All numbers are little-endian.
//
// Stream      := Signature Component
// Signature   := the four bytes "QCF1"
// Component   := ClassName Name Property* End Component* End
//                (the properties, then the children GetChildren gives)
// ClassName, Name, PropName := Str
// Str         := one length byte (0 .. 255), then that many bytes of UTF-8
// Property    := PropName Value
//                A sub-object's properties stand in its owner's list with
//                dotted names ("Font.Size"); a property its class defines
//                itself (DefineProperties) is written by its own writer,
//                as any number of values.
// Value       := one tag byte (TValueType), then the tag's payload:
//
//   tag  name          payload
//    0   vaNull        none: the end of a list (properties, children,
//                      collection items, list values)
//    1   vaList        Value* vaNull
//    2   vaInt8        1 byte, signed
//    3   vaInt16       2 bytes, signed
//    4   vaInt32       4 bytes, signed
//    5   vaInt64       8 bytes, signed
//    6   vaDouble      8 bytes, IEEE 754 binary64
//    7   vaString      4-byte length (unsigned), then that many bytes of UTF-8
//    8   vaFalse       none
//    9   vaTrue        none
//   10   vaIdent       Str: an enumeration value, a named integer (colour)
//                      or a component reference ("Button1", or
//                      "Panel1.Button1" for a component owned below the root)
//   11   vaSet         Str* and an empty Str: the names of the members
//   12   vaBinary      4-byte length (unsigned), then that many raw bytes
//   13   vaNil         none: no component referenced
//   14   vaCollection  Item* vaNull, where Item := [Integer] vaList Property* vaNull
//                      (a leading integer, the item's index, may stand
//                      before an item and is ignored)
//
// An integer takes the smallest of vaInt8, vaInt16, vaInt32 and vaInt64
// that holds it. A property equal to its default, or whose stored predicate
// is false, is not written. Tags 0 to 4 and 14 keep the numbers older
// streams of the component libraries used.
#pragma once

#include <cstdint>

namespace plat {

inline constexpr char kComponentStreamSignature[4] = {'Q', 'C', 'F', '1'};

enum class TValueType : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaInt64 = 5,
    vaDouble = 6,
    vaString = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaIdent = 10,
    vaSet = 11,
    vaBinary = 12,
    vaNil = 13,
    vaCollection = 14,
};

inline constexpr std::uint8_t kLastValueType = static_cast<std::uint8_t>(TValueType::vaCollection);

// The deepest nesting of components, lists and collections a reader accepts.
inline constexpr int kMaxStreamNesting = 64;

} // namespace plat

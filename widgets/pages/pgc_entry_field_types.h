// The vocabulary of the library's entry fields: their options, data-type
// codes, field classes, the command codes that only entry fields receive,
// their validation error codes and their event types.
#pragma once

#include "platform/objects/events.h"
#include "platform/objects/set.h"

#include <cstdint>
#include <string>

namespace qel {

enum TPgcEntryFieldOption {
    efoArrowIncDec, efoCaretToEnd, efoForceInsert, efoForceOvertype, efoInputRequired, efoPasswordMode,
    efoReadOnly, efoRightAlign, efoRightJustify, efoSoftValidation, efoStripLiterals, efoTrimBlanks,
};
using TPgcEntryFieldOptions = plat::TSet<TPgcEntryFieldOption>;

// Data-type codes: the low six bits of a field's efDataType.
constexpr std::uint8_t EfString = 0;
constexpr std::uint8_t EfChar = 1;
constexpr std::uint8_t EfBoolean = 2;
constexpr std::uint8_t EfYesNo = 3;
constexpr std::uint8_t EfLongInt = 4;
constexpr std::uint8_t EfWord = 5;
constexpr std::uint8_t EfInteger = 6;
constexpr std::uint8_t EfByte = 7;
constexpr std::uint8_t EfShortInt = 8;
constexpr std::uint8_t EfReal = 9;
constexpr std::uint8_t EfExtended = 10;
constexpr std::uint8_t EfDouble = 11;
constexpr std::uint8_t EfSingle = 12;
constexpr std::uint8_t EfComp = 13;
constexpr std::uint8_t EfDate = 14;
constexpr std::uint8_t EfTime = 15;
constexpr std::uint8_t EfDateTime = 16;
constexpr std::uint8_t EfLastDataType = EfDateTime;

// Field classes: efFieldClass, and the top two bits of efDataType.
constexpr std::uint8_t EfClassSimple = 0;
constexpr std::uint8_t EfClassPicture = 1;
constexpr std::uint8_t EfClassNumeric = 2;

// Commands that reach an entry field's EditCommand without a key binding.
constexpr std::uint16_t ccTypedChar = 249;   // a typed character; the message's WParam holds it
constexpr std::uint16_t ccMouseDown = 250;   // left button pressed; LParam holds the client point
constexpr std::uint16_t ccMouseDrag = 251;   // moved with the primary button held
constexpr std::uint16_t ccDoubleClick = 253;
// Codes from here up are the application's own commands.
constexpr std::uint16_t ccUserFirst = 256;

// Validation error codes (0 = valid); 32768 and more are the application's.
constexpr std::uint16_t epeRangeError = 256;
constexpr std::uint16_t epeInvalidValue = 257;
constexpr std::uint16_t epeInputRequired = 258;
constexpr std::uint16_t epeInvalidDate = 259;
constexpr std::uint16_t epeInvalidTime = 260;
constexpr std::uint16_t epeBlanksInField = 261;
constexpr std::uint16_t epePartialEntry = 262;
constexpr std::uint16_t epeUserFirst = 32768;

using TValidationErrorEvent =
    plat::TEvent<void(plat::TObject* Sender, std::uint16_t ErrorCode, const std::string& ErrorMsg)>;
using TUserCommandEvent = plat::TEvent<void(plat::TObject* Sender, std::uint16_t Command)>;
using TUserValidationEvent = plat::TEvent<void(plat::TObject* Sender, std::uint16_t& ErrorCode)>;

} // namespace qel

// The command codes a key translates to through the command tables, and the
// translation results that are no command. The name of code c is the
// library message 33768 + c.
#pragma once

#include <cstdint>

namespace qel {

constexpr std::uint16_t ccNone = 0;
constexpr std::uint16_t ccBack = 1;
constexpr std::uint16_t ccBotOfPage = 2;
constexpr std::uint16_t ccBotRightCell = 3;
constexpr std::uint16_t ccCompleteDate = 4;
constexpr std::uint16_t ccCompleteTime = 5;
constexpr std::uint16_t ccCopy = 6;
constexpr std::uint16_t ccCtrlChar = 7;
constexpr std::uint16_t ccCut = 8;
constexpr std::uint16_t ccDec = 9;
constexpr std::uint16_t ccDel = 10;
constexpr std::uint16_t ccDelBol = 11;
constexpr std::uint16_t ccDelEol = 12;
constexpr std::uint16_t ccDelLine = 13;
constexpr std::uint16_t ccDelWord = 14;
constexpr std::uint16_t ccDown = 15;
constexpr std::uint16_t ccEnd = 16;
constexpr std::uint16_t ccExtendDown = 17;
constexpr std::uint16_t ccExtendEnd = 18;
constexpr std::uint16_t ccExtendHome = 19;
constexpr std::uint16_t ccExtendLeft = 20;
constexpr std::uint16_t ccExtendPgDn = 21;
constexpr std::uint16_t ccExtendPgUp = 22;
constexpr std::uint16_t ccExtendRight = 23;
constexpr std::uint16_t ccExtendUp = 24;
constexpr std::uint16_t ccExtBotOfPage = 25;
constexpr std::uint16_t ccExtFirstPage = 26;
constexpr std::uint16_t ccExtLastPage = 27;
constexpr std::uint16_t ccExtTopOfPage = 28;
constexpr std::uint16_t ccExtWordLeft = 29;
constexpr std::uint16_t ccExtWordRight = 30;
constexpr std::uint16_t ccFirstPage = 31;
constexpr std::uint16_t ccGotoMarker0 = 32;   // .. ccGotoMarker0 + 9
constexpr std::uint16_t ccHome = 42;
constexpr std::uint16_t ccInc = 43;
constexpr std::uint16_t ccIns = 44;
constexpr std::uint16_t ccLastPage = 45;
constexpr std::uint16_t ccLeft = 46;
constexpr std::uint16_t ccNewLine = 47;
constexpr std::uint16_t ccNextPage = 48;
constexpr std::uint16_t ccPageLeft = 49;
constexpr std::uint16_t ccPageRight = 50;
constexpr std::uint16_t ccPaste = 51;
constexpr std::uint16_t ccPrevPage = 52;
constexpr std::uint16_t ccRedo = 53;
constexpr std::uint16_t ccRestore = 54;
constexpr std::uint16_t ccRight = 55;
constexpr std::uint16_t ccScrollDown = 56;
constexpr std::uint16_t ccScrollUp = 57;
constexpr std::uint16_t ccSetMarker0 = 58;    // .. ccSetMarker0 + 9
constexpr std::uint16_t ccTab = 68;
constexpr std::uint16_t ccTableEdit = 69;
constexpr std::uint16_t ccTopLeftCell = 70;
constexpr std::uint16_t ccTopOfPage = 71;
constexpr std::uint16_t ccUndo = 72;
constexpr std::uint16_t ccUp = 73;
constexpr std::uint16_t ccWordLeft = 74;
constexpr std::uint16_t ccWordRight = 75;

// No command: the key is ordinary input for the control.
constexpr std::uint16_t ccPlainKey = 252;
// The second key did not complete a two-key command; it is to be swallowed.
constexpr std::uint16_t ccBrokenSequence = 254;
// The first key of a two-key command, or a modifier key while one is pending.
constexpr std::uint16_t ccPartialKey = 255;

// Shift bytes of the command records, added together (Ctrl+Shift is 6).
constexpr std::uint8_t ssShiftByte = 2;
constexpr std::uint8_t ssCtrlByte = 4;
constexpr std::uint8_t ssAltByte = 8;
// A second key's shift byte that matches the key with Ctrl or without any modifier.
constexpr std::uint8_t ssCtrlOrNone = 128;

} // namespace qel

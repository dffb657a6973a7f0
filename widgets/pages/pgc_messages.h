// The component library's message table: every text the library shows or
// raises is found by its 16-bit message number.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qel {

// One entry of the table. MessageStr is UTF-8, or null for a number whose
// text is not known yet; such a number reads as "Message <number>".
struct SrMsgNumLookupRec {
    std::int32_t MessageNum;
    const char* MessageStr;
};

// The 376 entries in ascending order of MessageNum, each number once.
// Read-only; safe to read from any thread.
std::span<const SrMsgNumLookupRec> MessageTable();

// The text of a message number, or an empty text when the table lacks it.
std::u16string LookupMessageText(std::uint16_t Number);

// LookupMessageText, or "Unknown" for a number the table lacks. The one way
// the library's units get their texts.
std::u16string MessageTextByNumber(std::uint16_t Number);

// The same as a procedure that sets Text.
inline void MessageTextByNumber(std::u16string& Text, std::uint16_t Number)
{
    Text = MessageTextByNumber(Number);
}

} // namespace qel

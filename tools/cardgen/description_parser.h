// Reads a card description from text, one statement per line, for the cardgen
// command (the format is described in ParseCardDescription's comment).
#pragma once

#include "tools/cardgen/card_description.h"

#include <istream>

namespace qel::cardgen {

// Statements ('#' starts a comment; numbers are decimal or 0x hexadecimal):
//   containers <clusters per container>
//   logger <name> model=<code> fw=<word> pc=<word> sn=<serial> [config=<hex bytes>]
//   recording <name> logger=<name> pages=<n> [first-page=<n>] [start-page=<n>]
//       [time=<units>] [step=<units>] [no-start] [kind=<byte>] [shock]
//       [records=<hex bytes>] [four-byte=<v1|v3>:<ch,ch,...>:<rows per page>:<row step>]
//   place <recording> [from=<page index>] [count=<n>]
//   repeat <recording> page=<page index>
//   junk <count> [zero|random] [seed=<n>]
//   end-container
//   trailing <bytes>
// Raises std::runtime_error naming the line of the first fault.
TCardDescription ParseCardDescription(std::istream& text);

} // namespace qel::cardgen

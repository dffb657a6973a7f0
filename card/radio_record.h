// Radio records of the QEL539c pages: the values of one radio sensor module,
// which keep the logger's module list up to date and become series from channel 64.
#pragma once

#include <cstdint>

namespace qel {

class TPageReader;
class TQEL539C;

// Radio record, 10 + 2n bytes (little endian):
//   0      tag 0xC0-0xDF
//   1      not used
//   2      bits 3-0 n, the number of values; bits 7-4 control bits
//   3      bits 3-0 module number; bits 7-4 position
//   4-5    module serial number
//   6-8    counter, 24 bits
//   9      configuration byte
//   10...  n raw values, signed 16-bit, in the module's record order

// The module at index m of the logger's list owns the series channels
// 64 + 16 m ... 64 + 16 m + 15; its channel i goes to 64 + 16 m + i.
std::uint32_t RadioSeriesChannel(int modulIndex, int channelIndex);

// Reads the radio record whose tag byte the reader has just consumed. A
// module met for the first time is created and appended to the logger's
// FRFSModulList; the record's counter and values go to the module's
// channels, and every channel with a new value gives a sample at time to
// ReadBufferList (a buffer created for it carries the module's serial
// number and the channel's ID). False, having changed nothing, when the
// record does not fit in the rest of the page: the page ends there.
bool ReadRadioRecord(TPageReader& in, TQEL539C& logger, std::int64_t time);

} // namespace qel

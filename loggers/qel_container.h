// Bounded byte container of a logger's device data, with typed reads and
// writes and the small frames that move its content to and from a logger.
#pragma once

#include "platform/streams.h"

#include <cstdint>
#include <string>

namespace qel {

class TQelContainer : public plat::TMemoryStream {
public:
    std::int32_t FMax = 0;          // capacity: every write keeps the content below FMax bytes
    std::int32_t FBytesToRead = 0;  // content bytes the frame reader still expects

    // Capacity max, or 500 bytes when max is not positive.
    void Init(std::int32_t max);
    void resetPosition();

    // Writes at the position; False and nothing written when the content
    // would reach FMax bytes. Singles are little endian; a string is one length
    // byte and at most 255 bytes of UTF-8.
    bool addByte(std::uint8_t data);
    bool addSingle(float data);
    bool addString(const std::string& data);

    // Reads at the position; False (and data 0 or empty) when the content
    // holds too few bytes. A string loses its trailing blanks and control
    // characters.
    bool getByte(std::uint8_t& data);
    bool getSingle(float& data);
    bool getString(std::string& data);

    // Frame idx of the content for the logger: frame 0 is the header (1, size
    // low byte, size next byte, 0); the others carry four content bytes, 255
    // beyond the end. Answers whether the frame carried content.
    bool ToQEL(std::uint8_t idx, std::uint8_t& b0, std::uint8_t& b1, std::uint8_t& b2, std::uint8_t& b3);
    // Takes a 6-byte frame from the logger: frame 0 is the header (1, size low,
    // size high, -, then two content bytes); the others six content bytes.
    // Answers whether more frames are expected.
    bool FromQEL(std::uint8_t idx, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                 std::uint8_t b4, std::uint8_t b5);

private:
    std::int64_t Remaining() const { return Size() - Position(); }
    void AppendContentByte(std::uint8_t data);
};

} // namespace qel

// Reading a fuzz input in order: each value takes the next bytes of the
// input; missing bytes read as 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace qel::fuzz {

class TInputBytes {
public:
    TInputBytes(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}

    template <class T>
    T Next()
    {
        T Value{};
        unsigned char Bytes[sizeof(T)] = {};
        for (std::size_t K = 0; K < sizeof(T) && FAt < FSize; ++K) {
            Bytes[K] = FData[FAt++];
        }
        std::memcpy(&Value, Bytes, sizeof(T));
        return Value;
    }

    bool AtEnd() const { return FAt >= FSize; }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FAt = 0;
};

// A valid input with fuzz bytes written over it: from `from` on, each three
// fuzz bytes give an offset (two bytes, modulo the size) and the byte to put
// there; a byte left over cuts the result to that many 256ths of its size.
inline std::string Mutated(std::string bytes, const std::uint8_t* data, std::size_t size, std::size_t from)
{
    std::size_t at = from;
    for (; !bytes.empty() && at + 3 <= size; at += 3) {
        const std::size_t offset = (data[at] | (static_cast<std::size_t>(data[at + 1]) << 8)) % bytes.size();
        bytes[offset] = static_cast<char>(data[at + 2]);
    }
    if (at < size) {
        bytes.resize(bytes.size() * data[at] / 256);
    }
    return bytes;
}

} // namespace qel::fuzz

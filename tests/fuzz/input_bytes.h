// Reading a fuzz input in order: each value takes the next bytes of the
// input; missing bytes read as 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

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

} // namespace qel::fuzz

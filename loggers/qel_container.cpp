// Bounded byte container of a logger's device data: typed access and the
// frame protocol.
#include "loggers/qel_container.h"

#include "platform/text_encoding.h"

#include <bit>

namespace qel {

namespace {
constexpr std::int32_t DefaultCapacity = 500;
}

void TQelContainer::Init(std::int32_t max)
{
    FMax = max > 0 ? max : DefaultCapacity;
}

void TQelContainer::resetPosition()
{
    SetPosition(0);
}

bool TQelContainer::addByte(std::uint8_t data)
{
    if (Position() + 1 >= FMax) {
        return false;
    }
    WriteBuffer(&data, 1);
    return true;
}

bool TQelContainer::addSingle(float data)
{
    if (Position() + 4 >= FMax) {
        return false;
    }
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(data);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                   static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    WriteBuffer(bytes, 4);
    return true;
}

bool TQelContainer::addString(const std::string& data)
{
    const auto length = static_cast<std::int64_t>(data.size());
    if (length > 255 || Position() + length + 1 >= FMax) {
        return false;
    }
    const auto lengthByte = static_cast<std::uint8_t>(length);
    WriteBuffer(&lengthByte, 1);
    WriteBuffer(data.data(), length);
    return true;
}

bool TQelContainer::getByte(std::uint8_t& data)
{
    data = 0;
    if (Remaining() < 1) {
        return false;
    }
    ReadBuffer(&data, 1);
    return true;
}

bool TQelContainer::getSingle(float& data)
{
    data = 0.0f;
    if (Remaining() < 4) {
        return false;
    }
    std::uint8_t bytes[4];
    ReadBuffer(bytes, 4);
    const std::uint32_t bits = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    data = std::bit_cast<float>(bits);
    return true;
}

bool TQelContainer::getString(std::string& data)
{
    data.clear();
    std::uint8_t length = 0;
    if (!getByte(length)) {
        return false;
    }
    if (Remaining() < length) {
        return false;
    }
    std::string bytes(length, '\0');
    ReadBuffer(bytes.data(), length);
    data = plat::IsValidUtf8(bytes) ? bytes : plat::Utf16ToUtf8(plat::Utf8ToUtf16(bytes));
    while (!data.empty() && static_cast<unsigned char>(data.back()) < 33) {
        data.pop_back();
    }
    return true;
}

bool TQelContainer::ToQEL(std::uint8_t idx, std::uint8_t& b0, std::uint8_t& b1, std::uint8_t& b2, std::uint8_t& b3)
{
    if (idx == 0) {
        const std::int64_t size = Size();
        b0 = 1;
        b1 = static_cast<std::uint8_t>(size);
        b2 = static_cast<std::uint8_t>(size >> 8);
        b3 = 0;
        SetPosition(0);
        return true;
    }
    const bool carriesContent = Remaining() > 0;
    std::uint8_t* bytes[4] = {&b0, &b1, &b2, &b3};
    for (std::uint8_t* b : bytes) {
        if (!getByte(*b)) {
            *b = 255;
        }
    }
    return carriesContent;
}

void TQelContainer::AppendContentByte(std::uint8_t data)
{
    if (FBytesToRead <= 0) {
        return;
    }
    Seek(0, plat::soEnd);
    WriteBuffer(&data, 1);
    --FBytesToRead;
}

bool TQelContainer::FromQEL(std::uint8_t idx, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                            std::uint8_t b4, std::uint8_t b5)
{
    if (idx == 0) {
        if (b0 != 1) {
            return false;
        }
        FBytesToRead = b2 << 8 | b1;
        if (FBytesToRead > FMax) {
            FBytesToRead = 0;
        }
        Clear();
        AppendContentByte(b4);
        AppendContentByte(b5);
    } else {
        for (std::uint8_t b : {b0, b1, b2, b3, b4, b5}) {
            AppendContentByte(b);
        }
    }
    return FBytesToRead > 0;
}

} // namespace qel

// Pages of the variable-length record format for generated cards.
#include "tools/cardgen/var_records.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace qel::cardgen {

namespace {

constexpr std::int32_t SHORT_STEP_MIN = -(1 << 12), SHORT_STEP_MAX = (1 << 13) - 1;
constexpr std::int64_t LONG_STEP_MIN = -(std::int64_t{1} << 28), LONG_STEP_MAX = (std::int64_t{1} << 29) - 1;
constexpr std::size_t NAME_SIZE = 6;

void AppendText(std::vector<std::uint8_t>& bytes, const std::string& text, std::uint8_t pad)
{
    if (text.size() > NAME_SIZE) {
        throw std::invalid_argument("flex-channel texts hold at most 6 bytes");
    }
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.resize(bytes.size() + NAME_SIZE - text.size(), pad);
}

void AppendLong(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

} // namespace

std::vector<std::uint8_t> ThreeByteSingleBytes(float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    if ((bits & 0xFF) != 0) {
        throw std::invalid_argument("a record single has no bits 0-7");
    }
    return {static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits >> 16),
            static_cast<std::uint8_t>(bits >> 24)};
}

bool TVarRecordWriter::AddBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > Room()) {
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), FPage.begin() + static_cast<std::ptrdiff_t>(FAt));
    FAt += bytes.size();
    return true;
}

bool TVarRecordWriter::AddValue(std::uint8_t channel, float value)
{
    if (channel > 0x7F) {
        throw std::invalid_argument("value records carry channels 0 to 127");
    }
    std::vector<std::uint8_t> record{channel};
    const std::vector<std::uint8_t> single = ThreeByteSingleBytes(value);
    record.insert(record.end(), single.begin(), single.end());
    return AddBytes(record);
}

bool TVarRecordWriter::AddShortStep(std::int32_t units)
{
    if (units < SHORT_STEP_MIN || units > SHORT_STEP_MAX) {
        throw std::invalid_argument("short step out of range");
    }
    const auto bits = static_cast<std::uint32_t>(units) & 0x1FFF;
    const std::uint8_t record[] = {static_cast<std::uint8_t>(0x80 | bits >> 8), static_cast<std::uint8_t>(bits)};
    return AddBytes(record);
}

bool TVarRecordWriter::AddLongStep(std::int64_t units)
{
    if (units < LONG_STEP_MIN || units > LONG_STEP_MAX) {
        throw std::invalid_argument("long step out of range");
    }
    const auto bits = static_cast<std::uint32_t>(units) & 0x1FFFFFFF;
    const std::uint8_t record[] = {static_cast<std::uint8_t>(0xA0 | bits >> 24), static_cast<std::uint8_t>(bits >> 16),
                                   static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8)};
    return AddBytes(record);
}

bool TVarRecordWriter::AddStep(std::int64_t units)
{
    if (units >= SHORT_STEP_MIN && units < -SHORT_STEP_MIN) {
        return AddShortStep(static_cast<std::int32_t>(units));
    }
    if (units >= (std::int64_t{1} << 28)) {
        throw std::invalid_argument("signed long step out of range");
    }
    return AddLongStep(units);
}

bool TVarRecordWriter::AddEnd(std::uint8_t tag)
{
    if (tag < 0xE0) {
        throw std::invalid_argument("end-of-data tags are 0xE0 to 0xFF");
    }
    const std::uint8_t record[] = {tag};
    return AddBytes(record);
}

bool TVarRecordWriter::AddFifo(std::uint8_t state, std::uint32_t fifoTime, std::uint8_t fifoChannel, float value)
{
    std::vector<std::uint8_t> record{0xC0, state};
    AppendLong(record, fifoTime);
    record.push_back(fifoChannel);
    const std::vector<std::uint8_t> single = ThreeByteSingleBytes(value);
    record.insert(record.end(), single.begin(), single.end());
    return AddBytes(record);
}

std::vector<std::uint8_t> FlexChannelData(const std::vector<TFlexChannelDescription>& entries)
{
    std::vector<std::uint8_t> data;
    for (const TFlexChannelDescription& entry : entries) {
        data.push_back(entry.Index);
        data.push_back(0);
        AppendLong(data, entry.Serial);
        AppendText(data, entry.Name, 0);
        AppendText(data, entry.Unit, 0);
    }
    return data;
}

std::size_t WriteFlexEntries621(std::span<std::uint8_t> page, const std::vector<TFlexEntry621Description>& entries)
{
    std::vector<std::uint8_t> data;
    for (const TFlexEntry621Description& entry : entries) {
        if (entry.FlexChannel > 15) {
            throw std::invalid_argument("flex channels are 0 to 15");
        }
        data.push_back(entry.FlexChannel);
        data.push_back(entry.Channel);
        data.push_back(static_cast<std::uint8_t>(entry.Serial));
        data.push_back(static_cast<std::uint8_t>(entry.Serial >> 8));
        AppendText(data, entry.Name, ' ');
        AppendText(data, entry.Unit, ' ');
    }
    if (kPageHeaderSize + data.size() > page.size()) {
        throw std::invalid_argument("the flex entries do not fit in the page");
    }
    std::copy(data.begin(), data.end(), page.begin() + kPageHeaderSize);
    return kPageHeaderSize + data.size();
}

void TVarRecordBody::Fill(std::uint32_t pageIndex, TPageHeaderFields& header, std::span<std::uint8_t, kPageSize> page)
{
    const std::size_t first = FHead ? FHead(pageIndex, header, page) : kPageHeaderSize;
    TVarRecordWriter writer(page, first);
    FFill(pageIndex, writer);
    writer.AddEnd();
}

} // namespace qel::cardgen

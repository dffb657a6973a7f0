// Tagged records of the QEL649 and QEL25 pages for generated cards.
#include "tools/cardgen/tagged_records.h"

#include <bit>
#include <stdexcept>

namespace qel::cardgen {

namespace {

class TBytes {
public:
    void Byte(std::uint8_t value) { FBytes.push_back(value); }
    void Word(std::uint16_t value)
    {
        Byte(static_cast<std::uint8_t>(value));
        Byte(static_cast<std::uint8_t>(value >> 8));
    }
    void Long(std::uint32_t value)
    {
        Word(static_cast<std::uint16_t>(value));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Time40(std::uint64_t units)
    {
        Byte(static_cast<std::uint8_t>(units >> 32));
        Long(static_cast<std::uint32_t>(units));
    }
    void Lines(const std::vector<std::vector<std::uint16_t>>& lines, std::uint8_t mask)
    {
        for (const auto& line : lines) {
            if (line.size() != static_cast<std::size_t>(std::popcount(mask))) {
                throw std::invalid_argument("a burst line needs one word per present position");
            }
            for (std::uint16_t word : line) {
                Word(word);
            }
        }
    }
    const std::vector<std::uint8_t>& Bytes() const { return FBytes; }

private:
    std::vector<std::uint8_t> FBytes;
};

} // namespace

std::uint16_t BurstWord(std::int16_t value, bool pretrigger)
{
    return static_cast<std::uint16_t>((static_cast<std::uint16_t>(value) & 0x7FFF) | (pretrigger ? 0x8000 : 0));
}

bool TTaggedRecordWriter::Bytes(const std::vector<std::uint8_t>& bytes)
{
    if (FAt + bytes.size() > FPage.size()) {
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), FPage.begin() + static_cast<std::ptrdiff_t>(FAt));
    FAt += bytes.size();
    return true;
}

bool TTaggedRecordWriter::Time(std::uint64_t units)
{
    TBytes record;
    record.Byte(0x00);
    record.Time40(units);
    return Bytes(record.Bytes());
}

bool TTaggedRecordWriter::EndTime(std::uint64_t units)
{
    TBytes record;
    record.Byte(0xA0);
    record.Time40(units);
    return Bytes(record.Bytes());
}

bool TTaggedRecordWriter::Burst(const TBurstBlockDescription& block)
{
    if (block.Lines.size() > 255) {
        throw std::invalid_argument("a burst block holds at most 255 lines");
    }
    TBytes record;
    record.Byte(static_cast<std::uint8_t>(block.Kind << 4 | (block.Ctrl & 0x0F)));
    record.Byte(static_cast<std::uint8_t>(block.Lines.size()));
    record.Byte(block.Rate);
    record.Byte(block.Mask);
    record.Word(static_cast<std::uint16_t>(block.Dt));
    record.Word(static_cast<std::uint16_t>(block.Dt2));
    record.Long(block.No);
    record.Lines(block.Lines, block.Mask);
    return Bytes(record.Bytes());
}

bool TTaggedRecordWriter::BurstV1(const TBurstBlockV1Description& block)
{
    if (block.Lines.size() > 255) {
        throw std::invalid_argument("a burst block holds at most 255 lines");
    }
    TBytes record;
    record.Byte(static_cast<std::uint8_t>(block.Kind << 4 | (block.Mask & 0x0F)));
    record.Byte(static_cast<std::uint8_t>(block.Lines.size()));
    record.Word(static_cast<std::uint16_t>(block.Step));
    record.Word(block.Link);
    record.Byte(block.Rate);
    record.Byte(0);
    record.Lines(block.Lines, block.Mask & 0x0F);
    return Bytes(record.Bytes());
}

bool TTaggedRecordWriter::MultiValueStepWord(std::uint16_t stepWord, std::uint16_t mask, const std::vector<std::int16_t>& values)
{
    const auto width = static_cast<std::size_t>(std::popcount(mask));
    if (width == 0 ? !values.empty() : values.size() % width != 0 || values.size() / width > 255) {
        throw std::invalid_argument("multi-value record: whole rows of one value per set mask bit");
    }
    TBytes record;
    record.Byte(0x30);
    record.Byte(static_cast<std::uint8_t>(width == 0 ? 0 : values.size() / width));
    record.Word(stepWord);
    record.Word(mask);
    for (std::int16_t value : values) {
        record.Word(static_cast<std::uint16_t>(value));
    }
    return Bytes(record.Bytes());
}

bool TTaggedRecordWriter::MultiValue(std::int16_t step, std::uint16_t mask, const std::vector<std::int16_t>& values,
                                     std::uint8_t rows)
{
    const auto width = static_cast<std::size_t>(std::popcount(mask));
    if (values.size() != rows * width) {
        throw std::invalid_argument("multi-value record: rows x set mask bits values");
    }
    if (width == 0) {
        // The count byte still says how many rows there are.
        TBytes record;
        record.Byte(0x30);
        record.Byte(rows);
        record.Word(static_cast<std::uint16_t>(step));
        record.Word(mask);
        return Bytes(record.Bytes());
    }
    return MultiValueStepWord(static_cast<std::uint16_t>(step), mask, values);
}

bool TTaggedRecordWriter::Nothing()
{
    return Bytes({0x40});
}

bool TTaggedRecordWriter::Limit(std::uint8_t channel, std::uint8_t alarm, std::uint8_t record, std::int16_t raw1,
                                std::int16_t raw2)
{
    TBytes bytes;
    bytes.Byte(static_cast<std::uint8_t>(0x50 | (channel & 0x0F)));
    bytes.Byte(static_cast<std::uint8_t>((alarm & 0x07) << 3 | (record & 0x07)));
    bytes.Word(static_cast<std::uint16_t>(raw1));
    bytes.Word(static_cast<std::uint16_t>(raw2));
    return Bytes(bytes.Bytes());
}

bool TTaggedRecordWriter::Marker(std::int16_t step)
{
    TBytes record;
    record.Byte(0x60);
    record.Byte(0);
    record.Word(static_cast<std::uint16_t>(step));
    return Bytes(record.Bytes());
}

bool TTaggedRecordWriter::Value(std::int16_t step, std::int16_t value)
{
    TBytes record;
    record.Byte(0x70);
    record.Byte(0);
    record.Word(static_cast<std::uint16_t>(step));
    record.Word(static_cast<std::uint16_t>(value));
    return Bytes(record.Bytes());
}

bool TTaggedRecordWriter::MissionData(std::uint8_t version, const std::vector<std::uint8_t>& section)
{
    const std::size_t words = (section.size() + 1) / 2;
    if (words > 255) {
        throw std::invalid_argument("a mission-data section holds at most 255 words");
    }
    TBytes record;
    record.Byte(static_cast<std::uint8_t>(0x90 | (version & 0x0F)));
    record.Byte(static_cast<std::uint8_t>(words));
    for (std::uint8_t byte : section) {
        record.Byte(byte);
    }
    if (section.size() % 2 != 0) {
        record.Byte(0);
    }
    return Bytes(record.Bytes());
}

bool TTaggedRecordWriter::End(std::uint8_t tag)
{
    if (tag < 0xB0) {
        throw std::invalid_argument("end tags are 0xB0 to 0xFF");
    }
    return Bytes({tag});
}

void TTaggedRecordBody::Fill(std::uint32_t pageIndex, TPageHeaderFields&, std::span<std::uint8_t, kPageSize> page)
{
    TTaggedRecordWriter writer(page);
    if (FDescription.BurstLines > 0) {
        TBurstBlockDescription block;
        block.Rate = FDescription.BurstRate;
        block.No = pageIndex * FDescription.BurstLines;
        for (std::uint32_t line = 0; line < FDescription.BurstLines; ++line) {
            std::vector<std::uint16_t> words;
            for (std::uint32_t position = 0; position < 4; ++position) {
                words.push_back(BurstWord(FDescription.BurstValueOf(pageIndex, line, position)));
            }
            block.Lines.push_back(words);
        }
        if (!writer.Burst(block)) {
            throw std::invalid_argument("the burst block does not fit in a page");
        }
    }
    for (std::uint32_t row = 0; row < FDescription.Rows; ++row) {
        std::vector<std::int16_t> values;
        for (std::uint32_t bits = FDescription.Mask; bits != 0; bits &= bits - 1) {
            values.push_back(FDescription.ValueOf(pageIndex, row, static_cast<std::uint32_t>(std::countr_zero(bits))));
        }
        if (!writer.MultiValue(row == 0 ? 0 : FDescription.RowStepUnits, FDescription.Mask, values) ||
            !writer.Value(0, FDescription.ValueOf(pageIndex, row, FDescription.ValueChannel))) {
            throw std::invalid_argument("the rows do not fit in a page");
        }
    }
    if (FDescription.Markers && !writer.Marker(0)) {
        throw std::invalid_argument("the marker does not fit in a page");
    }
    writer.End();
}

} // namespace qel::cardgen

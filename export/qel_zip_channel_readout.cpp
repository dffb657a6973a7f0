// A channel folder of the zip channel container read back: its description's
// range keys, its values block by block, its block index, and the block that
// holds a given time.
#include "export/qel_zip_channel.h"

#include "platform/zip_writer.h"

#include <charconv>

namespace qel {

namespace {

// A decimal integer with an optional sign and nothing else.
bool ParseInt64(const std::string& text, std::int64_t& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-') {
            return false;
        }
    }
    std::int64_t parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last || first == last) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace

bool TQelZipChannel::GetRangeInfo(std::int64_t& Amount, std::int64_t& Tmin, std::int64_t& Tmax) const
{
    const bool amount = ParseInt64(FDescriptionStream.GetValue("ChDescAmount"), Amount);
    const bool tmin = ParseInt64(FDescriptionStream.GetValue("ChDescTmin"), Tmin);
    const bool tmax = ParseInt64(FDescriptionStream.GetValue("ChDescTmax"), Tmax);
    return amount && tmin && tmax;
}

std::int64_t TQelZipChannel::GetBlockCount() const
{
    std::int64_t blocks = 0;
    return ParseInt64(FDescriptionStream.GetValue("ChDescBlocks"), blocks) ? blocks : 0;
}

bool TQelZipChannel::BeginReadout()
{
    FReadBlockNo = 0;
    SetSize(0);
    return true;
}

bool TQelZipChannel::GetNextValue(std::int64_t& time, float& value, bool& newblock)
{
    newblock = false;
    if (Size() - Position() < QEL_ZIP_RECORD_SIZE) {
        if (!LoadBlock(FReadBlockNo)) {
            return false;
        }
        ++FReadBlockNo;
        newblock = true;
    }
    const std::uint8_t* record = Memory() + Position();
    time = static_cast<std::int64_t>(GetLE64(record));
    value = std::bit_cast<float>(GetLE32(record + 8));
    Seek(QEL_ZIP_RECORD_SIZE, plat::soCurrent);
    return true;
}

bool TQelZipChannel::BeginReadoutDataInfo()
{
    if (FDataInfoStream.Size() == 0) {
        const std::string section = FName + "ChInfo_0";
        const int index = FZIP->IndexOf(section);
        if (index >= 0) {
            FZIP->Read(index, FDataInfoStream);
            if (!QelZipTrailerVerifies(FDataInfoStream.Memory(), FDataInfoStream.Size(), CRC_TYPE_CHANNEL_DATA_INFO)) {
                FDataInfoStream.SetSize(0);
                FailRead("the block index \"" + section + "\" fails its check value");
            }
        }
    }
    FDataInfoStream.SetPosition(0);
    return FDataInfoStream.Size() > 0;
}

std::uint32_t TQelZipChannel::SetReadoutTime(std::int64_t time)
{
    BeginReadoutDataInfo();
    std::uint32_t walked = 0;
    TQelZipChannelDataInfo info;
    while (GetNextDataInfo(info)) {
        ++walked;
        if (info.Tmin <= time && time <= info.Tmax) {
            if (!LoadBlock(info.BlockNo)) {
                FailRead("its block index names data block " + std::to_string(info.BlockNo) +
                         ", which the file lacks");
            }
            FReadBlockNo = info.BlockNo + 1;
            break;
        }
    }
    return walked;
}

bool TQelZipChannel::LoadBlock(std::uint32_t k)
{
    const int index = FZIP->IndexOf(FName + "ChData_" + std::to_string(k));
    if (index < 0) {
        return false;
    }
    FZIP->Read(index, *this);
    if (Size() == 0 || Size() % QEL_ZIP_RECORD_SIZE != 0) {
        const std::int64_t size = Size();
        SetSize(0);
        FailRead("data block " + std::to_string(k) + " holds " + std::to_string(size) +
                 " bytes, no whole number of value records");
    }
    CheckBlockAgainstIndex(k);
    return true;
}

void TQelZipChannel::CheckBlockAgainstIndex(std::uint32_t k)
{
    const std::int64_t savedPosition = FDataInfoStream.Position();
    BeginReadoutDataInfo();
    FDataInfoStream.SetPosition(savedPosition);
    const std::int64_t records = FDataInfoStream.RecordCount();
    if (records == 0) {
        return;   // no index to hold the block against
    }
    const auto block = static_cast<std::int64_t>(k);
    std::int64_t at = block < records && FDataInfoStream.RecordAt(block).BlockNo == k ? block : -1;
    for (std::int64_t i = 0; at < 0 && i < records; ++i) {
        if (FDataInfoStream.RecordAt(i).BlockNo == k) {
            at = i;
        }
    }
    const auto size = static_cast<std::size_t>(Size());
    if (at < 0) {
        SetSize(0);
        FailRead("data block " + std::to_string(k) + " has no record in the block index");
    }
    const TQelZipChannelDataInfo info = FDataInfoStream.RecordAt(at);
    if (info.BlockSize != size || info.cs != QelZipCheckValue(Memory(), size, CRC_TYPE_DATA_BLOCK)) {
        SetSize(0);
        FailRead("data block " + std::to_string(k) + " does not match its record in the block index");
    }
}

void TQelZipChannel::FailRead(const std::string& fault) const
{
    throw EQelZipFileError("The container \"" + FZIP->FileName() + "\" cannot be read: in folder \"" + FName +
                           "\", " + fault);
}

} // namespace qel

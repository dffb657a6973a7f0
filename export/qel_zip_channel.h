// One channel folder of the zip channel container: fills data blocks of
// 10,000 values, adds each full block to the archive, and at the end writes
// the channel's last block, its block index and its description; read back,
// it gives its description, its index and its values by block or by time.
#pragma once

#include "export/qel_zip_data_info.h"
#include "export/qel_zip_pair_stream.h"

#include <bit>
#include <cstdint>
#include <string>

namespace plat {
class TZipFile;
}

namespace qel {

// Bytes of one value record of a data block: Int64 time, Single value.
constexpr std::int64_t QEL_ZIP_RECORD_SIZE = 12;
constexpr std::int64_t QEL_ZIP_BLOCK_VALUES = 10000;

// The stream itself holds the data block being filled (whole records, at
// most QEL_ZIP_BLOCK_VALUES of them), or the data block being read.
class TQelZipChannel : public plat::TMemoryStream {
public:
    // The channel of folder "CHANNELS\CHANNEL_<folderNo>\" in zip (not owned).
    TQelZipChannel(plat::TZipFile& zip, int folderNo, int id);

    const int ID;      // the caller's channel identifier
    bool Active = false;

    const std::string& Folder() const { return FName; }

    // Appends one value; the caller adds values in ascending time. A full
    // block goes to the archive at once.
    void AddValue(std::int64_t time, float value)
    {
        if (Size() == 0) {
            FDataInfo.ValueNo = FValueNo;
            FDataInfo.BlockSize = 0;
            FDataInfo.Tmin = time;
            FDataInfo.Tmax = time;
            FDataInfo.Ymin = value;
            FDataInfo.Ymax = value;
        } else {
            FDataInfo.Tmax = time;
            if (value < FDataInfo.Ymin) {
                FDataInfo.Ymin = value;
            } else if (value > FDataInfo.Ymax) {
                FDataInfo.Ymax = value;
            }
        }
        std::uint8_t record[QEL_ZIP_RECORD_SIZE];
        PutLE64(record, static_cast<std::uint64_t>(time));
        PutLE32(record + 8, std::bit_cast<std::uint32_t>(value));
        Write(record, QEL_ZIP_RECORD_SIZE);
        ++FValueNo;
        if (Size() >= QEL_ZIP_BLOCK_VALUES * QEL_ZIP_RECORD_SIZE) {
            SaveBlock();
        }
    }

    // Adds the block being filled (when it holds values) as entry
    // "ChData_<BlockNo>", appends its index record and empties the block.
    void SaveBlock();
    // The last block, then "ChInfo_0", then the range pairs and "ChDesc_0".
    void Finish();

    void SetName(const std::string& s) { FDescriptionStream.AddPair("ChDescName", s); }
    void SetUnit(const std::string& s) { FDescriptionStream.AddPair("ChDescUnit", s); }
    void SetQelName(const std::string& s) { FDescriptionStream.AddPair("ChDescQelName", s); }
    void SetQelModel(const std::string& s) { FDescriptionStream.AddPair("ChDescQelModel", s); }
    void SetQelSN(const std::string& s) { FDescriptionStream.AddPair("ChDescQelSN", s); }

    // Reading. Loads "ChDesc_0" of the folder; False when it is missing or
    // its trailer does not verify.
    bool LoadDescription() { return FDescriptionStream.LoadFromZipFile(FName + "ChDesc_0", *FZIP); }
    const TQelZipChannelDescriptionStream& Description() const { return FDescriptionStream; }
    std::string GetName() const { return FDescriptionStream.GetValue("ChDescName"); }
    std::string GetUnit() const { return FDescriptionStream.GetValue("ChDescUnit"); }
    std::string GetQelName() const { return FDescriptionStream.GetValue("ChDescQelName"); }
    std::string GetQelModel() const { return FDescriptionStream.GetValue("ChDescQelModel"); }
    std::string GetQelSN() const { return FDescriptionStream.GetValue("ChDescQelSN"); }
    // True when "ChDescAmount", "ChDescTmin" and "ChDescTmax" all parse as
    // integers; each output is set as soon as its own key parses.
    bool GetRangeInfo(std::int64_t& Amount, std::int64_t& Tmin, std::int64_t& Tmax) const;
    // "ChDescBlocks" as an integer; 0 when it does not parse.
    std::int64_t GetBlockCount() const;

    // Starts reading values at block 0 (nothing loaded yet); True.
    bool BeginReadout();
    // The next value record. When the block in hand is used up, loads the
    // block of the block counter (newblock := true) and advances the counter;
    // False when the archive has no such block. A block that holds no whole
    // records, or differs from its index record in size or check value,
    // raises EQelZipFileError.
    bool GetNextValue(std::int64_t& time, float& value, bool& newblock);
    // Loads "ChInfo_0" as stored (records and trailer) when the index holds
    // nothing yet and rewinds it; True when it holds bytes. An index whose
    // trailer does not verify raises EQelZipFileError.
    bool BeginReadoutDataInfo();
    // The next index record; False when fewer than 56 bytes are left.
    bool GetNextDataInfo(TQelZipChannelDataInfo& DataInfo) { return FDataInfoStream.GetNextDataInfo(DataInfo); }
    // Walks the index from its start until a record has Tmin <= time <= Tmax,
    // loads that record's block for GetNextValue (the counter then names the
    // block after it) and answers the number of records walked, the found
    // one included; with no such record nothing is loaded. A record naming a
    // block the archive lacks raises EQelZipFileError.
    std::uint32_t SetReadoutTime(std::int64_t time);

private:
    // Loads data block k into the stream, checked; False when it is missing.
    bool LoadBlock(std::uint32_t k);
    void CheckBlockAgainstIndex(std::uint32_t k);
    [[noreturn]] void FailRead(const std::string& fault) const;

    std::int64_t FTmin = 0;                // over the saved blocks
    std::int64_t FTmax = 0;
    std::int64_t FValueNo = 0;             // values added so far
    std::uint32_t FReadBlockNo = 0;        // the next block GetNextValue loads
    std::string FName;
    TQelZipChannelDataInfo FDataInfo;      // record of the block being filled; BlockNo = blocks saved
    TQelZipChannelDataInfoStream FDataInfoStream;
    TQelZipChannelDescriptionStream FDescriptionStream;
    plat::TZipFile* FZIP;
};

} // namespace qel

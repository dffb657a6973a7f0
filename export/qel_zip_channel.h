// One channel folder of the zip channel container: fills data blocks of
// 10,000 values, adds each full block to the archive, and at the end writes
// the channel's last block, its block index and its description.
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
// most QEL_ZIP_BLOCK_VALUES of them).
class TQelZipChannel : public plat::TMemoryStream {
public:
    // The channel of folder "CHANNELS\CHANNEL_<folderNo>\" in zip (not owned).
    TQelZipChannel(plat::TZipFile& zip, int folderNo, int id);

    const int ID;   // the caller's channel identifier

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

private:
    std::int64_t FTmin = 0;                // over the saved blocks
    std::int64_t FTmax = 0;
    std::int64_t FValueNo = 0;             // values added so far
    std::string FName;
    TQelZipChannelDataInfo FDataInfo;      // record of the block being filled; BlockNo = blocks saved
    TQelZipChannelDataInfoStream FDataInfoStream;
    TQelZipChannelDescriptionStream FDescriptionStream;
    plat::TZipFile* FZIP;
};

} // namespace qel

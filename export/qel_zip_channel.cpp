// A channel folder of the zip channel container: block saving, the block
// index and the closing description.
#include "export/qel_zip_channel.h"

#include "platform/zip_writer.h"

#include <algorithm>

namespace qel {

TQelZipChannel::TQelZipChannel(plat::TZipFile& zip, int folderNo, int id)
    : ID(id), FName("CHANNELS\\CHANNEL_" + std::to_string(folderNo) + "\\"), FZIP(&zip)
{
    SetCapacity(QEL_ZIP_BLOCK_VALUES * QEL_ZIP_RECORD_SIZE);
}

void TQelZipChannel::SaveBlock()
{
    if (Size() == 0) {
        return;
    }
    const auto size = static_cast<std::size_t>(Size());
    FZIP->Add(Memory(), size, FName + "ChData_" + std::to_string(FDataInfo.BlockNo));
    FDataInfo.Values = FValueNo - FDataInfo.ValueNo;
    FDataInfo.BlockSize = static_cast<std::uint32_t>(size);
    FDataInfo.cs = QelZipCheckValue(Memory(), size, CRC_TYPE_DATA_BLOCK);
    FDataInfoStream.AddDataInfo(FDataInfo);
    if (FDataInfo.BlockNo == 0) {
        FTmin = FDataInfo.Tmin;
        FTmax = FDataInfo.Tmax;
    } else {
        FTmin = std::min(FTmin, FDataInfo.Tmin);
        FTmax = std::max(FTmax, FDataInfo.Tmax);
    }
    ++FDataInfo.BlockNo;
    SetSize(0);
}

void TQelZipChannel::Finish()
{
    SaveBlock();
    FDataInfoStream.SaveToZipFile(FName + "ChInfo_0", *FZIP);
    FDescriptionStream.AddPair("ChDescAmount", std::to_string(FValueNo));
    FDescriptionStream.AddPair("ChDescTmin", std::to_string(FTmin));
    FDescriptionStream.AddPair("ChDescTmax", std::to_string(FTmax));
    FDescriptionStream.AddPair("ChDescBlocks", std::to_string(FDataInfo.BlockNo));
    FDescriptionStream.SaveToZipFile(FName + "ChDesc_0", *FZIP);
}

} // namespace qel

// Opening, filling and completing a zip channel container file, or dropping
// it so that an earlier file of that name stays.
#include "export/qel_zip_file.h"

#include "platform/known_folders.h"

namespace qel {

TQelZipChannel* TQelZipBaseFile::AddChannel(int ID)
{
    auto* channel = new TQelZipChannel(FZIP, FChannelList.Count(), ID);
    FChannelList.Add(channel);
    return channel;
}

TQelZipChannel* TQelZipBaseFile::GetChannel(int ID) const
{
    for (int i = 0; i < FChannelList.Count(); ++i) {
        if (FChannelList[i]->ID == ID) {
            return FChannelList[i];
        }
    }
    return nullptr;
}

bool TQelZipWriteFile::OpenFile(const std::string& sFilename)
{
    FFileLocation = sFilename;
    FChannelList.Clear();
    FZIP.Open(sFilename, plat::zmWrite);
    FFileInfo.AddPair("FileType", "QELZip");
    FFileInfo.AddPair("FileRevision", "0");
    FFileInfo.AddPair("FileCreator", plat::ProgramPath());
    FFileInfo.SaveToZipFile("File", FZIP);
    return true;
}

void TQelZipWriteFile::CloseFile()
{
    for (int i = 0; i < FChannelList.Count(); ++i) {
        FChannelList[i]->Finish();
    }
    FZIP.Close();
}

void TQelZipWriteFile::AbandonFile()
{
    FZIP.Discard();
    FChannelList.Clear();
}

bool TQelZipWriteFile::AddChannelValue(int ID, std::int64_t time, float value)
{
    TQelZipChannel* channel = GetChannel(ID);
    if (!channel) {
        return false;
    }
    channel->AddValue(time, value);
    return true;
}

} // namespace qel

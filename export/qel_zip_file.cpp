// Opening, filling and completing a zip channel container file, or dropping
// it so that an earlier file of that name stays; opening one to read it.
#include "export/qel_zip_file.h"

#include "platform/known_folders.h"

#include <memory>

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

TQelZipShock* TQelZipBaseFile::AddShock(int)
{
    return nullptr;
}

bool TQelZipWriteFile::OpenFile(const std::string& sFilename)
{
    FFileLocation = sFilename;
    FChannelList.Clear();
    FShockList.Clear();
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
    for (int i = 0; i < FShockList.Count(); ++i) {
        FShockList[i]->Finish();
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

bool TQelZipReadFile::OpenFile(const std::string& sFilename)
{
    CloseFile();
    FFileLocation = sFilename;
    FZIP.Open(sFilename, plat::zmRead);
    if (FZIP.IndexOf("File") < 0) {
        FailOpen("it has no \"File\" entry");
    }
    if (!FFileInfo.LoadFromZipFile("File", FZIP)) {
        FailOpen("its \"File\" entry fails its check value");
    }
    const std::string type = FFileInfo.GetValue("FileType");
    if (type != "QELZip") {
        FailOpen("its file type is \"" + type + "\", not \"QELZip\"");
    }
    for (int n = 0;; ++n) {
        auto channel = std::make_unique<TQelZipChannel>(FZIP, n, n);
        if (FZIP.IndexOf(channel->Folder() + "ChDesc_0") < 0) {
            break;
        }
        if (!channel->LoadDescription()) {
            FailOpen("the description \"" + channel->Folder() + "ChDesc_0\" fails its check value");
        }
        FChannelList.Add(channel.release());
    }
    return true;
}

void TQelZipReadFile::CloseFile()
{
    FChannelList.Clear();
    FShockList.Clear();
    if (FZIP.Active()) {
        FZIP.Close();
    }
}

void TQelZipReadFile::FailOpen(const std::string& fault)
{
    CloseFile();
    throw EQelZipFileError("The container \"" + FFileLocation + "\" cannot be read: " + fault);
}

} // namespace qel

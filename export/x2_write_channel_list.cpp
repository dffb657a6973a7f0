// A container save's channel list: descriptions, folders on first value, and
// completing or dropping the archive.
#include "export/x2_write_channel_list.h"

namespace qel {

TX2WriteChannelList::TX2WriteChannelList() = default;

void TX2WriteChannelList::StartSave(const std::string& sFileName)
{
    FItems.Clear();
    FFileName = sFileName;
    FCurrentChannel = nullptr;
}

void TX2WriteChannelList::AddChannel(int ID, const std::string& sName, const std::string& sUnit)
{
    if (FindChannel(ID) != nullptr) {
        return;
    }
    auto* channel = new TX2WriteChannel();
    channel->ID = ID;
    channel->sName = sName;
    channel->sUnit = sUnit;
    FItems.Add(channel);
}

TX2WriteChannel* TX2WriteChannelList::FindChannel(int ID) const
{
    for (int i = 0; i < FItems.Count(); ++i) {
        if (FItems[i]->ID == ID) {
            return FItems[i];
        }
    }
    return nullptr;
}

void TX2WriteChannelList::OpenArchive()
{
    FFile->OpenFile(FFileName);
    FOpened = true;
}

void TX2WriteChannelList::SaveValueToNewChannel(int ID, std::int64_t time, float value)
{
    if (!FOpened) {
        OpenArchive();
    }
    FCurrentChannel = FFile->GetChannel(ID);
    if (FCurrentChannel == nullptr) {
        FCurrentChannel = FFile->AddChannel(ID);
    }
    FCurrentChannel->AddValue(time, value);
}

void TX2WriteChannelList::FinishSave()
{
    FCurrentChannel = nullptr;
    if (!FOpened) {
        OpenArchive();
    }
    for (int n = 0; n < FFile->ChannelCount(); ++n) {
        TQelZipChannel* channel = FFile->Channel(n);
        if (const TX2WriteChannel* description = FindChannel(channel->ID)) {
            channel->SetName(description->sName);
            channel->SetUnit(description->sUnit);
            channel->SetQelName(description->sQelName);
            channel->SetQelModel(description->sQelModel);
            channel->SetQelSN(description->sQelSN);
        } else {
            channel->SetName("CH" + std::to_string(n));
        }
    }
    FOpened = false;
    FFile->CloseFile();
}

void TX2WriteChannelList::AbandonSave()
{
    FCurrentChannel = nullptr;
    FOpened = false;
    FFile->AbandonFile();
}

} // namespace qel

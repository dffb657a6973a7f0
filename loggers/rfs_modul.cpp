// Radio sensor modules of the QEL539c: channel sets by configuration, the
// transparent-mode map, scaling, names and units by measurement ID.
#include "loggers/rfs_modul.h"

#include "loggers/value_format.h"
#include "loggers/value_math.h"

#include <cassert>

namespace qel {

namespace {

struct TRfsText {
    const char* name;
    const char* unit;
};

// Name and unit per measurement ID 1 ... 20.
constexpr TRfsText RfsTexts[20] = {
    {"RH", "%rH"},
    {"T_RH", "°C"},
    {"DP", "°C"},
    {"T", "°C"},
    {"P1", "mbar"},
    {"P2", "mbar"},
    {"P3", "mbar"},
    {"P4", "mbar"},
    {"P5", "mbar"},
    {"T2", "°C"},
    {"EXT", ""},
    {"Tambient slot 1", "°C"},
    {"Tsurface slot 1", "°C"},
    {"Heatflux slot 1", "W/m2"},
    {"Thf slot 1", "°C"},
    {"Tambient slot 2", "°C"},
    {"Tsurface slot 2", "°C"},
    {"Heatflux slot 2", "W/m2"},
    {"Thf slot 2", "°C"},
    {"cap", "cnts"},
};

const TRfsText* RfsText(std::int32_t id)
{
    return id >= 1 && id <= 20 ? &RfsTexts[id - 1] : nullptr;
}

// IDs whose values are whole numbers.
bool IsCountingID(std::int32_t id)
{
    return id == 7 || id == 9 || id == TRFSModul::CounterID;
}

} // namespace

void TRFSModul::AddRFSChannel(std::int32_t ID)
{
    AddChannelWithRfsID(ID, ID);
    ++rfs_channels;
}

void TRFSModul::AddChannelWithRfsID(std::int32_t ID, std::int32_t rfsID)
{
    auto* channel = new TRFSChannel;
    channel->ID = ID;
    channel->rfsID = rfsID;
    Add(channel);
}

void TRFSModul::Initialize()
{
    Clear();
    rfs_channels = 0;
    if (isTransparentMode()) {
        for (std::int32_t id = 12; id <= 19; ++id) {
            AddRFSChannel(id);
        }
        setTransparentConfig(cfg, true);
    } else {
        if ((cfg & 0x01) != 0) {
            // Pressure or extra sensor: field 0 ... 6 gives ID 5 ... 11, field 7 ID 0.
            const int field = (cfg >> 3) & 7;
            AddRFSChannel(field == 7 ? 0 : 5 + field);
        }
        if ((cfg & 0x02) != 0) {
            AddRFSChannel(4);
        }
        if ((cfg & 0x04) != 0) {
            AddRFSChannel(1);
            AddRFSChannel(2);
            AddRFSChannel(3);
        }
    }
    AddChannelWithRfsID(CounterID, CounterRfsID);
}

void TRFSModul::AppendToMap(std::int32_t ID)
{
    // The two slot fields of the configuration byte name at most three IDs.
    assert(tm_channels < TransparentPositions);
    tm_channel_map[static_cast<std::size_t>(tm_channels++)] = ID;
}

void TRFSModul::setTransparentConfig(std::uint8_t newcfg, bool bInit)
{
    if (!isTransparentMode() || (!bInit && newcfg == cfg)) {
        return;
    }
    cfg = newcfg;
    tm_channels = 0;
    switch ((newcfg >> 4) & 3) {
    case 1: AppendToMap(12); break;
    case 2: AppendToMap(13); break;
    case 3:
        AppendToMap(14);
        AppendToMap(15);
        break;
    default: break;
    }
    switch ((newcfg >> 6) & 3) {
    case 1: AppendToMap(16); break;
    case 2: AppendToMap(17); break;
    case 3:
        AppendToMap(18);
        if (tm_channels < TransparentPositions) {
            AppendToMap(19);
        }
        break;
    default: break;
    }
}

int TRFSModul::getChannelIndex(int pos) const
{
    if (!isTransparentMode() || pos >= TransparentPositions) {
        return pos;
    }
    // Entries beyond tm_channels are left from an earlier configuration and
    // must not route a value.
    if (pos < 0 || pos >= tm_channels) {
        return -1;
    }
    return findRFSChannel(tm_channel_map[static_cast<std::size_t>(pos)]);
}

int TRFSModul::findRFSChannel(std::int32_t rfsID) const
{
    for (int i = 0; i < Count(); ++i) {
        if (GetItem(i).rfsID == rfsID) {
            return i;
        }
    }
    return -1;
}

void TRFSModul::setRFSChannelValue(int rfs_channel, std::int16_t value)
{
    setRFSChannelValue32(rfs_channel, value);
}

void TRFSModul::setRFSChannelValue32(int rfs_channel, std::int32_t value)
{
    if (IsChannel(rfs_channel)) {
        GetItem(rfs_channel).setValue(value);
    }
}

float TRFSModul::calcChValue(int channel, std::int32_t x) const
{
    if (!IsChannel(channel)) {
        return 0.0f;
    }
    const double raw = x;
    switch (GetItem(channel).ID) {
    case 7:
    case CounterID: return RoundToSingle(raw);
    case 9: return RoundToSingle(raw * 2);
    case 10: return RoundToSingle(SignedLowBits(static_cast<std::uint16_t>(x), 14) * 0.25);
    case 12:
    case 13:
    case 15:
    case 16:
    case 17:
    case 19: return RoundToSingle(raw * 0.01);
    case 14:
    case 18: return RoundToSingle(raw * 0.05);
    default: return RoundToSingle(raw * 0.1);
    }
}

bool TRFSModul::getValidValue(int channel, float& y, std::string& text)
{
    text.clear();
    std::int32_t raw = 0;
    if (!IsChannel(channel) || !GetItem(channel).getValue(raw)) {
        return false;
    }
    y = calcChValue(channel, raw);
    text = FormatWithPattern(IsCountingID(GetItem(channel).ID) ? "0" : "0.0", y);
    return true;
}

std::string TRFSModul::getChannelName(int channel) const
{
    if (!IsChannel(channel)) {
        return "";
    }
    const std::int32_t id = GetItem(channel).ID;
    const TRfsText* text = RfsText(id);
    return text != nullptr ? text->name : std::to_string(id);
}

std::string TRFSModul::getChannelUnit(int channel) const
{
    if (!IsChannel(channel)) {
        return "";
    }
    const TRfsText* text = RfsText(GetItem(channel).ID);
    return text != nullptr ? text->unit : "";
}

std::string TRFSModul::getModulName() const
{
    return TextWithNumber("SM-", sn);
}

int TRFSModul::getRateSec() const
{
    switch (rate) {
    case 1: return 3600;
    case 2: return 900;
    case 3: return 60;
    case 4: return 10;
    default: return 1;
    }
}

std::string TRFSModul::getRateStr() const
{
    switch (rate) {
    case 1: return "1hr";
    case 2: return "15min";
    case 3: return "1min";
    case 4: return "10s";
    case 5: return "1s";
    default: return "?";
    }
}

std::string TRFSModul::getBatStr() const
{
    switch (bat) {
    case 0: return "SL-550 (800 mAh)";
    case 1: return "SL-840 (240 mAh)";
    case 2: return "LiPo-Akku (240 mAh)";
    default: return "?";
    }
}

int TRFSModulList::findModulSN(std::uint16_t modul_sn) const
{
    for (int i = 0; i < Count(); ++i) {
        if (GetItem(i).sn == modul_sn) {
            return i;
        }
    }
    return -1;
}

int TRFSModulList::findModulNo(std::uint8_t modul_no) const
{
    for (int i = 0; i < Count(); ++i) {
        if (GetItem(i).modul_no == modul_no) {
            return i;
        }
    }
    return -1;
}

std::string TRFSModulList::getModulName(int modul) const
{
    return IsModul(modul) ? GetItem(modul).getModulName() : "";
}

std::string TRFSModulList::getChannelName(int modul, int channel) const
{
    return IsModul(modul) ? GetItem(modul).getChannelName(channel) : "";
}

std::string TRFSModulList::getChannelUnit(int modul, int channel) const
{
    return IsModul(modul) ? GetItem(modul).getChannelUnit(channel) : "";
}

float TRFSModulList::calcChValue(int modul, int channel, std::int32_t x) const
{
    return IsModul(modul) ? GetItem(modul).calcChValue(channel, x) : 0.0f;
}

void TRFSModulList::Initialize(std::uint8_t ctrl)
{
    if (ctrl == 1) {
        Sort([](const TRFSModul* a, const TRFSModul* b) { return int{a->sn} - int{b->sn}; });
    } else {
        Sort([](const TRFSModul* a, const TRFSModul* b) { return int{a->position} - int{b->position}; });
    }
}

} // namespace qel

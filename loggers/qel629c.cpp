// Logger class of model code 0x6601 from PC version 6.00: its channels come
// from the configuration in the cluster; names, units and scaling per channel.
#include "loggers/qel629c.h"

#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL629C::ClassInfo = MakeQelClass<TQEL629C>("TQEL629C");

namespace qel629c {

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL629C::ClassInfo, ModulClass == 0x6601, ModulVersion, {{6, 0, 6}});
}

} // namespace qel629c

namespace {

constexpr std::uint16_t ExternalControlBit = 0x0020;
constexpr std::uint16_t SDCardBit = 0x1000;

struct TIdText {
    const char* name;
    const char* unit;
};

// Name and unit per device channel ID 1 ... 18.
constexpr TIdText IdTexts[18] = {
    {"T", "°C"},  {"Ax", "g"},  {"BAT", "V"},   {"AIN", ""}, {"RH", "%rH"},    {"T", "°C"},
    {"L", "lux"}, {"P", "mbar"}, {"T", "°C"},   {"P", "mbar"}, {"T", "°C"},   {"RH", "%rH"},
    {"T", "°C"},  {"Marker", ""}, {"T", ""},    {"T", "°C"},  {"Ay", "g"},     {"Az", "g"},
};

const TIdText* IdText(std::uint16_t id)
{
    return id >= 1 && id <= 18 ? &IdTexts[id - 1] : nullptr;
}

} // namespace

std::uint16_t TQEL629C::getChID(std::uint32_t ch) const
{
    return ChannelIDOr(ch);
}

std::string TQEL629C::GetChName(std::uint32_t ch) const
{
    return ChannelNameOr(ch, ch);
}

std::string TQEL629C::GetChUnit(std::uint32_t ch) const
{
    return ChannelUnitOr(ch, ch);
}

float TQEL629C::CalcChValue(std::uint32_t chn, std::int16_t x) const
{
    return IsChannelIndex(chn) ? ChannelAt(chn).CalcValue(x) : static_cast<float>(x);
}

std::string TQEL629C::GetName() const { return "QEL629C"; }

bool TQEL629C::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel629c::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

bool TQEL629C::hasUTC() const { return true; }
bool TQEL629C::hasExternalControl() const { return (INT_CFG & ExternalControlBit) != 0; }
bool TQEL629C::hasSDCard() const { return (INT_CFG & SDCardBit) != 0; }
bool TQEL629C::hasNewMemorySections() const { return ID_VER > 0x604; }

void TQEL629C::NewConfigChannels()
{
    Channels.Clear();
    for (int i = 0; i < ConfigChannelCount; ++i) {
        auto channel = std::make_unique<qel629c::TQelChannel>();
        channel->Info.dGain = 1.0f;
        channel->Info.dOfs = 0.0f;
        Channels.Add(channel.release());
    }
}

std::string TQEL629C::getChNameFromID(std::uint16_t id)
{
    const TIdText* text = IdText(id);
    return text != nullptr ? text->name : "";
}

std::string TQEL629C::getChUnitFromID(std::uint16_t id)
{
    const TIdText* text = IdText(id);
    return text != nullptr ? text->unit : "";
}

void TQEL629C::CopyFrom(const TQEL629C& Source)
{
    CopyModelFrom(Source);
    APP_ID = Source.APP_ID;
    ViewTimeOff = Source.ViewTimeOff;
    ViewTimeLogo = Source.ViewTimeLogo;
    QELNAME = Source.QELNAME;
    CFG_TIME = Source.CFG_TIME;
    bReadChannelInfo = Source.bReadChannelInfo;
    bReadChannelLimit = Source.bReadChannelLimit;
    bReadMTaskInfo = Source.bReadMTaskInfo;
    LIMIT_CFG = Source.LIMIT_CFG;
    SDCARD = Source.SDCARD;
    SDCARD_CTRL = Source.SDCARD_CTRL;
    SDCARD_CLASS = Source.SDCARD_CLASS;
    SDCARD_VERSION = Source.SDCARD_VERSION;
    SDCARD_LOGGER_CLASS = Source.SDCARD_LOGGER_CLASS;
    SDCARD_LOGGER_SN = Source.SDCARD_LOGGER_SN;
    SDCARD_STATE = Source.SDCARD_STATE;
    SN_NEW = Source.SN_NEW;
}

std::unique_ptr<TQEL629C> TQEL629C::CreateCopy() const
{
    return CopiedFrom(*this);
}

} // namespace qel

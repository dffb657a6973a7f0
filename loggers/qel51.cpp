// Logger class of model code 0x6616: names of the four series per channel,
// accepted versions and copies.
#include "loggers/qel51.h"

#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL51::ClassInfo = MakeQelClass<TQEL51>("TQEL51");

namespace qel51 {

TIntQelTaskList IntTasks1, IntTasks2;
TQelChannelList IntChannels;

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL51::ClassInfo, ModulClass == 0x6616, ModulVersion, {{1, 0, 0}});
}

} // namespace qel51

std::string TQEL51::GetChName(std::uint32_t ch) const
{
    return MinMaxAvgName(ch);
}

std::string TQEL51::GetChUnit(std::uint32_t ch) const
{
    return SeriesUnit(ch);
}

std::string TQEL51::GetName() const
{
    return ID_CLASS == 0x6616 ? "QEL51" : "?";
}

bool TQEL51::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel51::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

void TQEL51::CopyFrom(const TQEL51& Source)
{
    CopyModelFrom(Source);
    ViewTimeOff = Source.ViewTimeOff;
    ViewTimeLogo = Source.ViewTimeLogo;
    ViewTableList.CopyFrom(Source.ViewTableList);
    ViewGraphicList.CopyFrom(Source.ViewGraphicList);
}

std::unique_ptr<TQEL51> TQEL51::CreateCopy() const
{
    return CopiedFrom(*this);
}

} // namespace qel

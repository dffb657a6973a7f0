// Value formats of the configurable units and the task names of the table of
// all tasks.
#include "loggers/qel_config_channel.h"

#include "loggers/value_format.h"

namespace qel {

std::string GetValueFormat(std::uint8_t fmt)
{
    switch (fmt & 7) {
    case 1: return "0.0";
    case 2: return "0.00";
    case 3: return "0.000";
    case 4: return "0.0000";
    default: return "0";
    }
}

std::string FormatValue(std::uint8_t fmt, float x)
{
    return FormatWithPattern(GetValueFormat(fmt).c_str(), x);
}

std::string TIntAllTask::getName(std::uint16_t taskID) const
{
    const char* name = "";
    switch (taskID) {
    case 1: name = "T1"; break;
    case 2: name = "RH"; break;
    case 3: name = "P"; break;
    case 4: name = "ACC"; break;
    case 5: name = "L"; break;
    case 7: name = "T2"; break;
    case 8: name = "DMS"; break;
    case 9: name = "P2"; break;
    case 29: name = "BAT"; break;
    case 30: name = "AIN"; break;
    case 31: name = "FLEX_T1"; break;
    case 32: name = "FLEX_RH"; break;
    case 33: name = "FLEX_P"; break;
    case 34: name = "FLEX_TRACKING"; break;
    case 40: name = "SE"; break;
    default: break;
    }
    return std::string(name) + " (" + std::to_string(taskID) + ")";
}

} // namespace qel

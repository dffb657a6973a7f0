// Texts shared by the configurable logger models: series suffixes, the
// fallback text of unknown channel numbers and the BLE module version.
#include "loggers/qel_config_model.h"

namespace qel {

const char* MinMaxAvgSuffix(std::uint32_t kind)
{
    switch (kind) {
    case 1: return " min";
    case 2: return " max";
    case 3: return " avg";
    default: return "";
    }
}

std::string UnknownChannelText(std::uint32_t ch)
{
    return std::to_string(ch) + "?";
}

std::string BleVersionStr(std::uint16_t BLE_IF, std::uint16_t BLE_VER)
{
    return BLE_IF == 15 ? TextWithNumber("0.", BLE_VER) : VersionToStr(BLE_VER);
}

} // namespace qel

// Common part of the configurable logger models: one unit's channel and task
// lists, the channel-number schemes over them, recording tasks, value texts.
#pragma once

#include "foundations/byte_helpers.h"
#include "loggers/qel_base.h"
#include "loggers/qel_config_channel.h"
#include "loggers/value_format.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace qel {

// Channel ID of a channel number that names no channel.
inline constexpr std::uint16_t NoChannelID = 0x3FFF;

// Families with four series per channel number them 4 × channel index + kind.
constexpr std::uint32_t SeriesIndex(std::uint32_t ch) { return ch >> 2; }
constexpr std::uint32_t SeriesKind(std::uint32_t ch) { return ch & 3; }

// Suffix of the kinds current, minimum, maximum, average: "", " min", " max", " avg".
const char* MinMaxAvgSuffix(std::uint32_t kind);

// Name and unit text of a channel number that names no channel: "12?".
std::string UnknownChannelText(std::uint32_t ch);

// Version text of a BLE module: "0." and the decimal version word for the
// interface code 15, else VersionToStr of the version word.
std::string BleVersionStr(std::uint16_t BLE_IF, std::uint16_t BLE_VER);

// Firmware features of the configurable generations by the firmware version
// word: every unit with a feature test of the matching name answers it so.
namespace config_feature {
constexpr bool QelName(std::uint16_t v) { return v > 0x101; }
constexpr bool BatTask(std::uint16_t v) { return v > 0x105; }
constexpr bool ChannelsConfigurable(std::uint16_t v) { return v >= 0x108; }
constexpr bool BLEConfigurable(std::uint16_t v) { return v > 0x108; }
constexpr bool UTC(std::uint16_t v) { return v > 0x108; }
constexpr bool LocalStart(std::uint16_t v) { return v > 0x10A; }
constexpr bool SyncTime(std::uint16_t v) { return v > 0x10C; }
constexpr bool PSensorConfigurable(std::uint16_t v) { return v >= 0x10F; }
constexpr bool BLEBaseStation(std::uint16_t v) { return v > 0x110; }
constexpr bool AppID(std::uint16_t v) { return v > 0x112; }
constexpr bool TaskConfiguration(std::uint16_t v) { return v > 0x11A; } // and the task options
constexpr bool RadioModule(std::uint16_t v) { return v >= 0x150; }     // hasKE: BLE or WLAN by KE_TYPE
} // namespace config_feature

// Base of the configurable models with the companion copy C: the channel and
// task lists and the channel-number schemes over them. The samples of these
// families arrive as singles, so no conversion scales them (QEL629c's raw
// samples excepted, which its channels scale).
template <TQelCompanionCopy C>
class TQelConfigModelT : public TQEL {
public:
    TQelChannelListT<C> Channels;
    TQelTaskListT<C> Tasks;

    float GetChValue(std::uint32_t) const override { return 0.0f; }
    float CalcChValue(std::uint32_t, std::int16_t x) const override { return static_cast<float>(x); }
    bool IsValidValue(std::uint32_t, float value) const override { return !IsNaNSingle(value); }
    std::string GetValueStr(std::uint32_t, float value) const override { return FormatGeneral(value); }
    using TQEL::GetChValue;

    // Whether a channel of the task records; False for a task number outside
    // the list. The task's channel numbers are walked at most as far as the
    // channel list is long; one that names no channel raises the list's
    // index error.
    bool isRecActive(int task) const
    {
        if (task < 0 || task >= Tasks.Count()) {
            return false;
        }
        const TQelTaskT<C>& entry = Tasks.GetItem(task);
        const int walked = std::min(entry.Count(), Channels.Count());
        for (int i = 0; i < walked; ++i) {
            if (Channels.GetItem(entry.GetChannel(i)).RecActive) {
                return true;
            }
        }
        return false;
    }

    // Sets RecActive of the task's channels, walked as isRecActive walks them.
    void setRecActive(int task, bool active)
    {
        if (task < 0 || task >= Tasks.Count()) {
            return;
        }
        const TQelTaskT<C>& entry = Tasks.GetItem(task);
        const int walked = std::min(entry.Count(), Channels.Count());
        for (int i = 0; i < walked; ++i) {
            Channels.GetItem(entry.GetChannel(i)).RecActive = active;
        }
    }

protected:
    // Identity and copies of the channel and task lists: what every unit's
    // CopyFrom copies.
    void CopyModelFrom(const TQelConfigModelT& Source)
    {
        ID_CLASS = Source.ID_CLASS;
        ID_VER = Source.ID_VER;
        ID_VER_PC = Source.ID_VER_PC;
        SN = Source.SN;
        Channels.CopyFrom(Source.Channels);
        Tasks.CopyFrom(Source.Tasks);
    }

    bool IsChannelIndex(std::uint32_t index) const { return index < static_cast<std::uint32_t>(Channels.Count()); }
    const TQelChannelT<C>& ChannelAt(std::uint32_t index) const { return Channels.GetItem(static_cast<int>(index)); }

    // The name of channel `index` followed by suffix; the fallback text of
    // the channel number ch when the index names no channel.
    std::string ChannelNameOr(std::uint32_t index, std::uint32_t ch, const char* suffix = "") const
    {
        return IsChannelIndex(index) ? ChannelAt(index).GetName() + suffix : UnknownChannelText(ch);
    }

    std::string ChannelUnitOr(std::uint32_t index, std::uint32_t ch) const
    {
        return IsChannelIndex(index) ? ChannelAt(index).GetUnit() : UnknownChannelText(ch);
    }

    // Name and unit of a channel number in the scheme of four series per
    // channel, 4 × index + kind: current, minimum, maximum, average.
    std::string MinMaxAvgName(std::uint32_t ch) const
    {
        return ChannelNameOr(SeriesIndex(ch), ch, MinMaxAvgSuffix(SeriesKind(ch)));
    }

    std::string SeriesUnit(std::uint32_t ch) const { return ChannelUnitOr(SeriesIndex(ch), ch); }

    // The device channel ID of channel `index`; NoChannelID when it names no
    // channel.
    std::uint16_t ChannelIDOr(std::uint32_t index) const
    {
        return IsChannelIndex(index) ? ChannelAt(index).Info.chID : NoChannelID;
    }

    // As ChannelIDOr, but firmware up to 1.14 knows no channel IDs and
    // answers the channel number itself.
    std::uint16_t VersionedChannelID(std::uint32_t index, std::uint32_t ch) const
    {
        if (!IsChannelIndex(index)) {
            return NoChannelID;
        }
        return ID_VER <= 0x10E ? static_cast<std::uint16_t>(ch) : ChannelAt(index).Info.chID;
    }
};

} // namespace qel

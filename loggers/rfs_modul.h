// Radio sensor modules of the QEL539c: per module its identity, its channels
// with their latest raw values, and the rules that name and scale them.
#pragma once

#include "platform/object_list.h"

#include <array>
#include <cstdint>
#include <string>

namespace qel {

// One channel of a radio module.
class TRFSChannel {
public:
    bool FNewValue = false;  // a value arrived and was not yet taken
    std::int32_t FValue = 0; // the latest raw value
    std::int32_t rfsID = 0;  // key by which the module's values are routed to the channel
    std::int32_t ID = 0;     // measurement ID: selects name, unit and scaling

    void setValue(std::int32_t value)
    {
        FValue = value;
        FNewValue = true;
    }

    // Takes the new value once: False (value 0) when none arrived since the
    // last take.
    bool getValue(std::int32_t& value)
    {
        value = 0;
        if (!FNewValue) {
            return false;
        }
        FNewValue = false;
        value = FValue;
        return true;
    }
};

// A radio module: its channels in creation order, the radio channels first
// and the counter channel (ID 20, key 256) last.
class TRFSModul : public plat::TObjectList<TRFSChannel> {
public:
    static constexpr int TransparentPositions = 3; // value positions the map routes
    static constexpr std::int32_t CounterID = 20;
    static constexpr std::int32_t CounterRfsID = 256;

    std::int32_t channel_base = 0;
    std::uint8_t modul_no = 0;  // module number the radio records carry
    std::uint16_t sn = 0;       // serial number
    std::uint8_t cfg = 0;       // sensor configuration: which channels the module has
    std::uint8_t ctrl = 0;      // bit 7: transparent mode
    std::uint8_t position = 0;
    std::uint8_t rate = 0;      // measuring-rate code
    std::uint8_t bat = 0;       // battery code
    std::uint8_t channels = 0;  // values per radio record
    std::uint8_t cnt = 0;
    std::int32_t tm_channels = 0; // valid entries of tm_channel_map, at most 3
    // In transparent mode, the channel IDs of the first value positions.
    std::array<std::int32_t, TransparentPositions> tm_channel_map{};

    // A radio channel whose ID is also its key.
    void AddRFSChannel(std::int32_t ID);
    // A channel reached by its own key; not counted as a radio channel.
    void AddChannelWithRfsID(std::int32_t ID, std::int32_t rfsID);

    bool isTransparentMode() const { return (ctrl & 0x80) != 0; }

    // Rebuilds the channels from ctrl and cfg.
    void Initialize();
    // In transparent mode, takes a new configuration byte and rebuilds the
    // map from it; unchanged cfg needs bInit to rebuild.
    void setTransparentConfig(std::uint8_t newcfg, bool bInit);

    // Channel index of a value position of a radio record; -1 when the
    // position leads to no channel.
    int getChannelIndex(int pos) const;
    // Index of the first channel with this key; -1 when none.
    int findRFSChannel(std::int32_t rfsID) const;

    // An invalid channel index is ignored.
    void setRFSChannelValue(int rfs_channel, std::int16_t value);
    void setRFSChannelValue32(int rfs_channel, std::int32_t value);

    int getChannels() const { return Count(); }
    int getRFSChannels() const { return rfs_channels; }
    TRFSChannel& GetItem(int Index) const { return *Items(Index); }

    // The raw value scaled by the channel's ID; 0 for an invalid index.
    float calcChValue(int channel, std::int32_t x) const;
    // Takes the channel's new value once and scales it; text is the value
    // formatted "0" or "0.0" by ID. False for an invalid index or no new value.
    bool getValidValue(int channel, float& y, std::string& text);

    // Empty texts for an invalid index.
    std::string getChannelName(int channel) const;
    std::string getChannelUnit(int channel) const;
    // "SM-" and the serial number.
    std::string getModulName() const;

    int getRateSec() const;
    std::string getRateStr() const;
    std::string getBatStr() const;
    double getBatCAP() const { return bat == 0 ? 800.0 : 240.0; }

private:
    bool IsChannel(int channel) const { return channel >= 0 && channel < Count(); }
    void AppendToMap(std::int32_t ID);

    std::int32_t rfs_channels = 0; // channels counted by AddRFSChannel
};

// The radio modules a logger met, in order of their first radio record.
class TRFSModulList : public plat::TObjectList<TRFSModul> {
public:
    TRFSModul& GetItem(int Index) const { return *Items(Index); }

    // Index of the first module with this serial number or module number; -1 when none.
    int findModulSN(std::uint16_t modul_sn) const;
    int findModulNo(std::uint8_t modul_no) const;

    // The module's answers; empty texts or 0 for an invalid module index.
    std::string getModulName(int modul) const;
    std::string getChannelName(int modul, int channel) const;
    std::string getChannelUnit(int modul, int channel) const;
    float calcChValue(int modul, int channel, std::int32_t x) const;

    // Sorts the modules by serial number when ctrl is 1, else by position.
    void Initialize(std::uint8_t ctrl);

private:
    bool IsModul(int modul) const { return modul >= 0 && modul < Count(); }
};

} // namespace qel

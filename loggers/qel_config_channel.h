// Channel, task and view classes of the configurable logger families. Each
// family's unit has its own copy of them; one implementation serves all copies,
// parameterised by what a copy has, lacks or does differently (table below).
#pragma once

#include "loggers/value_math.h"
#include "platform/object_list.h"

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace qel {

// Description of a configurable channel.
struct TQelChannelInfo {
    bool bEnabled = false;
    std::string sName;           // channel name
    std::string sUnit;           // unit text
    float dGain = 0.0f;
    float dOfs = 0.0f;
    std::uint8_t nDispFmt = 0;   // display format: number of decimals (GetValueFormat)
    std::uint8_t nOption = 0;
    std::uint16_t chID = 0;      // the device's channel ID
};

// Two points of a two-point calibration.
struct TQelChannelCal {
    bool bEnabled = false;
    float P1S = 0.0f, P1I = 0.0f, P2S = 0.0f, P2I = 0.0f;
};

enum TQelChannelMask { tcmCurrent, tcmMin, tcmMax, tcmAvg };

// Set of TQelChannelMask in one byte, member n in bit n.
using TSetQelChannelMask = std::uint8_t;

// Layout of a unit's TQelTask.
enum class TQelTaskLayout : std::uint8_t {
    RegConfig,  // task_config, reg_config, Options and the fast-peak operations
    Cfg,        // CFG
    CfgEnabled  // Enabled and CFG
};

// Layout of a unit's TIntQelTask.
enum class TIntQelTaskLayout : std::uint8_t {
    TaskNo,    // task_no, reg_config, name; its list finds by task_no
    AllTaskNo  // all_task_no, options; its list finds by all_task_no
};

// What one unit's copy of the companion classes has, lacks or does differently.
struct TQelCompanionCopy {
    std::uint8_t Unit;               // keeps each unit's classes distinct types
    bool FlexFields;                 // FlexChannelType, FlexChannelSN; GetName adds " Flex" and the serial
    bool ChIDField;                  // a ChID field ahead of Enabled
    bool CalFields;                  // Calibrated, DeviceInfo, BaseInfo, DispInfo, Cal
    bool CalAllowedField;            // bCalAllowed
    bool ChannelLimit;               // the channel owns a TQelChannelLimit
    bool BleCondition;               // the limit has ble_condition
    bool HumidityClamp;              // fRTMValue in place of fValue, CalcValue and CheckInRange
    bool CopiesRecording;            // CopyFrom also copies RecMask, RecRateL, RecRateH
    TQelTaskLayout TaskLayout;
    bool TaskHidden;                 // TQelTask.isHidden
    TIntQelTaskLayout IntTaskLayout;
};

// The copies of the configurable units, side by side.
//                                  unit flex  chID   cal    calAl  limit  ble    clamp  copyRec task layout                hidden intTask
inline constexpr TQelCompanionCopy Qel62xWCopy{1, true, false, true, true, true, true, false, false, TQelTaskLayout::RegConfig, false, TIntQelTaskLayout::TaskNo};
inline constexpr TQelCompanionCopy Qel624cCopy{2, false, false, true, true, false, false, false, false, TQelTaskLayout::Cfg, false, TIntQelTaskLayout::AllTaskNo};
inline constexpr TQelCompanionCopy Qel621WDCopy{3, false, false, true, true, false, false, false, false, TQelTaskLayout::RegConfig, false, TIntQelTaskLayout::TaskNo};
inline constexpr TQelCompanionCopy Qel51Copy{4, false, true, false, false, false, false, false, true, TQelTaskLayout::CfgEnabled, false, TIntQelTaskLayout::AllTaskNo};
inline constexpr TQelCompanionCopy Qel539cCopy{5, false, true, true, false, false, false, false, false, TQelTaskLayout::CfgEnabled, false, TIntQelTaskLayout::AllTaskNo};
inline constexpr TQelCompanionCopy Qel28Copy{6, false, false, true, true, false, false, false, false, TQelTaskLayout::RegConfig, false, TIntQelTaskLayout::TaskNo};
inline constexpr TQelCompanionCopy Qel629cCopy{7, false, false, true, true, true, false, true, false, TQelTaskLayout::RegConfig, true, TIntQelTaskLayout::TaskNo};

// A new object of type T that has copied itself from source with its CopyFrom:
// the CreateCopy of the configurable classes.
template <class T>
std::unique_ptr<T> CopiedFrom(const T& source)
{
    auto copy = std::make_unique<T>();
    copy->CopyFrom(source);
    return copy;
}

// Replaces the items of an owning list by copies of the source list's items,
// in source order.
template <class List>
void ReplaceByCopies(List& list, const List& source)
{
    list.Clear();
    for (int i = 0; i < source.Count(); ++i) {
        list.Add(source.GetItem(i).CreateCopy().release());
    }
}

// Display pattern of a display format: fmt and 7 gives 1 "0.0", 2 "0.00",
// 3 "0.000", 4 "0.0000", any other value "0".
std::string GetValueFormat(std::uint8_t fmt);
// x formatted with that pattern and the program's format settings.
std::string FormatValue(std::uint8_t fmt, float x);

namespace companion {

// Field groups a copy may have; an absent group is an empty base.
template <int N>
struct TNone {};

struct TChIDField {
    std::uint16_t ChID = 0;
};

struct TFlexFields {
    std::uint8_t FlexChannelType = 0;  // 0 the logger's own channel, 1 or 2 a flex sensor's
    std::uint32_t FlexChannelSN = 0;   // serial number of that flex sensor
};

struct TCalFields {
    bool Calibrated = false;
    TQelChannelInfo DeviceInfo, BaseInfo, DispInfo;
    TQelChannelCal Cal;
};

struct TCalAllowedField {
    bool bCalAllowed = false;
};

struct TValueField {
    float fValue = 0.0f; // the channel's current value
};

struct TRTMValueField {
    float fRTMValue = 0.0f; // the channel's current reading
};

struct TBleConditionField {
    std::uint8_t ble_condition = 0;
};

template <bool Has, class Group, int N>
using Optional = std::conditional_t<Has, Group, TNone<N>>;

} // namespace companion

// Limit entry of a configurable channel.
template <TQelCompanionCopy C>
class TQelChannelLimitT : public companion::Optional<C.BleCondition, companion::TBleConditionField, 0> {
public:
    std::uint8_t rec_condition = 0;
    std::uint8_t alarm_condition = 0;
    bool global_trigger_enabled = false;
    double limit_L1 = 0.0, limit_L2 = 0.0;
    bool bReaderRead = false; // a page decoder read the channel's limit entry from the card

    bool Enabled() const { return false; }

    // The limit settings, not bReaderRead.
    void CopyFrom(const TQelChannelLimitT& source)
    {
        rec_condition = source.rec_condition;
        alarm_condition = source.alarm_condition;
        global_trigger_enabled = source.global_trigger_enabled;
        if constexpr (C.BleCondition) {
            this->ble_condition = source.ble_condition;
        }
        limit_L1 = source.limit_L1;
        limit_L2 = source.limit_L2;
    }
};

namespace companion {

template <TQelCompanionCopy C>
struct TLimitField {
    std::unique_ptr<TQelChannelLimitT<C>> Limit = std::make_unique<TQelChannelLimitT<C>>();
};

} // namespace companion

// A configurable channel.
template <TQelCompanionCopy C>
class TQelChannelT : public companion::Optional<C.ChIDField, companion::TChIDField, 0>,
                     public companion::Optional<C.FlexFields, companion::TFlexFields, 1>,
                     public companion::Optional<C.CalFields, companion::TCalFields, 2>,
                     public companion::Optional<C.CalAllowedField, companion::TCalAllowedField, 3>,
                     public std::conditional_t<C.HumidityClamp, companion::TRTMValueField, companion::TValueField>,
                     public companion::Optional<C.ChannelLimit, companion::TLimitField<C>, 4> {
public:
    bool Enabled = false;
    bool Math = false;
    bool RecActive = false;       // the channel records in its task
    std::int32_t TaskNo = 0;
    std::int32_t ChNo = 0;
    TQelChannelInfo Info;         // the description the program uses
    std::uint8_t Cfg = 0;
    TSetQelChannelMask RecMask = 0; // which of current, minimum, maximum, average it records
    std::uint16_t RecRateL = 0, RecRateH = 0;

    std::string GetName() const
    {
        if constexpr (C.FlexFields) {
            if (this->FlexChannelType == 1 || this->FlexChannelType == 2) {
                return WithoutText(Info.sName, std::to_string(this->FlexChannelSN)) + " Flex" +
                       std::to_string(this->FlexChannelSN);
            }
        }
        return Info.sName;
    }

    std::string GetUnit() const { return Info.sUnit; }
    std::uint8_t GetFmt() const { return Info.nDispFmt; }

    float GetValue() const
    {
        if constexpr (C.HumidityClamp) {
            float value = this->fRTMValue;
            CheckInRange(value);
            return value;
        } else {
            return this->fValue;
        }
    }

    bool GetValue(float& value, std::string& text) const
    {
        value = GetValue();
        text = FormatValue(Info.nDispFmt, value);
        return true;
    }

    // Humidity channels (IDs 5 and 12) are held to 0 ... 100; False when the
    // value had to be changed. NaNs and other channels pass.
    bool CheckInRange(float& value) const
        requires(C.HumidityClamp)
    {
        if (Info.chID != 5 && Info.chID != 12) {
            return true;
        }
        if (value < 0.0f) {
            value = 0.0f;
            return false;
        }
        if (value > 100.0f) {
            value = 100.0f;
            return false;
        }
        return true;
    }

    // A raw sample as a value: gain × x + offset in double, rounded to single,
    // then held to the channel's range. A result beyond the single range
    // gives NoValueMarker.
    float CalcValue(std::int16_t x) const
        requires(C.HumidityClamp)
    {
        float value = ValueOrNoValue(static_cast<double>(Info.dGain) * x + Info.dOfs);
        CheckInRange(value);
        return value;
    }

    std::string GetValueStr(float x) const { return FormatValue(Info.nDispFmt, x); }
    std::string GetValueStr() const { return GetValueStr(GetValue()); }

    static std::uint8_t MaskToByte(TSetQelChannelMask mask) { return mask & 0x0F; }
    static TSetQelChannelMask ByteToMask(std::uint8_t b) { return b & 0x0F; }

    std::unique_ptr<TQelChannelT> CreateCopy() const { return CopiedFrom(*this); }

    // Copies the settings a copy of this unit carries over; the readings,
    // calibration and bReaderRead stay.
    void CopyFrom(const TQelChannelT& source)
    {
        Enabled = source.Enabled;
        Math = source.Math;
        if constexpr (C.FlexFields) {
            this->FlexChannelType = source.FlexChannelType;
            this->FlexChannelSN = source.FlexChannelSN;
        }
        RecActive = source.RecActive;
        TaskNo = source.TaskNo;
        Info = source.Info;
        if constexpr (C.ChannelLimit) {
            this->Limit->CopyFrom(*source.Limit);
        }
        if constexpr (C.CopiesRecording) {
            RecMask = source.RecMask;
            RecRateL = source.RecRateL;
            RecRateH = source.RecRateH;
        }
    }

private:
    static std::string WithoutText(std::string text, const std::string& part)
    {
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
            text.erase(at, part.size());
        }
        return text;
    }
};

// Channels of a unit in channel-index order; owns them.
template <TQelCompanionCopy C>
class TQelChannelListT : public plat::TObjectList<TQelChannelT<C>> {
public:
    TQelChannelT<C>& GetItem(int Index) const { return *this->Items(Index); }

    void CopyFrom(const TQelChannelListT& source) { ReplaceByCopies(*this, source); }
};

namespace companion {

struct TTaskRegFields {
    std::uint16_t task_config = 0;
    std::uint16_t reg_config = 0;
    std::uint32_t Options = 0;
};

struct TTaskCfgField {
    std::uint16_t CFG = 0;
};

struct TTaskEnabledField {
    bool Enabled = false;
};

} // namespace companion

// A measuring task: its settings and the numbers of its channels.
template <TQelCompanionCopy C>
class TQelTaskT
    : public companion::Optional<C.TaskLayout == TQelTaskLayout::RegConfig, companion::TTaskRegFields, 0>,
      public companion::Optional<C.TaskLayout != TQelTaskLayout::RegConfig, companion::TTaskCfgField, 1>,
      public companion::Optional<C.TaskLayout == TQelTaskLayout::CfgEnabled, companion::TTaskEnabledField, 2> {
public:
    std::uint16_t ID = 0;
    std::string Name;
    std::uint32_t MeasRate = 0;
    std::uint32_t MeasRateMin = 0;
    std::uint32_t PreTime = 0;

    int Count() const { return static_cast<int>(FChannels.size()); }
    void AddChannel(std::int32_t channel) { FChannels.push_back(channel); }
    // Raises the platform list's index error outside 0 ... Count - 1.
    std::int32_t GetChannel(int Index) const
    {
        if (Index < 0 || Index >= Count()) {
            throw plat::EListError(Index);
        }
        return FChannels[static_cast<std::size_t>(Index)];
    }

    bool isFastPeakAvailable() const
        requires(C.TaskLayout == TQelTaskLayout::RegConfig)
    {
        return (this->reg_config & 0x100) != 0;
    }

    bool isFastPeakActive() const
        requires(C.TaskLayout == TQelTaskLayout::RegConfig)
    {
        return isFastPeakAvailable() && (this->Options & 1) != 0;
    }

    void setFastPeak(bool active)
        requires(C.TaskLayout == TQelTaskLayout::RegConfig)
    {
        if (!isFastPeakAvailable()) {
            return;
        }
        this->Options = active ? (this->Options | 1u) : (this->Options & ~1u);
    }

    bool isHidden() const
        requires(C.TaskHidden)
    {
        return (this->task_config & 1) != 0;
    }

    std::unique_ptr<TQelTaskT> CreateCopy() const { return CopiedFrom(*this); }

    void CopyFrom(const TQelTaskT& source)
    {
        ID = source.ID;
        Name = source.Name;
        MeasRate = source.MeasRate;
        MeasRateMin = source.MeasRateMin;
        PreTime = source.PreTime;
        if constexpr (C.TaskLayout == TQelTaskLayout::RegConfig) {
            this->task_config = source.task_config;
            this->reg_config = source.reg_config;
            this->Options = source.Options;
        } else {
            this->CFG = source.CFG;
        }
        if constexpr (C.TaskLayout == TQelTaskLayout::CfgEnabled) {
            this->Enabled = source.Enabled;
        }
        FChannels = source.FChannels;
    }

private:
    std::vector<std::int32_t> FChannels; // channel numbers in the order they were added
};

template <TQelCompanionCopy C>
class TQelTaskListT : public plat::TObjectList<TQelTaskT<C>> {
public:
    TQelTaskT<C>& GetItem(int Index) const { return *this->Items(Index); }

    void CopyFrom(const TQelTaskListT& source) { ReplaceByCopies(*this, source); }

    // Index of the first task with this ID; -1 when none.
    int FindTaskID(std::uint16_t ID) const
    {
        for (int i = 0; i < this->Count(); ++i) {
            if (GetItem(i).ID == ID) {
                return i;
            }
        }
        return -1;
    }
};

// Display views: a channel of a graphic view with its colour, and of a table view.
template <TQelCompanionCopy C>
class TQelViewGraphicT {
public:
    std::uint8_t channel = 0;
    std::uint8_t color = 0;

    std::unique_ptr<TQelViewGraphicT> CreateCopy() const { return std::make_unique<TQelViewGraphicT>(*this); }
    void CopyFrom(const TQelViewGraphicT& source) { *this = source; }
};

template <TQelCompanionCopy C>
class TQelViewGraphicListT : public plat::TObjectList<TQelViewGraphicT<C>> {
public:
    float ymin = 0.0f;
    float ystep = 0.0f;
    std::uint8_t yfmt = 0;
    std::uint8_t penwidth = 0;

    TQelViewGraphicT<C>& GetItem(int Index) const { return *this->Items(Index); }

    // The items and the axis settings; not the pen width.
    void CopyFrom(const TQelViewGraphicListT& source)
    {
        ReplaceByCopies(*this, source);
        ymin = source.ymin;
        ystep = source.ystep;
        yfmt = source.yfmt;
    }
};

template <TQelCompanionCopy C>
class TQelViewTableT {
public:
    std::uint8_t channel = 0;

    std::unique_ptr<TQelViewTableT> CreateCopy() const { return std::make_unique<TQelViewTableT>(*this); }
    void CopyFrom(const TQelViewTableT& source) { *this = source; }
};

template <TQelCompanionCopy C>
class TQelViewTableListT : public plat::TObjectList<TQelViewTableT<C>> {
public:
    TQelViewTableT<C>& GetItem(int Index) const { return *this->Items(Index); }

    void CopyFrom(const TQelViewTableListT& source) { ReplaceByCopies(*this, source); }
};

namespace companion {

struct TIntTaskNoFields {
    std::uint8_t task_no = 0;
    std::uint16_t reg_config = 0;
    std::string name;
};

struct TIntAllTaskNoFields {
    std::uint8_t all_task_no = 0;
    std::uint16_t options = 0;
};

} // namespace companion

// An internal task entry.
template <TQelCompanionCopy C>
class TIntQelTaskT : public std::conditional_t<C.IntTaskLayout == TIntQelTaskLayout::TaskNo,
                                               companion::TIntTaskNoFields, companion::TIntAllTaskNoFields> {};

template <TQelCompanionCopy C>
class TIntQelTaskListT : public plat::TObjectList<TIntQelTaskT<C>> {
public:
    TIntQelTaskT<C>& GetItem(int Index) const { return *this->Items(Index); }

    // Index of the first entry with this number; -1 when none.
    int FindTaskNo(std::uint8_t task_no) const
        requires(C.IntTaskLayout == TIntQelTaskLayout::TaskNo)
    {
        for (int i = 0; i < this->Count(); ++i) {
            if (GetItem(i).task_no == task_no) {
                return i;
            }
        }
        return -1;
    }

    int FindAllTaskNo(std::uint8_t all_task_no) const
        requires(C.IntTaskLayout == TIntQelTaskLayout::AllTaskNo)
    {
        for (int i = 0; i < this->Count(); ++i) {
            if (GetItem(i).all_task_no == all_task_no) {
                return i;
            }
        }
        return -1;
    }
};

// An entry of the table of all tasks a logger knows (QEL62xW unit).
class TIntAllTask {
public:
    std::uint16_t ID = 0;
    std::uint16_t cfg = 0;
    std::uint8_t ChannelBase = 0;
    std::uint8_t ChannelCnt = 0;

    // The task name of the ID, then " (", the decimal ID and ")"; an ID
    // without a name gives only the blank and the parenthesised number.
    std::string getName(std::uint16_t taskID) const;
};

class TIntAllTaskList : public plat::TObjectList<TIntAllTask> {
public:
    TIntAllTask& GetItem(int Index) const { return *this->Items(Index); }
};

} // namespace qel

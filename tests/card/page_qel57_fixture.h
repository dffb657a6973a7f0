// Shared helpers of the QEL57 decoder tests: the three generations, their
// loggers, and the samples of the read buffer list as series per channel.
#pragma once

#include "card/buffer_list.h"
#include "card/dbus_data.h"
#include "loggers/qel57.h"
#include "loggers/qel_factory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <vector>

namespace qeltest {

struct TQel57Gen {
    const char* Name;
    std::uint16_t PcVersion;   // chooses the decoder and the logger class
};
inline constexpr TQel57Gen GEN_57{"QEL57", 0x0106};
inline constexpr TQel57Gen GEN_57B{"QEL57b", 0x0200};
inline constexpr TQel57Gen GEN_57C{"QEL57c", 0x0304};

inline std::ostream& operator<<(std::ostream& out, const TQel57Gen& gen)
{
    return out << gen.Name;
}

// A new logger of the generation's class, current in the logger list and in
// the read buffer list.
inline qel::TQEL57& AddQel57Logger(const TQel57Gen& gen, std::uint32_t serial = 57)
{
    std::unique_ptr<qel::TQEL> made = qel::GetQelClass(0x661D, gen.PcVersion)->Create();
    auto* logger = dynamic_cast<qel::TQEL57*>(made.get());
    EXPECT_NE(logger, nullptr) << gen;
    made.release();
    logger->ID_CLASS = 0x661D;
    logger->ID_VER = gen.PcVersion;
    logger->ID_VER_PC = gen.PcVersion;
    logger->SN = serial;
    qel::QelList.Add(logger);
    qel::ReadBufferList.SetActiveQEL(logger);
    return *logger;
}

struct TSample {
    std::int64_t Time;
    std::int16_t Value;
    bool operator==(const TSample&) const = default;
};

inline void PrintTo(const TSample& sample, std::ostream* out)
{
    *out << "(" << sample.Time << ", " << sample.Value << ")";
}

// Serial number and channel of a series.
struct TSeriesKey {
    std::uint32_t Serial;
    std::uint32_t Channel;
    auto operator<=>(const TSeriesKey&) const = default;
};

inline void PrintTo(const TSeriesKey& key, std::ostream* out)
{
    *out << "SN " << key.Serial << " ch " << key.Channel;
}

using TSeriesMap = std::map<TSeriesKey, std::vector<TSample>>;

// Ends the read of the list's buffers and reads every sample back.
inline TSeriesMap ReadAllSeries()
{
    qel::ReadBufferList.EndRead();
    TSeriesMap result;
    for (qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        std::vector<TSample>& samples = result[{buffer->GetLinkQEL()->SN, buffer->GetChannel()}];
        buffer->BeginSave();
        while (!buffer->GetSaveComplete()) {
            std::int16_t value = 0;
            const std::int64_t time = buffer->GetSaveTime();
            EXPECT_TRUE(buffer->GetSaveIntValue(time, value));
            samples.push_back({time, value});
        }
        buffer->EndSave();
    }
    return result;
}

// A D-Bus block as plain values.
struct TBlock {
    std::int64_t Time;
    std::uint8_t Nr;
    std::uint32_t Addr;
    std::vector<std::uint8_t> Data;
    bool operator==(const TBlock&) const = default;
};

inline void PrintTo(const TBlock& block, std::ostream* out)
{
    *out << "{t " << block.Time << ", Nr " << int{block.Nr} << ", addr " << block.Addr << ", " << block.Data.size()
         << " bytes}";
}

inline std::vector<TBlock> DBusBlocks()
{
    std::vector<TBlock> blocks;
    for (const qel::TDBusData* block : qel::DBusDataList) {
        blocks.push_back({block->DTime(), block->Nr(), block->Addr(), {block->Data().begin(), block->Data().end()}});
    }
    return blocks;
}

// Empties the read buffer list, the logger list and the D-Bus list.
inline void ResetQel57ReadState()
{
    qel::ReadBufferList.ClearAll();
    qel::ReadBufferList.SetActiveQEL(nullptr);
    qel::ReadBufferList.SetUseFileStream(false);
    qel::QelList.Clear();
    qel::DBusDataList.clearAll();
}

} // namespace qeltest

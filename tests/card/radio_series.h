// Series of single values in the read buffer list, read back per channel with
// the radio-module identity each buffer carries, for the QEL539c decoder tests.
#pragma once

#include "card/buffer_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <ostream>
#include <vector>

namespace qeltest {

struct TRadioSample {
    std::int64_t Time;
    float Value;
    bool operator==(const TRadioSample&) const = default;
};

inline void PrintTo(const TRadioSample& sample, std::ostream* out)
{
    *out << "(" << sample.Time << ", " << sample.Value << ")";
}

struct TRadioSeries {
    std::uint32_t ChannelSN = 0;   // channel_sn of the buffer
    std::uint16_t ChannelID = 0;   // channel_id of the buffer
    std::vector<TRadioSample> Samples;
    bool operator==(const TRadioSeries&) const = default;
};

inline void PrintTo(const TRadioSeries& series, std::ostream* out)
{
    *out << "{sn " << series.ChannelSN << ", id " << series.ChannelID << ",";
    for (const TRadioSample& sample : series.Samples) {
        *out << " ";
        PrintTo(sample, out);
    }
    *out << "}";
}

using TRadioSeriesMap = std::map<std::uint32_t, TRadioSeries>;   // by channel number

// Every buffer of the read list (all of the active logger), read back.
inline TRadioSeriesMap ReadRadioSeries()
{
    TRadioSeriesMap result;
    for (qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        TRadioSeries& series = result[buffer->GetChannel()];
        series.ChannelSN = buffer->channel_sn;
        series.ChannelID = buffer->channel_id;
        buffer->BeginSave();
        while (!buffer->GetSaveComplete()) {
            float value = 0.0f;
            const std::int64_t time = buffer->GetSaveTime();
            EXPECT_TRUE(buffer->GetSaveSingleValue(time, value));
            series.Samples.push_back({time, value});
        }
        buffer->EndSave();
    }
    return result;
}

} // namespace qeltest

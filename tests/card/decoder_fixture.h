// Shared fixture of the page decoder tests: one page with its header, the
// logger of the read in the logger list, and the series the decoders wrote.
#pragma once

#include "card/buffer_list.h"
#include "card/page_base.h"
#include "loggers/qel_base.h"
#include "tools/cardgen/cluster_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <ostream>
#include <utility>
#include <vector>

namespace qeltest {

using TRawSample = std::pair<std::int64_t, std::int16_t>;   // time in ticks, raw value
using TSeriesByChannel = std::map<std::uint32_t, std::vector<TRawSample>>;

// Every buffer of the read list, read back through its cursor, by channel.
inline TSeriesByChannel ReadListSeries()
{
    TSeriesByChannel series;
    for (qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        std::vector<TRawSample>& samples = series[buffer->GetChannel()];
        buffer->BeginSave();
        while (!buffer->GetSaveComplete()) {
            const std::int64_t time = buffer->GetSaveTime();
            std::int16_t value = 0;
            EXPECT_TRUE(buffer->GetSaveIntValue(time, value));
            samples.emplace_back(time, value);
        }
        buffer->EndSave();
    }
    return series;
}

class DecoderTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset()
    {
        qel::ReadBufferList.ClearAll();
        qel::ReadBufferList.SetActiveQEL(nullptr);
        qel::ReadBufferList.SetUseFileStream(false);
        qel::ReadBufferList.MissionData = {};
        qel::QelList.Clear();
    }

    // A logger of class T becomes the current logger of the read.
    template <class T>
    T& UseLogger(std::uint16_t model, std::uint16_t version)
    {
        Reset();
        auto* logger = new T();
        logger->ID_CLASS = model;
        logger->ID_VER = version;
        logger->ID_VER_PC = version;
        qel::QelList.Add(logger);
        qel::ReadBufferList.SetActiveQEL(logger);
        return *logger;
    }

    // A fresh page: zeros, then the header and the bytes from byte 8.
    void NewPage(const qel::cardgen::TPageHeaderFields& header, const std::vector<std::uint8_t>& records = {})
    {
        FPage.fill(0);
        qel::cardgen::WritePageHeader(FPage, header);
        std::copy(records.begin(), records.end(), FPage.begin() + qel::cardgen::kPageHeaderSize);
    }

    // Decodes the page (the first size bytes of it) with the decoder.
    void Decode(qel::TPage& decoder, std::uint16_t size = qel::PAGE_SIZE)
    {
        decoder.New(0, FPage.data(), size);
        decoder.ReadData();
    }

    std::array<std::uint8_t, qel::PAGE_SIZE> FPage{};
};

} // namespace qeltest

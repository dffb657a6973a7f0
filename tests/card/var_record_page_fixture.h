// Shared fixture of the tests of the variable-length record decoders: the
// logger of the read, pages built with cardgen, and the single-valued series
// and FIFO channels the decoders produced.
#pragma once

#include "card/buffer_list.h"
#include "card/fifo_data.h"
#include "card/page_base.h"
#include "loggers/qel_base.h"
#include "tools/cardgen/card_description.h"
#include "tools/cardgen/cluster_writer.h"
#include "tools/cardgen/var_records.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

namespace qeltest {

struct TSingleSample {
    std::int64_t Time;
    float Value;
    bool operator==(const TSingleSample&) const = default;
};

inline void PrintTo(const TSingleSample& sample, std::ostream* out)
{
    *out << "(" << sample.Time << ", " << sample.Value << ")";
}

using TSingleSeries = std::map<std::uint32_t, std::vector<TSingleSample>>;

// Every buffer of the read list, read back as singles, by channel.
inline TSingleSeries ReadSingleSeries()
{
    qel::ReadBufferList.EndRead();
    TSingleSeries series;
    for (qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        std::vector<TSingleSample>& samples = series[buffer->GetChannel()];
        buffer->BeginSave();
        while (!buffer->GetSaveComplete()) {
            const std::int64_t time = buffer->GetSaveTime();
            float value = 0.0f;
            EXPECT_TRUE(buffer->GetSaveSingleValue(time, value)) << "channel " << buffer->GetChannel();
            samples.push_back({time, value});
        }
        buffer->EndSave();
    }
    return series;
}

// A FIFO channel and its records as plain values.
struct TFifoChannelValues {
    std::uint16_t Channel;
    std::uint16_t ChannelID;
    std::uint32_t SN;
    std::string Name;
    std::string Unit;
    std::vector<std::array<std::uint32_t, 2>> TimeAndState;
    std::vector<float> Values;
    bool operator==(const TFifoChannelValues&) const = default;
};

inline void PrintTo(const TFifoChannelValues& c, std::ostream* out)
{
    *out << "{ch " << c.Channel << ", id " << c.ChannelID << ", SN " << c.SN << ", '" << c.Name << "' '" << c.Unit
         << "', " << c.Values.size() << " records}";
}

inline std::vector<TFifoChannelValues> FifoChannels()
{
    std::vector<TFifoChannelValues> channels;
    for (const qel::TFifoChannel* channel : qel::FifoDataList) {
        TFifoChannelValues values{channel->channel, channel->channelID, channel->SN, channel->sName,
                                  channel->sUnit,   {},                 {}};
        for (const qel::TFifoData& data : *channel) {
            values.TimeAndState.push_back({data.time, data.state});
            values.Values.push_back(data.value);
        }
        channels.push_back(values);
    }
    return channels;
}

using TPageBytes = std::array<std::uint8_t, qel::PAGE_SIZE>;

class VarRecordPageTest : public ::testing::Test {
protected:
    static constexpr std::uint64_t HEADER_UNITS = 5000;            // header time of the test pages
    static constexpr std::int64_t HEADER_TICKS = 5000 * 1000;

    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset()
    {
        qel::ReadBufferList.ClearAll();
        qel::ReadBufferList.SetActiveQEL(nullptr);
        qel::ReadBufferList.SetUseFileStream(false);
        qel::QelList.Clear();
        qel::FifoDataList.clearAll();
    }

    // A logger of class T becomes the current logger of the read.
    template <class T>
    static T& UseLogger(std::uint16_t model, std::uint16_t version, std::uint32_t serial = 4711)
    {
        Reset();
        auto* logger = new T();
        logger->ID_CLASS = model;
        logger->ID_VER = version;
        logger->ID_VER_PC = version;
        logger->SN = serial;
        qel::QelList.Add(logger);
        qel::ReadBufferList.SetActiveQEL(logger);
        return *logger;
    }

    // Appends count channels of the logger's own copy, named "C0", "C1" ...
    template <class T>
    static void AddChannels(T& logger, int count)
    {
        using TChannel = std::remove_reference_t<decltype(logger.Channels.GetItem(0))>;
        for (int i = 0; i < count; ++i) {
            auto channel = std::make_unique<TChannel>();
            const std::string number = std::to_string(i);
            channel->Info.sName = std::string("C").append(number);
            channel->Info.sUnit = std::string("U").append(number);
            channel->Info.chID = static_cast<std::uint16_t>(100 + i);
            logger.Channels.Add(channel.release());
        }
    }

    // A page: header (time HEADER_UNITS, flags as given), then what `head`
    // writes (none: records from byte 8), then the records `fill` writes, then
    // zeros; no end-of-data record is added.
    static TPageBytes BuildPage(const std::function<void(qel::cardgen::TVarRecordWriter&)>& fill,
                                const qel::cardgen::TVarRecordBody::THead& head = {}, bool startPage = false)
    {
        TPageBytes page{};
        qel::cardgen::TPageHeaderFields header;
        header.TimeUnits = HEADER_UNITS;
        header.StartPage = startPage;
        const std::size_t first = head ? head(0, header, page) : qel::cardgen::kPageHeaderSize;
        qel::cardgen::TVarRecordWriter writer(page, first);
        if (fill) {
            fill(writer);
        }
        qel::cardgen::WritePageHeader(page, header);
        return page;
    }

    // Decodes the first `size` bytes of the page with the decoder of the
    // model and version; the view is a copy of exactly that size, so a read
    // past it is caught by the sanitizer build.
    static void Decode(std::uint16_t model, std::uint16_t version, const TPageBytes& page,
                       std::uint16_t size = qel::PAGE_SIZE)
    {
        const std::vector<std::uint8_t> view(page.begin(), page.begin() + size);
        const std::unique_ptr<qel::TPage> decoder = qel::GetPageClass(model, version).Create();
        decoder->BeginRead();
        decoder->New(0, view.data(), size);
        decoder->ReadData();
        decoder->FinishRead();
    }

    // Hand-made records from byte 8 of a page with header time HEADER_UNITS.
    static TPageBytes RawPage(const std::vector<std::uint8_t>& records, bool startPage = false)
    {
        return BuildPage([&records](qel::cardgen::TVarRecordWriter& writer) { writer.AddBytes(records); }, {},
                         startPage);
    }
};

} // namespace qeltest

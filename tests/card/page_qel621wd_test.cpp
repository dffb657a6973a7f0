// Tests of the QEL621WD page decoder: the flex-channel entries before the
// records (how many, what they change), the records after them, and pages
// cut off within the entries.
#include "card/page_qel621wd.h"
#include "loggers/qel621wd.h"
#include "tests/card/var_record_page_fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qel {
namespace {

using namespace qeltest;
using TBytes = std::vector<std::uint8_t>;

constexpr std::uint16_t QEL621WD = 0x6621;
constexpr std::uint16_t VERSION = 0x0109;

// An entry of a flex sensor.
cardgen::TFlexEntry621Description Sensor(std::uint8_t flexChannel, std::uint8_t channel, std::uint16_t serial, std::string name,
                                  std::string unit)
{
    cardgen::TFlexEntry621Description entry;
    entry.FlexChannel = flexChannel;
    entry.Channel = channel;
    entry.Serial = serial;
    entry.Name = std::move(name);
    entry.Unit = std::move(unit);
    return entry;
}

class Qel621WDPage : public VarRecordPageTest {
protected:
    // A logger with 8 channels; the palVEX3 model code gives 6 flex channels.
    static TQEL621WD& Logger(std::uint16_t model = QEL621WD)
    {
        auto& logger = UseLogger<TQEL621WD>(model, VERSION);
        AddChannels(logger, 8);
        return logger;
    }

    static const TQelChannelInfo& InfoOf(int index)
    {
        return dynamic_cast<TQEL621WD&>(*QelList.GetCurrent()).Channels.GetItem(index).Info;
    }

    // Entries (serial 0 unless given), then a value record of channel 1 and
    // the end of data.
    static TPageBytes EntryPage(std::vector<cardgen::TFlexEntry621Description> entries, bool startPage)
    {
        return BuildPage(
            [](cardgen::TVarRecordWriter& w) {
                w.AddValue(1, 1.0f);
                w.AddEnd();
            },
            [&entries](std::uint32_t, cardgen::TPageHeaderFields&, std::span<std::uint8_t, cardgen::kPageSize> page) {
                return cardgen::WriteFlexEntries621(page, entries);
            },
            startPage);
    }
};

TEST_F(Qel621WDPage, RecordsFollowTheEntriesOfThePage)
{
    const struct {
        const char* what;
        std::uint16_t model;
        bool startPage;
        std::size_t entries;
        std::size_t recordsAt;
    } cases[] = {
        {"start page, 5 flex channels", QEL621WD, true, 10, 168},
        {"start page of a palVEX3, 6 flex channels", 0x6624, true, 12, 200},
        {"other page", QEL621WD, false, 1, 24},
        {"other page of a palVEX3", 0x6624, false, 1, 24},
    };
    for (const auto& c : cases) {
        Logger(c.model);
        // Entries without a sensor; a page whose records begin elsewhere
        // decodes the zero bytes or the entries as records.
        const TPageBytes page = EntryPage(std::vector<cardgen::TFlexEntry621Description>(c.entries), c.startPage);
        ASSERT_EQ(page[c.recordsAt], 0x01) << c.what;
        Decode(QEL621WD, VERSION, page);
        EXPECT_EQ(ReadSingleSeries(), (TSingleSeries{{1, {{HEADER_TICKS, 1.0f}}}})) << c.what;
    }
}

TEST_F(Qel621WDPage, AnEntryWithASensorNamesTheChannel)
{
    Logger();
    std::vector<cardgen::TFlexEntry621Description> entries(10);
    entries[0] = Sensor(3, 2, 0x1234, " Temp", "\xB0" "C");   // flex channel 3: odd
    entries[4] = Sensor(0, 5, 7, "Druck", "hPa");
    entries[9] = Sensor(1, 6, 0, "None", "x");               // serial 0: nothing
    entries[7] = Sensor(2, 8, 9, "Far", "y");                // channel 8 is beyond the list
    Decode(QEL621WD, VERSION, EntryPage(entries, true));
    EXPECT_EQ(ReadSingleSeries(), (TSingleSeries{{1, {{HEADER_TICKS, 1.0f}}}}));

    EXPECT_EQ(InfoOf(2).sName, "Temp");
    EXPECT_EQ(InfoOf(2).sUnit, "\xC2\xB0" "C") << "the byte's Windows-1252 character";
    EXPECT_EQ(InfoOf(2).chID, 0x1234 * 2 + 1);
    EXPECT_EQ(InfoOf(5).sName, "Druck");
    EXPECT_EQ(InfoOf(5).sUnit, "hPa");
    EXPECT_EQ(InfoOf(5).chID, 14);
    EXPECT_EQ(InfoOf(6).sName, "C6");
    EXPECT_EQ(InfoOf(6).chID, 106);
}

TEST_F(Qel621WDPage, EntryBytesAsTheyStand)
{
    // Byte 0 bits 7-4 are not part of the flex channel; name bytes are not
    // filtered, only trimmed of blanks and control characters at both ends.
    TPageBytes page = RawPage({0xF2, 0x03, 0x05, 0x00, 0x00, 0x41, 0x09, 0xE4, 0x20, 0x00, 0x20, 0x20, 0x6D, 0x20,
                               0x20, 0x20, 0x01, 0x00, 0x80, 0x3F, 0xE0});
    Logger();
    Decode(QEL621WD, VERSION, page);
    EXPECT_EQ(ReadSingleSeries(), (TSingleSeries{{1, {{HEADER_TICKS, 1.0f}}}}));
    EXPECT_EQ(InfoOf(3).sName, "A\t\xC3\xA4");
    EXPECT_EQ(InfoOf(3).sUnit, "m");
    EXPECT_EQ(InfoOf(3).chID, 10) << "flex channel 2 is even";
}

TEST_F(Qel621WDPage, StepsAreSignedAndAModelBlockEndsThePage)
{
    Logger();
    Decode(QEL621WD, VERSION, RawPage({0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                       0x00, 0x00, 0x00,                       // an entry without sensor
                                       0x9F, 0xFF, 0x01, 0x00, 0x80, 0x3F,    // -1 unit, ch 1
                                       0xC0, 0x01, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(ReadSingleSeries(), (TSingleSeries{{1, {{HEADER_TICKS - 1000, 1.0f}}}}));
}

TEST_F(Qel621WDPage, APageCutOffWithinItsEntriesEndsThere)
{
    std::vector<cardgen::TFlexEntry621Description> entries(10);
    entries[0] = Sensor(0, 0, 1, "First", "");
    entries[1] = Sensor(0, 1, 2, "Second", "");
    const TPageBytes page = EntryPage(entries, true);
    const struct {
        std::uint16_t size;
        bool first, second;
    } cases[] = {{23, false, false}, {24, true, false}, {39, true, false}, {40, true, true}, {167, true, true}};
    for (const auto& c : cases) {
        Logger();
        Decode(QEL621WD, VERSION, page, c.size);
        EXPECT_EQ(ReadSingleSeries(), TSingleSeries{}) << "view of " << c.size;
        EXPECT_EQ(InfoOf(0).sName == "First", c.first) << "view of " << c.size;
        EXPECT_EQ(InfoOf(1).sName == "Second", c.second) << "view of " << c.size;
    }
}

TEST_F(Qel621WDPage, TheLoggerMustBeAQel621WD)
{
    UseLogger<TQEL>(QEL621WD, VERSION);
    EXPECT_THROW(Decode(QEL621WD, VERSION, RawPage({0xE0})), std::logic_error);
}

} // namespace
} // namespace qel

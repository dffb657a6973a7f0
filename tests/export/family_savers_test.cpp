// Per-model savers: header-block sequence per family, the values of the
// shared blocks, names, limits, calibrations, shock program name, mission
// data, the configurable QEL629c blocks and the QEL57c D-Bus order files.
#include "card/dbus_data.h"
#include "export/data_file.h"
#include "export/save_file_thread_qel25.h"
#include "export/save_file_thread_qel57.h"
#include "export/save_file_thread_qel57_dbus.h"
#include "export/save_file_thread_qel629.h"
#include "export/save_file_thread_qel629c.h"
#include "export/save_file_thread_qel649.h"
#include "foundations/language_switch.h"
#include "foundations/qel_error.h"
#include "foundations/tick_time.h"
#include "foundations/win_tools.h"
#include "loggers/mission_data.h"
#include "loggers/qel25.h"
#include "loggers/qel57.h"
#include "loggers/qel629.h"
#include "loggers/qel629c.h"
#include "loggers/qel649.h"
#include "platform/text_encoding.h"
#include "platform/version.h"
#include "tests/export/save_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using qeltest::BlockFileContent;
using qeltest::PayloadCursor;
using Types = std::vector<std::uint16_t>;

class FamilySaverTest : public qeltest::SaveFixture {
protected:
    // The payload of the only block of this type in the part.
    static const std::vector<std::uint8_t>& Block(const BlockFileContent& content, std::uint16_t type)
    {
        static const std::vector<std::uint8_t> none;
        const std::vector<std::uint8_t>* found = nullptr;
        for (const qeltest::BlockRecord& block : content.blocks) {
            if (block.type == type) {
                EXPECT_EQ(found, nullptr) << "block " << type << " twice";
                found = &block.payload;
            }
        }
        EXPECT_NE(found, nullptr) << "block " << type << " missing";
        return found != nullptr ? *found : none;
    }

    void ExpectSaved() const
    {
        EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}))
            << qel::LastErrorMsg();
    }
};

std::string Ansi(const std::string& text)
{
    return plat::Utf8ToAnsi(text);
}

template <class T>
void SetCalibration(T& logger, bool rh, bool t, bool trh)
{
    logger.CAL_RH = rh;
    logger.CAL_T = t;
    logger.CAL_T_RH = trh;
    logger.CAL_INFO = "Kalibrierung °";
    logger.CAL_DATE = 45000.5;
    logger.CAL_RH_ACT_LO = 1.0f;
    logger.CAL_RH_SET_LO = 2.0f;
    logger.CAL_RH_ACT_HI = 3.0f;
    logger.CAL_RH_SET_HI = 4.0f;
    logger.CAL_T_ACT_LO = 5.0f;
    logger.CAL_T_SET_LO = 6.0f;
    logger.CAL_T_ACT_HI = 7.0f;
    logger.CAL_T_SET_HI = 8.0f;
}

TEST_F(FamilySaverTest, HeaderBlockSequencePerFamily)
{
    struct Case {
        const char* what;
        qel::TSaveFileThreadClass saver;
        std::function<qel::TQEL&(FamilySaverTest&)> logger;
        bool missionData;
        Types types;
    };
    const Types fixed = {0, 20, 1, 2, 3, 13, 5, 15, 6, 7, 11, 12, 8};
    const std::vector<Case> cases = {
        {"QEL629", &qel::TSaveFileThreadQEL629::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL629>(1, 0x6601, 0x0500); }, true, fixed},
        {"QEL629c", &qel::TSaveFileThreadQEL629c::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& {
             auto& logger = f.AddLogger<qel::TQEL629C>(1, 0x6601, 0x0600);
             logger.NewConfigChannels();
             return logger;
         },
         true, Types{0, 20, 1, 2, 3, 13, 5, 25, 15, 6, 7, 26, 11, 8}},
        {"QEL649", &qel::TSaveFileThreadQEL649::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL649>(1, 0x6606, 0x0200); }, false, fixed},
        {"QEL649 with mission data", &qel::TSaveFileThreadQEL649::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL649>(1, 0x6607, 0x0200); }, true,
         Types{0, 20, 1, 2, 3, 13, 5, 15, 6, 7, 11, 12, 27, 8}},
        {"QEL57", &qel::TSaveFileThreadQEL57::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL57>(1, 0x661D, 0x0100); }, true, fixed},
        {"QEL57b", &qel::TSaveFileThreadQEL57b::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL57b>(1, 0x661D, 0x0200); }, true, fixed},
        {"QEL57c", &qel::TSaveFileThreadQEL57c::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL57c>(1, 0x661D, 0x0300); }, true, fixed},
        {"QEL25", &qel::TSaveFileThreadQEL25::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL25>(1, 0x6628, 0x0100); }, false,
         Types{0, 1, 2, 3, 13, 5, 15, 6, 7, 11, 12, 8}},
        {"QEL25 with mission data", &qel::TSaveFileThreadQEL25::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL25>(1, 0x6628, 0x0100); }, true,
         Types{0, 1, 2, 3, 13, 5, 15, 6, 7, 11, 12, 27, 8}},
        {"any other model", &qel::TSaveFileThread::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL>(1, 0x6600, 0x0100); }, true,
         Types{0, 8}},
    };
    for (const Case& c : cases) {
        ResetSave();
        qel::TQEL& logger = c.logger(*this);
        AddInt(logger, 1, 0, 10);
        AddInt(logger, 2, 0, 20);
        qel::ReadBufferList.MissionData.bValid = c.missionData;
        RunSave(c.saver);
        ExpectSaved();
        EXPECT_EQ(qeltest::BlockTypes(ReadPart(0)), c.types) << c.what;
    }
}

TEST_F(FamilySaverTest, SharedBlocksCarryProgramLoggerAndChannelValues)
{
    qel::RegSettings.sQEL = "LOG";
    auto& logger = AddLogger<qel::TQEL629>(4711, 0x6601, 0x0306);
    logger.DIFFTIME = -17;
    logger.NAME = "Tank °1";
    AddInt(logger, 7, 6000, 1);
    AddInt(logger, 5, 5000, 2);
    RunSave(&qel::TSaveFileThreadQEL629::ClassInfo);
    ExpectSaved();
    const BlockFileContent content = ReadPart(0);

    const plat::TFileVersion version = plat::GetProgramFileVersion();
    PayloadCursor text(Block(content, qel::BLOCK_PROGRAM_TEXT));
    EXPECT_EQ(text.String(), "QelReader.exe");
    EXPECT_EQ(text.String(), qel::FormatFileVersion(version.Major, version.Minor, version.Release, version.Build));
    EXPECT_TRUE(text.AtEnd());

    PayloadCursor program(Block(content, qel::BLOCK_PROGRAM));
    EXPECT_EQ(program.String(), "QelReader.exe");
    EXPECT_EQ(program.Word(), version.Major);
    EXPECT_EQ(program.Word(), version.Minor);
    EXPECT_TRUE(program.AtEnd());

    PayloadCursor first(Block(content, qel::BLOCK_FIRST_TIME));
    EXPECT_EQ(first.Double(), 5000.0 / 86400.0 / 1024000.0);
    EXPECT_TRUE(first.AtEnd());

    PayloadCursor names(Block(content, qel::BLOCK_LOGGER_NAMES));
    PayloadCursor stored(Block(content, qel::BLOCK_STORED_NAMES));
    PayloadCursor identity(Block(content, qel::BLOCK_LOGGER_IDENTITY));
    PayloadCursor difftime(Block(content, qel::BLOCK_TIME_DIFFERENCE));
    PayloadCursor channelNames(Block(content, qel::BLOCK_CHANNEL_NAMES));
    PayloadCursor units(Block(content, qel::BLOCK_CHANNEL_UNITS));
    for (const std::uint32_t ch : {5u, 7u}) { // sorted by channel
        EXPECT_EQ(names.String(), "LOG4711");
        EXPECT_EQ(stored.String(), "Tank \xB0" "1") << "stored name in Windows-1252";
        EXPECT_EQ(identity.Word(), 0x6601);
        EXPECT_EQ(identity.Word(), 0x0306);
        EXPECT_EQ(difftime.Double(), -17.0);
        EXPECT_EQ(channelNames.String(), Ansi(logger.GetChName(ch)));
        EXPECT_EQ(units.String(), Ansi(logger.GetChUnit(ch)));
    }
    for (PayloadCursor* cursor : {&names, &stored, &identity, &difftime, &channelNames, &units}) {
        EXPECT_TRUE(cursor->AtEnd());
    }
}

TEST_F(FamilySaverTest, NoSampleLeftWritesFirstTimeOfMinusOneTick)
{
    auto& logger = AddLogger<qel::TQEL629>(1, 0x6601, 0x0500);
    AddInt(logger, 1, 1000, 1);
    RunSave(&qel::TSaveFileThreadQEL629::ClassInfo, [](qel::TSaveFileThread& t) {
        t.TimeMode = 1;
        t.TimeStart = 5000;
        t.TimeEnd = 6000;
    });
    ExpectSaved();
    const BlockFileContent content = ReadPart(0);
    EXPECT_EQ(PayloadCursor(Block(content, qel::BLOCK_FIRST_TIME)).Double(), qel::TicksToDays(-1));
    EXPECT_EQ(qeltest::BlockTypes(content).back(), qel::BLOCK_CALIBRATION) << "no row block";
}

TEST_F(FamilySaverTest, StoredNameOfQel629OnlyForExtendedLoggers)
{
    for (const auto& [version, expected] : {std::pair{0x0306, "Tank"}, std::pair{0x0305, ""}}) {
        ResetSave();
        auto& logger = AddLogger<qel::TQEL629>(1, 0x6601, static_cast<std::uint16_t>(version));
        logger.NAME = "Tank";
        AddInt(logger, 1, 0, 1);
        RunSave(&qel::TSaveFileThreadQEL629::ClassInfo);
        EXPECT_EQ(PayloadCursor(Block(ReadPart(0), qel::BLOCK_STORED_NAMES)).String(), expected) << version;
    }
}

// The calibration entry of block 12: 'H' humidity, 'T' temperature, '-' none.
char CalibrationKind(PayloadCursor& cursor)
{
    const std::uint16_t flag = cursor.Word();
    const std::string info = cursor.String();
    const double date = cursor.Double();
    const float points[4] = {cursor.Single(), cursor.Single(), cursor.Single(), cursor.Single()};
    if (flag == 0) {
        EXPECT_EQ(info, "");
        EXPECT_EQ(date, 0.0);
        for (const float p : points) {
            EXPECT_EQ(p, 0.0f);
        }
        return '-';
    }
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(info, "Kalibrierung \xB0");
    EXPECT_EQ(date, 45000.5);
    if (points[0] == 1.0f) {
        EXPECT_EQ(points[1], 2.0f);
        EXPECT_EQ(points[2], 3.0f);
        EXPECT_EQ(points[3], 4.0f);
        return 'H';
    }
    EXPECT_EQ(points[0], 5.0f);
    EXPECT_EQ(points[1], 6.0f);
    EXPECT_EQ(points[2], 7.0f);
    EXPECT_EQ(points[3], 8.0f);
    return 'T';
}

TEST_F(FamilySaverTest, CalibrationGoesToTheFamilysCarrierChannels)
{
    struct Case {
        const char* what;
        qel::TSaveFileThreadClass saver;
        std::function<qel::TQEL&(FamilySaverTest&)> logger;
        std::vector<std::uint32_t> channels;
        std::string kinds; // per channel in order
    };
    auto qel629 = [](bool rh, bool t, bool trh) {
        return [=](FamilySaverTest& f) -> qel::TQEL& {
            auto& logger = f.AddLogger<qel::TQEL629>(1, 0x6601, 0x0500);
            SetCalibration(logger, rh, t, trh);
            return logger;
        };
    };
    auto qel25 = [](bool rh, bool t, bool trh) {
        return [=](FamilySaverTest& f) -> qel::TQEL& {
            auto& logger = f.AddLogger<qel::TQEL25>(1, 0x6628, 0x0100);
            SetCalibration(logger, rh, t, trh);
            return logger;
        };
    };
    const std::vector<Case> cases = {
        {"QEL629 all on", &qel::TSaveFileThreadQEL629::ClassInfo, qel629(true, true, true), {4, 5, 6, 7}, "-H-T"},
        {"QEL629 only the humidity sensor's temperature", &qel::TSaveFileThreadQEL629::ClassInfo,
         qel629(false, false, true), {5, 6, 7}, "-T-"},
        {"QEL629 all off", &qel::TSaveFileThreadQEL629::ClassInfo, qel629(false, false, false), {5, 6, 7}, "---"},
        {"QEL649 temperature and humidity", &qel::TSaveFileThreadQEL649::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& {
             auto& logger = f.AddLogger<qel::TQEL649>(1, 0x6606, 0x0200);
             SetCalibration(logger, true, false, true);
             return logger;
         },
         {5, 6, 7}, "HT-"},
        {"QEL25 all on", &qel::TSaveFileThreadQEL25::ClassInfo, qel25(true, true, true), {5, 6, 7, 11, 13}, "---TH"},
        {"QEL25 temperature only", &qel::TSaveFileThreadQEL25::ClassInfo, qel25(false, true, true), {11, 13}, "T-"},
        {"QEL57 never", &qel::TSaveFileThreadQEL57::ClassInfo,
         [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL57>(1, 0x661D, 0x0100); }, {5, 6, 7},
         "---"},
    };
    for (const Case& c : cases) {
        ResetSave();
        qel::TQEL& logger = c.logger(*this);
        for (const std::uint32_t ch : c.channels) {
            AddInt(logger, ch, 0, 1);
        }
        RunSave(c.saver);
        ExpectSaved();
        PayloadCursor cursor(Block(ReadPart(0), qel::BLOCK_CALIBRATION));
        std::string kinds;
        for (std::size_t i = 0; i < c.channels.size(); ++i) {
            kinds += CalibrationKind(cursor);
        }
        EXPECT_EQ(kinds, c.kinds) << c.what;
        EXPECT_TRUE(cursor.AtEnd()) << c.what;
    }
}

struct Limit {
    std::uint16_t alarm, record;
    float limit1, limit2;
    bool operator==(const Limit&) const = default;
};

std::vector<Limit> LimitEntries(const std::vector<std::uint8_t>& payload)
{
    PayloadCursor cursor(payload);
    std::vector<Limit> entries;
    while (cursor.Remaining() >= 12) {
        const std::uint16_t alarm = cursor.Word();
        const std::uint16_t record = cursor.Word();
        const float limit1 = cursor.Single();
        entries.push_back(Limit{alarm, record, limit1, cursor.Single()});
    }
    EXPECT_TRUE(cursor.AtEnd());
    return entries;
}

TEST_F(FamilySaverTest, LimitsOnlyForReadEntriesWithACondition)
{
    const Limit zero{0, 0, 0.0f, 0.0f};
    {
        auto& logger = AddLogger<qel::TQEL629>(1, 0x6601, 0x0500);
        logger.LIMITS[1] = qel::TQelLimit{false, 1, 2, 1.5f, 2.5f}; // not read: zeros
        logger.LIMITS[2] = qel::TQelLimit{true, 0, 0, 1.0f, 2.0f};  // no condition: zeros
        logger.LIMITS[3] = qel::TQelLimit{true, 0, 3, 4.5f, 5.5f};
        logger.LIMITS[4] = qel::TQelLimit{true, 1, 0, -1.0f, 9.0f};
        for (const std::uint32_t ch : {1u, 2u, 3u, 4u, 40u}) {
            AddInt(logger, ch, 0, 1);
        }
        RunSave(&qel::TSaveFileThreadQEL629::ClassInfo);
        ExpectSaved();
        EXPECT_EQ(LimitEntries(Block(ReadPart(0), qel::BLOCK_LIMITS)),
                  (std::vector<Limit>{zero, zero, Limit{3, 0, 4.5f, 5.5f}, Limit{0, 1, -1.0f, 9.0f}, zero}));
    }
    for (const bool qel57c : {false, true}) {
        ResetSave();
        qel::TQEL57b& logger = qel57c ? AddLogger<qel::TQEL57c>(1, 0x661D, 0x0300)
                                      : AddLogger<qel::TQEL57b>(1, 0x661D, 0x0200);
        logger.LIMITS[3] = qel::TQelLimit{true, 1, 3, 4.5f, 5.5f};
        AddInt(logger, 3, 0, 1);
        RunSave(qel57c ? &qel::TSaveFileThreadQEL57c::ClassInfo : &qel::TSaveFileThreadQEL57b::ClassInfo);
        EXPECT_EQ(LimitEntries(Block(ReadPart(0), qel::BLOCK_LIMITS)), std::vector<Limit>{zero})
            << "QEL57b and QEL57c write zeros";
    }
    {
        ResetSave();
        auto& logger = AddLogger<qel::TQEL57>(1, 0x661D, 0x0100);
        logger.LIMITS[3] = qel::TQelLimit{true, 1, 3, 4.5f, 5.5f};
        AddInt(logger, 3, 0, 1);
        RunSave(&qel::TSaveFileThreadQEL57::ClassInfo);
        const std::vector<Limit> expected = {Limit{3, 1, 4.5f, 5.5f}};
        EXPECT_EQ(LimitEntries(Block(ReadPart(0), qel::BLOCK_LIMITS)), expected);
    }
}

TEST_F(FamilySaverTest, ShockSaveMarksTheProgramNameOfQel649AndQel25)
{
    struct Case {
        const char* what;
        qel::TSaveFileThreadClass saver;
        std::function<qel::TQEL&(FamilySaverTest&)> logger;
        bool shock;
        std::string text;    // block 20, empty when absent
        std::string program; // block 1
    };
    const std::string plain = "QelReader.exe";
    const std::string marked = "QelReader.exe (qshock)";
    auto qel649 = [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL649>(1, 0x6606, 0x0200); };
    auto qel25 = [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL25>(1, 0x6628, 0x0100); };
    auto qel629 = [](FamilySaverTest& f) -> qel::TQEL& { return f.AddLogger<qel::TQEL629>(1, 0x6601, 0x0500); };
    const std::vector<Case> cases = {
        {"QEL649 shock", &qel::TSaveFileThreadQEL649::ClassInfo, qel649, true, marked, marked},
        {"QEL649 normal", &qel::TSaveFileThreadQEL649::ClassInfo, qel649, false, plain, plain},
        {"QEL25 shock", &qel::TSaveFileThreadQEL25::ClassInfo, qel25, true, "", marked},
        {"QEL25 normal", &qel::TSaveFileThreadQEL25::ClassInfo, qel25, false, "", plain},
        {"QEL629 shock", &qel::TSaveFileThreadQEL629::ClassInfo, qel629, true, plain, plain},
    };
    for (const Case& c : cases) {
        ResetSave();
        AddInt(c.logger(*this), 1, 0, 1);
        qel::SaveBufferList.SaveCardShockID = c.shock;
        RunSave(c.saver);
        ExpectSaved();
        const BlockFileContent content = ReadPart(0);
        const Types types = qeltest::BlockTypes(content);
        if (c.text.empty()) {
            EXPECT_EQ(std::count(types.begin(), types.end(), qel::BLOCK_PROGRAM_TEXT), 0) << c.what;
        } else {
            EXPECT_EQ(PayloadCursor(Block(content, qel::BLOCK_PROGRAM_TEXT)).String(), c.text) << c.what;
        }
        EXPECT_EQ(PayloadCursor(Block(content, qel::BLOCK_PROGRAM)).String(), c.program) << c.what;
    }
}

TEST_F(FamilySaverTest, MissionBlockHoldsTheReadListsMissionRecord)
{
    auto& logger = AddLogger<qel::TQEL649>(1234, 0x6606, 0x0200);
    AddInt(logger, 1, 0, 1);
    qel::TMissionData& mission = qel::ReadBufferList.MissionData;
    mission.bValid = true;
    mission.version = 3;
    mission.sTitle = "Transport München";
    mission.sOperator = "Op";
    mission.rec_fast_rate = 0.00125;
    RunSave(&qel::TSaveFileThreadQEL649::ClassInfo);
    ExpectSaved();
    EXPECT_EQ(Block(ReadPart(0), qel::BLOCK_MISSION), qel::MissionDataBlockPayload(mission));
}

TEST_F(FamilySaverTest, Qel629cWritesConfiguredChannelsAndCalibratedRows)
{
    auto& logger = AddLogger<qel::TQEL629C>(77, 0x6601, 0x0603);
    logger.NewConfigChannels();
    logger.QELNAME = "Halle 3";
    logger.DIFFTIME = 4;
    auto& ch0 = logger.Channels.GetItem(0);
    ch0.Info.sName = "Druck";
    ch0.Info.sUnit = "bar";
    ch0.Info.dGain = 2.0f;
    ch0.Info.dOfs = 1.0f;
    ch0.Info.chID = 0x0102;
    ch0.Limit->bReaderRead = true;
    ch0.Limit->alarm_condition = 2;
    ch0.Limit->rec_condition = 1;
    ch0.Limit->limit_L1 = 1.25;
    ch0.Limit->limit_L2 = 2.5;
    auto& ch1 = logger.Channels.GetItem(1);
    ch1.Limit->alarm_condition = 2; // not read from the card: zeros
    AddInt(logger, 0, 0, 10);
    AddInt(logger, 1, 0, 20);
    AddInt(logger, 40, 0, 30); // beyond the channel list
    qel::ReadBufferList[0]->channel_sn = 99;
    qel::SaveBufferList.Utc = qel::TQelUtc{true, 3686400000};
    RunSave(&qel::TSaveFileThreadQEL629c::ClassInfo);
    ExpectSaved();
    const BlockFileContent content = ReadPart(0);

    PayloadCursor stored(Block(content, qel::BLOCK_STORED_NAMES));
    PayloadCursor utc(Block(content, qel::BLOCK_UTC));
    PayloadCursor identity(Block(content, qel::BLOCK_CHANNEL_IDENTITY));
    EXPECT_EQ(identity.Word(), 1) << "layout 1";
    for (const std::uint32_t ch : {0u, 1u, 40u}) {
        EXPECT_EQ(stored.String(), "Halle 3");
        EXPECT_EQ(utc.Word(), 1);
        EXPECT_EQ(utc.Double(), qel::TicksToDays(3686400000));
        EXPECT_EQ(identity.Longint(), ch == 0 ? 99 : 0);
        EXPECT_EQ(identity.Word(), 0x6601);
        EXPECT_EQ(identity.Word(), 0x0603);
        EXPECT_EQ(identity.Word(), logger.getChID(ch));
    }
    EXPECT_TRUE(identity.AtEnd());
    EXPECT_EQ(PayloadCursor(Block(content, qel::BLOCK_CHANNEL_NAMES)).String(), "Druck");
    const Limit zero{0, 0, 0.0f, 0.0f};
    EXPECT_EQ(LimitEntries(Block(content, qel::BLOCK_LIMITS)), (std::vector<Limit>{Limit{2, 1, 1.25f, 2.5f}, zero, zero}));

    PayloadCursor rows(Block(content, qel::BLOCK_ROWS));
    EXPECT_EQ(rows.Double(), 0.0);
    EXPECT_EQ(rows.Single(), 21.0f) << "gain 2, offset 1";
    EXPECT_EQ(rows.Single(), 20.0f);
    EXPECT_EQ(rows.Single(), 30.0f);
    EXPECT_TRUE(rows.AtEnd());
}

TEST_F(FamilySaverTest, LoggerOfAnotherClassFailsTheSaveWithCodeZero)
{
    struct Case {
        const char* what;
        qel::TSaveFileThreadClass saver;
        std::function<void(FamilySaverTest&)> loggers;
    };
    const std::vector<Case> cases = {
        {"QEL629 saver, QEL649 channel", &qel::TSaveFileThreadQEL629::ClassInfo,
         [](FamilySaverTest& f) { f.AddInt(f.AddLogger<qel::TQEL649>(1, 0x6606, 0x0200), 1, 0, 1); }},
        {"QEL57c saver, QEL57 channel", &qel::TSaveFileThreadQEL57c::ClassInfo,
         [](FamilySaverTest& f) { f.AddInt(f.AddLogger<qel::TQEL57>(1, 0x661D, 0x0100), 1, 0, 1); }},
        {"QEL629c saver, current logger of another class", &qel::TSaveFileThreadQEL629c::ClassInfo,
         [](FamilySaverTest& f) {
             f.AddInt(f.AddLogger<qel::TQEL629C>(1, 0x6601, 0x0600), 1, 0, 1);
             f.AddLogger<qel::TQEL629>(2, 0x6601, 0x0500);
         }},
    };
    for (const Case& c : cases) {
        ResetSave();
        c.loggers(*this);
        RunSave(c.saver);
        EXPECT_EQ(FailureCode(), 0) << c.what;
        EXPECT_EQ(qel::LastErrorMsg(), "Invalid class typecast") << c.what;
        EXPECT_TRUE(FolderEntries().empty()) << c.what;
    }
}

// Fills the D-Bus list as the QEL57c decoder would.
void AddDBusBlock(std::int64_t time, std::uint8_t nr, std::uint32_t addr, const std::vector<std::uint8_t>& data)
{
    qel::TDBusData* block = qel::DBusDataList.addBlock(time, nr, addr);
    for (const std::uint8_t byte : data) {
        block->addData(byte);
    }
}

TEST_F(FamilySaverTest, Qel57cWritesOneOrderFilePerOrderBesideEachPart)
{
    const std::int64_t t1 = 3661 * qel::TICKS_PER_SECOND; // 2000-01-01 01:01:01
    const std::int64_t t2 = 86400 * qel::TICKS_PER_SECOND + 2 * qel::TICKS_PER_SECOND;
    AddDBusBlock(t1, 0, 0x100, {0xAA, 0xBB, 0xCC});
    AddDBusBlock(t1, 2, 0xDEADBEEF, {});
    AddDBusBlock(t2, 0, 7, {1});
    AddDBusBlock(t2, 8, 1, {1, 2});
    AddDBusBlock(t2, 7, 0, {255});
    qel::RecInfoList.SetMaxSize(1000);
    qeltest::WriteWholeFile(dir.File("out_dbus_order1.csv"), "an older file of the same name");
    auto& logger = AddLogger<qel::TQEL57c>(1, 0x661D, 0x0300);
    AddSeries(logger, 1, 1500);
    RunSave(&qel::TSaveFileThreadQEL57c::ClassInfo);
    ExpectSaved();

    const std::string time1 = qel::FormatDateTimeKind(0, 36526.0 + 3661.0 / 86400.0);
    const std::string time2 = qel::FormatDateTimeKind(0, 36527.0 + 2.0 / 86400.0);
    const std::string head = "Time;Order;Start address;Size in bytes;Data;\r\n";
    const std::string order1 = head + time1 + ";0;0x00000100;3;170;187;204;\r\n" + time2 + ";0;0x00000007;1;1;\r\n";
    const std::string order3 = head + time1 + ";2;0xDEADBEEF;0;\r\n";
    const std::string order8 = head + time2 + ";7;0x00000000;1;255;\r\n";
    for (const std::string part : {"out", "out_E1"}) {
        EXPECT_EQ(qeltest::ReadWholeFile(dir.File(part + "_dbus_order1.csv")), order1) << part;
        EXPECT_EQ(qeltest::ReadWholeFile(dir.File(part + "_dbus_order3.csv")), order3) << part;
        EXPECT_EQ(qeltest::ReadWholeFile(dir.File(part + "_dbus_order8.csv")), order8) << part;
    }
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"out.qel", "out_E1.qel", "out_E1_dbus_order1.csv",
                                                         "out_E1_dbus_order3.csv", "out_E1_dbus_order8.csv",
                                                         "out_dbus_order1.csv", "out_dbus_order3.csv",
                                                         "out_dbus_order8.csv"}))
        << "no file for orders without blocks or above 7";
}

TEST_F(FamilySaverTest, Qel57cWithoutDBusBlocksWritesNoOrderFile)
{
    auto& logger = AddLogger<qel::TQEL57c>(1, 0x661D, 0x0300);
    AddSeries(logger, 1, 3);
    RunSave(&qel::TSaveFileThreadQEL57c::ClassInfo);
    ExpectSaved();
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"out.qel"});
}

} // namespace

// The probe protocols on the in-memory line: byte-exact requests with their
// answers read in the right byte orders, the outcomes of handshake, model
// check and name reads, what a failed name block leaves, the time a silent
// or misbehaving device costs on the virtual clock, and a stop mid-probe.
#include "app/qel_probe.h"

#include "tests/app/fake_logger.h"
#include "tests/app/memory_serial_port.h"
#include "tests/app/qel_port_printer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using namespace qeltest;
using qel::TQelPort;

constexpr const char* DEVICE = "/dev/ttyUSB0";
const TBytes RESYNC(8, 0);

// Name memory of the profiles: 30 bytes, 0xFC is "ü".
const std::string NAME_MEMORY = " Tank\xFC" "A-7   " "xy  z " "123456" "  end ";

// A device that answers exactly the requests of the script and nothing else.
std::shared_ptr<TMemoryDevice> ScriptedDevice(std::map<TBytes, TBytes> script)
{
    auto device = std::make_shared<TMemoryDevice>();
    device->Answer = [script = std::move(script)](const TBytes& request) {
        const auto found = script.find(request);
        return found == script.end() ? TBytes{} : found->second;
    };
    return device;
}

// The frames written, resync frames left out.
std::vector<TBytes> Requests(const TMemoryDevice& device)
{
    std::vector<TBytes> requests;
    std::copy_if(device.Written.begin(), device.Written.end(), std::back_inserter(requests),
                 [](const TBytes& frame) { return frame != RESYNC; });
    return requests;
}

TLoggerProfile Crc8Logger(std::uint16_t model, std::uint16_t versionPc)
{
    TLoggerProfile profile;
    profile.ModelCode = model;
    profile.VersionPc = versionPc;
    profile.Serial = 0x00BC614E;
    profile.Name = NAME_MEMORY;
    return profile;
}

TLoggerProfile Crc16Logger()
{
    TLoggerProfile profile;
    profile.Protocol = TProtocol::Crc16;
    profile.ModelCode = 1;
    profile.Serial = 0x00ABCDEF;
    profile.Name = NAME_MEMORY;
    return profile;
}

class QelProbeTest : public ::testing::Test {
protected:
    // Probes the device with the protocol, starting from the record given.
    TQelPort Probe(TProtocol protocol, std::shared_ptr<TMemoryDevice> device, std::int32_t versionPC = -1,
                   TQelPort record = {})
    {
        FOpener.Add(DEVICE, device);
        record.port = DEVICE;
        qel::TQelProbe probe(FCancel, versionPC);
        if (protocol == TProtocol::Crc8) {
            probe.ProbeCrc8(record);
        } else {
            probe.ProbeCrc16(record);
        }
        EXPECT_FALSE(device->InUse) << "the probe closes its port";
        return record;
    }

    TMemoryPortOpener FOpener;
    plat::TCancelHandle FCancel;
};

TEST_F(QelProbeTest, Crc8RequestsAreByteExactAndAnswersReadInTheirByteOrders)
{
    const TBytes handshake = Hex("80 06 01 0B 15 1F 29 48");
    const TBytes identity = Hex("81 01 00 00 00 00 01 C3");
    const TBytes serialOld = Hex("86 00 00 10 00 00 00 21");
    const TBytes serial = Hex("81 03 00 00 00 00 00 F3");
    const TBytes name5a = Hex("83 05 00 00 00 00 00 3B");
    const TBytes name5b = Hex("83 05 01 00 00 00 00 F6");
    const TBytes name13a = Hex("83 0D 00 00 00 00 00 9A");
    const TBytes name13b = Hex("83 0D 06 00 00 00 00 06");
    const TBytes shook = Crc8Frame({0x00, 0x06, 2, 12, 0, 0, 0});
    const TBytes serialAnswer = Crc8Frame({0x01, 0x78, 0x56, 0x34, 0x12, 0xEF, 0xBE});
    struct TCase {
        const char* Name;
        std::map<TBytes, TBytes> Script;
        std::uint32_t Serial;
        std::uint16_t App;
        std::string LoggerName;
        std::vector<TBytes> Requests;
    };
    const TCase cases[] = {
        {"0x6600: bytes 3 to 6, low first",
         {{handshake, shook},
          {identity, Crc8Frame({0x01, 0, 0x66, 0x00, 0x01, 0x02, 0})},
          {serialOld, Crc8Frame({0x06, 0, 0, 0x78, 0x56, 0x34, 0x12})}},
         0x12345678, 0, "", {handshake, identity, serialOld}},
        {"0x6617: bytes 1 to 4, application word 5 and 6, low first; area 5 name",
         {{handshake, shook},
          {identity, Crc8Frame({0x01, 0, 0x66, 0x17, 0x02, 0x00, 0})},
          {serial, serialAnswer},
          {name5a, Crc8Frame({0x03, ' ', 'T', 'a', 'n', 'k', ' '})},
          {name5b, Crc8Frame({0x03, '7', ' ', ' ', 0, ' ', ' '})}},
         0x12345678, 0xBEEF, "Tank 7", {handshake, identity, serial, name5a, name5b}},
        {"0x6601 from 0x0600: no application word; area 13 name",
         {{handshake, shook},
          {identity, Crc8Frame({0x01, 0, 0x66, 0x01, 0x06, 0x00, 0})},
          {serial, serialAnswer},
          {name13a, Crc8Frame({0x03, 'H', 0xFC, 't', 't', 'e', '-'})},
          {name13b, Crc8Frame({0x03, 'N', 'o', 'r', 'd', ' ', ' '})}},
         0x12345678, 0, "H\xC3\xBCtte-Nord", {handshake, identity, serial, name13a, name13b}},
        {"0x6602: serial number, no name",
         {{handshake, shook}, {identity, Crc8Frame({0x01, 0, 0x66, 0x02, 0x01, 0x00, 0})}, {serial, serialAnswer}},
         0x12345678, 0, "", {handshake, identity, serial}},
    };
    for (const TCase& c : cases) {
        auto device = ScriptedDevice(c.Script);
        const TQelPort port = Probe(TProtocol::Crc8, device);
        EXPECT_EQ(port.error, qel::mpeOK) << c.Name;
        EXPECT_EQ(port.id_sn, c.Serial) << c.Name;
        EXPECT_EQ(port.id_app, c.App) << c.Name;
        EXPECT_EQ(port.id_name, c.LoggerName) << c.Name;
        EXPECT_EQ(port.id_version, 0) << c.Name;
        EXPECT_EQ(Requests(*device), c.Requests) << c.Name;
        // Two resync frames after opening, then no more on a clean run.
        ASSERT_GE(device->Written.size(), 2u) << c.Name;
        EXPECT_EQ(device->Written[0], RESYNC) << c.Name;
        EXPECT_EQ(device->Written[1], RESYNC) << c.Name;
        EXPECT_EQ(device->Written.size(), c.Requests.size() + 2) << c.Name;
        EXPECT_EQ(device->Baud, 9600) << c.Name;
    }
}

TEST_F(QelProbeTest, Crc16RequestsAreByteExactAndTheSerialNumberIsReadHighFirst)
{
    const TBytes poll = Hex("8A 00 00 00 00 00 71 1F");
    const std::map<TBytes, TBytes> pollAnswers = {
        {Hex("A7 00 05 00 00 00 C0 19"), Crc16Frame({0x0A, 0, 0x12, 0x34, 0x56, 0x78})},
        {Hex("A7 00 50 00 00 00 0C 08"), Crc16Frame({0x0A, 0, ' ', ' ', 'B', 'o'})},
        {Hex("A7 00 54 00 00 00 3C 09"), Crc16Frame({0x0A, 0, 'j', 'e', ' ', '4'})},
        {Hex("A7 00 58 00 00 00 6C 0A"), Crc16Frame({0x0A, 0, ' ', ' ', ' ', ' '})},
        {Hex("A7 00 5C 00 00 00 5C 0B"), Crc16Frame({0x0A, 0, ' ', 0, 0, 0})},
    };
    auto device = std::make_shared<TMemoryDevice>();
    TBytes pending;
    device->Answer = [&](const TBytes& request) -> TBytes {
        if (request == Hex("80 01 0B 15 1F 29 15 F8")) {
            return Crc16Frame({0x00, 2, 12, 0, 0, 0});
        }
        if (request == Hex("81 00 00 00 00 01 CA DF")) {
            return Crc16Frame({0x01, 0, 0x00, 0x01, 0, 0});
        }
        if (request == poll) {
            return pending;
        }
        const auto found = pollAnswers.find(request);
        if (found == pollAnswers.end()) {
            return {};
        }
        pending = found->second;
        return Crc16Frame({0x27, 0, 0, 0, 0, 0});
    };
    const TQelPort port = Probe(TProtocol::Crc16, device);
    EXPECT_EQ(port.error, qel::mpeOK);
    EXPECT_EQ(port.id_class, 1);
    EXPECT_EQ(port.id_sn, 0x123456u);
    EXPECT_EQ(port.id_name, "Boje 4");
    EXPECT_EQ(port.id_ver_pc, 0);
    EXPECT_EQ(port.id_app, 0);
    const std::vector<TBytes> expected = {
        Hex("80 01 0B 15 1F 29 15 F8"), Hex("81 00 00 00 00 01 CA DF"), Hex("A7 00 05 00 00 00 C0 19"), poll,
        Hex("A7 00 50 00 00 00 0C 08"), poll, Hex("A7 00 54 00 00 00 3C 09"), poll,
        Hex("A7 00 58 00 00 00 6C 0A"), poll, Hex("A7 00 5C 00 00 00 5C 0B"), poll,
    };
    EXPECT_EQ(device->Written, expected);
    EXPECT_EQ(device->Baud, 115200);
    EXPECT_EQ(device->NowMs, 500 + 5 * 100);   // the pause after opening and one before each poll
}

TEST_F(QelProbeTest, OutcomesOfHandshakeModelCheckAndRefusals)
{
    const TBytes handshake = Hex("80 06 01 0B 15 1F 29 48");
    struct TCase {
        const char* Name;
        TProtocol Protocol;
        TLoggerProfile Profile;
        std::int32_t VersionPC;
        std::function<TBytes(TFakeLogger&, const TBytes&)> Answer;   // empty: the logger's own answers
        qel::TQelPortError Error;
        std::string LoggerName;
        std::uint32_t Serial;    // the record starts with 4711
        std::size_t Requests;    // frames written, resync frames left out
    };
    const auto wrongHandshake = [](TFakeLogger& logger, const TBytes& request) {
        return request[0] == 0x80 ? Crc8Frame({0x00, 0x06, 2, 13, 0, 0, 0}) : logger.Answer(request);
    };
    int handshakes = 0;
    const auto zeroFirst = [&handshakes](TFakeLogger& logger, const TBytes& request) {
        return request[0] == 0x80 && handshakes++ == 0 ? TBytes(8, 0) : logger.Answer(request);
    };
    TLoggerProfile ffName = Crc8Logger(0x6601, 0x0600);
    ffName.Name = "Tank\xFF" "1" "       ";
    TLoggerProfile refusing = Crc16Logger();
    refusing.Behaviour = TBehaviour::Refusing;
    TLoggerProfile otherCrc16Model = Crc16Logger();
    otherCrc16Model.ModelCode = 2;
    const TCase cases[] = {
        {"right CRC, wrong handshake bytes: not repeated", TProtocol::Crc8, Crc8Logger(0x6602, 0x0100), -1,
         wrongHandshake, qel::mpeCOM, "", 4711, 1},
        {"eight zero bytes: no answer, repeated", TProtocol::Crc8, Crc8Logger(0x6602, 0x0100), -1, zeroFirst,
         qel::mpeOK, "", 0x00BC614E, 4},
        {"model 0x6609 refused", TProtocol::Crc8, Crc8Logger(0x6609, 0x0100), -1, nullptr, qel::mpeCLASS, "", 4711,
         2},
        {"model 0x6590 without VersionPC", TProtocol::Crc8, Crc8Logger(0x6590, 0x0123), -1, nullptr, qel::mpeCLASS,
         "", 4711, 2},
        {"model 0x6590 with another VersionPC", TProtocol::Crc8, Crc8Logger(0x6590, 0x0123), 0x0124, nullptr,
         qel::mpeCLASS, "", 4711, 2},
        {"model 0x6590 with its VersionPC: no serial request", TProtocol::Crc8, Crc8Logger(0x6590, 0x0123), 0x0123,
         nullptr, qel::mpeOK, "", 4711, 2},
        {"0x6601 from 0x0600 with 0xFF in the name", TProtocol::Crc8, ffName, -1, nullptr, qel::mpeOK, "",
         0x00BC614E, 5},
        {"0x6602: serial number, no name", TProtocol::Crc8, Crc8Logger(0x6602, 0x0100), -1, nullptr, qel::mpeOK, "",
         0x00BC614E, 3},
        {"115200 Bd: a refused read", TProtocol::Crc16, refusing, -1, nullptr, qel::mpeCOM, "", 4711, 3},
        {"115200 Bd: a model code other than 1", TProtocol::Crc16, otherCrc16Model, -1, nullptr, qel::mpeCLASS, "",
         4711, 2},
    };
    for (const TCase& c : cases) {
        handshakes = 0;
        auto device = LoggerDevice(c.Profile);
        if (c.Answer) {
            auto logger = std::make_shared<TFakeLogger>(c.Profile);
            device->Answer = [logger, answer = c.Answer](const TBytes& request) { return answer(*logger, request); };
        }
        TQelPort record;
        record.id_sn = 4711;
        record.id_app = 99;
        const TQelPort port = Probe(c.Protocol, device, c.VersionPC, record);
        EXPECT_EQ(port.error, c.Error) << c.Name;
        EXPECT_EQ(port.id_name, c.LoggerName) << c.Name;
        EXPECT_EQ(port.id_sn, c.Serial) << c.Name;
        EXPECT_EQ(port.id_app, 0) << c.Name;
        EXPECT_EQ(Requests(*device).size(), c.Requests) << c.Name;
        if (c.Error == qel::mpeCLASS) {
            EXPECT_EQ(port.id_class, c.Profile.ModelCode) << c.Name;
        }
    }
}

// At 115200 Bd the handshake and the identity request take their answer as
// it stands: a refusal with the right bytes reads like an acceptance, and
// the model code comes from the refused identity answer as from any other.
TEST_F(QelProbeTest, RefusedHandshakeOrIdentityAt115200IsReadAsAnAnswer)
{
    const auto refuse = [](std::uint8_t command, TBytes answer) {
        return [command, answer](TFakeLogger& logger, const TBytes& request) {
            return request[0] == 0x80 + command ? answer : logger.Answer(request);
        };
    };
    const TQelPort accepted = Probe(TProtocol::Crc16, LoggerDevice(Crc16Logger()));
    ASSERT_EQ(accepted.error, qel::mpeOK);
    const struct {
        const char* Name;
        std::function<TBytes(TFakeLogger&, const TBytes&)> Answer;
        qel::TQelPortError Error;
        std::uint16_t ModelCode;
    } cases[] = {
        {"handshake refused with 2 and 12", refuse(0, Crc16Frame({0x40, 2, 12, 0, 0, 0})), qel::mpeOK, 1},
        {"handshake refused with other bytes", refuse(0, Crc16Frame({0x40, 2, 13, 0, 0, 0})), qel::mpeCOM, 0},
        {"identity refused, model code 1", refuse(1, Crc16Frame({0x41, 0, 0x00, 0x01, 0, 0})), qel::mpeOK, 1},
        {"identity refused, model code 0x6601", refuse(1, Crc16Frame({0x41, 0, 0x66, 0x01, 0, 0})), qel::mpeCLASS,
         0x6601},
    };
    for (const auto& c : cases) {
        auto device = LoggerDevice(Crc16Logger());
        auto logger = std::make_shared<TFakeLogger>(Crc16Logger());
        device->Answer = [logger, answer = c.Answer](const TBytes& request) { return answer(*logger, request); };
        const TQelPort port = Probe(TProtocol::Crc16, device);
        EXPECT_EQ(port.error, c.Error) << c.Name;
        EXPECT_EQ(port.id_class, c.ModelCode) << c.Name;
        if (c.Error == qel::mpeOK) {
            EXPECT_EQ(port.id_sn, accepted.id_sn) << c.Name;
            EXPECT_EQ(port.id_name, accepted.id_name) << c.Name;
            EXPECT_EQ(Requests(*device).size(), 12u) << c.Name << ": handshake, identity, five commands with their polls";
        } else {
            EXPECT_EQ(Requests(*device).size(), c.Error == qel::mpeCOM ? 1u : 2u) << c.Name;
        }
    }
}

TEST_F(QelProbeTest, EveryRowOfTheNameTable)
{
    const auto area5 = [](std::vector<std::uint8_t> positions) {
        std::vector<TBytes> frames;
        for (const std::uint8_t position : positions) {
            frames.push_back(Crc8Frame({0x83, 5, position, 0, 0, 0, 0}));
        }
        return frames;
    };
    const auto area13 = [](std::vector<std::uint8_t> positions) {
        std::vector<TBytes> frames;
        for (const std::uint8_t position : positions) {
            frames.push_back(Crc8Frame({0x83, 13, position, 0, 0, 0, 0}));
        }
        return frames;
    };
    const std::string name12 = "Tank\xC3\xBC" "A-7";
    const std::string name24 = "Tank\xC3\xBC" "A-7   xy  z 123456";
    const std::string name30 = "Tank\xC3\xBC" "A-7   xy  z 123456  end";
    struct TRow {
        std::vector<std::uint16_t> Models;
        std::vector<std::uint16_t> Versions;
        std::vector<TBytes> Frames;
        std::string Name;
    };
    const TRow rows[] = {
        {{0x6603, 0x6604, 0x6605, 0x6606, 0x6607, 0x660B, 0x660E, 0x6616, 0x6617, 0x6619, 0x661D, 0x661E, 0x661F,
          0x6621, 0x6626, 0x6628, 0x662E},
         {0x0000, 0xFFFF},
         area5({0, 1}),
         name12},
        {{0x6601}, {0x0600, 0xFFFF}, area13({0, 6}), name12},
        {{0x6601}, {0x057E, 0x05FF}, area5({0, 1, 10, 11, 12}), name30},
        {{0x6601}, {0x0306, 0x057D}, area5({0, 1}), name12},
        {{0x6601}, {0x0000, 0x0305}, {}, ""},
        {{0x6615}, {0x0102, 0xFFFF}, area13({0, 6, 12, 18}), name24},
        {{0x6615}, {0x0000, 0x0101}, {}, ""},
        {{0x6400, 0x6500, 0x6590, 0x6600, 0x6602, 0x6608, 0x660C, 0x6610, 0x6618, 0x6627}, {0x0100}, {}, ""},
    };
    for (const TRow& row : rows) {
        for (const std::uint16_t model : row.Models) {
            for (const std::uint16_t version : row.Versions) {
                const std::string label = std::to_string(model) + "/" + std::to_string(version);
                auto device = LoggerDevice(Crc8Logger(model, version));
                const TQelPort port = Probe(TProtocol::Crc8, device, 0x0100);
                EXPECT_EQ(port.error, qel::mpeOK) << label;
                EXPECT_EQ(port.id_name, row.Name) << label;
                std::vector<TBytes> nameFrames;
                for (const TBytes& frame : device->Written) {
                    if (frame[0] == 0x83) {
                        nameFrames.push_back(frame);
                    }
                }
                EXPECT_EQ(nameFrames, row.Frames) << label;
            }
        }
    }
}

TEST_F(QelProbeTest, AFailedNameBlockLeavesWhatItsKindKeeps)
{
    struct TCase {
        const char* Name;
        TLoggerProfile Profile;
        TBytes FailingRequest;   // never answered
        std::string LoggerName;  // the record starts with "old"
    };
    const TBytes poll58 = Hex("A7 00 58 00 00 00 6C 0A");
    const TCase cases[] = {
        {"12 characters, second block", Crc8Logger(0x6603, 0), Crc8Frame({0x83, 5, 1, 0, 0, 0, 0}), " Tank\xC3\xBC"},
        {"12 characters, first block", Crc8Logger(0x6603, 0), Crc8Frame({0x83, 5, 0, 0, 0, 0, 0}), "old"},
        {"0x6601 12 characters, second block", Crc8Logger(0x6601, 0x0400), Crc8Frame({0x83, 5, 1, 0, 0, 0, 0}),
         " Tank\xC3\xBC"},
        {"24 characters, third block", Crc8Logger(0x6615, 0x0102), Crc8Frame({0x83, 13, 12, 0, 0, 0, 0}),
         " Tank\xC3\xBC" "A-7   "},
        {"0x6601 area 13, second block", Crc8Logger(0x6601, 0x0600), Crc8Frame({0x83, 13, 6, 0, 0, 0, 0}), "old"},
        {"0x6601 30 characters, last block", Crc8Logger(0x6601, 0x0580), Crc8Frame({0x83, 5, 12, 0, 0, 0, 0}),
         "old"},
        {"115200 Bd, third block", Crc16Logger(), poll58, " Tank\xC3\xBC" "A-"},
    };
    for (const TCase& c : cases) {
        auto device = LoggerDevice(c.Profile);
        auto logger = std::make_shared<TFakeLogger>(c.Profile);
        device->Answer = [logger, failing = c.FailingRequest](const TBytes& request) {
            return request == failing ? TBytes{} : logger->Answer(request);
        };
        TQelPort record;
        record.id_name = "old";
        const TQelPort port = Probe(c.Profile.Protocol, device, -1, record);
        EXPECT_EQ(port.error, qel::mpeCOM) << c.Name;
        EXPECT_EQ(port.id_name, c.LoggerName) << c.Name;
        EXPECT_EQ(port.id_sn, c.Profile.Serial) << c.Name;
    }
}

TEST_F(QelProbeTest, ASilentPortCostsItsTimeOutsOnTheVirtualClock)
{
    TLoggerProfile silent;
    silent.Behaviour = TBehaviour::Silent;
    auto slow = LoggerDevice(silent);
    EXPECT_EQ(Probe(TProtocol::Crc8, slow).error, qel::mpeCOM);
    EXPECT_EQ(slow->NowMs, 3 * (508 + 200));
    EXPECT_EQ(slow->ReadTimes, (std::vector<std::int64_t>{0, 708, 1416}));
    EXPECT_EQ(slow->Written.size(), 2u + 3 * 3);   // two resyncs, then each try with its two

    silent.Protocol = TProtocol::Crc16;
    auto fast = LoggerDevice(silent);
    EXPECT_EQ(Probe(TProtocol::Crc16, fast).error, qel::mpeCOM);
    EXPECT_EQ(fast->NowMs, 500 + 3 * 1000);
    EXPECT_EQ(fast->ReadTimes, (std::vector<std::int64_t>{500, 1500, 2500}));
    EXPECT_EQ(fast->Written.size(), 3u);
}

TEST_F(QelProbeTest, MisbehavingDevicesEndWithinTheSilentTime)
{
    struct TCase {
        const char* Name;
        std::function<void(TMemoryDevice&)> SetUp;
    };
    const TCase cases[] = {
        {"garbage", [](TMemoryDevice& d) { d.Answer = [](const TBytes&) { return Hex("81 13 5A 00 FE 07 33 C1"); }; }},
        {"short frames", [](TMemoryDevice& d) { d.Answer = [](const TBytes&) { return Hex("80 00 02 0C 00"); }; }},
        {"endless stream",
         [](TMemoryDevice& d) {
             d.Answer = nullptr;
             d.Endless = true;
         }},
        {"gone after the handshake", [](TMemoryDevice& d) { d.VanishAfterWrites = 3; }},
        {"gone after the identity", [](TMemoryDevice& d) { d.VanishAfterWrites = 4; }},
    };
    for (const TProtocol protocol : {TProtocol::Crc8, TProtocol::Crc16}) {
        TLoggerProfile profile = protocol == TProtocol::Crc8 ? Crc8Logger(0x6603, 0x0100) : Crc16Logger();
        const std::int64_t limit = protocol == TProtocol::Crc8 ? 3 * (508 + 200) : 500 + 3 * 1000;
        for (const TCase& c : cases) {
            auto device = LoggerDevice(profile);
            c.SetUp(*device);
            const TQelPort port = Probe(protocol, device);
            EXPECT_EQ(port.error, qel::mpeCOM) << c.Name;
            EXPECT_LE(device->NowMs, limit) << c.Name;
        }
    }
    for (const TProtocol protocol : {TProtocol::Crc8, TProtocol::Crc16}) {
        TQelPort missing;
        missing.port = "/dev/ttyUSB7";
        qel::TQelProbe probe(FCancel, -1);
        protocol == TProtocol::Crc8 ? probe.ProbeCrc8(missing) : probe.ProbeCrc16(missing);
        EXPECT_EQ(missing.error, qel::mpePORT);
    }
}

TEST_F(QelProbeTest, AStopEndsTheProbeWithoutWaiting)
{
    for (const TProtocol protocol : {TProtocol::Crc8, TProtocol::Crc16}) {
        plat::TCancelHandle cancel;
        TLoggerProfile silent;
        silent.Protocol = protocol;
        silent.Behaviour = TBehaviour::Silent;
        auto device = LoggerDevice(silent);
        device->AfterWrite = [&cancel](const TBytes& written) {
            if (written[0] == 0x80) {
                cancel.Cancel();   // during the handshake
            }
        };
        FOpener.Add(DEVICE, device);
        TQelPort port;
        port.port = DEVICE;
        qel::TQelProbe probe(cancel, -1);
        protocol == TProtocol::Crc8 ? probe.ProbeCrc8(port) : probe.ProbeCrc16(port);
        EXPECT_EQ(port.error, qel::mpeCOM);
        EXPECT_EQ(Requests(*device).size(), 1u) << "no try after the stop";
        EXPECT_EQ(device->NowMs, protocol == TProtocol::Crc8 ? 0 : 500) << "no wait after the stop";
        EXPECT_FALSE(device->InUse);
    }
}

} // namespace

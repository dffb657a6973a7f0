// The probes over the real terminal code: a fake logger at the far end of a
// pseudo-terminal answers, refuses, babbles or hangs up.
#include "app/qel_probe.h"

#include "tests/app/pty_logger.h"
#include "tests/app/qel_port_printer.h"

#include <gtest/gtest.h>

namespace {

using namespace qeltest;
using qel::TQelPort;

// Probes the line with the profile's protocol while the fake logger of the
// profile answers at its far end.
TQelPort ProbeLogger(TPseudoTerminal& line, const TLoggerProfile& profile, int hangUpAfterFrames = -1)
{
    TQelPort port;
    port.port = line.LineName();
    const TPtyLogger logger(line, profile, hangUpAfterFrames);
    plat::TCancelHandle cancel;
    qel::TQelProbe probe(cancel, -1);
    profile.Protocol == TProtocol::Crc8 ? probe.ProbeCrc8(port) : probe.ProbeCrc16(port);
    return port;
}

class QelProbePtyTest : public ::testing::Test {
protected:
    TPseudoTerminal FLine;
    TInstantPauseOpener FOpener;
    plat::TCancelHandle FCancel;
};

TEST_F(QelProbePtyTest, LoggersOfBothProtocolsAreIdentified)
{
    struct TCase {
        TLoggerProfile Profile;
        std::string LoggerName;
        std::int64_t PausedMs;
    };
    const TCase cases[] = {
        {{TProtocol::Crc8, TBehaviour::Answering, 0x6601, 0x0612, 20240917, 0, "H\xFCtte Nord  "},
         "H\xC3\xBCtte Nord", 0},
        {{TProtocol::Crc16, TBehaviour::Answering, 1, 0, 0x00FEDCBA, 0, "Pegel 12"}, "Pegel 12", 500 + 5 * 100},
    };
    for (const TCase& c : cases) {
        TPseudoTerminal line;
        FOpener.PausedMs = 0;
        const TQelPort port = ProbeLogger(line, c.Profile);
        EXPECT_EQ(port.error, qel::mpeOK) << c.LoggerName;
        EXPECT_EQ(port.id_class, c.Profile.ModelCode) << c.LoggerName;
        EXPECT_EQ(port.id_ver_pc, c.Profile.VersionPc) << c.LoggerName;
        EXPECT_EQ(port.id_sn, c.Profile.Serial) << c.LoggerName;
        EXPECT_EQ(port.id_name, c.LoggerName);
        EXPECT_EQ(FOpener.PausedMs, c.PausedMs) << c.LoggerName;
        EXPECT_NE(plat::OpenTermiosPort(line.LineName(), FCancel), nullptr) << "the probe closed its port";
    }
}

TEST_F(QelProbePtyTest, MisbehavingLoggersEndTheProbeWithoutAnswer)
{
    struct TCase {
        const char* Name;
        TProtocol Protocol;
        TBehaviour Behaviour;
        int HangUpAfterFrames;
    };
    const TCase cases[] = {
        {"refusing at 115200", TProtocol::Crc16, TBehaviour::Refusing, -1},
        {"babbling at 9600", TProtocol::Crc8, TBehaviour::Babbling, -1},
        {"babbling at 115200", TProtocol::Crc16, TBehaviour::Babbling, -1},
        {"gone at the 9600 handshake", TProtocol::Crc8, TBehaviour::Answering, 3},
        {"gone at the 9600 identity", TProtocol::Crc8, TBehaviour::Answering, 4},
        {"gone at the 115200 handshake", TProtocol::Crc16, TBehaviour::Answering, 1},
    };
    for (const TCase& c : cases) {
        TPseudoTerminal line;
        TLoggerProfile profile;
        profile.Protocol = c.Protocol;
        profile.ModelCode = c.Protocol == TProtocol::Crc8 ? 0x6603 : 1;
        profile.Behaviour = c.Behaviour;
        FOpener.PausedMs = 0;
        const TQelPort port = ProbeLogger(line, profile, c.HangUpAfterFrames);
        EXPECT_EQ(port.error, qel::mpeCOM) << c.Name;
        EXPECT_LE(FOpener.PausedMs, c.Protocol == TProtocol::Crc8 ? 3 * 200 : 500) << c.Name;
    }
}

TEST_F(QelProbePtyTest, AMissingDeviceIsNoPort)
{
    EXPECT_EQ(qel::OpenComPort(FLine.LineName() + "9", 9600, 3, FCancel), nullptr);
    TQelPort port;
    port.port = "/dev/no-such-line";
    qel::TQelProbe(FCancel, -1).ProbeCrc8(port);
    EXPECT_EQ(port.error, qel::mpePORT);
}

} // namespace

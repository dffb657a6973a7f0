// The probes over the real terminal code: a fake logger at the far end of a
// pseudo-terminal answers, refuses, babbles or hangs up.
#include "app/qel_probe.h"

#include "tests/app/pty_logger.h"
#include "tests/app/qel_port_printer.h"
#include "tests/support/temp_dir.h"

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

TEST_F(QelProbePtyTest, AStopWhileASilentLoggerIsAwaitedEndsTheProbe)
{
    // The reads have no time-out of their own: only the stop can end the wait.
    FOpener.EndlessReads = true;
    struct TCase {
        TProtocol Protocol;
        int Writes;   // the resync frames and the handshake
    };
    for (const TCase& c : {TCase{TProtocol::Crc8, 3}, TCase{TProtocol::Crc16, 1}}) {
        TPseudoTerminal line;
        FOpener.Writes = 0;
        TLoggerProfile silent;
        silent.Protocol = c.Protocol;
        silent.Behaviour = TBehaviour::Silent;
        plat::TCancelHandle stop;
        const TPtyLogger logger(line, silent, -1, [&stop](const TBytes& frame) {
            if (frame[0] == 0x80) {
                stop.Cancel();   // the handshake has arrived
            }
        });
        TQelPort port;
        port.port = line.LineName();
        qel::TQelProbe probe(stop, -1);
        c.Protocol == TProtocol::Crc8 ? probe.ProbeCrc8(port) : probe.ProbeCrc16(port);
        EXPECT_EQ(port.error, qel::mpeCOM);
        EXPECT_EQ(FOpener.Writes, c.Writes) << "no try after the stop";
        EXPECT_NE(plat::OpenTermiosPort(line.LineName(), FCancel), nullptr) << "the probe closed its port";
    }
}

TEST_F(QelProbePtyTest, AMissingDeviceIsNoPort)
{
    // A name in a fresh folder: no terminal of anyone else can answer to it.
    const TempDir dir;
    EXPECT_EQ(qel::OpenComPort(dir.File("ttyUSB0"), 9600, 3, FCancel), nullptr);
    TQelPort port;
    port.port = dir.File("ttyUSB1");
    qel::TQelProbe(FCancel, -1).ProbeCrc8(port);
    EXPECT_EQ(port.error, qel::mpePORT);
}

} // namespace

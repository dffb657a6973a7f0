// The probes over the real terminal code: a fake logger at the far end of a
// pseudo-terminal answers, refuses, babbles or hangs up.
#include "app/qel_probe.h"

#include "tests/app/pty_logger.h"
#include "tests/app/qel_port_printer.h"

#include <gtest/gtest.h>

namespace {

using namespace qeltest;
using qel::TQelPort;

class QelProbePtyTest : public ::testing::Test {
protected:
    TQelPort Probe(TProtocol protocol)
    {
        TQelPort port;
        port.port = FLine.LineName();
        qel::TQelProbe probe(FCancel, -1);
        protocol == TProtocol::Crc8 ? probe.ProbeCrc8(port) : probe.ProbeCrc16(port);
        return port;
    }

    TPseudoTerminal FLine;
    TInstantPauseOpener FOpener;
    plat::TCancelHandle FCancel;
};

TEST_F(QelProbePtyTest, A9600LoggerIsIdentified)
{
    TLoggerProfile profile;
    profile.ModelCode = 0x6601;
    profile.VersionPc = 0x0612;
    profile.Serial = 20240917;
    profile.Name = "H\xFCtte Nord  ";
    TQelPort port;
    {
        const TPtyLogger logger(FLine, profile);
        port = Probe(TProtocol::Crc8);
    }
    EXPECT_EQ(port.error, qel::mpeOK);
    EXPECT_EQ(port.id_class, 0x6601);
    EXPECT_EQ(port.id_ver_pc, 0x0612);
    EXPECT_EQ(port.id_sn, 20240917u);
    EXPECT_EQ(port.id_name, "H\xC3\xBCtte Nord");
    EXPECT_EQ(FOpener.PausedMs, 0);
    EXPECT_NE(plat::OpenTermiosPort(FLine.LineName(), FCancel), nullptr) << "the probe closed its port";
}

TEST_F(QelProbePtyTest, A115200LoggerIsIdentified)
{
    TLoggerProfile profile;
    profile.Protocol = TProtocol::Crc16;
    profile.ModelCode = 1;
    profile.Serial = 0x00FEDCBA;
    profile.Name = "Pegel 12";
    TQelPort port;
    {
        const TPtyLogger logger(FLine, profile);
        port = Probe(TProtocol::Crc16);
    }
    EXPECT_EQ(port.error, qel::mpeOK);
    EXPECT_EQ(port.id_class, 1);
    EXPECT_EQ(port.id_sn, 0x00FEDCBAu);
    EXPECT_EQ(port.id_name, "Pegel 12");
    EXPECT_EQ(FOpener.PausedMs, 500 + 5 * 100);
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
        TQelPort port;
        port.port = line.LineName();
        {
            const TPtyLogger logger(line, profile, c.HangUpAfterFrames);
            qel::TQelProbe probe(FCancel, -1);
            c.Protocol == TProtocol::Crc8 ? probe.ProbeCrc8(port) : probe.ProbeCrc16(port);
        }
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

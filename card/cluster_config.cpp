// Readers of the logger configuration copy in a cluster.
#include "card/cluster_config.h"

#include "loggers/qel57.h"
#include "loggers/qel629.h"
#include "loggers/qel629c.h"
#include "loggers/qel649.h"
#include "platform/date_time.h"

#include <bit>
#include <cstdint>
#include <string>

namespace qel {

namespace {

// Little-endian fields at cluster offsets; bytes beyond the cluster read as 0.
class TConfigBytes {
public:
    explicit TConfigBytes(TCardClusterView cluster) : FCluster(cluster) {}

    std::uint8_t Byte(std::size_t at) const { return at < FCluster.size() ? FCluster[at] : 0; }
    bool Bit(std::size_t at, unsigned bit) const { return (Byte(at) >> bit & 1) != 0; }
    std::uint16_t Word(std::size_t at) const { return static_cast<std::uint16_t>(Byte(at) | Byte(at + 1) << 8); }
    std::int16_t SmallInt(std::size_t at) const { return static_cast<std::int16_t>(Word(at)); }
    std::uint32_t LongWord(std::size_t at) const { return Word(at) | static_cast<std::uint32_t>(Word(at + 2)) << 16; }
    // The IEEE single whose bits 8 to 31 are the three bytes, bits 0 to 7 zero.
    float Single3(std::size_t at) const
    {
        return std::bit_cast<float>(static_cast<std::uint32_t>(Byte(at)) << 8 | static_cast<std::uint32_t>(Byte(at + 1)) << 16
                                    | static_cast<std::uint32_t>(Byte(at + 2)) << 24);
    }
    float Single4(std::size_t at) const { return std::bit_cast<float>(LongWord(at)); }
    // One character per byte (the byte is the character code), without the
    // blanks and control characters at both ends.
    std::string Text(std::size_t at, std::size_t length) const
    {
        std::size_t first = at;
        std::size_t last = at + length;
        while (first < last && Byte(first) <= ' ') {
            ++first;
        }
        while (last > first && Byte(last - 1) <= ' ') {
            --last;
        }
        std::string text;
        for (std::size_t i = first; i < last; ++i) {
            const std::uint8_t code = Byte(i);
            if (code < 0x80) {
                text += static_cast<char>(code);
            } else {
                text += static_cast<char>(0xC0 | code >> 6);
                text += static_cast<char>(0x80 | (code & 0x3F));
            }
        }
        return text;
    }
    // Year - 2000, month - 1, day - 1; 2000-01-01 when they form no date.
    double Date(std::size_t at) const
    {
        plat::TDateTime date = 0;
        if (!plat::TryEncodeDate(2000 + Byte(at), 1 + Byte(at + 1), 1 + Byte(at + 2), date)) {
            date = plat::EncodeDate(2000, 1, 1);
        }
        return date;
    }
    float Hundredths(std::size_t at) const { return static_cast<float>(SmallInt(at) / 100.0); }

private:
    TCardClusterView FCluster;
};

void SetIdentity(const TCardClusterInfo& info, TQEL& logger)
{
    logger.ID_CLASS = info.QEL_CLASS;
    logger.ID_VER = info.QEL_VER;
    logger.ID_VER_PC = info.QEL_VER_PC;
    logger.SN = info.QEL_SN;
}

// User inputs 1 to 4 (name, unit, offset, gain), each when its channel (9 to 12) is on.
template <class TLogger>
void ReadUserInputs(const TConfigBytes& bytes, TLogger& logger)
{
    const std::size_t inputAt[4] = {84, 99, 114, 129};
    for (int n = 1; n <= 4; ++n) {
        if (logger.CH_EN[static_cast<std::size_t>(8 + n)]) {
            const std::size_t at = inputAt[n - 1];
            logger.SetUserInput(n, bytes.Text(at, 4), bytes.Text(at + 4, 4), bytes.Single3(at + 8), bytes.Single3(at + 11));
        }
    }
}

// Offset and gain of X, Y, Z of one acceleration range.
void ReadAccCal(const TConfigBytes& bytes, std::size_t at, float& xOfs, float& xGain, float& yOfs, float& yGain, float& zOfs,
                float& zGain)
{
    float* fields[6] = {&xOfs, &xGain, &yOfs, &yGain, &zOfs, &zGain};
    for (std::size_t i = 0; i < 6; ++i) {
        *fields[i] = bytes.Single3(at + 3 * i);
    }
}

// Humidity calibration points in hundredths.
void ReadHumidityPoints(const TConfigBytes& bytes, TQelTwoPointCal& cal)
{
    cal.CAL_RH_SET_LO = bytes.Hundredths(174);
    cal.CAL_RH_ACT_LO = bytes.Hundredths(176);
    cal.CAL_RH_SET_HI = bytes.Hundredths(178);
    cal.CAL_RH_ACT_HI = bytes.Hundredths(180);
}

void ReadTemperaturePoints(const TConfigBytes& bytes, TQelTwoPointCal& cal, bool inHundredths)
{
    float* points[4] = {&cal.CAL_T_SET_LO, &cal.CAL_T_ACT_LO, &cal.CAL_T_SET_HI, &cal.CAL_T_ACT_HI};
    for (std::size_t i = 0; i < 4; ++i) {
        *points[i] = inHundredths ? bytes.Hundredths(182 + 2 * i) : static_cast<float>(bytes.SmallInt(182 + 2 * i));
    }
}

// The calibration switches from the flags byte: humidity with channel 5,
// temperature with channel 7, else the humidity sensor's temperature with channel 6.
template <class TLogger>
void ReadCalFlags(const TConfigBytes& bytes, TLogger& logger)
{
    logger.CAL_RH = bytes.Bit(171, 0) && logger.CH_EN[5];
    logger.CAL_T = bytes.Bit(171, 1) && logger.CH_EN[7];
    if (!logger.CAL_T) {
        logger.CAL_T_RH = bytes.Bit(171, 2) && logger.CH_EN[6];
    }
}

template <class TLogger>
void ReadNameAndCalDate(const TConfigBytes& bytes, TLogger& logger)
{
    logger.NAME = bytes.Text(162, 6);
    logger.CAL_DATE = bytes.Date(168);
    logger.CAL_INFO = bytes.Text(172, 2);
}

void ReadPSensor(const TConfigBytes& bytes, std::size_t at, bool exists, TQelExtPSensor& sensor)
{
    sensor.bValid = false;
    if (exists) {
        sensor.bValid = bytes.Bit(at, 0);
        sensor.INT_PINT = bytes.Byte(at + 1);
        sensor.INT_PEXT = bytes.Byte(at + 2);
    }
}

} // namespace

void ReadConfigQEL629(const TCardClusterInfo& info, TCardClusterView cluster, TQEL& base)
{
    auto& logger = dynamic_cast<TQEL629&>(base);
    SetIdentity(info, logger);
    const TConfigBytes bytes(cluster);

    const std::uint16_t mask = bytes.Word(78) & bytes.Word(80);
    for (std::size_t ch = 0; ch <= 14; ++ch) {
        logger.CH_EN[ch] = ch != 13 && (mask >> ch & 1) != 0;
    }
    // Bits 0 to 11 of the feature word are the first twelve members, in order.
    logger.INT_CFG = TEnumSet<TQEL629::TIntCfg>::FromBits(bytes.Word(82) & 0x0FFF);
    ReadUserInputs(bytes, logger);

    if (logger.CH_EN[2]) {
        logger.SMB_CFG.Clear();
        if (bytes.Bit(190, 0)) {
            logger.SMB_CFG.Include(TQEL629::cSMB_HIGH_G);
        }
        if (bytes.Bit(190, 1)) {
            const auto acc = logger.IsAcc();
            logger.SMB_CFG.Include(acc == TQEL629::cACC_SMB380 || acc == TQEL629::cACC_ADXL345 ? TQEL629::cSMB_PEAK
                                                                                              : TQEL629::cSMB_FAST);
        }
        ReadAccCal(bytes, 144, logger.X2G_OFS_USR, logger.X2G_GAIN_USR, logger.Y2G_OFS_USR, logger.Y2G_GAIN_USR,
                   logger.Z2G_OFS_USR, logger.Z2G_GAIN_USR);
        ReadAccCal(bytes, 192, logger.X10G_OFS_USR, logger.X10G_GAIN_USR, logger.Y10G_OFS_USR, logger.Y10G_GAIN_USR,
                   logger.Z10G_OFS_USR, logger.Z10G_GAIN_USR);
    }

    const bool extended = logger.IsExtended();
    logger.CAL_RH = false;
    logger.CAL_T = false;
    logger.CAL_T_RH = false;
    if (extended) {
        ReadCalFlags(bytes, logger);
    }
    if (logger.CH_EN[5]) {
        ReadHumidityPoints(bytes, logger);
    }
    if (logger.CH_EN[7] && extended) {
        const auto mode = logger.GetTMode();
        const bool raw = mode == TQEL629::cT_LIGHT || mode == TQEL629::cT_THERMO1 || mode == TQEL629::cT_THERMO4;
        ReadTemperaturePoints(bytes, logger, !raw);
    } else if (logger.CH_EN[6] && extended) {
        ReadTemperaturePoints(bytes, logger, true);
    }
    if (extended) {
        logger.CheckCalMode();
        ReadNameAndCalDate(bytes, logger);
    }
    ReadPSensor(bytes, 210, logger.existsExtendedPSensor(), logger.EXT_PSENSOR);
}

void ReadConfigQEL649(const TCardClusterInfo& info, TCardClusterView cluster, TQEL& base)
{
    auto& logger = dynamic_cast<TQEL649&>(base);
    SetIdentity(info, logger);
    const TConfigBytes bytes(cluster);

    // Mask bits 0-7 are channels 0-7, bit 8 channel 16, bits 9-12 channels 9-12,
    // bit 14 channel 17; channels 8, 14 and 15 keep their setting.
    const std::uint16_t mask = bytes.Word(78) & bytes.Word(80);
    for (std::size_t bit = 0; bit <= 7; ++bit) {
        logger.CH_EN[bit] = (mask >> bit & 1) != 0;
    }
    logger.CH_EN[16] = (mask >> 8 & 1) != 0;
    for (std::size_t ch = 9; ch <= 12; ++ch) {
        logger.CH_EN[ch] = (mask >> ch & 1) != 0;
    }
    logger.CH_EN[13] = false;
    logger.CH_EN[17] = (mask >> 14 & 1) != 0;

    static constexpr TQEL649::TIntCfg featureBits[8] = {
        TQEL649::cINT_MS_14BAR, TQEL649::cINT_MS_TC, TQEL649::cINT_MS_NEG, TQEL649::cINT_200G,
        TQEL649::cINT_EXT_SHOCK, TQEL649::cINT_LIGHT_MAXIM, TQEL649::cINT_LIGHT, TQEL649::cINT_SDCARD};
    logger.INT_CFG.Clear();
    for (unsigned bit = 0; bit < 8; ++bit) {
        if (bytes.Bit(82, bit)) {
            logger.INT_CFG.Include(featureBits[bit]);
        }
    }
    if (bytes.Bit(83, 0)) {
        logger.INT_CFG.Include(TQEL649::cINT_POSTRIG);
    }
    if (bytes.Bit(83, 1)) {
        logger.INT_CFG.Include(TQEL649::cINT_RECTIMER);
    }
    ReadUserInputs(bytes, logger);
    if (logger.CH_EN[2]) {
        ReadAccCal(bytes, 144, logger.X2G_OFS_USR, logger.X2G_GAIN_USR, logger.Y2G_OFS_USR, logger.Y2G_GAIN_USR,
                   logger.Z2G_OFS_USR, logger.Z2G_GAIN_USR);
    }

    logger.CAL_RH = false;
    logger.CAL_T = false;
    logger.CAL_T_RH = false;
    ReadCalFlags(bytes, logger);
    if (logger.CAL_RH) {
        ReadHumidityPoints(bytes, logger);
    }
    if (logger.CAL_T || logger.CAL_T_RH) {
        ReadTemperaturePoints(bytes, logger, true);
    }
    logger.CheckCalMode();
    ReadNameAndCalDate(bytes, logger);
    ReadPSensor(bytes, 190, logger.existsExtendedPSensor(), logger.EXT_PSENSOR);
}

void ReadConfigQEL629C(const TCardClusterInfo& info, TCardClusterView cluster, TQEL& base)
{
    auto& logger = dynamic_cast<TQEL629C&>(base);
    SetIdentity(info, logger);
    const TConfigBytes bytes(cluster);

    logger.QELNAME = bytes.Text(78, 12);
    const bool withTexts = bytes.Bit(90, 0);
    const int count = std::min<int>(bytes.Byte(91), TQEL629C::ConfigChannelCount);
    logger.NewConfigChannels();
    // Entries lie one after the other, also past the configuration area:
    // 32 entries of 22 bytes end at byte 795, inside the cluster.
    const std::size_t entrySize = withTexts ? 22 : 10;
    for (int i = 0; i < count; ++i) {
        const std::size_t at = 92 + static_cast<std::size_t>(i) * entrySize;
        TQelChannelInfo& channel = logger.Channels[i]->Info;
        channel.chID = bytes.Word(at);
        channel.dGain = bytes.Single4(at + 2);
        channel.dOfs = bytes.Single4(at + 6);
        if (withTexts) {
            channel.sName = bytes.Text(at + 10, 6);
            channel.sUnit = bytes.Text(at + 16, 6);
        } else {
            channel.sName = TQEL629C::getChNameFromID(channel.chID);
            if (channel.sName.empty()) {
                channel.sName = "CH" + std::to_string(i);
            }
            channel.sUnit = TQEL629C::getChUnitFromID(channel.chID);
        }
    }
}

void ReadConfigQEL57(const TCardClusterInfo& info, TCardClusterView, TQEL& logger)
{
    SetIdentity(info, logger);
    // Only the identity is taken; the logger must be of the generation its PC version names.
    if (logger.ID_VER_PC < 0x0200) {
        (void)dynamic_cast<TQEL57&>(logger);
    } else if (logger.ID_VER_PC < 0x0300) {
        (void)dynamic_cast<TQEL57b&>(logger);
    } else {
        (void)dynamic_cast<TQEL57c&>(logger);
    }
}

} // namespace qel

// The 9600 Bd and 115200 Bd probe protocols.
#include "app/qel_probe.h"

#include "app/com_crc.h"
#include "foundations/byte_helpers.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace qel {

namespace {

constexpr int FRAME_SIZE = 8;
constexpr std::uint8_t REQUEST_BIT = 0x80;       // first byte of every request
constexpr std::uint8_t RESYNC_COMMAND = 255;
constexpr int TRIES = 3;
constexpr int RETRY_PAUSE_MS = 200;
constexpr int POLL_PAUSE_MS = 100;
constexpr std::uint8_t STATUS_POLL_COMMAND = 10;
constexpr std::uint16_t CRC16_MODEL_CODE = 1;    // the one model code of the 115200 Bd protocol

// Where a name is read from, in blocks of six characters, and how it is kept.
struct TNamePlan {
    std::vector<std::pair<std::uint8_t, std::uint8_t>> Blocks;   // (area, position) of each request
    bool StoreWhenComplete;   // kept only once every block arrived (else after each block)
    bool EmptyOnFF;           // a name holding the character 0xFF is no name
};

const TNamePlan AREA5_SHORT_NAME{{{5, 0}, {5, 1}}, false, false};
const TNamePlan AREA5_LONG_NAME{{{5, 0}, {5, 1}, {5, 10}, {5, 11}, {5, 12}}, true, false};
const TNamePlan AREA13_SHORT_NAME{{{13, 0}, {13, 6}}, true, true};
const TNamePlan AREA13_LONG_NAME{{{13, 0}, {13, 6}, {13, 12}, {13, 18}}, false, false};

bool OneOf(std::uint16_t code, std::initializer_list<std::uint16_t> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool InRange(std::uint16_t code, std::uint16_t first, std::uint16_t last)
{
    return code >= first && code <= last;
}

// nullptr for the loggers whose name is not read.
const TNamePlan* NamePlanFor(std::uint16_t modelCode, std::uint16_t versionPc)
{
    if (OneOf(modelCode, {0x6603, 0x6604, 0x6605, 0x6606, 0x6607, 0x660B, 0x660E, 0x6616, 0x6617, 0x6619, 0x661D,
                          0x661E, 0x661F, 0x6621, 0x6626, 0x6628, 0x662E})) {
        return &AREA5_SHORT_NAME;
    }
    if (modelCode == 0x6601) {
        if (versionPc >= 0x0600) {
            return &AREA13_SHORT_NAME;
        }
        if (versionPc >= 0x057E) {
            return &AREA5_LONG_NAME;
        }
        return versionPc >= 0x0306 ? &AREA5_SHORT_NAME : nullptr;
    }
    if (modelCode == 0x6615 && versionPc >= 0x0102) {
        return &AREA13_LONG_NAME;
    }
    return nullptr;
}

// Leading and trailing characters with codes 0 to 32 removed.
std::string TrimName(const std::string& name)
{
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    const auto first = std::find_if_not(name.begin(), name.end(), blank);
    const auto last = std::find_if_not(name.rbegin(), name.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

// Each byte is the character of the same code.
std::string NameText(const std::string& codes)
{
    std::u16string text;
    for (const char c : codes) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return plat::Utf16ToUtf8(text);
}

// Closes the probed port at every end of a probe.
class TPortCloser {
public:
    explicit TPortCloser(TComHandle& port) : FPort(port) {}
    ~TPortCloser() { CloseComPort(FPort); }
    TPortCloser(const TPortCloser&) = delete;
    TPortCloser& operator=(const TPortCloser&) = delete;

private:
    TComHandle& FPort;
};

} // namespace

bool TQelProbe::Exchange8(std::uint8_t Command, const TData6& Data)
{
    if (!FhPort->Purge()) {
        return false;
    }
    if (Command == RESYNC_COMMAND) {
        FacBuffer.fill(0);
        return FhPort->Write(FacBuffer.data(), FRAME_SIZE) == FRAME_SIZE;
    }
    FacBuffer[0] = static_cast<std::uint8_t>(REQUEST_BIT + Command);
    std::copy(Data.begin(), Data.end(), FacBuffer.begin() + 1);
    FacBuffer[7] = CalcCRC8(FacBuffer.data(), 7);
    if (FhPort->Write(FacBuffer.data(), FRAME_SIZE) != FRAME_SIZE ||
        FhPort->Read(FacBuffer.data(), FRAME_SIZE) != FRAME_SIZE) {
        return false;
    }
    // Eight zero bytes pass the CRC but are what a line stuck low delivers.
    const bool allZero = std::all_of(FacBuffer.begin(), FacBuffer.end(), [](std::uint8_t b) { return b == 0; });
    return CalcCRC8(FacBuffer.data(), FRAME_SIZE) == 0 && !allZero;
}

bool TQelProbe::Exchange8Retry(std::uint8_t Command, const TData6& Data)
{
    for (int attempt = 0; attempt < TRIES && !FCancel.Cancelled(); ++attempt) {
        if (Exchange8(Command, Data)) {
            return true;
        }
        if (!FhPort->Pause(RETRY_PAUSE_MS)) {
            return false;
        }
        SendResync();
        SendResync();
    }
    return false;
}

void TQelProbe::SendResync()
{
    Exchange8(RESYNC_COMMAND, TData6{});
}

bool TQelProbe::Exchange16(std::uint8_t Command, const TData5& Data)
{
    if (!FhPort->Purge()) {
        return false;
    }
    FacBuffer[0] = static_cast<std::uint8_t>(REQUEST_BIT + Command);
    std::copy(Data.begin(), Data.end(), FacBuffer.begin() + 1);
    const std::uint16_t requestCrc = CalcCRC16(FacBuffer.data(), 6);
    FacBuffer[6] = static_cast<std::uint8_t>(requestCrc >> 8);
    FacBuffer[7] = static_cast<std::uint8_t>(requestCrc);
    if (FhPort->Write(FacBuffer.data(), FRAME_SIZE) != FRAME_SIZE ||
        FhPort->Read(FacBuffer.data(), FRAME_SIZE) != FRAME_SIZE) {
        return false;
    }
    return (Byte(0) & REQUEST_BIT) == 0 && CalcCRC16(FacBuffer.data(), 6) == BytesToWord(Byte(6), Byte(7));
}

bool TQelProbe::Exchange16Retry(std::uint8_t Command, const TData5& Data)
{
    for (int attempt = 0; attempt < TRIES && !FCancel.Cancelled(); ++attempt) {
        if (Exchange16(Command, Data)) {
            return true;
        }
    }
    return false;
}

bool TQelProbe::Exchange16Accepted(std::uint8_t Command, const TData5& Data)
{
    // Bits 7 and 6 of the first answer byte: 0 and 1 is a refusal.
    return Exchange16Retry(Command, Data) && (Byte(0) & 0xC0) != 0x40;
}

bool TQelProbe::Command16(std::uint8_t Command, const TData5& Data)
{
    return Exchange16Accepted(Command, Data) && FhPort->Pause(POLL_PAUSE_MS) &&
           Exchange16Accepted(STATUS_POLL_COMMAND, TData5{});
}

bool TQelProbe::IsAcceptedModel(std::uint16_t ModelCode, std::uint16_t VersionPc) const
{
    if (ModelCode == 0x6590) {
        return static_cast<std::int32_t>(VersionPc) == FVersionPC;
    }
    return OneOf(ModelCode, {0x6400, 0x6500, 0x660B, 0x660C, 0x660E, 0x6610, 0x6621, 0x662E}) ||
           InRange(ModelCode, 0x6600, 0x6608) || InRange(ModelCode, 0x6615, 0x6619) ||
           InRange(ModelCode, 0x661D, 0x661F) || InRange(ModelCode, 0x6626, 0x6628);
}

void TQelProbe::ProbeCrc8(TQelPort& Port)
{
    Run(Port, 9600, 3, &TQelProbe::IdentifyCrc8);
}

void TQelProbe::ProbeCrc16(TQelPort& Port)
{
    Run(Port, 115200, 2, &TQelProbe::IdentifyCrc16);
}

void TQelProbe::Run(TQelPort& Port, int Baud, std::uint8_t Mode, bool (TQelProbe::*Identify)(TQelPort&))
{
    Port.error = mpePORT;
    Port.id_app = 0;
    FhPort = OpenComPort(Port.port, Baud, Mode, FCancel);
    if (!FhPort) {
        return;
    }
    const TPortCloser closer(FhPort);
    Port.error = mpeCOM;
    if ((this->*Identify)(Port)) {
        Port.error = mpeOK;
    }
}

bool TQelProbe::IdentifyCrc8(TQelPort& Port)
{
    SendResync();
    SendResync();
    if (!Exchange8Retry(0, {6, 1, 11, 21, 31, 41}) || Byte(2) != 2 || Byte(3) != 12) {
        return false;
    }
    if (!Exchange8Retry(1, {1, 0, 0, 0, 0, 1})) {
        return false;
    }
    Port.id_class = BytesToWord(Byte(2), Byte(3));
    Port.id_ver_pc = BytesToWord(Byte(4), Byte(5));
    if (!IsAcceptedModel(Port.id_class, Port.id_ver_pc)) {
        Port.error = mpeCLASS;
        return false;
    }
    return ReadSerialNumber8(Port) && ReadName8(Port);
}

bool TQelProbe::ReadSerialNumber8(TQelPort& Port)
{
    if (Port.id_class == 0x6590) {
        return true;   // read by no request; the record keeps what it had
    }
    if (OneOf(Port.id_class, {0x6400, 0x6500, 0x6600})) {
        if (!Exchange8Retry(6, {0, 0, 16, 0, 0, 0})) {
            return false;
        }
        Port.id_sn = BytesToLongWord(Byte(6), Byte(5), Byte(4), Byte(3));
        return true;
    }
    if (!Exchange8Retry(1, {3, 0, 0, 0, 0, 0})) {
        return false;
    }
    Port.id_sn = BytesToLongWord(Byte(4), Byte(3), Byte(2), Byte(1));
    if (Port.id_class == 0x6615 || Port.id_class == 0x6617) {
        Port.id_app = BytesToWord(Byte(6), Byte(5));
    }
    return true;
}

bool TQelProbe::ReadName8(TQelPort& Port)
{
    const TNamePlan* plan = NamePlanFor(Port.id_class, Port.id_ver_pc);
    if (plan == nullptr) {
        return true;
    }
    std::string codes;
    for (const auto& [area, position] : plan->Blocks) {
        if (!Exchange8Retry(3, {area, position, 0, 0, 0, 0})) {
            return false;
        }
        codes.append(FacBuffer.begin() + 1, FacBuffer.begin() + 7);
        if (!plan->StoreWhenComplete) {
            Port.id_name = NameText(codes);
        }
    }
    if (plan->EmptyOnFF && codes.find('\xFF') != std::string::npos) {
        codes.clear();
    }
    Port.id_name = NameText(TrimName(codes));
    return true;
}

bool TQelProbe::IdentifyCrc16(TQelPort& Port)
{
    // Handshake and identity take the answer as it is, a refusal included.
    if (!Exchange16Retry(0, {1, 11, 21, 31, 41}) || Byte(1) != 2 || Byte(2) != 12) {
        return false;
    }
    if (!Exchange16Retry(1, {0, 0, 0, 0, 1})) {
        return false;
    }
    Port.id_class = BytesToWord(Byte(2), Byte(3));
    if (Port.id_class != CRC16_MODEL_CODE) {
        Port.error = mpeCLASS;
        return false;
    }
    if (!Command16(0x27, {0, 5, 0, 0, 0})) {
        return false;
    }
    Port.id_sn = BytesToLongWord(0, Byte(2), Byte(3), Byte(4));
    std::string codes;
    for (const std::uint8_t address : {0x50, 0x54, 0x58, 0x5C}) {
        if (!Command16(0x27, {0, address, 0, 0, 0})) {
            return false;
        }
        codes.append(FacBuffer.begin() + 2, FacBuffer.begin() + 6);
        Port.id_name = NameText(codes);
    }
    Port.id_name = NameText(TrimName(codes));
    return true;
}

} // namespace qel

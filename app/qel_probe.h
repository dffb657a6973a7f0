// The two probe protocols that ask a logger on a serial port for its model
// code, PC version word, serial number and name: 8-byte frames of seven bytes
// and a CRC-8 at 9600 Bd, and of six bytes and a CRC-16 at 115200 Bd.
#pragma once

#include "app/com_port.h"
#include "app/qel_port.h"

#include <array>
#include <cstdint>

namespace qel {

// One probe at a time; each opens the port, stores what it learned in the
// port's record as it goes, and closes the port at every end. Nothing is
// raised for a failed exchange: the record's error tells how far it came.
class TQelProbe {
public:
    // VersionPC: the one PC version word with which model code 0x6590 is
    // accepted (-1, which no word equals, for none). Cancel ends every wait.
    TQelProbe(const plat::TCancelHandle& Cancel, std::int32_t VersionPC) : FCancel(Cancel), FVersionPC(VersionPC) {}

    // The 9600 Bd protocol (port mode 3).
    void ProbeCrc8(TQelPort& Port);
    // The 115200 Bd protocol (port mode 2); accepts only the model code 1.
    void ProbeCrc16(TQelPort& Port);

private:
    using TData6 = std::array<std::uint8_t, 6>;
    using TData5 = std::array<std::uint8_t, 5>;

    // 9600 Bd: one request and its answer; command 255 sends the resync frame
    // (8 zero bytes) and answers after the write.
    bool Exchange8(std::uint8_t Command, const TData6& Data);
    // Up to three tries, each failed one followed by a 200 ms pause and two
    // resync frames.
    bool Exchange8Retry(std::uint8_t Command, const TData6& Data);
    void SendResync();
    // 115200 Bd: one request and its answer (a refusal is a valid answer).
    bool Exchange16(std::uint8_t Command, const TData5& Data);
    bool Exchange16Retry(std::uint8_t Command, const TData5& Data);
    // Exchange16Retry whose answer must not be a refusal.
    bool Exchange16Accepted(std::uint8_t Command, const TData5& Data);
    // The command, 100 ms, then the status poll whose answer carries the
    // data; a refusal of either fails it.
    bool Command16(std::uint8_t Command, const TData5& Data);

    // Opens the port, runs Identify and closes the port; the record's error
    // moves from mpePORT over mpeCOM to mpeOK as far as the probe comes.
    void Run(TQelPort& Port, int Baud, std::uint8_t Mode, bool (TQelProbe::*Identify)(TQelPort&));
    // The steps after the port is open; false ends the probe where it is.
    bool IdentifyCrc8(TQelPort& Port);
    bool ReadSerialNumber8(TQelPort& Port);
    bool ReadName8(TQelPort& Port);
    bool IdentifyCrc16(TQelPort& Port);

    bool IsAcceptedModel(std::uint16_t ModelCode, std::uint16_t VersionPc) const;
    std::uint8_t Byte(int Index) const { return FacBuffer[static_cast<std::size_t>(Index)]; }

    const plat::TCancelHandle& FCancel;
    const std::int32_t FVersionPC;
    TComHandle FhPort;                        // the probed port while a probe runs
    std::array<std::uint8_t, 8> FacBuffer{};  // the request, then the answer
};

} // namespace qel

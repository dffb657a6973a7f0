// Fuzz target for the probe protocols: both probes run on an in-memory line
// whose every read is answered from the fuzzer's bytes. Each read takes one
// control byte, then the bytes that arrive: the low four bits below 4 say how
// many (a short answer), any other value a whole frame of 8. A whole frame is
// shaped so that answers reach past the handshake: bit 6 puts in the
// handshake answer's bytes, bit 7 a model code the probe accepts, and unless
// bits 4 and 5 are both set the frame gets a right CRC (at 115200 Bd also a
// first byte that is an answer and no refusal). The 9600 Bd probe reads the
// first half of the bytes, the 115200 Bd probe the rest. A probe must end
// with an outcome of the table, a name of valid UTF-8, and no more time than
// its exchanges' time-outs can sum to.
#include "app/com_crc.h"
#include "app/qel_probe.h"
#include "platform/serial_port.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <memory>

namespace {

constexpr std::int64_t CRC8_LIMIT_MS = 8 * 3 * (508 + 200);                    // 8 exchanges, 3 tries each
constexpr std::int64_t CRC16_LIMIT_MS = 500 + 12 * 3 * 1000 + 5 * 100;         // 12 exchanges, 5 polls

struct TFuzzInput {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Pos = 0;
    std::int64_t NowMs = 0;
};

class TFuzzLine final : public plat::ISerialPort {
public:
    explicit TFuzzLine(TFuzzInput& input) : FInput(input) {}

    bool SetLine(int baud) override
    {
        FFast = baud == 115200;
        return true;
    }
    bool SetTimeouts(const plat::TSerialTimeouts& timeouts) override
    {
        FTimeouts = timeouts;
        return true;
    }
    bool SetDtr(bool) override { return true; }
    bool SetRts(bool) override { return true; }
    bool Purge() override { return true; }
    int Write(const std::uint8_t*, int count) override { return count; }
    bool Pause(int ms) override
    {
        FInput.NowMs += ms;
        return true;
    }
    bool Close() override { return true; }

    int Read(std::uint8_t* data, int count) override
    {
        int got = 0;
        if (FInput.Pos < FInput.Size) {
            const std::uint8_t control = FInput.Data[FInput.Pos++];
            const int arriving = (control & 0x0F) < 4 ? control & 0x0F : 8;
            got = std::min({count, arriving, static_cast<int>(FInput.Size - FInput.Pos)});
            std::copy_n(FInput.Data + FInput.Pos, got, data);
            FInput.Pos += static_cast<std::size_t>(got);
            if (got == 8) {
                Shape(control, data);
            }
        }
        if (got < count) {
            FInput.NowMs += static_cast<std::int64_t>(FTimeouts.ReadPerByteMs) * count + FTimeouts.ReadConstantMs;
        }
        return got;
    }

private:
    void Shape(std::uint8_t control, std::uint8_t* data) const
    {
        // Model codes with every kind of serial number and name request.
        static constexpr std::uint16_t models[] = {0x6400, 0x6590, 0x6601, 0x6602, 0x6603, 0x6615, 0x6617, 0x6609};
        const int first = FFast ? 1 : 2;   // where the handshake answer's 2 and 12 stand
        if ((control & 0x40) != 0) {
            data[first] = 2;
            data[first + 1] = 12;
        }
        if ((control & 0x80) != 0) {
            const std::uint16_t model = FFast ? 1 : models[data[4] % std::size(models)];
            data[2] = static_cast<std::uint8_t>(model >> 8);
            data[3] = static_cast<std::uint8_t>(model);
        }
        if ((control & 0x30) == 0x30) {
            return;   // left as it came
        }
        if (!FFast) {
            data[7] = qel::CalcCRC8(data, 7);
            return;
        }
        data[0] &= 0x3F;
        const std::uint16_t crc = qel::CalcCRC16(data, 6);
        data[6] = static_cast<std::uint8_t>(crc >> 8);
        data[7] = static_cast<std::uint8_t>(crc);
    }

    TFuzzInput& FInput;
    plat::TSerialTimeouts FTimeouts;
    bool FFast = false;   // the 115200 Bd protocol
};

class TFuzzOpener final : public plat::ISerialPortOpener {
public:
    explicit TFuzzOpener(TFuzzInput& input) : FInput(input) {}
    std::unique_ptr<plat::ISerialPort> Open(const std::string&, const plat::TCancelHandle&) override
    {
        return std::make_unique<TFuzzLine>(FInput);
    }

private:
    TFuzzInput& FInput;
};

// Runs one probe on a line that reads the bytes given and checks how it ended.
qel::TQelPort ProbeLine(void (qel::TQelProbe::*probe)(qel::TQelPort&), const std::uint8_t* data, std::size_t size,
                        std::int64_t limitMs)
{
    TFuzzInput input{data, size};
    TFuzzOpener opener(input);
    plat::SetSerialPortOpener(&opener);
    plat::TCancelHandle cancel;
    qel::TQelProbe prober(cancel, 0x0100);
    qel::TQelPort port;
    port.port = "line";
    (prober.*probe)(port);
    plat::SetSerialPortOpener(nullptr);

    const bool known = port.error == qel::mpeCOM || port.error == qel::mpeCLASS || port.error == qel::mpeOK;
    if (!known || input.NowMs > limitMs || !plat::IsValidUtf8(port.id_name)) {
        std::abort();
    }
    return port;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ProbeLine(&qel::TQelProbe::ProbeCrc8, data, size / 2, CRC8_LIMIT_MS);
    const qel::TQelPort fast = ProbeLine(&qel::TQelProbe::ProbeCrc16, data + size / 2, size - size / 2, CRC16_LIMIT_MS);
    if (fast.error == qel::mpeOK && fast.id_class != 1) {
        std::abort();
    }
    return 0;
}

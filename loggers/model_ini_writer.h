// Writes a fixed-channel model's fields into the INI file named after the
// program file (extension ".ini"), one value per field under its field name.
#pragma once

#include "loggers/fixed_model_fields.h"
#include "loggers/value_format.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

namespace plat {
class TIniFile;
}

namespace qel {

class TQEL;
struct TQelBurstRecording;

class TModelIniWriter {
public:
    TModelIniWriter();
    ~TModelIniWriter();
    TModelIniWriter(const TModelIniWriter&) = delete;
    TModelIniWriter& operator=(const TModelIniWriter&) = delete;

    // Path of the INI file beside the program.
    static std::string IniFileName();

    void Write(const char* section, const std::string& key, const std::string& value);
    void Write(const char* section, const std::string& key, bool value);
    void Write(const char* section, const std::string& key, double value);

    template <class T>
        requires std::is_integral_v<T> && (!std::is_same_v<T, bool>)
    void Write(const char* section, const std::string& key, T value)
    {
        WriteInteger(section, key, static_cast<std::int64_t>(value));
    }

    void Write(const char* section, const std::string& key, float value)
    {
        Write(section, key, static_cast<double>(value));
    }

    // Array elements under the field name with the decimal index appended.
    template <class T, std::size_t N>
    void WriteArray(const char* section, const std::string& name, const std::array<T, N>& values)
    {
        for (std::size_t i = 0; i < N; ++i) {
            Write(section, TextWithNumber(name, static_cast<std::int64_t>(i)), values[i]);
        }
    }

    // The first count members of a set, each as a Boolean under the set's name
    // with the member's bit number appended.
    void WriteSetBits(const char* section, const std::string& name, std::uint64_t bits, int count);

    void WriteIdentity(const TQEL& logger);                  // section "A"
    void WriteBurstRecording(const TQelBurstRecording& rec);  // section "B"
    void WriteAcc2G(const TQelAcc2GCal& cal);                 // section "I"
    void WriteUserInputs(const TQelUserInputs& inputs);       // section "J"
    void WriteTwoPointCal(const TQelTwoPointCal& cal);        // section "K"

    // Section "L" followed by the entry number, per limit entry.
    template <std::size_t N>
    void WriteLimits(const TQelLimits<N>& limits)
    {
        for (std::size_t n = 0; n < N; ++n) {
            WriteLimit(static_cast<int>(n), limits[n]);
        }
    }

private:
    void WriteInteger(const char* section, const std::string& key, std::int64_t value);
    void WriteLimit(int n, const TQelLimit& limit);

    std::unique_ptr<plat::TIniFile> FIni;
};

} // namespace qel

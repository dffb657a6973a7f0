// Base class of every logger model: identity of the logger and the operations
// that name, scale and judge its channel values; the owning logger list.
#pragma once

#include "platform/object_list.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

class TQEL;
class TMemory;

// A class reference of the logger models, as the factory answers it: the
// class's name and how to create an object of it.
struct TQelClassInfo {
    const char* ClassName;
    std::unique_ptr<TQEL> (*Create)();
};
using TQelClass = const TQelClassInfo*;

// Class reference of a model class T with its name.
template <class T>
constexpr TQelClassInfo MakeQelClass(const char* className)
{
    return TQelClassInfo{className, []() -> std::unique_ptr<TQEL> { return std::make_unique<T>(); }};
}

class TQEL {
public:
    static const TQelClassInfo ClassInfo;

    TQEL() = default;
    TQEL(const TQEL&) = delete;
    TQEL& operator=(const TQEL&) = delete;
    virtual ~TQEL() = default;

    std::uint16_t ID_CLASS = 0;   // model code of the logger
    std::uint16_t ID_VER = 0;     // firmware version word; the feature tests compare it
    std::uint16_t ID_VER_PC = 0;  // PC version word; the factory key
    std::uint16_t ID_TYPE = 0;    // type word; no conversion reads it
    std::uint32_t SN = 0;         // serial number
    std::uint32_t SN_NEW = 0;     // second serial number; no conversion reads it
    TMemory* MEMORY = nullptr;    // page map of the logger memory; nothing creates one

    // Channel numbers are the device channel numbers under which the page
    // decoders store samples. Raw samples and raw limits are signed 16-bit.
    virtual std::uint16_t getChID(std::uint32_t ch) const;
    virtual std::string GetChName(std::uint32_t ch) const;
    virtual std::string GetChUnit(std::uint32_t ch) const;
    virtual float GetChValue(std::uint32_t chn) const;
    virtual float CalcChValue(std::uint32_t chn, std::int16_t x) const;
    virtual bool GetChValue(std::uint32_t chn, float& value, std::string& text) const;
    virtual bool IsValidValue(std::uint32_t ch, float value) const;
    virtual std::string GetValueStr(std::uint32_t ch, float value) const;
    virtual std::int16_t GetInvLimitValue(std::uint32_t ch, float y) const;
    virtual float GetLimitValue(std::uint32_t ch, std::int16_t x) const;
    virtual void FillDemoMode();
    virtual void SaveToFile();
    virtual std::string GetName() const;
    virtual bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const;
    virtual bool IsGAPValue(std::uint32_t ch, std::int16_t value) const;
    virtual bool hasUTC() const;
    virtual float getChGain(std::uint32_t ch) const;
    virtual float getChOffset(std::uint32_t ch) const;

    // Linear scaling and two-point calibration, computed in double and rounded
    // to single. A zero denominator is not guarded: the result is then an
    // infinity or a NaN, which the models' conversions turn into their
    // neutral answers.
    static float CalcY(std::int16_t x, float ofs, float gain);
    static float CalcY(float x, float ofs, float gain);
    static float CalcX(float y, float ofs, float gain);
    static float getGain(float X0, float Y0, float X1, float Y1);
    static float getOfs(float X0, float Y0, float X1, float Y1);
    // The measured ("actual") points are X, the reference ("set") points Y;
    // with all four points 0 the value passes unchanged.
    static float CalcY(float x, float X0, float Y0, float X1, float Y1);
    static float CalcX(float y, float X0, float Y0, float X1, float Y1);
    // The low 14 bits of inp as a two's-complement number; always True.
    static bool ConvertADXL(std::int16_t& ret, std::int16_t inp);
};

// Owning list of logger objects; the current logger is the last one.
class TQELList : public plat::TObjectList<TQEL> {
public:
    // Raises the platform list's index error outside 0 ... Count - 1.
    TQEL* GetItem(int Index) const { return Items(Index); }
    int GetCurrentNo() const { return Count() - 1; }
    // nullptr on an empty list.
    TQEL* GetCurrent() const { return Count() == 0 ? nullptr : GetItem(GetCurrentNo()); }
};

// The logger list of the program: cleared before every data read, then holding
// the logger of the read as its current item. Used by one thread at a time.
extern TQELList QelList;

// Major "." minor, the minor with at least two digits: 0x0106 gives "1.06".
std::string VersionToStr(std::uint16_t Version);

} // namespace qel

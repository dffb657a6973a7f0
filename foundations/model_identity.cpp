// The model-name table.
// A name table only: it does not decide which logger class serves a code.
#include "foundations/model_identity.h"

#include <algorithm>
#include <array>

namespace qel {
namespace {

struct TModelNameRow {
    std::uint16_t Code;
    const char* Name;
};

// Sorted by code for the binary search below.
constexpr std::array<TModelNameRow, 31> ModelNames = {{
    {0x0001, "QEL68"},
    {0x6400, "KVD HT"},
    {0x6500, "KVD AP"},
    {0x6590, "QEL Prototype"},
    {0x6600, "QEL629A"},
    {0x6601, "QEL629B"}, // "QEL629C" from version 6.0, below
    {0x6602, "QEL56"},
    {0x6603, "QEL699A"},
    {0x6604, "QEL699B"},
    {0x6605, "QEL899"},
    {0x6606, "QEL649"},
    {0x6607, "QEL640"},
    {0x6608, "QEL529 BS"},
    {0x660B, "QEL50"},
    {0x660C, "QEL58"},
    {0x660E, "QEL898"},
    {0x6610, "QEL59BS"},
    {0x6615, "QEL539WD"},
    {0x6616, "QEL51"},
    {0x6617, "QEL629WxD"},
    {0x6618, "QEL53"},
    {0x6619, "QEL529WD"},
    {0x661D, "QEL57"},
    {0x661E, "QEL20"},
    {0x661F, "QEL20BS"},
    {0x6621, "QEL621WxD"},
    {0x6626, "QEL28"},
    {0x6627, "QEL619"},
    {0x662E, "QEL614"},
    {0xC800, "VX"},
    {0xC801, "VX8"},
}};

static_assert(std::is_sorted(ModelNames.begin(), ModelNames.end(),
                             [](const TModelNameRow& a, const TModelNameRow& b) { return a.Code < b.Code; }));

constexpr std::uint16_t QEL629_CLASS = 0x6601;

} // namespace

std::string GetModelName(std::uint16_t ClassID, std::uint16_t Version)
{
    if (ClassID == QEL629_CLASS && Version >= MakeVersion(6, 0)) {
        return "QEL629C";
    }
    const auto row = std::lower_bound(ModelNames.begin(), ModelNames.end(), ClassID,
                                      [](const TModelNameRow& r, std::uint16_t code) { return r.Code < code; });
    if (row != ModelNames.end() && row->Code == ClassID) {
        return row->Name;
    }
    return "? [" + std::to_string(ClassID) + "]";
}

} // namespace qel

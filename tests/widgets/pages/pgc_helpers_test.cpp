// Tests of the library's small helpers: integer and pointer arithmetic, the
// default epoch on an injected wall clock and unique component names.
#include "widgets/pages/pgc_helpers.h"

#include "platform/date_time.h"
#include "platform/objects/component.h"
#include "tests/support/scoped_time_zone.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

namespace qel {
namespace {

TEST(PgcHelpers, SmallerAndLarger)
{
    const std::vector<std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t>> cases = {
        {1, 2, 1, 2}, {2, 1, 1, 2}, {-5, 3, -5, 3}, {7, 7, 7, 7},
        {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX}};
    for (const auto& [a, b, smaller, larger] : cases) {
        EXPECT_EQ(SmallerOf(a, b), smaller) << a << " " << b;
        EXPECT_EQ(MinInteger(a, b), smaller) << a << " " << b;
        EXPECT_EQ(LargerOf(a, b), larger) << a << " " << b;
        EXPECT_EQ(LargerOfLong(a, b), larger) << a << " " << b;
        EXPECT_EQ(MaxInteger(a, b), larger) << a << " " << b;
    }
}

TEST(PgcHelpers, PointerArithmeticInBytesAndCharacters)
{
    std::array<char16_t, 8> text{};
    const char16_t* p = text.data();
    AdvancePointer(p, 6);
    EXPECT_EQ(p, text.data() + 3);
    RetreatPointer(p, 2);
    EXPECT_EQ(p, text.data() + 2);
    EXPECT_EQ(CharDistance(text.data() + 5, text.data() + 1), 4);
    EXPECT_EQ(CharDistance(text.data() + 1, text.data() + 5), -4);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    EXPECT_EQ(CharDistance(bytes + 3, bytes), 1) << "rounded toward zero";
    EXPECT_EQ(CharDistance(bytes, bytes + 3), -1) << "rounded toward zero";
}

// Unix milliseconds of noon UTC on the first of July of a year.
std::int64_t MidYear(int year)
{
    return plat::DateTimeToUnixMs(plat::EncodeDate(year, 7, 1) + 0.5);
}

TEST(PgcHelpers, DefaultEpochYearIsTheCentury)
{
    const std::vector<std::pair<int, int>> cases = {{2026, 2000}, {2000, 2000}, {2099, 2000}, {1999, 1900}, {2100, 2100}};
    for (const auto& [year, epoch] : cases) {
        const plat::TFixedWallClock clock(MidYear(year));
        const plat::TScopedWallClock scoped(clock);
        EXPECT_EQ(DefaultEpochYear(), epoch) << year;
    }
}

TEST(PgcHelpers, DefaultEpochYearUsesLocalTime)
{
    const qeltest::ScopedTimeZone zone("UTC-14");
    const plat::TFixedWallClock clock(plat::DateTimeToUnixMs(plat::EncodeDate(2099, 12, 31) + 0.75));
    const plat::TScopedWallClock scoped(clock);
    EXPECT_EQ(DefaultEpochYear(), 2100) << "already 2100 east of the date line";
}

TEST(PgcHelpers, UniqueComponentNames)
{
    plat::TComponent owner(nullptr);
    EXPECT_EQ(UniqueComponentName(&owner, "Label"), "Label1");
    (new plat::TComponent(&owner))->SetName("Label1");
    EXPECT_EQ(UniqueComponentName(&owner, "Label"), "Label2");
    (new plat::TComponent(&owner))->SetName("label2");
    (new plat::TComponent(&owner))->SetName("Label4");
    EXPECT_EQ(UniqueComponentName(&owner, "Label"), "Label3") << "names compared without case; the first gap wins";
    EXPECT_EQ(UniqueComponentName(nullptr, "Page"), "Page1");
}

TEST(PgcHelpers, UniqueComponentNameRefusesAnInvalidBase)
{
    plat::TComponent owner(nullptr);
    for (const char* base : {"Label x", "", "1Label", "Lab-el"}) {
        try {
            UniqueComponentName(&owner, base);
            ADD_FAILURE() << base;
        } catch (const plat::EComponentError& e) {
            EXPECT_EQ(std::string(e.what()), "''" + std::string(base) + "'' is not a valid component name");
        }
    }
}

} // namespace
} // namespace qel

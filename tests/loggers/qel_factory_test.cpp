// Tests of the logger factory: the class chosen at every version boundary and
// the version acceptance of the objects it creates.
#include "loggers/qel_factory.h"

#include "loggers/qel25.h"
#include "loggers/qel28.h"
#include "loggers/qel51.h"
#include "loggers/qel539c.h"
#include "loggers/qel57.h"
#include "loggers/qel621wd.h"
#include "loggers/qel621wxd.h"
#include "loggers/qel624c.h"
#include "loggers/qel629.h"
#include "loggers/qel629c.h"
#include "loggers/qel629wxd.h"
#include "loggers/qel649.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

constexpr std::uint16_t V(int major, int minor)
{
    return static_cast<std::uint16_t>(major << 8 | minor);
}

struct FactoryCase {
    std::uint16_t code;
    std::uint16_t version;
    TQelClass expected;
};

const TQelClass Base = &TQEL::ClassInfo;
const TQelClass Q629 = &TQEL629::ClassInfo;
const TQelClass Q629C = &TQEL629C::ClassInfo;
const TQelClass Q649 = &TQEL649::ClassInfo;
const TQelClass Q57 = &TQEL57::ClassInfo;
const TQelClass Q57b = &TQEL57b::ClassInfo;
const TQelClass Q57c = &TQEL57c::ClassInfo;
const TQelClass Q25 = &TQEL25::ClassInfo;
const TQelClass Q539C = &TQEL539C::ClassInfo;
const TQelClass Q51 = &TQEL51::ClassInfo;
const TQelClass Q629WxD = &TQEL629WxD::ClassInfo;
const TQelClass Q624C = &TQEL624C::ClassInfo;
const TQelClass Q621WD = &TQEL621WD::ClassInfo;
const TQelClass Q621WxD = &TQEL621WxD::ClassInfo;
const TQelClass Q28 = &TQEL28::ClassInfo;

const FactoryCase FactoryCases[] = {
    // 0x6601 below 6.00: majors 1 to 5 with their minor ranges.
    {0x6601, V(0, 5), Base},   {0x6601, V(0, 0), Base},   {0x6601, V(1, 0), Q629},  {0x6601, V(1, 8), Q629},
    {0x6601, V(1, 9), Base},   {0x6601, V(2, 0), Q629},   {0x6601, V(2, 1), Base},  {0x6601, V(3, 0), Q629},
    {0x6601, V(3, 14), Q629},  {0x6601, V(3, 15), Base},  {0x6601, V(4, 0), Q629},  {0x6601, V(4, 4), Q629},
    {0x6601, V(4, 5), Base},   {0x6601, V(5, 0), Q629},   {0x6601, V(5, 136), Q629}, {0x6601, V(5, 137), Base},
    {0x6601, V(5, 255), Base},
    // 0x6601 from 6.00.
    {0x6601, V(6, 0), Q629C},  {0x6601, V(6, 6), Q629C},  {0x6601, V(6, 7), Base},  {0x6601, V(7, 0), Base},
    // 0x6606 and 0x6607.
    {0x6606, V(0, 0), Q649},   {0x6606, V(0, 1), Q649},   {0x6606, V(0, 2), Base},  {0x6606, V(1, 0), Q649},
    {0x6606, V(1, 88), Q649},  {0x6606, V(1, 89), Base},  {0x6606, V(2, 0), Q649},  {0x6606, V(2, 36), Q649},
    {0x6606, V(2, 37), Base},  {0x6606, V(3, 0), Base},   {0x6607, V(0, 1), Q649},  {0x6607, V(2, 36), Q649},
    {0x6607, V(2, 37), Base},
    // 0x661D: three generations split at 2.00 and 3.00.
    {0x661D, V(0, 99), Base},  {0x661D, V(1, 0), Q57},    {0x661D, V(1, 6), Q57},   {0x661D, V(1, 7), Base},
    {0x661D, V(1, 255), Base}, {0x661D, V(2, 0), Q57b},   {0x661D, V(2, 1), Base},  {0x661D, V(2, 255), Base},
    {0x661D, V(3, 0), Q57c},   {0x661D, V(3, 4), Q57c},   {0x661D, V(3, 5), Base},  {0x661D, V(4, 0), Base},
    // 0x6628.
    {0x6628, V(0, 0), Q25},    {0x6628, V(0, 1), Q25},    {0x6628, V(0, 2), Base},  {0x6628, V(1, 0), Q25},
    {0x6628, V(1, 88), Q25},   {0x6628, V(1, 89), Base},  {0x6628, V(2, 0), Q25},   {0x6628, V(2, 1), Base},
    // 0x6615.
    {0x6615, V(2, 255), Base}, {0x6615, V(3, 0), Q539C},  {0x6615, V(3, 86), Q539C}, {0x6615, V(3, 87), Base},
    {0x6615, V(4, 0), Base},
    // 0x6616.
    {0x6616, V(0, 0), Base},   {0x6616, V(1, 0), Q51},    {0x6616, V(1, 1), Base},  {0x6616, V(2, 0), Base},
    // 0x6617.
    {0x6617, V(0, 80), Base},  {0x6617, V(1, 0), Q629WxD}, {0x6617, V(1, 80), Q629WxD}, {0x6617, V(1, 81), Base},
    {0x6617, V(2, 0), Q629WxD}, {0x6617, V(2, 28), Q629WxD}, {0x6617, V(2, 29), Base}, {0x6617, V(3, 0), Base},
    // 0x6619.
    {0x6619, V(0, 12), Base},  {0x6619, V(1, 0), Q624C},  {0x6619, V(1, 12), Q624C}, {0x6619, V(1, 13), Base},
    {0x6619, V(2, 0), Base},
    // 0x6621: two generations split at 2.00.
    {0x6621, V(0, 99), Base},  {0x6621, V(1, 0), Q621WD}, {0x6621, V(1, 12), Q621WD}, {0x6621, V(1, 13), Base},
    {0x6621, V(1, 255), Base}, {0x6621, V(2, 0), Q621WxD}, {0x6621, V(2, 1), Base},   {0x6621, V(3, 0), Base},
    // 0x6626.
    {0x6626, V(0, 80), Base},  {0x6626, V(1, 0), Q28},    {0x6626, V(1, 80), Q28},  {0x6626, V(1, 81), Base},
    {0x6626, V(2, 0), Base},
    // Codes no class serves, 0x6603 included although TQEL629 names it.
    {0x6603, V(3, 0), Base},   {0x6604, V(5, 0), Base},   {0x6624, V(1, 0), Base},  {0x6618, V(1, 0), Base},   {0x0000, V(1, 0), Base},  {0xFFFF, V(6, 0), Base},
};

TEST(QelFactory, ChoosesTheClassAtEveryBoundary)
{
    for (const FactoryCase& c : FactoryCases) {
        EXPECT_EQ(GetQelClass(c.code, c.version), c.expected)
            << std::hex << c.code << " " << c.version << " gave " << GetQelClass(c.code, c.version)->ClassName;
    }
}

// The application's read start: create the object, ask IsKnownVersion with
// the same pair; a refused pair means error 30.
TEST(QelFactory, CreatedObjectAcceptsExactlyWhatItWasChosenFor)
{
    for (const FactoryCase& c : FactoryCases) {
        const std::unique_ptr<TQEL> logger = GetQelClass(c.code, c.version)->Create();
        EXPECT_EQ(logger->IsKnownVersion(c.code, c.version), c.expected != Base)
            << std::hex << c.code << " " << c.version;
    }
}

TEST(QelFactory, CreatesObjectsOfTheNamedClass)
{
    EXPECT_NE(dynamic_cast<TQEL629*>(GetQelClass(0x6601, V(5, 0))->Create().get()), nullptr);
    EXPECT_NE(dynamic_cast<TQEL629C*>(GetQelClass(0x6601, V(6, 0))->Create().get()), nullptr);
    EXPECT_NE(dynamic_cast<TQEL57c*>(GetQelClass(0x661D, V(3, 0))->Create().get()), nullptr);
    EXPECT_EQ(std::string(GetQelClass(0x6628, V(1, 0))->ClassName), "TQEL25");
    EXPECT_NE(dynamic_cast<TQEL621WxD*>(GetQelClass(0x6621, V(2, 0))->Create().get()), nullptr);
    EXPECT_NE(dynamic_cast<TQEL539C*>(GetQelClass(0x6615, V(3, 0))->Create().get()), nullptr);
    const struct {
        std::uint16_t code, version;
        const char* name;
    } names[] = {
        {0x6615, V(3, 0), "TQEL539C"}, {0x6616, V(1, 0), "TQEL51"},    {0x6617, V(1, 0), "TQEL629WxD"},
        {0x6619, V(1, 0), "TQEL624C"}, {0x6621, V(1, 0), "TQEL621WD"}, {0x6626, V(1, 0), "TQEL28"},
    };
    for (const auto& c : names) {
        EXPECT_EQ(std::string(GetQelClass(c.code, c.version)->ClassName), c.name) << std::hex << c.code;
    }
}

TEST(QelFactory, SelectorsKnowTheirOwnModelCodes)
{
    EXPECT_TRUE(TQEL25().IsKnownVersion(0x6607, V(1, 0)));
    EXPECT_FALSE(TQEL649().IsKnownVersion(0x6628, V(1, 0)));
    EXPECT_TRUE(TQEL649().IsKnownVersion(0x6607, V(1, 0)));
    EXPECT_FALSE(TQEL629().IsKnownVersion(0x6603, V(3, 0)));
    EXPECT_FALSE(TQEL629C().IsKnownVersion(0x6606, V(6, 0)));
    // A generation's object refuses the other generations' versions.
    EXPECT_FALSE(TQEL57().IsKnownVersion(0x661D, V(2, 0)));
    EXPECT_FALSE(TQEL57b().IsKnownVersion(0x661D, V(3, 0)));
    EXPECT_FALSE(TQEL629().IsKnownVersion(0x6601, V(6, 0)));
    EXPECT_FALSE(TQEL621WD().IsKnownVersion(0x6621, V(2, 0)));
    EXPECT_FALSE(TQEL621WxD().IsKnownVersion(0x6621, V(1, 0)));
    EXPECT_FALSE(TQEL621WD().IsKnownVersion(0x6624, V(1, 0)));
}

} // namespace
} // namespace qel

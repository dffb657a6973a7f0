// Tests of version words and model names.
#include "foundations/model_identity.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(ModelIdentity, MakeVersion)
{
    EXPECT_EQ(MakeVersion(6, 0), 0x0600);
    EXPECT_EQ(MakeVersion(1, 12), 0x010C);
    EXPECT_EQ(MakeVersion(0, 255), 0x00FF);
    EXPECT_EQ(MakeVersion(255, 255), 0xFFFF);
    EXPECT_LT(MakeVersion(5, 255), MakeVersion(6, 0));
}

TEST(ModelIdentity, NamesByCodeAndVersion)
{
    struct Case {
        std::uint16_t code;
        std::uint16_t version;
        const char* name;
    };
    const Case cases[] = {
        {0x0001, 0, "QEL68"},
        {0x6400, 0, "KVD HT"},
        {0x6590, 0, "QEL Prototype"},
        {0x6601, 0x05FF, "QEL629B"},
        {0x6601, 0x0600, "QEL629C"},
        {0x6601, 0x0601, "QEL629C"},
        {0x6601, 0xFFFF, "QEL629C"},
        {0x6606, 0x0000, "QEL649"},
        {0x6606, 0xFFFF, "QEL649"},
        {0x6608, 0, "QEL529 BS"},
        {0x660E, 0, "QEL898"},
        {0x6617, 0, "QEL629WxD"},
        {0x6621, 0, "QEL621WxD"},
        {0x662E, 0, "QEL614"},
        {0xC800, 0, "VX"},
        {0xC801, 0, "VX8"},
        {0x0000, 0, "? [0]"},
        {0xFFFF, 0, "? [65535]"},
        {0xC802, 0, "? [51202]"},
        {0x1234, 0, "? [4660]"},
        {0x6609, 0x0600, "? [26121]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetModelName(c.code, c.version), c.name) << std::hex << c.code << " " << c.version;
    }
}

TEST(ModelIdentity, ThirtyOneCodesHaveNames)
{
    int named = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        const std::string name = GetModelName(static_cast<std::uint16_t>(code), 0);
        if (name.rfind("? [", 0) != 0) {
            ++named;
        }
    }
    EXPECT_EQ(named, 31);
}

} // namespace
} // namespace qel

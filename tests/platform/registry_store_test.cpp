// The registry tree and its text form: round trips of awkward names and
// values, and damaged texts that must read as nothing rather than half.
#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

plat::TRegValue Value(std::string name, plat::TRegDataType type, std::string bytes, std::int32_t integer = 0)
{
    plat::TRegValue value;
    value.Name = std::move(name);
    value.Type = type;
    value.Bytes = std::move(bytes);
    value.Integer = integer;
    return value;
}

TEST(RegistryTree, KeysAreFoundWithoutCaseAndCreatedWithParents)
{
    plat::TRegistryTree tree;
    tree.EnsureKey("\\Software\\QEL-Electronics\\QEL-Pro\\");
    ASSERT_NE(tree.FindKey("software\\qel-electronics"), nullptr);
    EXPECT_EQ(tree.FindKey("SOFTWARE\\QEL-ELECTRONICS\\qel-pro")->Path, "Software\\QEL-Electronics\\QEL-Pro");
    EXPECT_EQ(&tree.EnsureKey("software\\\\QEL-ELECTRONICS"), tree.FindKey("Software\\QEL-Electronics"));

    tree.EnsureKey("Software\\Torvandix\\QEL\\reader");
    tree.EnsureKey("Software\\Torvandix\\QEL_Prototypes\\lab");
    tree.EnsureKey("Software\\Torvandix\\QEL\\Prototype");
    EXPECT_EQ(tree.SubKeyNames("software\\torvandix"), (std::vector<std::string>{"QEL", "QEL_Prototypes"}));
    EXPECT_EQ(tree.SubKeyNames("Software\\Torvandix\\QEL"), (std::vector<std::string>{"Prototype", "reader"}));
    EXPECT_EQ(tree.SubKeyNames(""), (std::vector<std::string>{"Software"}));

    // Deleting a key takes its sub-keys, not a sibling that shares its prefix.
    EXPECT_TRUE(tree.DeleteKey("software\\torvandix\\qel"));
    EXPECT_EQ(tree.FindKey("Software\\Torvandix\\QEL\\reader"), nullptr);
    EXPECT_NE(tree.FindKey("Software\\Torvandix\\QEL_Prototypes\\lab"), nullptr);
    EXPECT_FALSE(tree.DeleteKey("Software\\Torvandix\\QEL"));
    EXPECT_FALSE(tree.DeleteKey(""));
}

TEST(RegistryTree, ValuesKeepOrderAndFirstSpelling)
{
    plat::TRegKey key;
    key.SetValue(Value("FileDir", plat::rdString, "/a"));
    key.SetValue(Value("Language", plat::rdInteger, "", 1));
    key.SetValue(Value("FILEDIR", plat::rdInteger, "", 7));   // replaces, also the type
    ASSERT_EQ(key.Values.size(), 2u);
    EXPECT_EQ(key.Values[0].Name, "FileDir");
    EXPECT_EQ(key.Values[0].Type, plat::rdInteger);
    EXPECT_EQ(key.FindValue("filedir")->Integer, 7);
    EXPECT_TRUE(key.DeleteValue("LANGUAGE"));
    EXPECT_FALSE(key.DeleteValue("Language"));
}

TEST(RegistryText, AwkwardNamesAndValuesSurviveARoundTrip)
{
    plat::TRegistryTree tree;
    tree.EnsureKey("Empty\\Key");
    plat::TRegKey& key = tree.EnsureKey("Software\\[odd] \"key\" 100%");
    key.SetValue(Value("quote \" and = and %41", plat::rdString, "line 1\r\nline 2\t\"x\" ]["));
    key.SetValue(Value("back\\slash", plat::rdString, "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC"));
    key.SetValue(Value("", plat::rdString, ""));
    key.SetValue(Value("min", plat::rdInteger, "", INT32_MIN));
    key.SetValue(Value("max", plat::rdInteger, "", INT32_MAX));
    key.SetValue(Value("blob", plat::rdBinary, std::string("\0\x01\xFF\x7F", 4)));
    key.SetValue(Value("empty blob", plat::rdBinary, ""));
    tree.EnsureKey("").SetValue(Value("at root", plat::rdInteger, "", -5));

    const std::string text = plat::FormatRegistryText(tree);
    const auto parsed = plat::ParseRegistryText(text);
    ASSERT_TRUE(parsed.has_value()) << text;
    EXPECT_TRUE(*parsed == tree) << text;
    EXPECT_NE(parsed->FindKey("empty\\key"), nullptr);
}

TEST(RegistryText, DamagedTextsReadAsNothing)
{
    const std::string header = "; QEL registry store 1\n";
    const std::string good = header + "[A]\nint \"n\" 1\n; end\n";
    ASSERT_TRUE(plat::ParseRegistryText(good).has_value());
    ASSERT_TRUE(plat::ParseRegistryText(header + "; end\r\n\n").has_value());

    const struct {
        const char* Label;
        std::string Text;
    } cases[] = {
        {"empty", ""},
        {"other header", "; QEL registry store 2\n; end\n"},
        {"cut before the end line", good.substr(0, good.size() - 6)},
        {"cut inside a line", good.substr(0, header.size() + 9)},
        {"value before any key", header + "int \"n\" 1\n; end\n"},
        {"unknown type", header + "[A]\nflt \"n\" \"1\"\n; end\n"},
        {"integer too large", header + "[A]\nint \"n\" 2147483648\n; end\n"},
        {"integer with text", header + "[A]\nint \"n\" 12ab\n; end\n"},
        {"odd hex digits", header + "[A]\nbin \"n\" \"abc\"\n; end\n"},
        {"bad escape", header + "[A]\nstr \"n\" \"%4\"\n; end\n"},
        {"escape at the end of a key", header + "[A%]\n; end\n"},
        {"raw control character", header + "[A]\nstr \"n\" \"a\tb\"\n; end\n"},
        {"unclosed quote", header + "[A]\nstr \"n\n; end\n"},
        {"junk after the payload", header + "[A]\nstr \"n\" \"v\" x\n; end\n"},
        {"content after the end line", good + "[B]\n"},
        {"stray text line", header + "[A]\nhello\n; end\n"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(plat::ParseRegistryText(c.Text).has_value()) << c.Label;
    }
}

} // namespace

// Replaceable program texts: built-in text, replacement, restore, and reads
// from worker threads while the text is replaced.
#include "platform/resource_strings.h"
#include "platform/standard_texts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

constinit const plat::TResString SNoRecords{"No records available!"};
constinit const plat::TResString SSameText{"No records available!"};

class ResourceStrings : public ::testing::Test {
protected:
    void TearDown() override { plat::RestoreResStrings(); }
};

TEST_F(ResourceStrings, ReplacementAffectsOnlyItsOwnTextUntilRestored)
{
    EXPECT_EQ(plat::LoadResString(&SNoRecords), "No records available!");
    plat::ReplaceResString(&SNoRecords, "Keine Records vorhanden !");
    EXPECT_EQ(plat::LoadResString(&SNoRecords), "Keine Records vorhanden !");
    EXPECT_EQ(plat::LoadResString(&SSameText), "No records available!");   // equal text, other id

    plat::ReplaceResString(&plat::SMsgBoxRetry, "&Retry");
    EXPECT_EQ(plat::LoadResString(&plat::SMsgBoxRetry), "&Retry");
    EXPECT_EQ(plat::LoadResString(&plat::SButtonRetry), "&Wiederholen") << "the built-in text";

    plat::RestoreResStrings();
    EXPECT_EQ(plat::LoadResString(&SNoRecords), "No records available!");
    EXPECT_EQ(plat::LoadResString(&plat::SMsgBoxRetry), "&Wiederholen");
}

TEST_F(ResourceStrings, NullIdReadsEmptyAndIgnoresReplacement)
{
    plat::ReplaceResString(nullptr, "x");
    EXPECT_EQ(plat::LoadResString(nullptr), "");
}

TEST_F(ResourceStrings, WorkersAlwaysReadAWholeText)
{
    const std::string texts[] = {"No records available!", "Keine Records vorhanden !",
                                 "Aucun enregistrement de donn\xC3\xA9" "es n\xE2\x80\x99" "est disponible !"};
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                const std::string text = plat::LoadResString(&SNoRecords);
                if (text != texts[0] && text != texts[1] && text != texts[2]) {
                    ++bad;
                }
            }
        });
    }
    for (int round = 0; round < 2000; ++round) {
        plat::ReplaceResString(&SNoRecords, texts[1 + round % 2]);
    }
    stop = true;
    for (auto& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(bad.load(), 0);
    EXPECT_EQ(plat::LoadResString(&SNoRecords), texts[2]);
}

} // namespace

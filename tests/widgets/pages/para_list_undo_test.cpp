// Undo oracle: random scripts of every editing operation, undone completely,
// restore the text and its counts, and redone completely give the final
// state; with small undo buffers the list's invariants hold at every step.
#include "widgets/pages/para_list.h"
#include "tests/widgets/pages/para_list_checker.h"
#include "tests/widgets/pages/recording_observer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace qel {
namespace {

struct TSnapshot {
    std::vector<std::u16string> texts;
    std::int32_t paraCount;
    std::int32_t charCount;
    std::int32_t lineCount;
    bool modified;
    bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snapshot(const TPgcParaList& list)
{
    return {qeltest::ListTexts(list), list.ParaCount(), list.CharCount(), list.LineCount(), list.Modified()};
}

std::vector<std::uint8_t> RandomScript(std::mt19937& rng, std::size_t size)
{
    std::vector<std::uint8_t> script(size);
    for (auto& byte : script) {
        byte = static_cast<std::uint8_t>(rng());
    }
    return script;
}

// A list with a few appended paragraphs (no undo records), wrapped or not.
void Prepare(TPgcParaList& list, std::mt19937& rng)
{
    list.SetWrapColumn(3 + static_cast<std::int32_t>(rng() % 40));
    list.SetTabSize(static_cast<std::uint8_t>(1 + rng() % 8));
    for (const char16_t* text : {u"first para-graph", u"\tsecond one with words", u"x"}) {
        qeltest::AppendText(list, text);
    }
}

TEST(ParaListUndo, UndoAllRestoresAndRedoAllReplays)
{
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        qeltest::TRecordingObserver editor;
        TPgcParaList list(&editor, 65535, seed % 2 == 0);
        list.SetWalkIndexStride(2);
        Prepare(list, rng);
        const TSnapshot initial = Snapshot(list);
        const std::vector<std::uint8_t> script = RandomScript(rng, 1200);
        qeltest::TScriptReader in({script.data(), script.size()});
        while (!in.AtEnd()) {
            qeltest::RunScriptOp(list, in, &editor);
            ASSERT_EQ(qeltest::CheckParaList(list), "") << "seed " << seed;
        }
        TPgcUndoBuffer& buffer = list.UndoBuffer();
        ASSERT_LT(buffer.BufSize() - buffer.BufAvail(), buffer.BufSize() / 2) << "no record may have been dropped";
        const TSnapshot final = Snapshot(list);
        while (buffer.Undos() > 0) {
            qeltest::UndoOnce(list, &editor);
            ASSERT_EQ(qeltest::CheckParaList(list), "") << "seed " << seed << " undo";
        }
        EXPECT_TRUE(Snapshot(list) == initial) << "seed " << seed;
        EXPECT_EQ(qeltest::CheckLookups(list, seed), "") << "seed " << seed;
        while (buffer.Redos() > 0) {
            qeltest::RedoOnce(list, &editor);
            ASSERT_EQ(qeltest::CheckParaList(list), "") << "seed " << seed << " redo";
        }
        EXPECT_TRUE(Snapshot(list) == final) << "seed " << seed;
        EXPECT_EQ(qeltest::CheckLookups(list, seed), "") << "seed " << seed;
    }
}

TEST(ParaListUndo, SmallBuffersKeepTheInvariants)
{
    static constexpr std::uint16_t sizes[] = {0, 20, 48, 120, 400, 1500};
    for (std::uint32_t seed = 1; seed <= 24; ++seed) {
        std::mt19937 rng(seed);
        TPgcParaList list(nullptr, sizes[seed % 6], seed % 3 != 0);
        Prepare(list, rng);
        const std::vector<std::uint8_t> script = RandomScript(rng, 1500);
        qeltest::TScriptReader in({script.data(), script.size()});
        for (std::int32_t step = 0; !in.AtEnd(); ++step) {
            const std::int32_t kind = in.Below(5);
            if (kind == 0) {
                qeltest::UndoOnce(list);
            } else if (kind == 1) {
                qeltest::RedoOnce(list);
            } else {
                qeltest::RunScriptOp(list, in, nullptr);
            }
            ASSERT_EQ(qeltest::CheckParaList(list), "") << "seed " << seed << " step " << step;
        }
        EXPECT_EQ(qeltest::CheckLookups(list, seed), "") << "seed " << seed;
    }
}

} // namespace
} // namespace qel

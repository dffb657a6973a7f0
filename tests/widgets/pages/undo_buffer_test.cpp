// Tests of the undo history: merging, link groups, reclaiming, flushing,
// redo, the modified flag, and who frees the paragraph nodes records hold
// (the sanitizer build's leak checker proves the frees).
#include "widgets/pages/undo_buffer.h"
#include "tests/widgets/pages/para_list_checker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qel {
namespace {

using qeltest::AppendText;
using qeltest::ListTexts;
using qeltest::RedoOnce;
using qeltest::UndoOnce;
using Texts = std::vector<std::u16string>;

std::u16string RecText(const TUndoRecView& rec)
{
    return std::u16string(rec.Data, rec.DSize);
}


TEST(UndoBuffer, TypingMergesIntoOneRecord)
{
    TPgcParaList list(nullptr, 8192, false);
    const std::u16string typed = u"abcde";
    for (std::int32_t i = 0; i < 5; ++i) {
        list.InsertTextPrim(nullptr, 1, i + 1, &typed[static_cast<std::size_t>(i)], 1);
    }
    TPgcUndoBuffer& buffer = list.UndoBuffer();
    ASSERT_EQ(buffer.Undos(), 1);
    const TUndoRecView rec = buffer.NthRec(1);
    EXPECT_EQ(rec.UndoType, utInsert);
    EXPECT_EQ(rec.DSize, 5);
    EXPECT_TRUE(RecText(rec) == typed);
    UndoOnce(list);
    EXPECT_EQ(ListTexts(list), Texts{u""});
    EXPECT_FALSE(list.Modified());
    RedoOnce(list);
    EXPECT_EQ(ListTexts(list), Texts{typed});
    EXPECT_TRUE(list.Modified());
}

TEST(UndoBuffer, DeletionsMergeForwardsAndBackwards)
{
    TPgcParaList list(nullptr, 8192, false);
    list.InsertTextPrim(nullptr, 1, 1, u"abcdefgh", 8);
    list.DeleteText(nullptr, 1, 1, 0);   // nothing to delete, recorded all the same
    for (const std::int32_t pos : {5, 4, 3}) {   // three backspaces
        list.DeleteText(nullptr, 1, pos, 1);
    }
    TPgcUndoBuffer& buffer = list.UndoBuffer();
    ASSERT_EQ(buffer.Undos(), 3);
    EXPECT_EQ(buffer.NthRec(2).DSize, 0);
    TUndoRecView rec = buffer.NthRec(3);
    EXPECT_EQ(rec.UndoType, utDelete);
    EXPECT_EQ(rec.PPos, 3) << "moved back by 2";
    EXPECT_TRUE(RecText(rec) == u"cde") << "in text order";
    for (std::int32_t i = 0; i < 2; ++i) {   // two forward deletes where the backspaces stopped
        list.DeleteText(nullptr, 1, 3, 1);
    }
    ASSERT_EQ(buffer.Undos(), 3);
    rec = buffer.NthRec(3);
    EXPECT_EQ(rec.PPos, 3);
    EXPECT_TRUE(RecText(rec) == u"cdefg");
    EXPECT_EQ(ListTexts(list), Texts{u"abh"});
    UndoOnce(list);
    EXPECT_EQ(ListTexts(list), Texts{u"abcdefgh"});
    UndoOnce(list);
    EXPECT_EQ(ListTexts(list), Texts{u"abcdefgh"}) << "undoing the empty deletion gives nothing back";
}

TEST(UndoBuffer, OverwritesMergeAlsoWhenTheLengthChanges)
{
    TPgcParaList list(nullptr, 8192, false);
    list.InsertTextPrim(nullptr, 1, 1, u"abcd", 4);
    list.ReplaceText(nullptr, 1, 1, 1, u"XY", 2);   // "XYbcd"
    list.ReplaceText(nullptr, 1, 3, 1, u"Z", 1);    // right after the new text: "XYZcd"
    list.ReplaceText(nullptr, 1, 4, 1, u"W", 1);    // "XYZWd"
    ASSERT_EQ(list.UndoBuffer().Undos(), 2);
    EXPECT_EQ(ListTexts(list), Texts{u"XYZWd"});
    UndoOnce(list);
    EXPECT_EQ(ListTexts(list), Texts{u"abcd"});
    RedoOnce(list);
    EXPECT_EQ(ListTexts(list), Texts{u"XYZWd"});
}

TEST(UndoBuffer, CompoundEnterIsOneUndo)
{
    TPgcParaList list(nullptr, 8192, false);
    AppendText(list, u"abc  def");
    std::int32_t indent = 2;
    ASSERT_EQ(list.BreakPara(nullptr, 1, 6, 0, indent, true), 0);
    EXPECT_EQ(ListTexts(list), (Texts{u"abc", u"  def", u""}));
    TPgcUndoBuffer& buffer = list.UndoBuffer();
    ASSERT_EQ(buffer.Undos(), 5);
    const std::vector<TUndoType> kinds = {utSavePos, utPlacePara, utDelete, utInsert, utSavePos};
    for (std::uint16_t n = 1; n <= 5; ++n) {
        EXPECT_EQ(buffer.NthRec(n).UndoType, kinds[n - 1u]) << n;
        EXPECT_EQ(buffer.NthRec(n).LinkNum, buffer.NthRec(1).LinkNum) << n;
    }
    std::int32_t p = 0;
    std::int32_t pos = 0;
    list.Undo(nullptr, p, pos);
    EXPECT_EQ(ListTexts(list), (Texts{u"abc  def", u""}));
    EXPECT_EQ(p, 1);
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(buffer.Undos(), 0);
    EXPECT_EQ(buffer.Redos(), 5);
    list.Redo(nullptr, p, pos);
    EXPECT_EQ(ListTexts(list), (Texts{u"abc", u"  def", u""}));
    EXPECT_EQ(qeltest::CheckParaList(list), "");
}

// Records of distinct paragraphs never merge: each is its own operation.
void PushInsert(TPgcUndoBuffer& buffer, std::int32_t paragraph, std::uint16_t units)
{
    const std::u16string text(units, u'x');
    buffer.Push(utInsert, false, paragraph, 1, text.data(), units);
}

TEST(UndoBuffer, ReclaimDropsTheOldestGroupAndLeavesASixteenthFree)
{
    TPgcUndoBuffer buffer(8192);
    const bool saved = buffer.BeginComplexOp();
    for (std::int32_t i = 0; i < 3; ++i) {
        PushInsert(buffer, 1, 43);   // 100 bytes each, one group
    }
    buffer.EndComplexOp(saved);
    std::int32_t paragraph = 2;
    while (buffer.BufAvail() >= 100) {
        PushInsert(buffer, paragraph++, 43);
    }
    const std::uint16_t before = buffer.Undos();
    PushInsert(buffer, paragraph, 43);
    EXPECT_GE(buffer.BufAvail(), 8192 / 16 - 100) << "at least a sixteenth was free before the new record";
    EXPECT_EQ(buffer.NthRec(1).PNum, 4) << "the group of three went, then paragraphs 2 and 3";
    EXPECT_EQ(buffer.Undos(), before - 5 + 1);
    EXPECT_EQ(buffer.NthRec(buffer.Undos()).PNum, paragraph);
}

TEST(UndoBuffer, AnOversizedPushFlushes)
{
    TPgcUndoBuffer buffer(256);
    PushInsert(buffer, 1, 10);
    PushInsert(buffer, 2, 10);
    PushInsert(buffer, 3, 200);
    EXPECT_EQ(buffer.Undos(), 0);
    EXPECT_EQ(buffer.BufAvail(), 256);

    const bool saved = buffer.BeginComplexOp();
    PushInsert(buffer, 1, 10);
    PushInsert(buffer, 2, 200);
    EXPECT_TRUE(buffer.Error());
    PushInsert(buffer, 3, 10);
    EXPECT_EQ(buffer.Undos(), 0) << "nothing of the operation stays recorded";
    buffer.EndComplexOp(saved);
    EXPECT_FALSE(buffer.Error());
    PushInsert(buffer, 4, 10);
    EXPECT_EQ(buffer.Undos(), 1);
}

TEST(UndoBuffer, APushAfterUndoDropsTheRedoRecords)
{
    TPgcParaList list(nullptr, 8192, false);
    list.InsertTextPrim(nullptr, 1, 1, u"ab", 2);
    list.InsertParaPrim(nullptr, 1, u"cd", 2);
    UndoOnce(list);
    UndoOnce(list);
    EXPECT_EQ(list.UndoBuffer().Redos(), 2);
    list.InsertTextPrim(nullptr, 1, 1, u"x", 1);
    EXPECT_EQ(list.UndoBuffer().Redos(), 0);
    RedoOnce(list);
    EXPECT_EQ(ListTexts(list), Texts{u"x"});
    EXPECT_EQ(qeltest::CheckParaList(list), "");
}

TEST(UndoBuffer, SizeZeroStoresNothing)
{
    TPgcUndoBuffer buffer(0);
    EXPECT_FALSE(buffer.Push(utSavePos, false, 1, 1, nullptr, 0));
    EXPECT_EQ(buffer.Undos(), 0);

    TPgcParaList list(nullptr, 0, false);
    AppendText(list, u"abc");
    AppendText(list, u"def");
    list.DeletePara(nullptr, 1);   // the node cannot be recorded and is freed
    std::int32_t indent = 0;
    list.BreakPara(nullptr, 1, 2, 8, indent, false);
    list.JoinWithNext(nullptr, 1, 2);
    EXPECT_EQ(ListTexts(list), (Texts{u"def", u""}));
    UndoOnce(list);
    EXPECT_EQ(ListTexts(list), (Texts{u"def", u""}));
    EXPECT_EQ(qeltest::CheckParaList(list), "");
}

TEST(UndoBuffer, RefusedRecordsOfDeletedParagraphsFreeTheirNodes)
{
    TPgcParaList list(nullptr, 20, false);   // too small for a paragraph record
    for (const char16_t* text : {u"one", u"two", u"three", u"four"}) {
        AppendText(list, text);
    }
    ASSERT_EQ(list.JoinWithNext(nullptr, 1, 4), 0);
    ASSERT_EQ(list.DeleteBlock(nullptr, 1, 2, 3, 3), 0);
    EXPECT_EQ(ListTexts(list), (Texts{u"our", u""}));
    EXPECT_EQ(list.UndoBuffer().Undos(), 0);
    EXPECT_EQ(qeltest::CheckParaList(list), "");
}

TEST(UndoBuffer, DroppedRedoRecordsFreeTheNodesTheyHold)
{
    TPgcParaList list(nullptr, 8192, false);
    list.InsertParaPrim(nullptr, 1, u"inserted", 8);
    std::int32_t indent = 0;
    list.BreakPara(nullptr, 1, 3, 8, indent, false);
    UndoOnce(list);
    UndoOnce(list);
    ASSERT_EQ(list.UndoBuffer().Redos(), 5);
    EXPECT_EQ(qeltest::CheckParaList(list), "");
    list.InsertTextPrim(nullptr, 1, 1, u"x", 1);   // drops both paragraphs' redo records
    EXPECT_EQ(qeltest::CheckParaList(list), "");

    list.InsertParaPrim(nullptr, 1, u"again", 5);
    UndoOnce(list);
    list.UndoBuffer().Flush();   // a flushed redo record frees its node too

    list.InsertParaPrim(nullptr, 1, u"last", 4);
    UndoOnce(list);   // the list goes with a redo record holding a node
    EXPECT_EQ(ListTexts(list), Texts{u"x"});
}

TEST(UndoBuffer, LinkNumbersStayDistinctAfterUndos)
{
    TPgcUndoBuffer buffer(8192);
    for (std::int32_t i = 1; i <= 256; ++i) {
        buffer.Push(utSavePos, false, i, 1, nullptr, 0);
    }
    for (std::int32_t i = 0; i < 255; ++i) {
        buffer.GetUndo();
    }
    buffer.Push(utSavePos, false, 999, 1, nullptr, 0);
    ASSERT_EQ(buffer.Undos(), 2);
    EXPECT_NE(buffer.NthRec(1).LinkNum, buffer.NthRec(2).LinkNum);
}

TEST(UndoBuffer, AppendingBeforeAnEmptyLastParagraphFlushesTheHistory)
{
    TPgcParaList list(nullptr, 8192, false);
    AppendText(list, u"abc");
    list.InsertTextPrim(nullptr, 2, 1, u"typed", 5);
    list.DeleteText(nullptr, 2, 1, 5);
    AppendText(list, u"log line");   // the last paragraph becomes number 3
    EXPECT_EQ(list.UndoBuffer().Undos(), 0);
    UndoOnce(list);
    EXPECT_EQ(ListTexts(list), (Texts{u"abc", u"log line", u""}));

    list.InsertTextPrim(nullptr, 3, 1, u"tail", 4);
    AppendText(list, u"after");   // the last paragraph has text: numbers stay
    EXPECT_EQ(list.UndoBuffer().Undos(), 1);
    UndoOnce(list);
    EXPECT_EQ(ListTexts(list), (Texts{u"abc", u"log line", u"", u"after"}));
}

TEST(UndoBuffer, ModifiedFlagFollowsUndoAndRedo)
{
    TPgcParaList list(nullptr, 8192, false);
    list.InsertTextPrim(nullptr, 1, 1, u"a", 1);
    UndoOnce(list);
    EXPECT_FALSE(list.Modified()) << "back to the unmodified text";
    RedoOnce(list);
    EXPECT_TRUE(list.Modified());
    list.SetModified(false);   // the text was saved
    list.UndoBuffer().SetModified();
    UndoOnce(list);
    EXPECT_TRUE(list.Modified()) << "differs from the saved text";
}

} // namespace
} // namespace qel

// Tests of the editor's text access: appending (limits, cuts, trimming,
// long texts), emptying, the whole text and its buffer form, paragraphs and
// display lines, position conversions, the settings that are refused or
// coupled, the older "Margin" stream property and the error reporting.
#include "tests/widgets/pages/pgc_editor_fixture.h"
#include "tests/widgets/pages/pgc_stream_bytes.h"

#include "widgets/pages/para_node.h"
#include "widgets/pages/pgc_editor_margins.h"
#include "widgets/pages/pgc_exceptions.h"

#include <string>
#include <vector>

namespace qel {
namespace {

class PgcEditorText : public test::TEditorTest {
protected:
    // The paragraphs as UTF-16 texts.
    std::vector<std::u16string> Paras() const
    {
        std::vector<std::u16string> paras;
        for (int p = 1; p <= Editor->ParaCount(); ++p) {
            int length = 0;
            const char16_t* text = Editor->GetPara(p, length);
            paras.emplace_back(text, static_cast<std::size_t>(length));
        }
        return paras;
    }
    std::vector<std::size_t> ParaLengths() const
    {
        std::vector<std::size_t> lengths;
        for (const std::u16string& para : Paras()) {
            lengths.push_back(para.size());
        }
        return lengths;
    }
};

TEST_F(PgcEditorText, NewEditorHoldsOneEmptyParagraph)
{
    EXPECT_EQ(Editor->TextLength(), 0);
    EXPECT_EQ(Editor->Text(), "");
    EXPECT_EQ(Editor->ParaCount(), 1);
    EXPECT_EQ(Editor->LineCount(), 1);
    int column = 0;
    EXPECT_EQ(Editor->GetCaretPosition(column), 1);
    EXPECT_EQ(column, 1);
    EXPECT_FALSE(Editor->Modified());
}

TEST_F(PgcEditorText, AppendParaAddsParagraphsBeforeTheEmptyLastOne)
{
    EXPECT_EQ(Editor->AppendPara(u""), 0);
    EXPECT_EQ(Editor->ParaCount(), 2) << "an empty text adds an empty paragraph";
    EXPECT_EQ(Editor->TextLength(), 2);

    Editor->Clear();
    EXPECT_EQ(Editor->AppendPara(u"abc"), 0);
    EXPECT_EQ(Paras(), (std::vector<std::u16string>{u"abc", u""}));
    EXPECT_EQ(Editor->TextLength(), 5);
    EXPECT_EQ(Editor->Text(), "abc\r\n");
    EXPECT_FALSE(Editor->Modified()) << "appending is no edit";
    EXPECT_FALSE(Editor->CanUndo());
}

TEST_F(PgcEditorText, LongParagraphsAreCutAfterTheirLastBlankWithinTheLimit)
{
    Editor->SetParaLengthLimit(40);
    EXPECT_EQ(Editor->AppendPara(std::u16string(100, u'x')), 0);
    EXPECT_EQ(ParaLengths(), (std::vector<std::size_t>{40, 40, 20, 0})) << "no blanks: cut at the limit";

    Editor->Clear();
    // Words of 9 letters and a blank: the last blank within 40 units is the 40th.
    std::u16string words;
    for (int i = 0; i < 10; ++i) {
        words += u"abcdefghi ";
    }
    EXPECT_EQ(Editor->AppendPara(words), 0);
    const std::vector<std::u16string> paras = Paras();
    ASSERT_EQ(paras.size(), 4u);
    EXPECT_EQ(paras[0], u"abcdefghi abcdefghi abcdefghi abcdefghi") << "cut after the blank, blank trimmed";
    EXPECT_EQ(paras[1], paras[0]);
    EXPECT_EQ(paras[2], u"abcdefghi abcdefghi");

    Editor->Clear();
    Editor->SetTrimWhiteSpace(false);
    EXPECT_EQ(Editor->AppendPara(u"12345 7890123456789012345678901234567890123"), 0);
    EXPECT_EQ(Paras()[0], u"12345 ") << "without trimming the blank stays with the first piece";
    EXPECT_EQ(Paras()[1], u"7890123456789012345678901234567890123");
}

TEST_F(PgcEditorText, TrimWhiteSpaceDropsTrailingBlanks)
{
    Editor->AppendPara(u"kept \t ");
    Editor->SetTrimWhiteSpace(false);
    Editor->AppendPara(u"kept \t ");
    EXPECT_EQ(Paras(), (std::vector<std::u16string>{u"kept", u"kept \t ", u""}));
    EXPECT_EQ(Editor->TextLength(), 4 + 2 + 7 + 2);
}

TEST_F(PgcEditorText, LimitsAnswerCodesWithoutRaisingOrReporting)
{
    int reported = 0;
    Editor->OnError = [&](plat::TObject*, std::uint16_t&) { ++reported; };
    Editor->SetParaLimit(3);
    EXPECT_EQ(Editor->AppendPara(u"one"), 0);
    EXPECT_EQ(Editor->AppendPara(u"two"), 0);
    EXPECT_EQ(Editor->AppendPara(u"three"), 0) << "the empty last paragraph does not count";
    EXPECT_EQ(Editor->AppendPara(u"four"), EditErrTooManyParas);
    EXPECT_EQ(Editor->ParaCount(), 4);

    Editor->Clear();
    Editor->SetByteLimit(10);
    EXPECT_EQ(Editor->AppendPara(u"123456789"), EditErrTextTooLong) << "9 units and a line break exceed 10";
    EXPECT_EQ(Editor->ParaCount(), 1);
    EXPECT_EQ(Editor->AppendPara(u"1234567"), 0);

    // A long text that reaches the limit part way keeps what fitted.
    Editor->Clear();
    Editor->SetByteLimit(TPgcCustomEditor::NoLimit);
    Editor->SetParaLimit(3);
    Editor->SetParaLengthLimit(10);
    EXPECT_EQ(Editor->AppendPara(std::u16string(40, u'z')), EditErrTooManyParas);
    EXPECT_EQ(ParaLengths(), (std::vector<std::size_t>{10, 10, 10, 0}));
    EXPECT_EQ(reported, 0);
}

TEST_F(PgcEditorText, ReadOnlyAppendsLeaveCaretAndViewAlone)
{
    Editor->SetReadOnly(true);
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(Editor->AppendPara(std::to_string(i)), 0);
    }
    EXPECT_EQ(Editor->TopLine(), 1);
    int column = 0;
    EXPECT_EQ(Editor->GetCaretPosition(column), 1);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(Editor->Text().substr(0, 9), "0\r\n1\r\n2\r\n");
}

TEST_F(PgcEditorText, TextRoundTripsAndGetTextFillsBuffers)
{
    Editor->SetText("first\r\nsecond\nthird");
    EXPECT_EQ(Paras(), (std::vector<std::u16string>{u"first", u"second", u"third"}));
    EXPECT_EQ(Editor->Text(), "first\r\nsecond\r\nthird");
    EXPECT_EQ(Editor->TextLength(), 5 + 6 + 5 + 4);

    char16_t one[1] = {u'?'};
    EXPECT_EQ(Editor->GetText(one, 1), 0);
    EXPECT_EQ(one[0], u'\0');

    // A buffer that cuts the second paragraph.
    char16_t small[10];
    EXPECT_EQ(Editor->GetText(small, 10), 9);
    EXPECT_EQ(std::u16string(small), u"first\r\nse");

    Editor->SetText("ends\r\n");
    EXPECT_EQ(Editor->Text(), "ends\r\n") << "an empty last paragraph gives one trailing line break";
    Editor->SetText("");
    EXPECT_EQ(Editor->Text(), "");
    EXPECT_EQ(Editor->ParaCount(), 1);
}

TEST_F(PgcEditorText, SetTextIgnoresReadOnlyAndNonAsciiSurvives)
{
    Editor->SetReadOnly(true);
    Editor->SetText("Grüße\r\n€ 5");
    EXPECT_EQ(Editor->Text(), "Grüße\r\n€ 5");
    EXPECT_EQ(Editor->GetParaLength(1), 5);
}

TEST_F(PgcEditorText, ParagraphAndLineAccessChecksItsRange)
{
    Editor->SetText("a\tb\r\nsecond");
    int length = 0;
    EXPECT_THROW(Editor->GetPara(0, length), EInvalidLineOrPara);
    EXPECT_THROW(Editor->GetPara(3, length), EInvalidLineOrPara);
    char16_t buffer[32];
    EXPECT_THROW(Editor->GetLine(Editor->LineCount() + 1, buffer, 31), EInvalidLineOrPara);
    EXPECT_THROW(Editor->GetLineLength(0), EInvalidLineOrPara);
    EXPECT_THROW(Editor->GetStringLine(3), EInvalidLineOrPara);
    try {
        Editor->GetParaLength(0);
        FAIL() << "no exception";
    } catch (const EInvalidLineOrPara& e) {
        EXPECT_EQ(e.Message(), u"Invalid line or paragraph index");
        EXPECT_EQ(e.ErrorCode, 0);
    }

    EXPECT_EQ(std::u16string(Editor->GetLine(1, buffer, 31)), u"a\tb") << "tabs kept";
    EXPECT_EQ(std::u16string(Editor->GetLine(2, buffer, 3)), u"sec") << "cut to DestLen";
    EXPECT_EQ(Editor->GetPrintableLine(1, buffer, 31), 9);
    EXPECT_EQ(std::u16string(buffer), u"a       b");
    EXPECT_EQ(Editor->GetPrintableLine(1, buffer, 4), 4);
    EXPECT_EQ(std::u16string(buffer), u"a   ");
    EXPECT_EQ(Editor->GetStringLine(1), "a       b");
    EXPECT_EQ(Editor->GetLineLength(1), 3);
    EXPECT_EQ(Editor->EffectiveColumn(u"a\tb", 3), 9);
}

TEST_F(PgcEditorText, PositionsConvertBetweenLinesAndParagraphs)
{
    Editor->SetWrapColumn(10);
    Editor->SetWordWrap(true);
    Editor->SetText("short\r\nalpha beta gamma delta");
    ASSERT_EQ(Editor->LineCount(), 4) << "the second paragraph wraps into three lines";
    int line = 3;
    int column = 2;
    Editor->LineToPara(line, column);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(column, 13) << "line 3 starts at position 12 of its paragraph";
    Editor->ParaToLine(line, column);
    EXPECT_EQ(line, 3);
    EXPECT_EQ(column, 2);
    int bad = 0;
    EXPECT_THROW(Editor->LineToPara(bad, column), EInvalidLineOrPara);
    bad = 3;
    EXPECT_THROW(Editor->ParaToLine(bad, column), EInvalidLineOrPara);
}

TEST_F(PgcEditorText, CaretPositionAndTheWordAtIt)
{
    Editor->SetText("one two_three, four\r\nx");
    Editor->SetCaretPosition(1, 7);
    int column = 0;
    EXPECT_EQ(Editor->GetCaretPosition(column), 1);
    EXPECT_EQ(column, 7);
    EXPECT_EQ(Editor->GetCurrentWord(), "two_three") << "the underscore is no delimiter";
    Editor->SetCaretPosition(1, 14);
    EXPECT_EQ(Editor->GetCurrentWord(), "") << "on a delimiter";
    Editor->SetCaretPosition(1, 20);
    EXPECT_EQ(Editor->GetCurrentWord(), "") << "past the paragraph's end";
    Editor->SetCaretPosition(1, 99);
    EXPECT_EQ(Editor->GetCaretPosition(column), 1);
    EXPECT_EQ(column, 20) << "cut to the line's end";
    EXPECT_THROW(Editor->SetCaretPosition(3, 1), EInvalidLineOrPara);
    EXPECT_THROW(Editor->SetCaretPosition(1, 0), EInvalidLineOrPara);
}

TEST_F(PgcEditorText, RefusedAndCoupledSettings)
{
    Editor->SetTabSize(0);
    EXPECT_EQ(Editor->TabSize(), 8);
    Editor->SetWordDelimiters("");
    EXPECT_EQ(Editor->WordDelimiters().size(), 35u);
    Editor->SetParaLengthLimit(32768);
    Editor->SetParaLengthLimit(0);
    EXPECT_EQ(Editor->ParaLengthLimit(), 32767);
    Editor->SetByteLimit(-1);
    EXPECT_EQ(Editor->ByteLimit(), 2147483647);
    Editor->SetParaLimit(0);
    Editor->SetWrapColumn(0);
    EXPECT_EQ(Editor->ParaLimit(), 2147483647);
    EXPECT_EQ(Editor->WrapColumn(), 80);

    Editor->SetNewStyleIndent(true);
    EXPECT_TRUE(Editor->AutoIndent());
    Editor->SetScrollPastEnd(true);
    Editor->SetWrapAtLeft(false);
    Editor->SetWordWrap(true);
    EXPECT_FALSE(Editor->ScrollPastEnd());
    EXPECT_TRUE(Editor->WrapAtLeft());
    Editor->SetWrapAtLeft(false);
    EXPECT_TRUE(Editor->WrapAtLeft()) << "stays on while wrapping";
    Editor->SetScrollPastEnd(true);
    EXPECT_FALSE(Editor->WordWrap());
    Editor->SetWrapAtLeft(false);
    EXPECT_FALSE(Editor->WrapAtLeft());
}

TEST_F(PgcEditorText, ClearStartsAnEmptyUnmodifiedTextWithTheSameLimits)
{
    Editor->SetParaLengthLimit(20);
    Editor->SetTabSize(4);
    Editor->InsertString("edited\r\ntext");
    EXPECT_TRUE(Editor->Modified());
    EXPECT_TRUE(Editor->CanUndo());
    Editor->SetReadOnly(true);
    EXPECT_FALSE(Editor->CanUndo()) << "never while read-only";
    Editor->Clear();
    EXPECT_EQ(Editor->Text(), "");
    EXPECT_FALSE(Editor->Modified());
    Editor->SetReadOnly(false);
    EXPECT_FALSE(Editor->CanUndo());
    Editor->AppendPara(std::u16string(30, u'q'));
    EXPECT_EQ(Editor->GetParaLength(1), 20) << "the paragraph length limit carried over";
    Editor->SetText("\tx");
    EXPECT_EQ(Editor->GetStringLine(1), "    x") << "the tab size carried over";
}

TEST_F(PgcEditorText, InsertReplacesTheSelectionUnlessReadOnly)
{
    Editor->SetText("hello world");
    Editor->SetSelection(1, 7, 1, 12, true);
    Editor->InsertString("there\r\nagain");
    EXPECT_EQ(Editor->Text(), "hello there\r\nagain");
    int column = 0;
    EXPECT_EQ(Editor->GetCaretPosition(column), 2);
    EXPECT_EQ(column, 6) << "after the inserted text";
    Editor->SetReadOnly(true);
    Editor->InsertString("ignored");
    EXPECT_EQ(Editor->Text(), "hello there\r\nagain");
}

// The editor reports list errors through OnError, or raises them.
class TErrorEditor : public TPgcEditor {
public:
    using TPgcEditor::DoOnError;
    using TPgcEditor::TPgcEditor;
};

TEST_F(PgcEditorText, ErrorsGoToOnErrorOrAreRaisedWithTheirTexts)
{
    struct TCase {
        std::uint16_t Code;
        const char16_t* Text;
    };
    const TCase cases[] = {
        {263, u"insufficient memory for requested operation"},
        {264, u"Region is too large (> 64K)"},
        {265, u"Current operation will exceed the maximum number of allowed paragraphs"},
        {266, u"Cannot join paragraphs. New paragraph size exceeds maximum paragraph size"},
        {267, u"Current operation will exceed the maximum text size"},
        {268, u"Current operation will exceed the maximum paragraph size"},
        {300, u"Unknown Error condition"},
    };
    TErrorEditor editor(nullptr);
    for (const TCase& c : cases) {
        try {
            editor.DoOnError(c.Code);
            ADD_FAILURE() << "no exception for " << c.Code;
        } catch (const EEditorError& e) {
            EXPECT_EQ(e.Message(), c.Text) << c.Code;
            EXPECT_EQ(e.ErrorCode, c.Code);
        }
    }
    EXPECT_NO_THROW(editor.DoOnError(0));

    std::vector<std::uint16_t> reported;
    editor.OnError = [&](plat::TObject*, std::uint16_t& Code) {
        reported.push_back(Code);
        Code = 0;
    };
    for (const TCase& c : cases) {
        editor.DoOnError(c.Code);
    }
    editor.DoOnError(0);
    EXPECT_EQ(reported, (std::vector<std::uint16_t>{263, 264, 265, 266, 267, 268, 300}));
}

TEST_F(PgcEditorText, EditsBeyondTheLimitsAreReported)
{
    std::vector<std::uint16_t> reported;
    Editor->OnError = [&](plat::TObject*, std::uint16_t& Code) { reported.push_back(Code); };
    Editor->SetParaLengthLimit(5);
    Editor->InsertString("abcdef");
    Editor->SetParaLengthLimit(100);
    Editor->SetParaLimit(2);
    Editor->InsertString("a\r\nb\r\nc");
    Editor->Clear();
    Editor->SetByteLimit(3);
    Editor->InsertString("abcd");
    EXPECT_EQ(reported, (std::vector<std::uint16_t>{268, 265, 267}));
    Editor->OnError = nullptr;
    EXPECT_THROW(Editor->InsertString("abcd"), EEditorError);
}

TEST_F(PgcEditorText, OlderStreamsSetBothMarginsFromMargin)
{
    using test::StreamName;
    const std::string bytes = std::string("QCF1") + StreamName("TPgcEditor") + StreamName("E") +
                              StreamName("Margin") + '\x02' + '\x0C' + '\0' + '\0';
    TPgcEditor editor(nullptr);
    test::ReadStreamBytes(editor, bytes);
    EXPECT_EQ(editor.LeftMargin(), 12);
    EXPECT_EQ(editor.RightMargin(), 12);
    EXPECT_EQ(editor.MarginOptions()->Left()->LinePosition(), 12);
}

// ---- long texts ----

TEST_F(PgcEditorText, LongTextsBecomeParagraphsWithNothingDropped)
{
    // 70,000 units in words of 6 letters and a blank.
    std::u16string text;
    while (text.size() < 70000) {
        text += u"abcdef ";
    }
    text.resize(70000);
    Editor->SetTrimWhiteSpace(false);
    ASSERT_EQ(Editor->AppendPara(text), 0);
    std::u16string joined;
    for (const std::u16string& para : Paras()) {
        EXPECT_LE(para.size(), 32767u);
        joined += para;
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(Editor->ParaCount(), 4) << "three pieces and the empty last paragraph";
    EXPECT_EQ(Paras()[0].back(), u' ') << "cut after the last blank within the limit";

    Editor->Clear();
    ASSERT_EQ(Editor->AppendPara(std::u16string(65536, u'k')), 0);
    EXPECT_EQ(ParaLengths(), (std::vector<std::size_t>{32767, 32767, 2, 0})) << "a 16-bit count would have been 0";
}

TEST_F(PgcEditorText, AppendParaStopsAtTheFirstZeroUnit)
{
    const std::u16string text(u"visible\0hidden", 14);
    Editor->AppendPara(text);
    EXPECT_EQ(Paras()[0], u"visible");
}

} // namespace
} // namespace qel

// The header stream: what it writes for no columns and for one column,
// round trips of columns, positions, fonts and limits, the old layout
// without a marker, limits that arrive after the sizes they limit, and
// streams from outside that are short or impossible.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/graphics_objects.h"
#include "platform/streams.h"

#include <cstring>
#include <limits>

namespace qel::tree_test {
namespace {

std::vector<std::int32_t> Ints(plat::TMemoryStream& stream, std::int64_t from = 0, std::int64_t count = -1)
{
    if (count < 0) {
        count = (stream.Size() - from) / 4;
    }
    std::vector<std::int32_t> ints(static_cast<std::size_t>(count));
    std::memcpy(ints.data(), stream.Memory() + from, static_cast<std::size_t>(4 * count));
    return ints;
}

class TreeHeaderStream : public TreeTest {
protected:
    TDTHeader& Header() { return *Tree->Header(); }

    void Save(plat::TMemoryStream& stream)
    {
        Header().SaveToStream(stream);
        stream.SetPosition(0);
    }

    TTestTree* NewTree()
    {
        auto* tree = new TTestTree(Form);
        tree->SetParent(Form);
        return tree;
    }

    // The help context of the load's error; 0 without one, -1 for another error.
    static int LoadError(TDTHeader& header, const std::vector<std::int32_t>& ints)
    {
        plat::TMemoryStream stream;
        stream.WriteBuffer(ints.data(), static_cast<std::int64_t>(4 * ints.size()));
        stream.SetPosition(0);
        try {
            header.LoadFromStream(stream);
        } catch (const EDataTreeError& error) {
            return error.HelpContext();
        } catch (const plat::EStreamError&) {
            return -1;
        }
        return 0;
    }
};

TEST_F(TreeHeaderStream, AHeaderWithoutColumnsIsItsFieldsAfterAnEmptyList)
{
    Header().Font()->SetName("Sans");
    plat::TMemoryStream stream;
    Save(stream);
    const std::vector<std::int32_t> start = Ints(stream, 0, 4);
    EXPECT_EQ(start, (std::vector<std::int32_t>{-1, 6, 0, Header().Columns().DefaultWidth()}));
    // Twelve numbers, the four-byte name, then thirteen numbers.
    ASSERT_EQ(stream.Size(), 4 * (4 + 8 + 13) + 4);
    const std::vector<std::int32_t> fields = Ints(stream, 16, 8);
    EXPECT_EQ(fields[2], Header().Height());
    EXPECT_EQ(fields[3], static_cast<std::int32_t>(Header().Options().Bits()));
    EXPECT_EQ(fields[7], 4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()) + 48, 4), "Sans");
}

TEST_F(TreeHeaderStream, AColumnWritesFifteenNumbersOrSixteenWithItsCaptionAlignment)
{
    TDataTreeColumn* column = Header().Columns().Add();
    column->SetText("ab");
    plat::TMemoryStream without;
    Save(without);
    column->SetOptions(column->Options() + TDTColumnOptions{coUseCaptionAlignment});
    column->SetCaptionAlignment(taCenter);
    plat::TMemoryStream with;
    Save(with);
    plat::TMemoryStream none;
    TTestTree* empty = NewTree();
    empty->Header()->Font()->Assign(Header().Font());
    empty->Header()->SaveToStream(none);
    // Column record plus its entry in the position map.
    EXPECT_EQ(without.Size() - none.Size(), 15 * 4 + 2 * 2 + 4);
    EXPECT_EQ(with.Size() - none.Size(), 16 * 4 + 2 * 2 + 4);
}

TEST_F(TreeHeaderStream, ColumnsComeBackWithTheirOrderTagsAndFields)
{
    for (const char* text : {"Name", "Start", "Pages"}) {
        TDataTreeColumn* column = Header().Columns().Add();
        column->SetText(text);
        column->SetHint(std::string("hint of ") + text);
    }
    TDataTreeColumns& columns = Header().Columns();
    columns[1]->SetWidth(123);
    columns[1]->SetAlignment(taRightJustify);
    columns[1]->SetColor(plat::clRed);
    columns[2]->SetTag(0x180000001LL);
    columns[0]->SetPosition(2);
    Header().SetMainColumn(1);
    Header().SetSortColumn(2);
    Header().SetSortDirection(sdDescending);
    Header().Font()->SetStyle({plat::fsBold});
    Header().FixedAreaConstraints().SetMaxWidthPercent(60);
    plat::TMemoryStream stream;
    Save(stream);

    TTestTree* copy = NewTree();
    copy->Header()->LoadFromStream(stream);
    TDataTreeColumns& loaded = copy->Header()->Columns();
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.PositionToIndex(), columns.PositionToIndex());
    EXPECT_EQ(loaded[0]->Position(), 2);
    EXPECT_EQ(loaded[1]->Text(), "Start");
    EXPECT_EQ(loaded[1]->Hint(), "hint of Start");
    EXPECT_EQ(loaded[1]->Width(), 123);
    EXPECT_EQ(loaded[1]->Alignment(), taRightJustify);
    EXPECT_EQ(loaded[1]->Color(), plat::clRed);
    // The tag's low 32 bits, sign-extended.
    EXPECT_EQ(loaded[2]->Tag(), -2147483647LL);
    EXPECT_EQ(copy->Header()->MainColumn(), 1);
    EXPECT_EQ(copy->Header()->SortColumn(), 2);
    EXPECT_EQ(copy->Header()->SortDirection(), sdDescending);
    EXPECT_TRUE(copy->Header()->Font()->Style().Contains(plat::fsBold));
    EXPECT_EQ(copy->Header()->FixedAreaConstraints().MaxWidthPercent(), 60);
    EXPECT_FALSE(copy->Header()->States().Contains(hsLoading));
    DropHandlers(*copy);
}

TEST_F(TreeHeaderStream, TheOldLayoutReadsOptionsWithoutApplyingThemAndKeepsTheHeaderFields)
{
    Header().Columns().Add();
    Header().Columns().Add();
    Header().SetMainColumn(1);
    Header().SetMaxHeight(500);
    const std::int32_t hidden = static_cast<std::int32_t>((DefaultColumnOptions - TDTColumnOptions{coVisible}).Bits());
    // No marker: a count of 2, two column records without tag, alignment
    // and colour, the position map, then the header fields 4 to 14.
    const std::vector<std::int32_t> column = {0, 0, 80, 10, 1000, 0, -1, 0, 4, 3, 0, hidden};
    std::vector<std::int32_t> ints = {2};
    ints.insert(ints.end(), column.begin(), column.end());
    ints.insert(ints.end(), column.begin(), column.end());
    ints.insert(ints.end(), {1, 0});
    ints.insert(ints.end(), {0, static_cast<std::int32_t>(plat::clBtnFace), 19,
                             static_cast<std::int32_t>(DefaultHeaderOptions.Bits()), 0, 0, -11, 0, 0, 0});
    EXPECT_EQ(LoadError(Header(), ints), 0);
    ASSERT_EQ(Header().Columns().Count(), 2);
    EXPECT_EQ(Header().Columns()[0]->Width(), 80);
    EXPECT_TRUE(Header().Columns()[0]->IsVisible());
    EXPECT_EQ(Header().Columns()[0]->Position(), 1);
    EXPECT_EQ(Header().MainColumn(), 1);
    EXPECT_EQ(Header().MaxHeight(), 500);
}

TEST_F(TreeHeaderStream, LimitsAreInForceBeforeTheSizesTheyCameWith)
{
    ShowForm();
    TDataTreeColumn* column = Header().Columns().Add();
    column->SetMaxWidth(30000);
    column->SetWidth(20000);
    Header().SetOptions(Header().Options() + TDTHeaderOptions{hoVisible});
    Header().SetMaxHeight(300);
    Header().SetHeight(250);
    plat::TMemoryStream stream;
    Save(stream);

    TTestTree* copy = NewTree();
    Host.PumpUntilIdle();
    copy->Header()->SetMaxHeight(100);
    copy->Header()->LoadFromStream(stream);
    EXPECT_EQ(copy->Header()->Columns()[0]->Width(), 20000);
    EXPECT_EQ(copy->Header()->MaxHeight(), 300);
    EXPECT_EQ(copy->Header()->Height(), 250);
    DropHandlers(*copy);
}

// Sizes from outside are limited where they are set, so that the columns'
// lefts, the header's layout and its automatic height never wrap.
TEST_F(TreeHeaderStream, HugeSizesAreLimitedSoSumsOverTheColumnsStayInRange)
{
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() + TDTAutoOptions{toAutoChangeScale});
    Header().Columns().Add()->SetSpacing(0);
    Header().Columns().Add()->SetSpacing(0);
    Header().AutoScale();
    const int textHeight = Header().Height();
    plat::TMemoryStream stream;
    Save(stream);
    const auto put = [&stream](std::size_t at, std::int32_t value) { std::memcpy(stream.Memory() + 4 * at, &value, 4); };
    // Marker, version and count, then two records of 15 numbers (no texts),
    // the position map and DefaultWidth.
    constexpr std::size_t Width = 2, MinWidth = 3, MaxWidth = 4, Margin = 8, Spacing = 9;
    const std::int32_t big = std::numeric_limits<std::int32_t>::max();
    for (const std::size_t record : {3u, 18u}) {
        for (const std::size_t field : {Width, MaxWidth, Margin, Spacing}) {
            put(record + field, big);
        }
        put(record + MinWidth, 0);
    }
    put(18 + Spacing, std::numeric_limits<std::int32_t>::min());
    put(35, big);
    Header().LoadFromStream(stream);
    Header().AutoScale();
    const TDataTreeColumns& columns = Header().Columns();
    struct TCase {
        const char* name;
        int value;
        int expected;
    };
    const TCase cases[] = {
        {"maximum width", columns[0]->MaxWidth(), MaxColumnExtent},
        {"width", columns[0]->Width(), MaxColumnExtent},
        {"left of the second column", columns[1]->Left(), MaxColumnExtent},
        {"margin", columns[0]->Margin(), MaxColumnExtent},
        {"spacing", columns[0]->Spacing(), MaxColumnExtent},
        {"negative spacing", columns[1]->Spacing(), -MaxColumnExtent},
        {"width of new columns", columns.DefaultWidth(), MaxColumnExtent},
        {"automatic height", Header().Height(), MaxColumnExtent + MaxColumnExtent / 2 + textHeight},
    };
    for (const TCase& each : cases) {
        EXPECT_EQ(each.value, each.expected) << each.name;
    }
}

// A bad stream raises and leaves the header as it was: options, columns
// and their order, and what columns hold beyond the stream (check boxes).
TEST_F(TreeHeaderStream, BadStreamsRaiseAndChangeNothing)
{
    Header().SetOptions(TDTHeaderOptions{hoVisible, hoColumnResize, hoDrag});
    for (const char* text : {"One", "Two", "Three"}) {
        Header().Columns().Add()->SetText(text);
    }
    Header().Columns()[2]->SetPosition(0);
    Header().Columns()[1]->SetCheckBox(true);
    Header().Columns()[1]->SetCheckState(csCheckedNormal);
    Header().Columns()[1]->SetColor(plat::clRed);
    Header().SetHeight(30);
    plat::TMemoryStream before;
    Save(before);
    const TDTHeaderOptions options = Header().Options();
    struct TCase {
        const char* name;
        std::vector<std::int32_t> ints;
        int error;
    };
    const std::vector<TCase> cases = {
        {"an unknown version", {-1, 7, 0, 50}, 2002},
        {"more columns than bytes", {-1, 6, 1000000, 0}, 2002},
        {"a negative count", {-1, 6, -5}, 2002},
        {"a text longer than the stream", {-1, 6, 1, 0x40000000}, 2002},
        {"a short stream", {-1, 6}, -1},
        {"a map naming a column twice",
         {-1, 6, 2, 0, 0, 50, 10, 100, 0, -1, 0, 4, 3, 0, 0, 0, 0, 0, 0, 0, 50, 10, 100, 0, -1, 0, 4, 3, 0, 0, 0, 0, 0,
          1, 1, 50},
         2002},
        {"a column kind out of range", {-1, 6, 1, 0, 0, 50, 10, 100, 9, -1, 0, 4, 3, 0, 0, 0, 0, 0, 0, 50}, 2002},
    };
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(LoadError(Header(), each.ints), each.error);
        EXPECT_EQ(Header().Options(), options);
        EXPECT_FALSE(Header().States().Contains(hsLoading));
        plat::TMemoryStream after;
        Save(after);
        EXPECT_EQ(Ints(after), Ints(before)) << "the header as it was";
        EXPECT_TRUE(Header().Columns()[1]->CheckBox());
        EXPECT_EQ(Header().Columns()[1]->CheckState(), csCheckedNormal);
    }
}

// A stream that turns the parent font off and then fails gives the header
// back its own font under the parent font, not the tree's.
TEST_F(TreeHeaderStream, ABadStreamKeepsTheHeadersOwnFontUnderTheParentFont)
{
    ASSERT_TRUE(Header().ParentFont());
    Header().Font()->SetName("Sans");
    ASSERT_NE(Tree->Font()->Name(), "Sans");
    plat::TMemoryStream before;
    Save(before);
    std::string bytes(reinterpret_cast<const char*>(before.Memory()), static_cast<std::size_t>(before.Size()));
    // The parent font's word stands before three heights and four percents;
    // the stream ends after the first height.
    const std::size_t parentFont = bytes.size() - 8 * 4;
    std::memset(bytes.data() + parentFont, 0, 4);
    bytes.resize(parentFont + 2 * 4);
    plat::TMemoryStream damaged;
    damaged.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    damaged.SetPosition(0);
    EXPECT_THROW(Header().LoadFromStream(damaged), plat::EReadError);
    EXPECT_TRUE(Header().ParentFont());
    EXPECT_EQ(Header().Font()->Name(), "Sans");
    plat::TMemoryStream after;
    Save(after);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(after.Memory()), static_cast<std::size_t>(after.Size())),
              std::string(reinterpret_cast<const char*>(before.Memory()), static_cast<std::size_t>(before.Size())));
}

// A stream of the old layout leaves main and sort column as they were, even
// beyond the columns it brought; a bad stream after it keeps them so.
TEST_F(TreeHeaderStream, ABadStreamKeepsMainAndSortColumnsBeyondTheColumns)
{
    for (const char* text : {"One", "Two", "Three"}) {
        Header().Columns().Add()->SetText(text);
    }
    Header().SetMainColumn(2);
    Header().SetSortColumn(1);
    // Version 0, no columns, the header's fields, an empty font name.
    ASSERT_EQ(LoadError(Header(), {-1, 0, 0, -1, 0, 17, 0, 0, 0, -11, 0, 0, 0}), 0);
    plat::TMemoryStream before;
    Save(before);
    EXPECT_EQ(LoadError(Header(), {-1, 6, 1000000, 0}), 2002);
    plat::TMemoryStream after;
    Save(after);
    EXPECT_EQ(Ints(after), Ints(before));
    EXPECT_EQ(Header().SortColumn(), 1);
}

} // namespace
} // namespace qel::tree_test

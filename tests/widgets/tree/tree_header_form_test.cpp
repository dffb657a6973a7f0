// The header and its columns in the form description: a configured header
// read back into a fresh tree, the columns' older text properties, what is
// left out at its default, damaged forms, and trees that bring their own
// header and column classes.
#include "platform/canvas/graphics_objects.h"
#include "platform/objects/class_registry.h"
#include "tests/widgets/tree/form_stream.h"
#include "tests/widgets/tree/tree_fixture.h"

#include <functional>
#include <memory>

namespace qel::tree_test {

// A tree with a header and columns of its own classes.
class TNotedColumn : public TDataTreeColumn {
    PLAT_CLASS(TNotedColumn, TDataTreeColumn)
public:
    explicit TNotedColumn(plat::TCollection* collection) : TDataTreeColumn(collection) {}
    const std::string& Note() const { return FNote; }
    void SetNote(const std::string& value) { FNote = value; }

private:
    std::string FNote;
};

class TPlainHeader : public TDTHeader {
    PLAT_CLASS(TPlainHeader, TDTHeader)
public:
    explicit TPlainHeader(TBaseDataTree* owner) : TDTHeader(owner) {}
};

class TNotedTree : public TDataStringTree {
    PLAT_CLASS(TNotedTree, TDataStringTree)
public:
    explicit TNotedTree(plat::TComponent* owner) : TDataStringTree(owner) { CreateHeader(); }
    plat::TClass GetHeaderClass() const override { return TPlainHeader::StaticClass(); }
    plat::TClass GetColumnClass() const override { return TNotedColumn::StaticClass(); }
};

// A tree shown in a designer.
class TDesignedTree : public TDataStringTree {
public:
    using TDataStringTree::TDataStringTree;
    using TDataStringTree::SetDesigning;
};

PLAT_DEFINE_CLASS(TNotedColumn, TDataTreeColumn, plat::Published("Note", &TNotedColumn::Note, &TNotedColumn::SetNote))
PLAT_DEFINE_CLASS(TPlainHeader, TDTHeader)
PLAT_DEFINE_CLASS(TNotedTree, TDataStringTree)

namespace {

class HeaderForm : public TreeTest {
protected:
    HeaderForm()
    {
        plat::RegisterClass(TDataStringTree::StaticClass());
        plat::RegisterClass(TNotedTree::StaticClass());
    }

    static TDataStringTree* Loaded(const std::unique_ptr<plat::TComponent>& read)
    {
        auto* tree = dynamic_cast<TDataStringTree*>(read.get());
        EXPECT_NE(tree, nullptr);
        return tree;
    }

    // The stored items of the tree's "Columns", the last part of its form.
    static std::string ColumnItems(const std::string& form) { return form.substr(form.rfind(Str("Columns"))); }
};

TEST_F(HeaderForm, AConfiguredHeaderAndItsColumnsComeBackInAFreshTree)
{
    TDataStringTree tree(nullptr);
    tree.SetName("DT");
    TDTHeader& header = *tree.Header();
    TDataTreeColumns& columns = header.Columns();
    for (const char* text : {"Serial", "Start", "Length", "Rate"}) {
        columns.Add()->SetText(text);
    }
    TDataTreeColumn& start = *columns[1];
    start.SetAlignment(plat::taCenter);
    start.SetBiDiMode(bdRightToLeft);
    start.SetCaptionAlignment(plat::taRightJustify);
    start.SetCheckType(ctRadioButton);
    start.SetCheckState(csCheckedNormal);
    start.SetCheckBox(true);
    start.SetColor(0x00C0FF);
    start.SetDefaultSortDirection(sdDescending);
    start.SetHint("When the recording began");
    start.SetImageIndex(3);
    start.SetLayout(blGlyphTop);
    start.SetMargin(6);
    start.SetMaxWidth(300);
    start.SetMinWidth(20);
    start.SetOptions(start.Options() - TDTColumnOptions{coDraggable} + TDTColumnOptions{coWrapCaption});
    start.SetEditOptions(toVerticalEdit);
    start.SetEditNextColumn(3);
    start.SetSpacing(5);
    start.SetStyle(vsOwnerDraw);
    start.SetTag(std::int64_t{1} << 40);
    start.SetWidth(120);
    columns[3]->SetPosition(0);
    plat::TFont font;
    font.SetName("DejaVu Serif");
    font.SetHeight(-15);
    header.SetFont(&font);
    header.SetStyle(hsPlates);   // scales the height to the font: before Height
    header.SetAutoSizeIndex(2);
    header.SetBackground(0x336699);
    header.SetDefaultHeight(25);
    header.SetMaxHeight(200);
    header.SetMinHeight(12);
    header.SetHeight(30);
    header.SetMainColumn(1);
    header.SetOptions(header.Options() + TDTHeaderOptions{hoVisible, hoShowImages});
    header.SetSortColumn(2);
    header.SetSortDirection(sdDescending);
    header.SetSplitterHitTolerance(5);
    header.FixedAreaConstraints().SetMaxWidthPercent(50);
    header.FixedAreaConstraints().SetMinHeightPercent(10);

    ASSERT_EQ(header.Height(), 30);
    const std::unique_ptr<plat::TComponent> read = ReadTree(WriteTree(&tree));
    TDataStringTree* loaded = Loaded(read);
    ASSERT_NE(loaded, nullptr);
    const TDTHeader& back = *loaded->Header();
    const TDataTreeColumns& backColumns = back.Columns();
    ASSERT_EQ(backColumns.Count(), 4);
    EXPECT_TRUE(backColumns.Equals(columns)) << "texts, sizes, kinds, options, colours, tags and the order";
    const TDataTreeColumn& backStart = *backColumns[1];
    EXPECT_EQ(backStart.Hint(), "When the recording began");
    struct TCase {
        const char* name;
        std::int64_t actual;
        std::int64_t expected;
    };
    const TDTFixedAreaConstraints& limits = *back.FixedAreaConstraintsObject();
    const std::vector<TCase> cases = {
        {"column CheckType", backStart.CheckType(), ctRadioButton},
        {"column CheckState", backStart.CheckState(), csCheckedNormal},
        {"column CheckBox", backStart.CheckBox(), 1},
        {"column DefaultSortDirection", backStart.DefaultSortDirection(), sdDescending},
        {"column EditOptions", backStart.EditOptions(), toVerticalEdit},
        {"column EditNextColumn", backStart.EditNextColumn(), 3},
        {"column CaptionAlignment", backStart.CaptionAlignment(), plat::taRightJustify},
        {"first position", backColumns.GetFirstColumn(), 3},
        {"AutoSizeIndex", back.AutoSizeIndex(), 2},
        {"Background", back.Background(), 0x336699},
        {"DefaultHeight", back.DefaultHeight(), 25},
        {"MaxHeight", back.MaxHeight(), 200},
        {"MinHeight", back.MinHeight(), 12},
        {"Height", back.Height(), 30},
        {"MainColumn", back.MainColumn(), 1},
        {"Options", static_cast<std::int64_t>(back.Options().Bits()),
         static_cast<std::int64_t>(header.Options().Bits())},
        {"SortColumn", back.SortColumn(), 2},
        {"SortDirection", back.SortDirection(), sdDescending},
        {"SplitterHitTolerance", back.SplitterHitTolerance(), 5},
        {"Style", back.Style(), hsPlates},
        {"MaxWidthPercent", limits.MaxWidthPercent(), 50},
        {"MinHeightPercent", limits.MinHeightPercent(), 10},
        {"ParentFont", back.ParentFont(), 0},
        {"Font.Height", back.Font()->Height(), -15},
    };
    for (const TCase& each : cases) {
        EXPECT_EQ(each.actual, each.expected) << each.name;
    }
    EXPECT_EQ(back.Font()->Name(), "DejaVu Serif");
    EXPECT_FALSE(back.States().Contains(hsLoading));
}

TEST_F(HeaderForm, OlderFormsGiveTheirWideTextAndWideHintToTextAndHint)
{
    const std::string form = std::string("QCF1") + Str("TDataStringTree") + Str("DT") + Str("Columns") + '\x0E' +
                             '\x01' + Str("WideText") + '\x07' + std::string("\x07\0\0\0", 4) + "Gr\xC3\xB6\xC3\x9F" +
                             "e" + Str("WideHint") + '\x07' + std::string("\x04\0\0\0", 4) + "Size" + '\0' + '\0' +
                             '\0' + '\0';
    const std::unique_ptr<plat::TComponent> read = ReadTree(form);
    TDataStringTree* loaded = Loaded(read);
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->Header()->Columns().Count(), 1);
    const TDataTreeColumn& column = *loaded->Header()->Columns()[0];
    EXPECT_EQ(column.Text(), "Gr\xC3\xB6\xC3\x9F" "e");
    EXPECT_EQ(column.Hint(), "Size");

    // Nothing writes them: the texts go back as Text and Hint.
    const std::string written = WriteTree(loaded);
    EXPECT_EQ(written.find("WideText"), std::string::npos);
    EXPECT_EQ(written.find("WideHint"), std::string::npos);
    EXPECT_NE(ColumnItems(written).find(Str("Text")), std::string::npos);
    EXPECT_NE(ColumnItems(written).find(Str("Hint")), std::string::npos);
}

TEST_F(HeaderForm, DefaultsAreLeftOutAndStoredRulesDecide)
{
    TDataStringTree tree(nullptr);
    tree.SetName("DT");
    TDTHeader& header = *tree.Header();
    const std::string bare = WriteTree(&tree);
    for (const char* name : {"Header.Background", "Header.Columns", "Header.DefaultHeight", "Header.Height",
                             "Header.MaxHeight", "Header.MinHeight", "Header.Options", "Header.ParentFont",
                             "Header.SortColumn", "Header.SortDirection", "Header.SplitterHitTolerance",
                             "Header.Style", "Header.Font.Name", "Header.FixedAreaConstraints.MaxWidthPercent"}) {
        EXPECT_EQ(bare.find(Str(name)), std::string::npos) << name << " is at its default";
    }

    TDataTreeColumn& column = *header.Columns().Add();
    const std::string plain = ColumnItems(WriteTree(&tree));
    for (const char* name : {"Alignment", "BiDiMode", "CaptionAlignment", "CaptionWidth", "CheckBox", "CheckState",
                             "CheckType", "Color", "DefaultSortDirection", "EditNextColumn", "Hint", "ImageIndex",
                             "Layout", "Margin", "MaxWidth", "MinWidth", "Options", "Spacing", "Style", "Text",
                             "Width"}) {
        EXPECT_EQ(plain.find(Str(name)), std::string::npos) << name << " of a new column";
    }

    // A change makes each one stored; the parent's mode and colour and the
    // caption alignment only once the column has its own.
    struct TCase {
        const char* name;
        std::function<void()> change;
    };
    const std::vector<TCase> cases = {
        {"Header.Height", [&] { header.SetHeight(40); }},
        {"Header.Style", [&] { header.SetStyle(hsFlatButtons); }},
        {"Header.FixedAreaConstraints.MaxWidthPercent", [&] { header.FixedAreaConstraints().SetMaxWidthPercent(60); }},
        {"Header.Columns", [] {}},   // stored while the tree is not being designed
        {"Header.ParentFont", [&] { header.SetParentFont(false); }},
        {"Header.Font.Name", [] {}},
        {"Width", [&] { column.SetWidth(90); }},
        {"Color", [&] { column.SetColor(0x0000FF); }},
        {"BiDiMode", [&] { column.SetBiDiMode(bdRightToLeft); }},
        {"CaptionAlignment", [&] { column.SetCaptionAlignment(plat::taCenter); }},
    };
    for (const TCase& each : cases) {
        each.change();
        EXPECT_NE(WriteTree(&tree).find(Str(each.name)), std::string::npos) << each.name;
    }
    EXPECT_EQ(ColumnItems(WriteTree(&tree)).find(Str("CaptionWidth")), std::string::npos) << "never stored";

    // In a designer only the tree stores the columns.
    TDesignedTree designed(nullptr);
    designed.SetName("DT");
    designed.Header()->Columns().Add()->SetText("Serial");
    designed.SetDesigning(true);
    const std::string form = WriteTree(&designed);
    EXPECT_EQ(form.find(Str("Header.Columns")), std::string::npos);
    EXPECT_NE(ColumnItems(form).find("Serial"), std::string::npos);
}

TEST_F(HeaderForm, DamagedColumnsAreRefusedWithAClearError)
{
    const std::string head = std::string("QCF1") + Str("TDataStringTree") + Str("DT") + Str("Columns");
    const std::string end = std::string(1, '\0') + '\0';
    const std::string item = std::string("\x0E\x01", 2);
    struct TCase {
        const char* name;
        std::string form;
        const char* message;
    };
    const std::vector<TCase> cases = {
        {"no collection", head + '\x02' + '\x05' + end, ""},
        {"unknown property", head + item + Str("Weight") + '\x02' + '\x05' + '\0' + '\0' + end,
         "Property Weight does not exist"},
        {"unknown alignment", head + item + Str("Alignment") + '\x0A' + Str("taMiddle") + '\0' + '\0' + end,
         "Invalid value for property Alignment"},
        {"unknown option", head + item + Str("Options") + '\x0B' + Str("coFloating") + '\0' + '\0' + '\0' + end,
         "Invalid value for property Options"},
        {"negative position", head + item + Str("Position") + '\x02' + '\xFF' + '\0' + '\0' + end,
         "Invalid value for property Position"},
        {"width as text", head + item + Str("Width") + '\x07' + std::string("\x01\0\0\0", 4) + "w" + '\0' + '\0' + end,
         ""},
        {"cut short", head + item + Str("Text") + '\x07' + std::string("\x09\0\0\0", 4) + "Ser", ""},
    };
    for (const TCase& each : cases) {
        try {
            ReadTree(each.form);
            ADD_FAILURE() << each.name << " was read";
        } catch (const plat::EReadError& error) {
            EXPECT_NE(std::string(error.what()), "") << each.name;
            EXPECT_NE(std::string(error.what()).find(each.message), std::string::npos)
                << each.name << ": " << error.what();
        }
    }
}

TEST_F(HeaderForm, ATreeMakesItsHeaderAndColumnsOfTheClassesItNames)
{
    TDataStringTree plain(nullptr);
    EXPECT_EQ(plain.GetHeaderClass(), TDTHeader::StaticClass());
    EXPECT_EQ(plain.GetColumnClass(), TDataTreeColumn::StaticClass());
    EXPECT_EQ(plain.Header()->ClassType(), TDTHeader::StaticClass());
    EXPECT_EQ(plain.Header()->Columns().ItemClass(), TDataTreeColumn::StaticClass());

    TNotedTree tree(nullptr);
    tree.SetName("DT");
    EXPECT_EQ(tree.Header()->ClassType(), TPlainHeader::StaticClass());
    EXPECT_EQ(tree.Header()->Columns().ClassType(), tree.Header()->GetColumnsClass());
    for (const char* note : {"serial number", "first sample"}) {
        auto* column = dynamic_cast<TNotedColumn*>(tree.Header()->Columns().Add());
        ASSERT_NE(column, nullptr);
        column->SetNote(note);
    }

    const std::unique_ptr<plat::TComponent> read = ReadTree(WriteTree(&tree));
    auto* loaded = dynamic_cast<TNotedTree*>(read.get());
    ASSERT_NE(loaded, nullptr);
    TDataTreeColumns& columns = loaded->Header()->Columns();
    ASSERT_EQ(columns.Count(), 2);
    const char* const notes[] = {"serial number", "first sample"};
    for (int i = 0; i < 2; ++i) {
        auto* column = dynamic_cast<TNotedColumn*>(columns[i]);
        ASSERT_NE(column, nullptr) << i;
        EXPECT_EQ(column->Note(), notes[i]);
    }
}

} // namespace
} // namespace qel::tree_test

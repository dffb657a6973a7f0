// The filer: round trips of every property kind through a memory stream,
// what is left out, children and their owners, Loaded after references are
// fixed up, and streams the reader must refuse without leaving anything
// half-built.
#include "tests/platform/objects/stream_test_classes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace stream_test;
using namespace std::string_literals;

const plat::TComponentState kReadingStates{plat::csLoading, plat::csReading};

class Filer : public ::testing::Test {
protected:
    void SetUp() override { RegisterStreamTestClasses(); }

    // A form "Form1" with the widgets "Widget1" and "Other" on it.
    static std::unique_ptr<TTestWidget> MakeForm()
    {
        auto form = std::make_unique<TTestWidget>(nullptr);
        form->SetName("Form1");
        for (const char* name : {"Widget1", "Other"}) {
            auto* widget = new TTestWidget(form.get());
            widget->SetName(name);
            widget->SetParentComponent(form.get());
        }
        return form;
    }

    static std::string Write(plat::TComponent* root) { return WriteRoot(root); }
    static void Read(const std::string& bytes, plat::TComponent* root) { ReadRoot(bytes, root); }

    // True when the stream holds the property name as written.
    static bool HasName(const std::string& bytes, const std::string& name)
    {
        return bytes.find(std::string(1, static_cast<char>(name.size())) + name) != std::string::npos;
    }
};

TEST_F(Filer, EveryPropertyKindRoundTrips)
{
    struct TCase {
        const char* Name;
        std::function<void(TTestWidget& widget, TTestWidget& other)> Set;
        std::function<void(const TTestWidget& widget, const TTestWidget& other)> Check;
        std::vector<std::string> Written;
    };
    const std::vector<TCase> cases = {
        {"integers of 8, 16, 32 and 64 bits",
         [](TTestWidget& w, TTestWidget&) {
             w.SetCount(-70000);
             w.SetSmall(-2);
             w.SetBig(std::int64_t{1} << 40);
         },
         [](const TTestWidget& w, const TTestWidget&) {
             EXPECT_EQ(w.Count(), -70000);
             EXPECT_EQ(w.Small(), -2);
             EXPECT_EQ(w.Big(), std::int64_t{1} << 40);
         },
         {"Count", "Small", "Big"}},
        {"property name longer than any value tag", [](TTestWidget& w, TTestWidget&) { w.SetThreshold(75); },
         [](const TTestWidget& w, const TTestWidget&) { EXPECT_EQ(w.Threshold(), 75); }, {"ThresholdInPercent"}},
        {"enumeration", [](TTestWidget& w, TTestWidget&) { w.SetAlign(alClient); },
         [](const TTestWidget& w, const TTestWidget&) { EXPECT_EQ(w.Align(), alClient); }, {"Align", "alClient"}},
        {"set in a sub-object", [](TTestWidget& w, TTestWidget&) { w.Font()->SetStyle({fsBold, fsUnderline}); },
         [](const TTestWidget& w, const TTestWidget&) {
             EXPECT_EQ(w.Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
         },
         {"Font.Style", "fsBold", "fsUnderline"}},
        {"UTF-8 string", [](TTestWidget& w, TTestWidget&) { w.SetCaption("Grüße, \"Welt\"\n"); },
         [](const TTestWidget& w, const TTestWidget&) { EXPECT_EQ(w.Caption(), "Grüße, \"Welt\"\n"); }, {"Caption"}},
        {"double", [](TTestWidget& w, TTestWidget&) { w.SetRatio(-2.5e-300); },
         [](const TTestWidget& w, const TTestWidget&) { EXPECT_EQ(w.Ratio(), -2.5e-300); }, {"Ratio"}},
        {"Boolean unlike its default", [](TTestWidget& w, TTestWidget&) { w.SetEnabled(false); },
         [](const TTestWidget& w, const TTestWidget&) { EXPECT_FALSE(w.Enabled()); }, {"Enabled"}},
        {"colour with a name", [](TTestWidget& w, TTestWidget&) { w.SetColor(clRed); },
         [](const TTestWidget& w, const TTestWidget&) { EXPECT_EQ(w.Color(), clRed); }, {"Color", "clRed"}},
        {"colour without a name", [](TTestWidget& w, TTestWidget&) { w.SetColor(0x123456); },
         [](const TTestWidget& w, const TTestWidget&) { EXPECT_EQ(w.Color(), 0x123456); }, {"Color"}},
        {"reference to a component read later", [](TTestWidget& w, TTestWidget& other) { w.SetBuddy(&other); },
         [](const TTestWidget& w, const TTestWidget& other) { EXPECT_EQ(w.Buddy(), &other); }, {"Buddy", "Other"}},
        {"reference to the root",
         [](TTestWidget& w, TTestWidget&) { w.SetBuddy(static_cast<TTestWidget*>(w.Owner())); },
         [](const TTestWidget& w, const TTestWidget&) { EXPECT_EQ(w.Buddy(), w.Owner()); }, {"Buddy", "Form1"}},
        {"sub-object",
         [](TTestWidget& w, TTestWidget&) {
             w.Font()->SetName("DejaVu Sans Mono");
             w.Font()->SetSize(14);
         },
         [](const TTestWidget& w, const TTestWidget&) {
             EXPECT_EQ(w.Font()->Name(), "DejaVu Sans Mono");
             EXPECT_EQ(w.Font()->Size(), 14);
             EXPECT_EQ(w.Font()->Style(), TFontStyles{});
         },
         {"Font.Name", "Font.Size"}},
        {"collection",
         [](TTestWidget& w, TTestWidget&) {
             auto* first = static_cast<TTestItem*>(w.Items()->Add());
             first->SetCaption("Time");
             auto* second = static_cast<TTestItem*>(w.Items()->Add());
             second->SetWidth(120);
             second->Font()->SetSize(8);
         },
         [](const TTestWidget& w, const TTestWidget&) {
             ASSERT_EQ(w.Items()->Count(), 2);
             const auto* first = static_cast<const TTestItem*>(w.Items()->Items(0));
             const auto* second = static_cast<const TTestItem*>(w.Items()->Items(1));
             EXPECT_EQ(first->Caption(), "Time");
             EXPECT_EQ(first->Width(), 50);
             EXPECT_EQ(second->Width(), 120);
             EXPECT_EQ(second->Font()->Size(), 8);
         },
         {"Items", "Caption", "Width", "Font.Size"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto form = MakeForm();
        c.Set(*static_cast<TTestWidget*>(form->Components(0)), *static_cast<TTestWidget*>(form->Components(1)));
        const std::string bytes = Write(form.get());
        for (const std::string& name : c.Written) {
            EXPECT_TRUE(HasName(bytes, name)) << name;
        }

        TTestWidget read(nullptr);
        Read(bytes, &read);
        EXPECT_EQ(read.Name(), "Form1");
        ASSERT_EQ(read.ComponentCount(), 2);
        const auto* widget = dynamic_cast<const TTestWidget*>(read.Components(0));
        const auto* other = dynamic_cast<const TTestWidget*>(read.Components(1));
        ASSERT_NE(widget, nullptr);
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(widget->Name(), "Widget1");
        EXPECT_EQ(widget->GetParentComponent(), &read);
        c.Check(*widget, *other);
        EXPECT_EQ(Write(&read), bytes);   // the read tree writes the same stream
    }
}

TEST_F(Filer, DefaultsAndPropertiesNotStoredWriteNothing)
{
    auto form = MakeForm();
    auto* widget = static_cast<TTestWidget*>(form->Components(0));
    widget->SetHidden(5);       // its stored predicate says no
    widget->SetSecret("pin");   // never stored
    widget->SetColor(clRed);    // one property that is written, as a witness
    const std::string bytes = Write(form.get());
    for (const char* name : {"Count", "Big", "Small", "Align", "Caption", "Ratio", "Enabled", "Buddy", "Font.Name",
                             "Font.Size", "Font.Style", "Font.Color", "Items", "Tag", "Hidden", "Secret"}) {
        EXPECT_FALSE(HasName(bytes, name)) << name;
    }
    EXPECT_TRUE(HasName(bytes, "Color"));

    TTestWidget read(nullptr);
    Read(bytes, &read);
    const auto* readWidget = static_cast<const TTestWidget*>(read.Components(0));
    EXPECT_EQ(readWidget->Hidden(), 0);
    EXPECT_EQ(readWidget->Secret(), "");
}

TEST_F(Filer, IntegersTakeTheSmallestSize)
{
    struct TCase {
        std::int64_t Value;
        plat::TValueType Tag;
        std::size_t Size;
    };
    using plat::TValueType;
    for (const TCase& c : {TCase{0, TValueType::vaInt8, 2}, TCase{127, TValueType::vaInt8, 2},
                           TCase{-128, TValueType::vaInt8, 2}, TCase{128, TValueType::vaInt16, 3},
                           TCase{-129, TValueType::vaInt16, 3}, TCase{32767, TValueType::vaInt16, 3},
                           TCase{32768, TValueType::vaInt32, 5}, TCase{INT32_MIN, TValueType::vaInt32, 5},
                           TCase{std::int64_t{INT32_MAX} + 1, TValueType::vaInt64, 9},
                           TCase{INT64_MIN, TValueType::vaInt64, 9}}) {
        SCOPED_TRACE(c.Value);
        plat::TMemoryStream stream;
        plat::TWriter writer(stream);
        writer.WriteInteger(c.Value);
        ASSERT_EQ(static_cast<std::size_t>(stream.Size()), c.Size);
        EXPECT_EQ(stream.Memory()[0], static_cast<std::uint8_t>(c.Tag));
        stream.SetPosition(0);
        plat::TReader reader(stream);
        EXPECT_EQ(reader.ReadInt64(), c.Value);
    }
}

TEST_F(Filer, ChildrenComeFromGetChildrenAndGoToTheOwnerItNames)
{
    for (const bool pagesStored : {true, false}) {
        SCOPED_TRACE(pagesStored ? "pages stored" : "pages not stored");
        auto form = MakeForm();
        auto* book = new TTestBook(form.get());
        book->SetName("Book1");
        book->SetPagesStored(pagesStored);
        for (const char* name : {"Page1", "Page2"}) {
            auto* page = new TTestWidget(book);
            page->SetName(name);
            page->SetParentComponent(book);
        }
        const std::string bytes = Write(form.get());

        TTestWidget read(nullptr);
        Read(bytes, &read);
        ASSERT_EQ(read.ComponentCount(), 3);
        auto* readBook = dynamic_cast<TTestBook*>(read.FindComponent("Book1"));
        ASSERT_NE(readBook, nullptr);
        ASSERT_EQ(readBook->ComponentCount(), pagesStored ? 2 : 0);
        if (pagesStored) {
            EXPECT_EQ(readBook->Components(1)->Name(), "Page2");
            EXPECT_EQ(readBook->Components(1)->GetParentComponent(), readBook);
            EXPECT_EQ(read.FindComponent("Page1"), nullptr);   // owned by the book, not the root
        }
    }
}

TEST_F(Filer, ReadingBuildsTheRootAndLoadsEveryComponentOnceAfterReferences)
{
    auto form = MakeForm();
    auto* widget = static_cast<TTestWidget*>(form->Components(0));
    widget->SetBuddy(static_cast<TTestWidget*>(form->Components(1)));
    const std::string bytes = Write(form.get());

    std::string log;
    TTestWidget into(nullptr);
    into.LoadLog = &log;
    Read(bytes, &into);
    EXPECT_EQ(log, "Form1;Widget1->Other;Other;");
    EXPECT_TRUE((into.ComponentState() * kReadingStates).Empty());
    EXPECT_TRUE((into.Components(0)->ComponentState() * kReadingStates).Empty());

    // Without a root the reader builds one of the class the stream names.
    std::unique_ptr<plat::TComponent> built(ReadRoot(bytes, nullptr));
    EXPECT_EQ(built->ClassType(), TTestWidget::StaticClass());
    EXPECT_EQ(built->ComponentCount(), 2);
}

TEST_F(Filer, RefusedStreamsRaiseAndFreeWhatWasBuilt)
{
    auto form = MakeForm();
    auto* widget = static_cast<TTestWidget*>(form->Components(0));
    widget->SetBuddy(static_cast<TTestWidget*>(form->Components(1)));
    widget->SetCaption("text");
    widget->Items()->Add();
    widget->Font()->SetStyle({fsItalic});
    const std::string good = Write(form.get());

    // Every cut of a good stream fails cleanly.
    for (std::size_t length = 0; length < good.size(); ++length) {
        TTestWidget into(nullptr);
        EXPECT_THROW(Read(good.substr(0, length), &into), plat::EReadError) << "cut at " << length;
        EXPECT_EQ(into.ComponentCount(), 0) << "cut at " << length;
        EXPECT_TRUE((into.ComponentState() * kReadingStates).Empty()) << "cut at " << length;
    }

    const auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string bytes = good;
        const auto at = bytes.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return bytes.replace(at, from.size(), to);
    };
    const auto str = [](const std::string& text) { return std::string(1, static_cast<char>(text.size())) + text; };
    struct TCase {
        const char* Name;
        std::string Bytes;
        bool ClassNotFound;
    };
    const std::vector<TCase> cases = {
        {"wrong signature", replaced("QCF1", "TPF0"), false},
        {"unknown class", replaced(str("TTestWidget") + str("Other"), str("TTestGadget") + str("Other")), true},
        {"registered class that is no component",
         replaced(str("TTestWidget") + str("Other"), str("TTestFont") + str("Other")), true},
        {"unknown property", replaced(str("Caption"), str("Caption2")), false},
        {"unknown enumeration value", replaced(str("fsItalic"), str("fsStrike")), false},
        {"unknown tag", replaced(str("Caption") + "\x07", str("Caption") + "\x3f"), false},
        {"string longer than the stream",
         replaced(str("Caption") + "\x07\x04\x00\x00\x00"s, str("Caption") + "\x07\x04\x00\x00\x01"s), false},
        {"duplicate component name", replaced(str("TTestWidget") + str("Other"), str("TTestWidget") + str("Widget1")),
         false},
        {"text that is not UTF-8", replaced("text", "t\xffxt"), false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestWidget into(nullptr);
        if (c.ClassNotFound) {
            EXPECT_THROW(Read(c.Bytes, &into), plat::EClassNotFound);
        } else {
            EXPECT_THROW(Read(c.Bytes, &into), plat::EReadError);
        }
        EXPECT_EQ(into.ComponentCount(), 0);
    }

    // A value out of a property's range: a 16-bit property given 40000.
    plat::TMemoryStream stream;
    plat::TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr("TTestWidget");
    writer.WriteStr("Form1");
    writer.WriteStr("Small");
    writer.WriteInteger(40000);
    writer.WriteListEnd();
    writer.WriteListEnd();
    stream.SetPosition(0);
    plat::TReader reader(stream);
    EXPECT_THROW(reader.ReadRootComponent(nullptr), plat::EReadError);
}

TEST_F(Filer, AReferenceOutsideTheTreeLeavesThePropertyUnset)
{
    auto form = MakeForm();
    auto* widget = static_cast<TTestWidget*>(form->Components(0));
    widget->SetBuddy(static_cast<TTestWidget*>(form->Components(1)));
    std::string bytes = Write(form.get());
    const std::string other = std::string(1, '\x05') + "Other";
    bytes.replace(bytes.find(std::string(1, '\x0a') + other), 7, std::string(1, '\x0a') + "\x05Ghost");
    TTestWidget read(nullptr);
    Read(bytes, &read);
    EXPECT_EQ(static_cast<TTestWidget*>(read.Components(0))->Buddy(), nullptr);
    EXPECT_EQ(read.ComponentCount(), 2);
}

TEST_F(Filer, NestingDeeperThan64IsRefused)
{
    for (const int depth : {63, 65}) {
        SCOPED_TRACE(depth);
        plat::TMemoryStream stream;
        plat::TWriter writer(stream);
        writer.WriteSignature();
        for (int level = 0; level <= depth; ++level) {   // the root and depth children, each inside the last
            writer.WriteStr("TTestWidget");
            writer.WriteStr("W" + std::to_string(level));
            writer.WriteListEnd();   // no properties
        }
        for (int level = 0; level <= depth; ++level) {
            writer.WriteListEnd();   // no more children
        }
        stream.SetPosition(0);
        plat::TReader reader(stream);
        if (depth < plat::kMaxStreamNesting) {
            std::unique_ptr<plat::TComponent> root(reader.ReadRootComponent(nullptr));
            EXPECT_EQ(root->ComponentCount(), depth);   // every widget is owned by the root
        } else {
            EXPECT_THROW(reader.ReadRootComponent(nullptr), plat::EReadError);
        }
    }
}

} // namespace

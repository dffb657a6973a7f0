// Stream properties classes define themselves: a command table streamed as
// its difference from the built-in one, readers that load older streams,
// raw-byte bounds, and a filter list of mixed item classes.
#include "platform/ascii_case.h"
#include "tests/platform/objects/stream_test_classes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using stream_test::ReadRoot;
using stream_test::WriteRoot;

std::string Str(const std::string& text)
{
    return std::string(1, static_cast<char>(text.size())) + text;
}

// --- A command table: built-in tables stream only their changes ---------

struct TCommand {
    int Keys;
    int Cmd;
    bool operator==(const TCommand&) const = default;
};

const std::vector<TCommand> kBuiltInCommands = {{0x0125, 1}, {0x0127, 2}, {0x0324, 3}, {0x0323, 4}};

class TTestCommands : public plat::TComponent {
    PLAT_CLASS(TTestCommands, plat::TComponent)
public:
    using TComponent::TComponent;

    std::string TableName = "Default";
    bool Active = true;
    std::vector<TCommand> Records = kBuiltInCommands;

protected:
    void DefineProperties(plat::TFiler& filer) override
    {
        TComponent::DefineProperties(filer);
        filer.DefineProperty(
            "CommandList", [this](plat::TReader& reader) { ReadCommands(reader); },
            [this](plat::TWriter& writer) { WriteCommands(writer); }, true);
    }

private:
    bool IsBuiltIn() const { return plat::SameText(TableName, "Default"); }

    void WriteCommands(plat::TWriter& writer) const
    {
        writer.WriteString(TableName);
        writer.WriteBoolean(Active);
        writer.WriteListBegin();
        const auto hasKeys = [](const std::vector<TCommand>& records, int keys) {
            return std::any_of(records.begin(), records.end(), [keys](const TCommand& c) { return c.Keys == keys; });
        };
        if (IsBuiltIn()) {
            for (const TCommand& builtIn : kBuiltInCommands) {
                if (!hasKeys(Records, builtIn.Keys)) {
                    writer.WriteInteger(builtIn.Keys);
                    writer.WriteInteger(0);
                }
            }
        }
        for (const TCommand& record : Records) {
            const bool unchanged = IsBuiltIn() && std::find(kBuiltInCommands.begin(), kBuiltInCommands.end(),
                                                            record) != kBuiltInCommands.end();
            if (!unchanged) {
                writer.WriteInteger(record.Keys);
                writer.WriteInteger(record.Cmd);
            }
        }
        writer.WriteListEnd();
    }

    void ReadCommands(plat::TReader& reader)
    {
        TableName = reader.ReadString();
        Active = reader.ReadBoolean();
        Records = IsBuiltIn() ? kBuiltInCommands : std::vector<TCommand>{};
        reader.ReadListBegin();
        while (!reader.EndOfList()) {
            const int keys = reader.ReadInteger();
            const int cmd = reader.ReadInteger();
            const auto found = std::find_if(Records.begin(), Records.end(),
                                            [keys](const TCommand& c) { return c.Keys == keys; });
            if (!IsBuiltIn() || found == Records.end()) {
                Records.push_back({keys, cmd});
            } else if (cmd != 0) {
                found->Cmd = cmd;
            } else {
                Records.erase(found);
            }
        }
        reader.ReadListEnd();
    }
};

PLAT_DEFINE_CLASS(TTestCommands, plat::TComponent)

TEST(DefinedProperties, BuiltInTableLessOneRecordStreamsAsOnePair)
{
    TTestCommands table(nullptr);
    table.Records.erase(table.Records.begin() + 2);   // drops Keys 0x0324
    const std::string bytes = WriteRoot(&table);
    // The name, Active, then one pair (Keys 0x0324, 0) in a list.
    const std::string expected = Str("CommandList") + "\x07\x07\x00\x00\x00"s + "Default" + "\x09" + "\x01" +
                                 "\x03\x24\x03" + "\x02\x00"s + "\x00"s;
    EXPECT_NE(bytes.find(expected), std::string::npos);

    TTestCommands read(nullptr);
    read.Records.clear();
    ReadRoot(bytes, &read);
    EXPECT_EQ(read.Records, table.Records);

    TTestCommands untouched(nullptr);   // no change: an empty list of pairs
    const std::string plain = WriteRoot(&untouched);
    const std::string noPairs = Str("CommandList") + "\x07\x07\x00\x00\x00"s + "Default\x09\x01" + "\x00"s;
    EXPECT_NE(plain.find(noPairs), std::string::npos);
}

// --- Readers that load older streams -------------------------------------

// Writes what streams of an older edition held.
class TOldEditor : public plat::TComponent {
    PLAT_CLASS(TOldEditor, plat::TComponent)
public:
    using TComponent::TComponent;

    int MarginValue = 12;
    bool WriteIdentKind = true;

protected:
    void DefineProperties(plat::TFiler& filer) override
    {
        filer.DefineProperty("UseDefault", {}, [](plat::TWriter& writer) { writer.WriteBoolean(true); }, true);
        filer.DefineProperty("Margin", {}, [this](plat::TWriter& writer) { writer.WriteInteger(MarginValue); }, true);
        filer.DefineProperty(
            "CheckImageKind", {},
            [this](plat::TWriter& writer) {
                if (WriteIdentKind) {
                    writer.WriteIdent("ckDarkTick");
                } else {
                    writer.WriteInteger(3);
                }
            },
            true);
    }
};

PLAT_DEFINE_CLASS(TOldEditor, plat::TComponent)

// Reads those properties and writes none of them.
class TNewEditor : public plat::TComponent {
    PLAT_CLASS(TNewEditor, plat::TComponent)
public:
    using TComponent::TComponent;

    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int margin) { FLeftMargin = margin; }
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int margin) { FRightMargin = margin; }

protected:
    void DefineProperties(plat::TFiler& filer) override
    {
        TComponent::DefineProperties(filer);
        filer.DefineProperty("UseDefault", [](plat::TReader& reader) { reader.ReadBoolean(); }, {}, false);
        filer.DefineProperty(
            "Margin",
            [this](plat::TReader& reader) {
                SetLeftMargin(reader.ReadInteger());
                SetRightMargin(LeftMargin());
            },
            {}, false);
        filer.DefineProperty(
            "CheckImageKind",
            [](plat::TReader& reader) {
                if (reader.NextValue() != plat::TValueType::vaIdent) {
                    throw std::logic_error("Assertion failed");
                }
                reader.ReadIdent();
            },
            {}, false);
    }

private:
    int FLeftMargin = 4;
    int FRightMargin = 4;
};

PLAT_DEFINE_CLASS(TNewEditor, plat::TComponent,
    plat::Published("LeftMargin", &TNewEditor::LeftMargin, &TNewEditor::SetLeftMargin).Default(4),
    plat::Published("RightMargin", &TNewEditor::RightMargin, &TNewEditor::SetRightMargin).Default(4))

TEST(DefinedProperties, ReadersOnlyLoadOlderStreams)
{
    TOldEditor old(nullptr);
    const std::string oldStream = WriteRoot(&old);
    TNewEditor editor(nullptr);
    ReadRoot(oldStream, &editor);
    EXPECT_EQ(editor.LeftMargin(), 12);
    EXPECT_EQ(editor.RightMargin(), 12);

    const std::string newStream = WriteRoot(&editor);
    for (const char* name : {"UseDefault", "Margin", "CheckImageKind"}) {
        EXPECT_EQ(newStream.find(Str(name)), std::string::npos) << name;
    }
    EXPECT_NE(newStream.find(Str("LeftMargin")), std::string::npos);

    // The identifier reader's own failure passes through as it is.
    old.WriteIdentKind = false;
    TNewEditor refused(nullptr);
    EXPECT_THROW(ReadRoot(WriteRoot(&old), &refused), std::logic_error);
}

// --- Raw-byte bounds -------------------------------------------------------

enum TFieldType { ftString = 0, ftInteger16 = 1, ftBoolean = 2, ftYesNo = 3, ftLongInt = 4 };

class TTestField : public plat::TComponent {
    PLAT_CLASS(TTestField, plat::TComponent)
public:
    using TComponent::TComponent;
    using TBound = std::array<std::uint8_t, 10>;

    int DataType() const { return FDataType; }
    void SetDataType(int type) { FDataType = type; }
    TBound RangeHigh{};
    TBound RangeLow{};

    // The bound as the integer its data type reads it as.
    static std::int64_t AsInteger(const TBound& bound)
    {
        std::int64_t value = 0;
        std::memcpy(&value, bound.data(), sizeof value);
        return value;
    }

protected:
    void DefineProperties(plat::TFiler& filer) override
    {
        TComponent::DefineProperties(filer);
        const bool stored = FDataType != ftString && FDataType != ftBoolean && FDataType != ftYesNo;
        filer.DefineBinaryProperty(
            "RangeHigh", [this](plat::TStream& stream) { ReadBound(stream, RangeHigh); },
            [this](plat::TStream& stream) { stream.WriteBuffer(RangeHigh.data(), RangeHigh.size()); }, stored);
        filer.DefineBinaryProperty(
            "RangeLow", [this](plat::TStream& stream) { ReadBound(stream, RangeLow); },
            [this](plat::TStream& stream) { stream.WriteBuffer(RangeLow.data(), RangeLow.size()); }, stored);
    }

private:
    void ReadBound(plat::TStream& stream, TBound& bound) const
    {
        stream.ReadBuffer(bound.data(), bound.size());
        std::int64_t value = 0;
        if (FDataType == ftInteger16) {
            std::int16_t small = 0;
            std::memcpy(&small, bound.data(), sizeof small);
            value = small;
        } else if (FDataType == ftLongInt) {
            std::int32_t wide = 0;
            std::memcpy(&wide, bound.data(), sizeof wide);
            value = wide;
        } else {
            return;
        }
        std::memcpy(bound.data(), &value, sizeof value);
    }

    int FDataType = ftString;
};

PLAT_DEFINE_CLASS(TTestField, plat::TComponent,
    plat::Published("DataType", &TTestField::DataType, &TTestField::SetDataType).Default(0))

TEST(DefinedProperties, RawByteBoundsAreTenBytesAndSignExtendByType)
{
    for (const int type : {ftString, ftBoolean, ftYesNo}) {
        TTestField field(nullptr);
        field.SetDataType(type);
        const std::string bytes = WriteRoot(&field);
        EXPECT_EQ(bytes.find(Str("RangeHigh")), std::string::npos) << type;
        EXPECT_EQ(bytes.find(Str("RangeLow")), std::string::npos) << type;
    }

    TTestField field(nullptr);
    field.SetDataType(ftInteger16);
    field.RangeHigh = {0xFF, 0xFF, 0x12, 0x34, 0, 0, 0, 0, 0, 0};
    field.RangeLow = {0x05, 0x00, 0xAA, 0, 0, 0, 0, 0, 0, 0};
    const std::string bytes = WriteRoot(&field);
    EXPECT_NE(bytes.find(Str("RangeHigh") + "\x0c\x0a" + std::string(3, '\0') + "\xff\xff\x12\x34"), std::string::npos);
    TTestField read(nullptr);
    ReadRoot(bytes, &read);
    EXPECT_EQ(TTestField::AsInteger(read.RangeHigh), -1);
    EXPECT_EQ(TTestField::AsInteger(read.RangeLow), 5);

    // Nine bytes where ten belong.
    std::string shortBound = bytes;
    const auto at = shortBound.find(Str("RangeLow") + "\x0c\x0a");
    shortBound[at + 10] = '\x09';
    shortBound.erase(at + 15, 1);
    TTestField refused(nullptr);
    EXPECT_THROW(ReadRoot(shortBound, &refused), plat::EReadError);
}

// --- A filter list of mixed item classes -----------------------------------

class TTestFilter : public plat::TCollectionItem {
    PLAT_CLASS(TTestFilter, plat::TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled) { FEnabled = enabled; }

private:
    bool FEnabled = true;
};

class TTestBlur : public TTestFilter {
    PLAT_CLASS(TTestBlur, TTestFilter)
public:
    using TTestFilter::TTestFilter;

    int Radius() const { return FRadius; }
    void SetRadius(int radius) { FRadius = radius; }

private:
    int FRadius = 1;
};

class TTestTint : public TTestFilter {
    PLAT_CLASS(TTestTint, TTestFilter)
public:
    using TTestFilter::TTestFilter;

    double Amount() const { return FAmount; }
    void SetAmount(double amount) { FAmount = amount; }

private:
    double FAmount = 0;
};

PLAT_DEFINE_CLASS(TTestFilter, plat::TCollectionItem,
    plat::Published("Enabled", &TTestFilter::Enabled, &TTestFilter::SetEnabled).Default(true))
PLAT_DEFINE_CLASS(TTestBlur, TTestFilter,
    plat::Published("Radius", &TTestBlur::Radius, &TTestBlur::SetRadius).Default(1))
PLAT_DEFINE_CLASS(TTestTint, TTestFilter, plat::Published("Amount", &TTestTint::Amount, &TTestTint::SetAmount))

// Streams its filters as "FilterItems", each item led by its class name.
class TTestPicture : public plat::TComponent {
    PLAT_CLASS(TTestPicture, plat::TComponent)
public:
    using TComponent::TComponent;

    plat::TCollection Filters{TTestFilter::StaticClass()};
    bool WriteIndexes = false;   // put each item's index before it, as some writers did

protected:
    void DefineProperties(plat::TFiler& filer) override
    {
        TComponent::DefineProperties(filer);
        filer.DefineProperty(
            "FilterItems", [this](plat::TReader& reader) { ReadFilters(reader); },
            [this](plat::TWriter& writer) { WriteFilters(writer); }, Filters.Count() > 0);
    }

private:
    void WriteFilters(plat::TWriter& writer) const
    {
        writer.WriteValue(plat::TValueType::vaCollection);
        const std::string outerPath = writer.PropPathPrefix();
        for (int index = 0; index < Filters.Count(); ++index) {
            if (WriteIndexes) {
                writer.WriteInteger(index);
            }
            writer.WriteListBegin();
            writer.SetPropPathPrefix({});
            writer.WritePropName("ItemClass");
            writer.WriteString(Filters.Items(index)->ClassName());
            writer.WriteProperties(Filters.Items(index));
            writer.WriteListEnd();
        }
        writer.SetPropPathPrefix(outerPath);
        writer.WriteListEnd();
    }

    void ReadFilters(plat::TReader& reader)
    {
        Filters.BeginUpdate();
        try {
            if (reader.NextValue() != plat::TValueType::vaNull) {
                Filters.Clear();
            }
            reader.ReadValue();
            while (!reader.EndOfList()) {
                const plat::TValueType next = reader.NextValue();
                if (next == plat::TValueType::vaInt8 || next == plat::TValueType::vaInt16 ||
                    next == plat::TValueType::vaInt32) {
                    reader.ReadInteger();
                }
                reader.ReadListBegin();
                reader.ReadStr();   // "ItemClass", not compared
                const plat::TClass cls = plat::FindClass(reader.ReadString(), TTestFilter::StaticClass());
                plat::TCollectionItem* filter = Filters.Add(cls);
                while (!reader.EndOfList()) {
                    reader.ReadProperty(filter);
                }
                reader.ReadListEnd();
            }
            reader.ReadListEnd();
        } catch (...) {
            Filters.EndUpdate();
            throw;
        }
        Filters.EndUpdate();
    }
};

PLAT_DEFINE_CLASS(TTestPicture, plat::TComponent)

class FilterItems : public ::testing::Test {
protected:
    void SetUp() override { plat::RegisterClasses({TTestBlur::StaticClass(), TTestTint::StaticClass()}); }

    static std::unique_ptr<TTestPicture> TwoFilters()
    {
        auto picture = std::make_unique<TTestPicture>(nullptr);
        static_cast<TTestBlur*>(picture->Filters.Add(TTestBlur::StaticClass()))->SetRadius(3);
        auto* tint = static_cast<TTestTint*>(picture->Filters.Add(TTestTint::StaticClass()));
        tint->SetAmount(0.25);
        tint->SetEnabled(false);
        return picture;
    }
};

TEST_F(FilterItems, TwoFiltersComeBackOfTheirClassesWithTheirProperties)
{
    for (const bool indexes : {false, true}) {
        SCOPED_TRACE(indexes ? "with leading indexes" : "plain");
        auto picture = TwoFilters();
        picture->WriteIndexes = indexes;
        const std::string bytes = WriteRoot(picture.get());
        EXPECT_NE(bytes.find(Str("FilterItems") + "\x0e"), std::string::npos);

        TTestPicture read(nullptr);
        read.Filters.Add(TTestTint::StaticClass());   // replaced by the stream's
        ReadRoot(bytes, &read);
        ASSERT_EQ(read.Filters.Count(), 2);
        const auto* blur = dynamic_cast<const TTestBlur*>(read.Filters.Items(0));
        const auto* tint = dynamic_cast<const TTestTint*>(read.Filters.Items(1));
        ASSERT_NE(blur, nullptr);
        ASSERT_NE(tint, nullptr);
        EXPECT_EQ(blur->Radius(), 3);
        EXPECT_TRUE(blur->Enabled());
        EXPECT_EQ(tint->Amount(), 0.25);
        EXPECT_FALSE(tint->Enabled());
    }

    TTestPicture empty(nullptr);
    EXPECT_EQ(WriteRoot(&empty).find(Str("FilterItems")), std::string::npos);
}

TEST_F(FilterItems, AnUnknownClassEndsTheUpdateAndKeepsTheFiltersBefore)
{
    auto picture = TwoFilters();
    std::string bytes = WriteRoot(picture.get());
    const auto at = bytes.find("TTestTint");
    bytes.replace(at, 9, "TTestTone");
    TTestPicture read(nullptr);
    EXPECT_THROW(ReadRoot(bytes, &read), plat::EClassNotFound);
    EXPECT_EQ(read.Filters.UpdateCount(), 0);
    ASSERT_EQ(read.Filters.Count(), 1);
    EXPECT_EQ(static_cast<const TTestBlur*>(read.Filters.Items(0))->Radius(), 3);

    // A registered class of another kind is refused the same way.
    bytes.replace(at, 9, "TTestItem");
    stream_test::RegisterStreamTestClasses();
    TTestPicture other(nullptr);
    EXPECT_THROW(ReadRoot(bytes, &other), plat::EClassNotFound);
}

} // namespace

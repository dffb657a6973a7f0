// Tests of the command tables and the command processor: the built-in
// tables, translation by key and shift state, table operations and their
// errors, unique table names, scan priority, the text file of a table and
// the component-stream form of the table list.
#include "widgets/pages/pgc_builtin_command_tables.h"
#include "widgets/pages/pgc_command_codes.h"
#include "widgets/pages/pgc_command_processor.h"
#include "widgets/pages/pgc_exceptions.h"

#include "platform/object_list.h"
#include "platform/objects/component.h"
#include "platform/objects/reader.h"
#include "platform/objects/text_file.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qel {
namespace {

using plat::ssAlt;
using plat::ssCtrl;
using plat::ssShift;

std::vector<std::string> TableNames(const TPgcCommandProcessor& processor)
{
    std::vector<std::string> names;
    for (int index = 0; index < processor.Count(); ++index) {
        names.push_back(processor.Table(index)->TableName());
    }
    return names;
}

std::vector<TPgcCmdRec> RecordsOf(const TPgcCommandTable& table)
{
    std::vector<TPgcCmdRec> records;
    for (int index = 0; index < table.Count(); ++index) {
        records.push_back(table.Commands(index));
    }
    return records;
}

bool SameRecords(const std::vector<TPgcCmdRec>& a, std::span<const TPgcCmdRec> b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const TPgcCmdRec& x, const TPgcCmdRec& y) {
        return x.Keys() == y.Keys() && x.Cmd == y.Cmd;
    });
}

TEST(PgcCommandProcessor, StartsWithTheThreeBuiltInTables)
{
    TPgcCommandProcessor processor;
    EXPECT_EQ(TableNames(processor), (std::vector<std::string>{"Default", "WordStar", "Grid"}));
    const std::pair<int, bool> expected[] = {{64, true}, {40, false}, {38, false}};
    for (int index = 0; index < 3; ++index) {
        const TPgcCommandTable& table = *processor.Table(index);
        EXPECT_EQ(table.Count(), expected[index].first) << table.TableName();
        EXPECT_EQ(table.IsActive(), expected[index].second) << table.TableName();
        EXPECT_TRUE(SameRecords(RecordsOf(table), BuiltinCommandTables()[static_cast<std::size_t>(index)].Records));
    }
    std::uint8_t key = 1;
    std::uint8_t shift = 1;
    EXPECT_EQ(processor.GetState(key, shift), stNone);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(shift, 0);
}

TEST(PgcCommandProcessor, TranslateKeyBuildsTheShiftByteAndTestsModifiersOnTheWholeKey)
{
    TPgcCommandProcessor processor;
    struct TCase {
        const char* What;
        std::uint16_t Key;
        plat::TShiftState Shift;
        std::uint16_t Expected;
    };
    const TCase cases[] = {
        {"Ctrl+Shift+Left", 37, {ssCtrl, ssShift}, ccExtWordLeft},
        {"Alt+Backspace", 8, {ssAlt}, ccRestore},
        {"Ctrl+Alt+Left binds nothing", 37, {ssCtrl, ssAlt}, ccPlainKey},
        {"Caps Lock is a modifier", 20, {}, ccPlainKey},
        {"the table scan uses the low byte", 0x125, {}, ccLeft},
        {"0x110 is no modifier but scans as 16", 0x110, {}, ccPlainKey},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(processor.TranslateKey(c.Key, c.Shift), c.Expected) << c.What;
    }
}

TEST(PgcCommandProcessor, TranslateUsingScansTheNamedTablesActiveOrNot)
{
    TPgcCommandProcessor processor;
    EXPECT_EQ(processor.TranslateKeyUsing({"Nothing", "Grid"}, 'Z', {ssCtrl}), ccRestore);
    EXPECT_EQ(processor.TranslateKeyUsing({"wordstar", "Grid"}, 'Z', {ssCtrl}), ccScrollDown);
    EXPECT_EQ(processor.TranslateKeyUsing({}, 37, {}), ccPlainKey);
    // A pending prefix from the named tables, then a break.
    EXPECT_EQ(processor.TranslateKeyUsing({"WordStar"}, 'K', {ssCtrl}), ccPartialKey);
    EXPECT_EQ(processor.TranslateKeyUsing({"WordStar"}, 'X', {}), ccBrokenSequence);
    EXPECT_EQ(processor.TranslateKey('K', {ssCtrl}), ccPlainKey) << "WordStar is not active";
}

TEST(PgcCommandProcessor, FailedOperationsRaiseAndChangeNothing)
{
    TPgcCommandProcessor processor;
    EXPECT_THROW(processor.AddCommand("Default", 37, 0, 0, 0, ccRight), EDuplicateCommand);
    EXPECT_THROW(processor.AddCommand("Nowhere", 37, 0, 0, 0, ccRight), ETableNotFound);
    EXPECT_THROW(processor.DeleteCommand("Nowhere", 37, 0, 0, 0), ETableNotFound);
    EXPECT_THROW(processor.ChangeTableName("Nowhere", "X"), ETableNotFound);
    EXPECT_THROW(processor.DeleteCommandTable("Nowhere"), ETableNotFound);
    EXPECT_THROW(processor.GetCommandCount("Nowhere"), ETableNotFound);
    EXPECT_THROW(processor.Delete(3), ETableNotFound);
    EXPECT_THROW(processor.Delete(-1), ETableNotFound);
    EXPECT_THROW(processor.Table(3), ETableNotFound);
    EXPECT_EQ(TableNames(processor), (std::vector<std::string>{"Default", "WordStar", "Grid"}));
    EXPECT_EQ(processor.GetCommandCount("default"), 64);
    EXPECT_EQ(processor.TranslateKey(37, {}), ccLeft);
    try {
        processor.AddCommand("Default", 37, 0, 0, 0, ccRight);
    } catch (const EDuplicateCommand& error) {
        EXPECT_STREQ(error.what(), "Duplicate command found while adding a new command to the table");
    }
}

TEST(PgcCommandProcessor, CommandsAddAndDeleteByKeys)
{
    TPgcCommandProcessor processor;
    processor.AddCommand("Default", 'K', 4, 'B', 128, ccDelBol);
    EXPECT_EQ(processor.GetCommandCount("Default"), 65);
    EXPECT_EQ(processor.TranslateKey('K', {ssCtrl}), ccPartialKey);
    EXPECT_EQ(processor.TranslateKey('B', {ssCtrl}), ccDelBol);
    processor.DeleteCommand("Default", 'K', 4, 'B', 128);
    processor.DeleteCommand("Default", 'K', 4, 'B', 128);   // gone already: nothing
    EXPECT_EQ(processor.GetCommandCount("Default"), 64);
    EXPECT_EQ(processor.TranslateKey('K', {ssCtrl}), ccPlainKey);
    processor.ChangeTableName("grid", "Cells");
    EXPECT_EQ(processor.GetCommandTableIndex("CELLS"), 2);
    processor.DeleteCommandTable("Cells");
    EXPECT_EQ(processor.Count(), 2);
}

TEST(PgcCommandProcessor, AddedTablesGetUniqueNames)
{
    struct TCase {
        std::vector<std::string> Added;   // in order; the last one is checked
        std::string Expected;
    };
    const TCase cases[] = {
        {{"Default1"}, "Default1"},
        {{"Default"}, "Default1"},
        {{"Default1", "Default1"}, "Default2"},
        {{"Default7"}, "Default1"},
        {{"grid"}, "grid1"},
        {{"Mine"}, "Mine"},
        {{"Mine", "Mine"}, "Mine1"},
        {{"42"}, "42"},
        {{"My7", "My7"}, "My7"},
        {{"My", "My7"}, "My1"},
    };
    for (const TCase& c : cases) {
        TPgcCommandProcessor processor;
        int index = -1;
        for (const std::string& name : c.Added) {
            index = processor.CreateCommandTable(name, true);
        }
        EXPECT_EQ(processor.Table(index)->TableName(), c.Expected) << "last added " << c.Added.back();
    }
}

TEST(PgcCommandProcessor, ScanPriorityPlacesAllButTheLastName)
{
    struct TCase {
        std::vector<std::string> Names;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {{"Grid", "Default", "T"}, {"Grid", "Default", "WordStar", "T"}},
        {{"Nothing", "Grid", "WordStar"}, {"Default", "Grid", "WordStar", "T"}},
        {{"T"}, {"Default", "WordStar", "Grid", "T"}},
        {{"T", "Grid", "WordStar", "Default", "x", "y"}, {"T", "Grid", "WordStar", "Default"}},
    };
    for (const TCase& c : cases) {
        TPgcCommandProcessor processor;
        processor.CreateCommandTable("T", false);
        processor.SetScanPriority(c.Names);
        EXPECT_EQ(TableNames(processor), c.Expected) << "first name " << c.Names.front();
    }
}

TEST(PgcCommandTable, RecordOperations)
{
    TPgcCommandTable table;
    EXPECT_EQ(table.TableName(), "(Unknown)");
    EXPECT_TRUE(table.IsActive());
    table.AddRec({37, 0, 0, 0, ccLeft});
    table.AddRec({39, 0, 0, 0, ccRight});
    table.InsertRec(0, {36, 0, 0, 0, ccHome});
    table.AddRec({37, 0, 0, 0, ccWordLeft});   // no duplicate check here
    auto keysInOrder = [&table] {
        std::vector<int> keys;
        for (const TPgcCmdRec& rec : RecordsOf(table)) {
            keys.push_back(rec.Key1 * 1000 + rec.Cmd);
        }
        return keys;
    };
    EXPECT_EQ(keysInOrder(), (std::vector<int>{36042, 37046, 39055, 37074}));
    EXPECT_EQ(table.IndexOf({37, 0, 0, 0, ccUp}), 1) << "keys alone decide";
    EXPECT_EQ(table.IndexOf({37, 4, 0, 0, ccLeft}), -1);
    table.Exchange(0, 2);
    table.Move(3, 0);
    table.Move(1, 1);
    EXPECT_EQ(keysInOrder(), (std::vector<int>{37074, 39055, 37046, 36042}));
    table.Delete(0);
    table.SetCommands(0, {40, 0, 0, 0, ccDown});
    EXPECT_EQ(keysInOrder(), (std::vector<int>{40015, 37046, 36042}));
    EXPECT_THROW(table.Delete(3), plat::EListError);
    EXPECT_THROW(table.Commands(-1), plat::EListError);
    EXPECT_THROW(table.InsertRec(4, {}), plat::EListError);
    table.Clear();
    EXPECT_EQ(table.Count(), 0);
}

class PgcCommandTableFile : public ::testing::Test {
protected:
    qeltest::TempDir Dir;
};

TEST_F(PgcCommandTableFile, SavedTextLoadsBackEqualAndActive)
{
    TPgcCommandProcessor processor;
    const int index = processor.CreateCommandTable("Mine", false);
    processor.AddCommand("Mine", 37, 0, 0, 0, ccLeft);
    processor.AddCommand("Mine", 81, 4, 83, 128, ccHome);
    processor.AddCommand("Mine", 255, 14, 7, 2, 65535);
    const std::string file = Dir.File("mine.tbl");
    processor.SaveCommandTable("Mine", file);
    EXPECT_EQ(qeltest::ReadWholeFile(file), "Mine\r\n"
                                             "  37   0   0   0    46\r\n"
                                             "  81   4  83 128    42\r\n"
                                             " 255  14   7   2 65535\r\n");
    processor.SaveCommandTable("Nowhere", Dir.File("none.tbl"));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("none.tbl")));
    EXPECT_THROW(processor.SaveCommandTable("Mine", Dir.File("no/such/folder.tbl")), plat::EInOutError);

    processor.DeleteCommandTable("Mine");
    const int loaded = processor.LoadCommandTable(file);
    EXPECT_EQ(loaded, index);
    const TPgcCommandTable& table = *processor.Table(loaded);
    EXPECT_EQ(table.TableName(), "Mine");
    EXPECT_TRUE(table.IsActive());
    const TPgcCmdRec expected[] = {{37, 0, 0, 0, 46}, {81, 4, 83, 128, 42}, {255, 14, 7, 2, 65535}};
    EXPECT_TRUE(SameRecords(RecordsOf(table), expected));
}

TEST_F(PgcCommandTableFile, BadFilesRaiseInputOutputErrorsAndChangeNothing)
{
    const struct {
        const char* What;
        const char* Text;   // nullptr: the file does not exist
    } cases[] = {
        {"missing file", nullptr},
        {"letters for a number", "T\r\n  37   0   0   0   xx\r\n"},
        {"four numbers", "T\r\n  37   0   0   0\r\n"},
        {"six numbers", "T\r\n  37   0   0   0  46  1\r\n"},
        {"key beyond a byte", "T\r\n 256   0   0   0  46\r\n"},
        {"negative command", "T\r\n  37   0   0   0  -1\r\n"},
        {"command beyond 16 bits", "T\r\n  37   0   0   0 65536\r\n"},
    };
    for (const auto& c : cases) {
        const std::string file = Dir.File("bad.tbl");
        std::filesystem::remove(file);
        if (c.Text != nullptr) {
            qeltest::WriteWholeFile(file, c.Text);
        }
        TPgcCommandProcessor processor;
        EXPECT_THROW(processor.LoadCommandTable(file), plat::EInOutError) << c.What;
        EXPECT_EQ(processor.Count(), 3) << c.What;
        TPgcCommandTable& table = *processor.Table(0);
        EXPECT_THROW(table.LoadFromFile(file), plat::EInOutError) << c.What;
        EXPECT_EQ(table.TableName(), "Default") << c.What;
        EXPECT_EQ(table.Count(), 64) << c.What;
    }
}

TEST_F(PgcCommandTableFile, BlankLinesAndLineFeedsAlone)
{
    const std::string file = Dir.File("lf.tbl");
    qeltest::WriteWholeFile(file, "Unix\n  37   0   0   0    46\n\n 9 4 0 0 68");
    TPgcCommandTable table;
    table.SetIsActive(false);
    table.LoadFromFile(file);
    EXPECT_EQ(table.TableName(), "Unix");
    EXPECT_FALSE(table.IsActive()) << "the flag is not stored in the file";
    const TPgcCmdRec expected[] = {{37, 0, 0, 0, 46}, {9, 4, 0, 0, 68}};
    EXPECT_TRUE(SameRecords(RecordsOf(table), expected));
}

// A component that publishes a processor, as a controller does.
class TProcessorHolder : public plat::TComponent {
    PLAT_CLASS(TProcessorHolder, plat::TComponent)
public:
    explicit TProcessorHolder(plat::TComponent* owner) : plat::TComponent(owner) {}
    TPgcCommandProcessor* Commands() const { return FCommands.get(); }

private:
    std::unique_ptr<TPgcCommandProcessor> FCommands = std::make_unique<TPgcCommandProcessor>();
};

PLAT_DEFINE_CLASS(TProcessorHolder, plat::TComponent,
                  plat::Published("EntryCommands", &TProcessorHolder::Commands, nullptr))

struct TStreamedTable {
    std::string Name;
    bool Active;
    std::vector<std::pair<std::int32_t, std::int32_t>> Pairs;
};

void WriteHolder(TProcessorHolder& holder, plat::TMemoryStream& stream)
{
    plat::TWriter writer(stream);
    writer.WriteRootComponent(&holder);
    stream.SetPosition(0);
}

// The table list as the stream holds it, read value by value.
std::vector<TStreamedTable> StreamedTableList(plat::TMemoryStream& stream)
{
    plat::TReader reader(stream);
    reader.ReadSignature();
    reader.ReadStr();
    reader.ReadStr();
    std::vector<TStreamedTable> tables;
    while (!reader.EndOfList()) {
        const std::string property = reader.ReadStr();
        if (property != "EntryCommands.TableList") {
            reader.SkipValue();
            continue;
        }
        reader.ReadListBegin();
        while (!reader.EndOfList()) {
            TStreamedTable table;
            table.Name = reader.ReadString();
            table.Active = reader.ReadBoolean();
            reader.ReadListBegin();
            while (!reader.EndOfList()) {
                const std::int32_t keys = reader.ReadInteger();
                table.Pairs.emplace_back(keys, reader.ReadInteger());
            }
            reader.ReadListEnd();
            tables.push_back(table);
        }
        reader.ReadListEnd();
    }
    stream.SetPosition(0);
    return tables;
}

TEST(PgcCommandProcessorStream, ABuiltInTableWritesOnlyItsDifference)
{
    TProcessorHolder holder(nullptr);
    holder.Commands()->DeleteCommand("Default", 90, 4, 0, 0);   // Ctrl+Z
    plat::TMemoryStream stream;
    WriteHolder(holder, stream);
    const std::vector<TStreamedTable> tables = StreamedTableList(stream);
    ASSERT_EQ(tables.size(), 3u);
    EXPECT_EQ(tables[0].Name, "Default");
    EXPECT_TRUE(tables[0].Active);
    ASSERT_EQ(tables[0].Pairs.size(), 1u);
    EXPECT_EQ(tables[0].Pairs[0], (std::pair<std::int32_t, std::int32_t>{90 | 4 << 8, 0}));
    EXPECT_TRUE(tables[1].Pairs.empty());
    EXPECT_FALSE(tables[1].Active);
    EXPECT_TRUE(tables[2].Pairs.empty());

    TProcessorHolder copy(nullptr);
    copy.Commands()->Clear();
    plat::TReader reader(stream);
    reader.ReadRootComponent(&copy);
    EXPECT_EQ(TableNames(*copy.Commands()), (std::vector<std::string>{"Default", "WordStar", "Grid"}));
    for (int index = 0; index < 3; ++index) {
        EXPECT_TRUE(SameRecords(RecordsOf(*copy.Commands()->Table(index)),
                                RecordsOf(*holder.Commands()->Table(index))))
            << index;
    }
    EXPECT_EQ(copy.Commands()->GetCommandCount("Default"), 63);
    EXPECT_EQ(copy.Commands()->TranslateKey('Z', {ssCtrl}), ccPlainKey);
}

TEST(PgcCommandProcessorStream, ChangedAndOwnTablesComeBackWithTheirFlags)
{
    TProcessorHolder holder(nullptr);
    TPgcCommandProcessor& commands = *holder.Commands();
    commands.DeleteCommand("Grid", 113, 0, 0, 0);
    commands.AddCommand("Grid", 'E', 4, 0, 0, ccTableEdit);
    commands.Table(1)->SetIsActive(true);
    commands.Table(0)->SetCommands(0, {37, 0, 0, 0, ccHome});   // Left rebound
    commands.CreateCommandTable("Mine", false);
    commands.AddCommand("Mine", 81, 4, 83, 128, ccHome);
    commands.AddCommand("Mine", 37, 0, 0, 0, 65535);
    commands.SetScanPriority({"Mine", "Grid"});
    plat::TMemoryStream stream;
    WriteHolder(holder, stream);
    const std::vector<TStreamedTable> tables = StreamedTableList(stream);
    ASSERT_EQ(tables.size(), 4u);
    EXPECT_EQ(tables[0].Name, "Mine");
    EXPECT_EQ(tables[0].Pairs.size(), 2u) << "own tables write every record";
    EXPECT_EQ(tables[0].Pairs[0].first, static_cast<std::int32_t>(0x80530451u)) << "Keys as a signed 32-bit value";
    EXPECT_EQ(tables[2].Name, "Grid");
    EXPECT_EQ(tables[2].Pairs.size(), 2u) << "one deleted and one added binding";
    EXPECT_EQ(tables[3].Name, "Default");
    EXPECT_EQ(tables[3].Pairs.size(), 1u) << "the rebound key";

    TProcessorHolder copy(nullptr);
    plat::TReader reader(stream);
    reader.ReadRootComponent(&copy);
    ASSERT_EQ(TableNames(*copy.Commands()), TableNames(commands));
    for (int index = 0; index < commands.Count(); ++index) {
        EXPECT_EQ(copy.Commands()->Table(index)->IsActive(), commands.Table(index)->IsActive()) << index;
        EXPECT_TRUE(SameRecords(RecordsOf(*copy.Commands()->Table(index)), RecordsOf(*commands.Table(index)))) << index;
    }
}

TEST(PgcCommandProcessorStream, ADamagedTableListLeavesTheProcessorAsItWas)
{
    TProcessorHolder holder(nullptr);
    holder.Commands()->CreateCommandTable("Mine", true);
    holder.Commands()->AddCommand("Mine", 37, 0, 0, 0, ccLeft);
    plat::TMemoryStream stream;
    WriteHolder(holder, stream);
    // The command 46 (ccLeft) of the one record becomes 70000.
    std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
    stream.ReadBuffer(bytes.data(), stream.Size());
    const std::string small = {'\x02', '\x2E'};   // an 8-bit integer 46
    const std::size_t at = bytes.rfind(small);
    ASSERT_NE(at, std::string::npos);
    const std::string large = {'\x04', '\x70', '\x11', '\x01', '\x00'};   // a 32-bit 70000
    bytes.replace(at, small.size(), large);
    plat::TMemoryStream damaged;
    damaged.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    damaged.SetPosition(0);

    TProcessorHolder copy(nullptr);
    plat::TReader reader(damaged);
    try {
        reader.ReadRootComponent(&copy);
        ADD_FAILURE() << "the damaged stream was read";
    } catch (const plat::EReadError& error) {
        EXPECT_NE(std::string(error.what()).find("Invalid command code 70000"), std::string::npos) << error.what();
    }
    EXPECT_EQ(TableNames(*copy.Commands()), (std::vector<std::string>{"Default", "WordStar", "Grid"}));
}

} // namespace
} // namespace qel

// TPgcCommandProcessor: the table list, key translation and streaming.
#include "widgets/pages/pgc_command_processor.h"

#include "widgets/pages/pgc_builtin_command_tables.h"
#include "widgets/pages/pgc_command_codes.h"
#include "widgets/pages/pgc_exceptions.h"
#include "widgets/pages/pgc_input.h"

#include "platform/objects/reader.h"
#include "platform/objects/writer.h"

#include <algorithm>

namespace qel {

PLAT_DEFINE_CLASS(TPgcCommandProcessor, plat::TPersistent)

namespace {

bool IsModifierKey(std::uint16_t Key)
{
    switch (Key) {
    case 16:    // Shift
    case 17:    // Ctrl
    case 18:    // Alt
    case 20:    // Caps Lock
    case 144:   // Num Lock
    case 145:   // Scroll Lock
        return true;
    default:
        return false;
    }
}

std::uint8_t ShiftByteOf(plat::TShiftState ShiftState)
{
    return static_cast<std::uint8_t>((ShiftState.Contains(plat::ssCtrl) ? ssCtrlByte : 0)
        | (ShiftState.Contains(plat::ssShift) ? ssShiftByte : 0) | (ShiftState.Contains(plat::ssAlt) ? ssAltByte : 0));
}

std::uint8_t KeyOfMessage(const plat::TMessage& Msg)
{
    return static_cast<std::uint8_t>(Msg.WParam & 0xFF);
}

bool SecondShiftMatches(std::uint8_t RecordShift, std::uint8_t Shift)
{
    return RecordShift == Shift || (RecordShift == ssCtrlOrNone && (Shift == 0 || Shift == ssCtrlByte));
}

// The name without its trailing digits, keeping at least the first character.
std::string NameBase(const std::string& Name)
{
    std::size_t length = Name.size();
    while (length > 1 && Name[length - 1] >= '0' && Name[length - 1] <= '9') {
        --length;
    }
    return Name.substr(0, length);
}

} // namespace

TPgcCommandProcessor::TPgcCommandProcessor()
{
    for (const TPgcBuiltinCommandTable& builtin : BuiltinCommandTables()) {
        const std::string name = BuiltinTableName(builtin);
        CreateCommandTable(name, builtin.Active);
        for (const TPgcCmdRec& rec : builtin.Records) {
            AddCommandRec(name, rec);
        }
    }
    ResetCommandProcessor();
}

TPgcCommandProcessor::~TPgcCommandProcessor() = default;

void TPgcCommandProcessor::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count()) {
        throw ETableNotFound();
    }
}

TPgcCommandTable* TPgcCommandProcessor::Table(int Index) const
{
    CheckIndex(Index);
    return FTableList[static_cast<std::size_t>(Index)].get();
}

void TPgcCommandProcessor::SetTable(int Index, std::unique_ptr<TPgcCommandTable> Value)
{
    CheckIndex(Index);
    FTableList[static_cast<std::size_t>(Index)] = std::move(Value);
}

void TPgcCommandProcessor::MakeNameUnique(TPgcCommandTable& Table) const
{
    const std::string base = NameBase(Table.TableName());
    std::string candidate = base;
    int counter = 0;
    while (GetCommandTable(candidate) != nullptr) {
        candidate = base + std::to_string(++counter);
    }
    // Only a taken base renames the table: "My7" added beside "My7" keeps its
    // name, since no table is named "My".
    if (counter > 0) {
        Table.SetTableName(candidate);
    }
}

int TPgcCommandProcessor::Add(std::unique_ptr<TPgcCommandTable> Table)
{
    MakeNameUnique(*Table);
    FTableList.push_back(std::move(Table));
    return Count() - 1;
}

int TPgcCommandProcessor::CreateCommandTable(const std::string& TableName, bool Active)
{
    auto table = std::make_unique<TPgcCommandTable>();
    table->SetTableName(TableName);
    table->SetIsActive(Active);
    return Add(std::move(table));
}

TPgcCommandTable& TPgcCommandProcessor::TableNamed(const std::string& TableName) const
{
    TPgcCommandTable* table = GetCommandTable(TableName);
    if (table == nullptr) {
        throw ETableNotFound();
    }
    return *table;
}

void TPgcCommandProcessor::AddCommand(const std::string& TableName, std::uint8_t Key1, std::uint8_t ShiftState1,
                                      std::uint8_t Key2, std::uint8_t ShiftState2, std::uint16_t Command)
{
    AddCommandRec(TableName, TPgcCmdRec{Key1, ShiftState1, Key2, ShiftState2, Command});
}

void TPgcCommandProcessor::AddCommandRec(const std::string& TableName, const TPgcCmdRec& Rec)
{
    TPgcCommandTable& table = TableNamed(TableName);
    if (table.IndexOf(Rec) >= 0) {
        throw EDuplicateCommand();
    }
    table.AddRec(Rec);
}

void TPgcCommandProcessor::DeleteCommand(const std::string& TableName, std::uint8_t Key1, std::uint8_t ShiftState1,
                                         std::uint8_t Key2, std::uint8_t ShiftState2)
{
    TPgcCommandTable& table = TableNamed(TableName);
    const int index = table.IndexOf(TPgcCmdRec{Key1, ShiftState1, Key2, ShiftState2, 0});
    if (index >= 0) {
        table.Delete(index);
    }
}

void TPgcCommandProcessor::ChangeTableName(const std::string& OldName, const std::string& NewName)
{
    TableNamed(OldName).SetTableName(NewName);
}

void TPgcCommandProcessor::DeleteCommandTable(const std::string& TableName)
{
    const int index = GetCommandTableIndex(TableName);
    if (index < 0) {
        throw ETableNotFound();
    }
    Delete(index);
}

void TPgcCommandProcessor::Delete(int Index)
{
    CheckIndex(Index);
    FTableList.erase(FTableList.begin() + Index);
}

void TPgcCommandProcessor::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FTableList[static_cast<std::size_t>(Index1)], FTableList[static_cast<std::size_t>(Index2)]);
}

TPgcCommandTable* TPgcCommandProcessor::GetCommandTable(const std::string& TableName) const
{
    const int index = GetCommandTableIndex(TableName);
    return index < 0 ? nullptr : FTableList[static_cast<std::size_t>(index)].get();
}

int TPgcCommandProcessor::GetCommandTableIndex(const std::string& TableName) const
{
    for (int index = 0; index < Count(); ++index) {
        if (SameTableName(FTableList[static_cast<std::size_t>(index)]->TableName(), TableName)) {
            return index;
        }
    }
    return -1;
}

int TPgcCommandProcessor::GetCommandCount(const std::string& TableName) const
{
    return TableNamed(TableName).Count();
}

void TPgcCommandProcessor::SetScanPriority(const std::vector<std::string>& Names)
{
    for (std::size_t position = 0; position + 1 < Names.size(); ++position) {
        const int target = static_cast<int>(position);
        if (target >= Count()) {
            return;
        }
        const int found = GetCommandTableIndex(Names[position]);
        if (found >= 0 && found != target) {
            Exchange(target, found);
        }
    }
}

int TPgcCommandProcessor::LoadCommandTable(const std::string& FileName)
{
    auto table = std::make_unique<TPgcCommandTable>();
    table->LoadFromFile(FileName);
    return Add(std::move(table));
}

void TPgcCommandProcessor::SaveCommandTable(const std::string& TableName, const std::string& FileName) const
{
    if (const TPgcCommandTable* table = GetCommandTable(TableName)) {
        table->SaveToFile(FileName);
    }
}

TPgcProcessorState TPgcCommandProcessor::GetState(std::uint8_t& Key, std::uint8_t& Shift) const
{
    Key = cpSaveKey;
    Shift = cpSaveSS;
    return cpState;
}

void TPgcCommandProcessor::SetState(TPgcProcessorState State, std::uint8_t Key, std::uint8_t Shift)
{
    cpState = State;
    cpSaveKey = Key;
    cpSaveSS = Shift;
}

std::vector<TPgcCommandTable*> TPgcCommandProcessor::ActiveTables() const
{
    std::vector<TPgcCommandTable*> tables;
    for (const auto& table : FTableList) {
        if (table->IsActive()) {
            tables.push_back(table.get());
        }
    }
    return tables;
}

std::vector<TPgcCommandTable*> TPgcCommandProcessor::NamedTables(const std::vector<std::string>& TableNames) const
{
    std::vector<TPgcCommandTable*> tables;
    for (const std::string& name : TableNames) {
        if (TPgcCommandTable* table = GetCommandTable(name)) {
            tables.push_back(table);
        }
    }
    return tables;
}

std::uint16_t TPgcCommandProcessor::Translate(const plat::TMessage& Msg)
{
    return TranslateWith(ActiveTables(), KeyOfMessage(Msg), CurrentShiftByte());
}

std::uint16_t TPgcCommandProcessor::TranslateKey(std::uint16_t Key, plat::TShiftState ShiftState)
{
    return TranslateWith(ActiveTables(), Key, ShiftByteOf(ShiftState));
}

std::uint16_t TPgcCommandProcessor::TranslateUsing(const std::vector<std::string>& TableNames,
                                                   const plat::TMessage& Msg)
{
    return TranslateWith(NamedTables(TableNames), KeyOfMessage(Msg), CurrentShiftByte());
}

std::uint16_t TPgcCommandProcessor::TranslateKeyUsing(const std::vector<std::string>& TableNames, std::uint16_t Key,
                                                      plat::TShiftState ShiftState)
{
    return TranslateWith(NamedTables(TableNames), Key, ShiftByteOf(ShiftState));
}

std::uint16_t TPgcCommandProcessor::TranslateWith(const std::vector<TPgcCommandTable*>& Tables, std::uint16_t Key,
                                                  std::uint8_t Shift)
{
    if (IsModifierKey(Key)) {
        return cpState == stPartial ? ccPartialKey : ccPlainKey;
    }
    if (cpState == stLiteral) {
        ResetCommandProcessor();
        return ccPlainKey;
    }
    const auto keyByte = static_cast<std::uint8_t>(Key & 0xFF);
    for (const TPgcCommandTable* table : Tables) {
        if (const std::uint16_t code = ScanTable(*table, keyByte, Shift); code != 0) {
            return code;
        }
    }
    const std::uint16_t result = cpState == stPartial ? ccBrokenSequence : ccPlainKey;
    ResetCommandProcessor();
    return result;
}

std::uint16_t TPgcCommandProcessor::ScanTable(const TPgcCommandTable& Table, std::uint8_t Key, std::uint8_t Shift)
{
    for (int index = 0; index < Table.Count(); ++index) {
        const TPgcCmdRec rec = Table.Commands(index);
        if (cpState == stPartial) {
            if (rec.Key1 == cpSaveKey && rec.SS1 == cpSaveSS && rec.Key2 == Key && SecondShiftMatches(rec.SS2, Shift)) {
                SetState(rec.Cmd == ccCtrlChar ? stLiteral : stNone, 0, 0);
                return rec.Cmd;
            }
        } else if (rec.Key1 == Key && rec.SS1 == Shift) {
            if (rec.Key2 != 0) {
                SetState(stPartial, Key, Shift);
                return ccPartialKey;
            }
            if (rec.Cmd == ccCtrlChar) {
                SetState(stLiteral, 0, 0);
            }
            return rec.Cmd;
        }
    }
    return 0;
}

void TPgcCommandProcessor::ReadTableList(plat::TReader& Reader)
{
    std::vector<std::unique_ptr<TPgcCommandTable>> tables;
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) {
        auto table = std::make_unique<TPgcCommandTable>();
        table->ReadData(Reader);
        tables.push_back(std::move(table));
    }
    Reader.ReadListEnd();
    Clear();
    for (auto& table : tables) {
        Add(std::move(table));
    }
}

void TPgcCommandProcessor::WriteTableList(plat::TWriter& Writer) const
{
    Writer.WriteListBegin();
    for (const auto& table : FTableList) {
        table->WriteData(Writer);
    }
    Writer.WriteListEnd();
}

void TPgcCommandProcessor::DefineProperties(plat::TFiler& Filer)
{
    Filer.DefineProperty(
        "TableList", [this](plat::TReader& reader) { ReadTableList(reader); },
        [this](plat::TWriter& writer) { WriteTableList(writer); }, Count() > 0);
}

} // namespace qel

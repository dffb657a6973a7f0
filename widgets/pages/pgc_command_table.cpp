// TPgcCommandTable: records, the text file and the stream data.
#include "widgets/pages/pgc_command_table.h"

#include "widgets/pages/pgc_builtin_command_tables.h"
#include "widgets/pages/pgc_messages.h"

#include "platform/atomic_file.h"
#include "platform/object_list.h"
#include "platform/objects/reader.h"
#include "platform/objects/text_file.h"
#include "platform/objects/writer.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <limits>

namespace qel {

PLAT_DEFINE_CLASS(TPgcCommandTable, plat::TPersistent)

namespace {

constexpr std::uint16_t kMsgUnknownTable = 30277;
constexpr int kNumbersPerLine = 5;

// One record line: Key1, SS1, Key2, SS2 in 4 characters, Cmd in 6.
std::string RecordLine(const TPgcCmdRec& Rec)
{
    char line[40];
    std::snprintf(line, sizeof line, "%4u%4u%4u%4u%6u\r\n", unsigned{Rec.Key1}, unsigned{Rec.SS1},
                  unsigned{Rec.Key2}, unsigned{Rec.SS2}, unsigned{Rec.Cmd});
    return line;
}

[[noreturn]] void BadRecordLine(const std::string& FileName, int LineNumber)
{
    throw plat::EInOutError(plat::EInOutError::kInvalidNumericFormat,
                            "Invalid command record in " + FileName + " line " + std::to_string(LineNumber));
}

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

// Five decimal numbers in their ranges; false for anything else.
bool ParseRecordLine(std::string_view Line, TPgcCmdRec& Rec)
{
    long values[kNumbersPerLine];
    int count = 0;
    std::size_t at = 0;
    while (true) {
        while (at < Line.size() && IsBlank(Line[at])) {
            ++at;
        }
        if (at == Line.size()) {
            break;
        }
        if (count == kNumbersPerLine) {
            return false;
        }
        const auto [end, error] = std::from_chars(Line.data() + at, Line.data() + Line.size(), values[count]);
        if (error != std::errc() || (end != Line.data() + Line.size() && !IsBlank(*end))) {
            return false;
        }
        at = static_cast<std::size_t>(end - Line.data());
        ++count;
    }
    if (count != kNumbersPerLine) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (values[i] < 0 || values[i] > 255) {
            return false;
        }
    }
    if (values[4] < 0 || values[4] > 65535) {
        return false;
    }
    Rec = TPgcCmdRec{static_cast<std::uint8_t>(values[0]), static_cast<std::uint8_t>(values[1]),
                     static_cast<std::uint8_t>(values[2]), static_cast<std::uint8_t>(values[3]),
                     static_cast<std::uint16_t>(values[4])};
    return true;
}

int IndexOfKeys(const std::vector<TPgcCmdRec>& Records, std::uint32_t Keys)
{
    const auto found = std::find_if(Records.begin(), Records.end(),
                                    [Keys](const TPgcCmdRec& rec) { return rec.Keys() == Keys; });
    return found == Records.end() ? -1 : static_cast<int>(found - Records.begin());
}

bool HasExactly(std::span<const TPgcCmdRec> Records, const TPgcCmdRec& Rec)
{
    return std::any_of(Records.begin(), Records.end(), [&Rec](const TPgcCmdRec& other) {
        return other.Keys() == Rec.Keys() && other.Cmd == Rec.Cmd;
    });
}

void WritePair(plat::TWriter& Writer, std::uint32_t Keys, std::uint16_t Cmd)
{
    Writer.WriteInteger(static_cast<std::int32_t>(Keys));
    Writer.WriteInteger(Cmd);
}

// A pair applied to a table that started as a built-in one: new keys are
// appended, known keys take the command, command 0 deletes the binding.
void ApplyDifference(std::vector<TPgcCmdRec>& Records, const TPgcCmdRec& Pair)
{
    const int index = IndexOfKeys(Records, Pair.Keys());
    if (index < 0) {
        Records.push_back(Pair);
    } else if (Pair.Cmd != 0) {
        Records[static_cast<std::size_t>(index)] = Pair;
    } else {
        Records.erase(Records.begin() + index);
    }
}

} // namespace

TPgcCommandTable::TPgcCommandTable() : FTableName(plat::Utf16ToUtf8(MessageTextByNumber(kMsgUnknownTable)))
{
}

void TPgcCommandTable::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count()) {
        throw plat::EListError(Index);
    }
}

TPgcCmdRec TPgcCommandTable::Commands(int Index) const
{
    CheckIndex(Index);
    return FCommandList[static_cast<std::size_t>(Index)];
}

void TPgcCommandTable::SetCommands(int Index, const TPgcCmdRec& Value)
{
    CheckIndex(Index);
    FCommandList[static_cast<std::size_t>(Index)] = Value;
}

int TPgcCommandTable::AddRec(const TPgcCmdRec& Rec)
{
    FCommandList.push_back(Rec);
    return Count() - 1;
}

void TPgcCommandTable::InsertRec(int Index, const TPgcCmdRec& Rec)
{
    if (Index < 0 || Index > Count()) {
        throw plat::EListError(Index);
    }
    FCommandList.insert(FCommandList.begin() + Index, Rec);
}

void TPgcCommandTable::Delete(int Index)
{
    CheckIndex(Index);
    FCommandList.erase(FCommandList.begin() + Index);
}

void TPgcCommandTable::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FCommandList[static_cast<std::size_t>(Index1)], FCommandList[static_cast<std::size_t>(Index2)]);
}

void TPgcCommandTable::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) {
        return;
    }
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    const TPgcCmdRec rec = FCommandList[static_cast<std::size_t>(CurIndex)];
    FCommandList.erase(FCommandList.begin() + CurIndex);
    FCommandList.insert(FCommandList.begin() + NewIndex, rec);
}

int TPgcCommandTable::IndexOf(const TPgcCmdRec& Rec) const
{
    return IndexOfKeys(FCommandList, Rec.Keys());
}

void TPgcCommandTable::LoadFromFile(const std::string& FileName)
{
    plat::TTextFileReader file(FileName);
    std::string name;
    file.ReadLine(name);
    std::vector<TPgcCmdRec> records;
    std::string line;
    for (int lineNumber = 2; file.ReadLine(line); ++lineNumber) {
        if (std::all_of(line.begin(), line.end(), IsBlank)) {
            continue;
        }
        TPgcCmdRec rec;
        if (!ParseRecordLine(line, rec)) {
            BadRecordLine(FileName, lineNumber);
        }
        records.push_back(rec);
    }
    FTableName = std::move(name);
    FCommandList = std::move(records);
}

void TPgcCommandTable::SaveToFile(const std::string& FileName) const
{
    std::string text = FTableName + "\r\n";
    for (const TPgcCmdRec& rec : FCommandList) {
        text += RecordLine(rec);
    }
    try {
        plat::TAtomicFileStream file(FileName);
        file.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
        file.Commit();
    } catch (const plat::EStreamError& error) {
        throw plat::EInOutError(EIO, error.what());
    }
}

void TPgcCommandTable::WriteData(plat::TWriter& Writer) const
{
    Writer.WriteString(FTableName);
    Writer.WriteBoolean(FIsActive);
    Writer.WriteListBegin();
    if (const TPgcBuiltinCommandTable* builtin = FindBuiltinCommandTable(FTableName)) {
        for (const TPgcCmdRec& rec : builtin->Records) {
            if (IndexOf(rec) < 0) {
                WritePair(Writer, rec.Keys(), 0);
            }
        }
        for (const TPgcCmdRec& rec : FCommandList) {
            if (!HasExactly(builtin->Records, rec)) {
                WritePair(Writer, rec.Keys(), rec.Cmd);
            }
        }
    } else {
        for (const TPgcCmdRec& rec : FCommandList) {
            WritePair(Writer, rec.Keys(), rec.Cmd);
        }
    }
    Writer.WriteListEnd();
}

void TPgcCommandTable::ReadData(plat::TReader& Reader)
{
    std::string name = Reader.ReadString();
    const bool active = Reader.ReadBoolean();
    const TPgcBuiltinCommandTable* builtin = FindBuiltinCommandTable(name);
    std::vector<TPgcCmdRec> records;
    if (builtin != nullptr) {
        records.assign(builtin->Records.begin(), builtin->Records.end());
    }
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) {
        TPgcCmdRec pair;
        pair.SetKeys(static_cast<std::uint32_t>(Reader.ReadInteger()));
        const std::int32_t cmd = Reader.ReadInteger();
        if (cmd < 0 || cmd > std::numeric_limits<std::uint16_t>::max()) {
            throw plat::EReadError("Invalid command code " + std::to_string(cmd) + " in command table " + name);
        }
        pair.Cmd = static_cast<std::uint16_t>(cmd);
        if (builtin != nullptr) {
            ApplyDifference(records, pair);
        } else {
            records.push_back(pair);
        }
    }
    Reader.ReadListEnd();
    FTableName = std::move(name);
    FIsActive = active;
    FCommandList = std::move(records);
}

void TPgcCommandTable::DefineProperties(plat::TFiler& Filer)
{
    Filer.DefineProperty(
        "CommandList", [this](plat::TReader& reader) { ReadData(reader); },
        [this](plat::TWriter& writer) { WriteData(writer); }, Count() > 0);
}

} // namespace qel

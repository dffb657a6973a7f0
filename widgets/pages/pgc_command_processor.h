// TPgcCommandProcessor: translates key presses into command codes through an
// ordered list of command tables. A two-key command puts the processor in
// a waiting state after its first key; a ccCtrlChar command makes the next
// key literal. Each controller owns one; the library's controls translate
// their key messages through it.
//
//   stNone --first key of a two-key record--> stPartial
//   stPartial --matching second key--> stNone (stLiteral for ccCtrlChar)
//   stPartial --anything else--> stNone, ccBrokenSequence
//   stNone --one-key ccCtrlChar--> stLiteral --any key but a modifier--> stNone, ccPlainKey
//   Modifier keys never change the state.
#pragma once

#include "widgets/pages/pgc_command_table.h"

#include "platform/controls/control_messages.h"
#include "platform/controls/control_types.h"
#include "platform/objects/persistent.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qel {

enum TPgcProcessorState { stNone, stPartial, stLiteral };

class TPgcCommandProcessor : public plat::TPersistent {
    PLAT_CLASS(TPgcCommandProcessor, plat::TPersistent)
public:
    // The three built-in tables: "Default" (active), "WordStar" and "Grid".
    TPgcCommandProcessor();
    ~TPgcCommandProcessor() override;

    int Count() const { return static_cast<int>(FTableList.size()); }
    // The table at Index (the scan order); raises ETableNotFound outside
    // 0 .. Count - 1.
    TPgcCommandTable* Table(int Index) const;
    // Replaces (and frees) the table at Index.
    void SetTable(int Index, std::unique_ptr<TPgcCommandTable> Value);

    // Appends the table after making its name unique: trailing digits are
    // cut (keeping the first character) and, while the name is taken, 1, 2,
    // ... appended. Answers its index.
    int Add(std::unique_ptr<TPgcCommandTable> Table);
    // A new table of that name and flag, added; answers its index.
    int CreateCommandTable(const std::string& TableName, bool Active);
    // Raise ETableNotFound when no table has the name, EDuplicateCommand when
    // the table binds the keys already.
    void AddCommand(const std::string& TableName, std::uint8_t Key1, std::uint8_t ShiftState1, std::uint8_t Key2,
                    std::uint8_t ShiftState2, std::uint16_t Command);
    void AddCommandRec(const std::string& TableName, const TPgcCmdRec& Rec);
    // Deletes the binding of those keys, if any; ETableNotFound for no table.
    void DeleteCommand(const std::string& TableName, std::uint8_t Key1, std::uint8_t ShiftState1,
                       std::uint8_t Key2, std::uint8_t ShiftState2);
    // Renames (no uniqueness check); ETableNotFound for no table.
    void ChangeTableName(const std::string& OldName, const std::string& NewName);
    void DeleteCommandTable(const std::string& TableName);
    // Raises ETableNotFound outside 0 .. Count - 1.
    void Delete(int Index);
    void Clear() { FTableList.clear(); }
    void Exchange(int Index1, int Index2);

    // The first table whose name equals TableName after upper-casing both.
    TPgcCommandTable* GetCommandTable(const std::string& TableName) const;
    int GetCommandTableIndex(const std::string& TableName) const;
    // The table's record count; ETableNotFound for no table.
    int GetCommandCount(const std::string& TableName) const;
    // Moves the named tables to the front in that order: the table named at
    // position i goes to index i. The last name is not placed.
    void SetScanPriority(const std::vector<std::string>& Names);

    // A new table read from the file, added; answers its index. A failed
    // read raises plat::EInOutError and adds nothing.
    int LoadCommandTable(const std::string& FileName);
    // Saves the named table; nothing when there is none.
    void SaveCommandTable(const std::string& TableName, const std::string& FileName) const;

    TPgcProcessorState GetState(std::uint8_t& Key, std::uint8_t& Shift) const;
    void SetState(TPgcProcessorState State, std::uint8_t Key, std::uint8_t Shift);
    // State stNone, no saved key.
    void ResetCommandProcessor() { SetState(stNone, 0, 0); }

    // A key message (the key in the low byte of WParam, the shift byte of
    // the keys held now) through the active tables in list order: a command
    // code, or ccPlainKey, ccBrokenSequence or ccPartialKey.
    std::uint16_t Translate(const plat::TMessage& Msg);
    // A key and its shift state (Ctrl 4, Shift 2, Alt 8) through the active tables.
    std::uint16_t TranslateKey(std::uint16_t Key, plat::TShiftState ShiftState);
    // The same through the named tables, in that order, active or not.
    std::uint16_t TranslateUsing(const std::vector<std::string>& TableNames, const plat::TMessage& Msg);
    std::uint16_t TranslateKeyUsing(const std::vector<std::string>& TableNames, std::uint16_t Key,
                                    plat::TShiftState ShiftState);

protected:
    // "TableList": the list of the tables' stream data, written only when
    // there are tables; reading replaces every table.
    void DefineProperties(plat::TFiler& Filer) override;

private:
    TPgcCommandTable& TableNamed(const std::string& TableName) const;
    void CheckIndex(int Index) const;
    void MakeNameUnique(TPgcCommandTable& Table) const;
    // Algorithm of one key over the tables (the modifier test on the key as given).
    std::uint16_t TranslateWith(const std::vector<TPgcCommandTable*>& Tables, std::uint16_t Key, std::uint8_t Shift);
    // One table's scan: the code, or 0 when no record matches.
    std::uint16_t ScanTable(const TPgcCommandTable& Table, std::uint8_t Key, std::uint8_t Shift);
    std::vector<TPgcCommandTable*> ActiveTables() const;
    std::vector<TPgcCommandTable*> NamedTables(const std::vector<std::string>& TableNames) const;
    void ReadTableList(plat::TReader& Reader);
    void WriteTableList(plat::TWriter& Writer) const;

    std::vector<std::unique_ptr<TPgcCommandTable>> FTableList;   // owned, in scan order
    TPgcProcessorState cpState = stNone;
    std::uint8_t cpSaveKey = 0;   // first key of a pending two-key command
    std::uint8_t cpSaveSS = 0;    // its shift byte
};

} // namespace qel

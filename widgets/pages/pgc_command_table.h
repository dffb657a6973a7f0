// TPgcCommandTable: one named list of key bindings (command records) of the
// command processor, with its text-file form and its component-stream form.
#pragma once

#include "widgets/pages/pgc_data.h"

#include "platform/objects/persistent.h"

#include <string>
#include <vector>

namespace plat {
class TReader;
class TWriter;
} // namespace plat

namespace qel {

class TPgcCommandTable : public plat::TPersistent {
    PLAT_CLASS(TPgcCommandTable, plat::TPersistent)
public:
    // An empty, active table named "(Unknown)".
    TPgcCommandTable();

    const std::string& TableName() const { return FTableName; }
    void SetTableName(const std::string& Value) { FTableName = Value; }
    bool IsActive() const { return FIsActive; }
    void SetIsActive(bool Value) { FIsActive = Value; }

    int Count() const { return static_cast<int>(FCommandList.size()); }
    // A copy of the record at Index; raises plat::EListError outside 0 .. Count - 1.
    TPgcCmdRec Commands(int Index) const;
    void SetCommands(int Index, const TPgcCmdRec& Value);

    // Appends a copy (no duplicate check); answers its index.
    int AddRec(const TPgcCmdRec& Rec);
    // Inserts a copy before Index (0 .. Count).
    void InsertRec(int Index, const TPgcCmdRec& Rec);
    void Delete(int Index);
    void Clear() { FCommandList.clear(); }
    void Exchange(int Index1, int Index2);
    // Takes the record out and inserts it at NewIndex; nothing when equal.
    void Move(int CurIndex, int NewIndex);
    // The first index whose Keys equal the record's (the command is not
    // compared), or -1.
    int IndexOf(const TPgcCmdRec& Rec) const;

    // The text form: the name on the first line, then one record a line as
    // right-aligned numbers Key1, SS1, Key2, SS2 (4 characters each) and Cmd
    // (6 characters), lines ending in CR LF. IsActive is not stored.
    // Loading replaces the name and records only once the whole file has
    // been read; a missing, unreadable or malformed file raises
    // plat::EInOutError and leaves the table as it was.
    void LoadFromFile(const std::string& FileName);
    // Replaces the file only once it is completely written; raises
    // plat::EInOutError.
    void SaveToFile(const std::string& FileName) const;

    // The component-stream data of the table: its name, IsActive, then a list
    // of (Keys, Cmd) integer pairs. A table named like a built-in table
    // (without regard to case) writes only its difference from it: (Keys, 0)
    // for each built-in binding it lacks, then each binding the built-in
    // table does not have exactly. Reading raises plat::EReadError for a
    // damaged stream and changes nothing then.
    void WriteData(plat::TWriter& Writer) const;
    void ReadData(plat::TReader& Reader);

protected:
    // "CommandList", written only when the table has records.
    void DefineProperties(plat::TFiler& Filer) override;

private:
    void CheckIndex(int Index) const;

    std::string FTableName;
    bool FIsActive = true;
    std::vector<TPgcCmdRec> FCommandList;
};

} // namespace qel

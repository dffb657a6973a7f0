// The three key tables every command processor starts with: "Default"
// (active), "WordStar" and "Grid". Record order matters: of two records with
// the same first key, the earlier one wins.
#pragma once

#include "widgets/pages/pgc_data.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qel {

struct TPgcBuiltinCommandTable {
    std::uint16_t NameMessage;             // the message number of the table's name
    std::span<const TPgcCmdRec> Records;
    bool Active;                           // active in a new processor
};

// "Default" (64 records), "WordStar" (40) and "Grid" (38), in this order.
std::span<const TPgcBuiltinCommandTable> BuiltinCommandTables();

// The table's name, from the message table.
std::string BuiltinTableName(const TPgcBuiltinCommandTable& Table);

// The built-in table whose name equals Name after upper-casing both, or nullptr.
const TPgcBuiltinCommandTable* FindBuiltinCommandTable(std::string_view Name);

// True when the names are equal after upper-casing both, as the processor
// compares table names.
bool SameTableName(std::string_view A, std::string_view B);

} // namespace qel

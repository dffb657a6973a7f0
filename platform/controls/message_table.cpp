// Message tables: a sorted list of handlers per control class, searched from
// the most derived class up.
#include "platform/controls/message_table.h"

#include <algorithm>
#include <cassert>

namespace plat {

TMessageTable::TMessageTable(const TMessageTable* parent, std::initializer_list<TMessageEntry> entries)
    : FParent(parent), FEntries(entries)
{
    std::sort(FEntries.begin(), FEntries.end(),
              [](const TMessageEntry& a, const TMessageEntry& b) { return a.Msg < b.Msg; });
    assert(std::adjacent_find(FEntries.begin(), FEntries.end(), [](const TMessageEntry& a, const TMessageEntry& b) {
               return a.Msg == b.Msg;
           }) == FEntries.end() && "a class lists a message once");
}

TMessageHandler TMessageTable::Find(UINT msg) const
{
    for (const TMessageTable* table = this; table != nullptr; table = table->FParent) {
        const auto at = std::lower_bound(table->FEntries.begin(), table->FEntries.end(), msg,
                                         [](const TMessageEntry& entry, UINT wanted) { return entry.Msg < wanted; });
        if (at != table->FEntries.end() && at->Msg == msg) {
            return at->Handler;
        }
    }
    return nullptr;
}

} // namespace plat

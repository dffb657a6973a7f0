// The replacement store of the program texts: replacements are kept for the
// rest of the run and published to readers by one atomic pointer per text.
#include "platform/resource_strings.h"

#include <forward_list>
#include <mutex>
#include <vector>

namespace plat {

namespace {

std::mutex ReplacementMutex;
std::forward_list<std::string> ReplacementTexts;    // never shrinks: readers may hold pointers
std::vector<const TResString*> ReplacedIds;         // texts that read a replacement now

} // namespace

std::string LoadResString(PResString id)
{
    if (id == nullptr) {
        return {};
    }
    return id->FCurrent.load(std::memory_order_acquire);
}

void ReplaceResString(PResString id, std::string_view text)
{
    if (id == nullptr) {
        return;
    }
    const std::lock_guard lock(ReplacementMutex);
    const std::string& stored = ReplacementTexts.emplace_front(text);
    ReplacedIds.push_back(id);
    id->FCurrent.store(stored.c_str(), std::memory_order_release);
}

void RestoreResStrings()
{
    const std::lock_guard lock(ReplacementMutex);
    for (const TResString* id : ReplacedIds) {
        id->FCurrent.store(id->FBuiltIn, std::memory_order_release);
    }
    ReplacedIds.clear();
}

} // namespace plat

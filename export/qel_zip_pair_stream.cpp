// Pair texts of the zip channel container: how names and values are stored
// and written.
#include "export/qel_zip_pair_stream.h"

#include "platform/ascii_case.h"

#include <algorithm>

namespace qel {

namespace {

// The text as the pair list keeps it: "=" would split name from value.
std::string StoredPairText(const std::string& text)
{
    if (text.empty()) {
        return "-";
    }
    std::string stored = text;
    std::replace(stored.begin(), stored.end(), '=', '?');
    return stored;
}

} // namespace

bool TQelZipPairBaseStream::AddPair(const std::string& name, const std::string& value)
{
    std::string storedName = StoredPairText(name);
    const bool present = std::any_of(FPairList.begin(), FPairList.end(),
                                     [&](const auto& pair) { return plat::SameText(pair.first, storedName); });
    if (present) {
        return false;
    }
    FPairList.emplace_back(std::move(storedName), StoredPairText(value));
    return true;
}

bool TQelZipPairBaseStream::BeforeSave()
{
    SetSize(0);
    for (const auto& [name, value] : FPairList) {
        WriteStr(name);
        WriteStr(value);
    }
    return true;
}

} // namespace qel

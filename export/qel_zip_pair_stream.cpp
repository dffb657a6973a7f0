// Pair texts of the zip channel container: how names and values are stored
// and written.
#include "export/qel_zip_pair_stream.h"

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

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                               [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

bool TQelZipPairBaseStream::AddPair(const std::string& name, const std::string& value)
{
    std::string storedName = StoredPairText(name);
    const bool present = std::any_of(FPairList.begin(), FPairList.end(),
                                     [&](const auto& pair) { return SameNameIgnoringCase(pair.first, storedName); });
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

// Pair texts of the zip channel container: how names and values are stored,
// written and read back.
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

const std::pair<std::string, std::string>* TQelZipPairBaseStream::FindPair(const std::string& name) const
{
    const auto found = std::find_if(FPairList.begin(), FPairList.end(),
                                    [&](const auto& pair) { return plat::SameText(pair.first, name); });
    return found == FPairList.end() ? nullptr : &*found;
}

bool TQelZipPairBaseStream::AddPair(const std::string& name, const std::string& value)
{
    std::string storedName = StoredPairText(name);
    if (FindPair(storedName) != nullptr) {
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

bool TQelZipPairBaseStream::AfterLoad()
{
    FPairList.clear();
    SetPosition(0);
    std::string name;
    std::string value;
    while (ReadStr(name) && ReadStr(value)) {
        FPairList.emplace_back(std::move(name), std::move(value));
    }
    SetSize(0);
    return true;
}

bool TQelZipPairBaseStream::GetPair(const std::string& name, std::string& value) const
{
    const auto* pair = FindPair(name);
    if (pair == nullptr) {
        return false;
    }
    value = pair->second;
    return true;
}

std::string TQelZipPairBaseStream::GetValue(const std::string& name) const
{
    std::string value;
    GetPair(name, value);
    return value;
}

} // namespace qel

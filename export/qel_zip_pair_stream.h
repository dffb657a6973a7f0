// Entries of the zip channel container that hold (name, value) texts: the
// pair stream base, the "File" information and the channel description.
#pragma once

#include "export/qel_zip_crc_stream.h"

#include <string>
#include <utility>
#include <vector>

namespace qel {

// An ordered list of (name, value) texts, saved as name string, value
// string, ... in insertion order, then the trailer. Names added are unique
// without regard to letter case; names loaded are taken as they stand.
class TQelZipPairBaseStream : public TQelZipCrcBaseStream {
public:
    // Stores the pair with every "=" turned into "?" and an empty text as
    // "-". A name already present (in any letter case) keeps its first value:
    // nothing is added and the answer is False.
    bool AddPair(const std::string& name, const std::string& value);
    // Rewrites the content from the pairs; True.
    bool BeforeSave() override;
    // Replaces the pairs by the name and value texts read from the start of
    // the content while both read, in order (no duplicate test), then
    // empties the stream; True.
    bool AfterLoad() override;

    // The value of the first pair of that name (letter case ignored); False
    // when there is none.
    bool GetPair(const std::string& name, std::string& value) const;
    // The value of the first pair of that name; empty when there is none.
    std::string GetValue(const std::string& name) const;
    int PairCount() const { return static_cast<int>(FPairList.size()); }
    const std::pair<std::string, std::string>& Pair(int index) const { return FPairList.at(static_cast<std::size_t>(index)); }

private:
    const std::pair<std::string, std::string>* FindPair(const std::string& name) const;

    std::vector<std::pair<std::string, std::string>> FPairList;   // stored texts, insertion order
};

// "File": what the archive is and which program wrote it.
class TQelZipFileInfoStream : public TQelZipPairBaseStream {
public:
    std::uint8_t CrcType() const override { return CRC_TYPE_FILE_INFO; }
};

// "ChDesc_0" of a channel folder: names, units, logger and range of the channel.
class TQelZipChannelDescriptionStream : public TQelZipPairBaseStream {
public:
    std::uint8_t CrcType() const override { return CRC_TYPE_CHANNEL_DESCRIPTION; }
};

} // namespace qel

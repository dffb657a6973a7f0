// Entries of the zip channel container that hold (name, value) texts: the
// pair stream base, the "File" information and the channel description.
#pragma once

#include "export/qel_zip_crc_stream.h"

#include <string>
#include <utility>
#include <vector>

namespace qel {

// An ordered list of (name, value) texts, saved as name string, value
// string, ... in insertion order, then the trailer. Names are unique without
// regard to letter case.
class TQelZipPairBaseStream : public TQelZipCrcBaseStream {
public:
    // Stores the pair with every "=" turned into "?" and an empty text as
    // "-". A name already present (in any letter case) keeps its first value:
    // nothing is added and the answer is False.
    bool AddPair(const std::string& name, const std::string& value);
    // Rewrites the content from the pairs; True.
    bool BeforeSave() override;

private:
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

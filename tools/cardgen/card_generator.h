// Writes the container files of a card from its description and tells where
// each layout item landed, so tests can predict what a scan must find.
#pragma once

#include "tools/cardgen/card_description.h"
#include "tools/cardgen/container_writer.h"

#include <string>
#include <vector>

namespace qel::cardgen {

// Clusters written for one layout item; for items that write no cluster
// Count is 0 and First is the position of the next cluster.
struct TPlacedItem {
    TClusterPos First;
    TClusterPos Last;
    std::uint64_t Count = 0;
};

struct TCardManifest {
    std::vector<std::string> Files;     // container files in card order
    std::vector<TPlacedItem> Items;     // one per layout item
    std::uint64_t Clusters = 0;         // whole clusters written
};

// Writes the card into `folder`; the first container is named `stem` + ".dat"
// and the following ones `stem` + "1.dat", `stem` + "2.dat", ...
TCardManifest GenerateCard(const TCardDescription& desc, const std::string& folder, const std::string& stem = "qel");

} // namespace qel::cardgen

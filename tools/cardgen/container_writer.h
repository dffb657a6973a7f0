// Writes clusters into the numbered container files of a card ("qel.dat",
// "qel1.dat", ...), starting the next container when one is full.
#pragma once

#include "tools/cardgen/cluster_writer.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace qel::cardgen {

struct TClusterPos {
    std::int32_t Container = 0;
    std::int64_t Cluster = 0;
    bool operator==(const TClusterPos&) const = default;
};

class TContainerWriter {
public:
    // stem "qel" gives qel.dat, qel1.dat, qel2.dat, ...; 0 clusters per container: no limit.
    TContainerWriter(std::string folder, std::string stem, std::uint64_t clustersPerContainer);
    ~TContainerWriter();
    TContainerWriter(const TContainerWriter&) = delete;
    TContainerWriter& operator=(const TContainerWriter&) = delete;

    // Where the next cluster will lie (after a split that a full container forces).
    TClusterPos NextPosition() const;
    void WriteCluster(std::span<const std::uint8_t, kClusterSize> cluster);
    void WriteBytes(std::span<const std::uint8_t> bytes);
    void EndContainer();
    // Flushes and closes; creates the first container when nothing was written.
    void Close();
    const std::vector<std::string>& Files() const { return FFiles; }

private:
    void EnsureOpen();
    void CloseCurrent();
    std::string FileName(std::int32_t index) const;

    std::string FFolder;
    std::string FStem;
    std::uint64_t FClustersPerContainer;
    std::int32_t FIndex = 0;            // container being written
    std::uint64_t FClusters = 0;        // whole clusters in it
    std::FILE* FFile = nullptr;
    std::vector<char> FBuffer;
    std::vector<std::string> FFiles;
};

} // namespace qel::cardgen

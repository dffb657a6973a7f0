// Writes clusters into the numbered container files of a card.
#include "tools/cardgen/container_writer.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace qel::cardgen {

namespace {
constexpr std::size_t kWriteBuffer = 1 << 20;

[[noreturn]] void Fail(const std::string& what, const std::string& file)
{
    throw std::runtime_error(what + " " + file + ": " + std::strerror(errno));
}
} // namespace

TContainerWriter::TContainerWriter(std::string folder, std::string stem, std::uint64_t clustersPerContainer)
    : FFolder(std::move(folder)), FStem(std::move(stem)), FClustersPerContainer(clustersPerContainer), FBuffer(kWriteBuffer)
{
}

TContainerWriter::~TContainerWriter()
{
    if (FFile != nullptr) {
        std::fclose(FFile);
    }
}

std::string TContainerWriter::FileName(std::int32_t index) const
{
    const std::string name = FStem + (index == 0 ? "" : std::to_string(index)) + ".dat";
    return (std::filesystem::path(FFolder) / name).string();
}

TClusterPos TContainerWriter::NextPosition() const
{
    if (FClustersPerContainer != 0 && FClusters == FClustersPerContainer) {
        return {FIndex + 1, 0};
    }
    return {FIndex, static_cast<std::int64_t>(FClusters)};
}

void TContainerWriter::EnsureOpen()
{
    if (FFile != nullptr) {
        return;
    }
    const std::string name = FileName(FIndex);
    FFile = std::fopen(name.c_str(), "wb");
    if (FFile == nullptr) {
        Fail("cannot create", name);
    }
    std::setvbuf(FFile, FBuffer.data(), _IOFBF, FBuffer.size());
    FFiles.push_back(name);
}

void TContainerWriter::CloseCurrent()
{
    if (FFile == nullptr) {
        return;
    }
    const bool failed = std::fclose(FFile) != 0;
    FFile = nullptr;
    if (failed) {
        Fail("cannot write", FFiles.back());
    }
}

void TContainerWriter::WriteCluster(std::span<const std::uint8_t, kClusterSize> cluster)
{
    if (FClustersPerContainer != 0 && FClusters == FClustersPerContainer) {
        EndContainer();
    }
    EnsureOpen();
    if (std::fwrite(cluster.data(), 1, cluster.size(), FFile) != cluster.size()) {
        Fail("cannot write", FFiles.back());
    }
    ++FClusters;
}

void TContainerWriter::WriteBytes(std::span<const std::uint8_t> bytes)
{
    EnsureOpen();
    if (std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size()) {
        Fail("cannot write", FFiles.back());
    }
}

void TContainerWriter::EndContainer()
{
    EnsureOpen();
    CloseCurrent();
    ++FIndex;
    FClusters = 0;
}

void TContainerWriter::Close()
{
    if (FFiles.empty()) {
        EnsureOpen();
    }
    CloseCurrent();
}

} // namespace qel::cardgen

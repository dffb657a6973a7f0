// The card image: container files read cluster by cluster.
#include "card/ext_card.h"

#include <algorithm>
#include <sys/stat.h>

namespace qel {

TExtCard ExtCard;

namespace {
constexpr std::int64_t CLUSTER_BYTES = static_cast<std::int64_t>(CARD_CLUSTER_SIZE);
constexpr std::int64_t BLOCK_CLUSTERS = 682;   // a read block of just under 1 MiB
constexpr std::int64_t BLOCK_BYTES = BLOCK_CLUSTERS * CLUSTER_BYTES;
// A block read takes at least this much of the container, so that a short
// window leaves the clusters after it in the block for the next window.
constexpr std::int64_t READ_AHEAD_BYTES = 64 * CLUSTER_BYTES;
static_assert(READ_AHEAD_BYTES <= BLOCK_BYTES, "the read-ahead must fit the block");

// A container opened for reading. One that is no regular file (a pipe or a
// device put in its place since it was chosen) raises the open error rather
// than hold the reader in a read that Cancel cannot end.
std::unique_ptr<plat::TFileStream> OpenContainerFile(const std::string& fileName)
{
    auto stream = std::make_unique<plat::TFileStream>(fileName, plat::fmOpenRead | plat::fmShareDenyWrite);
    struct stat info {};
    if (fstat(stream->Handle(), &info) != 0 || !S_ISREG(info.st_mode)) {
        throw plat::EFOpenError("Cannot open file \"" + fileName + "\": it is not a regular file");
    }
    return stream;
}
} // namespace

TExtCard::~TExtCard()
{
    Finish();
}

void TExtCard::OpenContainer(std::int32_t container, std::int64_t position)
{
    CloseContainer();
    const std::string& fileName = GetItem(container)->Filename;
    FContainerStream = OpenContainerFile(fileName);
    FContainerName = fileName;
    FPosition = position;
    FBlockStart = position;
    FBlockFill = 0;
    if (!FBlock) {
        FBlock = std::make_unique_for_overwrite<std::uint8_t[]>(BLOCK_BYTES);
    }
}

void TExtCard::SeekContainer(std::int32_t container, std::int64_t position)
{
    if (FContainerStream && FContainerName == GetItem(container)->Filename) {
        FPosition = position;   // the block is loaded again only when it does not hold the position
        return;
    }
    OpenContainer(container, position);
}

void TExtCard::CloseContainer()
{
    FContainerStream.reset();
    FContainerName.clear();
    FBlockFill = 0;
}

void TExtCard::Finish()
{
    CloseContainer();
    FFinished = true;
}

void TExtCard::StartAll()
{
    FFinished = true;
    CloseContainer();
    if (Count() == 0) {
        return;
    }
    for (TExtCardInfo* info : *this) {
        info->Size = OpenContainerFile(info->Filename)->Size();
    }
    FContainerEnd = Count() - 1;
    FPositionEnd = GetItem(FContainerEnd)->Size;
    FContainerX = 0;
    FPositionX = GetItem(0)->Size;
    OpenContainer(0);
    FFinished = false;
}

void TExtCard::StartFromTo(const TCardPosition& fromPos, const TCardPosition& toPos)
{
    FFinished = true;
    if (!HasItem(fromPos.Container) || !HasItem(toPos.Container) || fromPos.Cluster < 0 || toPos.Cluster < 0
        || toPos.Container < fromPos.Container) {
        CloseContainer();
        return;
    }
    // Positions beyond a container's end are taken as its end.
    const auto offsetIn = [this](std::int32_t container, std::int64_t cluster) {
        const std::int64_t size = GetItem(container)->Size;
        return cluster < size / CLUSTER_BYTES ? cluster * CLUSTER_BYTES : size;
    };
    FContainerEnd = toPos.Container;
    FPositionEnd = std::min(offsetIn(FContainerEnd, toPos.Cluster) + CLUSTER_BYTES, GetItem(FContainerEnd)->Size);
    FContainerX = fromPos.Container;
    FPositionX = FContainerX == FContainerEnd ? FPositionEnd : GetItem(FContainerX)->Size;
    SeekContainer(FContainerX, offsetIn(FContainerX, fromPos.Cluster));
    FFinished = false;
}

const std::uint8_t* TExtCard::NextInWindow()
{
    if (!FContainerStream || FPosition + CLUSTER_BYTES > FPositionX) {
        return nullptr;
    }
    if (FPosition < FBlockStart || FPosition + CLUSTER_BYTES > FBlockStart + FBlockFill) {
        LoadBlock();
    }
    const std::uint8_t* cluster = FBlock.get() + (FPosition - FBlockStart);
    FPosition += CLUSTER_BYTES;
    return cluster;
}

void TExtCard::LoadBlock()
{
    // The window's clusters must all be there (a container cut short raises
    // the read error); the read-ahead after the window takes what it finds.
    const std::int64_t needed = std::min(BLOCK_CLUSTERS, (FPositionX - FPosition) / CLUSTER_BYTES) * CLUSTER_BYTES;
    const std::int64_t containerRest = (GetItem(FContainerX)->Size - FPosition) / CLUSTER_BYTES * CLUSTER_BYTES;
    const std::int64_t wanted = std::max(needed, std::min(READ_AHEAD_BYTES, containerRest));
    FBlockStart = FPosition;
    FBlockFill = 0;
    FContainerStream->SetPosition(FPosition);
    FContainerStream->ReadBuffer(FBlock.get(), needed);
    FBlockFill = needed;
    if (wanted > needed) {
        const std::int64_t ahead = FContainerStream->Read(FBlock.get() + needed, wanted - needed);
        FBlockFill += ahead / CLUSTER_BYTES * CLUSTER_BYTES;
    }
}

const std::uint8_t* TExtCard::NextClusterOutsideBlock()
{
    if (FFinished) {
        return nullptr;
    }
    if (const std::uint8_t* cluster = NextInWindow()) {
        return cluster;
    }
    // The window is exhausted: go on with the next container that holds a
    // whole cluster in its window (always from its first cluster).
    while (FContainerX < FContainerEnd) {
        ++FContainerX;
        OpenContainer(FContainerX);
        FPositionX = FContainerX == FContainerEnd ? FPositionEnd : GetItem(FContainerX)->Size;
        if (const std::uint8_t* cluster = NextInWindow()) {
            return cluster;
        }
    }
    FFinished = true;   // the container stays open for the next window; Finish closes it
    return nullptr;
}

bool TExtCard::GetCluster(TCardCluster& cluster)
{
    const std::uint8_t* next = NextCluster();
    if (next == nullptr) {
        return false;
    }
    std::copy_n(next, CARD_CLUSTER_SIZE, cluster.begin());
    return true;
}

std::int64_t TExtCard::GetClusterSize() const
{
    std::int64_t bytes = 0;
    for (const TExtCardInfo* info : *this) {
        bytes += info->Size;
    }
    return bytes / CLUSTER_BYTES;
}

std::int64_t TExtCard::CalcClusterSize(const TCardPosition& fromCluster, const TCardPosition& toCluster) const
{
    if (fromCluster.Container == toCluster.Container) {
        return toCluster.Cluster - fromCluster.Cluster + 1;
    }
    std::int64_t count = GetItem(fromCluster.Container)->Size / CLUSTER_BYTES - fromCluster.Cluster;
    for (std::int32_t i = fromCluster.Container + 1; i < toCluster.Container; ++i) {
        count += GetItem(i)->Size / CLUSTER_BYTES;
    }
    return count + toCluster.Cluster + 1;
}

} // namespace qel

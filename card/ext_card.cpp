// The card image: container files read cluster by cluster.
#include "card/ext_card.h"

#include <algorithm>

namespace qel {

TExtCard ExtCard;

namespace {
constexpr std::int64_t CLUSTER_BYTES = static_cast<std::int64_t>(CARD_CLUSTER_SIZE);
constexpr std::int64_t BLOCK_CLUSTERS = 682;   // a read block of just under 1 MiB
constexpr std::int64_t BLOCK_BYTES = BLOCK_CLUSTERS * CLUSTER_BYTES;
} // namespace

TExtCard::~TExtCard()
{
    Finish();
}

void TExtCard::OpenContainer(const std::string& FileName, std::int64_t position)
{
    CloseContainer();
    FContainerStream = std::make_unique<plat::TFileStream>(FileName, plat::fmOpenRead | plat::fmShareDenyWrite);
    FContainerStream->SetPosition(position);
    FPosition = position;
    FBlockStart = position;
    FBlockFill = 0;
    if (!FBlock) {
        FBlock = std::make_unique_for_overwrite<std::uint8_t[]>(BLOCK_BYTES);
    }
}

void TExtCard::CloseContainer()
{
    FContainerStream.reset();
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
        const plat::TFileStream sizing(info->Filename, plat::fmOpenRead | plat::fmShareDenyWrite);
        info->Size = sizing.Size();
    }
    FContainerEnd = Count() - 1;
    FPositionEnd = GetItem(FContainerEnd)->Size;
    FContainerX = 0;
    FPositionX = GetItem(0)->Size;
    OpenContainer(GetItem(0)->Filename);
    FFinished = false;
}

void TExtCard::StartFromTo(const TCardPosition& fromPos, const TCardPosition& toPos)
{
    FFinished = true;
    CloseContainer();
    if (!HasItem(fromPos.Container) || !HasItem(toPos.Container) || fromPos.Cluster < 0 || toPos.Cluster < 0
        || toPos.Container < fromPos.Container) {
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
    OpenContainer(GetItem(FContainerX)->Filename, offsetIn(FContainerX, fromPos.Cluster));
    FFinished = false;
}

const std::uint8_t* TExtCard::NextInWindow()
{
    if (!FContainerStream || FPosition + CLUSTER_BYTES > FPositionX) {
        return nullptr;
    }
    if (FPosition + CLUSTER_BYTES > FBlockStart + FBlockFill) {
        // Read ahead as many whole clusters of the window as the block takes.
        const std::int64_t wanted = std::min(BLOCK_CLUSTERS, (FPositionX - FPosition) / CLUSTER_BYTES) * CLUSTER_BYTES;
        FBlockStart = FPosition;
        FBlockFill = 0;
        FContainerStream->ReadBuffer(FBlock.get(), wanted);
        FBlockFill = wanted;
    }
    const std::uint8_t* cluster = FBlock.get() + (FPosition - FBlockStart);
    FPosition += CLUSTER_BYTES;
    return cluster;
}

const std::uint8_t* TExtCard::NextCluster()
{
    if (FFinished) {
        return nullptr;
    }
    if (const std::uint8_t* cluster = NextInWindow()) {
        return cluster;
    }
    // The window is exhausted: go on with the next container that holds a
    // whole cluster in its window (always from its first cluster).
    CloseContainer();
    while (FContainerX < FContainerEnd) {
        ++FContainerX;
        OpenContainer(GetItem(FContainerX)->Filename);
        FPositionX = FContainerX == FContainerEnd ? FPositionEnd : GetItem(FContainerX)->Size;
        if (const std::uint8_t* cluster = NextInWindow()) {
            return cluster;
        }
        CloseContainer();
    }
    FFinished = true;
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

TCardPosition TExtCard::GetClusterPosition() const
{
    std::int64_t cluster = FContainerStream ? FPosition / CLUSTER_BYTES : 0;
    if (cluster > 0) {
        --cluster;
    }
    return {FContainerX, cluster};
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

// The card image: the ordered container files of a logger's memory card,
// read as one sequence of 1536-byte clusters, in whole or from one position to another.
#pragma once

#include "card/cluster_header.h"
#include "platform/object_list.h"
#include "platform/streams.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

// One container file of the card image.
class TExtCardInfo {
public:
    TExtCardInfo() = default;
    explicit TExtCardInfo(std::string fileName) : Filename(std::move(fileName)) {}
    virtual ~TExtCardInfo() = default;

    std::string Filename;    // full path of the container file
    std::int64_t Size = 0;   // file size in bytes, as StartAll found it
};

// Where a cluster lies: bytes Cluster * 1536 .. Cluster * 1536 + 1535 of container Container.
struct TCardPosition {
    std::int32_t Container = 0;
    std::int64_t Cluster = 0;
    bool operator==(const TCardPosition&) const = default;
};

// Owns its entries; their order is the order of the clusters on the card.
// A cluster is read only when all its bytes lie inside the read window of its
// container, so a trailing partial cluster is never read.
class TExtCard : public plat::TObjectList<TExtCardInfo> {
public:
    TExtCard() = default;
    ~TExtCard() override;

    // Prepares a read of every cluster of every container and stores the
    // container sizes. A container that cannot be opened raises the platform's
    // file-open error.
    void StartAll();
    // Prepares a read from fromPos to toPos, both included (toPos may lie in
    // a later container). Uses the sizes of the last StartAll; positions
    // outside the image give an empty read. The container the last read left
    // open stays open, and clusters it read ahead are not read again, so
    // records that follow each other cost no file operations of their own.
    void StartFromTo(const TCardPosition& fromPos, const TCardPosition& toPos);
    // Reads the next cluster; False when the read is over. Containers that
    // hold no whole cluster in their window are passed over.
    bool GetCluster(TCardCluster& cluster);
    // As GetCluster, without the copy: the next cluster's 1536 bytes inside
    // the read block, valid until the next read call; nullptr when the read is over.
    const std::uint8_t* NextCluster()
    {
        // The usual case inline: the cluster lies in the window and in the block.
        const std::int64_t end = FPosition + static_cast<std::int64_t>(CARD_CLUSTER_SIZE);
        if (!FFinished && FContainerStream && end <= FPositionX && FPosition >= FBlockStart &&
            end <= FBlockStart + FBlockFill) [[likely]] {
            const std::uint8_t* cluster = FBlock.get() + (FPosition - FBlockStart);
            FPosition = end;
            return cluster;
        }
        return NextClusterOutsideBlock();
    }
    // Position of the cluster GetCluster read last (cluster 0 before any and
    // once the read is over).
    TCardPosition GetClusterPosition() const
    {
        std::int64_t cluster = FContainerStream && !FFinished ? FPosition / static_cast<std::int64_t>(CARD_CLUSTER_SIZE) : 0;
        if (cluster > 0) {
            --cluster;
        }
        return {FContainerX, cluster};
    }
    // Progress total of a full read: the sum of all sizes, divided by 1536.
    std::int64_t GetClusterSize() const;
    // Clusters from fromCluster to toCluster, both included.
    std::int64_t CalcClusterSize(const TCardPosition& fromCluster, const TCardPosition& toCluster) const;
    // Closes the open container, if any, and forgets what it read ahead; the read is over.
    void Finish();
    TExtCardInfo* GetItem(int Index) const { return (*this)[Index]; }

private:
    // Opens a container for reading from byte offset position.
    void OpenContainer(std::int32_t container, std::int64_t position = 0);
    // As OpenContainer, but keeps the container and its block when it is open already.
    void SeekContainer(std::int32_t container, std::int64_t position);
    void CloseContainer();
    // NextCluster when the block or the window must move on.
    const std::uint8_t* NextClusterOutsideBlock();
    // The next cluster of the current window, or nullptr when it holds no more.
    const std::uint8_t* NextInWindow();
    // Fills the block from FPosition on (see FBlock).
    void LoadBlock();
    bool HasItem(std::int32_t index) const { return index >= 0 && index < Count(); }

    bool FFinished = true;              // no further cluster can be read
    std::int32_t FContainerX = 0;       // container being read
    std::int64_t FPositionX = 0;        // reading of it stops at this byte offset (exclusive)
    std::int32_t FContainerEnd = 0;     // last container of the read
    std::int64_t FPositionEnd = 0;      // reading of the last container stops here (exclusive)
    std::unique_ptr<plat::TFileStream> FContainerStream;   // open container, or none
    std::string FContainerName;         // its file name

    // Clusters are read ahead in whole-cluster blocks of up to about 1 MiB:
    // the rest of the window, but at least a short read-ahead within the
    // container, so that a window of a few clusters leaves the clusters after
    // it in the block for the next one. The block holds the file bytes
    // FBlockStart .. FBlockStart + FBlockFill - 1 of the open container;
    // FPosition is the offset of the next cluster (the container's read
    // position as the callers see it).
    std::unique_ptr<std::uint8_t[]> FBlock;
    std::int64_t FBlockStart = 0;
    std::int64_t FBlockFill = 0;
    std::int64_t FPosition = 0;
};

// Finishes the card however the read that holds it ends.
class TExtCardFinisher {
public:
    explicit TExtCardFinisher(TExtCard& card) : FCard(card) {}
    ~TExtCardFinisher() { FCard.Finish(); }
    TExtCardFinisher(const TExtCardFinisher&) = delete;
    TExtCardFinisher& operator=(const TExtCardFinisher&) = delete;

private:
    TExtCard& FCard;
};

// The card image of the program.
extern TExtCard ExtCard;

} // namespace qel

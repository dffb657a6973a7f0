// SE pages of the QEL28 loggers: the 1024-byte job pages that the page decoder
// finds in the recordings of a read, in page order, for the saver's SE page file.
#pragma once

#include "platform/object_list.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qel {

// One SE page: its head fields and its data bytes (1024, or none when the
// block was cut off by the end of its logger page).
class TSEPage {
public:
    static constexpr std::size_t DataSize = 1024;

    TSEPage(std::uint32_t jobNo, std::uint8_t orderNo, std::uint8_t pageNo, std::uint32_t indexNo)
        : job(jobNo), order(orderNo), page(pageNo), index(indexNo)
    {
    }

    std::uint32_t job;     // job number
    std::uint8_t order;
    std::uint8_t page;     // page number within the job
    std::uint32_t index;

    std::int64_t Size() const { return static_cast<std::int64_t>(FData.size()); }
    std::span<const std::uint8_t> Data() const { return FData; }
    // Replaces the data bytes.
    void SetData(std::span<const std::uint8_t> bytes) { FData.assign(bytes.begin(), bytes.end()); }

private:
    std::vector<std::uint8_t> FData;
};

// The SE pages of a read in the order read; owns them.
class TSEPageList {
public:
    // Appends a page without data and answers it; it stays valid until the
    // list is cleared.
    TSEPage* Add(std::uint32_t job, std::uint8_t order, std::uint8_t page, std::uint32_t index);
    int Count() const { return FItems.Count(); }
    // Raises plat::EListError outside 0 ... Count - 1.
    TSEPage* GetItem(int Index) const { return FItems[Index]; }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    // Frees the pages, last to first.
    void Clear() { FItems.Clear(); }

private:
    plat::TObjectList<TSEPage> FItems{true};
};

// The SE pages of the current read; every data read empties it before its
// first cluster (see InitSEPageList), so a read of several recordings keeps
// the pages of all of them and nothing of an earlier read.
extern TSEPageList SEPageList;

// Empties SEPageList and makes every data read empty it as it begins; the
// program's unit start calls it once.
void InitSEPageList();
// Frees the pages; the unit end calls it.
void FinalizeSEPageList();

} // namespace qel

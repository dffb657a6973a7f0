// D-Bus order files of the QEL57c saver: the D-Bus data blocks of the read,
// one CSV file per order number beside each block-file part.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace plat {
class TStream;
}

namespace qel {

// One D-Bus data block as the QEL57c decoder collected it.
struct TDBusBlockView {
    std::int64_t Time = 0;                // ticks of the record
    std::uint8_t Nr = 0;                  // order number
    std::uint32_t Addr = 0;               // start address
    std::span<const std::uint8_t> Data;   // the block's data bytes
};

// The D-Bus blocks of the last read, in list order. The D-Bus data list of
// the QEL57c decoder provides it (SetDBusBlocks at start-up); without one
// the read has no D-Bus blocks.
class IDBusBlocks {
public:
    virtual ~IDBusBlocks() = default;
    virtual int Count() const = 0;
    // Valid until the list changes; Index is 0 ... Count() - 1.
    virtual TDBusBlockView Block(int Index) const = 0;
};

// nullptr: no D-Bus blocks. Set while no save runs.
void SetDBusBlocks(const IDBusBlocks* blocks);
const IDBusBlocks* GetDBusBlocks();

// Orders 0 ... 7 have a file each; blocks of a higher order are left out.
constexpr int DBUS_ORDER_FILES = 8;

// The file of order k beside a part: its extension replaced by
// "_dbus_order" + (k + 1) + ".csv".
std::string DBusOrderFileName(const std::string& PartFileName, int Order);

// Writes the order files of the blocks beside the part: a file is created
// (through createFile) when the first block of its order comes, with the
// header line, then one line per block. Lines are Windows-1252 with CR LF.
void WriteDBusOrderFiles(const IDBusBlocks& blocks, const std::string& PartFileName,
                         const std::function<plat::TStream&(const std::string&)>& createFile);

} // namespace qel

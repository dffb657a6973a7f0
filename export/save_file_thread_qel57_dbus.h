// D-Bus order files of the QEL57c saver: the D-Bus data blocks of the read,
// one CSV file per order number beside each block-file part.
#pragma once

#include <functional>
#include <string>

namespace plat {
class TStream;
}

namespace qel {

class TDBusDataList;

// Orders 0 ... 7 have a file each; blocks of a higher order are left out.
constexpr int DBUS_ORDER_FILES = 8;

// The file of order k beside a part: its extension replaced by
// "_dbus_order" + (k + 1) + ".csv".
std::string DBusOrderFileName(const std::string& PartFileName, int Order);

// Writes the order files of the blocks beside the part: a file is created
// (through createFile) when the first block of its order comes, with the
// header line, then one line per block. Lines are Windows-1252 with CR LF.
void WriteDBusOrderFiles(const TDBusDataList& blocks, const std::string& PartFileName,
                         const std::function<plat::TStream&(const std::string&)>& createFile);

} // namespace qel

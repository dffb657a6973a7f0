// D-Bus order files: one CSV line per D-Bus data block, by order number.
#include "export/save_file_thread_qel57_dbus.h"

#include "card/dbus_data.h"

#include "foundations/file_names.h"
#include "foundations/language_switch.h"
#include "foundations/tick_time.h"
#include "platform/streams.h"
#include "platform/text_encoding.h"

#include <array>
#include <cstdio>

namespace qel {

namespace {

void WriteLine(plat::TStream& file, const std::string& line)
{
    const std::string bytes = plat::Utf8ToAnsi(line) + "\r\n";
    file.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

std::string BlockLine(const TDBusData& block)
{
    char address[16];
    std::snprintf(address, sizeof address, "0x%08X", static_cast<unsigned>(block.Addr()));
    std::string line = FormatDateTimeKind(0, TicksToDateTime(block.DTime()));
    line += ';';
    line += std::to_string(block.Nr());
    line += ';';
    line += address;
    line += ';';
    line += std::to_string(block.Size());
    line += ';';
    for (const std::uint8_t byte : block.Data()) {
        line += std::to_string(byte);
        line += ';';
    }
    return line;
}

} // namespace

std::string DBusOrderFileName(const std::string& PartFileName, int Order)
{
    return ReplaceFileExt(PartFileName, "_dbus_order" + std::to_string(Order + 1) + ".csv");
}

void WriteDBusOrderFiles(const TDBusDataList& blocks, const std::string& PartFileName,
                         const std::function<plat::TStream&(const std::string&)>& createFile)
{
    std::array<plat::TStream*, DBUS_ORDER_FILES> files{};
    for (const TDBusData* block : blocks) {
        if (block->Nr() >= DBUS_ORDER_FILES) {
            continue;
        }
        plat::TStream*& file = files[block->Nr()];
        if (file == nullptr) {
            file = &createFile(DBusOrderFileName(PartFileName, block->Nr()));
            WriteLine(*file, "Time;Order;Start address;Size in bytes;Data;");
        }
        WriteLine(*file, BlockLine(*block));
    }
}

} // namespace qel

// Fuzz target for the data tree header's stream reader: any bytes give a
// header or an error (EDataTreeError, or the stream's read error for a
// stream that ends early) that leaves the header as it was, never a crash;
// the columns keep a whole position map and the header leaves its loading
// state. A header that loaded writes
// a stream that loads back to the same columns.
//
// Inputs that start with the marker -1 are read as they are; any other
// input edits a valid stream (three bytes per edit: offset low, offset high,
// new byte; a last lone byte cuts the stream).
#include "platform/canvas/graphics_objects.h"
#include "platform/streams.h"
#include "widgets/tree/string_data_tree.h"
#include "tests/fuzz/input_bytes.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace qel;

// Made in the statics' initialiser, after the trees' own process-wide
// state, so that they go before it at the exit.
TDataStringTree& Tree(int which)
{
    static const std::unique_ptr<TDataStringTree> trees[2] = {std::make_unique<TDataStringTree>(nullptr),
                                                              std::make_unique<TDataStringTree>(nullptr)};
    return *trees[which];
}

std::string ValidStream()
{
    TDTHeader& header = *Tree(0).Header();
    for (const char* text : {"Name", "Start", "Pages", "Position"}) {
        TDataTreeColumn* column = header.Columns().Add();
        column->SetText(text);
        column->SetHint(std::string("The ") + text);
    }
    header.Columns()[1]->SetOptions(header.Columns()[1]->Options() + TDTColumnOptions{coUseCaptionAlignment});
    header.Columns()[1]->SetCaptionAlignment(taCenter);
    header.Columns()[2]->SetTag(-5);
    header.Columns()[3]->SetPosition(0);
    header.SetMainColumn(2);
    header.SetSortColumn(1);
    header.Font()->SetName("Sans");
    plat::TMemoryStream stream;
    header.SaveToStream(stream);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

std::string StreamFor(const std::uint8_t* data, std::size_t size)
{
    static const std::string valid = ValidStream();
    if (size >= 4 && std::memcmp(data, "\xFF\xFF\xFF\xFF", 4) == 0) {
        return std::string(reinterpret_cast<const char*>(data), size);
    }
    return qel::fuzz::Mutated(valid, data, size, 0);
}

std::string Saved(TDTHeader& header)
{
    plat::TMemoryStream stream;
    header.SaveToStream(stream);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

bool Load(TDTHeader& header, const std::string& bytes)
{
    const std::string before = Saved(header);
    plat::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    bool loaded = true;
    try {
        header.LoadFromStream(stream);
    } catch (const EDataTreeError&) {
        loaded = false;
    } catch (const plat::EReadError&) {
        loaded = false;
    }
    // A stream that fails changes nothing.
    if (!loaded && Saved(header) != before) {
        std::abort();
    }
    // Whatever happened, the columns are in a consistent order.
    const TDataTreeColumns& columns = header.Columns();
    std::vector<bool> seen(static_cast<std::size_t>(columns.Count()), false);
    if (header.States().Contains(hsLoading) ||
        columns.PositionToIndex().size() != static_cast<std::size_t>(columns.Count())) {
        std::abort();
    }
    for (std::size_t slot = 0; slot < seen.size(); ++slot) {
        const TColumnIndex index = columns.PositionToIndex()[slot];
        if (!columns.IsValidColumn(index) || seen[static_cast<std::size_t>(index)] ||
            columns[index]->Position() != static_cast<TColumnPosition>(slot)) {
            std::abort();
        }
        seen[static_cast<std::size_t>(index)] = true;
    }
    return loaded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes = StreamFor(data, size);
    TDTHeader& header = *Tree(0).Header();
    if (!Load(header, bytes)) {
        return 0;
    }
    plat::TMemoryStream written;
    header.SaveToStream(written);
    TDTHeader& again = *Tree(1).Header();
    if (!Load(again, std::string(reinterpret_cast<const char*>(written.Memory()),
                                 static_cast<std::size_t>(written.Size()))) ||
        again.Columns().Count() != header.Columns().Count() ||
        again.Columns().PositionToIndex() != header.Columns().PositionToIndex()) {
        std::abort();
    }
    return 0;
}

// The tree's columns in the form description: a version number followed
// by the columns, their position map and the default width, laid out as in
// the header stream. Reading replaces the columns; the header finishes
// them (main column, positions) when the tree has loaded.
#include "widgets/tree/base_data_tree.h"

#include "platform/streams.h"
#include "widgets/tree/try_finally.h"

#include <cstdint>
#include <string>

namespace qel {

namespace {

// The column layout of the header stream's current version.
constexpr std::int32_t FormColumnsVersion = 6;

} // namespace

void TBaseDataTree::ReadFormColumns(plat::TStream& stream)
{
    std::int32_t version = 0;
    if (stream.Read(&version, 4) != 4 || version < 1 || version > FormColumnsVersion) {
        throw EDataTreeError("Unable to load the columns: the version is unknown.", 2002);
    }
    FHeader->SetStates(FHeader->States() + THeaderStates{hsLoading});
    TryFinally([&] { FHeader->Columns().LoadFromStream(stream, version); },
               [&] { FHeader->SetStates(FHeader->States() - THeaderStates{hsLoading}); });
}

void TBaseDataTree::WriteFormColumns(plat::TStream& stream)
{
    stream.WriteBuffer(&FormColumnsVersion, 4);
    FHeader->Columns().SaveToStream(stream);
}

} // namespace qel

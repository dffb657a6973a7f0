// The pictures the component library carries by name: the editor's bookmark
// glyphs, its line-selection cursor, the notebook's tab cursor and the
// 8 x 8 brush the brush-bitmap unit loads.
#pragma once

#include "platform/controls/cursors.h"

#include <memory>
#include <string_view>

namespace plat {
class TBitmap;
}

namespace qel {

// A new bitmap of the library's picture of that name (case ignored), or
// nullptr when the library has none.
std::unique_ptr<plat::TBitmap> LoadLibraryBitmap(std::string_view Name);

// A new cursor of the library's cursor picture of that name (case ignored;
// the caller frees it with plat::DestroyCursor), or 0 when the library has
// none.
plat::HCURSOR LoadLibraryCursor(std::string_view Name);

} // namespace qel

// The pictures the component library carries by name: the editor's bookmark
// glyphs and, with the controls, its line-selection and tab cursors.
#pragma once

#include <memory>
#include <string_view>

namespace plat {
class TBitmap;
}

namespace qel {

// A new bitmap of the library's picture of that name (case ignored), or
// nullptr when the library has none.
std::unique_ptr<plat::TBitmap> LoadLibraryBitmap(std::string_view Name);

} // namespace qel
